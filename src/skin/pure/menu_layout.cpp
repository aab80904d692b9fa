#include "skin/pure/menu_layout.h"

#include <algorithm>
#include <limits>

#include "menus/pure/sidebar_types.h"

namespace vrin {
namespace {

// Widths come from measured captions and sizes from windows and skins; sums are made in 64
// bits and the results kept inside the 32-bit range.
using Wide = std::int64_t;
int narrow(Wide v) {
  return int(std::clamp<Wide>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
Rect rect(Wide l, Wide t, Wide r, Wide b) { return {narrow(l), narrow(t), narrow(r), narrow(b)}; }
bool holds(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

constexpr int kBarStartWhenNarrow = 12;
constexpr int kBarStartAfterMargin = 4;
constexpr int kMenuBarItemPressed = 2, kMenuBarItemHot = 3;
constexpr Colour kButtonShadow = sysColour(16);
constexpr int kTextGap = 3, kTextRightMargin = 1, kShortcutRightMargin = 11;
constexpr int kSeparatorLineDrop = 4;
constexpr int kMenuItemFrames = 5, kSeparatorFrame = 2;
constexpr unsigned kMfsDisabled = 0x3, kMfsChecked = 0x8;
constexpr unsigned kMftNotText = 0x4 | 0x100 | 0x800;  // MFT_BITMAP, MFT_OWNERDRAW, MFT_SEPARATOR
constexpr unsigned kSingleLineText = dt::ExpandTabs | dt::SingleLine;

// One code point of UTF-8 at s[i]; a byte that starts no valid sequence stands for itself.
char32_t decodeAt(std::string_view s, std::size_t i) {
  const unsigned char lead = static_cast<unsigned char>(s[i]);
  const std::size_t extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 && lead < 0xF0 ? 2
                            : lead >= 0xC2 && lead < 0xE0 ? 1 : 0;
  if (extra == 0 || s.size() - i - 1 < extra) return lead;
  char32_t c = lead & (0x3F >> extra);
  for (std::size_t k = 1; k <= extra; ++k) {
    const unsigned char next = static_cast<unsigned char>(s[i + k]);
    if ((next & 0xC0) != 0x80) return lead;
    c = (c << 6) | (next & 0x3F);
  }
  return c;
}

// Upper case of ASCII and Latin-1 letters.
char32_t foldCase(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  return c;
}

}  // namespace

MenuBarBackground menuBarBackground(const std::optional<SkinElement>& menuBar, int barWidth, bool active) {
  MenuBarBackground b;
  if (!menuBar || menuBar->Image.empty()) return b;
  b.fromElement = true;
  b.grid = menuBar->Tile == 1;
  b.frame = active ? 1 : 2;
  const Wide start = Wide(std::max(menuBar->LeftWidth, 0)) + kBarStartAfterMargin;
  b.firstItemX = barWidth < start ? kBarStartWhenNarrow : narrow(start);
  return b;
}

std::vector<Rect> menuBarCells(const std::vector<int>& captionWidths, int firstItemX, int barHeight) {
  std::vector<Rect> cells;
  cells.reserve(captionWidths.size());
  Wide x = firstItemX;
  for (int captionWidth : captionWidths) {
    const Wide width = Wide(std::max(captionWidth, 0)) + kBarItemPadding;
    cells.push_back(rect(x, 0, x + width, Wide(barHeight) - 1));
    x += width;
  }
  return cells;
}

Rect menuBarItemBounds(const Rect& cell, const Rect& bar) {
  Rect b = rect(Wide(bar.left) + cell.left, Wide(bar.top) + cell.top, Wide(bar.left) + cell.right,
                Wide(bar.top) + cell.bottom - 1);
  b.left = std::clamp(b.left, bar.left, std::max(bar.left, bar.right));
  b.top = std::clamp(b.top, bar.top, std::max(bar.top, bar.bottom));
  b.right = std::clamp(b.right, b.left, std::max(b.left, bar.right));
  b.bottom = std::clamp(b.bottom, b.top, std::max(b.top, bar.bottom));
  return b;
}

unsigned barCaptionFlags(bool measuring) {
  return kSingleLineText | dt::Center | (measuring ? dt::CalcRect | dt::NoClip : 0);
}

bool menuItemEnabled(unsigned state) { return (state & kMfsDisabled) == 0; }
bool menuItemChecked(unsigned state) { return (state & kMfsChecked) != 0; }
bool menuItemIsText(unsigned type) { return (type & kMftNotText) == 0; }

int menuBarItemAt(const std::vector<MenuBarItem>& items, int x, int y) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (!items[i].Caption.empty() && holds(items[i].Bounds, x, y)) return int(i);
  return -1;
}

char32_t acceleratorOf(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return decodeAt(caption, i + 1);
  }
  return 0;
}

int menuBarItemForAccelerator(const std::vector<MenuBarItem>& items, char32_t character) {
  if (character == 0) return -1;
  const char32_t wanted = foldCase(character);
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].Enabled && foldCase(acceleratorOf(items[i].Caption)) == wanted) return int(i);
  return -1;
}

bool swallowKeyMenu(const std::vector<MenuBarItem>& items, bool menuOpen, bool captured, char32_t key) {
  if (menuOpen || captured || key == U' ' || key == U'-') return false;
  return key == 0 || menuBarItemForAccelerator(items, key) >= 0;
}

Point menuBarPressPoint(const Rect& bounds, Point origin) {
  return {narrow(Wide(origin.x) + bounds.left + 1), narrow(Wide(origin.y) + bounds.top + 1)};
}

Point menuBarMenuPoint(const Rect& bounds, Point origin) {
  return {narrow(Wide(origin.x) + bounds.left), narrow(Wide(origin.y) + bounds.bottom)};
}

bool menuBarItemFramed(int state) { return state == kMenuBarItemPressed || state == kMenuBarItemHot; }

Colour menuBarTextColour(const SkinColors& colours, bool enabled) {
  return enabled ? colours.MenuBarTextColor : kButtonShadow;
}

Size skinItemSize(int textWidth, int proposedHeight, bool separator, bool windows95) {
  Wide height = separator ? kSkinSeparatorHeight : Wide(proposedHeight) + 4;
  if (windows95) height += kWindows95ExtraHeight;
  return {narrow(Wide(textWidth) + kSkinItemExtraWidth), narrow(height)};
}

Size skinTopLevelItemSize(Size proposed, bool separator, bool windows95) {
  const Wide extra = windows95 && !separator ? kWindows95ExtraHeight : 0;
  return {narrow(Wide(proposed.width) + kTopLevelExtraWidth), narrow(proposed.height + extra)};
}

bool skinnedMenuItems(const std::optional<SkinElement>& menuItem) { return menuItem && !menuItem->Image.empty(); }

SkinnedItemPlan skinnedItemPlan(bool separator, bool temporary, bool selected) {
  SkinnedItemPlan plan;
  plan.frame = selected ? 4 : 1;
  if (!separator || temporary) {
    plan.drawElement = true;
  } else {
    plan.drawSeparator = true;
  }
  return plan;
}

Rect itemBackgroundSource(const Rect& r) {
  return rect(Wide(r.left) + kPopupFrame, Wide(r.top) + kPopupFrame, Wide(r.right) + kPopupFrame,
              Wide(r.bottom) + kPopupFrame);
}

std::array<PictureCopy, 3> separatorParts(int pictureWidth, int pictureHeight, int leftWidth, int rightWidth,
                                          int itemWidth, int itemHeight) {
  const Wide fw = std::max(pictureWidth, 0) / kMenuItemFrames;
  const Wide frameLeft = fw * (kSeparatorFrame - 1), frameRight = fw * kSeparatorFrame;
  // A skin's margins wider than the frame would read from the neighbouring frames.
  const Wide left = std::clamp<Wide>(leftWidth, 0, fw);
  const Wide right = std::clamp<Wide>(rightWidth, 0, fw - left);
  const Wide ph = std::max(pictureHeight, 0), ih = std::max(itemHeight, 0), iw = std::max(itemWidth, 0);
  const Wide y0 = ih < ph ? ph - ih : 0;
  return {{
      {rect(0, 0, left, ih), rect(frameLeft, y0, frameLeft + left, ph)},
      {rect(left, 0, iw - right, ih), rect(frameLeft + left, y0, frameRight - right, ph)},
      {rect(iw - right, 0, iw, ih), rect(frameRight - right, y0, frameRight, ph)},
  }};
}

TemporaryItem temporaryItem(std::string_view text, unsigned state) {
  return {text.empty() ? std::string("-") : std::string(text), menuItemEnabled(state), menuItemChecked(state)};
}

unsigned itemCaptionFlags(unsigned alignment, bool measuring) {
  return kSingleLineText | alignment | (measuring ? dt::CalcRect | dt::NoClip : 0);
}

unsigned itemAlignmentFlags(bool popupComponent, PopupAlignment alignment) {
  if (!popupComponent) return dt::Left;
  switch (alignment) {
    case PopupAlignment::paRight: return dt::Right;
    case PopupAlignment::paCenter: return dt::Center;
    default: return dt::Left;
  }
}

ItemContentLayout layoutItemContent(const ItemContentInput& in) {
  ItemContentLayout out;
  const Rect& r = in.rect;
  const Wide boxLeft = Wide(r.left) + 1, boxTop = Wide(r.top) + 1;
  out.glyphBox = rect(boxLeft, boxTop, in.separator ? boxLeft : boxLeft + kGlyphBox, boxTop + kGlyphBox);
  if (!in.separator) {
    out.drawImage = in.imageIndex >= 0 && in.imageIndex < in.imageCount;
    out.drawCheck = !out.drawImage && in.checked;
    if (out.drawCheck)
      out.checkAt = {narrow(boxLeft + (kGlyphBox - Wide(in.checkMark.width)) / 2 + 1),
                     narrow(boxTop + (kGlyphBox - Wide(in.checkMark.height)) / 2 + 1)};
  }
  out.textRect = rect(Wide(out.glyphBox.right) + kTextGap, r.top, Wide(r.right) - kTextRightMargin, r.bottom);

  const Wide width = std::max(in.captionExtent.width, 0), height = std::max(in.captionExtent.height, 0);
  const Wide top = Wide(r.top) + (Wide(r.bottom) - r.top - height) / 2;
  const Wide left = out.textRect.left;
  // A caption longer than the item is cut at the text rectangle's end.
  const Wide right = std::max<Wide>(std::min<Wide>(left + width, out.textRect.right), left);
  out.caption = rect(left, top, right, top + height);
  if (in.hasShortcut) {
    const Wide end = Wide(r.right) - kShortcutRightMargin;
    out.shortcut = rect(out.caption.right, out.caption.top, std::max<Wide>(end, out.caption.right),
                        out.caption.bottom);
  }
  return out;
}

unsigned menuTextFlags(unsigned flags, bool rightToLeft) {
  return rightToLeft ? flags | dt::Right | dt::RtlReading : flags;
}

MenuTextLook menuTextLook(const SkinColors& c, bool selected, bool enabled, bool isDefault) {
  MenuTextLook look;
  look.bold = isDefault;
  if (!enabled) {
    look.colour = c.ButtonShadowColor == c.MenuTextColor ? kButtonShadow : c.ButtonShadowColor;
  } else {
    look.colour = selected ? c.HilightTextColor : c.MenuTextColor;
  }
  return look;
}

Rect menuSeparatorLine(const Rect& r) {
  return rect(r.left, Wide(r.top) + kSeparatorLineDrop, r.right, Wide(r.bottom) + kSeparatorLineDrop);
}

Rect popupClipRect(int width, int height) {
  const int w = std::max(width, 0), h = std::max(height, 0);
  Rect r{kPopupFrame, kPopupFrame, w - kPopupFrame, h - kPopupFrame};
  if (r.right < r.left) r.left = r.right = w / 2;
  if (r.bottom < r.top) r.top = r.bottom = h / 2;
  return r;
}

std::array<Rect, 4> popupFrameStrips(int width, int height) {
  const int w = std::max(width, 0), h = std::max(height, 0);
  const int across = std::min(kPopupFrame, h), down = std::min(kPopupFrame, w);
  return {Rect{0, 0, w, across}, Rect{0, h - across, w, h}, Rect{0, 0, down, h}, Rect{w - down, 0, w, h}};
}

}  // namespace vrin
