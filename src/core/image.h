#pragma once
// 32-bit pixel images: the portable canvas that skin pictures, menus and balloons are
// computed on before a single blit puts them on a device context.
#include <cstdint>
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

// Top-down rows, width * height pixels.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;

  Image() = default;
  Image(int w, int h, Pixel fill = 0) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
  bool empty() const { return width <= 0 || height <= 0; }
  Pixel& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
  Pixel at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  bool operator==(const Image&) const = default;
};

}  // namespace vrin
