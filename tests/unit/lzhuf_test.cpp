// LZHUF codec: the decoder against streams worked out by hand, the encoder against the same
// streams, then round trips over varied data.
//
// How the hand streams were derived. The model starts with 314 leaves (symbols 0..313) at
// nodes 0..313, all of count 1, and internal node 314 + m whose children are nodes 2m and
// 2m + 1, so the parent of node c is 314 + c / 2 and the bit that leads to it is c & 1.
// Counts of the internal nodes that matter below:
//   314..470: 2     471..548: 4    549: 6 (children 470, 471)
//   550..587: 8     588: 10        589..607: 16     608: 26 (588, 589)
//   609..617: 32    618: 58        619..622: 64     623: 122 (618, 619)
//   624: 128        625: 186       626 (root): 314 (624, 625)
// A code is read from the root down: the bit of each node on the path from the leaf up.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/lzhuf.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// "0101..." -> bytes, most significant bit first, last byte padded with zeros.
Bytes bitsToBytes(const std::string& bits) {
  Bytes out((bits.size() + 7) / 8, 0);
  for (std::size_t i = 0; i < bits.size(); ++i)
    if (bits[i] == '1') out[i / 8] |= std::uint8_t(0x80 >> (i % 8));
  return out;
}

Bytes withSize(std::uint32_t n, const Bytes& payload) {
  Bytes out{std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)};
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Decodes through LzhDecoder directly, checking the callback contract on the way.
Bytes decodeRaw(std::uint32_t n, const Bytes& payload, unsigned* rebuilds = nullptr) {
  Bytes out;
  std::size_t pos = 0;
  vrin::LzhDecoder decoder;
  decoder.decode(
      n,
      [&](std::uint8_t* buf, std::size_t wanted, std::size_t& got) {
        EXPECT_EQ(wanted, 1u);
        got = std::min(wanted, payload.size() - pos);
        if (got) buf[0] = payload[pos];
        pos += got;
      },
      [&](const std::uint8_t* buf, std::size_t count) {
        EXPECT_EQ(count, 1u);
        out.insert(out.end(), buf, buf + count);
      });
  if (rebuilds) *rebuilds = decoder.rebuilds();
  return out;
}

// 'A' (65) at the start: leaf 65 -> 346 (bit 1) -> 487 (0) -> 557 (1) -> 592 (1) -> 610 (0)
// -> 619 (0) -> 623 (1) -> 625 (1) -> 626 (1). Root down: 111001101.
const std::string kA0 = "111001101";
// Updating for 'A': count of node 65 becomes 2 > 1, the last node of count 1 is 313, so
// leaves 65 and 313 swap; then 470: 3 (next 471 is 4), 549: 7 (<= 8), 588: 11 (<= 16),
// 608: 27 (<= 32), 618: 59 (<= 64), 623: 123 (<= 128), 625: 187, root 315; no more swaps.
// 'A' now at 313: 313 (1) -> 470 (0) -> 549 (1) -> 588 (0) -> 608 (0) -> 618 (0) -> 623 (1)
// -> 625 (1). Root down: 11000101.
const std::string kA1 = "11000101";
// 'B' (66) after one 'A': node 66 was not touched: 66 (0) -> 347 (1) -> 487 (1) -> 557 (1)
// -> 592 (0) -> 610 (0) -> 619 (1) -> 623 (1) -> 625 (1). Root down: 111001110.
const std::string kB0 = "111001110";
// Match length 3 is symbol 256, length 4 symbol 257 (length = symbol - 253).
// 256: 256 (0) -> 442 (0) -> 535 (1) -> 581 (1) -> 604 (0) -> 616 (0) -> 622 (0) -> 625 (1):
// root down 10001100. 257 differs only in its own bit: 10001101. Neither path is changed
// by the updates for 'A' and 'B' (they only swapped leaves 65/313 and 66/312).
const std::string kLen3 = "10001100";
const std::string kLen4 = "10001101";
// Length 10 is symbol 263: 263 (1) -> 445 (1) -> 536 (0) -> 582 (0) -> 605 (1) -> 616 (0)
// -> 622 (0) -> 625 (1). Root down: 10010011.
const std::string kLen10 = "10010011";

TEST(LzhDecoderHand, LiteralsFollowTheAdaptingTree) {
  // "A": 9 bits, 11100110 1|0000000 = E6 80.
  EXPECT_EQ(vrin::lzhDecompress(Bytes{0x01, 0, 0, 0, 0xE6, 0x80}), text("A"));
  // "AA": 111001101 11000101 = E6 E2 80; the second 'A' needs the tree after the update.
  EXPECT_EQ(vrin::lzhDecompress(Bytes{0x02, 0, 0, 0, 0xE6, 0xE2, 0x80}), text("AA"));
  EXPECT_EQ(bitsToBytes(kA0 + kA1), (Bytes{0xE6, 0xE2, 0x80}));
  // An empty output needs no input at all.
  EXPECT_TRUE(vrin::lzhDecompress(Bytes{0, 0, 0, 0}).empty());
}

TEST(LzhDecoderHand, OverlappingMatchRepeatsTheLastBytes) {
  // "AB" then length 4 from distance 1: the copy starts at r - 2 = the 'A' and reads bytes
  // it has just written. Distance 1: upper six bits 0 -> prefix 000, lower six 000001.
  // 111001101 111001110 10001101 000000001 -> E6 F3 A3 40 20.
  const Bytes stream = withSize(6, Bytes{0xE6, 0xF3, 0xA3, 0x40, 0x20});
  EXPECT_EQ(bitsToBytes(kA0 + kB0 + kLen4 + "000" + "000001"), Bytes(stream.begin() + 4, stream.end()));
  EXPECT_EQ(vrin::lzhDecompress(stream), text("ABABAB"));
  // The same with distance 0 repeats the 'B' alone.
  EXPECT_EQ(vrin::lzhDecompress(withSize(6, bitsToBytes(kA0 + kB0 + kLen4 + "000" + "000000"))), text("ABBBBB"));
}

TEST(LzhDecoderHand, RingStartsWithSpacesAndShortInputReadsAsZero) {
  // Length 10 from distance 0 before any literal copies the ring's initial spaces.
  // 10010011 000000000 -> 93 00 00; the trailing zero bytes may as well be missing.
  const Bytes spaces(10, ' ');
  EXPECT_EQ(vrin::lzhDecompress(Bytes{0x0A, 0, 0, 0, 0x93, 0x00, 0x00}), spaces);
  EXPECT_EQ(vrin::lzhDecompress(Bytes{0x0A, 0, 0, 0, 0x93}), spaces);
  EXPECT_EQ(bitsToBytes(kLen10 + "000000000"), (Bytes{0x93, 0x00, 0x00}));
  // With no bit stream at all every bit is 0, which still yields the full size (give or
  // take a last match running past it).
  const std::size_t fromNothing = vrin::lzhDecompress(Bytes{0x40, 0, 0, 0}).size();
  EXPECT_GE(fromNothing, 64u);
  EXPECT_LT(fromNothing, 64u + 60u);
  // The farthest copy at the start reads the ring's last places, not yet written: zeros, by
  // both ways in. Distance 4095 is first byte FF (upper six bits 63) and six 1 bits.
  const Bytes farCopy = bitsToBytes(kLen4 + "11111111" + "111111");
  EXPECT_EQ(vrin::lzhDecompress(withSize(4, farCopy)), Bytes(4, 0));
  EXPECT_EQ(decodeRaw(4, farCopy), Bytes(4, 0));
}

TEST(LzhDecoderHand, LastCopyRunsPastTheSize) {
  // The same 10-space match with N = 3: the copy is not cut short.
  EXPECT_EQ(decodeRaw(3, Bytes{0x93}), Bytes(10, ' '));
}

TEST(LzhDecoderHand, EveryDistancePrefixLengthKeepsTheStreamAligned) {
  // 'A', a length-3 match, then 'A' again. After 'A' the ring position is 4037, so any
  // distance 1..4035 copies spaces and the output is "A   A" -- but only if the decoder takes
  // exactly the prefix's bits plus six, or the last 'A' comes out wrong.
  // After the update for symbol 256 (leaves 256 and 312 swap; ancestors 470..626 grow by one
  // without overtaking their neighbours) 'A' still has code 11000101.
  // Prefix of upper value u: the leading bits of its first byte value in the decoding table
  // (u = 0: bytes 0-31, 1-3: 16 each from 32, 4-11: 8 each from 80, 12-23: 4 each from 144,
  // 24-47: 2 each from 192, 48-63: 1 each from 240).
  struct Row {
    int distance;
    const char* prefix;
    const char* low;
  };
  const Row rows[] = {
      {5, "000", "000101"},           // u = 0, byte 0
      {64 + 5, "0010", "000101"},     // u = 1, byte 32
      {3 * 64 + 5, "0100", "000101"}, // u = 3, byte 64
      {4 * 64 + 5, "01010", "000101"},    // u = 4, byte 80
      {11 * 64 + 5, "10001", "000101"},   // u = 11, byte 136
      {12 * 64 + 5, "100100", "000101"},  // u = 12, byte 144
      {23 * 64 + 5, "101111", "000101"},  // u = 23, byte 188
      {24 * 64 + 5, "1100000", "000101"}, // u = 24, byte 192
      {47 * 64 + 5, "1110111", "000101"}, // u = 47, byte 238
      {48 * 64 + 5, "11110000", "000101"},   // u = 48, byte 240
      {62 * 64 + 32, "11111110", "100000"},  // u = 62, byte 254
      {63 * 64 + 3, "11111111", "000011"},   // u = 63, byte 255
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.distance);
    const Bytes stream = withSize(5, bitsToBytes(kA0 + kLen3 + row.prefix + row.low + kA1));
    EXPECT_EQ(vrin::lzhDecompress(stream), text("A   A"));
  }
  // The d = 4000 row spelled out: E6 C6 7F 41 8A.
  EXPECT_EQ(vrin::lzhDecompress(Bytes{5, 0, 0, 0, 0xE6, 0xC6, 0x7F, 0x41, 0x8A}), text("A   A"));
  // A distance that reaches the 'A' itself (0) instead gives "AAAAA".
  EXPECT_EQ(vrin::lzhDecompress(withSize(5, bitsToBytes(kA0 + kLen3 + "000" + "000000" + kA1))), text("AAAAA"));
}

TEST(LzhEncoder, ProducesTheHandDerivedStreams) {
  EXPECT_EQ(vrin::lzhCompress(text("A")), (Bytes{1, 0, 0, 0, 0xE6, 0x80}));
  EXPECT_EQ(vrin::lzhCompress(text("AA")), (Bytes{2, 0, 0, 0, 0xE6, 0xE2, 0x80}));
  EXPECT_EQ(vrin::lzhCompress(text("ABABAB")), (Bytes{6, 0, 0, 0, 0xE6, 0xF3, 0xA3, 0x40, 0x20}));
  // Ten spaces match the ring's initial spaces at distance 0.
  EXPECT_EQ(vrin::lzhCompress(Bytes(10, ' ')), (Bytes{10, 0, 0, 0, 0x93, 0x00, 0x00}));
  EXPECT_EQ(vrin::lzhCompress(Bytes{}), (Bytes{0, 0, 0, 0}));
}

TEST(LzhDecompress, RejectsMissingHeaderAndOversizedClaims) {
  EXPECT_THROW(vrin::lzhDecompress(Bytes{}), vrin::LzhError);
  EXPECT_THROW(vrin::lzhDecompress(Bytes{1, 0, 0}), vrin::LzhError);
  // A forged header asking for 4 GB fails before anything is allocated or decoded.
  EXPECT_THROW(vrin::lzhDecompress(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x12}), vrin::LzhError);
  EXPECT_THROW(vrin::lzhDecompress(Bytes{0x00, 0x10, 0, 0}, 4095), vrin::LzhError);
  EXPECT_GE(vrin::lzhDecompress(Bytes{0x00, 0x10, 0, 0}, 4096).size(), 4096u);
  try {
    vrin::lzhDecompress(Bytes{0, 0, 0, 2});
    FAIL() << "no error";
  } catch (const vrin::LzhError& e) {
    EXPECT_NE(std::string(e.what()).find("33554432"), std::string::npos) << e.what();
  }
}

// --- Round trips ---------------------------------------------------------------------

std::uint32_t nextRandom(std::uint32_t& s) {
  s ^= s << 13;
  s ^= s >> 17;
  s ^= s << 5;
  return s;
}

Bytes randomBytes(std::size_t n, std::uint32_t seed) {
  Bytes b(n);
  for (auto& x : b) x = std::uint8_t(nextRandom(seed) >> 24);
  return b;
}

Bytes proseText(std::size_t n) {
  static const char* words[] = {"skin ", "frame ", "the ", "popup ", "window ", "caption ", "menu\r\n",
                                "[Form]\r\n", "Color=", "16777215\r\n", "bitmap ", "tray ", "of ", "a "};
  std::uint32_t seed = 7;
  std::string s;
  while (s.size() < n) s += words[nextRandom(seed) % (sizeof words / sizeof *words)];
  s.resize(n);
  return text(s);
}

// A 24-bit bottom-up picture as the skin holds them: gradients, flat areas, a magenta key
// colour border and a little noise.
Bytes pictureLike(int width, int height) {
  Bytes b;
  const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
  std::uint32_t seed = 99;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t r = std::uint8_t(x * 255 / width), g = std::uint8_t(y * 255 / height), bl = 0x80;
      if (x < 3 || y < 3 || x >= width - 3) r = 0xFF, g = 0, bl = 0xFF;
      else if ((x / 16 + y / 16) % 5 == 0) r = g = bl = 0xC0;
      else if (nextRandom(seed) % 8 == 0) bl = std::uint8_t(bl + nextRandom(seed) % 5);
      b.push_back(bl);
      b.push_back(g);
      b.push_back(r);
    }
    b.resize(b.size() + stride - std::size_t(width) * 3, 0);
  }
  return b;
}

void expectRoundTrip(const Bytes& input, vrin::LzhStats* stats = nullptr) {
  const Bytes packed = vrin::lzhCompress(input, stats);
  ASSERT_GE(packed.size(), 4u);
  const Bytes back = vrin::lzhDecompress(packed);
  ASSERT_EQ(back.size(), input.size());
  EXPECT_TRUE(back == input);
}

TEST(LzhRoundTrip, SmallAndBoundarySizes) {
  for (std::size_t n : {0u, 1u, 2u, 3u, 4u, 59u, 60u, 61u, 119u, 120u, 4035u, 4036u, 4096u, 4097u}) {
    SCOPED_TRACE(n);
    expectRoundTrip(proseText(n));
    expectRoundTrip(Bytes(n, 0x00));
    expectRoundTrip(Bytes(n, ' '));
  }
}

TEST(LzhRoundTrip, TextCompressesAndComesBack) {
  const Bytes input = proseText(50000);
  vrin::LzhStats stats;
  expectRoundTrip(input, &stats);
  EXPECT_GT(stats.matches, 1000u);
  EXPECT_LT(vrin::lzhCompress(input).size(), input.size() / 2);
}

TEST(LzhRoundTrip, BinaryAndRandomData) {
  Bytes binary;
  for (std::uint32_t i = 0; i < 20000; ++i)
    for (int k = 0; k < 4; ++k) binary.push_back(std::uint8_t((i * 2654435761u) >> (8 * k)));
  expectRoundTrip(binary);
  // 100 000 random bytes are mostly literals: over 3 rebuilds of the tree on each side.
  const Bytes random = randomBytes(100000, 12345);
  vrin::LzhStats stats;
  expectRoundTrip(random, &stats);
  EXPECT_GE(stats.rebuilds, 3u);
  unsigned decoderRebuilds = 0;
  const Bytes packed = vrin::lzhCompress(random);
  EXPECT_EQ(decodeRaw(std::uint32_t(random.size()), Bytes(packed.begin() + 4, packed.end()), &decoderRebuilds),
            random);
  EXPECT_EQ(decoderRebuilds, stats.rebuilds);
}

TEST(LzhRoundTrip, LongZeroRunDrivesTheTreeRebuild) {
  // Zeros code as length-60 matches; the root count starts at 314 and reaches 0x8000 after
  // 32454 symbols, about 1.95 MB here. 3 MB goes well past the first rebuild.
  const Bytes zeros(3'000'000, 0);
  vrin::LzhStats stats;
  const Bytes packed = vrin::lzhCompress(zeros, &stats);
  EXPECT_GT(stats.matches + stats.literals, 32454u);
  EXPECT_GE(stats.rebuilds, 1u);
  unsigned decoderRebuilds = 0;
  const Bytes back = decodeRaw(std::uint32_t(zeros.size()), Bytes(packed.begin() + 4, packed.end()), &decoderRebuilds);
  EXPECT_EQ(decoderRebuilds, stats.rebuilds);
  ASSERT_EQ(back.size(), zeros.size());
  EXPECT_TRUE(back == zeros);
}

TEST(LzhRoundTrip, PictureLikeDataAndFarMatches) {
  const Bytes picture = pictureLike(294, 160);
  expectRoundTrip(picture);
  EXPECT_LT(vrin::lzhCompress(picture).size(), picture.size());
  // A random block repeated exactly one ring length later matches at the longest distance.
  Bytes periodic = randomBytes(4096, 3);
  const Bytes again = periodic;
  periodic.insert(periodic.end(), again.begin(), again.end());
  vrin::LzhStats stats;
  expectRoundTrip(periodic, &stats);
  EXPECT_LT(stats.literals, 4096u + 200u);
}

TEST(LzhRoundTrip, TruncatedStreamsStillYieldTheFullSize) {
  const Bytes input = proseText(20000);
  const Bytes packed = vrin::lzhCompress(input);
  for (std::size_t keep : {std::size_t(4), std::size_t(5), packed.size() / 2, packed.size() - 1}) {
    SCOPED_TRACE(keep);
    const Bytes back = vrin::lzhDecompress(Bytes(packed.begin(), packed.begin() + std::ptrdiff_t(keep)));
    EXPECT_GE(back.size(), input.size());
    EXPECT_LT(back.size(), input.size() + 60);
  }
  // Losing the last byte only touches what its 8 bits coded: at most 8 symbols of 60 bytes.
  const Bytes back = vrin::lzhDecompress(Bytes(packed.begin(), packed.end() - 1));
  EXPECT_TRUE(std::equal(input.begin(), input.end() - 480, back.begin()));
}

// The memory path refuses a cut stream exactly where a byte-at-a-time reader would have been
// asked for more than one byte past the end, and agrees with the stream path on the bytes.
void expectCutHandledLikeAByteReader(const Bytes& input, std::size_t cut) {
  const Bytes packed = vrin::lzhCompress(input);
  const Bytes kept(packed.begin(), packed.end() - std::ptrdiff_t(std::min(cut, packed.size() - 4)));
  std::size_t asked = 0;
  vrin::LzhDecoder().decode(
      std::uint32_t(input.size()),
      [&](std::uint8_t* buf, std::size_t, std::size_t& got) {
        got = asked < kept.size() - 4 ? 1 : 0;
        if (got) buf[0] = kept[4 + asked];
        ++asked;
      },
      [](const std::uint8_t*, std::size_t) {});
  if (asked > kept.size() - 4 + 1) {
    EXPECT_THROW(vrin::lzhDecompress(kept.data(), kept.size(), vrin::kLzhDefaultSizeLimit, true), vrin::LzhError);
  } else {
    EXPECT_EQ(vrin::lzhDecompress(kept.data(), kept.size(), vrin::kLzhDefaultSizeLimit, true),
              vrin::lzhDecompress(kept));
  }
}

TEST(LzhDecompress, RejectsCutStreamsWhereAByteReaderWouldRunPastTheEnd) {
  Bytes input = proseText(30000);
  const Bytes noise = randomBytes(40000, 5);  // mostly literals: a tree rebuild on the way
  input.insert(input.end(), noise.begin(), noise.end());
  input.resize(input.size() + 5000, 0);
  unsigned rebuilds = 0;
  const Bytes packed = vrin::lzhCompress(input);
  EXPECT_EQ(decodeRaw(std::uint32_t(input.size()), Bytes(packed.begin() + 4, packed.end()), &rebuilds), input);
  EXPECT_GE(rebuilds, 1u);
  EXPECT_EQ(vrin::lzhDecompress(packed.data(), packed.size(), vrin::kLzhDefaultSizeLimit, true), input);
  for (std::size_t cut : {std::size_t(1), std::size_t(2), packed.size() / 3}) {
    SCOPED_TRACE(cut);
    expectCutHandledLikeAByteReader(input, cut);
  }
  // Streams ending at every bit position of their last byte, whole and one or two bytes short.
  for (std::size_t n = 1000; n < 1024; ++n)
    for (std::size_t cut = 0; cut < 3; ++cut) {
      SCOPED_TRACE(testing::Message() << n << " bytes, cut " << cut);
      expectCutHandledLikeAByteReader(proseText(n), cut);
    }
}

}  // namespace
