// LZHUF speed on a skin-sized block (about 220 kB) of picture-like data: 24-bit rows with
// gradients, flat panels, a magenta key border and light noise, plus a settings text.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/lzhuf.h"

namespace {

std::vector<std::uint8_t> skinLikeData() {
  std::vector<std::uint8_t> out;
  std::uint32_t seed = 2024;
  auto rnd = [&] {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    return seed;
  };
  const int sizes[][2] = {{294, 46}, {128, 128}, {230, 22}, {368, 16}, {190, 27}, {96, 23}, {144, 16}, {180, 14}};
  while (out.size() < 220 * 1024) {
    for (const auto& wh : sizes) {
      const int w = wh[0], h = wh[1];
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          std::uint8_t r = std::uint8_t(x * 255 / w), g = std::uint8_t(y * 255 / h), b = 0x90;
          if (x < 2 || y < 2 || x >= w - 2) {
            r = 0xFF, g = 0x00, b = 0xFF;
          } else if ((x / 12 + y / 12) % 4 == 0) {
            r = g = b = 0xC0;
          } else if (rnd() % 6 == 0) {
            b = std::uint8_t(b + rnd() % 7);
          }
          out.push_back(b);
          out.push_back(g);
          out.push_back(r);
        }
        while (out.size() % 4) out.push_back(0);
      }
    }
    const std::string ini = "[Form]\r\nCaptionColor=16777215\r\nButtonFace=12632256\r\nMenuText=0\r\n";
    out.insert(out.end(), ini.begin(), ini.end());
  }
  out.resize(220 * 1024);
  return out;
}

const std::vector<std::uint8_t>& data() {
  static const std::vector<std::uint8_t> d = skinLikeData();
  return d;
}

void BM_LzhCompress(benchmark::State& state) {
  const auto& input = data();
  std::size_t packedSize = 0;
  for (auto _ : state) {
    auto packed = vrin::lzhCompress(input);
    packedSize = packed.size();
    benchmark::DoNotOptimize(packed.data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(input.size()));
  state.counters["input_bytes"] = double(input.size());
  state.counters["packed_bytes"] = double(packedSize);
}
BENCHMARK(BM_LzhCompress)->Unit(benchmark::kMillisecond);

void BM_LzhDecompress(benchmark::State& state) {
  const auto& input = data();
  const auto packed = vrin::lzhCompress(input);
  for (auto _ : state) {
    auto out = vrin::lzhDecompress(packed);
    benchmark::DoNotOptimize(out.data());
  }
  // Measured on the decoded side, as a skin load sees it.
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(input.size()));
  state.counters["packed_bytes"] = double(packed.size());
}
BENCHMARK(BM_LzhDecompress)->Unit(benchmark::kMillisecond);

}  // namespace
