// Any bytes as a bitmap file: the header check and the decoder must agree, never read out of
// bounds, and whatever decodes must survive a write and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  bool peeked = false;
  vrin::BmpInfo info;
  try {
    info = vrin::peekBmp(data, size);
    peeked = true;
  } catch (const vrin::BmpError&) {
  }
  vrin::Image image;
  try {
    image = vrin::decodeBmp(data, size);
  } catch (const vrin::BmpError&) {
    if (peeked) std::abort();  // the header said yes, the decoder no
    return 0;
  }
  if (!peeked || image.width != info.width || image.height != info.height) std::abort();
  if (image.pixels.size() != std::size_t(image.width) * std::size_t(image.height)) std::abort();
  const auto file = vrin::encodeBmp24(image);
  if (vrin::decodeBmp(file.data(), file.size()) != image) std::abort();
  return 0;
}
