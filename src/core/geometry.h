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

// Settings and rectangles may hold anything: arithmetic on them is done wide and clamped back.
constexpr int clampInt(std::int64_t v) { return int(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); }
constexpr std::int64_t spanOf(int a, int b) { return std::int64_t(b) - std::int64_t(a); }

// PtInRect rules: left and top inside, right and bottom outside.
constexpr bool rectContains(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Moved by (dx, dy), the sums clamped to the int range.
constexpr Rect offsetRect(const Rect& r, int dx, int dy) {
  using i64 = std::int64_t;
  return {clampInt(i64(r.left) + dx), clampInt(i64(r.top) + dy), clampInt(i64(r.right) + dx),
          clampInt(i64(r.bottom) + dy)};
}

}  // namespace vrin
