// Skin drawing and settings parsing at full-screen sizes.
#include <benchmark/benchmark.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "core/bmp.h"
#include "skin/pure/skin_draw.h"
#include "skin/pure/skin_settings.h"

namespace {

vrin::Image strip(int w, int h) {
  vrin::Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.at(x, y) = vrin::rgb(x * 3, y * 5, (x ^ y) & 0xFF);
  return img;
}

void BM_ComposeGrid1920x1080(benchmark::State& state) {
  const bool tiled = state.range(0) != 0;
  const vrin::Image s = strip(64, 128);  // two stacked 64 x 64 frames
  for (auto _ : state) {
    vrin::Image g = vrin::composeGrid(1920, 1080, s, {10, 12, 10, 12}, true, tiled, 2, 2);
    benchmark::DoNotOptimize(g.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_ComposeGrid1920x1080)->Arg(0)->Arg(1)->ArgNames({"tiled"})->Unit(benchmark::kMillisecond);

// A screen-sized picture with a rounded outline and a magenta hole pattern: many runs a row.
void BM_RegionRects1920x1080(benchmark::State& state) {
  vrin::Image pic(1920, 1080, vrin::rgb(200, 200, 200));
  for (int y = 0; y < 1080; ++y)
    for (int x = 0; x < 1920; ++x)
      if ((x / 8 + y / 8) % 5 == 0 || (y < 20 && x < 20 - y) || (y < 20 && x >= 1900 + y))
        pic.at(x, y) = vrin::rgb(255, (x + y) & 1, 255);
  std::size_t rects = 0, batches = 0;
  for (auto _ : state) {
    const auto result = vrin::regionRects(pic, 0, 0, 1, 1, 1);
    batches = result.size();
    rects = 0;
    for (const auto& b : result) rects += b.size();
    benchmark::DoNotOptimize(result.data());
  }
  state.counters["rectangles"] = double(rects);
  state.counters["batches"] = double(batches);
}
BENCHMARK(BM_RegionRects1920x1080)->Unit(benchmark::kMillisecond);

// Our settings file with pictures of the stored skin's sizes (encoded once, decoded per run).
void BM_ParseSkinSettings(benchmark::State& state) {
  std::ifstream in(std::string(VRIN_SOURCE_DIR) + "/resources/skin/vrinset.ini", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string ini = text.str();
  const std::map<std::string, std::pair<int, int>> sizes = {
      {"top.bmp", {294, 46}},     {"bottom.bmp", {10, 6}},     {"left.bmp", {6, 50}},
      {"right.bmp", {6, 50}},     {"menu.bmp", {15, 36}},      {"buttons.bmp", {230, 22}},
      {"check.bmp", {68, 18}},    {"radio.bmp", {68, 18}},     {"pbars.bmp", {80, 14}},
      {"taborder.bmp", {12, 12}}, {"tabs.bmp", {114, 18}},     {"arrows.bmp", {368, 16}},
      {"hscroll.bmp", {64, 16}},  {"vscroll.bmp", {64, 16}},   {"hscroll2.bmp", {144, 16}},
      {"vscroll2.bmp", {48, 48}}, {"toolbars.bmp", {190, 27}}, {"rollup2.bmp", {90, 23}},
      {"min.bmp", {90, 23}},      {"max.bmp", {90, 23}},       {"close.bmp", {96, 23}},
      {"rollup3.bmp", {90, 23}},  {"mac-mdi.bmp", {180, 14}}};
  std::map<std::string, std::vector<std::uint8_t>> files;
  const bool withPictures = state.range(0) != 0;
  if (withPictures)
    for (const auto& [name, size] : sizes) files[name] = vrin::encodeBmp24(strip(size.first, size.second));
  const vrin::SkinPictureLookup lookup = [&](const std::string& name) {
    auto it = files.find(name);
    return it == files.end() ? std::vector<std::uint8_t>{} : it->second;
  };
  std::size_t buttons = 0;
  for (auto _ : state) {
    const vrin::SkinSettings s = vrin::parseSkinSettings(ini, lookup);
    buttons = s.SysButtons.size();
    benchmark::DoNotOptimize(s.SysButtons.data());
  }
  state.counters["sys_buttons"] = double(buttons);
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(ini.size()));
}
BENCHMARK(BM_ParseSkinSettings)->Arg(0)->Arg(1)->ArgNames({"pictures"})->Unit(benchmark::kMicrosecond);

}  // namespace
