#pragma once
// The one geometry vocabulary of the portable code: points, sizes and rectangles in pixels.
#include <algorithm>
#include <climits>
#include <cstdint>

namespace vrin {

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0, height = 0;
  bool operator==(const Size&) const = default;
};

// Right and bottom lie outside, as with the window system's rectangles.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool operator==(const Rect&) const = default;
};

// PtInRect rules: left and top inside, right and bottom outside.
constexpr bool rectContains(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Moved by (dx, dy); rectangles may come from settings holding anything, so the sums are
// clamped to the int range instead of overflowing.
constexpr Rect offsetRect(const Rect& r, int dx, int dy) {
  auto add = [](int a, int d) { return int(std::clamp<std::int64_t>(std::int64_t(a) + d, INT_MIN, INT_MAX)); };
  return {add(r.left, dx), add(r.top, dy), add(r.right, dx), add(r.bottom, dy)};
}

}  // namespace vrin
