#pragma once
// Small drawing steps the control skinners share, on the process-wide work bitmap and on
// canvases.
#include <string>

#include "core/geometry.h"
#include "core/image.h"
#include "ui/graphics.h"

namespace vrin {

// A framework colour (system colours resolved) as a 0x00RRGGBB pixel.
Pixel pixelOf(Color colour);
// The shared work bitmap at this size; kept when it already is.
void sizeWorkBitmap(int width, int height);
// Pixels of a DIB section, clipped to it.
void fillBitmap(Bitmap& bitmap, const Rect& rect, Pixel colour);
// The image's pixels written at (x, y), the key colour left out when transparent.
void putImage(Bitmap& bitmap, int x, int y, const Image& image, bool transparent);
// The canvas' font with another colour or style; the GDI font is kept when only the colour changes.
void setFontColour(Canvas& canvas, Color colour);
void setFontStyle(Canvas& canvas, unsigned style);

}  // namespace vrin
