#pragma once
// Putting skin drawings on device contexts. Pictures are composed on vrin::Image by the
// portable routines (skin/pure/skin_draw.h); these put the result on screen in one blit, leave
// the key colour out, and turn region rectangles into a window region.
#include <vector>

#include "core/image.h"
#include "ui/win.h"

namespace vrin {

// The whole image at (x, y), one SetDIBitsToDevice.
void drawImage(HDC dc, int x, int y, const Image& image);

// The image at (x, y) with its key-colour pixels left out, as a mask blit: the image XORed
// on, the mask ANDed, the image XORed again, so key pixels keep what the target had. Only the
// low 24 bits of pixels and key are compared.
void drawImageTransparent(HDC dc, int x, int y, const Image& image, Pixel key = kKeyColour);

// The monochrome mask of an image: white where the pixel is the key colour, black elsewhere.
GdiObject<HBITMAP> keyColourMask(const Image& image, Pixel key = kKeyColour);

// One region from the rectangle batches of regionRects(): each batch becomes a region through
// ExtCreateRegion and the batches are ORed together. No batch gives an empty region. The
// caller owns the result (release() it when handing it to SetWindowRgn).
GdiObject<HRGN> regionFromRects(const std::vector<std::vector<Rect>>& batches);

// regionRects() of the picture, as a region.
GdiObject<HRGN> regionFromImage(const Image& picture, int xOffset, int yOffset, int redTolerance,
                                int greenTolerance, int blueTolerance, Pixel key = kKeyColour);

}  // namespace vrin
