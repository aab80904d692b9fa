// Skinned scroll bars: layout, thumb metrics, the part under a press, thumb drags.
#include <gtest/gtest.h>

#include <climits>

#include "skin/pure/scroll_geometry.h"

namespace vrin {
namespace {

constexpr int kArrow = 17, kNtThumb = 8, kHThumb = 17;

ScrollValues values(std::int32_t min, std::int32_t max, std::uint32_t page, std::int32_t position) {
  return {min, max, page, position};
}
BarMetrics metricsFor(int length, const ScrollValues& v) {
  BarMetrics m;
  EXPECT_TRUE(updateThumbMetrics(m, length, kArrow, v, kNtThumb, kHThumb));
  return m;
}

TEST(ScrollGeometryTest, PressedPartsAndArrowFrames) {
  EXPECT_EQ(pressedPartForScroll(true, 0), kPartLeftArrow);
  EXPECT_EQ(pressedPartForScroll(true, 5), kPartHorzThumb);
  EXPECT_EQ(pressedPartForScroll(false, 5), kPartVertThumb);
  EXPECT_EQ(pressedPartForScroll(false, 2), kPartNone);  // page up
  EXPECT_EQ(arrowFrame(true, true, true), 6);
  EXPECT_EQ(arrowFrame(false, false, true), 10);
  EXPECT_EQ(arrowFrame(false, true, false), 13);
}

TEST(ScrollGeometryTest, BarsOfAListBox) {
  // 200 x 100 with a 2-pixel client edge: the border comes from the client size.
  BarLayout l = layoutBars(200, 100, 179, 79, kArrow, 2, true, true);
  EXPECT_EQ(l.border, 2);
  EXPECT_EQ(l.horizontal, (Rect{2, 81, 181, 98}));
  EXPECT_EQ(l.vertical, (Rect{181, 2, 198, 81}));
  EXPECT_EQ(l.corner, (Rect{181, 81, 198, 98}));

  l = layoutBars(200, 100, 179, 96, kArrow, 2, false, true);
  EXPECT_EQ(l.vertical, (Rect{181, 2, 198, 98}));
  EXPECT_TRUE(l.horizontal.empty());
  EXPECT_TRUE(l.corner.empty());
  l = layoutBars(200, 100, 190, 75, kArrow, 2, true, false);  // (100 - 75 - 17) div 2
  EXPECT_EQ(l.horizontal, (Rect{4, 79, 196, 96}));
  EXPECT_EQ(layoutBars(200, 100, 196, 96, kArrow, 3, false, false).border, 3);
}

TEST(ScrollGeometryTest, ThumbFollowsPageAndPosition) {
  // 100-pixel bar: 66-pixel track. Page 10 of 100: 6.6 rounds to 7, raised to 8.
  BarMetrics m = metricsFor(100, values(0, 99, 10, 45));
  EXPECT_EQ(m.arrow, kArrow);
  EXPECT_EQ(m.track, 66);
  EXPECT_EQ(m.thumbSize, 8);
  EXPECT_EQ(m.thumbOffset, 29);  // 45 * 58 / 90
  EXPECT_EQ(metricsFor(100, values(0, 99, 50, 0)).thumbSize, 33);
  EXPECT_EQ(metricsFor(100, values(0, 99, 0, 0)).thumbSize, kHThumb);  // no page size

  BarMetrics w95;
  updateThumbMetrics(w95, 100, kArrow, values(0, 999, 1, 0), minimumThumbSize(kArrow, true), kHThumb);
  EXPECT_EQ(w95.thumbSize, 8);  // half an arrow
  EXPECT_EQ(minimumThumbSize(kArrow, false), 8);

  // Page equal to the range: the thumb at the start, one pixel shorter than the track.
  m = metricsFor(100, values(10, 109, 100, 60));
  EXPECT_EQ(m.thumbOffset, 0);
  EXPECT_EQ(m.thumbSize, 65);
}

TEST(ScrollGeometryTest, OddRangesNeitherDivideByZeroNorOverflow) {
  // A negative range keeps the last thumb.
  BarMetrics m = metricsFor(100, values(0, 99, 10, 45));
  EXPECT_FALSE(updateThumbMetrics(m, 120, kArrow, values(5, 4, 0, 0), kNtThumb, kHThumb));
  EXPECT_EQ(m.track, 86);
  EXPECT_EQ(m.thumbSize, 8);
  EXPECT_EQ(m.thumbOffset, 29);

  // A page larger than the range counts as the whole range.
  EXPECT_EQ(metricsFor(100, values(0, 9, 50, 3)).thumbSize, 65);
  EXPECT_EQ(metricsFor(100, values(0, 9, 50, 3)).thumbOffset, 0);

  // The widest ranges; a position past the last page keeps the thumb inside the track.
  m = metricsFor(100, values(0, INT_MAX, 1u << 30, INT_MAX));
  EXPECT_EQ(m.thumbSize, 33);
  EXPECT_EQ(m.thumbOffset, 33);
  m = metricsFor(100, values(INT_MIN, INT_MAX, 0, 0));
  EXPECT_EQ(m.thumbOffset, 25);  // half of 49, rounded
  m = metricsFor(100, values(INT_MIN, INT_MAX, UINT_MAX, INT_MIN));
  EXPECT_EQ(m.thumbSize, 66);  // 2^32 - 1 of 2^32: not quite the whole range

  // A bar shorter than two arrows has no track and no thumb; each arrow takes half.
  m = metricsFor(20, values(0, 99, 10, 50));
  EXPECT_EQ(m.track, 0);
  EXPECT_EQ(m.thumbSize, 0);
  const BarPieces p = barPieces(20, m, true);
  EXPECT_EQ(p.firstArrow, (Rect{0, 0, 10, kBarThickness}));
  EXPECT_EQ(p.secondArrow, (Rect{10, 0, 20, kBarThickness}));
  EXPECT_TRUE(p.track.empty());
  EXPECT_FALSE(p.thumbShown);
  for (int y = 0; y < 20; ++y) EXPECT_NE(barPartAt(y, m), BarPart::Thumb) << y;
  EXPECT_EQ(dragThumb(3, 5, m, values(0, 99, 10, 50)).position, 50);
}

TEST(ScrollGeometryTest, PartUnderAPress) {
  const BarMetrics m = metricsFor(100, values(0, 99, 10, 45));  // arrows 17, thumb 46..54
  const std::pair<int, BarPart> cases[] = {
      {-1, BarPart::None},      {0, BarPart::FirstArrow},  {16, BarPart::FirstArrow},
      {17, BarPart::PageBefore}, {45, BarPart::PageBefore}, {46, BarPart::Thumb},
      {53, BarPart::Thumb},     {54, BarPart::PageAfter},  {82, BarPart::PageAfter},
      {83, BarPart::SecondArrow}, {99, BarPart::SecondArrow}, {100, BarPart::None},
  };
  for (auto [at, part] : cases) EXPECT_EQ(barPartAt(at, m), part) << at;
}

TEST(ScrollGeometryTest, ThumbDragWithAPage) {
  const ScrollValues v = values(0, 99, 10, 45);
  const BarMetrics m = metricsFor(100, v);
  EXPECT_EQ(dragThumb(29, 0, m, v).position, 45);  // not moved: not scrolled
  ThumbDrag d = dragThumb(29, 10, m, v);
  EXPECT_EQ(d.offset, 39);
  EXPECT_EQ(d.position, 59);  // 39 * 100 / 66
  d = dragThumb(29, 1000, m, v);
  EXPECT_EQ(d.position, 90);  // the last page: max - page + 1
  EXPECT_EQ(d.offset, 58);    // the thumb stops at the track's end
  d = dragThumb(29, -1000, m, v);
  EXPECT_EQ(d.offset, 0);
  EXPECT_EQ(d.position, 0);
  EXPECT_EQ(dragThumb(INT_MAX, INT_MAX, m, v).position, 90);
}

TEST(ScrollGeometryTest, ThumbDragWithoutAPage) {
  ScrollValues v = values(0, 99, 0, 0);
  BarMetrics m = metricsFor(100, v);  // 17-pixel thumb, 49 pixels to move in
  EXPECT_EQ(dragThumb(0, 1000, m, v).position, 99);  // never past max
  EXPECT_EQ(dragThumb(0, 1000, m, v).offset, 49);
  EXPECT_EQ(dragThumb(0, 24, m, v).position, 49);  // 24 * 100 / 49 rounded

  v = values(0, INT_MAX, 0, 0);
  m = metricsFor(100, v);
  EXPECT_EQ(dragThumb(0, 1000, m, v).position, INT_MAX);
  v = values(INT_MIN, INT_MAX, 0, 0);
  EXPECT_EQ(dragThumb(0, 1000, metricsFor(100, v), v).position, INT_MAX);

  // A thumb as long as the track leaves nothing to drag.
  m = metricsFor(40, v);  // 6-pixel track, thumb cut to 6
  EXPECT_EQ(dragThumb(2, 3, m, values(INT_MIN, INT_MAX, 0, 7)).position, 7);
  EXPECT_EQ(dragThumb(2, 3, m, values(5, 4, 0, 3)).position, 3);  // negative range
}

TEST(ScrollGeometryTest, BarPieces) {
  const BarMetrics m = metricsFor(100, values(0, 99, 10, 45));
  BarPieces p = barPieces(100, m, true);
  EXPECT_EQ(p.firstArrow, (Rect{0, 0, 17, 16}));
  EXPECT_EQ(p.secondArrow, (Rect{83, 0, 100, 16}));
  EXPECT_EQ(p.track, (Rect{17, 0, 83, 16}));
  EXPECT_EQ(p.thumb, (Rect{46, 0, 54, 16}));
  EXPECT_TRUE(p.thumbShown);
  p = barPieces(100, m, false);
  EXPECT_EQ(p.secondArrow, (Rect{0, 83, 16, 100}));
  EXPECT_EQ(p.thumb, (Rect{0, 46, 16, 54}));
}

}  // namespace
}  // namespace vrin
