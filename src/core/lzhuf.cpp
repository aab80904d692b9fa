#include "core/lzhuf.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vrin {

using namespace lzh;

namespace {

constexpr int N = kRingSize;
constexpr int F = kMaxMatch;
constexpr int T = kTreeSize;
constexpr int R = kRoot;
constexpr int kRunPad = 8;  // counts past the sentinel, so the run search may read 8 at a time

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

}  // namespace

// ---------------------------------------------------------------------------------------
// Decoder
//
// One decode loop serves both ways in: a bit source (stream callbacks, or memory with a
// 64-bit buffer) and an output (callbacks through a ring, or one flat buffer that is its own
// history) are template parameters, so the memory path makes no indirect call per bit or byte.

namespace {

// The adaptive model in one block, allocated per decode.
struct Model {
  std::uint16_t freq[T + 1 + kRunPad];
  std::uint16_t prnt[T + kCharCount];
  std::uint16_t son[T];
  unsigned rebuilds = 0;

  void start() {
    for (int i = 0; i < kCharCount; ++i) {
      freq[i] = 1;
      son[i] = std::uint16_t(i + T);
      prnt[i + T] = std::uint16_t(i);
    }
    int i = 0;
    for (int j = kCharCount; j <= R; ++j) {
      freq[j] = std::uint16_t(freq[i] + freq[i + 1]);
      son[j] = std::uint16_t(i);
      prnt[i] = prnt[i + 1] = std::uint16_t(j);
      i += 2;
    }
    // Sentinel that stops the search for a swap partner (and pads the 8-wide search).
    std::fill(freq + T, freq + T + 1 + kRunPad, std::uint16_t(0xFFFF));
    prnt[R] = 0;
  }

  [[gnu::noinline]] void rebuild() {
    ++rebuilds;
    // Leaves to the front, counts halved (rounding up so none drops to zero).
    int j = 0;
    for (int i = 0; i < T; ++i) {
      if (son[i] >= T) {
        freq[j] = std::uint16_t((freq[i] + 1) / 2);
        son[j] = son[i];
        ++j;
      }
    }
    // Internal nodes, each inserted where its count keeps the table in order.
    for (int i = 0, node = kCharCount; node < T; i += 2, ++node) {
      const unsigned f = unsigned(freq[i]) + freq[i + 1];
      int k = node - 1;
      while (f < freq[k]) --k;
      ++k;
      for (int m = node; m > k; --m) {
        freq[m] = freq[m - 1];
        son[m] = son[m - 1];
      }
      freq[k] = std::uint16_t(f);
      son[k] = std::uint16_t(i);
    }
    for (int i = 0; i < T; ++i) {
      const int k = son[i];
      if (k >= T) {
        prnt[k] = std::uint16_t(i);
      } else {
        prnt[k] = prnt[k + 1] = std::uint16_t(i);
      }
    }
  }

  // The counts stay sorted, so the nodes a raised count must pass are the run of its old
  // value right after it. Returns the run's last node, l with f[l] < k <= f[l + 1].
  static int runEnd(const std::uint16_t* f, int first, unsigned k) {
#if defined(__SSE2__)
    // Eight counts at a time; the sentinel and its padding end every run.
    const __m128i bias = _mm_set1_epi16(std::int16_t(0x8000));  // unsigned order via signed compare
    const __m128i key = _mm_xor_si128(_mm_set1_epi16(std::int16_t(k)), bias);
    for (int l = first;; l += 8) {
      const __m128i v = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(f + l + 1)), bias);
      const unsigned below = unsigned(_mm_movemask_epi8(_mm_cmpgt_epi16(key, v)));  // 2 bits per count
      if (below != 0xFFFF) return l + std::countr_one(below) / 2;
    }
#else
    int l = first;
    while (k > f[l + 1]) ++l;
    return l;
#endif
  }

  void update(int symbol) {
    if (freq[R] == kMaxFreq) [[unlikely]] rebuild();
    std::uint16_t* const f = freq;
    std::uint16_t* const s = son;
    std::uint16_t* const p = prnt;
    int c = p[symbol + T];
    do {
      const unsigned k = ++f[c];
      if (k > f[c + 1]) [[unlikely]] {
        const int l = runEnd(f, c + 1, k);
        f[c] = f[l];
        f[l] = std::uint16_t(k);

        const int i = s[c];
        p[i] = std::uint16_t(l);
        if (i < T) p[i + 1] = std::uint16_t(l);

        const int j = s[l];
        s[l] = std::uint16_t(i);
        p[j] = std::uint16_t(c);
        if (j < T) p[j + 1] = std::uint16_t(c);
        s[c] = std::uint16_t(j);
        c = l;
      }
      c = p[c];
    } while (c != 0);
  }

  template <class Bits>
  int decodeSymbol(Bits& in) {
    int c = in.walk(son);
    update(c);
    return c;
  }

  template <class Bits>
  static int decodeDistance(Bits& in) {
    const unsigned b = in.byte();
    const int extra = kDistance.len[b] - 2;
    const unsigned low = (b << extra | in.bits(extra)) & 63;
    return kDistance.code[b] << 6 | int(low);
  }
};

// Byte-at-a-time stream input: refills only when 8 bits or fewer are left, so a reader is
// never asked for more than the bits need plus two bytes.
class StreamBits {
 public:
  explicit StreamBits(const LzhDecoder::ReadFn& read) : read_(read) {}
  void prepare() {}
  unsigned bit() {
    fill();
    const unsigned b = buf_ >> 15;
    buf_ = std::uint16_t(buf_ << 1);
    --count_;
    return b;
  }
  unsigned byte() {
    fill();
    const unsigned b = buf_ >> 8;
    buf_ = std::uint16_t(buf_ << 8);
    count_ -= 8;
    return b;
  }
  unsigned bits(int n) {
    unsigned v = 0;
    for (; n > 0; --n) v = v << 1 | bit();
    return v;
  }
  // Root to leaf, one bit per level; returns the symbol.
  int walk(const std::uint16_t* son) {
    int c = son[R];
    while (c < T) c = son[c + bit()];
    return c - T;
  }

 private:
  void fill() {
    while (count_ <= 8) {
      std::uint8_t b = 0;
      std::size_t got = 0;
      read_(&b, 1, got);
      if (got == 0) b = 0;  // a short stream goes on as zero bits
      buf_ = std::uint16_t(buf_ | (unsigned(b) << (8 - count_)));
      count_ += 8;
    }
  }

  const LzhDecoder::ReadFn& read_;
  std::uint16_t buf_ = 0;
  int count_ = 0;
};

// Memory input through a 64-bit buffer, topped up once per symbol. A code path in the tree
// is normally far shorter than the buffer, but the tree is not trusted to be: the walk
// refills whenever it runs dry.
class MemoryBits {
 public:
  MemoryBits(const std::uint8_t* data, std::size_t length, std::size_t readLimit, const std::size_t& produced,
             std::uint32_t size)
      : p_(data), end_(data + length), limit_(readLimit), produced_(produced), size_(size) {}

  void prepare() {
    if (count_ < 32) refill();
  }
  unsigned bit() {
    if (count_ == 0) refill();
    const unsigned b = unsigned(buf_ >> 63);
    buf_ <<= 1;
    --count_;
    return b;
  }
  unsigned byte() {
    if (count_ < 8) refill();
    const unsigned b = unsigned(buf_ >> 56);
    buf_ <<= 8;
    count_ -= 8;
    return b;
  }
  unsigned bits(int n) {  // 1 to 6
    if (count_ < n) refill();
    const unsigned v = unsigned(buf_ >> (64 - n));
    buf_ <<= n;
    count_ -= n;
    return v;
  }
  // Root to leaf with the buffer in registers; returns the symbol.
  int walk(const std::uint16_t* son) {
    std::uint64_t buf = buf_;
    int count = count_;
    int c = son[R];
    while (c < T) {
      if (count == 0) [[unlikely]] {
        buf_ = buf;
        count_ = 0;
        refill();
        buf = buf_;
        count = count_;
      }
      c = son[c + int(buf >> 63)];
      buf <<= 1;
      --count;
    }
    buf_ = buf;
    count_ = count;
    return c - T;
  }

  // Bits taken so far.
  std::uint64_t consumed() const { return std::uint64_t(loaded_) * 8 - std::uint64_t(count_); }

  // A byte-at-a-time reader keeps more than 8 bits buffered before each read, so the read
  // that takes bit c (counting from 0) has asked for ceil((c + 9) / 8) bytes. The last read
  // of every symbol takes a single bit.
  void checkLimit(std::uint64_t nextBit) const {
    if (limit_ == SIZE_MAX) return;
    if ((nextBit + 9 + 7) / 8 > limit_)
      throw LzhError("LZH : compressed data ends after " + std::to_string(produced_) + " of the " +
                     std::to_string(size_) + " bytes it announces");
  }

 private:
  void refill() {
    if (end_ - p_ >= 8) {
      std::uint64_t w;
      std::memcpy(&w, p_, 8);
      w = toBigEndian(w);
      const int take = (63 - count_) >> 3;  // whole bytes that fit
      buf_ |= (w >> count_) & ~(~std::uint64_t(0) >> (count_ + take * 8));
      p_ += take;
      loaded_ += std::size_t(take);
      count_ += take * 8;
      return;
    }
    // The last few bytes, then zeros for as long as the decode wants them.
    checkLimit(consumed());
    while (count_ <= 56) {
      const std::uint64_t b = p_ < end_ ? *p_++ : 0;
      buf_ |= b << (56 - count_);
      ++loaded_;
      count_ += 8;
    }
  }

  static std::uint64_t toBigEndian(std::uint64_t w) {
    if constexpr (std::endian::native == std::endian::little) return __builtin_bswap64(w);
    return w;
  }

  const std::uint8_t* p_;
  const std::uint8_t* end_;
  std::size_t limit_;
  const std::size_t& produced_;
  std::uint32_t size_;
  std::uint64_t buf_ = 0;  // valid bits at the top
  int count_ = 0;
  std::size_t loaded_ = 0;
};

// Output through the write callback, one byte at a time, with the ring as history.
class StreamOut {
 public:
  StreamOut(const LzhDecoder::WriteFn& write, std::uint8_t* ring) : write_(write), ring_(ring) {
    // Spaces, then zeros where the first bytes will go: a copy from far back may read those.
    std::fill(ring_, ring_ + kRingStart, std::uint8_t(' '));
    std::fill(ring_ + kRingStart, ring_ + N + F - 1, std::uint8_t(0));
  }
  void literal(std::uint8_t b) {
    write_(&b, 1);
    ring_[r_] = b;
    r_ = (r_ + 1) & (N - 1);
    ++produced;
  }
  void copy(int distance, int length) {
    const int start = (r_ - distance - 1) & (N - 1);
    for (int k = 0; k < length; ++k) literal(ring_[(start + k) & (N - 1)]);
  }
  std::size_t produced = 0;

 private:
  const LzhDecoder::WriteFn& write_;
  std::uint8_t* ring_;
  int r_ = kRingStart;
};

// Output into one buffer that is also the history: a copy reaching back before the first
// byte reads the ring's starting contents (spaces, and zeros in its last kMaxMatch places).
class FlatOut {
 public:
  static constexpr std::size_t kSlack = 8;  // room for the last 8-byte copy step

  explicit FlatOut(std::uint8_t* out) : out_(out) {}
  void literal(std::uint8_t b) { out_[produced++] = b; }
  void copy(int distance, int length) {
    std::uint8_t* dst = out_ + produced;
    const std::ptrdiff_t back = std::ptrdiff_t(distance) + 1;
    produced += std::size_t(length);
    if (std::size_t(back) > produced - std::size_t(length)) {
      for (int k = 0; k < length; ++k) {
        const std::ptrdiff_t from = std::ptrdiff_t(dst - out_) + k - back;
        dst[k] = from >= 0 ? out_[from] : from >= -kRingStart ? std::uint8_t(' ') : std::uint8_t(0);
      }
      return;
    }
    const std::uint8_t* src = dst - back;
    if (back >= 8) {
      for (int k = 0; k < length; k += 8) std::memcpy(dst + k, src + k, 8);
    } else {
      for (int k = 0; k < length; ++k) dst[k] = src[k];
    }
  }
  std::size_t produced = 0;

 private:
  std::uint8_t* out_;
};

template <class Bits, class Out>
void decodeLoop(Model& model, std::uint32_t size, Bits& in, Out& out) {
  while (out.produced < size) {
    in.prepare();
    const int c = model.decodeSymbol(in);
    if (c < 256) {
      out.literal(std::uint8_t(c));
    } else {
      const int distance = Model::decodeDistance(in);
      out.copy(distance, c - 255 + kThreshold);
    }
  }
}

// The model and ring, released when the decode ends however it ends.
struct Tables {
  std::uint8_t ring[N + F - 1];
  Model model;
};

std::unique_ptr<Tables> allocateTables() {
  std::unique_ptr<Tables> t(new (std::nothrow) Tables);
  if (!t) throw LzhError(kLzhNoMemoryMessage);
  t->model.start();
  return t;
}

}  // namespace

void LzhDecoder::decode(std::uint32_t size, const ReadFn& read, const WriteFn& write) {
  rebuilds_ = 0;
  const auto tables = allocateTables();
  StreamBits in(read);
  StreamOut out(write, tables->ring);
  decodeLoop(tables->model, size, in, out);
  rebuilds_ = tables->model.rebuilds;
}

void LzhDecoder::decode(std::uint32_t size, const std::uint8_t* data, std::size_t length,
                        std::vector<std::uint8_t>& out, std::size_t readLimit) {
  rebuilds_ = 0;
  const auto tables = allocateTables();
  const std::size_t base = out.size();
  try {
    out.resize(base + std::size_t(size) + F + FlatOut::kSlack);
  } catch (const std::bad_alloc&) {
    throw LzhError(kLzhNoMemoryMessage);
  }
  FlatOut flat(out.data() + base);
  MemoryBits in(data, length, readLimit, flat.produced, size);
  decodeLoop(tables->model, size, in, flat);
  if (in.consumed() > 0) in.checkLimit(in.consumed() - 1);
  out.resize(base + flat.produced);
  rebuilds_ = tables->model.rebuilds;
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
  LzhDecoder decoder;
  // A complete stream needs at most one byte past its end (see the header).
  decoder.decode(n, data + 4, size - 4, out, rejectTruncated ? size - 4 + 1 : SIZE_MAX);
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

  std::vector<std::uint8_t> text(std::size_t(kRingStart) + size);
  std::fill_n(text.begin(), kRingStart, std::uint8_t(' '));
  if (size) std::copy_n(data, size, text.begin() + kRingStart);

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
