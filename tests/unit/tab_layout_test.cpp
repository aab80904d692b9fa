// Skinned tab controls and headers: sides, page, strip, tabs in the strip, contents.
#include <gtest/gtest.h>

#include "skin/pure/tab_layout.h"

namespace vrin {
namespace {

TEST(TabLayoutTest, SideFromStyle) {
  EXPECT_EQ(tabSide(0), TabSide::Top);
  EXPECT_EQ(tabSide(0x2), TabSide::Bottom);
  EXPECT_EQ(tabSide(0x80), TabSide::Left);
  EXPECT_EQ(tabSide(0x82), TabSide::Right);
  EXPECT_EQ(tabSide(0x50000000 | 0x2000 | 0x1), TabSide::Top);  // other style bits
}

TEST(TabLayoutTest, PageAndStrip) {
  const Rect adjusted{4, 25, 196, 125};
  EXPECT_EQ(tabPageRect(adjusted, TabSide::Top), (Rect{0, 22, 200, 129}));
  EXPECT_EQ(tabPageRect(adjusted, TabSide::Bottom), (Rect{0, 21, 200, 128}));
  EXPECT_EQ(tabPageRect(adjusted, TabSide::Left), (Rect{1, 21, 200, 129}));
  EXPECT_EQ(tabPageRect(adjusted, TabSide::Right), (Rect{0, 21, 199, 129}));

  const Rect top = tabStripRect(200, 150, {0, 22, 200, 150}, TabSide::Top);
  EXPECT_EQ(top, (Rect{0, 0, 200, 22}));
  EXPECT_EQ(tabStripBitmapWidth(top, TabSide::Top), 200);
  EXPECT_EQ(tabStripRect(200, 150, {0, 0, 200, 129}, TabSide::Bottom), (Rect{0, 129, 200, 150}));
  const Rect left = tabStripRect(200, 150, {60, 0, 200, 150}, TabSide::Left);
  EXPECT_EQ(left, (Rect{0, 0, 60, 150}));
  EXPECT_EQ(tabStripBitmapWidth(left, TabSide::Left), 150);  // lying down
  EXPECT_EQ(tabStripBitmapHeight(left, TabSide::Left), 60);
  EXPECT_EQ(tabStripRect(200, 150, {0, 0, 140, 150}, TabSide::Right), (Rect{140, 0, 200, 150}));
}

TEST(TabLayoutTest, TabsOnTopAndBottomMoveIntoTheStrip) {
  EXPECT_EQ(tabInStrip({2, 2, 60, 21}, TabSide::Top, {}, 200, 200), (Rect{2, 3, 60, 22}));
  EXPECT_EQ(tabInStrip({2, 129, 60, 148}, TabSide::Bottom, {0, 0, 200, 129}, 200, 200),
            (Rect{2, -1, 60, 18}));
}

// Fills the tab's place in a lying strip bitmap, stands the bitmap up as the skinner does,
// and gives the filled rectangle's pixels in strip coordinates.
Image standUp(const Rect& inStrip, int bitmapWidth, int bitmapHeight, TabSide side) {
  Image strip(bitmapWidth, bitmapHeight, 0);
  for (int y = inStrip.top; y < inStrip.bottom; ++y)
    for (int x = inStrip.left; x < inStrip.right; ++x) strip.at(x, y) = 1;
  if (side == TabSide::Left) rotateLeft(strip);
  else rotateRight(strip);
  return strip;
}
void expectFilledExactly(const Image& img, const Rect& r) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      ASSERT_EQ(img.at(x, y) != 0, inside) << x << "," << y;
    }
}

TEST(TabLayoutTest, SideTabsLandOnTheirPlaceOnceTurnedUpright) {
  // Left tabs: strip (0, 0, 60, 150), turned counter-clockwise: the tab lands where it is.
  const Rect leftTab{2, 10, 58, 40};
  const Rect l = tabInStrip(leftTab, TabSide::Left, {60, 0, 200, 150}, 150, 200);
  EXPECT_EQ(l, (Rect{110, 2, 140, 58}));
  expectFilledExactly(standUp(l, 150, 60, TabSide::Left), leftTab);

  // Right tabs: strip (140, 0, 200, 150), turned clockwise: the tab lands one pixel higher.
  const Rect r = tabInStrip({142, 10, 198, 40}, TabSide::Right, {0, 0, 140, 150}, 150, 200);
  EXPECT_EQ(r, (Rect{9, 2, 39, 58}));
  expectFilledExactly(standUp(r, 150, 60, TabSide::Right), Rect{2, 9, 58, 39});
}

TEST(TabLayoutTest, TabContentAndHeaderText) {
  TabContent c = placeTabContent({0, 0, 100, 20}, true, 30, 13);  // pair 16 + 1 + 30
  EXPECT_EQ(c.image, (Rect{26, 2, 42, 18}));
  EXPECT_EQ(c.text, (Rect{43, 3, 73, 16}));
  c = placeTabContent({10, 0, 110, 20}, false, 30, 13);
  EXPECT_TRUE(c.image.empty());
  EXPECT_EQ(c.text, (Rect{45, 3, 75, 16}));

  const Rect item{10, 0, 110, 20};
  EXPECT_EQ(headerTextRect(item, 40, 13, HeaderAlign::Left), (Rect{14, 3, 54, 16}));
  EXPECT_EQ(headerTextRect(item, 40, 13, HeaderAlign::Centre), (Rect{40, 3, 80, 16}));
  EXPECT_EQ(headerTextRect(item, 40, 13, HeaderAlign::Right), (Rect{66, 3, 106, 16}));
}

}  // namespace
}  // namespace vrin
