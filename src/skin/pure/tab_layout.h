#pragma once
// Skinned tab controls and headers as arithmetic: the side the tabs are on, the page and the
// tab strip, where each tab lands in the strip bitmap (drawn lying down for tabs on the left
// or right, then turned upright), an image and text placed in a tab, a header item's text.
#include <cstdint>

#include "core/image.h"
#include "skin/pure/skin_draw.h"

namespace vrin {

enum class TabSide : int { Top = 0, Bottom = 1, Left = 2, Right = 3 };
// From the tab control's style: TCS_BOTTOM (2) with TCS_VERTICAL (0x80) is right.
TabSide tabSide(std::uint32_t style);

// The page from the control's TCM_ADJUSTRECT(FALSE) answer: 4 pixels larger all round, its
// edge on the tab side 1 pixel further in.
Rect tabPageRect(const Rect& adjusted, TabSide side);

// The band between the window's edge (width x height at the origin) and the page on the tab
// side, window-relative.
Rect tabStripRect(int width, int height, const Rect& page, TabSide side);
// The strip bitmap's size: the strip's, width and height swapped for tabs on the left or right.
int tabStripBitmapWidth(const Rect& strip, TabSide side);
int tabStripBitmapHeight(const Rect& strip, TabSide side);

// A tab's window rectangle (TCM_GETITEMRECT) moved into the strip bitmap.
// stripBitmapWidth is tabStripBitmapWidth; windowWidth is the control's width.
Rect tabInStrip(const Rect& tab, TabSide side, const Rect& page, int stripBitmapWidth, int windowWidth);

// The frame and margins of the page border drawn from the tab element's second picture.
constexpr Margins kTabPageMargins{4, 5, 4, 4};
constexpr int kTabImageSize = 16;

// A tab with an image list: the 16 x 16 image box (none when the tab has no image) and the
// measured text side by side, the text 1 pixel right of the box, the pair centred across
// the tab and each centred from top to bottom.
struct TabContent {
  Rect image;
  Rect text;
};
TabContent placeTabContent(const Rect& tab, bool hasImage, int textWidth, int textHeight);

// A header item's text box: centred, right-aligned 4 pixels from the item's right edge, or
// 4 pixels from its left edge; always centred from top to bottom.
enum class HeaderAlign { Left, Centre, Right };
Rect headerTextRect(const Rect& item, int textWidth, int textHeight, HeaderAlign align);

}  // namespace vrin
