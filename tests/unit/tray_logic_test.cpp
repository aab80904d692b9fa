#include "tray/pure/tray_logic.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace vrin;

namespace {

const TraySettings kPlain{};
const TrayMenuInfo kNoMenu{};

TrayMenuInfo menuWithDefault(int item) {
  TrayMenuInfo m;
  m.assigned = true;
  m.defaultItem = item;
  return m;
}

// Feeds a run of tray reports and collects every action in order.
std::vector<TrayAction> feed(TrayClickTracker& t, std::initializer_list<unsigned> messages,
                             const TraySettings& s = kPlain, const TrayMenuInfo& m = kNoMenu,
                             unsigned modifiers = 0) {
  std::vector<TrayAction> all;
  for (unsigned msg : messages) {
    auto part = t.onTrayMessage(msg, modifiers, s, m);
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

std::vector<TrayEvent> events(const std::vector<TrayAction>& actions) {
  std::vector<TrayEvent> e;
  for (const TrayAction& a : actions) e.push_back(a.event);
  return e;
}

using E = TrayEvent;

}  // namespace

TEST(TrayClicks, SingleClickFiresClickBeforeMouseUp) {
  TrayClickTracker t;
  auto a = feed(t, {kTrayLButtonDown});
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].event, E::MouseDown);
  EXPECT_EQ(a[0].button, TrayButton::Left);
  EXPECT_EQ(a[0].shift, unsigned(kTrayShiftLeft));
  EXPECT_TRUE(t.clickPending());
  a = feed(t, {kTrayLButtonUp});
  EXPECT_EQ(events(a), (std::vector<E>{E::Click, E::MouseUp}));
  EXPECT_FALSE(t.clickPending());
  // A release with no press before it is only a MouseUp.
  EXPECT_EQ(events(feed(t, {kTrayLButtonUp})), (std::vector<E>{E::MouseUp}));
}

TEST(TrayClicks, DoubleClickGivesOneClickThenOneDblClick) {
  TrayClickTracker t;
  auto a = feed(t, {kTrayLButtonDown, kTrayLButtonUp, kTrayLButtonDblClk, kTrayLButtonUp});
  EXPECT_EQ(events(a), (std::vector<E>{E::MouseDown, E::Click, E::MouseUp, E::DblClick, E::MouseUp}));

  // With a default item the menu's item is clicked right after OnDblClick.
  a = feed(t, {kTrayLButtonDown, kTrayLButtonUp, kTrayLButtonDblClk, kTrayLButtonUp}, kPlain,
           menuWithDefault(2));
  EXPECT_EQ(events(a), (std::vector<E>{E::MouseDown, E::Click, E::MouseUp, E::DblClick,
                                       E::ClickDefaultItem, E::MouseUp}));
  EXPECT_EQ(a[4].item, 2);
}

TEST(TrayClicks, DefaultItemNeedsAutoPopupAndRightButtonMenu) {
  TrayClickTracker t;
  TrayMenuInfo m = menuWithDefault(0);
  TraySettings left;
  left.leftPopup = true;
  EXPECT_EQ(events(feed(t, {kTrayLButtonDblClk}, left, m)), (std::vector<E>{E::DblClick}));
  m.autoPopup = false;
  EXPECT_EQ(events(feed(t, {kTrayLButtonDblClk}, kPlain, m)), (std::vector<E>{E::DblClick}));
  EXPECT_EQ(events(feed(t, {kTrayLButtonDblClk}, kPlain, menuWithDefault(-1))),
            (std::vector<E>{E::DblClick}));
  TrayMenuInfo unassigned = menuWithDefault(1);
  unassigned.assigned = false;
  EXPECT_EQ(events(feed(t, {kTrayLButtonDblClk}, kPlain, unassigned)), (std::vector<E>{E::DblClick}));

  EXPECT_EQ(defaultMenuItem({false, true, true}), 1);
  EXPECT_EQ(defaultMenuItem({true}), 0);
  EXPECT_EQ(defaultMenuItem({false, false}), -1);
  EXPECT_EQ(defaultMenuItem({}), -1);
}

TEST(TrayClicks, MenuOnRightPressAndOnLeftPressOnlyWithLeftPopup) {
  TrayClickTracker t;
  const TrayMenuInfo m = menuWithDefault(-1);
  auto a = feed(t, {kTrayRButtonDown}, kPlain, m);
  EXPECT_EQ(events(a), (std::vector<E>{E::MouseDown, E::ShowMenu}));
  EXPECT_EQ(a[0].button, TrayButton::Right);
  EXPECT_EQ(a[0].shift, unsigned(kTrayShiftRight));
  EXPECT_EQ(events(feed(t, {kTrayRButtonUp}, kPlain, m)), (std::vector<E>{E::MouseUp}));
  EXPECT_EQ(events(feed(t, {kTrayRButtonDown}, kPlain, kNoMenu)), (std::vector<E>{E::MouseDown}));

  EXPECT_EQ(events(feed(t, {kTrayLButtonDown}, kPlain, m)), (std::vector<E>{E::MouseDown}));
  TraySettings left;
  left.leftPopup = true;
  EXPECT_EQ(events(feed(t, {kTrayLButtonDown}, left, m)), (std::vector<E>{E::MouseDown, E::ShowMenu}));
  // The right button still pops the menu with LeftPopup.
  EXPECT_EQ(events(feed(t, {kTrayRButtonDown}, left, m)), (std::vector<E>{E::MouseDown, E::ShowMenu}));
  TrayMenuInfo noAuto = m;
  noAuto.autoPopup = false;
  EXPECT_EQ(events(feed(t, {kTrayRButtonDown}, kPlain, noAuto)), (std::vector<E>{E::MouseDown}));
}

TEST(TrayClicks, DisabledIgnoresEverything) {
  TrayClickTracker t;
  TraySettings off;
  off.enabled = false;
  const TrayMenuInfo m = menuWithDefault(0);
  auto a = feed(t, {kTrayMouseMove, kTrayLButtonDown, kTrayLButtonUp, kTrayLButtonDblClk,
                    kTrayRButtonDown, kTrayRButtonUp, kTrayMButtonDown, kTrayMButtonUp},
                off, m);
  EXPECT_TRUE(a.empty());
  // A press while disabled leaves nothing pending for a release after re-enabling.
  feed(t, {kTrayLButtonDown}, off, m);
  EXPECT_EQ(events(feed(t, {kTrayLButtonUp}, kPlain, m)), (std::vector<E>{E::MouseUp}));
}

TEST(TrayClicks, OtherButtonsMovesAndShiftState) {
  TrayClickTracker t;
  auto a = feed(t, {kTrayMButtonDown, kTrayMButtonUp});
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[0].event, E::MouseDown);
  EXPECT_EQ(a[0].button, TrayButton::Middle);
  EXPECT_EQ(a[1].event, E::MouseUp);
  EXPECT_EQ(a[1].shift, unsigned(kTrayShiftMiddle));
  EXPECT_TRUE(feed(t, {kTrayRButtonDblClk, kTrayMButtonDblClk, 0x0100, 0}, kPlain,
                   menuWithDefault(0)).empty());

  // GetKeyState: high bit = down; the low (toggle) bit alone is not.
  const unsigned mods = trayModifierShift(std::int16_t(0x8000), std::int16_t(0x0001), std::int16_t(0xFF80));
  EXPECT_EQ(mods, unsigned(kTrayShiftShift | kTrayShiftCtrl));
  EXPECT_EQ(trayModifierShift(0, std::int16_t(0x8001), 0), unsigned(kTrayShiftAlt));
  a = feed(t, {kTrayLButtonDown, kTrayMouseMove}, kPlain, kNoMenu, mods);
  EXPECT_EQ(a[0].shift, unsigned(kTrayShiftShift | kTrayShiftCtrl | kTrayShiftLeft));
  EXPECT_EQ(a[1].event, E::MouseMove);
  EXPECT_EQ(a[1].shift, mods);
  // Button bits passed in by mistake do not leak into a move.
  a = feed(t, {kTrayMouseMove}, kPlain, kNoMenu, kTrayShiftRight | kTrayShiftAlt);
  EXPECT_EQ(a[0].shift, unsigned(kTrayShiftAlt));
}

TEST(TrayIconIndex, ClampingAgainstTheList) {
  EXPECT_EQ(chooseTrayIconIndex(5, true, 2), (TrayIconChoice{1, true}));
  EXPECT_EQ(chooseTrayIconIndex(1, true, 2), (TrayIconChoice{1, true}));
  EXPECT_EQ(chooseTrayIconIndex(0, true, 7), (TrayIconChoice{0, true}));
  EXPECT_EQ(chooseTrayIconIndex(-3, true, 2), (TrayIconChoice{0, true}));
  EXPECT_EQ(chooseTrayIconIndex(INT_MIN, true, 7), (TrayIconChoice{0, true}));
  EXPECT_EQ(chooseTrayIconIndex(INT_MAX, true, 7), (TrayIconChoice{6, true}));
  // No list (or the list went away): index 0, icon untouched.
  EXPECT_EQ(chooseTrayIconIndex(1, false, 0), (TrayIconChoice{0, false}));
  EXPECT_EQ(chooseTrayIconIndex(1, false, 7), (TrayIconChoice{0, false}));
  EXPECT_EQ(chooseTrayIconIndex(3, true, 0), (TrayIconChoice{0, false}));
}

TEST(TrayIconIndex, CyclingThroughThreeImages) {
  // CycleIcons on sets index 0; each tick then shows the next image at once.
  int index = chooseTrayIconIndex(0, true, 3).index;
  std::vector<int> shown, reported;
  for (int tick = 0; tick < 5; ++tick) {
    TrayCycleStep s = trayCycleStep(index, 3);
    EXPECT_TRUE(s.copyCurrent);
    EXPECT_EQ(s.current, index);
    reported.push_back(s.next);
    TrayIconChoice c = chooseTrayIconIndex(s.next, true, 3);
    index = c.index;
    shown.push_back(index);
  }
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 0, 1, 2}));
  EXPECT_EQ(reported, shown);

  EXPECT_EQ(trayCycleStep(0, 1), (TrayCycleStep{true, 0, 0}));
  EXPECT_EQ(trayCycleStep(0, 0), (TrayCycleStep{false, 0, 0}));
  EXPECT_EQ(trayCycleStep(9, 3), (TrayCycleStep{false, 9, 0}));
}

TEST(TrayTip, TruncatedToSixtyThreeCharactersAndZeroFilled) {
  const std::string eighty(80, 'x');
  auto tip = trayTip(eighty, true);
  EXPECT_EQ(std::string(tip.data()), std::string(63, 'x'));
  EXPECT_EQ(tip[63], '\0');

  std::string exact;
  for (int i = 0; i < 63; ++i) exact += char('A' + i % 26);
  EXPECT_EQ(std::string(trayTip(exact, true).data()), exact);
  EXPECT_EQ(std::string(trayTip(exact + "Z", true).data()), exact);

  tip = trayTip("Vrin enable", true);
  EXPECT_EQ(std::string(tip.data()), "Vrin enable");
  for (std::size_t i = 11; i < tip.size(); ++i) EXPECT_EQ(tip[i], '\0') << i;

  const std::array<char, kTrayTipBytes> zeros{};
  EXPECT_EQ(trayTip(eighty, false), zeros);
  EXPECT_EQ(trayTip("", true), zeros);
}

TEST(TrayHooks, MinimiseAndShowDecisions) {
  EXPECT_TRUE(trayMinimizesIntoTray(0x0005, 1, true));    // WM_SIZE, SIZE_MINIMIZED
  EXPECT_FALSE(trayMinimizesIntoTray(0x0005, 1, false));
  EXPECT_FALSE(trayMinimizesIntoTray(0x0005, 2, true));   // SIZE_MAXIMIZED
  EXPECT_FALSE(trayMinimizesIntoTray(0x0005, 0, true));   // SIZE_RESTORED
  EXPECT_FALSE(trayMinimizesIntoTray(0x0018, 1, true));

  EXPECT_EQ(trayOwnerAction(0x0018, 1, 0), TrayOwnerAction::RestoreTaskbarButton);
  EXPECT_EQ(trayOwnerAction(0x0018, 1, 3), TrayOwnerAction::None);  // shown because the parent opened
  EXPECT_EQ(trayOwnerAction(0x0018, 0, 0), TrayOwnerAction::None);  // being hidden
  EXPECT_EQ(trayOwnerAction(0x0047, 0, 0), TrayOwnerAction::FocusActiveControl);
  EXPECT_EQ(trayOwnerAction(0x0005, 1, 0), TrayOwnerAction::None);
}
