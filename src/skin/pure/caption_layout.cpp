#include "skin/pure/caption_layout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace vrin {

namespace {
}  // namespace

std::string paddedCaption(const std::string& windowText) { return "  " + windowText + "   "; }

CaptionPlacement placeCaption(const Rect& area, int textWidth, int textHeight, const SkinTitleElement& title) {
  using i64 = std::int64_t;
  const i64 backEnds = i64(title.TextBackLeft) + title.TextBackRight;
  const i64 w = i64(std::max(textWidth, 0)) + backEnds, h = std::max(textHeight, 0);
  const i64 clip = title.RightWidth;  // TextRightClip
  i64 dx = 0;
  switch (title.TextAlignment) {
    case 0: dx = title.LeftWidth; break;  // TextShift
    case 1: dx = (i64(area.width()) - w) / 2; break;
    case 2: dx = i64(area.width()) + clip - w; break;
    default: break;
  }
  const i64 dy = (i64(area.height()) - h) / 2 + i64(title.TopHeight) / 2;  // TextShiftVert
  i64 left = area.left + dx, top = area.top + dy, right = left + w, bottom = top + h;
  if (i64(area.right) - clip < right) right = i64(area.right) - clip;
  CaptionPlacement p;
  p.text = {clampInt(left), clampInt(top), clampInt(right), clampInt(bottom)};
  p.background = {p.text.left, area.top, p.text.right, area.bottom};
  p.draw = {clampInt(left + title.TextBackLeft), p.text.top, clampInt(right - title.TextBackRight), p.text.bottom};
  return p;
}

}  // namespace vrin
