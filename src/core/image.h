#pragma once
// 32-bit pixel images: the portable canvas that skin pictures, menus and balloons are
// computed on before a single blit puts them on a device context.
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "core/geometry.h"

namespace vrin {

// A pixel is 0x00RRGGBB (the top byte is free for alpha where a routine says so).
using Pixel = std::uint32_t;

constexpr Pixel rgb(unsigned r, unsigned g, unsigned b) {
  return (Pixel(r & 0xFF) << 16) | (Pixel(g & 0xFF) << 8) | Pixel(b & 0xFF);
}
constexpr unsigned red(Pixel p) { return (p >> 16) & 0xFF; }
constexpr unsigned green(Pixel p) { return (p >> 8) & 0xFF; }
constexpr unsigned blue(Pixel p) { return p & 0xFF; }

// The key colour of skin pictures: magenta marks what is cut away.
constexpr Pixel kKeyColour = rgb(255, 0, 255);

// The largest picture any routine may make: sizes come from windows, skins and settings, so
// they are checked before anything is allocated (and before width * height can wrap on a
// 32-bit build). 2^26 pixels is 256 MiB, far above any real window strip.
constexpr std::int64_t kMaxImagePixels = std::int64_t(1) << 26;
constexpr bool imageSizeAllowed(int w, int h) {
  return w >= 0 && h >= 0 && std::int64_t(w) * std::int64_t(h) <= kMaxImagePixels;
}

// Top-down rows, width * height pixels.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;

  Image() = default;
  // A negative side gives an empty image; a size past kMaxImagePixels throws std::length_error.
  Image(int w, int h, Pixel fill = 0)
      : width(w < 0 ? 0 : w), height(h < 0 ? 0 : h), pixels(checkedCount(width, height), fill) {}
  static std::size_t checkedCount(int w, int h) {
    if (!imageSizeAllowed(w, h)) throw std::length_error("picture too large");
    return std::size_t(w) * std::size_t(h);
  }
  bool empty() const { return width <= 0 || height <= 0; }
  Pixel& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
  Pixel at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  bool operator==(const Image&) const = default;
};

}  // namespace vrin
