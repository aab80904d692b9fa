#include "menus/pure/sidebar_render.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace vrin {

namespace {

using i64 = std::int64_t;

// Settings and rectangles may hold anything; arithmetic is done wide and clamped back.
int clampInt(i64 v) { return int(std::clamp<i64>(v, INT_MIN, INT_MAX)); }
i64 spanOf(int a, int b) { return i64(b) - i64(a); }

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

// ---- Item drawing ----

HostItemColours hostItemColours(unsigned state, bool mainMenuTopLevel, bool windows98Test) {
  const bool selected = (state & ods::Selected) && !(mainMenuTopLevel && windows98Test);
  if (selected) return {cl::Highlight, cl::HighlightText};
  return {cl::Menu, (windows98Test && (state & ods::Inactive)) ? cl::GrayText : cl::MenuText};
}

Rect itemBodyRect(const ItemDrawInput& in) {
  Rect r = in.itemRect;
  if (!in.barHere) return r;
  const i64 take = i64(in.barWidth) + in.barSpace;
  r.right = clampInt(i64(r.right) - take);
  if (in.barSide == Side::sLeft) r = offsetRect(r, clampInt(take), 0);
  return r;
}

namespace {

struct Planner {
  const ItemDrawInput& in;
  const SystemColourLookup& lookup;
  ItemDrawPlan& plan;
  MenuColour brush = cl::Menu;
  MenuColour font = cl::MenuText;

  void fill(const Rect& r, MenuColour c) { plan.ops.push_back({.kind = PaintKind::Fill, .rect = r, .colour = c}); }
  void drawEdge(const Rect& r, unsigned kind, unsigned sides) {
    plan.ops.push_back({.kind = PaintKind::Edge, .rect = r, .flags = kind, .sides = sides});
  }

  // Captions and shortcuts: right-to-left flags, and the embossed look of disabled items.
  void text(PaintKind kind, const Rect& r, unsigned flags) {
    if (in.rightToLeft) flags |= dt::Right | dt::RtlReading;
    const bool selected = in.state & ods::Selected;
    if (!in.enabled) {
      if (!selected)
        plan.ops.push_back({.kind = kind, .rect = offsetRect(r, 1, 1), .colour = cl::BtnHighlight, .flags = flags});
      // A highlight the same as the shadow would hide the text; use the light colour then.
      const bool sameAsShadow = resolvePixel(cl::Highlight, lookup) == resolvePixel(cl::BtnShadow, lookup);
      font = (selected && sameAsShadow) ? cl::BtnHighlight : cl::BtnShadow;
    }
    plan.ops.push_back({.kind = kind, .rect = r, .colour = font, .flags = flags});
  }

  void separator(Rect r);
  void content(Rect r);
};

void Planner::separator(Rect r) {
  const SeparatorLook& look = in.separators;
  const std::string_view caption = separatorText(in.enabled, in.hint);
  Rect l = r;
  if (look.style == SeparatorStyle::ssShortLine) {
    l.right = clampInt(i64(l.right) + 10);
    l.left = clampInt(i64(l.left) + 12);
    l.right = clampInt(i64(l.right) - 12);
  }
  const Rect f = l;
  auto fadedOp = [&](const Rect& line, std::optional<Rect> gap, MenuColour c) {
    plan.ops.push_back({.kind = PaintKind::FadedLine, .rect = line, .colour = c, .gap = gap, .fadeWidth = look.fadeWidth});
  };
  auto lineEdge = [&](const Rect& line) {
    if (look.flatLines)
      drawEdge(line, edge::RaisedOuter, edge::Top | edge::Flat);
    else
      drawEdge(line, edge::Etched, edge::Top);
  };

  if (caption.empty()) {
    l.top = clampInt(i64(l.top) + 5);
    if (look.fade) {
      if (!look.flatLines) fadedOp(l, std::nullopt, cl::BtnHighlight);
      l = offsetRect(l, 0, -1);
      fadedOp(l, std::nullopt, look.fadeColour);
    } else {
      lineEdge(l);
    }
    return;
  }

  plan.separatorText = " " + std::string(caption) + " ";
  if (look.style == SeparatorStyle::ssCaption) {
    unsigned flags = dt::SingleLine | dt::VCenter | dt::NoPrefix;
    if (look.alignment == Alignment::taRightJustify) flags |= dt::Right;
    if (look.alignment == Alignment::taCenter) flags |= dt::Center;
    plan.separatorFont = !look.useSystemFont;
    plan.ops.push_back({.kind = PaintKind::Gradient, .rect = l, .colour = look.gradientStart,
                        .colour2 = look.gradientEnd, .gradientStyle = look.gradientStyle});
    plan.ops.push_back({.kind = PaintKind::SeparatorText, .rect = l, .colour = font, .flags = flags});
    return;
  }

  const unsigned flags = dt::Center | dt::SingleLine | dt::VCenter | dt::NoPrefix;
  // The caption box: measured from F's corner, then placed by the alignment.
  Rect t{f.left, f.top, clampInt(i64(f.left) + in.separatorTextExtent.width),
         clampInt(i64(f.top) + in.separatorTextExtent.height)};
  const i64 room = spanOf(f.left, f.right) - spanOf(t.left, t.right);
  if (look.alignment == Alignment::taRightJustify) t = offsetRect(t, clampInt(room), 0);
  if (look.alignment == Alignment::taCenter) t = offsetRect(t, centreOffset(clampInt(room)), 0);

  l.top = clampInt(i64(l.top) + 6);
  const int keptRight = l.right;
  if (look.fade) {
    l = offsetRect(l, 0, 1);
    fadedOp(l, t, look.fadeColour);
    if (!look.flatLines) {
      l = offsetRect(l, 0, 1);
      fadedOp(l, t, cl::BtnHighlight);
    }
  } else {
    l.right = t.left;
    if (look.flatLines) l = offsetRect(l, 0, 1);
    lineEdge(l);
    l.right = keptRight;
    l.left = t.right;
    lineEdge(l);
  }
  plan.ops.push_back({.kind = PaintKind::SeparatorText, .rect = t, .colour = font, .flags = flags});
}

void Planner::content(Rect r) {
  const bool selected = in.state & ods::Selected;
  const bool xp = in.style == SideBarMenuStyle::msWindowsXP;
  const bool topLevel = in.mainMenuTopLevel;
  const bool hasBitmap = in.bitmapSize.width > 0 && in.bitmapSize.height > 0;

  if (!selected) fill(r, brush);
  Rect g{clampInt(i64(r.left) + 1), clampInt(i64(r.top) + 1), 0, 0};
  Rect s = r;

  const bool validIndex = in.imageIndex >= 0 && in.imageIndex < in.imageCount;
  const bool drawImage = in.hasImageList && (validIndex || (in.checked && !hasBitmap));
  const bool glyph = drawImage || hasBitmap;
  if (glyph) {
    const Size box = drawImage ? in.imageSize : Size{16, 16};
    g.right = clampInt(i64(g.left) + box.width);
    g.bottom = clampInt(i64(g.top) + box.height);
    const int d = clampInt((spanOf(r.top, r.bottom) - spanOf(g.top, g.bottom)) / 2 - 1);
    g = {g.left, clampInt(i64(g.top) + d), g.right, clampInt(i64(g.bottom) + d)};

    if (xp) {
      s.right = clampInt(i64(g.right) + 5);  // the glyph column
      if (in.checked) {
        if (selected) fill(s, cl::Highlight);
        g = offsetRect(g, 1, 0);
        if (!selected)
          plan.ops.push_back({.kind = PaintKind::Frame,
                              .rect = {clampInt(i64(g.left) - 1), clampInt(i64(g.top) - 1),
                                       clampInt(i64(g.right) + 1), clampInt(i64(g.bottom) + 1)},
                              .colour = cl::Highlight});
        if (selected) fill(g, cl::Menu);
      } else {
        fill(s, brush);
        g = offsetRect(g, 1, 0);
      }
    } else if (in.checked) {
      g.right = clampInt(i64(g.right) + 1);
      g.bottom = clampInt(i64(g.bottom) + 1);
      if (!selected)
        plan.ops.push_back({.kind = PaintKind::Checker, .rect = g});
      else
        fill(g, cl::BtnFace);
      g.left = clampInt(i64(g.left) + 1);
      g.top = clampInt(i64(g.top) + 1);
    }

    if (drawImage && validIndex) {
      plan.ops.push_back({.kind = PaintKind::ListImage, .at = {g.left, g.top}, .disabled = !in.enabled});
    } else if (drawImage) {
      const bool radio = in.radioItem;
      const Size gs = radio ? in.radioGlyphSize : in.checkGlyphSize;
      i64 x = g.left + (spanOf(g.left, g.right) - gs.width) / 2;
      i64 y = g.top + (spanOf(g.top, g.bottom) - gs.height) / 2;
      if (!xp) {
        ++x;
        ++y;
      } else if (!radio) {
        ++x;
      }
      plan.ops.push_back({.kind = radio ? PaintKind::RadioGlyph : PaintKind::CheckGlyph,
                          .at = {clampInt(x), clampInt(y)}});
    } else {
      // The item's own bitmap, centred when smaller than the box, else stretched into it.
      Rect b = g;
      if (in.bitmapSize.width < spanOf(b.left, b.right)) {
        b.left = clampInt(b.left + (spanOf(b.left, b.right) - in.bitmapSize.width) / 2 + 1);
        b.right = clampInt(i64(b.left) + in.bitmapSize.width);
      }
      if (in.bitmapSize.height < spanOf(b.top, b.bottom)) {
        b.top = clampInt(b.top + (spanOf(b.top, b.bottom) - in.bitmapSize.height) / 2 + 1);
        b.bottom = clampInt(i64(b.top) + in.bitmapSize.height);
      }
      plan.ops.push_back({.kind = PaintKind::Bitmap, .rect = b});
    }
    if (in.checked) {
      g.right = clampInt(i64(g.right) - 1);
      g.bottom = clampInt(i64(g.bottom) - 1);
    }
  } else if (in.hasImageList && !topLevel) {
    g.right = clampInt(i64(g.left) + in.imageSize.width);
    g.bottom = clampInt(i64(g.top) + in.imageSize.height);
  } else {
    g.right = g.left;
    g.bottom = g.top;
  }
  g = {clampInt(i64(g.left) - 1), clampInt(i64(g.top) - 1), clampInt(i64(g.right) + 2), clampInt(i64(g.bottom) + 2)};
  plan.glyphBox = g;

  if (!xp && (in.checked || (selected && glyph)))
    drawEdge(g, in.checked ? edge::SunkenOuter : edge::RaisedInner, edge::RectSides);

  // Selection.
  if (selected) {
    if (xp) {
      s = r;
      if (glyph) {
        r.left = clampInt(i64(g.right) + 1);
        s.left = clampInt(i64(g.right) - 1);
      }
      brush = cl::Highlight;
      fill(s, brush);
    } else {
      if (glyph) r.left = clampInt(i64(g.right) + 1);
      if (!(in.windows98Test && topLevel)) brush = cl::Highlight;
      fill(r, brush);
    }
  }

  if (topLevel) {
    if (xp) {
      if (selected || (in.state & ods::HotLight)) brush = cl::Highlight;
      fill(r, brush);
    } else if (in.windows98Test) {
      if (selected)
        drawEdge(r, edge::SunkenOuter, edge::RectSides);
      else if (in.state & ods::HotLight)
        drawEdge(r, edge::RaisedInner, edge::RectSides);
      if (!selected) r = offsetRect(r, 0, -1);
    }
  }

  if (!(selected && glyph)) r.left = clampInt(i64(g.right) + 1);
  r.left = clampInt(i64(r.left) + ((xp && !topLevel) ? 4 : 2));
  r.right = clampInt(i64(r.right) - 1);

  unsigned flags = dt::Left | dt::ExpandTabs | dt::SingleLine;
  if (in.windows2000Test && (in.state & ods::NoAccel)) flags |= dt::HidePrefix;
  s = r;
  plan.bold = (in.state & ods::Default) || in.isDefault;

  // The single-line measure keeps the left and top and bounds the text; then centre vertically.
  r.right = clampInt(i64(r.left) + in.captionExtent.width);
  r.bottom = clampInt(i64(r.top) + in.captionExtent.height);
  r = offsetRect(r, 0, clampInt((spanOf(s.top, s.bottom) - spanOf(r.top, r.bottom)) / 2));

  if (topLevel) {
    if (xp) {
      if (!(in.state & ods::Inactive) && (selected || (in.state & ods::HotLight))) font = cl::HighlightText;
      r.top = clampInt(i64(r.top) - 1);
    } else if (in.windows98Test && selected) {
      r = offsetRect(r, 1, 0);
    }
  }
  text(PaintKind::Caption, r, flags);

  if (in.hasShortcut && !topLevel) {
    r.left = r.right;
    r.right = clampInt(i64(s.right) - 10);
    text(PaintKind::Shortcut, r, flags | dt::Right);
  }
}

}  // namespace

ItemDrawPlan planItemBody(const ItemDrawInput& in, const SystemColourLookup& lookup) {
  ItemDrawPlan plan;
  Planner p{in, lookup, plan};
  const HostItemColours host = hostItemColours(in.state, in.mainMenuTopLevel, in.windows98Test);
  p.brush = host.brush;
  p.font = host.font;

  Rect r = itemBodyRect(in);
  const bool shortLine = in.separators.style == SeparatorStyle::ssShortLine && !in.mainMenuTopLevel;
  if (shortLine) r.right = clampInt(i64(r.right) - 10);
  plan.body = r;

  if (in.separator) {
    p.separator(r);
    return plan;
  }
  // The short-line margin keeps the host's brush (highlight when selected).
  if (shortLine) p.fill({r.right, r.top, clampInt(i64(r.right) + 10), r.bottom}, host.brush);

  const bool selected = in.state & ods::Selected;
  if (selected && !(in.mainMenuTopLevel && in.windows98Test)) {
    p.brush = cl::Highlight;
    p.font = cl::HighlightText;
  } else {
    p.font = (in.windows98Test && (in.state & ods::Inactive)) ? cl::GrayText : cl::MenuText;
    p.brush = (in.mainMenuTopLevel && in.xpStyleDefault) ? cl::BtnFace : cl::Menu;
  }
  p.content(r);
  return plan;
}

}  // namespace vrin
