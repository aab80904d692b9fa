// The composition of a whole non-client paint of a 1920-pixel-wide skinned window with the
// program's skin: the three borders, the Top border with the caption area, the title buttons.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "skin/pure/caption_layout.h"
#include "skin/pure/form_metrics.h"
#include "skin/pure/skin_draw.h"
#include "skin/pure/skin_load.h"
#include "skin/pure/title_buttons.h"

namespace vrin {
namespace {

const SkinSettings& ourSkin() {
  static const SkinSettings s = [] {
    std::ifstream in(std::string(VRIN_SOURCE_DIR) + "/resources/skin/vrin.skn", std::ios::binary);
    return loadSkin(std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()))
        .settings;
  }();
  return s;
}

Image border(const SkinElement& e, int w, int h, bool stacked) {
  return composeGrid(w, h, e.Image, {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}, stacked, e.Tile != 1,
                     e.FrameCount, 1);
}

void BM_NonClientComposition1920(benchmark::State& state) {
  const SkinSettings& s = ourSkin();
  const int w = 1920, h = 1080;
  const BorderSizes b = borderSizes(s, false);
  NcHost host;
  std::vector<std::unique_ptr<TitleButton>> buttons;
  for (const SkinSysButtonElement& e : s.SysButtons) {
    buttons.push_back(std::make_unique<TitleButton>(host, e));
    buttons.back()->pictureWidth = e.Image.width;
    buttons.back()->pictureHeight = e.Image.height;
    buttons.back()->frameCount = std::max(e.FrameCount, 1);
  }
  for (auto _ : state) {
    Image left = border(s.BorderLeft, b.left, h, false);
    Image right = border(s.BorderRight, b.right, h, false);
    Image bottom = border(s.BorderBottom, w - b.left - b.right, b.bottom, true);
    Image title(w, b.top);
    const Rect area{b.left, 0, w - b.right, b.top};
    drawOpaque(title, area, border(s.BorderTop, area.width(), b.top, true));
    const CaptionPlacement place = placeCaption(area, 120, 13, s.Title);
    const TitleLayout layout{w, place.text, b, 0, 0};
    for (auto& button : buttons) {
      button->layout(TitleWindow{true, false, true, true, true, false}, layout);
      if (button->inTitleBar()) drawFrame(title, button->Bounds, button->Data->Image, true, 1);
    }
    benchmark::DoNotOptimize(left.pixels.data());
    benchmark::DoNotOptimize(right.pixels.data());
    benchmark::DoNotOptimize(bottom.pixels.data());
    benchmark::DoNotOptimize(title.pixels.data());
  }
}
BENCHMARK(BM_NonClientComposition1920)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vrin
