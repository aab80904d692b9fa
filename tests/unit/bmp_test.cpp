// Bitmap files: the writer against the reader, hand-made files of every supported depth and
// header kind, and broken files that must be refused without reading past the buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/bmp.h"

namespace vrin {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, unsigned v) {
  b.push_back(std::uint8_t(v));
  b.push_back(std::uint8_t(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

// A bitmap file with a 40-byte (or larger, zero-filled) info header. `extra` goes right after
// the header (masks, palette); `rows` are the raw stored rows, already padded.
Bytes makeFile(std::int32_t w, std::int32_t h, unsigned bpp, std::uint32_t compression,
               const Bytes& extra, const Bytes& rows, std::uint32_t headerSize = 40,
               std::uint32_t clrUsed = 0) {
  Bytes b = {'B', 'M'};
  const std::uint32_t offBits = 14 + headerSize + std::uint32_t(extra.size());
  put32(b, offBits + std::uint32_t(rows.size()));
  put32(b, 0);
  put32(b, offBits);
  put32(b, headerSize);
  put32(b, std::uint32_t(w));
  put32(b, std::uint32_t(h));
  put16(b, 1);
  put16(b, bpp);
  put32(b, compression);
  put32(b, std::uint32_t(rows.size()));
  put32(b, 0);
  put32(b, 0);
  put32(b, clrUsed);
  put32(b, 0);
  b.resize(14 + headerSize, 0);
  b.insert(b.end(), extra.begin(), extra.end());
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

Bytes palette(std::initializer_list<Pixel> colours) {
  Bytes p;
  for (Pixel c : colours) {
    p.push_back(std::uint8_t(blue(c)));
    p.push_back(std::uint8_t(green(c)));
    p.push_back(std::uint8_t(red(c)));
    p.push_back(0);
  }
  return p;
}

Image decode(const Bytes& b) { return decodeBmp(b.data(), b.size()); }

TEST(BmpTest, WriterOutputReadsBackForEveryRowPadding) {
  for (int w = 1; w <= 5; ++w) {
    Image img(w, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < w; ++x) img.at(x, y) = rgb(x * 40, y * 70, 200 - x * 10 - y);
    const Bytes file = encodeBmp24(img);
    const std::size_t stride = (std::size_t(w) * 3 + 3) / 4 * 4;
    ASSERT_EQ(file.size(), 54 + stride * 3) << "width " << w;
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(file[10], 54);  // pixels right after the two headers
    EXPECT_EQ(file[28], 24);
    // Bottom-up: the first stored row is the picture's last row, blue byte first.
    EXPECT_EQ(file[54], blue(img.at(0, 2)));
    EXPECT_EQ(file[56], red(img.at(0, 2)));
    EXPECT_EQ(decode(file), img) << "width " << w;
    const BmpInfo info = peekBmp(file.data(), file.size());
    EXPECT_EQ(info.width, w);
    EXPECT_EQ(info.height, 3);
    EXPECT_EQ(info.bitsPerPixel, 24);
  }
}

TEST(BmpTest, WriterDropsTheTopByteAndRefusesEmptyPictures) {
  Image img(1, 1, 0xAB123456);
  EXPECT_EQ(decode(encodeBmp24(img)).at(0, 0), 0x00123456u);
  EXPECT_THROW(encodeBmp24(Image{}), BmpError);
  EXPECT_THROW(encodeBmp24(Image(0, 5)), BmpError);
}

TEST(BmpTest, PalettedDepths) {
  const Pixel c0 = rgb(1, 2, 3), c1 = rgb(250, 128, 7);
  // 1 bit: 10 pixels, most significant bit first, two rows bottom-up.
  Bytes rows = {0b10110000, 0b01000000, 0, 0,   // bottom row: 1 0 1 1 0 0 0 0 | 0 1
                0b00000001, 0b10000000, 0, 0};  // top row:    0 0 0 0 0 0 0 1 | 1 0
  Image img = decode(makeFile(10, 2, 1, 0, palette({c0, c1}), rows));
  ASSERT_EQ(img.width, 10);
  EXPECT_EQ(img.at(0, 1), c1);
  EXPECT_EQ(img.at(1, 1), c0);
  EXPECT_EQ(img.at(3, 1), c1);
  EXPECT_EQ(img.at(9, 1), c1);
  EXPECT_EQ(img.at(7, 0), c1);
  EXPECT_EQ(img.at(8, 0), c1);
  EXPECT_EQ(img.at(9, 0), c0);

  // 4 bits: high nibble first; 3 pixels per row.
  const Pixel c2 = rgb(9, 9, 9);
  img = decode(makeFile(3, 1, 4, 0, palette({c0, c1, c2}), {0x21, 0x00, 0, 0}, 40, 3));
  EXPECT_EQ(img.at(0, 0), c2);
  EXPECT_EQ(img.at(1, 0), c1);
  EXPECT_EQ(img.at(2, 0), c0);

  // 8 bits with a palette of 2: index 200 has no entry and reads as black.
  img = decode(makeFile(2, 1, 8, 0, palette({c0, c1}), {1, 200, 0, 0}, 40, 2));
  EXPECT_EQ(img.at(0, 0), c1);
  EXPECT_EQ(img.at(1, 0), 0u);
}

TEST(BmpTest, TopDownAndThirtyTwoBitFiles) {
  // Negative height: rows stored top first. 32 bits BI_RGB: B G R X.
  Bytes rows = {10, 20, 30, 99, 40, 50, 60, 99};
  Image img = decode(makeFile(1, -2, 32, 0, {}, rows));
  ASSERT_EQ(img.height, 2);
  EXPECT_EQ(img.at(0, 0), rgb(30, 20, 10));
  EXPECT_EQ(img.at(0, 1), rgb(60, 50, 40));
}

TEST(BmpTest, BitFieldMasksAreWidenedOrNarrowed) {
  Bytes masks;
  put32(masks, 0x0000F800);  // 5 bits of red
  put32(masks, 0x000007E0);  // 6 bits of green
  put32(masks, 0x0000001F);  // 5 bits of blue
  Bytes rows;
  put32(rows, 0xFFFF);                  // white
  put32(rows, (16u << 11) | (32u << 5));  // half red, half green
  Image img = decode(makeFile(2, 1, 32, 3, masks, rows));
  EXPECT_EQ(img.at(0, 0), rgb(255, 255, 255));
  EXPECT_EQ(img.at(1, 0), rgb(132, 130, 0));

  // A V5 header carries the masks inside; ten-bit channels keep their top eight bits.
  Bytes v5 = makeFile(1, 1, 32, 3, {}, {}, 124);
  const std::uint32_t m[3] = {0x3FF00000, 0x000FFC00, 0x000003FF};
  for (int i = 0; i < 3; ++i)
    for (int k = 0; k < 4; ++k) v5[14 + 40 + i * 4 + k] = std::uint8_t(m[i] >> (8 * k));
  put32(v5, (0x3FFu << 20) | (0x200u << 10) | 0x003u);
  img = decode(v5);
  EXPECT_EQ(img.at(0, 0), rgb(255, 128, 0));
}

TEST(BmpTest, CoreHeaderWithThreeBytePalette) {
  Bytes b = {'B', 'M'};
  put32(b, 0);
  put32(b, 0);
  put32(b, 14 + 12 + 6);
  put32(b, 12);
  put16(b, 2);  // width
  put16(b, 1);  // height
  put16(b, 1);
  put16(b, 8);
  b.insert(b.end(), {3, 2, 1, 6, 5, 4});  // two RGB triples, blue first
  b.insert(b.end(), {1, 0, 0, 0});
  const Image img = decode(b);
  EXPECT_EQ(img.at(0, 0), rgb(4, 5, 6));
  EXPECT_EQ(img.at(1, 0), rgb(1, 2, 3));
}

TEST(BmpTest, LastRowMayLackItsPadding) {
  Bytes file = makeFile(1, 2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0});
  file.pop_back();  // the final pad byte
  EXPECT_EQ(decode(file).at(0, 0), rgb(6, 5, 4));
  file.pop_back();  // now a pixel byte is missing
  EXPECT_THROW(decode(file), BmpError);
}

TEST(BmpTest, BrokenFilesAreRefused) {
  const Bytes good = makeFile(2, 2, 24, 0, {}, Bytes(16, 7));
  ASSERT_NO_THROW(decode(good));
  auto refused = [](Bytes b, const char* why) {
    EXPECT_THROW(decode(b), BmpError) << why;
    EXPECT_THROW(peekBmp(b.data(), b.size()), BmpError) << why;
  };
  for (std::size_t n = 0; n < good.size() - 3; ++n)
    refused(Bytes(good.begin(), good.begin() + std::ptrdiff_t(n)), "truncated");
  EXPECT_THROW(decodeBmp(nullptr, 0), BmpError);

  Bytes b = good;
  b[0] = 'X';
  refused(b, "signature");
  refused(makeFile(0, 2, 24, 0, {}, Bytes(16)), "zero width");
  refused(makeFile(2, 0, 24, 0, {}, Bytes(16)), "zero height");
  refused(makeFile(-2, 2, 24, 0, {}, Bytes(16)), "negative width");
  refused(makeFile(2, 2, 16, 0, {}, Bytes(16)), "16 bits");
  refused(makeFile(2, 2, 8, 1, {}, Bytes(16)), "run-length compression");
  refused(makeFile(2, 2, 24, 3, {}, Bytes(16)), "bit fields on 24 bits");
  refused(makeFile(2, 2, 32, 3, {}, {}), "masks missing");
  refused(makeFile(20000, 1, 1, 0, {}, Bytes(4000)), "side over the cap");
  refused(makeFile(8192, 8192, 1, 0, {}, {}), "pixel count over the cap");
  refused(makeFile(2, 2, 24, 0, {}, Bytes(16), 20), "unknown header size");
  b = good;
  b[26] = 2;  // planes
  refused(b, "planes");
  b = good;
  b[10] = 0xFF;
  b[11] = 0xFF;  // pixel offset far past the end
  refused(b, "offset");
  b = good;
  b[22] = 0;  // height 0x80000000 written over the low bytes
  b[23] = 0;
  b[24] = 0;
  b[25] = 0x80;
  refused(b, "height of -2^31");
}

}  // namespace
}  // namespace vrin
