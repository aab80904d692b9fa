#pragma once
// Side-bar menu measuring without a device context: the host's default item size, the
// side-bar additions (separator heights, XP sizes, bar width), the collection of the bar
// height, the effective style and the column-break rule. Text widths come in measured.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "menus/pure/sidebar_types.h"
#include "ui/pure/menu_item_size.h"

namespace vrin {

// Nearest integer, halves to the even neighbour; clamped to the int range (NaN gives 0).
int roundHalfEven(double v);
// The centring used by the bar caption and separator captions: round((a) / 2 - 0.5), halves to even.
int centreOffset(int span);

// ---- Operating-system tests (evaluated once by the Win32 layer, applied here) ----

struct OsVersion {
  bool ntFamily = true;
  int major = 0;
  int minor = 0;
};

// Major above 4, or 4 with a minor above 0 (any family).
bool isWindows98Test(const OsVersion& os);
// NT family with a major above 4.
bool isWindows2000Test(const OsVersion& os);
// NT family, major above 4 and minor above 0: where msAuto picks the XP look.
bool isXpStyleDefault(const OsVersion& os);

// msStandard or msWindowsXP; msAuto is decided by the OS.
SideBarMenuStyle effectiveMenuStyle(SideBarMenuStyle style, const OsVersion& os);

// ---- Which items carry the bar ----

struct SiblingBreak {
  bool visible = true;
  ItemBreak brk = ItemBreak::mbNone;
};

// True when a visible sibling at or before `index` (the item's own index under its parent)
// starts a new column. Out-of-range indexes are clamped; a negative index gives false.
bool isInLaterColumn(const std::vector<SiblingBreak>& siblings, int index);

// ABarVisible: Bar.Visible and the item's parent is the carrying one (the root of a popup,
// the first visible top-level item of a main menu). The column rule is applied separately.
bool barVisibleFor(bool barVisible, bool parentCarriesBar);

// Index of the first visible top-level item of a main menu, -1 when none.
int firstVisibleIndex(const std::vector<bool>& visible);

// ---- The bar's cached state, without the bitmap the Win32 layer keeps beside it ----

struct BarStateCore {
  int barHeight = 0;
  bool barValid = false;
  bool heightPending = true;

  void markHeightPending() {
    heightPending = true;
    barHeight = 0;
  }
  // What a new popup, a changed top-level item or RefreshMenu(InvalidateBar) do.
  void invalidate() {
    markHeightPending();
    barValid = false;
  }
  // A measured item adds its height while the height is being collected.
  void collect(int itemHeight, bool itemVisible);
};

// ---- The side-bar measure handler ----

struct SideBarItemMeasure {
  bool separator = false;
  bool enabled = true;
  std::string_view hint;            // a separator's caption, shown only when enabled
  bool mainMenuTopLevel = false;
  bool menuHasImages = false;       // the menu's Images is set
  bool itemHasBitmap = false;       // the item's Bitmap exists and is not empty
  SideBarMenuStyle style = SideBarMenuStyle::msStandard;  // effective style
  SeparatorStyle separatorStyle = SeparatorStyle::ssNormal;
  bool barVisible = false;          // ABarVisible
  bool inLaterColumn = false;
  int barWidth = 32;
  int barSpace = 1;
  bool itemVisible = true;
};

// A measuring handler as the Win32 layer wraps it (OnMeasureMenuItem, or the draw module's
// MeasureBarMenuItem): it may change the size and clear defaultMeasure (true on entry).
using SideBarMeasureHook = std::function<void(int& width, int& height, bool barVisible, bool& defaultMeasure)>;

struct SideBarMeasureHooks {
  SideBarMeasureHook onMeasureMenuItem;  // the menu's event, when assigned
  SideBarMeasureHook drawModule;         // the draw module, when one is attached
};

// The text a separator shows: its Hint when enabled, nothing when disabled.
std::string_view separatorText(bool enabled, std::string_view hint);

// Measures one item. `size` holds the host's default size on entry. Collects the bar height
// into `bar` when the item carries the bar.
Size measureSideBarItem(const SideBarItemMeasure& in, Size size, BarStateCore& bar,
                            const SideBarMeasureHooks& hooks = {});

}  // namespace vrin
