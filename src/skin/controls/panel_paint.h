#pragma once
// Small steps the combo, edit, status, progress, box, tab and header skinners share.
#include "core/image.h"
#include "skin/pure/skin_settings.h"
#include "ui/control.h"
#include "ui/graphics.h"

namespace vrin {

// A skinner draws only from an element that is there and has a picture.
inline bool hasPicture(const SkinElement* element) { return element && !element->Image.empty(); }
// A window too large for an off-screen picture is left to its own painting.
inline bool drawableSize(const Rect& rect) { return !rect.empty() && imageSizeAllowed(rect.width(), rect.height()); }

// The control's font, or the window's own (WM_GETFONT) for a bare window, regular.
inline void useControlFont(Canvas& canvas, HWND window, WinControl* control) {
  if (control) {
    canvas.font = control->font();
  } else if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0))) {
    canvas.font.assignHandle(font);
  }
  FontSpec desc = canvas.font.desc();
  desc.style = 0;
  canvas.font.assign(desc);
}

}  // namespace vrin
