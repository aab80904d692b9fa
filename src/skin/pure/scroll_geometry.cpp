#include "skin/pure/scroll_geometry.h"

#include <algorithm>
#include <limits>

namespace vrin {
namespace {

using Wide = std::int64_t;
int narrow(Wide v) {
  return int(std::clamp<Wide>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

constexpr int kLineUp = 0, kLineDown = 1, kThumbTrack = 5;  // SB_ codes
constexpr int kNtMinimumThumb = 8;

// a * b / c rounded to the nearest, halves away from zero, for a, b, c >= 0 and c > 0. Every
// caller has one factor below 2^31 and the other at most 2^32, so 64 bits hold the product.
Wide mulDiv(Wide a, Wide b, Wide c) {
  return Wide((std::uint64_t(a) * std::uint64_t(b) + std::uint64_t(c) / 2) / std::uint64_t(c));
}

// The range of the values (at least 1 when max >= min) and the page kept within it, as the
// system keeps a scroll bar's page.
Wide rangeOf(const ScrollValues& v) { return Wide(v.max) - v.min + 1; }
Wide pageOf(const ScrollValues& v) { return std::min<Wide>(v.page, std::max<Wide>(rangeOf(v), 0)); }

Rect along(bool horizontal, Wide from, Wide to) {
  return horizontal ? Rect{narrow(from), 0, narrow(to), kBarThickness}
                    : Rect{0, narrow(from), kBarThickness, narrow(to)};
}

}  // namespace

int pressedPartForScroll(bool horizontal, int scrollCode) {
  switch (scrollCode) {
    case kLineUp: return horizontal ? kPartLeftArrow : kPartUpArrow;
    case kLineDown: return horizontal ? kPartRightArrow : kPartDownArrow;
    case kThumbTrack: return horizontal ? kPartHorzThumb : kPartVertThumb;
    default: return kPartNone;
  }
}

int arrowFrame(bool horizontal, bool second, bool pressed) {
  return (horizontal ? 1 : 9) + (second ? 4 : 0) + (pressed ? 1 : 0);
}

int minimumThumbSize(int arrowSize, bool windows95Family) {
  return windows95Family ? arrowSize / 2 : kNtMinimumThumb;
}

bool updateThumbMetrics(BarMetrics& m, int barLength, int arrowSize, const ScrollValues& v, int minimumThumb,
                        int defaultThumb) {
  const Wide track = std::max<Wide>(Wide(barLength) - 2 * Wide(arrowSize), 0);
  m.arrow = arrowSize;
  m.track = narrow(track);
  if (v.max < v.min) return false;
  const Wide range = rangeOf(v), page = pageOf(v);
  Wide size = page == 0 ? defaultThumb : std::max<Wide>(mulDiv(page, track, range), minimumThumb);
  size = std::clamp<Wide>(size, 0, track);
  Wide offset = 0;
  if (page == range) {
    // The whole range in view: the thumb fills the track less one pixel.
    size = std::max<Wide>(size - 1, 0);
  } else {
    const Wide position = std::clamp<Wide>(v.position, v.min, v.max) - v.min;
    offset = std::min(mulDiv(position, track - size, range - page), track - size);
  }
  m.thumbSize = narrow(size);
  m.thumbOffset = narrow(offset);
  return true;
}

BarLayout layoutBars(int width, int height, int clientWidth, int clientHeight, int arrowSize, int edge,
                     bool horizontal, bool vertical) {
  BarLayout l;
  l.hasHorizontal = horizontal;
  l.hasVertical = vertical;
  const Wide W = width, H = height, a = arrowSize;
  Wide e = edge;
  if (vertical)
    e = (W - clientWidth - a) / 2;
  else if (horizontal)
    e = (H - clientHeight - a) / 2;
  l.border = narrow(e);
  const bool both = horizontal && vertical;
  if (horizontal) l.horizontal = {narrow(e), narrow(H - e - a), narrow(both ? W - e - a : W - e), narrow(H - e)};
  if (vertical) l.vertical = {narrow(W - e - a), narrow(e), narrow(W - e), narrow(both ? H - e - a : H - e)};
  if (both) l.corner = {narrow(W - e - a), narrow(H - e - a), narrow(W - e), narrow(H - e)};
  return l;
}

BarPart barPartAt(int along, const BarMetrics& m) {
  const Wide p = along, a = m.arrow, o = m.thumbOffset, s = m.thumbSize, t = m.track;
  if (p < 0) return BarPart::None;
  if (p < a) return BarPart::FirstArrow;
  if (p < a + o) return BarPart::PageBefore;
  if (p < a + o + s) return BarPart::Thumb;
  if (p < a + t) return BarPart::PageAfter;
  if (p < 2 * a + t) return BarPart::SecondArrow;
  return BarPart::None;
}

ThumbDrag dragThumb(int startOffset, int movement, const BarMetrics& m, const ScrollValues& v) {
  ThumbDrag d{startOffset, v.position};
  if (v.max < v.min) return d;  // no range to scroll through
  const Wide t = std::max(m.track, 0), s = std::clamp(m.thumbSize, 0, std::max(m.track, 0));
  const Wide range = rangeOf(v), page = pageOf(v);
  Wide offset = std::max<Wide>(Wide(startOffset) + movement, 0);
  Wide divisor;
  if (page > 0) {
    if (offset > t) offset = t - 1;
    divisor = t;
  } else {
    offset = std::min(offset, t - s);
    divisor = t - s;
  }
  offset = std::max<Wide>(offset, 0);
  // With no room to move the thumb, or the thumb back where it started, the position stays
  // (the starting offset was itself rounded from the position).
  Wide position = v.position;
  if (divisor > 0 && offset != startOffset) position = mulDiv(offset, range, divisor) + v.min;
  // The last position a page allows: max - page + 1, and max itself without a page.
  const Wide last = page > 0 ? Wide(v.max) - page + 1 : v.max;
  d.position = std::int32_t(std::clamp<Wide>(position, v.min, last));
  // The thumb is shown inside the track, even while the cursor runs past its end.
  d.offset = narrow(std::min(offset, t - s));
  return d;
}

BarPieces barPieces(int length, const BarMetrics& m, bool horizontal) {
  BarPieces p;
  const Wide len = std::max(length, 0), a = m.arrow;
  const Wide arrow = len < 2 * a ? len / 2 : a;
  p.firstArrow = along(horizontal, 0, arrow);
  p.secondArrow = along(horizontal, len - arrow, len);
  p.track = along(horizontal, a, len - a);
  const Wide thumbAt = a + m.thumbOffset;
  p.thumb = along(horizontal, thumbAt, thumbAt + m.thumbSize);
  p.thumbShown = m.track >= m.thumbSize && m.thumbSize > 0;
  return p;
}

}  // namespace vrin
