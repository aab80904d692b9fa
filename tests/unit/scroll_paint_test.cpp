// A skinned scroll bar composed off screen: the frames each part shows, and what is drawn
// when the track or thumb picture is missing.
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
SkinElement plainStrip(int frames, int width, int height, int green) {
  SkinElement e;
  e.FrameCount = frames;
  e.Image = Image(frames * width, height);
  for (int f = 0; f < frames; ++f)
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) e.Image.at(f * width + x, y) = rgb(0, green, f + 1);
  return e;
}

TEST(ScrollPaintTest, PartsShowTheirFramesPressedOnesIncluded) {
  const SkinElement arrows = arrowStrip(), track = plainStrip(4, 16, 16, 100), thumb = plainStrip(3, 16, 30, 200);
  const ScrollBarPictures pictures{&arrows, &track, &thumb, kBack};
  BarMetrics m;
  ASSERT_TRUE(updateThumbMetrics(m, 200, 17, {0, 99, 10, 50}, 8, 17));
  const Image normal = composeScrollBar(pictures, 200, m, false, kPartNone);
  ASSERT_EQ(normal.width, kBarThickness);
  ASSERT_EQ(normal.height, 200);
  EXPECT_EQ(normal.at(8, 8), rgb(9, 0, 0));       // up arrow
  EXPECT_EQ(normal.at(0, 8), kBack);              // its magenta column shows the bar's colour
  EXPECT_EQ(normal.at(8, 191), rgb(13, 0, 0));    // down arrow
  EXPECT_EQ(normal.at(8, 20), rgb(0, 100, 1));    // track, frame 1
  const int thumbMiddle = m.arrow + m.thumbOffset + m.thumbSize / 2;
  EXPECT_EQ(normal.at(8, thumbMiddle), rgb(0, 200, 1));
  EXPECT_EQ(composeScrollBar(pictures, 200, m, false, kPartVertThumb).at(8, thumbMiddle), rgb(0, 200, 2));
  EXPECT_EQ(composeScrollBar(pictures, 200, m, false, kPartDownArrow).at(8, 191), rgb(14, 0, 0));
  EXPECT_EQ(composeScrollBar(pictures, 200, m, false, kPartUpArrow).at(8, 8), rgb(10, 0, 0));
  // Horizontal: the left arrow's frame 2 when pressed; the vertical thumb part changes nothing.
  const Image h = composeScrollBar(pictures, 200, m, true, kPartLeftArrow);
  EXPECT_EQ(h.at(8, 8), rgb(2, 0, 0));
  EXPECT_EQ(h.at(191, 8), rgb(5, 0, 0));
  // Stretched across to 17: every column of the 16 reaches the screen, none is invented.
  const Image shown = stretchAcross(normal, false, 17);
  EXPECT_EQ(shown.width, 17);
  EXPECT_EQ(shown.at(16, 8), normal.at(15, 8));
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
  // Shorter than two arrows: each arrow takes half.
  BarMetrics shortBar;
  updateThumbMetrics(shortBar, 20, 17, {0, 99, 10, 0}, 8, 17);
  const Image small = composeScrollBar({&arrows, nullptr, nullptr, kBack}, 20, shortBar, true, kPartNone);
  EXPECT_EQ(small.at(9, 8), rgb(1, 0, 0));
  EXPECT_EQ(small.at(11, 8), rgb(5, 0, 0));
}

}  // namespace
}  // namespace vrin
