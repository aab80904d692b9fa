// Loading the program's own skin, as the skin data component does once at start-up: the
// committed resources/skin/vrin.skn decompressed, its container read and its settings parsed
// with every picture decoded. The two parts are timed apart too.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "skin/pure/skin_container.h"
#include "skin/pure/skin_settings.h"
#include "skin/pure/skin_load.h"

namespace {

const std::vector<std::uint8_t>& programSkin() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::ifstream in(std::string(VRIN_SOURCE_DIR) + "/resources/skin/vrin.skn", std::ios::binary);
    std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.empty()) throw std::runtime_error("resources/skin/vrin.skn is missing");
    return b;
  }();
  return bytes;
}

void BM_LoadProgramSkin(benchmark::State& state) {
  const auto& skin = programSkin();
  for (auto _ : state) {
    vrin::SkinLoadResult r = vrin::loadSkin(skin);
    if (r.status != vrin::SkinLoadStatus::Loaded) state.SkipWithError("skin did not load");
    benchmark::DoNotOptimize(r.settings.SysButtons.data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(skin.size()));
}
BENCHMARK(BM_LoadProgramSkin)->Unit(benchmark::kMillisecond);

void BM_DecompressProgramSkin(benchmark::State& state) {
  const auto& skin = programSkin();
  std::size_t produced = 0;
  for (auto _ : state) {
    const std::vector<std::uint8_t> container = vrin::decompressSkin(skin.data(), skin.size());
    produced = container.size();
    benchmark::DoNotOptimize(container.data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(produced));
}
BENCHMARK(BM_DecompressProgramSkin)->Unit(benchmark::kMillisecond);

void BM_ParseProgramSkinSettings(benchmark::State& state) {
  vrin::SkinReader reader;
  if (!reader.loadContainer(vrin::decompressSkin(programSkin().data(), programSkin().size()))) {
    state.SkipWithError("older skin");
    return;
  }
  std::vector<std::uint8_t> ini;
  std::string name;
  reader.findEntry(".ini", ini, name);
  const std::string_view text(reinterpret_cast<const char*>(ini.data()), ini.size());
  for (auto _ : state) {
    vrin::SkinSettings s = vrin::parseSkinSettings(text, [&](const std::string& n) { return reader.entry(n); });
    benchmark::DoNotOptimize(s.SysButtons.data());
  }
}
BENCHMARK(BM_ParseProgramSkinSettings)->Unit(benchmark::kMillisecond);

}  // namespace
