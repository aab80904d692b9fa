// A skinned scroll bar composed off screen where the skin lacks pictures (the frames each
// part shows are checked on real windows against the skin's own pictures).
#include <gtest/gtest.h>

#include "skin/pure/scroll_paint.h"

namespace vrin {
namespace {

constexpr Pixel kBack = 0x00F5F5F5;

// Frames told apart by colour: arrow frame k is rgb(k, 0, 0) with a magenta first column.
SkinElement arrowStrip() {
  SkinElement e;
  e.Image = Image(16 * kScrollbarFrames, 16);
  for (int f = 0; f < kScrollbarFrames; ++f)
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) e.Image.at(f * 16 + x, y) = x == 0 ? kKeyColour : rgb(f + 1, 0, 0);
  return e;
}

TEST(ScrollPaintTest, MissingTrackOrThumbLeavesTheBarColourAndNoArrowsNothing) {
  const SkinElement arrows = arrowStrip(), empty;
  BarMetrics m;
  ASSERT_TRUE(updateThumbMetrics(m, 120, 17, {0, 99, 10, 0}, 8, 17));
  const Image bar = composeScrollBar({&arrows, nullptr, &empty, kBack}, 120, m, false, kPartNone);
  for (int y = 17; y < 103; ++y) EXPECT_EQ(bar.at(8, y), kBack) << y;
  EXPECT_EQ(bar.at(8, 8), rgb(9, 0, 0));
  EXPECT_TRUE(composeScrollBar({nullptr, nullptr, nullptr, kBack}, 120, m, false, kPartNone).empty());
  EXPECT_TRUE(composeScrollBar({&empty, nullptr, nullptr, kBack}, 120, m, false, kPartNone).empty());
  EXPECT_TRUE(composeScrollBar({&arrows, nullptr, nullptr, kBack}, 0, m, false, kPartNone).empty());
  // Shorter than two arrows: each arrow takes half; a pressed arrow shows its next frame.
  BarMetrics shortBar;
  updateThumbMetrics(shortBar, 20, 17, {0, 99, 10, 0}, 8, 17);
  const Image small = composeScrollBar({&arrows, nullptr, nullptr, kBack}, 20, shortBar, true, kPartRightArrow);
  EXPECT_EQ(small.at(9, 8), rgb(1, 0, 0));
  EXPECT_EQ(small.at(11, 8), rgb(6, 0, 0));
  EXPECT_EQ(stretchAcross(small, true, 17).at(11, 16), small.at(11, 15));
}

}  // namespace
}  // namespace vrin
