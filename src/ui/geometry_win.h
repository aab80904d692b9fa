#pragma once
// The portable geometry to and from the window system's RECT, POINT and SIZE.
#include "core/geometry.h"
#include "ui/win.h"

namespace vrin {

inline Rect toRect(const RECT& r) { return {int(r.left), int(r.top), int(r.right), int(r.bottom)}; }
inline RECT toRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline Point toPoint(const POINT& p) { return {int(p.x), int(p.y)}; }
inline POINT toPOINT(const Point& p) { return POINT{p.x, p.y}; }
inline Size toSize(const SIZE& s) { return {int(s.cx), int(s.cy)}; }

}  // namespace vrin
