// LZHUF speed on two inputs: a skin-sized block (about 220 kB) of picture-like data (24-bit
// rows with gradients, flat panels, a magenta key border and light noise, plus a settings
// text), and 4 MB mixed of prose, pictures, packed integers, random bytes and zero runs.
// Decoding is timed for the current decoder and for the one it replaced, in the same run,
// after checking that both give the same bytes; time_per_MB is per decoded megabyte.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/lzhuf.h"
#include "lzhuf_baseline.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Random {
  std::uint32_t seed;
  std::uint32_t operator()() {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    return seed;
  }
};

void appendPicture(Bytes& out, int w, int h, Random& rnd) {
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

Bytes skinLikeData() {
  Bytes out;
  Random rnd{2024};
  const int sizes[][2] = {{294, 46}, {128, 128}, {230, 22}, {368, 16}, {190, 27}, {96, 23}, {144, 16}, {180, 14}};
  while (out.size() < 220 * 1024) {
    for (const auto& wh : sizes) appendPicture(out, wh[0], wh[1], rnd);
    const std::string ini = "[Form]\r\nCaptionColor=16777215\r\nButtonFace=12632256\r\nMenuText=0\r\n";
    out.insert(out.end(), ini.begin(), ini.end());
  }
  out.resize(220 * 1024);
  return out;
}

Bytes mixedData() {
  static const char* words[] = {"skin ", "frame ", "the ", "popup ", "window ", "caption ", "menu\r\n",
                                "[Form]\r\n", "Color=", "16777215\r\n", "bitmap ", "tray ", "of ", "a ",
                                "http://ads.example.com/", "pop.html\r\n", "killed ", "balloon "};
  constexpr std::size_t kSize = 4 * 1024 * 1024;
  Bytes out;
  Random rnd{77};
  while (out.size() < kSize) {
    switch (rnd() % 5) {
      case 0:  // prose
        for (int k = 0; k < 4000; ++k) {
          const std::string w = words[rnd() % (sizeof words / sizeof *words)];
          out.insert(out.end(), w.begin(), w.end());
        }
        break;
      case 1:  // a picture
        appendPicture(out, 64 + int(rnd() % 256), 16 + int(rnd() % 64), rnd);
        break;
      case 2:  // packed little-endian records: counters, small values, pointers
        for (std::uint32_t i = 0; i < 3000; ++i) {
          const std::uint32_t v[3] = {i, rnd() % 100, 0x00400000u + (rnd() % 4096) * 16};
          for (std::uint32_t x : v)
            for (int k = 0; k < 4; ++k) out.push_back(std::uint8_t(x >> (8 * k)));
        }
        break;
      case 3:  // incompressible
        for (int k = 0; k < 16384; ++k) out.push_back(std::uint8_t(rnd() >> 24));
        break;
      default:  // zero run
        out.resize(out.size() + 2048 + rnd() % 30000, 0);
    }
  }
  out.resize(kSize);
  return out;
}

struct Case {
  Bytes input;
  Bytes packed;
};

const Case& inputCase(int which) {
  static const Case cases[2] = {{skinLikeData(), {}}, {mixedData(), {}}};
  static bool checked = [] {
    for (auto& c : const_cast<Case(&)[2]>(cases)) {
      c.packed = vrin::lzhCompress(c.input);
      const Bytes now = vrin::lzhDecompress(c.packed);
      const Bytes before = baseline::lzhDecompress(c.packed);
      if (now != before || now != c.input) {
        std::fprintf(stderr, "decoders disagree on a %zu-byte input\n", c.input.size());
        std::abort();
      }
    }
    return true;
  }();
  (void)checked;
  return cases[which];
}

void setCounters(benchmark::State& state, const Case& c) {
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(c.input.size()));
  state.counters["packed_bytes"] = double(c.packed.size());
  state.counters["time_per_MB"] = benchmark::Counter(double(c.input.size()) / 1e6,
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void BM_LzhCompress(benchmark::State& state) {
  const Case& c = inputCase(0);
  for (auto _ : state) {
    auto packed = vrin::lzhCompress(c.input);
    benchmark::DoNotOptimize(packed.data());
  }
  setCounters(state, c);
}
BENCHMARK(BM_LzhCompress)->Unit(benchmark::kMillisecond);

// Arg 0: the skin-sized block, 1: the mixed 4 MB.
void BM_LzhDecompressBefore(benchmark::State& state) {
  const Case& c = inputCase(int(state.range(0)));
  for (auto _ : state) {
    auto out = baseline::lzhDecompress(c.packed);
    benchmark::DoNotOptimize(out.data());
  }
  setCounters(state, c);
}

void BM_LzhDecompress(benchmark::State& state) {
  const Case& c = inputCase(int(state.range(0)));
  for (auto _ : state) {
    auto out = vrin::lzhDecompress(c.packed);
    benchmark::DoNotOptimize(out.data());
  }
  setCounters(state, c);
}

// Through the byte-at-a-time stream callbacks, as a stream reader drives it.
void BM_LzhDecodeStream(benchmark::State& state) {
  const Case& c = inputCase(int(state.range(0)));
  const std::uint32_t n = std::uint32_t(c.input.size());
  for (auto _ : state) {
    Bytes out;
    out.reserve(n + vrin::lzh::kMaxMatch);
    std::size_t pos = 4;
    vrin::LzhDecoder decoder;
    decoder.decode(
        n,
        [&](std::uint8_t* buffer, std::size_t wanted, std::size_t& got) {
          got = std::min(wanted, c.packed.size() - pos);
          if (got) *buffer = c.packed[pos];
          pos += got;
        },
        [&](const std::uint8_t* buffer, std::size_t count) { out.insert(out.end(), buffer, buffer + count); });
    benchmark::DoNotOptimize(out.data());
  }
  setCounters(state, c);
}

BENCHMARK(BM_LzhDecompressBefore)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzhDecompress)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzhDecompressBefore)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzhDecompress)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzhDecodeStream)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
