#pragma once
// A tiny vector painter for the picture generator: shapes are signed distance functions,
// painted with analytic anti-aliasing onto a premultiplied floating-point layer, which is
// then flattened into a vrin::Image (opaque, or with the magenta key where nothing was drawn).
#include <functional>
#include <vector>

#include "core/image.h"

namespace picgen {

struct Colour {
  double r = 0, g = 0, b = 0;
};

constexpr Colour grey(double v) { return {v, v, v}; }
Colour mix(Colour a, Colour b, double t);  // t = 0 gives a, 1 gives b
Colour fromPixel(vrin::Pixel p);

// Signed distance from a point to the shape's outline: negative inside. Units are pixels;
// pixel (x, y) is sampled at its centre (x + 0.5, y + 0.5).
using Shape = std::function<double(double x, double y)>;
// Colour of the paint at a point (gradients are paints too).
using Paint = std::function<Colour(double x, double y)>;

Paint solid(Colour c);
Paint vertical(double y0, Colour top, double y1, Colour bottom);
Paint horizontal(double x0, Colour left, double x1, Colour right);

// Primitive shapes.
Shape box(double x0, double y0, double x1, double y1, double radius = 0);
// A rectangle with rounded top corners only (radius r) and square bottom corners.
Shape topRoundedBox(double x0, double y0, double x1, double y1, double radius);
Shape circle(double cx, double cy, double r);
Shape ellipse(double cx, double cy, double rx, double ry);  // approximate distance, fine for AA
Shape segment(double ax, double ay, double bx, double by, double halfWidth);
struct Point {
  double x = 0, y = 0;
};
Shape polygon(std::vector<Point> points);  // any simple polygon
Shape polyline(std::vector<Point> points, double halfWidth);

// Combinators.
Shape unite(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
Shape subtract(Shape a, Shape b);
Shape grow(Shape a, double by);            // positive grows, negative shrinks
Shape ring(Shape a, double halfWidth);     // a band along the outline
Shape translate(Shape a, double dx, double dy);
Shape scale(Shape a, double factor);       // about the origin

// Everything drawn so far, premultiplied: r, g, b in 0..255 scaled by a in 0..1.
class Layer {
 public:
  Layer(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }

  void fill(const Shape& shape, const Paint& paint, double opacity = 1.0);
  void fill(const Shape& shape, Colour c, double opacity = 1.0) { fill(shape, solid(c), opacity); }
  // Sets a pixel outright (for pixel-exact details such as one-pixel lines).
  void set(int x, int y, Colour c, double alpha = 1.0);
  void blend(int x, int y, Colour c, double alpha);

  // Opaque picture: whatever is not covered shows `background`.
  vrin::Image flatten(Colour background) const;
  // Keyed picture: pixels below `threshold` coverage become magenta; the others are blended
  // over `edgeBackground` (the colour the picture is expected to be shown on), so that
  // anti-aliased edges look right there and never turn pinkish.
  vrin::Image flattenKeyed(Colour edgeBackground, double threshold = 0.4) const;
  // Keyed picture for unknown backgrounds (icons): partially covered pixels keep their own
  // colour, unblended.
  vrin::Image flattenKeyedCrisp(double threshold = 0.5) const;

 private:
  struct Px {
    double r = 0, g = 0, b = 0, a = 0;
  };
  std::size_t index(int x, int y) const { return std::size_t(y) * width_ + x; }
  int width_, height_;
  std::vector<Px> px_;
};

// A pixel colour that can never be mistaken for the key (exact or within the tolerance of 1
// that window regions use).
vrin::Pixel toPixel(Colour c);

// Copies `src` into `dst` at (x, y).
void blit(vrin::Image& dst, const vrin::Image& src, int x, int y);
// The part (x, y, w, h) of an image.
vrin::Image crop(const vrin::Image& src, int x, int y, int w, int h);

}  // namespace picgen
