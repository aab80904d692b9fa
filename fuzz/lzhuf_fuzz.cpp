// LZHUF on arbitrary bytes: the decoder must never crash or read out of bounds, and the
// encoder's output must decode back to the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/lzhuf.h"

namespace {
// The size header is attacker-chosen and a short stream still decodes to the full size, so
// every input could ask for the library's 16 MiB limit. 48 KiB keeps runs short while a
// literal-heavy stream can still reach the tree rebuild (after 32 454 symbols).
constexpr std::uint32_t kFuzzSizeLimit = 48 * 1024;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const std::vector<std::uint8_t> out = vrin::lzhDecompress(data, size, kFuzzSizeLimit);
    const std::uint32_t n = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 | std::uint32_t(data[2]) << 16 |
                            std::uint32_t(data[3]) << 24;
    // Exactly the announced size, plus at most the rest of one last match.
    if (out.size() < n || out.size() >= std::size_t(n) + vrin::lzh::kMaxMatch) std::abort();
    // The byte-at-a-time stream path must give the same bytes as the memory path.
    std::vector<std::uint8_t> streamed;
    std::size_t pos = 4;
    vrin::LzhDecoder().decode(
        n,
        [&](std::uint8_t* buffer, std::size_t wanted, std::size_t& got) {
          got = std::min(wanted, size - pos);
          std::copy_n(data + pos, got, buffer);
          pos += got;
        },
        [&](const std::uint8_t* buffer, std::size_t count) { streamed.insert(streamed.end(), buffer, buffer + count); });
    if (streamed != out) std::abort();
  } catch (const vrin::LzhError&) {
    // Missing header or a size over the limit: refused cleanly.
  }

  const std::vector<std::uint8_t> packed = vrin::lzhCompress(data, size);
  const std::vector<std::uint8_t> back =
      vrin::lzhDecompress(packed, std::max<std::uint32_t>(kFuzzSizeLimit, std::uint32_t(size)));
  if (back.size() != size || !std::equal(back.begin(), back.end(), data)) std::abort();
  return 0;
}
