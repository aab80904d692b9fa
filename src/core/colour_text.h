#pragma once
// Skin colour values and the "R G B" colour texts of the skin settings file.
//
// A colour value is 32 bits: 0x00BBGGRR for a plain colour (red in the LOW byte, the Win32
// COLORREF order), 0x80000000 + n for system colour n, resolved when drawn. This is not the
// 0x00RRGGBB order of vrin::Pixel; convert with pixelFromColour/colourFromPixel.
#include <cstdint>
#include <string_view>

#include "core/image.h"

namespace vrin {

using Colour = std::uint32_t;

constexpr Colour sysColour(unsigned index) { return 0x80000000u | index; }
constexpr bool isSysColour(Colour c) { return (c & 0xFF000000u) == 0x80000000u; }
constexpr Colour kNoColour = 0x1FFFFFFF;
// What an integer colour key holds when it is absent (the integer -1).
constexpr Colour kColourUnset = 0xFFFFFFFFu;

constexpr Colour colourRgb(unsigned r, unsigned g, unsigned b) {
  return Colour(r & 0xFF) | (Colour(g & 0xFF) << 8) | (Colour(b & 0xFF) << 16);
}
// Plain colours only; the top byte is dropped.
constexpr Pixel pixelFromColour(Colour c) { return rgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
constexpr Colour colourFromPixel(Pixel p) { return colourRgb(red(p), green(p), blue(p)); }

// Reads a colour text such as "84 116 152". An empty text gives the fallback. Otherwise,
// after trimming blanks at both ends, digits build numbers and every other character ends a
// field (so two separators in a row skip one); the text still pending at the end counts only
// when it is the third field. Numbers past the third are ignored and a number too large to
// convert counts as 0. Each of red, green and blue is taken modulo 256.
Colour parseColourText(std::string_view text, Colour fallback);

}  // namespace vrin
