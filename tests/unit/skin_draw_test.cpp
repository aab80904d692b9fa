// Skin picture drawing with exact pixels: frames, nine-cell grids (scaled and tiled),
// three-slices, key-colour blits, region rectangles and the quarter turns.
#include <gtest/gtest.h>

#include "skin/pure/skin_draw.h"

namespace vrin {
namespace {

// Every pixel names its own place: red = x, green = y, blue = a tag.
Image pattern(int w, int h, unsigned tag = 9) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.at(x, y) = rgb(x, y, tag);
  return img;
}
Pixel at(int x, int y, unsigned tag = 9) { return rgb(x, y, tag); }

// Where target coordinate d of a D-long axis reads in an F-long frame with fixed ends lo, hi:
// the ends one to one, the middle spread by nearest neighbour.
int axis(int d, int D, int lo, int hi, int F) {
  if (d < lo) return d;
  if (d >= D - hi) return F - (D - d);
  return lo + (d - lo) * (F - lo - hi) / (D - lo - hi);
}

TEST(SkinDrawTest, FramesAreNumberedFromOne) {
  const Image strip = pattern(10, 4);
  EXPECT_EQ(frameRect(strip, 3, 1, false), (Rect{0, 0, 3, 4}));
  EXPECT_EQ(frameRect(strip, 3, 3, false), (Rect{6, 0, 9, 4}));
  EXPECT_TRUE(frameRect(strip, 3, 0, false).empty());
  EXPECT_TRUE(frameRect(strip, 3, 4, false).empty());
  EXPECT_EQ(frameRect(strip, 0, 1, false), (Rect{0, 0, 10, 4}));
  EXPECT_EQ(frameRect(strip, 2, 2, true), (Rect{0, 2, 10, 4}));
  EXPECT_TRUE(frameRect(strip, 11, 1, false).empty());  // frames of width 0

  const Image second = cutFrame(pattern(4, 10), 2, 2, true);
  ASSERT_EQ(second.width, 4);
  ASSERT_EQ(second.height, 5);
  EXPECT_EQ(second.at(0, 0), at(0, 5));
  EXPECT_EQ(second.at(3, 4), at(3, 9));
}

TEST(SkinDrawTest, GridCornersStayEdgesAndMiddleStretch) {
  // Frame 2 of a stacked strip: 6 x 6 at y 6..12; margins of 2 all round; target 10 x 8.
  const Image strip = pattern(6, 12);
  const Image g = composeGrid(10, 8, strip, {2, 2, 2, 2}, true, false, 2, 2);
  ASSERT_EQ(g.width, 10);
  ASSERT_EQ(g.height, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x)
      ASSERT_EQ(g.at(x, y), at(axis(x, 10, 2, 2, 6), 6 + axis(y, 8, 2, 2, 6))) << x << "," << y;
  EXPECT_EQ(g.at(9, 7), at(5, 11));  // bottom-right corner, unscaled
  EXPECT_EQ(g.at(5, 0), at(3, 6));   // top edge: 2 + 3 * 2 / 6
}

TEST(SkinDrawTest, NarrowTargetDropsBothSideMargins) {
  // 30 x 20 from a frame 50 wide with side margins of 20: 30 < 40, so no corners or side
  // edges; the top and bottom margins (3 + 3 <= 20) remain and span the whole width.
  const Image frame = pattern(50, 10);
  const Image g = composeGrid(30, 20, frame, {20, 3, 20, 3}, false, false, 1, 1);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x)
      ASSERT_EQ(g.at(x, y), at(x * 50 / 30, axis(y, 20, 3, 3, 10))) << x << "," << y;
  EXPECT_EQ(g.at(15, 10), at(25, 5));
  EXPECT_EQ(g.at(29, 0), at(48, 0));

  // Exactly left + right wide: the margins stay and the middle has no room.
  const Image exact = composeGrid(40, 6, frame, {20, 3, 20, 3}, false, false, 1, 1);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(exact.at(x, y), at(x < 20 ? x : x + 10, y < 3 ? y : y + 4));

  // Too low as well: everything is the scaled frame.
  const Image low = composeGrid(30, 5, frame, {20, 3, 20, 3}, false, false, 1, 1);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(low.at(x, y), at(x * 50 / 30, y * 10 / 5));
}

TEST(SkinDrawTest, TiledMiddleOverhangIsCoveredByTheEdges) {
  // Frame 13 x 5, margins 3/1/3/1: the middle part is 7 x 3. Target 26 x 9: the middle cell
  // is 20 x 7, so three copies across (the third overhangs one column) and three down.
  const Image frame = pattern(13, 5);
  const Image g = composeGrid(26, 9, frame, {3, 1, 3, 1}, false, true, 1, 1);
  for (int y = 1; y < 8; ++y) {
    for (int x = 3; x < 23; ++x)
      ASSERT_EQ(g.at(x, y), at(3 + (x - 3) % 7, 1 + (y - 1) % 3)) << x << "," << y;
    // The column the third copy overhangs into belongs to the right edge.
    EXPECT_EQ(g.at(23, y), at(10, 1 + (y - 1) * 3 / 7)) << y;
  }
  EXPECT_EQ(g.at(22, 4), at(3 + 19 % 7, 1));
  for (int x = 3; x < 23; ++x) EXPECT_EQ(g.at(x, 8), at(3 + (x - 3) * 7 / 20, 4)) << x;
  EXPECT_EQ(g.at(25, 8), at(12, 4));

  // Without a right margin the overhang falls outside the picture.
  const Image open = composeGrid(12, 5, frame, {3, 1, 0, 1}, false, true, 1, 1);
  EXPECT_EQ(open.at(11, 2), at(3 + 8 % 10, 1 + 1 % 3));
}

TEST(SkinDrawTest, GridOddInputs) {
  const Image strip = pattern(8, 8);
  EXPECT_TRUE(composeGrid(0, 5, strip, {}, false, false, 1, 1).empty());
  EXPECT_TRUE(composeGrid(5, -1, strip, {}, false, false, 1, 1).empty());
  EXPECT_EQ(composeGrid(3, 3, strip, {}, false, false, 2, 3), Image(3, 3));  // no frame 3
  EXPECT_EQ(composeGrid(3, 3, Image{}, {}, false, true, 1, 1), Image(3, 3));
  // Negative margins count as none; a middle part of no width tiles nothing.
  EXPECT_EQ(composeGrid(8, 8, strip, {-4, -4, -4, -4}, false, false, 1, 1), strip);
  const Image noMiddle = composeGrid(9, 8, strip, {4, 0, 4, 0}, false, true, 1, 1);
  EXPECT_EQ(noMiddle.at(4, 0), 0u);
  EXPECT_EQ(noMiddle.at(5, 0), at(4, 0));
  // Margins beyond the frame read nothing outside it.
  const Image wide = composeGrid(30, 8, strip, {12, 0, 0, 0}, false, false, 1, 1);
  EXPECT_EQ(wide.at(7, 3), at(7, 3));
  EXPECT_EQ(wide.at(9, 3), 0u);
}

TEST(SkinDrawTest, DrawGridPlacesTransparentAndIgnoresInvertedRectangles) {
  Image strip = pattern(4, 4);
  strip.at(1, 1) = kKeyColour;
  Image target(6, 6, 0x123456);
  drawGrid(target, {5, 5, 3, 8}, strip, false, false, true, 1, 1, {});
  EXPECT_EQ(target, Image(6, 6, 0x123456));
  drawGrid(target, {1, 2, 5, 6}, strip, false, false, true, 1, 1, {});
  EXPECT_EQ(target.at(0, 2), 0x123456u);
  EXPECT_EQ(target.at(1, 2), at(0, 0));
  EXPECT_EQ(target.at(2, 3), 0x123456u);  // the key pixel
  EXPECT_EQ(target.at(4, 5), at(3, 3));
  drawGrid(target, {1, 2, 5, 6}, strip, false, false, false, 1, 1, {});
  EXPECT_EQ(target.at(2, 3), kKeyColour);
  // Clipped at the target's edges.
  drawGrid(target, {-2, -2, 2, 2}, strip, false, false, false, 1, 1, {});
  EXPECT_EQ(target.at(0, 0), at(2, 2));
}

TEST(SkinDrawTest, FrameOnlyLeavesTheMiddle) {
  const Image strip = pattern(6, 6);
  Image target(12, 10, 1);
  drawGridFrameOnly(target, {1, 1, 11, 9}, strip, false, 1, 1, {2, 2, 2, 2});
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool outside = x < 1 || x >= 11 || y < 1 || y >= 9;
      const bool middle = x >= 3 && x < 9 && y >= 3 && y < 7;
      if (outside || middle)
        ASSERT_EQ(target.at(x, y), 1u) << x << "," << y;
      else
        ASSERT_EQ(target.at(x, y), at(axis(x - 1, 10, 2, 2, 6), axis(y - 1, 8, 2, 2, 6))) << x << "," << y;
    }
}

TEST(SkinDrawTest, ThreeSliceRepeatsTheMiddle) {
  // Frame 2 of a stacked 10 x 4 strip (10 x 2 at y 2..4); left 2, right 3, middle 5.
  // Target 14 x 4: middles at x 2 and 7; the second overhangs into 11, covered by the right.
  const Image strip = pattern(10, 4);
  Image target(16, 6, 0xAAAAAA);
  drawThreeSlice(target, {1, 1, 15, 5}, strip, true, false, 2, 2, 2, 3);
  for (int y = 0; y < 4; ++y) {
    const int sy = 2 + y * 2 / 4;
    for (int x = 0; x < 14; ++x) {
      int sx;
      if (x < 2) sx = x;
      else if (x >= 11) sx = 7 + (x - 11);
      else sx = 2 + (x - 2) % 5;
      ASSERT_EQ(target.at(1 + x, 1 + y), at(sx, sy)) << x << "," << y;
    }
  }
  EXPECT_EQ(target.at(0, 0), 0xAAAAAAu);
  EXPECT_EQ(target.at(15, 5), 0xAAAAAAu);

  const Image narrow = composeThreeSlice(4, 2, strip, true, 2, 1, 2, 3);  // right overlaps left
  EXPECT_EQ(narrow.at(0, 0), at(0, 0));
  EXPECT_EQ(narrow.at(1, 0), at(7, 0));
  EXPECT_EQ(narrow.at(3, 1), at(9, 1));
  EXPECT_TRUE(composeThreeSlice(0, 2, strip, true, 2, 1, 2, 3).empty());
}

TEST(SkinDrawTest, DrawFrameTakesItsWidthFromTheRectangle) {
  Image strip = pattern(20, 3);
  strip.at(11, 0) = kKeyColour;
  Image target(8, 8, 5);
  drawFrame(target, {1, 1, 6, 7}, strip, false, 3);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(target.at(1 + x, 1 + y), (x == 1 && y < 2) ? kKeyColour : at(10 + x, y * 3 / 6));
  EXPECT_EQ(target.at(0, 0), 5u);
  EXPECT_EQ(target.at(6, 7), 5u);

  Image clear(8, 8, 5);
  drawFrame(clear, {1, 1, 6, 7}, strip, true, 3);
  EXPECT_EQ(clear.at(2, 1), 5u);
  EXPECT_EQ(clear.at(3, 1), at(12, 0));
  // Frames past the picture draw nothing.
  Image untouched(8, 8, 5);
  drawFrame(untouched, {1, 1, 6, 7}, strip, false, 5);
  drawFrame(untouched, {1, 1, 6, 7}, strip, true, 0);
  drawFrame(untouched, {6, 1, 1, 7}, strip, false, 1);
  EXPECT_EQ(untouched, Image(8, 8, 5));
}

TEST(SkinDrawTest, TransparentBlitAndTile) {
  Image bmp = pattern(3, 2);
  bmp.at(1, 0) = 0xFF000000u | kKeyColour;  // the top byte does not hide the key
  bmp.at(2, 1) = rgb(255, 1, 255);           // near the key is not the key
  Image target(4, 4, 7);
  drawTransparent(target, {1, 1, 10, 10}, bmp);
  EXPECT_EQ(target.at(1, 1), at(0, 0));
  EXPECT_EQ(target.at(2, 1), 7u);
  EXPECT_EQ(target.at(3, 2), rgb(255, 1, 255));
  EXPECT_EQ(target.at(1, 3), 7u);
  Image small(4, 4, 7);
  drawTransparent(small, {0, 0, 1, 1}, bmp);  // no more than the rectangle
  EXPECT_EQ(small.at(1, 0), 7u);
  EXPECT_EQ(small.at(0, 0), at(0, 0));

  const Image src = pattern(6, 6);
  Image t(9, 7, 3);
  tile(t, {1, 1, 8, 6}, src, {2, 3, 5, 5});  // a 3 x 2 tile over 7 x 5
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x) {
      const bool inside = x >= 1 && x < 8 && y >= 1 && y < 6;
      ASSERT_EQ(t.at(x, y), inside ? at(2 + (x - 1) % 3, 3 + (y - 1) % 2) : 3u) << x << "," << y;
    }
  Image far(4, 4, 3);
  tile(far, {-1000001, -7, 3, 2}, src, {0, 0, 2, 2});
  EXPECT_EQ(far.at(0, 0), at(1, 1));  // -1000001 and -7 are odd: phase 1 on both axes
  EXPECT_EQ(far.at(3, 0), 3u);
}

TEST(SkinDrawTest, RegionRowsOfNonKeyRuns) {
  const auto allKey = regionRects(Image(5, 3, kKeyColour), 0, 0, 1, 1, 1);
  ASSERT_EQ(allKey.size(), 1u);
  EXPECT_TRUE(allKey[0].empty());

  const auto solid = regionRects(pattern(5, 4), 10, 20, 1, 1, 1);
  ASSERT_EQ(solid.size(), 1u);
  ASSERT_EQ(solid[0].size(), 4u);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(solid[0][std::size_t(y)], (Rect{10, 20 + y, 15, 21 + y}));
  EXPECT_EQ(boundingRect(solid[0]), (Rect{10, 20, 15, 24}));
  EXPECT_EQ(boundingRect({}), Rect{});

  // Key range per channel: red 255, green 0..1, blue 255 with tolerance 1.
  Image mixed(7, 1, kKeyColour);
  mixed.at(1, 0) = rgb(255, 2, 255);
  mixed.at(2, 0) = rgb(254, 0, 255);
  mixed.at(3, 0) = rgb(255, 1, 255);
  mixed.at(5, 0) = 0;
  const auto runs = regionRects(mixed, 0, 0, 1, 1, 1);
  ASSERT_EQ(runs[0].size(), 2u);
  EXPECT_EQ(runs[0][0], (Rect{1, 0, 3, 1}));
  EXPECT_EQ(runs[0][1], (Rect{5, 0, 6, 1}));
  const auto strict = regionRects(mixed, 0, 0, 0, 0, 0);
  ASSERT_EQ(strict[0].size(), 2u);
  EXPECT_EQ(strict[0][0], (Rect{1, 0, 4, 1}));
  // Another key colour.
  const auto black = regionRects(mixed, 0, 0, 0, 0, 0, 0);
  ASSERT_EQ(black[0].size(), 2u);
  EXPECT_EQ(black[0][1], (Rect{6, 0, 7, 1}));
}

TEST(SkinDrawTest, RegionRectanglesComeInBatchesOfTwoThousand) {
  auto stripes = [](int w, int h) {  // non-key at even x
    Image img(w, h, kKeyColour);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; x += 2) img.at(x, y) = 0;
    return img;
  };
  auto over = regionRects(stripes(4001, 1), 0, 0, 1, 1, 1);  // 2001 runs
  ASSERT_EQ(over.size(), 2u);
  EXPECT_EQ(over[0].size(), 2000u);
  EXPECT_EQ(over[0].back(), (Rect{3998, 0, 3999, 1}));
  ASSERT_EQ(over[1].size(), 1u);
  EXPECT_EQ(over[1][0], (Rect{4000, 0, 4001, 1}));

  auto exact = regionRects(stripes(3999, 1), 0, 0, 1, 1, 1);  // 2000 runs
  ASSERT_EQ(exact.size(), 2u);
  EXPECT_EQ(exact[0].size(), 2000u);
  EXPECT_TRUE(exact[1].empty());

  auto rows = regionRects(stripes(1000, 5), 0, 0, 1, 1, 1);  // 500 runs a row
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].size(), 2000u);
  EXPECT_EQ(rows[0].back(), (Rect{998, 3, 999, 4}));
  ASSERT_EQ(rows[1].size(), 500u);
  EXPECT_EQ(rows[1].front(), (Rect{0, 4, 1, 5}));
}

TEST(SkinDrawTest, QuarterTurnsAndFlip) {
  // a b c        rotate left:  c f     rotate right:  d a     flip:  d e f
  // d e f                      b e                    e b            a b c
  //                            a d                    f c
  const Pixel a = 1, b = 2, c = 3, d = 4, e = 5, f = 0xFF000006;
  Image img(3, 2);
  img.pixels = {a, b, c, d, e, f};
  const Pixel f24 = 6;

  Image left = img;
  rotateLeft(left);
  ASSERT_EQ(left.width, 2);
  ASSERT_EQ(left.height, 3);
  EXPECT_EQ(left.pixels, (std::vector<Pixel>{c, f24, b, e, a, d}));

  Image right = img;
  rotateRight(right);
  ASSERT_EQ(right.width, 2);
  EXPECT_EQ(right.pixels, (std::vector<Pixel>{d, a, e, b, f24, c}));

  Image flipped = img;
  flipVertical(flipped);
  EXPECT_EQ(flipped.pixels, (std::vector<Pixel>{d, e, f24, a, b, c}));

  Image odd = pattern(4, 3);
  flipVertical(odd);
  EXPECT_EQ(odd.at(2, 1), at(2, 1));  // the middle row stays
  EXPECT_EQ(odd.at(2, 0), at(2, 2));

  Image round = pattern(5, 3);
  rotateLeft(round);
  rotateRight(round);
  EXPECT_EQ(round, pattern(5, 3));
  for (int i = 0; i < 4; ++i) rotateRight(round);
  EXPECT_EQ(round, pattern(5, 3));

  Image none;
  rotateLeft(none);
  flipVertical(none);
  EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace vrin
