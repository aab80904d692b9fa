#include "skin/pure/form_metrics.h"

#include <algorithm>
#include <climits>

namespace vrin {

namespace {
}  // namespace

bool isBorderless(std::uint32_t style, std::uint32_t exStyle) {
  return (style & wstyle::Popup) && !(style & (wstyle::Border | wstyle::DlgFrame | wstyle::ThickFrame)) &&
         !(exStyle & wstyle::ExWindowEdge);
}

int borderFrameSize(const SkinElement& border, bool stacked) {
  // A skin saying "0 frames" must not divide by zero.
  const int count = std::max(border.FrameCount, 1);
  return (stacked ? border.Image.height : border.Image.width) / count;
}

BorderSizes borderSizes(const SkinSettings& skin, bool borderless) {
  if (borderless) return {};
  return {borderFrameSize(skin.BorderLeft, false), borderFrameSize(skin.BorderTop, true),
          borderFrameSize(skin.BorderRight, false), borderFrameSize(skin.BorderBottom, true)};
}

Rect nonClientClientRect(const Rect& window, const BorderSizes& b, int menuBarHeight) {
  Rect r;
  r.left = clampInt(std::int64_t(window.left) + b.left);
  r.top = clampInt(std::int64_t(window.top) + b.top + menuBarHeight);
  r.right = std::max(r.left, clampInt(std::int64_t(window.right) - b.right));
  r.bottom = std::max(r.top, clampInt(std::int64_t(window.bottom) - b.bottom));
  return r;
}

Rect framedSize(int clientWidth, int clientHeight, const BorderSizes& b, int menuBarHeight) {
  return {0, 0, clampInt(std::int64_t(clientWidth) + b.left + b.right),
          clampInt(std::int64_t(clientHeight) + b.top + b.bottom + menuBarHeight)};
}

void clientToWindow(int& x, int& y, const BorderSizes& b, int menuBarHeight, bool minimized) {
  if (minimized) return;
  x = clampInt(std::int64_t(x) + b.left);
  y = clampInt(std::int64_t(y) + b.top + menuBarHeight);
}

RegionPlan regionPlan(int width, int height, const BorderSizes& b, bool borderless, const SkinSettings& skin) {
  RegionPlan plan;
  plan.inner = {0, 0, width, height};
  plan.shaped = skin.BorderLeft.Trans || skin.BorderRight.Trans || skin.BorderTop.Trans || skin.BorderBottom.Trans;
  if (!plan.shaped) return plan;
  plan.inner = {b.left, b.top, std::max(b.left, width - b.right), std::max(b.top, height - b.bottom)};
  if (borderless) return plan;
  plan.left = {true, skin.BorderLeft.Trans == 1 && height > 1, b.left, height, 0, 0};
  plan.right = {true, skin.BorderRight.Trans == 1 && height > 1, b.right, height, width - b.right, 0};
  plan.bottom = {true, skin.BorderBottom.Trans == 1 && b.bottom >= 2, std::max(0, width - b.left - b.right),
                 b.bottom, b.left, height - b.bottom};
  if (b.top > 1)
    plan.top = {true, skin.BorderTop.Trans == 1, std::max(0, width - b.left - b.right), b.top, b.left, 0};
  return plan;
}

}  // namespace vrin
