#include "menus/pure/sidebar_measure.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace vrin {
namespace {

constexpr int kText = 50;  // a measured caption + shortcut width

// The tray menu's items: 16 x 16 image list, bar 32 wide with a 1-pixel gap, on the left.
HostItemMeasure trayHostItem() {
  HostItemMeasure h;
  h.hasImageList = true;
  h.imageSize = {16, 16};
  h.textWidth = kText;
  return h;
}

SideBarItemMeasure trayItem(SideBarMenuStyle style) {
  SideBarItemMeasure m;
  m.menuHasImages = true;
  m.style = style;
  m.barVisible = true;
  return m;
}

TEST(SideBarMeasure, TrayTopLevelItemInBothStyles) {
  const Size host = hostDefaultItemSize(trayHostItem());
  EXPECT_EQ(host, (Size{16 + 15 + 7 + kText, 16 + 3}));

  BarStateCore bar;
  EXPECT_EQ(measureSideBarItem(trayItem(SideBarMenuStyle::msStandard), host, bar),
            (Size{16 + 15 + 7 + kText + 33, 19}));
  EXPECT_EQ(bar.barHeight, 19);

  BarStateCore xpBar;
  EXPECT_EQ(measureSideBarItem(trayItem(SideBarMenuStyle::msWindowsXP), host, xpBar),
            (Size{16 + 15 + 7 + kText + 33 + 2, 20}));
  EXPECT_EQ(xpBar.barHeight, 20);
}

TEST(SideBarMeasure, HostDefaultSizes) {
  HostItemMeasure sep;
  sep.separator = true;
  sep.textWidth = 4;
  EXPECT_EQ(hostDefaultItemSize(sep), (Size{-2 + 7 + 4, 5 + 3}));

  HostItemMeasure plain;  // no image list, no bitmap: keeps the height it came with
  plain.startHeight = 13;
  plain.textWidth = kText;
  EXPECT_EQ(hostDefaultItemSize(plain), (Size{-7 + 7 + kText, 16}));

  HostItemMeasure bitmap = plain;
  bitmap.hasBitmap = true;
  EXPECT_EQ(hostDefaultItemSize(bitmap), (Size{16 + 15 + 7 + kText, 19}));

  HostItemMeasure bigImages = trayHostItem();
  bigImages.imageSize = {24, 20};
  EXPECT_EQ(hostDefaultItemSize(bigImages), (Size{24 + 15 + 7 + kText, 23}));

  HostItemMeasure top = trayHostItem();  // main-menu bar item: bar size, no +15, no +3
  top.mainMenuTopLevel = true;
  top.menuBarItemSize = {20, 19};
  EXPECT_EQ(hostDefaultItemSize(top), (Size{20 + 7 + kText, 19}));
}

TEST(SideBarMeasure, MeasuredTextGetsBlankWhenDrawTextWouldSeeNothing) {
  EXPECT_EQ(measuredItemText(""), " ");
  EXPECT_EQ(measuredItemText("&"), "& ");
  EXPECT_EQ(measuredItemText("&Exit", "Ctrl+X"), "&ExitCtrl+X");
  EXPECT_EQ(measuredItemText("&", "X"), "&X");
  EXPECT_EQ(measuredItemText("", "Ctrl+F"), "Ctrl+F");
}

TEST(SideBarMeasure, SeparatorHeightsByTextAndStyle) {
  const Size host{10, 8};
  struct Case {
    bool enabled;
    const char* hint;
    SideBarMenuStyle style;
    int height;
  } cases[] = {
      {true, "Tools", SideBarMenuStyle::msStandard, 14}, {true, "Tools", SideBarMenuStyle::msWindowsXP, 14},
      {false, "Tools", SideBarMenuStyle::msStandard, 12}, {false, "Tools", SideBarMenuStyle::msWindowsXP, 9},
      {true, "", SideBarMenuStyle::msStandard, 12},       {true, "", SideBarMenuStyle::msWindowsXP, 9},
  };
  for (const Case& c : cases) {
    SideBarItemMeasure m;
    m.separator = true;
    m.enabled = c.enabled;
    m.hint = c.hint;
    m.style = c.style;
    BarStateCore bar;
    const Size s = measureSideBarItem(m, host, bar);
    EXPECT_EQ(s, (Size{10, c.height})) << c.hint << " enabled=" << c.enabled;
    m.barVisible = true;  // on a bar-carrying level it also gets the bar width
    EXPECT_EQ(measureSideBarItem(m, host, bar).width, 10 + 33);
  }
}

TEST(SideBarMeasure, GlyphColumnAndXpSizesForNonTopLevelItems) {
  SideBarItemMeasure m;  // no Images, no Bitmap: the glyph column is added
  BarStateCore bar;
  EXPECT_EQ(measureSideBarItem(m, {40, 16}, bar), (Size{55, 16}));
  m.itemHasBitmap = true;
  EXPECT_EQ(measureSideBarItem(m, {40, 16}, bar), (Size{40, 16}));

  m.style = SideBarMenuStyle::msWindowsXP;  // odd heights round up to even, +2 width
  EXPECT_EQ(measureSideBarItem(m, {40, 17}, bar), (Size{42, 18}));
  EXPECT_EQ(measureSideBarItem(m, {40, 18}, bar), (Size{42, 18}));

  m.mainMenuTopLevel = true;  // bar items keep the host's size
  m.itemHasBitmap = false;
  m.separatorStyle = SeparatorStyle::ssShortLine;
  EXPECT_EQ(measureSideBarItem(m, {40, 17}, bar), (Size{40, 17}));
  m.mainMenuTopLevel = false;
  m.style = SideBarMenuStyle::msStandard;
  EXPECT_EQ(measureSideBarItem(m, {40, 17}, bar), (Size{40 + 15 + 10, 17}));
}

TEST(SideBarMeasure, BarWidthOnlyBesideCarryingItemsAndCollectedHeight) {
  BarStateCore bar;
  SideBarItemMeasure item = trayItem(SideBarMenuStyle::msStandard);
  measureSideBarItem(item, {50, 19}, bar);
  measureSideBarItem(item, {50, 19}, bar);
  item.itemVisible = false;  // hidden items still measure but add no height
  EXPECT_EQ(measureSideBarItem(item, {50, 19}, bar).width, 83);
  EXPECT_EQ(bar.barHeight, 38);

  SideBarItemMeasure later = trayItem(SideBarMenuStyle::msStandard);
  later.inLaterColumn = true;
  EXPECT_EQ(measureSideBarItem(later, {50, 19}, bar).width, 50);
  SideBarItemMeasure sub = trayItem(SideBarMenuStyle::msStandard);
  sub.barVisible = barVisibleFor(true, false);  // a submenu item
  EXPECT_EQ(measureSideBarItem(sub, {50, 19}, bar).width, 50);
  SideBarItemMeasure hiddenBar = trayItem(SideBarMenuStyle::msStandard);
  hiddenBar.barVisible = barVisibleFor(false, true);
  EXPECT_EQ(measureSideBarItem(hiddenBar, {50, 19}, bar).width, 50);
  EXPECT_EQ(bar.barHeight, 38);

  bar.heightPending = false;  // once drawing settled it, measuring no longer collects
  measureSideBarItem(trayItem(SideBarMenuStyle::msStandard), {50, 19}, bar);
  EXPECT_EQ(bar.barHeight, 38);
  bar.barValid = true;
  bar.invalidate();
  EXPECT_TRUE(bar.heightPending);
  EXPECT_FALSE(bar.barValid);
  EXPECT_EQ(bar.barHeight, 0);
}

TEST(SideBarMeasure, LaterColumnRule) {
  const std::vector<SiblingBreak> items = {
      {true, ItemBreak::mbNone}, {false, ItemBreak::mbBreak}, {true, ItemBreak::mbNone},
      {true, ItemBreak::mbBarBreak}, {true, ItemBreak::mbNone}};
  EXPECT_FALSE(isInLaterColumn(items, 0));
  EXPECT_FALSE(isInLaterColumn(items, 1));  // its own break is hidden
  EXPECT_FALSE(isInLaterColumn(items, 2));
  EXPECT_TRUE(isInLaterColumn(items, 3));
  EXPECT_TRUE(isInLaterColumn(items, 4));
  EXPECT_TRUE(isInLaterColumn(items, 99));
  EXPECT_FALSE(isInLaterColumn(items, -1));
  EXPECT_FALSE(isInLaterColumn({}, 0));

  EXPECT_EQ(firstVisibleIndex({false, false, true, true}), 2);
  EXPECT_EQ(firstVisibleIndex({false}), -1);
}

TEST(SideBarMeasure, HandlersAndTheDefaultMeasureFlag) {
  SideBarItemMeasure m = trayItem(SideBarMenuStyle::msStandard);
  m.separatorStyle = SeparatorStyle::ssShortLine;
  int moduleCalls = 0;
  SideBarMeasureHooks hooks;
  hooks.onMeasureMenuItem = [](int& w, int& h, bool barVisible, bool& dm) {
    EXPECT_TRUE(barVisible);
    EXPECT_TRUE(dm);
    w = 100;
    h = 30;
  };
  hooks.drawModule = [&](int& w, int&, bool, bool& dm) {
    ++moduleCalls;
    w += 1;
    dm = false;  // the module takes over: no short-line margin
  };
  BarStateCore bar;
  EXPECT_EQ(measureSideBarItem(m, {50, 19}, bar, hooks), (Size{100 + 1 + 33, 30}));
  EXPECT_EQ(moduleCalls, 1);
  EXPECT_EQ(bar.barHeight, 30);  // the handler's height is what the bar collects

  hooks.onMeasureMenuItem = [](int&, int&, bool, bool& dm) { dm = false; };
  EXPECT_EQ(measureSideBarItem(m, {50, 19}, bar, hooks), (Size{50 + 33, 19}));
  EXPECT_EQ(moduleCalls, 1);  // not asked once the event cleared the flag

  hooks = {};
  EXPECT_EQ(measureSideBarItem(m, {50, 19}, bar, hooks), (Size{50 + 10 + 33, 19}));
}

TEST(SideBarMeasure, EffectiveStyleAndOsTests) {
  const OsVersion xp{true, 5, 1}, w2k{true, 5, 0}, vista{true, 6, 0}, seven{true, 6, 1};
  const OsVersion me{false, 4, 90}, w95{false, 4, 0};
  EXPECT_EQ(effectiveMenuStyle(SideBarMenuStyle::msAuto, xp), SideBarMenuStyle::msWindowsXP);
  EXPECT_EQ(effectiveMenuStyle(SideBarMenuStyle::msAuto, seven), SideBarMenuStyle::msWindowsXP);
  EXPECT_EQ(effectiveMenuStyle(SideBarMenuStyle::msAuto, vista), SideBarMenuStyle::msStandard);
  EXPECT_EQ(effectiveMenuStyle(SideBarMenuStyle::msAuto, w2k), SideBarMenuStyle::msStandard);
  EXPECT_EQ(effectiveMenuStyle(SideBarMenuStyle::msStandard, xp), SideBarMenuStyle::msStandard);
  EXPECT_TRUE(isWindows98Test(me));
  EXPECT_FALSE(isWindows98Test(w95));
  EXPECT_TRUE(isWindows2000Test(w2k));
  EXPECT_FALSE(isWindows2000Test(OsVersion{false, 5, 0}));
}

TEST(SideBarMeasure, BankersRoundingForCentring) {
  EXPECT_EQ(roundHalfEven(0.5), 0);
  EXPECT_EQ(roundHalfEven(1.5), 2);
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(-1.5), -2);
  EXPECT_EQ(roundHalfEven(2.5001), 3);
  EXPECT_EQ(roundHalfEven(std::nan("")), 0);
  EXPECT_EQ(roundHalfEven(-1e300), INT_MIN);
  EXPECT_EQ(centreOffset(9), 4);   // 4.0
  EXPECT_EQ(centreOffset(10), 4);  // 4.5 -> 4
  EXPECT_EQ(centreOffset(12), 6);  // 5.5 -> 6
}

TEST(SideBarMeasure, OddSettingsDoNotOverflow) {
  SideBarItemMeasure m = trayItem(SideBarMenuStyle::msWindowsXP);
  m.menuHasImages = false;
  m.barWidth = INT_MAX;
  m.barSpace = INT_MAX;
  BarStateCore bar;
  bar.barHeight = INT_MAX - 1;
  const Size s = measureSideBarItem(m, {INT_MAX - 3, INT_MAX}, bar);
  EXPECT_EQ(s.width, INT_MAX);
  EXPECT_EQ(s.height, INT_MAX);
  EXPECT_EQ(bar.barHeight, INT_MAX);

  HostItemMeasure h = trayHostItem();
  h.textWidth = INT_MAX;
  EXPECT_EQ(hostDefaultItemSize(h).width, INT_MAX);
}

}  // namespace
}  // namespace vrin
