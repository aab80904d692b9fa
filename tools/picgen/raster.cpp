#include "raster.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace picgen {

Colour mix(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour fromPixel(vrin::Pixel p) { return {double(vrin::red(p)), double(vrin::green(p)), double(vrin::blue(p))}; }

Paint solid(Colour c) {
  return [c](double, double) { return c; };
}

Paint vertical(double y0, Colour top, double y1, Colour bottom) {
  return [=](double, double y) { return mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0, 1.0)); };
}

Paint horizontal(double x0, Colour left, double x1, Colour right) {
  return [=](double x, double) { return mix(left, right, std::clamp((x - x0) / (x1 - x0), 0.0, 1.0)); };
}

Shape box(double x0, double y0, double x1, double y1, double radius) {
  const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
  const double r = std::min({radius, hx, hy});
  return [=](double x, double y) {
    const double qx = std::abs(x - cx) - hx + r, qy = std::abs(y - cy) - hy + r;
    const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
  };
}

Shape topRoundedBox(double x0, double y0, double x1, double y1, double radius) {
  // The union of a fully rounded box and a square box covering its lower half.
  const double mid = y0 + radius;
  return unite(box(x0, y0, x1, y1, radius), box(x0, std::min(mid, y1), x1, y1, 0));
}

Shape circle(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

Shape ellipse(double cx, double cy, double rx, double ry) {
  return [=](double x, double y) {
    const double px = (x - cx), py = (y - cy);
    const double k0 = std::hypot(px / rx, py / ry);
    const double k1 = std::hypot(px / (rx * rx), py / (ry * ry));
    if (k1 == 0) return -std::min(rx, ry);
    return k0 * (k0 - 1.0) / k1;
  };
}

Shape segment(double ax, double ay, double bx, double by, double halfWidth) {
  return [=](double x, double y) {
    const double ex = bx - ax, ey = by - ay, wx = x - ax, wy = y - ay;
    const double len2 = ex * ex + ey * ey;
    const double t = len2 > 0 ? std::clamp((wx * ex + wy * ey) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(wx - ex * t, wy - ey * t) - halfWidth;
  };
}

Shape polygon(std::vector<Point> v) {
  if (v.size() < 3) throw std::invalid_argument("polygon needs at least three points");
  return [v = std::move(v)](double x, double y) {
    const std::size_t n = v.size();
    double d = (x - v[0].x) * (x - v[0].x) + (y - v[0].y) * (y - v[0].y);
    double s = 1.0;
    for (std::size_t i = 0, j = n - 1; i < n; j = i, ++i) {
      const double ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
      const double wx = x - v[i].x, wy = y - v[i].y;
      const double t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0, 1.0);
      const double bx = wx - ex * t, by = wy - ey * t;
      d = std::min(d, bx * bx + by * by);
      const bool c1 = y >= v[i].y, c2 = y < v[j].y, c3 = ex * wy > ey * wx;
      if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
    }
    return s * std::sqrt(d);
  };
}

Shape polyline(std::vector<Point> v, double halfWidth) {
  if (v.size() < 2) throw std::invalid_argument("polyline needs at least two points");
  Shape s = segment(v[0].x, v[0].y, v[1].x, v[1].y, halfWidth);
  for (std::size_t i = 2; i < v.size(); ++i)
    s = unite(s, segment(v[i - 1].x, v[i - 1].y, v[i].x, v[i].y, halfWidth));
  return s;
}

Shape unite(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return std::min(a(x, y), b(x, y)); };
}

Shape intersect(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return std::max(a(x, y), b(x, y)); };
}

Shape subtract(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}

Shape grow(Shape a, double by) {
  return [a = std::move(a), by](double x, double y) { return a(x, y) - by; };
}

Shape ring(Shape a, double halfWidth) {
  return [a = std::move(a), halfWidth](double x, double y) { return std::abs(a(x, y)) - halfWidth; };
}

Shape translate(Shape a, double dx, double dy) {
  return [a = std::move(a), dx, dy](double x, double y) { return a(x - dx, y - dy); };
}

Shape scale(Shape a, double f) {
  return [a = std::move(a), f](double x, double y) { return a(x / f, y / f) * f; };
}

Layer::Layer(int width, int height) : width_(width), height_(height), px_(std::size_t(width) * height) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("layer size must be positive");
}

void Layer::blend(int x, int y, Colour c, double alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
  alpha = std::min(alpha, 1.0);
  Px& p = px_[index(x, y)];
  p.r = c.r * alpha + p.r * (1 - alpha);
  p.g = c.g * alpha + p.g * (1 - alpha);
  p.b = c.b * alpha + p.b * (1 - alpha);
  p.a = alpha + p.a * (1 - alpha);
}

void Layer::set(int x, int y, Colour c, double alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  px_[index(x, y)] = {c.r * alpha, c.g * alpha, c.b * alpha, alpha};
}

void Layer::fill(const Shape& shape, const Paint& paint, double opacity) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      const double coverage = std::clamp(0.5 - shape(cx, cy), 0.0, 1.0);
      if (coverage > 0) blend(x, y, paint(cx, cy), coverage * opacity);
    }
}

namespace {
int channel(double v) { return int(std::lround(std::clamp(v, 0.0, 255.0))); }
}  // namespace

vrin::Pixel toPixel(Colour c) {
  int r = channel(c.r), g = channel(c.g), b = channel(c.b);
  if (r == 255 && b == 255 && g <= 1) g = 2;  // never reads as the key, even with tolerance
  return vrin::rgb(unsigned(r), unsigned(g), unsigned(b));
}

vrin::Image Layer::flatten(Colour bg) const {
  vrin::Image out(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const Px& p = px_[index(x, y)];
      out.at(x, y) = toPixel({p.r + bg.r * (1 - p.a), p.g + bg.g * (1 - p.a), p.b + bg.b * (1 - p.a)});
    }
  return out;
}

vrin::Image Layer::flattenKeyed(Colour bg, double threshold) const {
  vrin::Image out(width_, height_, vrin::kKeyColour);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const Px& p = px_[index(x, y)];
      if (p.a < threshold) continue;
      out.at(x, y) = toPixel({p.r + bg.r * (1 - p.a), p.g + bg.g * (1 - p.a), p.b + bg.b * (1 - p.a)});
    }
  return out;
}

vrin::Image Layer::flattenKeyedCrisp(double threshold) const {
  vrin::Image out(width_, height_, vrin::kKeyColour);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const Px& p = px_[index(x, y)];
      if (p.a < threshold) continue;
      out.at(x, y) = toPixel({p.r / p.a, p.g / p.a, p.b / p.a});
    }
  return out;
}

void blit(vrin::Image& dst, const vrin::Image& src, int x, int y) {
  for (int sy = 0; sy < src.height; ++sy)
    for (int sx = 0; sx < src.width; ++sx)
      if (dst.contains(x + sx, y + sy)) dst.at(x + sx, y + sy) = src.at(sx, sy);
}

vrin::Image crop(const vrin::Image& src, int x, int y, int w, int h) {
  vrin::Image out(w, h, vrin::kKeyColour);
  for (int oy = 0; oy < h; ++oy)
    for (int ox = 0; ox < w; ++ox)
      if (src.contains(x + ox, y + oy)) out.at(ox, oy) = src.at(x + ox, y + oy);
  return out;
}

}  // namespace picgen
