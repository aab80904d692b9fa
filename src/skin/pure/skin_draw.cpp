#include "skin/pure/skin_draw.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace vrin {
namespace {

using i64 = std::int64_t;

bool inverted(const Rect& r) { return r.right < r.left || r.bottom < r.top; }

bool sameColour(Pixel a, Pixel b) { return ((a ^ b) & 0x00FFFFFFu) == 0; }

// Unscaled copy of a source rectangle to (x, y), clipped on both sides.
void copyAt(Image& target, i64 x, i64 y, const Image& source, const Rect& sourceRect) {
  i64 sx0 = std::max<i64>(sourceRect.left, 0), sy0 = std::max<i64>(sourceRect.top, 0);
  i64 sx1 = std::min<i64>(sourceRect.right, source.width);
  i64 sy1 = std::min<i64>(sourceRect.bottom, source.height);
  // Shift the target position with any source clipping.
  x += sx0 - sourceRect.left;
  y += sy0 - sourceRect.top;
  if (x < 0) { sx0 -= x; x = 0; }
  if (y < 0) { sy0 -= y; y = 0; }
  sx1 = std::min<i64>(sx1, sx0 + (target.width - x));
  sy1 = std::min<i64>(sy1, sy0 + (target.height - y));
  if (sx0 >= sx1 || sy0 >= sy1) return;
  for (i64 sy = sy0; sy < sy1; ++sy) {
    const Pixel* src = &source.pixels[std::size_t(sy * source.width + sx0)];
    Pixel* dst = &target.pixels[std::size_t((y + sy - sy0) * target.width + x)];
    std::copy(src, src + (sx1 - sx0), dst);
  }
}

// Puts a whole bitmap at (x, y), skipping key pixels when transparent; clipped.
void put(Image& target, i64 x, i64 y, i64 maxW, i64 maxH, const Image& bitmap, bool transparent,
         Pixel key) {
  const i64 w = std::min<i64>(maxW, bitmap.width), h = std::min<i64>(maxH, bitmap.height);
  for (i64 by = std::max<i64>(0, -y); by < h && y + by < target.height; ++by) {
    const Pixel* src = &bitmap.pixels[std::size_t(by * bitmap.width)];
    Pixel* dst = &target.pixels[std::size_t((y + by) * target.width)];
    for (i64 bx = std::max<i64>(0, -x); bx < w && x + bx < target.width; ++bx) {
      const Pixel p = src[bx];
      if (!transparent || !sameColour(p, key)) dst[x + bx] = p;
    }
  }
}

struct Cells {
  i64 l, t, r, b;
};

Cells usableMargins(const Margins& m) {
  // Negative margins make no cells; they count as 0.
  return {std::max(m.left, 0), std::max(m.top, 0), std::max(m.right, 0), std::max(m.bottom, 0)};
}

Rect rectOf(i64 l, i64 t, i64 r, i64 b) { return {clampInt(l), clampInt(t), clampInt(r), clampInt(b)}; }

// The outer cells of the grid, in drawing order; the middle goes between the first five
// and the last three, which cover any overhang of a tiled middle.
template <typename Copy>
void outerCellsBeforeMiddle(const Cells& c, i64 W, i64 H, i64 fw, i64 fh, Copy copy) {
  if (c.l > 0 && c.t > 0) copy(rectOf(0, 0, c.l, c.t), rectOf(0, 0, c.l, c.t));
  if (c.l > 0 && c.b > 0) copy(rectOf(0, H - c.b, c.l, H), rectOf(0, fh - c.b, c.l, fh));
  if (c.r > 0 && c.t > 0) copy(rectOf(W - c.r, 0, W, c.t), rectOf(fw - c.r, 0, fw, c.t));
  if (c.l > 0) copy(rectOf(0, c.t, c.l, H - c.b), rectOf(0, c.t, c.l, fh - c.b));
  if (c.t > 0) copy(rectOf(c.l, 0, W - c.r, c.t), rectOf(c.l, 0, fw - c.r, c.t));
}
template <typename Copy>
void outerCellsAfterMiddle(const Cells& c, i64 W, i64 H, i64 fw, i64 fh, Copy copy) {
  if (c.r > 0 && c.b > 0) copy(rectOf(W - c.r, H - c.b, W, H), rectOf(fw - c.r, fh - c.b, fw, fh));
  if (c.r > 0) copy(rectOf(W - c.r, c.t, W, H - c.b), rectOf(fw - c.r, c.t, fw, fh - c.b));
  if (c.b > 0) copy(rectOf(c.l, H - c.b, W - c.r, H), rectOf(c.l, fh - c.b, fw - c.r, fh));
}

}  // namespace

Rect frameRect(const Image& strip, int frameCount, int frame, bool stacked) {
  const int count = std::max(frameCount, 1);
  if (strip.empty() || frame < 1 || frame > count) return {};
  if (stacked) {
    const int fh = strip.height / count;
    return {0, (frame - 1) * fh, strip.width, frame * fh};
  }
  const int fw = strip.width / count;
  return {(frame - 1) * fw, 0, frame * fw, strip.height};
}

Image cutFrame(const Image& strip, int frameCount, int frame, bool stacked) {
  const Rect r = frameRect(strip, frameCount, frame, stacked);
  if (r.empty()) return {};
  Image out(r.width(), r.height());
  copyAt(out, 0, 0, strip, r);
  return out;
}

void stretchCopy(Image& target, const Rect& targetRect, const Image& source, const Rect& sourceRect) {
  const i64 dw = spanOf(targetRect.left, targetRect.right);
  const i64 dh = spanOf(targetRect.top, targetRect.bottom);
  const i64 sw = spanOf(sourceRect.left, sourceRect.right);
  const i64 sh = spanOf(sourceRect.top, sourceRect.bottom);
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || source.empty()) return;
  const i64 x0 = std::max<i64>(targetRect.left, 0), x1 = std::min<i64>(targetRect.right, target.width);
  const i64 y0 = std::max<i64>(targetRect.top, 0), y1 = std::min<i64>(targetRect.bottom, target.height);
  if (x0 >= x1 || y0 >= y1) return;
  if (dw == sw && dh == sh) {
    // Same size: a straight copy.
    const i64 sx = sourceRect.left + (x0 - targetRect.left), sy = sourceRect.top + (y0 - targetRect.top);
    copyAt(target, x0, y0, source, rectOf(sx, sy, sx + (x1 - x0), sy + (y1 - y0)));
    return;
  }
  std::vector<i64> columns(std::size_t(x1 - x0));
  for (i64 x = x0; x < x1; ++x) {
    const i64 sx = sourceRect.left + (x - targetRect.left) * sw / dw;
    columns[std::size_t(x - x0)] = (sx >= 0 && sx < source.width) ? sx : -1;
  }
  for (i64 y = y0; y < y1; ++y) {
    const i64 sy = sourceRect.top + (y - targetRect.top) * sh / dh;
    if (sy < 0 || sy >= source.height) continue;
    const Pixel* src = &source.pixels[std::size_t(sy * source.width)];
    Pixel* dst = &target.pixels[std::size_t(y * target.width)];
    for (i64 x = x0; x < x1; ++x) {
      const i64 sx = columns[std::size_t(x - x0)];
      if (sx >= 0) dst[x] = src[sx];
    }
  }
}

Image composeGrid(int width, int height, const Image& strip, const Margins& margins, bool stacked,
                  bool tileMiddle, int frameCount, int frame) {
  if (width <= 0 || height <= 0) return {};
  Image out(width, height);
  const Image f = cutFrame(strip, frameCount, frame, stacked);
  if (f.empty()) return out;
  const i64 W = width, H = height, fw = f.width, fh = f.height;
  Cells c = usableMargins(margins);
  if (W < c.l + c.r) c.l = c.r = 0;
  if (H < c.t + c.b) c.t = c.b = 0;

  auto scaled = [&](const Rect& to, const Rect& from) { stretchCopy(out, to, f, from); };
  outerCellsBeforeMiddle(c, W, H, fw, fh, scaled);
  const Rect middleFrom = rectOf(c.l, c.t, fw - c.r, fh - c.b);
  if (!tileMiddle) {
    scaled(rectOf(c.l, c.t, W - c.r, H - c.b), middleFrom);
  } else if (!middleFrom.empty()) {
    // Whole copies from the cell's top-left while the next one starts inside the cell; the
    // last row and column overhang and are covered by the cells drawn afterwards.
    for (i64 y = c.t; y < H - c.b; y += middleFrom.height())
      for (i64 x = c.l; x < W - c.r; x += middleFrom.width()) copyAt(out, x, y, f, middleFrom);
  }
  outerCellsAfterMiddle(c, W, H, fw, fh, scaled);
  return out;
}

void drawGrid(Image& target, const Rect& rect, const Image& strip, bool stacked, bool tileMiddle,
              bool transparent, int frameCount, int frame, const Margins& margins) {
  if (inverted(rect)) return;
  const Image grid = composeGrid(clampInt(spanOf(rect.left, rect.right)),
                                 clampInt(spanOf(rect.top, rect.bottom)), strip, margins, stacked,
                                 tileMiddle, frameCount, frame);
  put(target, rect.left, rect.top, grid.width, grid.height, grid, transparent, kKeyColour);
}

void drawGridFrameOnly(Image& target, const Rect& rect, const Image& strip, bool stacked,
                       int frameCount, int frame, const Margins& margins) {
  if (inverted(rect)) return;
  const Image f = cutFrame(strip, frameCount, frame, stacked);
  if (f.empty()) return;
  const Cells c = usableMargins(margins);
  const i64 W = spanOf(rect.left, rect.right), H = spanOf(rect.top, rect.bottom);
  auto scaled = [&](const Rect& to, const Rect& from) {
    stretchCopy(target,
                rectOf(i64(to.left) + rect.left, i64(to.top) + rect.top, i64(to.right) + rect.left,
                       i64(to.bottom) + rect.top),
                f, from);
  };
  outerCellsBeforeMiddle(c, W, H, f.width, f.height, scaled);
  outerCellsAfterMiddle(c, W, H, f.width, f.height, scaled);
}

Image composeThreeSlice(int width, int height, const Image& strip, bool stacked, int frameCount,
                        int frame, int left, int right) {
  if (width <= 0 || height <= 0) return {};
  Image out(width, height);
  const Image f = cutFrame(strip, frameCount, frame, stacked);
  if (f.empty()) return out;
  const i64 W = width, H = height, fw = f.width, fh = f.height;
  const i64 l = std::max(left, 0), r = std::max(right, 0);
  stretchCopy(out, rectOf(0, 0, l, H), f, rectOf(0, 0, l, fh));
  const i64 middle = fw - l - r;
  if (middle > 0)
    for (i64 x = l; x < W - r; x += middle)
      stretchCopy(out, rectOf(x, 0, x + middle, H), f, rectOf(l, 0, l + middle, fh));
  stretchCopy(out, rectOf(W - r, 0, W, H), f, rectOf(fw - r, 0, fw, fh));
  return out;
}

void drawThreeSlice(Image& target, const Rect& rect, const Image& strip, bool stacked,
                    bool transparent, int frameCount, int frame, int left, int right) {
  if (inverted(rect)) return;
  const Image slice = composeThreeSlice(clampInt(spanOf(rect.left, rect.right)),
                                        clampInt(spanOf(rect.top, rect.bottom)), strip, stacked,
                                        frameCount, frame, left, right);
  put(target, rect.left, rect.top, slice.width, slice.height, slice, transparent, kKeyColour);
}

void drawFrame(Image& target, const Rect& rect, const Image& strip, bool transparent, int frame) {
  if (inverted(rect) || rect.empty() || strip.empty() || frame < 1) return;
  const i64 w = spanOf(rect.left, rect.right), h = spanOf(rect.top, rect.bottom);
  const Rect from = rectOf(w * (frame - 1), 0, w * frame, strip.height);
  if (!transparent) {
    stretchCopy(target, rect, strip, from);
    return;
  }
  Image scaled(clampInt(w), clampInt(h), kKeyColour);  // unreached pixels stay see-through
  stretchCopy(scaled, rectOf(0, 0, w, h), strip, from);
  put(target, rect.left, rect.top, w, h, scaled, true, kKeyColour);
}

void drawTransparent(Image& target, const Rect& rect, const Image& bitmap, Pixel key) {
  if (inverted(rect)) return;
  put(target, rect.left, rect.top, spanOf(rect.left, rect.right), spanOf(rect.top, rect.bottom),
      bitmap, true, key);
}

void drawOpaque(Image& target, const Rect& rect, const Image& bitmap) {
  if (inverted(rect)) return;
  put(target, rect.left, rect.top, spanOf(rect.left, rect.right), spanOf(rect.top, rect.bottom),
      bitmap, false, 0);
}

void tile(Image& target, const Rect& rect, const Image& source, const Rect& sourceRect) {
  const i64 sw = spanOf(sourceRect.left, sourceRect.right), sh = spanOf(sourceRect.top, sourceRect.bottom);
  if (inverted(rect) || rect.empty() || sw <= 0 || sh <= 0) return;
  // Draw into a clip of the rectangle so that the last copies stop at its edges.
  const i64 cx0 = std::max<i64>(rect.left, 0), cy0 = std::max<i64>(rect.top, 0);
  const i64 cx1 = std::min<i64>(rect.right, target.width), cy1 = std::min<i64>(rect.bottom, target.height);
  // Start at the first copy that reaches the visible part.
  const i64 firstY = rect.top + (cy0 - rect.top) / sh * sh;
  const i64 firstX = rect.left + (cx0 - rect.left) / sw * sw;
  for (i64 y = firstY; y < cy1; y += sh) {
    for (i64 x = firstX; x < cx1; x += sw) {
      const i64 ox0 = std::max(x, cx0), oy0 = std::max(y, cy0);
      const i64 ox1 = std::min(x + sw, cx1), oy1 = std::min(y + sh, cy1);
      copyAt(target, ox0, oy0, source,
             rectOf(sourceRect.left + (ox0 - x), sourceRect.top + (oy0 - y),
                    sourceRect.left + (ox1 - x), sourceRect.top + (oy1 - y)));
    }
  }
}

std::vector<std::vector<Rect>> regionRects(const Image& picture, int xOffset, int yOffset,
                                           int redTolerance, int greenTolerance,
                                           int blueTolerance, Pixel key) {
  const int rLo = int(red(key)), gLo = int(green(key)), bLo = int(blue(key));
  const int rHi = int(std::min<i64>(255, i64(rLo) + redTolerance));
  const int gHi = int(std::min<i64>(255, i64(gLo) + greenTolerance));
  const int bHi = int(std::min<i64>(255, i64(bLo) + blueTolerance));
  auto isKey = [&](Pixel p) {
    const int r = int(red(p)), g = int(green(p)), b = int(blue(p));
    return r >= rLo && r <= rHi && g >= gLo && g <= gHi && b >= bLo && b <= bHi;
  };

  std::vector<std::vector<Rect>> batches;
  std::vector<Rect> current;
  current.reserve(500);
  for (int y = 0; y < picture.height; ++y) {
    const Pixel* row = &picture.pixels[std::size_t(y) * picture.width];
    int x = 0;
    while (x < picture.width) {
      while (x < picture.width && isKey(row[x])) ++x;
      if (x == picture.width) break;
      const int start = x;
      while (x < picture.width && !isKey(row[x])) ++x;
      current.push_back(rectOf(i64(start) + xOffset, i64(y) + yOffset, i64(x) + xOffset,
                               i64(y) + 1 + yOffset));
      if (current.size() == kRegionBatch) {
        batches.push_back(std::move(current));
        current = {};
        current.reserve(500);
      }
    }
  }
  batches.push_back(std::move(current));
  return batches;
}

Rect boundingRect(const std::vector<Rect>& rects) {
  if (rects.empty()) return {};
  Rect b = rects.front();
  for (const Rect& r : rects) {
    b.left = std::min(b.left, r.left);
    b.top = std::min(b.top, r.top);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}

void flipVertical(Image& image) {
  for (int y = 0; y < image.height / 2; ++y)
    for (int x = 0; x < image.width; ++x) std::swap(image.at(x, y), image.at(x, image.height - 1 - y));
  for (Pixel& p : image.pixels) p &= 0x00FFFFFFu;
}

void rotateLeft(Image& image) {
  Image out(image.height, image.width);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.at(x, y) = image.at(image.width - 1 - y, x) & 0x00FFFFFFu;
  image = std::move(out);
}

void rotateRight(Image& image) {
  Image out(image.height, image.width);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.at(x, y) = image.at(y, image.height - 1 - x) & 0x00FFFFFFu;
  image = std::move(out);
}

}  // namespace vrin
