#include "skin/pure/title_buttons.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace vrin {

namespace {


// The rows both conditions share; `a` picks the column where they differ.
bool condition(int value, const TitleWindow& w, bool a) {
  switch (value) {
    case 1: return w.maximized;
    case 2: return !w.maximized;
    case 3: return w.active;
    case 4: return !w.active;
    case 6: return w.maximizeBox && (!a || w.systemMenu);
    case 7: return !w.maximizeBox;
    case 8: return w.minimizeBox && (!a || w.systemMenu);
    case 9: return !w.minimizeBox;
    case 100: return w.mdiChildMaximized;
    default: return value >= 200 && value <= 2000;  // 5, 10, 11 and all others: never
  }
}

}  // namespace

bool visibilityA(int value, int action, const TitleWindow& w) {
  if (value == 0) return action != 0 || w.systemMenu;
  return condition(value, w, true);
}

bool visibilityB(int value, const TitleWindow& w) { return value == 0 || condition(value, w, false); }

bool titleButtonVisible(const SkinSysButtonElement& b, const TitleWindow& w) {
  if (!visibilityA(b.Visibility, b.Action, w) || !visibilityB(b.Visibility1, w)) return false;
  if (b.Action == 1 && !w.maximizeBox) return false;
  if (b.Action == 2 && !w.minimizeBox) return false;
  return true;
}

Rect titleButtonBounds(const SkinSysButtonElement& b, int w, int h, const TitleLayout& l) {
  using i64 = std::int64_t;
  i64 dx = 0, dy = 0;
  switch (b.Align) {
    case 0: dx = b.XCoord; dy = b.YCoord; break;
    case 1: dx = i64(l.windowWidth) - b.XCoord; dy = b.YCoord; break;
    case 2:
    case 8: dx = i64(l.captionText.left) - w - b.XCoord; dy = b.YCoord; break;
    case 3:
    case 9: dx = i64(l.captionText.right) + b.XCoord; dy = b.YCoord; break;
    case 100:
      dx = i64(l.windowWidth) - b.XCoord - l.borders.right - l.menuBarLeftWidth;
      dy = l.borders.top + (i64(l.menuBarHeight) - h) / 2;
      break;
    default: break;
  }
  return {clampInt(dx), clampInt(dy), clampInt(dx + w), clampInt(dy + h)};
}

void TitleButton::layout(const TitleWindow& w, const TitleLayout& l) {
  Visible = titleButtonVisible(*Data, w);
  if (!Visible || !hasPicture()) return;
  Bounds = titleButtonBounds(*Data, pictureWidth / std::max(frameCount, 1), pictureHeight, l);
}

TitleButton* titleButtonAt(const std::vector<TitleButton*>& buttons, int x, int y) {
  for (TitleButton* b : buttons)
    if (b->Visible && b->Data->Action >= 0 && b->contains(x, y)) return b;
  return nullptr;
}

int cacheFrame(bool active, int frameCount) {
  if (frameCount < 4) return 1;
  return active ? 1 : 4;
}

int paintFrame(int state, int visibility) { return visibility == 100 && state == ncHot ? 4 : state; }

TitleEffect titleEffect(int action, int windowState) {
  switch (action) {
    case 0: return TitleEffect::Close;
    case 1:
    case 22: return windowState == 1 ? TitleEffect::Restore : TitleEffect::Maximize;
    case 2:
    case 23: return windowState == 2 ? TitleEffect::Restore : TitleEffect::Minimize;
    case 3:
    case 11:
    case 12: return TitleEffect::SystemMenu;
    case 7:
    case 60: return TitleEffect::MdiMinimize;
    case 8:
    case 61: return TitleEffect::MdiRestore;
    case 9:
    case 62: return TitleEffect::MdiClose;
    default: return TitleEffect::Notify;
  }
}

}  // namespace vrin
