#pragma once
// LZHUF: LZSS over a 4096-byte ring with adaptive Huffman coding of literals and match
// lengths. The skin is stored this way: a 32-bit little-endian decoded size, then the
// bit stream (most significant bit first).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

namespace vrin {

struct LzhError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline constexpr char kLzhNoMemoryMessage[] = "LZH : Cannot get memory for dictionary tables";

namespace lzh {
inline constexpr int kRingSize = 4096;                                 // N
inline constexpr int kMaxMatch = 60;                                   // F
inline constexpr int kThreshold = 2;                                   // matches longer than this are coded
inline constexpr int kCharCount = 256 - kThreshold + kMaxMatch;        // N_CHAR = 314 symbols
inline constexpr int kTreeSize = kCharCount * 2 - 1;                   // T = 627 nodes
inline constexpr int kRoot = kTreeSize - 1;                            // R = 626
inline constexpr unsigned kMaxFreq = 0x8000;                           // the root's count that forces a rebuild
inline constexpr int kRingStart = kRingSize - kMaxMatch;               // 4036 bytes of spaces come first
}  // namespace lzh

// Largest decoded size lzhDecompress accepts unless told otherwise. A 4-byte header can
// claim up to 4 GB and a truncated stream still decodes to the full size, so the size
// must be bounded before anything is allocated. Our skins are about 220 kB.
inline constexpr std::uint32_t kLzhDefaultSizeLimit = 16u * 1024 * 1024;

class LzhDecoder {
 public:
  // Reads up to `wanted` bytes into `buffer`, clamped to what the input has left; `got`
  // receives the count (0 at the end of the input).
  using ReadFn = std::function<void(std::uint8_t* buffer, std::size_t wanted, std::size_t& got)>;
  // Appends `count` bytes to the output.
  using WriteFn = std::function<void(const std::uint8_t* buffer, std::size_t count)>;

  // Decodes the bit stream (the part after the size header) until at least `size` bytes are
  // written. The last match is copied whole, so up to kMaxMatch - 1 bytes more may come out.
  // Input past the end reads as zero bytes. The tables live only for the call. Stream readers
  // get one byte asked for at a time, and at most two bytes beyond what the bits need, and
  // `write` gets one byte at a time.
  void decode(std::uint32_t size, const ReadFn& read, const WriteFn& write);

  // The same decode straight from and into memory: `out` receives everything produced. With
  // `readLimit`, a stream whose bits would need more than that many bytes (counted as a
  // byte-at-a-time reader would be asked for them) throws LzhError instead of going on.
  void decode(std::uint32_t size, const std::uint8_t* data, std::size_t length, std::vector<std::uint8_t>& out,
              std::size_t readLimit = SIZE_MAX);

  // How often the last decode halved its frequencies and rebuilt the tree.
  unsigned rebuilds() const { return rebuilds_; }

 private:
  unsigned rebuilds_ = 0;
};

struct LzhStats {
  std::size_t literals = 0;
  std::size_t matches = 0;
  unsigned rebuilds = 0;
};

// Size header + bit stream for `data`. Greedy-with-one-step-lazy matching over the same ring,
// model and distance coding the decoder uses.
std::vector<std::uint8_t> lzhCompress(const std::uint8_t* data, std::size_t size, LzhStats* stats = nullptr);
std::vector<std::uint8_t> lzhCompress(const std::vector<std::uint8_t>& data, LzhStats* stats = nullptr);

// Reads the size header and decodes. Throws LzhError when the header is missing or claims
// more than `sizeLimit` bytes. Returns everything the decoder produced (see decode()).
// With `rejectTruncated`, a stream that runs out before its announced size also throws: a
// complete stream is read at most one byte past its end (the decoder keeps 9 to 16 bits
// buffered), so more than that means it was cut short and the rest would be made up.
std::vector<std::uint8_t> lzhDecompress(const std::uint8_t* data, std::size_t size,
                                        std::uint32_t sizeLimit = kLzhDefaultSizeLimit,
                                        bool rejectTruncated = false);
std::vector<std::uint8_t> lzhDecompress(const std::vector<std::uint8_t>& data,
                                        std::uint32_t sizeLimit = kLzhDefaultSizeLimit);

}  // namespace vrin
