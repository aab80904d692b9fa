#include "icons.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace picgen {
namespace {

// Geometry is written on a 16-unit grid; a Pen scales it to the layer's size.
struct Pen {
  Layer& layer;
  double k;   // pixels per unit
  double lw;  // outline width in units: one pixel at 16, one and a half at 32

  Shape s(Shape shape) const { return scale(std::move(shape), k); }
  Paint p(Paint paint) const {
    return [paint = std::move(paint), k = k](double x, double y) { return paint(x / k, y / k); };
  }
  void fill(const Shape& shape, const Paint& paint, double opacity = 1.0) const {
    layer.fill(s(shape), p(paint), opacity);
  }
  void fill(const Shape& shape, Colour c, double opacity = 1.0) const { layer.fill(s(shape), c, opacity); }
  // A filled shape with a dark outline of width lw.
  void outlined(const Shape& shape, Colour outline, const Paint& inside) const {
    fill(shape, outline);
    fill(grow(shape, -lw), inside);
  }
};

const Colour kWhite{255, 255, 255};

// Quadratic Bezier points from a (exclusive) to b (inclusive).
void bezier(std::vector<Point>& out, Point a, Point c, Point b, int steps) {
  for (int i = 1; i <= steps; ++i) {
    const double t = double(i) / steps, u = 1 - t;
    out.push_back({u * u * a.x + 2 * u * t * c.x + t * t * b.x, u * u * a.y + 2 * u * t * c.y + t * t * b.y});
  }
}

Shape shieldShape() {
  std::vector<Point> pts{{1.9, 2.7}, {8.0, 0.8}, {14.1, 2.7}, {14.1, 7.6}};
  bezier(pts, {14.1, 7.6}, {13.8, 12.6}, {8.0, 15.4}, 10);
  bezier(pts, {8.0, 15.4}, {2.2, 12.6}, {1.9, 7.6}, 10);
  return polygon(std::move(pts));
}

// A shield with a lighter left half, the classic two-tone look.
void drawShield(const Pen& pen, Colour outline, Colour top, Colour bottom) {
  const Shape shield = shieldShape();
  pen.outlined(shield, outline, vertical(1, top, 15, bottom));
  pen.fill(intersect(grow(shield, -pen.lw), box(0, 0, 8, 16)), kWhite, 0.22);
}

void drawBlockingOn(const Pen& pen) {
  drawShield(pen, {28, 92, 38}, {128, 204, 104}, {42, 138, 54});
  const Shape tick = polyline({{4.7, 8.2}, {7.1, 10.7}, {11.5, 5.2}}, 1.05);
  pen.fill(grow(tick, 0.35), Colour{28, 92, 38}, 0.35);
  pen.fill(tick, kWhite);
}

void drawBlockingOff(const Pen& pen) {
  drawShield(pen, {96, 100, 106}, {222, 224, 228}, {150, 154, 160});
  // The stroke stays inside the shield's outline.
  const Shape inside = grow(shieldShape(), -pen.lw);
  const Shape slash = segment(2.0, 1.6, 14.0, 14.6, 0.95);
  pen.fill(intersect(grow(slash, 0.75), inside), kWhite);
  pen.fill(intersect(slash, inside), Colour{208, 52, 40});
}

void drawGlobe(const Pen& pen) {
  const Shape disc = circle(8, 8, 7.0);
  const Paint sea = [](double x, double y) {
    const double t = std::clamp(std::hypot(x - 5.5, y - 5.0) / 10.5, 0.0, 1.0);
    return mix(Colour{150, 200, 250}, Colour{34, 92, 178}, t);
  };
  pen.outlined(disc, {26, 66, 140}, sea);
  const Shape inner = grow(disc, -pen.lw - 0.15);
  const double w = 0.5;
  // Lines sit on pixel centres so they stay crisp at 16 pixels.
  Shape grid = ring(ellipse(7.5, 8, 3.5, 6.9), w);
  grid = unite(grid, segment(7.5, 0, 7.5, 16, w));
  grid = unite(grid, segment(0, 7.5, 16, 7.5, w));
  grid = unite(grid, segment(0, 4.5, 16, 4.5, w * 0.9));
  grid = unite(grid, segment(0, 11.5, 16, 11.5, w * 0.9));
  pen.fill(intersect(grid, inner), Colour{236, 244, 255});
}

void drawExit(const Pen& pen) {
  // The door, ajar, and an arrow leaving through it.
  const Shape frame = box(2, 1, 10.5, 15);
  pen.outlined(frame, {74, 58, 44}, vertical(1, Colour{250, 250, 248}, 15, Colour{214, 214, 210}));
  const Shape leaf = polygon({{2.6, 1.6}, {7.6, 2.8}, {7.6, 15.6}, {2.6, 14.4}});
  pen.outlined(leaf, {96, 60, 30}, horizontal(2, Colour{214, 160, 102}, 8, Colour{160, 104, 56}));
  pen.fill(circle(6.3, 8.6, 0.75), Colour{70, 44, 20});
  const Shape arrow = unite(box(8.0, 6.7, 12.0, 9.3), polygon({{11.0, 3.9}, {15.4, 8.0}, {11.0, 12.1}}));
  pen.outlined(grow(arrow, pen.lw), {120, 34, 20}, vertical(4, Colour{240, 120, 80}, 12, Colour{200, 58, 34}));
}

void drawClock(const Pen& pen) {
  const Shape face = circle(8, 8, 7.0);
  pen.fill(face, Colour{44, 84, 152});
  pen.fill(grow(face, -1.3 * pen.lw), vertical(1, Colour{255, 255, 255}, 15, Colour{222, 230, 242}));
  const Colour tickColour{120, 132, 152};
  for (const auto& t : {std::pair{8.0, 2.9}, {13.1, 8.0}, {8.0, 13.1}, {2.9, 8.0}}) {
    const double dx = (t.first - 8) / 5.1, dy = (t.second - 8) / 5.1;
    pen.fill(segment(t.first, t.second, t.first - dx * 0.9, t.second - dy * 0.9, 0.42), tickColour);
  }
  const Colour hand{36, 44, 60};
  pen.fill(segment(8, 8, 8, 3.6, 0.6), hand);
  pen.fill(segment(8, 8, 10.9, 10.2, 0.7), hand);
  pen.fill(circle(8, 8, 0.9), Colour{200, 50, 40});
}

// A broom lying from the top right (handle) to the bottom left (bristles); `f` scales it
// about its handle's end at (ox, oy).
void drawBroom(const Pen& pen, double ox, double oy, double f) {
  const double c = std::sqrt(0.5);
  auto at = [&](double u, double v) {  // u along the handle, v across
    return Point{ox + f * (-u * c + v * c), oy + f * (u * c + v * c)};
  };
  const Point h0 = at(0, 0), h1 = at(7.8, 0);
  const Shape handle = segment(h0.x, h0.y, h1.x, h1.y, 0.8 * f);
  pen.fill(grow(handle, pen.lw), Colour{88, 54, 24});
  pen.fill(handle, horizontal(4, Colour{196, 138, 74}, 14, Colour{150, 96, 44}));
  const Shape bristles = polygon({at(8.4, -1.8), at(8.4, 1.8), at(14.4, 4.2), at(14.8, 0), at(14.4, -4.2)});
  pen.outlined(grow(bristles, pen.lw * 0.5), {126, 88, 18}, vertical(8, Colour{252, 214, 100}, 16, Colour{214, 154, 40}));
  for (double v : {-1.5, 0.0, 1.5}) {
    const Point a = at(9.8, v * 0.7), b = at(14.0, v * 1.8);
    pen.fill(segment(a.x, a.y, b.x, b.y, 0.3 * f), Colour{176, 120, 30}, 0.8);
  }
  const Shape band = polygon({at(7.2, -2.0), at(7.2, 2.0), at(9.2, 2.0), at(9.2, -2.0)});
  pen.outlined(grow(band, pen.lw * 0.5), {110, 26, 20}, solid(Colour{212, 62, 48}));
}

void drawGear(const Pen& pen, double cx, double cy) {
  const double c = std::sqrt(0.5);
  const double dirs[8][2] = {{1, 0}, {c, c}, {0, 1}, {-c, c}, {-1, 0}, {-c, -c}, {0, -1}, {c, -c}};
  Shape gear = circle(cx, cy, 3.0);
  for (const auto& d : dirs)
    gear = unite(gear, segment(cx + d[0] * 2.4, cy + d[1] * 2.4, cx + d[0] * 3.7, cy + d[1] * 3.7, 0.78));
  gear = subtract(gear, circle(cx, cy, 1.15));
  pen.fill(grow(gear, pen.lw), Colour{56, 62, 74});
  pen.fill(gear, vertical(cy - 4, Colour{196, 204, 216}, cy + 4, Colour{112, 122, 138}));
}

}  // namespace

Layer drawGlyph(Glyph glyph, int size) {
  Layer layer(size, size);
  const double k = size / 16.0;
  const Pen pen{layer, k, k <= 1 ? 1.0 : 0.75};
  switch (glyph) {
    case Glyph::BlockingOff: drawBlockingOff(pen); break;
    case Glyph::BlockingOn: drawBlockingOn(pen); break;
    case Glyph::WebSite: drawGlobe(pen); break;
    case Glyph::Exit: drawExit(pen); break;
    case Glyph::History: drawClock(pen); break;
    case Glyph::Clean: drawBroom(pen, 14.0, 1.9, 0.95); break;
    case Glyph::CleanOptions:
      drawBroom(pen, 12.2, 0.9, 0.86);
      drawGear(pen, 11.4, 11.4);
      break;
  }
  return layer;
}

vrin::Image imageListStrip() {
  vrin::Image strip(16 * kGlyphCount, 16, vrin::kKeyColour);
  for (int i = 0; i < kGlyphCount; ++i) {
    // Menus show these on the light face colour, so soft edges are blended towards it.
    blit(strip, drawGlyph(Glyph(i), 16).flattenKeyed(grey(235), 0.4), 16 * i, 0);
  }
  return strip;
}

vrin::Image iconPicture(Glyph glyph, int size) { return drawGlyph(glyph, size).flattenKeyedCrisp(0.5); }

}  // namespace picgen
