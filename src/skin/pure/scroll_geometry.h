#pragma once
// The arithmetic of skinned scroll bars: where the bars of a scrollable window lie, how long
// the track and the thumb are and where the thumb sits, which part a press falls on, the
// position a thumb drag gives, and the pieces a bar is composed of. Scroll values come from
// the control as they are; a negative range, a page larger than the range or a maximum of
// 0x7FFFFFFF neither divide by zero nor overflow.
#include <cstdint>

#include "core/image.h"

namespace vrin {

// The part a bar shows pressed: the arrows and thumbs of both bars.
enum ScrollPart : int {
  kPartNone = 0,
  kPartLeftArrow = 1,
  kPartRightArrow = 2,
  kPartUpArrow = 3,
  kPartDownArrow = 4,
  kPartHorzThumb = 5,
  kPartVertThumb = 6,
};
// The part a scroll message's code (SB_LINEUP, SB_LINEDOWN, SB_THUMBTRACK) presses; none
// for the other codes.
int pressedPartForScroll(bool horizontal, int scrollCode);

// Bars are composed this thick and stretched to the real thickness.
constexpr int kBarThickness = 16;
constexpr int kScrollbarFrames = 23;  // arrow strip
constexpr int kTrackFrames = 4;       // HorzScroll / VertScroll; frame 1 is the track
// Frame of an arrow in the arrow strip: first (left, up) or second (right, down) arrow.
int arrowFrame(bool horizontal, bool second, bool pressed);

// One bar's values: a SCROLLINFO's, or a scroll bar control's Min, Max, PageSize, Position.
struct ScrollValues {
  std::int32_t min = 0, max = 0;
  std::uint32_t page = 0;
  std::int32_t position = 0;
};

// Lengths along a bar, in pixels: each arrow, the track between them, the thumb and its
// offset from the track's start.
struct BarMetrics {
  int arrow = 0, track = 0, thumbSize = 0, thumbOffset = 0;
};

// The smallest thumb for a page size: half an arrow on the Windows 95 family, else 8.
int minimumThumbSize(int arrowSize, bool windows95Family);

// Metrics of a bar barLength long with arrows arrowSize long. defaultThumb (SM_CXHTHUMB)
// is the thumb of a bar without a page size. Returns false, keeping the last thumb size
// and offset, when max is below min. The track never goes below 0 and the thumb stays
// inside the track.
bool updateThumbMetrics(BarMetrics& metrics, int barLength, int arrowSize, const ScrollValues& values,
                        int minimumThumb, int defaultThumb);

// The bars of a window width x height whose client area is clientWidth x clientHeight,
// window-relative. The border comes from the client size when a bar is shown, else it is
// `edge` (SM_CXEDGE). Absent bars give empty rectangles; the corner exists with both bars.
struct BarLayout {
  bool hasHorizontal = false, hasVertical = false;
  int border = 0;
  Rect horizontal, vertical, corner;
};
BarLayout layoutBars(int width, int height, int clientWidth, int clientHeight, int arrowSize, int edge,
                     bool horizontal, bool vertical);

// The part of a bar at a distance `along` from its start.
enum class BarPart { None, FirstArrow, PageBefore, Thumb, PageAfter, SecondArrow };
BarPart barPartAt(int along, const BarMetrics& metrics);

// A thumb drag started at thumb offset startOffset with the values read then, the cursor
// moved by `movement` along the bar: the thumb's new offset (kept inside the track) and the
// scroll position it gives, between min and the last position a page allows (max itself
// without a page). A thumb at its starting offset, or one with no room to move, gives the
// starting position; so does a negative range.
struct ThumbDrag {
  int offset = 0;
  std::int32_t position = 0;
};
ThumbDrag dragThumb(int startOffset, int movement, const BarMetrics& metrics, const ScrollValues& values);

// A bar composed lying along its axis in a length x kBarThickness bitmap (standing, the
// transposed rectangles, for a vertical bar): the track between the arrows, the arrows (each
// half the bar when the bar is shorter than two), and the thumb, shown when it fits the track.
struct BarPieces {
  Rect track, firstArrow, secondArrow, thumb;
  bool thumbShown = false;
};
BarPieces barPieces(int length, const BarMetrics& metrics, bool horizontal);

}  // namespace vrin
