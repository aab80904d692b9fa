#include "core/bmp.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vrin {
namespace {

// Skin pictures are small; these caps keep a forged header from asking for gigabytes.
// Any side above 16384 pixels, or more than 16M pixels in all, is refused.
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 24;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

std::uint16_t get16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t get32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

// One channel of a BI_BITFIELDS pixel, widened or narrowed to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (!mask) return;
    while (!((mask >> shift) & 1)) ++shift;
    while (shift + bits < 32 && ((mask >> (shift + bits)) & 1)) ++bits;
  }
  unsigned extract(std::uint32_t p) const {
    if (!bits) return 0;
    std::uint32_t v = (p & mask) >> shift;
    if (bits < 32) v &= (std::uint32_t(1) << bits) - 1;  // a mask with holes keeps its low run
    if (bits >= 8) return unsigned(v >> (bits - 8)) & 0xFF;
    // Repeat the few bits so that full scale stays full scale (5 bits 31 -> 255).
    unsigned out = 0;
    for (int filled = 0; filled < 8; filled += bits) out = (out << bits) | v;
    return (out >> (((8 + bits - 1) / bits) * bits - 8)) & 0xFF;
  }
};

// Everything the decoder needs, checked against the buffer.
struct Layout {
  BmpInfo info;
  bool topDown = false;
  bool coreHeader = false;
  std::uint32_t compression = kBiRgb;
  std::size_t paletteOffset = 0;
  std::size_t paletteEntries = 0;  // entries actually present in the file
  std::size_t pixelOffset = 0;
  std::size_t stride = 0;
  Channel red, green, blue;
};

Layout readLayout(const std::uint8_t* data, std::size_t size) {
  if (!data || size < kFileHeaderSize + 4) throw BmpError("bitmap: file too short");
  if (data[0] != 'B' || data[1] != 'M') throw BmpError("bitmap: missing \"BM\" signature");
  const std::uint32_t offBits = get32(data + 10);
  const std::uint32_t headerSize = get32(data + 14);
  if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize)
    throw BmpError("bitmap: unknown header size");
  if (headerSize > size - kFileHeaderSize) throw BmpError("bitmap: header truncated");
  const std::uint8_t* h = data + kFileHeaderSize;

  Layout l;
  std::int64_t width = 0, height = 0;
  unsigned planes = 0;
  if (headerSize == kCoreHeaderSize) {
    l.coreHeader = true;
    width = get16(h + 4);
    height = get16(h + 6);
    planes = get16(h + 8);
    l.info.bitsPerPixel = get16(h + 10);
  } else {
    width = std::int32_t(get32(h + 4));
    height = std::int32_t(get32(h + 8));
    planes = get16(h + 12);
    l.info.bitsPerPixel = get16(h + 14);
    l.compression = get32(h + 16);
  }
  if (planes != 1) throw BmpError("bitmap: plane count must be 1");
  if (height < 0) {
    l.topDown = true;
    height = -height;
  }
  if (width <= 0 || height <= 0) throw BmpError("bitmap: empty picture");
  if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
    throw BmpError("bitmap: picture too large");
  l.info.width = int(width);
  l.info.height = int(height);

  const int bpp = l.info.bitsPerPixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
    throw BmpError("bitmap: unsupported bit depth");
  if (l.compression == kBiBitfields) {
    if (bpp != 32) throw BmpError("bitmap: bit fields need 32 bits per pixel");
  } else if (l.compression != kBiRgb) {
    throw BmpError("bitmap: compressed pictures are not supported");
  }
  // Top-down pictures cannot be compressed, and a core header has no top-down form.
  if (l.topDown && l.coreHeader) throw BmpError("bitmap: bad height");

  std::size_t afterHeader = kFileHeaderSize + headerSize;
  if (l.compression == kBiBitfields) {
    // A plain info header is followed by the three masks; later headers carry them inside.
    const std::uint8_t* m = h + 40;
    if (headerSize == kInfoHeaderSize) {
      if (size - afterHeader < 12) throw BmpError("bitmap: colour masks truncated");
      m = data + afterHeader;
      afterHeader += 12;
    } else if (headerSize < 52) {
      throw BmpError("bitmap: colour masks missing");
    }
    l.red = Channel(get32(m));
    l.green = Channel(get32(m + 4));
    l.blue = Channel(get32(m + 8));
  } else if (bpp == 32) {
    l.red = Channel(0x00FF0000);
    l.green = Channel(0x0000FF00);
    l.blue = Channel(0x000000FF);
  }

  l.pixelOffset = offBits ? offBits : afterHeader;
  if (l.pixelOffset < afterHeader || l.pixelOffset > size)
    throw BmpError("bitmap: pixel data offset out of range");

  if (bpp <= 8) {
    std::size_t wanted = std::size_t(1) << bpp;
    if (!l.coreHeader) {
      const std::uint32_t used = get32(h + 32);
      if (used) wanted = std::min<std::size_t>(wanted, used);
    }
    // Entries that the file does not hold before its pixels read as black.
    const std::size_t entrySize = l.coreHeader ? 3 : 4;
    l.paletteOffset = afterHeader;
    l.paletteEntries = std::min(wanted, (l.pixelOffset - afterHeader) / entrySize);
  }

  l.stride = ((std::size_t(width) * bpp + 31) / 32) * 4;
  // The last row may lack its padding; everything else must be there.
  const std::size_t lastRow = (std::size_t(width) * bpp + 7) / 8;
  const std::size_t needed = l.stride * (std::size_t(height) - 1) + lastRow;
  if (size - l.pixelOffset < needed) throw BmpError("bitmap: pixel data truncated");
  return l;
}

}  // namespace

BmpInfo peekBmp(const std::uint8_t* data, std::size_t size) { return readLayout(data, size).info; }

Image decodeBmp(const std::uint8_t* data, std::size_t size) {
  const Layout l = readLayout(data, size);
  const int w = l.info.width;
  const int h = l.info.height;
  const int bpp = l.info.bitsPerPixel;

  std::vector<Pixel> palette;
  if (bpp <= 8) {
    palette.assign(std::size_t(1) << bpp, 0);
    const std::size_t entrySize = l.coreHeader ? 3 : 4;
    for (std::size_t i = 0; i < l.paletteEntries; ++i) {
      const std::uint8_t* e = data + l.paletteOffset + i * entrySize;
      palette[i] = rgb(e[2], e[1], e[0]);
    }
  }

  Image image(w, h);
  for (int row = 0; row < h; ++row) {
    const int y = l.topDown ? row : h - 1 - row;
    const std::uint8_t* src = data + l.pixelOffset + std::size_t(row) * l.stride;
    Pixel* dst = &image.pixels[std::size_t(y) * w];
    switch (bpp) {
      case 1:
      case 4:
      case 8: {
        const int perByte = 8 / bpp;
        const unsigned mask = (1u << bpp) - 1;
        for (int x = 0; x < w; ++x) {
          const int shift = (perByte - 1 - x % perByte) * bpp;
          dst[x] = palette[(src[x / perByte] >> shift) & mask];
        }
        break;
      }
      case 24:
        for (int x = 0; x < w; ++x, src += 3) dst[x] = rgb(src[2], src[1], src[0]);
        break;
      case 32:
        for (int x = 0; x < w; ++x, src += 4) {
          const std::uint32_t p = get32(src);
          dst[x] = rgb(l.red.extract(p), l.green.extract(p), l.blue.extract(p));
        }
        break;
    }
  }
  return image;
}

std::vector<std::uint8_t> encodeBmp24(const Image& image) {
  if (image.empty()) throw BmpError("bitmap: cannot write an empty picture");
  if (image.pixels.size() != std::size_t(image.width) * std::size_t(image.height))
    throw BmpError("bitmap: picture size does not match its pixels");
  const std::uint64_t stride = ((std::uint64_t(image.width) * 24 + 31) / 32) * 4;
  const std::uint64_t dataSize = stride * std::uint64_t(image.height);
  const std::uint64_t fileSize = kFileHeaderSize + kInfoHeaderSize + dataSize;
  if (fileSize > std::numeric_limits<std::uint32_t>::max())
    throw BmpError("bitmap: picture too large to write");

  std::vector<std::uint8_t> out;
  out.reserve(std::size_t(fileSize));
  out.push_back('B');
  out.push_back('M');
  put32(out, std::uint32_t(fileSize));
  put32(out, 0);  // reserved
  put32(out, kFileHeaderSize + kInfoHeaderSize);
  put32(out, kInfoHeaderSize);
  put32(out, std::uint32_t(image.width));
  put32(out, std::uint32_t(image.height));  // positive: bottom-up rows
  put16(out, 1);
  put16(out, 24);
  put32(out, kBiRgb);
  put32(out, std::uint32_t(dataSize));
  put32(out, 2835);  // 72 dpi, as most writers do
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  const std::size_t pad = std::size_t(stride) - std::size_t(image.width) * 3;
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Pixel p = image.at(x, y);
      out.push_back(std::uint8_t(blue(p)));
      out.push_back(std::uint8_t(green(p)));
      out.push_back(std::uint8_t(red(p)));
    }
    out.insert(out.end(), pad, 0);
  }
  return out;
}

}  // namespace vrin
