#pragma once
// Icon files for the generator: each picture becomes a 256-colour (8 bits per pixel) image
// with an AND mask; magenta pixels are the transparent ones.
#include <cstdint>
#include <vector>

#include "core/image.h"

namespace picgen {

// Reduces the picture's non-key colours to at most `maxColours` (median cut) and returns the
// palette; `indices` gets one palette index per pixel (key pixels get index 0, which is black
// and reserved for them).
std::vector<vrin::Pixel> quantize(const vrin::Image& image, int maxColours, std::vector<std::uint8_t>& indices);

// A complete .ico file holding the given square pictures (each 1 to 256 pixels wide).
std::vector<std::uint8_t> encodeIco(const std::vector<vrin::Image>& pictures);

}  // namespace picgen
