#include "ui/pure/menu_item_size.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace vrin {

namespace {

// Image sizes and text widths may be anything; the sums must not overflow.
int add(int a, std::int64_t b) {
  return int(std::clamp<std::int64_t>(std::int64_t(a) + b, INT_MIN, INT_MAX));
}

}  // namespace

std::string measuredItemText(std::string_view caption, std::string_view shortcutText) {
  std::string text;
  text.reserve(caption.size() + shortcutText.size() + 1);
  text.append(caption).append(shortcutText);
  if (text.empty() || text == "&") text += ' ';
  return text;
}

Size hostDefaultItemSize(const HostItemMeasure& in) {
  Size s{0, in.startHeight};
  bool glyph = false;
  if (in.separator) {
    s = {-2, 5};
  } else if (in.mainMenuTopLevel) {
    s = in.menuBarItemSize;
  } else if (in.hasImageList) {
    s = in.imageSize;
    glyph = true;
  } else if (in.hasBitmap) {
    s = {16, 16};
    glyph = true;
  } else {
    s.width = -7;
  }
  if (!in.mainMenuTopLevel) {
    if (glyph) s.width = add(s.width, 15);
    s.height = add(s.height, 3);
  }
  s.width = add(s.width, std::int64_t(7) + in.textWidth);
  return s;
}

}  // namespace vrin
