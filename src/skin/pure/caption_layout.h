#pragma once
// Where a skinned window's caption goes: the text padded with spaces, placed in the title
// area by the skin's alignment and shifts, cut before the area's right end, and the caption
// picture behind it.
#include <string>

#include "core/image.h"
#include "skin/pure/skin_settings.h"

namespace vrin {

// Two spaces, the window text, three spaces.
std::string paddedCaption(const std::string& windowText);

struct CaptionPlacement {
  Rect text;        // CaptionTextRect: the measured text moved into place and clipped
  Rect background;  // where the title picture is drawn (the text's span, the area's height)
  Rect draw;        // where the text itself is drawn (inside the picture's fixed ends)
};

// `area` is the title bar between the borders; the measured text is textWidth x textHeight.
CaptionPlacement placeCaption(const Rect& area, int textWidth, int textHeight, const SkinTitleElement& title);

}  // namespace vrin
