// Skinned menu arithmetic: the bar with our skin and without, accelerators, measures,
// separator parts, item content, text looks and the popup frame.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <string>

#include "skin/pure/menu_layout.h"

namespace vrin {
namespace {

const std::string kSkinDir = std::string(VRIN_SOURCE_DIR) + "/resources/skin/";

std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

SkinSettings ourSkin() {
  const std::vector<std::uint8_t> ini = readFile(kSkinDir + "vrinset.ini");
  return parseSkinSettings(std::string(ini.begin(), ini.end()),
                           [](const std::string& name) { return readFile(kSkinDir + name); });
}

TEST(MenuLayoutTest, BarStartsAfterTheMenuBarMargin) {
  const SkinSettings skin = ourSkin();
  ASSERT_TRUE(skin.MenuBar);
  ASSERT_EQ(skin.MenuBar->LeftWidth, 6);
  MenuBarBackground b = menuBarBackground(skin.MenuBar, 400, true);
  EXPECT_TRUE(b.fromElement);
  EXPECT_FALSE(b.grid);  // TileMenu 0: a three-slice
  EXPECT_EQ(b.frame, 1);
  EXPECT_EQ(b.firstItemX, 10);
  EXPECT_EQ(menuBarBackground(skin.MenuBar, 400, false).frame, 2);
  EXPECT_EQ(menuBarBackground(skin.MenuBar, 9, true).firstItemX, 12);  // narrower than 6 + 4

  // Without the element, or with a picture that could not be read: a plain fill from 6.
  EXPECT_EQ(menuBarBackground(std::nullopt, 400, true).firstItemX, 6);
  EXPECT_FALSE(menuBarBackground(std::nullopt, 400, true).fromElement);
  SkinElement unreadable = *skin.MenuBar;
  unreadable.Image = {};
  EXPECT_FALSE(menuBarBackground(unreadable, 400, true).fromElement);
  SkinElement tiled = *skin.MenuBar;
  tiled.Tile = 1;
  tiled.LeftWidth = -50;  // a damaged margin counts as none
  EXPECT_TRUE(menuBarBackground(tiled, 400, true).grid);
  EXPECT_EQ(menuBarBackground(tiled, 400, true).firstItemX, 4);
}

TEST(MenuLayoutTest, BarCellsAndHits) {
  // Each cell is its caption's width + 10, one after the other.
  const std::vector<Rect> cells = menuBarCells({30, 45, 0}, 10, 19);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0], (Rect{10, 0, 50, 18}));
  EXPECT_EQ(cells[1], (Rect{50, 0, 105, 18}));
  EXPECT_EQ(cells[2], (Rect{105, 0, 115, 18}));
  EXPECT_EQ(menuBarCells({30}, 6, 19)[0], (Rect{6, 0, 46, 18}));

  // Bounds in window coordinates, one pixel less at the bottom; past the bar's end cut away.
  const Rect bar{3, 23, 100, 42};
  std::vector<MenuBarItem> items(3);
  items[0].Caption = "&File", items[1].Caption = "&Edit", items[2].Caption = "";
  for (std::size_t i = 0; i < 3; ++i) items[i].Bounds = menuBarItemBounds(cells[i], bar);
  EXPECT_EQ(items[0].Bounds, (Rect{13, 23, 53, 40}));
  EXPECT_EQ(items[1].Bounds, (Rect{53, 23, 100, 40}));
  EXPECT_TRUE(items[2].Bounds.empty());
  EXPECT_EQ(menuBarItemAt(items, 13, 23), 0);
  EXPECT_EQ(menuBarItemAt(items, 53, 39), 1);
  EXPECT_EQ(menuBarItemAt(items, 12, 30), -1);
  EXPECT_EQ(menuBarItemAt(items, 60, 40), -1);
  EXPECT_EQ(menuBarItemAt(items, 100, 30), -1);
  items[2].Bounds = {110, 23, 200, 40};
  EXPECT_EQ(menuBarItemAt(items, 150, 30), -1);  // no caption, no hit
  EXPECT_EQ(menuBarItemAt({}, 13, 23), -1);

  EXPECT_EQ(menuBarPressPoint(items[0].Bounds, {100, 200}), (Point{114, 224}));
  EXPECT_EQ(menuBarMenuPoint(items[0].Bounds, {100, 200}), (Point{113, 240}));
}

TEST(MenuLayoutTest, WhatAMenuSaysOfItsItems) {
  EXPECT_FALSE(menuItemEnabled(0x1));  // MF_GRAYED alone
  EXPECT_FALSE(menuItemEnabled(0x2));  // MF_DISABLED alone
  EXPECT_TRUE(menuItemIsText(0x0));
  EXPECT_TRUE(menuItemIsText(0x2000));  // MFT_RIGHTORDER is still text
  EXPECT_FALSE(menuItemIsText(0x100));
  EXPECT_EQ(temporaryItem("", 0x3), (TemporaryItem{"-", false, false}));
  EXPECT_EQ(temporaryItem("&Open", 0x8), (TemporaryItem{"&Open", true, true}));
}

TEST(MenuLayoutTest, HugeCaptionsStayInRange) {
  // A 1,000-character caption measured past any window, then more items after it.
  const std::vector<Rect> cells = menuBarCells({INT_MAX, 7000, -5}, 10, 19);
  EXPECT_EQ(cells[0].left, 10);
  EXPECT_EQ(cells[0].right, INT_MAX);
  EXPECT_EQ(cells[1].left, INT_MAX);
  EXPECT_EQ(cells[2].right - cells[2].left, 0);  // clamped at INT_MAX
  const Rect bounds = menuBarItemBounds(cells[1], {3, 23, 300, 42});
  EXPECT_TRUE(bounds.empty());
  EXPECT_LE(bounds.left, bounds.right);
  EXPECT_EQ(menuBarItemBounds(cells[0], {INT_MAX - 5, 0, INT_MAX, 19}).right, INT_MAX);
  EXPECT_TRUE(menuBarCells({}, 10, 19).empty());
}

TEST(MenuLayoutTest, Accelerators) {
  EXPECT_EQ(acceleratorOf("&File"), U'F');
  EXPECT_EQ(acceleratorOf("Save && &Exit"), U'E');
  EXPECT_EQ(acceleratorOf("A&&B"), 0u);
  EXPECT_EQ(acceleratorOf("Trailing&"), 0u);
  EXPECT_EQ(acceleratorOf(""), 0u);
  EXPECT_EQ(acceleratorOf("&\xC3\xA9t\xC3\xA9"), 0xE9u);  // "&été"
  EXPECT_EQ(acceleratorOf("&\xC3"), 0xC3u);              // a cut sequence stands for its byte

  std::vector<MenuBarItem> items(4);
  items[0].Caption = "&File", items[0].Enabled = false;
  items[1].Caption = "&Find";
  items[2].Caption = "&format";
  items[3].Caption = "&\xC3\xA9t\xC3\xA9";
  EXPECT_EQ(menuBarItemForAccelerator(items, U'f'), 1);  // the disabled one is passed over
  EXPECT_EQ(menuBarItemForAccelerator(items, 0xC9), 3);  // É finds é
  EXPECT_EQ(menuBarItemForAccelerator(items, U'x'), -1);
  EXPECT_EQ(menuBarItemForAccelerator(items, 0), -1);
  EXPECT_EQ(menuBarItemForAccelerator({}, U'f'), -1);

  EXPECT_TRUE(swallowKeyMenu(items, false, false, 0));
  EXPECT_TRUE(swallowKeyMenu(items, false, false, U'F'));
  EXPECT_FALSE(swallowKeyMenu(items, false, false, U'x'));
  EXPECT_FALSE(swallowKeyMenu(items, false, false, U' '));
  EXPECT_FALSE(swallowKeyMenu(items, true, false, U'F'));
  EXPECT_FALSE(swallowKeyMenu(items, false, true, 0));
}

TEST(MenuLayoutTest, Measures) {
  // A separator measures 8 high, 12 on the Windows 95 family; other items their text + 26.
  EXPECT_EQ(skinItemSize(4, 15, true, false), (Size{30, 8}));
  EXPECT_EQ(skinItemSize(4, 15, true, true), (Size{30, 12}));
  EXPECT_EQ(skinItemSize(80, 15, false, false), (Size{106, 19}));
  EXPECT_EQ(skinItemSize(80, 15, false, true), (Size{106, 23}));
  EXPECT_EQ(skinItemSize(INT_MAX, INT_MAX, false, true), (Size{INT_MAX, INT_MAX}));

  EXPECT_EQ(skinTopLevelItemSize({90, 19}, false, false), (Size{118, 19}));
  EXPECT_EQ(skinTopLevelItemSize({90, 19}, false, true), (Size{118, 23}));
  EXPECT_EQ(skinTopLevelItemSize({90, 5}, true, true), (Size{118, 5}));
}

TEST(MenuLayoutTest, SkinnedItemsAndSeparatorParts) {
  SkinElement item;
  EXPECT_FALSE(skinnedMenuItems(std::nullopt));
  EXPECT_FALSE(skinnedMenuItems(item));  // no picture read
  item.Image = Image(50, 20);
  EXPECT_TRUE(skinnedMenuItems(item));

  EXPECT_EQ(skinnedItemPlan(false, false, true), (SkinnedItemPlan{4, true, false}));
  EXPECT_EQ(skinnedItemPlan(true, false, false), (SkinnedItemPlan{1, false, true}));
  EXPECT_EQ(skinnedItemPlan(true, true, false), (SkinnedItemPlan{1, true, false}));
  EXPECT_EQ(itemBackgroundSource({0, 19, 120, 38}), (Rect{3, 22, 123, 41}));

  // Frames 10 wide: frame 2 is x 10..20; an item lower than the picture reads its bottom rows.
  auto parts = separatorParts(50, 20, 3, 2, 100, 8);
  EXPECT_EQ(parts[0].source, (Rect{10, 12, 13, 20}));
  EXPECT_EQ(parts[0].target, (Rect{0, 0, 3, 8}));
  EXPECT_EQ(parts[1].source, (Rect{13, 12, 18, 20}));
  EXPECT_EQ(parts[1].target, (Rect{3, 0, 98, 8}));
  EXPECT_EQ(parts[2].source, (Rect{18, 12, 20, 20}));
  EXPECT_EQ(parts[2].target, (Rect{98, 0, 100, 8}));
  EXPECT_EQ(separatorParts(50, 20, 3, 2, 100, 30)[1].source.top, 0);
  // Damaged margins never reach into the next frames.
  parts = separatorParts(50, 20, 40, 40, 100, 8);
  EXPECT_EQ(parts[0].source, (Rect{10, 12, 20, 20}));
  EXPECT_EQ(parts[2].source, (Rect{20, 12, 20, 20}));
  parts = separatorParts(0, 0, -4, 7, 0, -3);
  for (const PictureCopy& p : parts) EXPECT_TRUE(p.source.empty() && p.target.empty());
}

TEST(MenuLayoutTest, ItemContent) {
  ItemContentInput in;
  in.rect = {0, 19, 120, 41};
  in.checkMark = {13, 13};
  in.captionExtent = {40, 13};
  in.imageCount = 3;
  in.imageIndex = 3;  // one past the list
  in.checked = true;
  ItemContentLayout c = layoutItemContent(in);
  EXPECT_EQ(c.glyphBox, (Rect{1, 20, 17, 36}));
  EXPECT_FALSE(c.drawImage);
  EXPECT_TRUE(c.drawCheck);
  EXPECT_EQ(c.checkAt, (Point{3, 22}));  // centred in the box, then 1 right and down
  EXPECT_EQ(c.textRect, (Rect{20, 19, 119, 41}));
  EXPECT_EQ(c.caption, (Rect{20, 23, 60, 36}));
  EXPECT_TRUE(c.shortcut.empty());
  in.checked = false;
  EXPECT_FALSE(layoutItemContent(in).drawCheck);

  in.imageIndex = 2;
  in.checked = true;
  in.hasShortcut = true;
  c = layoutItemContent(in);
  EXPECT_TRUE(c.drawImage);
  EXPECT_FALSE(c.drawCheck);
  EXPECT_EQ(c.shortcut, (Rect{60, 23, 109, 36}));
  in.imageIndex = -1;
  EXPECT_TRUE(layoutItemContent(in).drawCheck);

  // A separator has no glyph box and no glyph.
  in.separator = true;
  c = layoutItemContent(in);
  EXPECT_EQ(c.glyphBox.width(), 0);
  EXPECT_FALSE(c.drawCheck || c.drawImage);
  EXPECT_EQ(c.textRect.left, 4);

  // A caption far wider than the item is cut at the text rectangle; the shortcut gets nothing.
  in.separator = false;
  in.captionExtent = {7000, 13};
  c = layoutItemContent(in);
  EXPECT_EQ(c.caption.right, 119);
  EXPECT_TRUE(c.shortcut.empty());
  EXPECT_LE(c.shortcut.left, c.shortcut.right);

  EXPECT_EQ(itemAlignmentFlags(false, PopupAlignment::paRight), 0x0u);  // only popup components align
}

TEST(MenuLayoutTest, TextRoutine) {
  SkinColors c;
  c.MenuTextColor = 0x000000, c.HilightTextColor = 0xFFFFFF, c.ButtonShadowColor = 0x9C9C9C;
  EXPECT_EQ(menuTextLook(c, false, true, false).colour, 0x000000u);
  EXPECT_EQ(menuTextLook(c, true, true, false).colour, 0xFFFFFFu);
  EXPECT_EQ(menuTextLook(c, true, false, false).colour, 0x9C9C9Cu);
  EXPECT_TRUE(menuTextLook(c, false, true, true).bold);
  c.ButtonShadowColor = c.MenuTextColor;  // a disabled text must still look disabled
  EXPECT_EQ(menuTextLook(c, false, false, false).colour, sysColour(16));

  EXPECT_EQ(menuSeparatorLine({4, -2, 119, 11}), (Rect{4, 2, 119, 15}));
}

TEST(MenuLayoutTest, PopupFrame) {
  EXPECT_EQ(popupClipRect(120, 80), (Rect{3, 3, 117, 77}));
  EXPECT_TRUE(popupClipRect(4, 2).empty());
  EXPECT_TRUE(popupClipRect(-10, -10).empty());
  EXPECT_EQ(popupFrameStrips(120, 80)[1], (Rect{0, 77, 120, 80}));
  EXPECT_EQ(popupFrameStrips(120, 80)[3], (Rect{117, 0, 120, 80}));
  for (const Rect& r : popupFrameStrips(2, 1)) EXPECT_TRUE(r.left >= 0 && r.right <= 2 && r.bottom <= 1);
}

}  // namespace
}  // namespace vrin
