#include "menus/pure/sidebar_measure.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace vrin {

namespace {

// Sizes come from stored settings and application handlers; odd values must not overflow.
int add(int a, std::int64_t b) { return clampInt(std::int64_t(a) + b); }

}  // namespace

int roundHalfEven(double v) {
  if (std::isnan(v)) return 0;
  if (v >= double(INT_MAX)) return INT_MAX;
  if (v <= double(INT_MIN)) return INT_MIN;
  const double f = std::floor(v);
  const double diff = v - f;
  double r = f;
  if (diff > 0.5) {
    r = f + 1;
  } else if (diff == 0.5) {
    r = std::fmod(f, 2.0) == 0.0 ? f : f + 1;
  }
  return clampInt(std::int64_t(r));
}

int centreOffset(int span) { return roundHalfEven(double(span) / 2.0 - 0.5); }

bool isWindows98Test(const OsVersion& os) { return os.major > 4 || (os.major == 4 && os.minor > 0); }
bool isWindows2000Test(const OsVersion& os) { return os.ntFamily && os.major > 4; }
bool isXpStyleDefault(const OsVersion& os) { return os.ntFamily && os.major > 4 && os.minor > 0; }

SideBarMenuStyle effectiveMenuStyle(SideBarMenuStyle style, const OsVersion& os) {
  if (style != SideBarMenuStyle::msAuto) return style;
  return isXpStyleDefault(os) ? SideBarMenuStyle::msWindowsXP : SideBarMenuStyle::msStandard;
}

bool isInLaterColumn(const std::vector<SiblingBreak>& siblings, int index) {
  if (index < 0 || siblings.empty()) return false;
  const std::size_t last = std::min<std::size_t>(std::size_t(index), siblings.size() - 1);
  for (std::size_t i = 0; i <= last; ++i)
    if (siblings[i].visible && siblings[i].brk != ItemBreak::mbNone) return true;
  return false;
}

bool barVisibleFor(bool barVisible, bool parentCarriesBar) { return barVisible && parentCarriesBar; }

int firstVisibleIndex(const std::vector<bool>& visible) {
  for (std::size_t i = 0; i < visible.size(); ++i)
    if (visible[i]) return int(i);
  return -1;
}

void BarStateCore::collect(int itemHeight, bool itemVisible) {
  if (heightPending && itemVisible) barHeight = add(barHeight, itemHeight);
}

std::string_view separatorText(bool enabled, std::string_view hint) { return enabled ? hint : std::string_view{}; }

Size measureSideBarItem(const SideBarItemMeasure& in, Size size, BarStateCore& bar,
                            const SideBarMeasureHooks& hooks) {
  const bool xp = in.style == SideBarMenuStyle::msWindowsXP;
  int width = size.width;
  int height = size.height;

  if (in.separator) {
    height = !separatorText(in.enabled, in.hint).empty() ? 14 : (xp ? 9 : 12);
  } else if (!in.mainMenuTopLevel) {
    // Without any image the host leaves no glyph column; the drawing always keeps one.
    if (!in.menuHasImages && !in.itemHasBitmap) width = add(width, 15);
    if (xp) {
      height = clampInt((std::int64_t(height) + 1) / 2 * 2);
      width = add(width, 2);
    }
  }

  bool defaultMeasure = true;
  if (hooks.onMeasureMenuItem) hooks.onMeasureMenuItem(width, height, in.barVisible, defaultMeasure);
  if (defaultMeasure && hooks.drawModule) hooks.drawModule(width, height, in.barVisible, defaultMeasure);
  // The right margin that the short-line drawing keeps free.
  if (defaultMeasure && in.separatorStyle == SeparatorStyle::ssShortLine && !in.mainMenuTopLevel)
    width = add(width, 10);

  if (in.barVisible && !in.inLaterColumn) {
    width = add(width, std::int64_t(in.barWidth) + in.barSpace);
    bar.collect(height, in.itemVisible);
  }
  return {width, height};
}

}  // namespace vrin
