#pragma once
// Drawing from skin pictures on 32-bit images: cutting frames out of strips, composing
// nine-cell grids and three-slices, key-colour blits, region rectangles, rotations.
//
// Scaling is nearest-neighbour (the colour-on-colour stretch mode): target pixel d of a span
// of length D reads source pixel s0 + d * S / D (rounded down) of a span of length S. Source
// pixels outside the source image are not read; the target pixels they would give are left
// as they are. Target pixels outside the target image are clipped.
#include <vector>

#include "core/image.h"

namespace vrin {

struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Frame `frame` (numbered from 1) of a strip of `frameCount` frames, side by side or stacked.
// A count below 1 counts as 1; a frame number outside 1..count gives an empty rectangle.
Rect frameRect(const Image& strip, int frameCount, int frame, bool stacked);
Image cutFrame(const Image& strip, int frameCount, int frame, bool stacked);

// Scaled copy of a source rectangle into a target rectangle; inverted or empty rectangles
// copy nothing.
void stretchCopy(Image& target, const Rect& targetRect, const Image& source, const Rect& sourceRect);

// The frame composed at width x height as a nine-cell grid: corners and edges scaled, the
// middle scaled or (tileMiddle) repeated at its own size from the middle cell's top-left.
// When the target is narrower than left + right both side margins drop to 0, likewise top
// and bottom. Pixels that no cell reaches are black; a zero-sized target gives an empty image.
Image composeGrid(int width, int height, const Image& strip, const Margins& margins, bool stacked,
                  bool tileMiddle, int frameCount, int frame);

// composeGrid at the rectangle's size, put at its top-left, with the key colour left out when
// transparent. Inverted rectangles draw nothing.
void drawGrid(Image& target, const Rect& rect, const Image& strip, bool stacked, bool tileMiddle,
              bool transparent, int frameCount, int frame, const Margins& margins);

// Only the eight outer cells, straight onto the target (no margin drop, no transparency).
void drawGridFrameOnly(Image& target, const Rect& rect, const Image& strip, bool stacked,
                       int frameCount, int frame, const Margins& margins);

// Left part and right part of the frame at their own widths, the middle part repeated between
// them, everything scaled to the full height.
Image composeThreeSlice(int width, int height, const Image& strip, bool stacked, int frameCount,
                        int frame, int left, int right);
void drawThreeSlice(Image& target, const Rect& rect, const Image& strip, bool stacked,
                    bool transparent, int frameCount, int frame, int left, int right);

// Frame `frame` of a side-by-side strip whose frame width is the rectangle's width, scaled
// to the rectangle's height.
void drawFrame(Image& target, const Rect& rect, const Image& strip, bool transparent, int frame);

// The bitmap at the rectangle's top-left (at most the rectangle's size) without its
// key-colour pixels. Only the low 24 bits of pixels and key are compared.
void drawTransparent(Image& target, const Rect& rect, const Image& bitmap, Pixel key = kKeyColour);
// The same with every pixel drawn.
void drawOpaque(Image& target, const Rect& rect, const Image& bitmap);

// Repeats the source rectangle over the target rectangle, clipped to it.
void tile(Image& target, const Rect& rect, const Image& source, const Rect& sourceRect);

// Rectangles of a window region: per row, each maximal run of pixels outside the key range
// (per channel from the key's value to key + tolerance, at most 255), moved by the offsets.
// They come in batches of 2000, the last batch holding the rest; there is always a last
// batch, empty when the count is a multiple of 2000 (a picture all in key colour gives one
// empty batch). Each batch becomes one region, all of them ORed together.
std::vector<std::vector<Rect>> regionRects(const Image& picture, int xOffset, int yOffset,
                                           int redTolerance, int greenTolerance,
                                           int blueTolerance, Pixel key = kKeyColour);
constexpr std::size_t kRegionBatch = 2000;
// The bounding rectangle of a batch (empty rectangle for an empty batch).
Rect boundingRect(const std::vector<Rect>& rects);

// In place. The results hold 24-bit pixels (the top byte is cleared).
void flipVertical(Image& image);
void rotateLeft(Image& image);   // 90 degrees counter-clockwise: new (x, y) = old (W-1-y, x)
void rotateRight(Image& image);  // 90 degrees clockwise: new (x, y) = old (y, H-1-x)

}  // namespace vrin
