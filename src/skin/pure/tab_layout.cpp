#include "skin/pure/tab_layout.h"

namespace vrin {
namespace {

constexpr std::uint32_t kTcsBottom = 0x2, kTcsVertical = 0x80;
constexpr int kHeaderTextInset = 4;

Rect offsetRect(const Rect& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }
Rect sized(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
bool lyingDown(TabSide side) { return side == TabSide::Left || side == TabSide::Right; }

}  // namespace

TabSide tabSide(std::uint32_t style) {
  const bool bottom = (style & kTcsBottom) != 0, vertical = (style & kTcsVertical) != 0;
  if (bottom && vertical) return TabSide::Right;
  if (bottom) return TabSide::Bottom;
  if (vertical) return TabSide::Left;
  return TabSide::Top;
}

Rect tabPageRect(const Rect& adjusted, TabSide side) {
  Rect page{adjusted.left - 4, adjusted.top - 4, adjusted.right + 4, adjusted.bottom + 4};
  switch (side) {
    case TabSide::Top: ++page.top; break;
    case TabSide::Bottom: --page.bottom; break;
    case TabSide::Left: ++page.left; break;
    case TabSide::Right: --page.right; break;
  }
  return page;
}

Rect tabStripRect(int width, int height, const Rect& page, TabSide side) {
  switch (side) {
    case TabSide::Top: return {0, 0, width, page.top};
    case TabSide::Bottom: return {0, page.bottom, width, height};
    case TabSide::Left: return {0, 0, page.left, height};
    case TabSide::Right: return {page.right, 0, width, height};
  }
  return {};
}

int tabStripBitmapWidth(const Rect& strip, TabSide side) { return lyingDown(side) ? strip.height() : strip.width(); }
int tabStripBitmapHeight(const Rect& strip, TabSide side) { return lyingDown(side) ? strip.width() : strip.height(); }

Rect tabInStrip(const Rect& tab, TabSide side, const Rect& page, int stripBitmapWidth, int windowWidth) {
  switch (side) {
    case TabSide::Top: return offsetRect(tab, 0, 1);
    case TabSide::Bottom: return offsetRect(tab, 0, -(page.bottom + 1));
    // Lying down: the tab's vertical extent runs along the bitmap, reversed for the left
    // side since that strip is turned counter-clockwise to stand upright.
    case TabSide::Left: return {stripBitmapWidth - tab.bottom, tab.left, stripBitmapWidth - tab.top, tab.right};
    case TabSide::Right: return {tab.top - 1, windowWidth - tab.right, tab.bottom - 1, windowWidth - tab.left};
  }
  return tab;
}

TabContent placeTabContent(const Rect& tab, bool hasImage, int textWidth, int textHeight) {
  // The 1-pixel gap separates the text from an image; a tab without one centres the text alone.
  const int imageWidth = hasImage ? kTabImageSize + 1 : 0;
  const int left = tab.left + (tab.width() - (imageWidth + textWidth)) / 2;
  TabContent c;
  if (hasImage) c.image = sized(left, tab.top + (tab.height() - kTabImageSize) / 2, kTabImageSize, kTabImageSize);
  c.text = sized(left + imageWidth, tab.top + (tab.height() - textHeight) / 2, textWidth, textHeight);
  return c;
}

Rect headerTextRect(const Rect& item, int textWidth, int textHeight, HeaderAlign align) {
  int left = item.left + kHeaderTextInset;
  if (align == HeaderAlign::Centre) left = item.left + (item.width() - textWidth) / 2;
  if (align == HeaderAlign::Right) left = item.right - kHeaderTextInset - textWidth;
  return sized(left, item.top + (item.height() - textHeight) / 2, textWidth, textHeight);
}

}  // namespace vrin
