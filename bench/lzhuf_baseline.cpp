#include "lzhuf_baseline.h"

#include <algorithm>
#include <array>

namespace baseline {

namespace {
constexpr int kRingSize = 4096;
constexpr int kMaxMatch = 60;
constexpr int kThreshold = 2;
constexpr int kCharCount = 256 - kThreshold + kMaxMatch;
constexpr int kTreeSize = kCharCount * 2 - 1;
constexpr int kRoot = kTreeSize - 1;
constexpr unsigned kMaxFreq = 0x8000;
constexpr int kRingStart = kRingSize - kMaxMatch;
}  // namespace

namespace {

constexpr int N = kRingSize;
constexpr int F = kMaxMatch;
constexpr int T = kTreeSize;
constexpr int R = kRoot;

// Decoding tables for the upper six bits of a distance, indexed by the first byte read:
// the value, and how many bits its prefix code takes (the rest of the byte, and six more
// bits after it, are the lower six bits of the distance).
struct DistanceTables {
  std::array<std::uint8_t, 256> code{};
  std::array<std::uint8_t, 256> len{};
};

constexpr DistanceTables makeDistanceTables() {
  DistanceTables t;
  // (bytes per value, first value, last value, prefix length)
  constexpr int runs[6][4] = {{32, 0, 0, 3},  {16, 1, 3, 4},   {8, 4, 11, 5},
                              {4, 12, 23, 6}, {2, 24, 47, 7}, {1, 48, 63, 8}};
  int b = 0;
  for (const auto& run : runs)
    for (int v = run[1]; v <= run[2]; ++v)
      for (int k = 0; k < run[0]; ++k) {
        t.code[b] = std::uint8_t(v);
        t.len[b] = std::uint8_t(run[3]);
        ++b;
      }
  return t;
}

constexpr DistanceTables kDistance = makeDistanceTables();

// Frees the decoder's tables when a decode ends, however it ends.
template <class Fn>
struct AtExit {
  Fn fn;
  ~AtExit() { fn(); }
};
template <class Fn>
AtExit(Fn) -> AtExit<Fn>;

}  // namespace

// ---------------------------------------------------------------------------------------
// Decoder

void LzhDecoder::startModel() {
  for (int i = 0; i < kCharCount; ++i) {
    freq_[i] = 1;
    son_[i] = std::uint16_t(i + T);
    prnt_[i + T] = std::uint16_t(i);
  }
  int i = 0;
  for (int j = kCharCount; j <= R; ++j) {
    freq_[j] = std::uint16_t(freq_[i] + freq_[i + 1]);
    son_[j] = std::uint16_t(i);
    prnt_[i] = prnt_[i + 1] = std::uint16_t(j);
    i += 2;
  }
  freq_[T] = 0xFFFF;  // sentinel that stops the search for a swap partner
  prnt_[R] = 0;
}

void LzhDecoder::rebuildTree() {
  // Leaves to the front, counts halved (rounding up so none drops to zero).
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (son_[i] >= T) {
      freq_[j] = std::uint16_t((freq_[i] + 1) / 2);
      son_[j] = son_[i];
      ++j;
    }
  }
  // Internal nodes, each inserted where its count keeps the table in order.
  for (int i = 0, node = kCharCount; node < T; i += 2, ++node) {
    const unsigned f = unsigned(freq_[i]) + freq_[i + 1];
    int k = node - 1;
    while (f < freq_[k]) --k;
    ++k;
    for (int m = node; m > k; --m) {
      freq_[m] = freq_[m - 1];
      son_[m] = son_[m - 1];
    }
    freq_[k] = std::uint16_t(f);
    son_[k] = std::uint16_t(i);
  }
  for (int i = 0; i < T; ++i) {
    const int k = son_[i];
    if (k >= T) {
      prnt_[k] = std::uint16_t(i);
    } else {
      prnt_[k] = prnt_[k + 1] = std::uint16_t(i);
    }
  }
}

void LzhDecoder::update(int symbol) {
  if (freq_[R] == kMaxFreq) rebuildTree();
  int c = prnt_[symbol + T];
  do {
    const unsigned k = ++freq_[c];
    if (k > freq_[c + 1]) {
      int l = c + 1;
      while (k > freq_[l + 1]) ++l;
      freq_[c] = freq_[l];
      freq_[l] = std::uint16_t(k);

      const int i = son_[c];
      prnt_[i] = std::uint16_t(l);
      if (i < T) prnt_[i + 1] = std::uint16_t(l);

      const int j = son_[l];
      son_[l] = std::uint16_t(i);
      prnt_[j] = std::uint16_t(c);
      if (j < T) prnt_[j + 1] = std::uint16_t(c);
      son_[c] = std::uint16_t(j);
      c = l;
    }
    c = prnt_[c];
  } while (c != 0);
}

void LzhDecoder::fillBits() {
  while (bitCount_ <= 8) {
    std::uint8_t b = 0;
    std::size_t got = 0;
    (*read_)(&b, 1, got);
    if (got == 0) b = 0;  // a short stream goes on as zero bits
    bitBuf_ = std::uint16_t(bitBuf_ | (unsigned(b) << (8 - bitCount_)));
    bitCount_ = std::uint8_t(bitCount_ + 8);
  }
}

int LzhDecoder::getBit() {
  fillBits();
  const int bit = bitBuf_ >> 15;
  bitBuf_ = std::uint16_t(bitBuf_ << 1);
  --bitCount_;
  return bit;
}

int LzhDecoder::getByte() {
  fillBits();
  const int byte = bitBuf_ >> 8;
  bitBuf_ = std::uint16_t(bitBuf_ << 8);
  bitCount_ = std::uint8_t(bitCount_ - 8);
  return byte;
}

int LzhDecoder::decodeSymbol() {
  int c = son_[R];
  while (c < T) c = son_[c + getBit()];
  c -= T;
  update(c);
  return c;
}

int LzhDecoder::decodeDistance() {
  int b = getByte();
  const int upper = kDistance.code[b];
  for (int n = kDistance.len[b] - 2; n > 0; --n) b = (b << 1) + getBit();
  return (upper << 6) | (b & 63);
}

void LzhDecoder::decode(std::uint32_t size, const ReadFn& read, const WriteFn& write) {
  AtExit release{[this] {
    freq_ = {};
    prnt_ = {};
    son_ = {};
    ring_ = {};
    read_ = nullptr;
  }};
  freq_.assign(T + 1, 0);
  prnt_.assign(T + kCharCount, 0);
  son_.assign(T, 0);
  ring_.assign(N + F - 1, 0);
  read_ = &read;
  bitBuf_ = 0;
  bitCount_ = 0;
  startModel();
  std::fill(ring_.begin(), ring_.begin() + kRingStart, std::uint8_t(' '));
  int r = kRingStart;

  std::uint64_t count = 0;
  while (count < size) {
    const int c = decodeSymbol();
    if (c < 256) {
      const std::uint8_t b = std::uint8_t(c);
      write(&b, 1);
      ring_[r] = b;
      r = (r + 1) & (N - 1);
      ++count;
    } else {
      const int start = (r - decodeDistance() - 1) & (N - 1);
      const int length = c - 255 + kThreshold;
      for (int k = 0; k < length; ++k) {
        const std::uint8_t b = ring_[(start + k) & (N - 1)];
        write(&b, 1);
        ring_[r] = b;
        r = (r + 1) & (N - 1);
        ++count;
      }
    }
  }
}

std::vector<std::uint8_t> lzhDecompress(const std::vector<std::uint8_t>& data) {
  const std::uint32_t n = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 | std::uint32_t(data[2]) << 16 |
                          std::uint32_t(data[3]) << 24;
  std::vector<std::uint8_t> out;
  out.reserve(std::size_t(n) + F);
  std::size_t pos = 4;
  LzhDecoder decoder;
  decoder.decode(
      n,
      [&](std::uint8_t* buffer, std::size_t wanted, std::size_t& got) {
        got = std::min(wanted, data.size() - pos);
        std::copy_n(data.data() + pos, got, buffer);
        pos += got;
      },
      [&](const std::uint8_t* buffer, std::size_t count) { out.insert(out.end(), buffer, buffer + count); });
  return out;
}

}  // namespace baseline
