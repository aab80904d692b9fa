#include "menus/pure/sidebar_render.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace vrin {

namespace {

using i64 = std::int64_t;

// The part of r inside the image, as half-open column and row ranges.
struct Span {
  int begin, end;
};
Span clipSpan(int a, int b, int limit) { return {std::max(a, 0), std::min(b, limit)}; }

unsigned channelStep(unsigned s, unsigned e, i64 num, i64 den) {
  const i64 v = i64(s) + (i64(e) - i64(s)) * num / den;
  return unsigned(std::clamp<i64>(v, 0, 255));
}

Pixel stepColour(Pixel s, Pixel e, i64 num, i64 den) {
  return rgb(channelStep(red(s), red(e), num, den), channelStep(green(s), green(e), num, den),
             channelStep(blue(s), blue(e), num, den));
}

i64 diagonalStep(const Rect& r, i64 x, i64 y) {
  const double v = (double(y - r.top) / double(spanOf(r.top, r.bottom)) +
                    double(x - r.left) / double(spanOf(r.left, r.right))) * 512.0;
  return i64(std::clamp(std::trunc(v), -1e15, 1e15));
}

// Width, height and pixel storage agree; anything else is left alone.
bool usable(const Image& img) {
  return img.width > 0 && img.height > 0 && img.pixels.size() >= std::size_t(img.width) * std::size_t(img.height);
}

void fillSolid(Image& target, const Rect& r, Pixel p) {
  if (!usable(target)) return;
  const Span xs = clipSpan(r.left, r.right, target.width);
  const Span ys = clipSpan(r.top, r.bottom, target.height);
  for (int y = ys.begin; y < ys.end; ++y)
    for (int x = xs.begin; x < xs.end; ++x) target.at(x, y) = p;
}

bool hasPicture(const BarPictureSettings& p) { return p.picture && usable(*p.picture); }
Size sizeOf(const Image& img) { return {img.width, img.height}; }

}  // namespace

// ---- Gradient ----

Pixel gradientPixelAt(const Rect& r, GradientStyle style, Pixel start, Pixel end, int x, int y) {
  const i64 w = spanOf(r.left, r.right);
  const i64 h = spanOf(r.top, r.bottom);
  switch (style) {
    case GradientStyle::gsHorizontal:
      return w > 0 ? stepColour(start, end, i64(x) - r.left, w) : start;
    case GradientStyle::gsVertical:
      return h > 0 ? stepColour(start, end, i64(y) - r.top, h) : start;
    case GradientStyle::gsDiagonalLeftRight:
      return (w > 0 && h > 0) ? stepColour(start, end, diagonalStep(r, x, y), 1024) : start;
    case GradientStyle::gsDiagonalRightLeft:
      // The left-right value of the mirrored column.
      return (w > 0 && h > 0) ? stepColour(start, end, diagonalStep(r, i64(r.left) + r.right - 1 - x, y), 1024)
                              : start;
  }
  return start;
}

void fillGradient(Image& target, const Rect& r, GradientStyle style, MenuColour start, MenuColour end,
                  const SystemColourLookup& lookup) {
  if (start == end) {
    fillSolid(target, r, resolvePixel(start, lookup));
    return;
  }
  if (spanOf(r.top, r.bottom) <= 0 || spanOf(r.left, r.right) <= 0 || !usable(target)) return;
  const Pixel s = resolvePixel(start, lookup);
  const Pixel e = resolvePixel(end, lookup);
  const Span xs = clipSpan(r.left, r.right, target.width);
  const Span ys = clipSpan(r.top, r.bottom, target.height);
  if (xs.begin >= xs.end || ys.begin >= ys.end) return;

  if (style == GradientStyle::gsHorizontal) {
    // One row computed, the others copied.
    std::vector<Pixel> row(std::size_t(xs.end - xs.begin));
    for (int x = xs.begin; x < xs.end; ++x) row[std::size_t(x - xs.begin)] = gradientPixelAt(r, style, s, e, x, r.top);
    for (int y = ys.begin; y < ys.end; ++y) std::copy(row.begin(), row.end(), &target.at(xs.begin, y));
    return;
  }
  for (int y = ys.begin; y < ys.end; ++y) {
    if (style == GradientStyle::gsVertical) {
      const Pixel p = gradientPixelAt(r, style, s, e, r.left, y);
      std::fill(&target.at(xs.begin, y), &target.at(xs.begin, y) + (xs.end - xs.begin), p);
      continue;
    }
    for (int x = xs.begin; x < xs.end; ++x) target.at(x, y) = gradientPixelAt(r, style, s, e, x, y);
  }
}

// ---- Pictures ----

Point picturePosition(const PicturePlacement& p, Size picture, Size bar) {
  i64 x = p.offsetX, y = p.offsetY;
  switch (p.horz) {
    case HorzAlignment::haLeft: break;
    case HorzAlignment::haRight: x += i64(bar.width) - picture.width; break;
    case HorzAlignment::haCenter: x += (i64(bar.width) - picture.width) / 2; break;
  }
  switch (p.vert) {
    case VertAlignment::vaTop: break;
    case VertAlignment::vaBottom: y += i64(bar.height) - picture.height; break;
    case VertAlignment::vaMiddle: y += (i64(bar.height) - picture.height) / 2; break;
  }
  return {clampInt(x), clampInt(y)};
}

namespace {

// First tile origin along one axis: the aligned origin plus the offset, moved back by whole
// picture lengths into (-len, 0].
i64 firstTile(i64 origin, i64 len) {
  if (origin > 0) return origin - ((origin + len - 1) / len) * len;
  if (origin <= -len) return origin + ((-origin) / len) * len;
  return origin;
}

i64 tileOrigin(i64 barLen, i64 len, int mode) {  // mode: 0 start, 1 end, 2 centre
  const i64 rest = barLen % len - len;
  return mode == 0 ? 0 : mode == 1 ? rest : rest / 2;
}

}  // namespace

std::vector<Point> tilePositions(const PicturePlacement& p, Size picture, Size bar) {
  std::vector<Point> out;
  if (picture.width <= 0 || picture.height <= 0) return out;
  const int hmode = p.horz == HorzAlignment::haLeft ? 0 : p.horz == HorzAlignment::haRight ? 1 : 2;
  const int vmode = p.vert == VertAlignment::vaTop ? 0 : p.vert == VertAlignment::vaBottom ? 1 : 2;
  const i64 x0 = firstTile(p.offsetX + tileOrigin(bar.width, picture.width, hmode), picture.width);
  const i64 y0 = firstTile(p.offsetY + tileOrigin(bar.height, picture.height, vmode), picture.height);
  for (i64 y = y0; y <= bar.height; y += picture.height)
    for (i64 x = x0; x <= bar.width; x += picture.width) out.push_back({int(x), int(y)});
  return out;
}

void drawPicture(Image& target, const Image& picture, Point at, bool transparent) {
  if (!usable(picture) || !usable(target)) return;
  const Pixel key = picture.at(0, picture.height - 1) & 0xFFFFFF;
  const Span xs = clipSpan(at.x, clampInt(i64(at.x) + picture.width), target.width);
  const Span ys = clipSpan(at.y, clampInt(i64(at.y) + picture.height), target.height);
  for (int y = ys.begin; y < ys.end; ++y)
    for (int x = xs.begin; x < xs.end; ++x) {
      const Pixel p = picture.at(int(i64(x) - at.x), int(i64(y) - at.y));
      if (!transparent || (p & 0xFFFFFF) != key) target.at(x, y) = p;
    }
}

void stretchPicture(Image& target, const Image& picture, const Rect& dest, bool transparent) {
  if (!usable(picture) || !usable(target)) return;
  const i64 dw = spanOf(dest.left, dest.right);
  const i64 dh = spanOf(dest.top, dest.bottom);
  if (dw <= 0 || dh <= 0) return;
  const Pixel key = picture.at(0, picture.height - 1) & 0xFFFFFF;
  const Span xs = clipSpan(dest.left, dest.right, target.width);
  const Span ys = clipSpan(dest.top, dest.bottom, target.height);
  for (int y = ys.begin; y < ys.end; ++y) {
    const int sy = int((i64(y) - dest.top) * picture.height / dh);
    for (int x = xs.begin; x < xs.end; ++x) {
      const int sx = int((i64(x) - dest.left) * picture.width / dw);
      const Pixel p = picture.at(sx, sy);
      if (!transparent || (p & 0xFFFFFF) != key) target.at(x, y) = p;
    }
  }
}

void frameRect(Image& target, const Rect& r, Pixel colour) {
  if (spanOf(r.left, r.right) <= 0 || spanOf(r.top, r.bottom) <= 0) return;
  fillSolid(target, {r.left, r.top, r.right, clampInt(i64(r.top) + 1)}, colour);
  fillSolid(target, {r.left, clampInt(i64(r.bottom) - 1), r.right, r.bottom}, colour);
  fillSolid(target, {r.left, r.top, clampInt(i64(r.left) + 1), r.bottom}, colour);
  fillSolid(target, {clampInt(i64(r.right) - 1), r.top, r.right, r.bottom}, colour);
}

BarPictureSettings backPictureDefaults() {
  BarPictureSettings s;
  s.placement.vert = VertAlignment::vaTop;
  s.placement.horz = HorzAlignment::haLeft;
  return s;
}

BarParts defaultBarParts(const BarRenderSettings& s, bool captionVisible) {
  BarParts parts = bpGradient;
  if (s.picture.visible) parts |= bpPicture;
  if (s.backPicture.visible) parts |= bpBackPicture;
  if (captionVisible) parts |= bpCaption;
  return parts;
}

bool backPictureCoversBar(const BarPictureSettings& back) {
  return !back.transparent && hasPicture(back) &&
         (back.drawStyle == DrawStyle::dsTile || back.drawStyle == DrawStyle::dsStretch);
}

void renderBarParts(Image& bar, const BarRenderSettings& s, BarParts parts, const SystemColourLookup& lookup) {
  const Size size = sizeOf(bar);
  const Rect whole{0, 0, bar.width, bar.height};
  if ((parts & bpGradient) && !backPictureCoversBar(s.backPicture))
    fillGradient(bar, whole, s.gradientStyle, s.gradientStart, s.gradientEnd, lookup);

  if (parts & bpBackPicture) {
    const BarPictureSettings& back = s.backPicture;
    if (hasPicture(back)) {
      const Image& pic = *back.picture;
      switch (back.drawStyle) {
        case DrawStyle::dsNormal:
          drawPicture(bar, pic, picturePosition(back.placement, sizeOf(pic), size), back.transparent);
          break;
        case DrawStyle::dsTile:
          for (const Point& at : tilePositions(back.placement, sizeOf(pic), size))
            drawPicture(bar, pic, at, back.transparent);
          break;
        case DrawStyle::dsStretch:
          stretchPicture(bar, pic, whole, back.transparent);
          break;
      }
    }
    // The frame belongs to this part: no background part, no frame.
    if (s.border != cl::None) frameRect(bar, whole, resolvePixel(s.border, lookup));
  }

  if ((parts & bpPicture) && hasPicture(s.picture))
    drawPicture(bar, *s.picture.picture, picturePosition(s.picture.placement, sizeOf(*s.picture.picture), size),
                s.picture.transparent);
}

// ---- The bar beside an item ----

Size settleBar(BarStateCore& state, std::optional<int> clientHeight, Size bitmapSize, int barWidth) {
  if (!state.heightPending) return bitmapSize;
  if (clientHeight) state.barHeight = *clientHeight;
  state.heightPending = false;
  const int height = std::max(state.barHeight, 0);
  const int width = std::max(barWidth, 0);
  if (bitmapSize.height != height) {
    bitmapSize.height = height;
    state.barValid = false;
  }
  if (bitmapSize.width != width) {
    bitmapSize.width = width;
    state.barValid = false;
  }
  return bitmapSize;
}

BarCopy barCopyFor(const BarStateCore& state, const Rect& itemRect, int barWidth, Size bitmapSize, Side side) {
  BarCopy c;
  if (state.barValid) {
    c.source = {itemRect.left, itemRect.top, clampInt(i64(itemRect.left) + barWidth), itemRect.bottom};
    c.dest = c.source;
  } else {
    c.render = true;
    c.source = {0, 0, bitmapSize.width, bitmapSize.height};
    c.dest = c.source;
  }
  if (side == Side::sRight) c.dest = offsetRect(c.dest, clampInt(spanOf(itemRect.left, itemRect.right) - barWidth), 0);
  return c;
}

// ---- Caption ----

BarCaptionLayout layoutBarCaption(const BarCaptionInput& in, const SystemColourLookup& lookup) {
  BarCaptionLayout out;
  const bool down = in.direction == Direction::dUpToDown;
  out.escapement = down ? -900 : 900;
  out.clip = {0, 0, in.bar.width, clampInt(i64(in.bar.height) + 1)};
  if (in.caption.empty()) return out;

  const i64 cx = in.extent.width;
  const i64 cy = in.extent.height;
  i64 x = roundHalfEven(double(i64(in.bar.width) - cy) / 2.0 - 0.5);
  i64 y = 0;
  switch (in.alignment) {
    case VertAlignment::vaTop: y = i64(in.offsetY) + cx; break;
    case VertAlignment::vaBottom:
      y = i64(in.bar.height) - in.offsetY;
      if (in.forePictureAlignment == VertAlignment::vaBottom) y -= in.forePictureHeight;
      break;
    case VertAlignment::vaMiddle: y = roundHalfEven(double(i64(in.bar.height) + cx) / 2.0 - 0.5); break;
  }
  // Reading downwards starts at the other end of the same rows, one column further right.
  if (down) {
    y -= cx;
    x += cy + 1;
  }
  const i64 d = in.depth;
  const MenuColour highlight = colourToRgb(in.highlightColour, lookup);
  const MenuColour shadow = colourToRgb(in.shadowColour, lookup);
  if (highlight != cl::None) out.draws.push_back({{clampInt(x - d), clampInt(y + d)}, highlight});
  if (shadow != cl::None) out.draws.push_back({{clampInt(x + d), clampInt(y - d)}, shadow});
  out.draws.push_back({{clampInt(x), clampInt(y)}, colourToRgb(in.fontColour, lookup)});
  return out;
}

Rect captionTextBox(Point origin, Direction direction, Size extent) {
  const i64 x = origin.x, y = origin.y, cx = extent.width, cy = extent.height;
  if (direction == Direction::dDownToUp) return {clampInt(x), clampInt(y - cx), clampInt(x + cy), clampInt(y)};
  return {clampInt(x - cy), clampInt(y), clampInt(x), clampInt(y + cx)};
}

RotatedFontFields rotatedFontFields(const FontDescription& font, int angleDegrees) {
  RotatedFontFields f;
  f.height = font.height;
  f.escapement = clampInt(i64(angleDegrees) * 10);
  f.weight = font.bold ? 700 : 400;
  f.italic = font.italic;
  f.underline = font.underline;
  f.strikeOut = font.strikeOut;
  f.pitchAndFamily = font.pitch == FontPitch::fpVariable ? 2 : font.pitch == FontPitch::fpFixed ? 1 : 0;
  // LOGFONT holds 32 bytes with the terminator.
  f.faceName = font.name.substr(0, 31);
  return f;
}

// ---- Faded line ----

namespace {

Pixel fadeTowards(Pixel p, Pixel c, i64 num, i64 den) { return stepColour(p, c, num, den); }

void fadedLine(const PixelGetter& get, const PixelSetter& set, const Rect& line, const std::optional<Rect>& gap,
               int fadeWidth, Pixel colour, const Rect& bounds) {
  if (!get || !set) return;
  const i64 y = std::max<i64>(line.top, gap ? gap->top : 0);
  if (y < bounds.top || y >= bounds.bottom) return;
  const i64 left = line.left, right = line.right, w = fadeWidth;
  const i64 mid = left + (right - left) / 2;
  const i64 leftEnd = (gap ? std::min<i64>(mid, gap->left) : mid) - 1;
  const i64 rightStart = gap ? std::max<i64>(mid, gap->right) : mid;
  // Only columns that exist are visited.
  const i64 lo = bounds.left;
  const i64 hi = i64(bounds.right) - 1;

  for (i64 x = std::max(left, lo); x <= std::min(leftEnd, hi); ++x) {
    const int xi = int(x), yi = int(y);
    set(xi, yi, x < left + w ? fadeTowards(get(xi, yi), colour, x - left, w) : colour);
  }
  for (i64 x = std::max(rightStart, lo); x <= std::min(right, hi); ++x) {
    const int xi = int(x), yi = int(y);
    set(xi, yi, x > right - w ? fadeTowards(get(xi, yi), colour, right - x, w) : colour);
  }
}

}  // namespace

void drawFadedLine(const PixelGetter& get, const PixelSetter& set, const Rect& bounds, const Rect& line,
                   const std::optional<Rect>& gap, int fadeWidth, Pixel colour) {
  fadedLine(get, set, line, gap, fadeWidth, colour, bounds);
}

void drawFadedLine(Image& target, const Rect& line, const std::optional<Rect>& gap, int fadeWidth, Pixel colour) {
  if (!usable(target)) return;
  fadedLine([&](int x, int y) { return target.at(x, y); }, [&](int x, int y, Pixel p) { target.at(x, y) = p; },
            line, gap, fadeWidth, colour, Rect{0, 0, target.width, target.height});
}

// ---- Radio glyph ----

Image radioGlyphImage() {
  Image img(16, 16, kRadioGlyphBackground);
  for (int y = 5; y <= 10; ++y) {
    const bool edgeRow = y == 5 || y == 10;
    for (int x = edgeRow ? 6 : 5; x <= (edgeRow ? 9 : 10); ++x) img.at(x, y) = rgb(0, 0, 0);
  }
  return img;
}

}  // namespace vrin
