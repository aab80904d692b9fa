#pragma once
// Windows bitmap files (the "BM" format) to and from 32-bit pixel images.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/image.h"

namespace vrin {

struct BmpError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct BmpInfo {
  int width = 0;
  int height = 0;  // always positive; top-down files are recognised
  int bitsPerPixel = 0;
};

// Reads the headers only. Throws BmpError on anything that is not a usable bitmap.
BmpInfo peekBmp(const std::uint8_t* data, std::size_t size);

// Decodes 1, 4, 8, 24 and 32 bits per pixel (uncompressed, BI_RGB / BI_BITFIELDS for 32).
// Throws BmpError on malformed or truncated input; never reads past size.
Image decodeBmp(const std::uint8_t* data, std::size_t size);

// A complete 24-bit bottom-up bitmap file (BITMAPFILEHEADER + BITMAPINFOHEADER, rows padded to 4).
std::vector<std::uint8_t> encodeBmp24(const Image& image);

}  // namespace vrin
