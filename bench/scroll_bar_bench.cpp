// One skinned scroll-bar repaint, the portable part: the vertical bar of a list box holding
// 10,000 entries composed from the program's skin at each position of a drag through the
// list, then stretched across to the real bar's thickness (what reaches the screen).
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/pure/scroll_paint.h"
#include "skin/pure/skin_load.h"

namespace {

const vrin::SkinSettings& programSkin() {
  static const vrin::SkinSettings settings = [] {
    std::ifstream in(std::string(VRIN_SOURCE_DIR) + "/resources/skin/vrin.skn", std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    vrin::SkinLoadResult r = vrin::loadSkin(bytes);
    if (r.status != vrin::SkinLoadStatus::Loaded) throw std::runtime_error("the program's skin did not load");
    return r.settings;
  }();
  return settings;
}

// A 220-pixel list box of 13-pixel rows: 16 rows a page, 10,000 entries, 17-pixel arrows.
void BM_ListBoxBarRepaint(benchmark::State& state) {
  const vrin::SkinSettings& skin = programSkin();
  const vrin::ScrollBarPictures pictures{&*skin.Scrollbar, &*skin.VertScroll, &*skin.VertScrollThumb,
                                         vrin::rgb(245, 245, 245)};
  const int length = 216, arrow = 17, thickness = 17;
  std::int32_t position = 0;
  std::size_t repaints = 0;
  for (auto _ : state) {
    vrin::BarMetrics m;
    vrin::updateThumbMetrics(m, length, arrow, {0, 9999, 16, position}, 8, 17);
    const vrin::Image bar = vrin::composeScrollBar(pictures, length, m, false, vrin::kPartVertThumb);
    const vrin::Image shown = vrin::stretchAcross(bar, false, thickness);
    benchmark::DoNotOptimize(shown.pixels.data());
    position = (position + 37) % 9985;
    ++repaints;
  }
  state.counters["repaints/s"] = benchmark::Counter(double(repaints), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ListBoxBarRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
