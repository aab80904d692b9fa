#include "core/lzhuf.h"

#include <algorithm>
#include <array>
#include <new>
#include <string>

namespace vrin {

using namespace lzh;

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
  ++rebuilds_;
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
  try {
    freq_.assign(T + 1, 0);
    prnt_.assign(T + kCharCount, 0);
    son_.assign(T, 0);
    ring_.assign(N + F - 1, 0);
  } catch (const std::bad_alloc&) {
    throw LzhError(kLzhNoMemoryMessage);
  }
  read_ = &read;
  rebuilds_ = 0;
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

std::vector<std::uint8_t> lzhDecompress(const std::uint8_t* data, std::size_t size, std::uint32_t sizeLimit,
                                        bool rejectTruncated) {
  if (size < 4) throw LzhError("LZH : compressed data is shorter than its 4-byte size header");
  const std::uint32_t n = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 | std::uint32_t(data[2]) << 16 |
                          std::uint32_t(data[3]) << 24;
  if (n > sizeLimit)
    throw LzhError("LZH : decoded size " + std::to_string(n) + " exceeds the limit of " +
                   std::to_string(sizeLimit) + " bytes");
  std::vector<std::uint8_t> out;
  out.reserve(std::size_t(n) + F);
  std::size_t pos = 4;
  std::size_t pastEnd = 0;
  LzhDecoder decoder;
  decoder.decode(
      n,
      [&](std::uint8_t* buffer, std::size_t wanted, std::size_t& got) {
        got = std::min(wanted, size - pos);
        std::copy_n(data + pos, got, buffer);
        pos += got;
        pastEnd += wanted - got;
        if (rejectTruncated && pastEnd > 1)
          throw LzhError("LZH : compressed data ends after " + std::to_string(out.size()) + " of the " +
                         std::to_string(n) + " bytes it announces");
      },
      [&](const std::uint8_t* buffer, std::size_t count) { out.insert(out.end(), buffer, buffer + count); });
  return out;
}

std::vector<std::uint8_t> lzhDecompress(const std::vector<std::uint8_t>& data, std::uint32_t sizeLimit) {
  return lzhDecompress(data.data(), data.size(), sizeLimit);
}

// ---------------------------------------------------------------------------------------
// Encoder. It keeps its own copy of the adaptive model, written apart from the decoder's
// so that the round-trip tests compare two readings of the algorithm rather than one.

namespace {

class BitSink {
 public:
  explicit BitSink(std::vector<std::uint8_t>& out) : out_(out) {}
  void put(unsigned bit) {
    acc_ = (acc_ << 1) | (bit & 1);
    if (++used_ == 8) {
      out_.push_back(std::uint8_t(acc_));
      acc_ = 0;
      used_ = 0;
    }
  }
  // The `count` low bits of `value`, highest first.
  void putBits(unsigned value, int count) {
    for (int k = count - 1; k >= 0; --k) put((value >> k) & 1);
  }
  void flush() {
    while (used_ != 0) put(0);
  }

 private:
  std::vector<std::uint8_t>& out_;
  unsigned acc_ = 0;
  int used_ = 0;
};

// Nodes are kept sorted by weight; a node's two children sit side by side at child[n] and
// child[n] + 1; a child value of T or more names a leaf (symbol = value - T).
class HuffModel {
 public:
  HuffModel() {
    int pairStart = 0;
    for (int n = 0; n < T; ++n) {
      if (n < kCharCount) {
        weight_[n] = 1;
        child_[n] = n + T;
        parent_[n + T] = n;
      } else {
        weight_[n] = weight_[pairStart] + weight_[pairStart + 1];
        child_[n] = pairStart;
        parent_[pairStart] = n;
        parent_[pairStart + 1] = n;
        pairStart += 2;
      }
    }
    weight_[T] = 0xFFFF;
    parent_[R] = 0;
  }

  // Writes the path from the root to the symbol's leaf, then adapts.
  void encode(int symbol, BitSink& sink) {
    path_.clear();
    for (int n = parent_[symbol + T]; n != R; n = parent_[n]) {
      const int first = child_[parent_[n]];
      path_.push_back(std::uint8_t(n - first));  // 0: first child, 1: its sibling
    }
    for (auto it = path_.rbegin(); it != path_.rend(); ++it) sink.put(*it);
    adapt(symbol);
  }

  unsigned rebuilds() const { return rebuilds_; }

 private:
  void linkChildren(int node) {
    const int c = child_[node];
    parent_[c] = node;
    if (c < T) parent_[c + 1] = node;
  }

  void adapt(int symbol) {
    if (weight_[R] == kMaxFreq) rebuild();
    int n = parent_[symbol + T];
    do {
      const unsigned w = ++weight_[n];
      if (w > weight_[n + 1]) {
        // Move the node past every following node of smaller weight.
        int to = n + 1;
        while (w > weight_[to + 1]) ++to;
        weight_[n] = weight_[to];
        weight_[to] = w;
        std::swap(child_[n], child_[to]);
        linkChildren(n);
        linkChildren(to);
        n = to;
      }
      n = parent_[n];
    } while (n != 0);
  }

  void rebuild() {
    ++rebuilds_;
    std::array<unsigned, T + 1> w{};
    std::array<int, T> c{};
    int count = 0;
    for (int n = 0; n < T; ++n)
      if (child_[n] >= T) {
        w[count] = (weight_[n] + 1) / 2;
        c[count] = child_[n];
        ++count;
      }
    // count == kCharCount here: every symbol has exactly one leaf.
    int pair = 0;
    for (int n = kCharCount; n < T; ++n, pair += 2) {
      const unsigned sum = w[pair] + w[pair + 1];
      int slot = n;
      while (slot > 0 && sum < w[slot - 1]) {
        w[slot] = w[slot - 1];
        c[slot] = c[slot - 1];
        --slot;
      }
      w[slot] = sum;
      c[slot] = pair;
    }
    for (int n = 0; n < T; ++n) {
      weight_[n] = w[n];
      child_[n] = c[n];
    }
    for (int n = 0; n < T; ++n) linkChildren(n);
  }

  std::array<unsigned, T + 1> weight_{};
  std::array<int, T> child_{};
  std::array<int, T + kCharCount> parent_{};
  std::vector<std::uint8_t> path_;
  unsigned rebuilds_ = 0;
};

// Prefix code of the upper six bits of a distance. Values 0, 1-3, 4-11, 12-23, 24-47 and
// 48-63 get 3, 4, 5, 6, 7 and 8 bits: the codes are the leading bits of consecutive first
// bytes, each value owning 32, 16, 8, 4, 2 or 1 byte values.
struct DistancePrefix {
  std::array<std::uint8_t, 64> code{};
  std::array<std::uint8_t, 64> bits{};
};

constexpr DistancePrefix makeDistancePrefix() {
  DistancePrefix p;
  int firstByte = 0;
  for (int v = 0; v < 64; ++v) {
    const int bits = v == 0 ? 3 : v < 4 ? 4 : v < 12 ? 5 : v < 24 ? 6 : v < 48 ? 7 : 8;
    p.bits[v] = std::uint8_t(bits);
    p.code[v] = std::uint8_t(firstByte >> (8 - bits));
    firstByte += 1 << (8 - bits);
  }
  return p;
}

constexpr DistancePrefix kPrefix = makeDistancePrefix();
static_assert(kPrefix.code[63] == 0xFF && kPrefix.bits[63] == 8, "the prefix codes fill the byte range");

// Finds matches in "4036 spaces + input", the history the decoder's ring starts from.
class MatchFinder {
 public:
  static constexpr int kHashBits = 14;
  static constexpr int kMaxChain = 128;
  static constexpr int kWindow = N;  // a copy may start up to a whole ring back

  explicit MatchFinder(const std::vector<std::uint8_t>& text)
      : text_(text), head_(std::size_t(1) << kHashBits, -1), prev_(text.size(), -1) {}

  // Records every position before `upTo` not yet in the chains.
  void insertUpTo(std::size_t upTo) {
    for (; inserted_ < upTo; ++inserted_) {
      if (inserted_ + 3 > text_.size()) continue;
      const std::size_t h = hash(inserted_);
      prev_[inserted_] = head_[h];
      head_[h] = std::ptrdiff_t(inserted_);
    }
  }

  // Longest match for position `pos`, at most `limit` long; returns its length and sets `from`.
  int longest(std::size_t pos, int limit, std::size_t& from) const {
    if (limit < kThreshold + 1 || pos + 3 > text_.size()) return 0;
    int best = 0;
    int chain = kMaxChain;
    for (std::ptrdiff_t cand = head_[hash(pos)]; cand >= 0 && chain-- > 0; cand = prev_[std::size_t(cand)]) {
      const std::size_t p = std::size_t(cand);
      if (p >= pos) continue;
      if (pos - p > std::size_t(kWindow)) break;
      int len = 0;
      while (len < limit && text_[p + len] == text_[pos + len]) ++len;
      if (len > best) {
        best = len;
        from = p;
        if (best == limit) break;
      }
    }
    return best;
  }

 private:
  std::size_t hash(std::size_t p) const {
    const unsigned v = unsigned(text_[p]) << 16 | unsigned(text_[p + 1]) << 8 | text_[p + 2];
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  const std::vector<std::uint8_t>& text_;
  std::vector<std::ptrdiff_t> head_;
  std::vector<std::ptrdiff_t> prev_;
  std::size_t inserted_ = 0;
};

}  // namespace

std::vector<std::uint8_t> lzhCompress(const std::uint8_t* data, std::size_t size, LzhStats* stats) {
  if (size > 0xFFFFFFFFu) throw LzhError("LZH : input too large for a 32-bit size header");
  std::vector<std::uint8_t> out;
  out.reserve(size / 2 + 16);
  for (int k = 0; k < 4; ++k) out.push_back(std::uint8_t(size >> (8 * k)));

  std::vector<std::uint8_t> text(std::size_t(kRingStart), std::uint8_t(' '));
  text.insert(text.end(), data, data + size);

  BitSink sink(out);
  HuffModel model;
  MatchFinder finder(text);
  LzhStats local;

  std::size_t pos = kRingStart;
  while (pos < text.size()) {
    const int limit = int(std::min<std::size_t>(F, text.size() - pos));
    finder.insertUpTo(pos);
    std::size_t from = 0;
    int len = finder.longest(pos, limit, from);
    if (len > kThreshold && len < limit && pos + 1 < text.size()) {
      // One step of lazy matching: a longer match one byte on is worth a literal now.
      finder.insertUpTo(pos + 1);
      std::size_t nextFrom = 0;
      const int nextLimit = int(std::min<std::size_t>(F, text.size() - pos - 1));
      if (finder.longest(pos + 1, nextLimit, nextFrom) > len) len = 0;
    }
    if (len > kThreshold) {
      const unsigned distance = unsigned(pos - from - 1);
      model.encode(255 - kThreshold + len, sink);
      sink.putBits(kPrefix.code[distance >> 6], kPrefix.bits[distance >> 6]);
      sink.putBits(distance & 63, 6);
      pos += std::size_t(len);
      ++local.matches;
    } else {
      model.encode(text[pos], sink);
      ++pos;
      ++local.literals;
    }
  }
  sink.flush();
  local.rebuilds = model.rebuilds();
  if (stats) *stats = local;
  return out;
}

std::vector<std::uint8_t> lzhCompress(const std::vector<std::uint8_t>& data, LzhStats* stats) {
  return lzhCompress(data.data(), data.size(), stats);
}

}  // namespace vrin
