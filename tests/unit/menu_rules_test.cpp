// Menu skinning decisions: the take-over of popup menu items, item drawing, popup window
// messages, and the tracking of a bar item's menu by key and by mouse.
#include <gtest/gtest.h>

#include "skin/pure/menu_rules.h"

namespace vrin {
namespace {

TEST(MenuRulesTest, PopupMenuComponentsByTag) {
  EXPECT_TRUE(skinsPopupMenu(kAllSkinControls, 0, 99));
  EXPECT_FALSE(skinsPopupMenu(kAllSkinControls, 99, 99));
  EXPECT_FALSE(skinsPopupMenu(kAllSkinControls, 199, 99));
  EXPECT_FALSE(skinsPopupMenu(kAllSkinControls, 999, 99));
  EXPECT_TRUE(skinsPopupMenu(kAllSkinControls, 999, 5));
  EXPECT_FALSE(skinsPopupMenu(kAllSkinControls & ~skinControl(xcPopupMenu), 0, 99));
}

TEST(MenuRulesTest, ItemHandlersSwitchingOn) {
  const SkinControlTypes all = kAllSkinControls, noMain = kAllSkinControls & ~skinControl(xcMainMenu);
  using H = HandlerHeld;
  // The tray menu's items carry the side-bar measure handler and no plain draw handler.
  SkinItemFacts top{0, true, H::None, H::Other};
  EXPECT_EQ(itemHandlerChange(true, top, all), (ItemHandlerChange{DrawChange::SetSkin, MeasureChange::SetTopLevel}));
  SkinItemFacts deeper{0, false, H::None, H::Other};
  EXPECT_EQ(itemHandlerChange(true, deeper, all), (ItemHandlerChange{DrawChange::SetSkin, MeasureChange::SetFull}));
  EXPECT_EQ(itemHandlerChange(true, deeper, noMain), (ItemHandlerChange{DrawChange::Keep, MeasureChange::SetFull}));
  // Applied again: the same handlers.
  SkinItemFacts again{0, true, H::Skin, H::Skin};
  EXPECT_EQ(itemHandlerChange(true, again, all), (ItemHandlerChange{DrawChange::SetSkin, MeasureChange::SetTopLevel}));

  // A plain draw handler of the application's own keeps both its handlers.
  SkinItemFacts own{0, true, H::Other, H::Other};
  EXPECT_EQ(itemHandlerChange(true, own, all), ItemHandlerChange{});
  // Tag 999 loses its draw handler, whoever put it there; the measure stays.
  SkinItemFacts opted{999, true, H::Other, H::Other};
  EXPECT_EQ(itemHandlerChange(true, opted, all), (ItemHandlerChange{DrawChange::Clear, MeasureChange::Keep}));
}

TEST(MenuRulesTest, ItemHandlersSwitchingOff) {
  using H = HandlerHeld;
  // Only the skin's own handlers go: nothing is left pointing at a skinner that is gone.
  EXPECT_EQ(itemHandlerChange(false, {0, true, H::Skin, H::Skin}, kAllSkinControls),
            (ItemHandlerChange{DrawChange::Clear, MeasureChange::Clear}));
  EXPECT_EQ(itemHandlerChange(false, {0, false, H::Other, H::Other}, kAllSkinControls), ItemHandlerChange{});
  EXPECT_EQ(itemHandlerChange(false, {999, false, H::None, H::Skin}, kAllSkinControls),
            (ItemHandlerChange{DrawChange::Keep, MeasureChange::Clear}));
}

TEST(MenuRulesTest, PopupWindowMessages) {
  constexpr unsigned kDestroy = 0x2, kNcPaint = 0x85, kPrint = 0x317;
  EXPECT_EQ(popupMessageAction(kNcPaint, false, false, true), PopupAction::Pass);
  EXPECT_EQ(popupMessageAction(kDestroy, true, false, false), PopupAction::ReleaseThenPass);
  EXPECT_EQ(popupMessageAction(kNcPaint, true, false, true), PopupAction::Swallow);
  EXPECT_EQ(popupMessageAction(kNcPaint, true, true, true), PopupAction::DrawFrame);
  EXPECT_EQ(popupMessageAction(kNcPaint, true, false, false), PopupAction::Pass);  // the system frame stays
  EXPECT_EQ(popupMessageAction(kPrint, true, false, true), PopupAction::Print);
  EXPECT_EQ(popupMessageAction(kPrint, true, false, false), PopupAction::Pass);
}

MenuLoopMessage message(unsigned id, std::uintptr_t wParam = 0) {
  MenuLoopMessage m;
  m.message = id;
  m.wParam = wParam;
  return m;
}
MenuLoopMessage key(unsigned code) { return message(menumsg::KeyDown, code); }
MenuLoopMessage mouse(int x, int y, int under) {
  MenuLoopMessage m = message(menumsg::MouseMove);
  m.cursor = {x, y};
  m.barItemUnderCursor = under;
  return m;
}
constexpr MenuSelection kLeaf{true, true, false, false, false};
constexpr MenuSelection kOpener{true, true, false, true, false};
constexpr MenuSelection kDeepLeaf{true, false, false, false, false};

TEST(MenuRulesTest, FirstMessagePostsTheDownKeyOnce) {
  MenuTracker t;
  EXPECT_EQ(t.onMessage(key(vk::Down)), MenuLoopReaction{});  // nothing tracked
  t.start(0, 3, {5, 5});
  EXPECT_TRUE(t.onMessage(mouse(5, 5, -1)).postKeyDown);
  EXPECT_FALSE(t.onMessage(mouse(5, 5, -1)).postKeyDown);
  t.stop();
  EXPECT_EQ(t.TrackingIndex(), -1);
  t.start(1, 3, {5, 5});
  EXPECT_TRUE(t.onMessage(key(vk::Down)).postKeyDown);
}

TEST(MenuRulesTest, ArrowsMoveAlongTheBarAndWrap) {
  MenuTracker t;
  auto pressFrom = [&](int index, MenuSelection current, unsigned code) {
    t.start(index, 3, {0, 0});
    t.onMenuSelect(false, current);
    return t.onMessage(key(code)).press;
  };
  // Right on an item without sub-items opens the next bar item; from the last, the first.
  EXPECT_EQ(pressFrom(0, kLeaf, vk::Right), 1);
  EXPECT_TRUE(t.KeySwitch());
  EXPECT_EQ(pressFrom(2, kLeaf, vk::Right), 0);
  EXPECT_EQ(pressFrom(0, kOpener, vk::Right), -1);  // right opens its submenu instead
  // Left from the bar item's own menu goes back; before the first comes the last.
  EXPECT_EQ(pressFrom(1, kLeaf, vk::Left), 0);
  EXPECT_EQ(pressFrom(0, kLeaf, vk::Left), 2);
  EXPECT_EQ(pressFrom(0, (MenuSelection{true, false, true, true, false}), vk::Left), 2);
  EXPECT_EQ(pressFrom(0, kDeepLeaf, vk::Left), -1);  // a deeper menu closes first
  EXPECT_EQ(pressFrom(0, MenuSelection{}, vk::Right), -1);  // nothing selected yet

  // A bar of one item has nowhere to go; an empty bar neither.
  for (int count : {1, 0}) {
    t.start(0, count, {0, 0});
    t.onMenuSelect(false, kLeaf);
    EXPECT_EQ(t.onMessage(key(vk::Right)).press, -1);
    EXPECT_EQ(t.onMessage(mouse(9, 9, 0)).press, -1);
  }
}

TEST(MenuRulesTest, RightToLeftMenusSwapTheArrows) {
  MenuTracker t;
  t.start(1, 3, {0, 0});
  EXPECT_EQ(t.translateKey(menumsg::KeyDown, vk::Left), vk::Left);  // nothing selected: no menu to read
  t.onMenuSelect(false, MenuSelection{true, true, false, false, true});
  EXPECT_EQ(t.translateKey(menumsg::KeyDown, vk::Left), vk::Right);
  EXPECT_EQ(t.translateKey(menumsg::KeyUp, vk::Right), vk::Left);
  EXPECT_EQ(t.translateKey(menumsg::KeyDown, vk::Down), vk::Down);
  // Mouse messages carry button flags, not key codes.
  EXPECT_EQ(t.translateKey(menumsg::MouseMove, vk::Left), vk::Left);
  EXPECT_EQ(t.onMessage(key(t.translateKey(menumsg::KeyDown, vk::Left))).press, 2);
}

TEST(MenuRulesTest, MouseSwitchesOnlyWhenItMoves) {
  MenuTracker t;
  t.start(0, 3, {40, 10});
  EXPECT_EQ(t.onMessage(mouse(40, 10, 2)).press, -1);  // the cursor at rest
  EXPECT_EQ(t.onMessage(mouse(41, 10, 0)).press, -1);  // over the open item
  EXPECT_EQ(t.onMessage(mouse(42, 10, -1)).press, -1);
  EXPECT_EQ(t.onMessage(mouse(90, 10, 2)).press, 2);
  EXPECT_EQ(t.onMessage(mouse(91, 10, 7)).press, -1);  // no such item
}

TEST(MenuRulesTest, ClosingEndsTrackingUnlessSwitching) {
  MenuTracker t;
  t.start(0, 3, {0, 0});
  t.onMenuSelect(false, kLeaf);
  EXPECT_TRUE(t.onMenuSelect(true, {}).endTracking);

  // A switch closes the menu without ending the tracking, once.
  t.start(0, 3, {0, 0});
  t.onMenuSelect(false, kLeaf);
  ASSERT_EQ(t.onMessage(key(vk::Right)).press, 1);
  EXPECT_FALSE(t.onMenuSelect(true, {}).endTracking);
  EXPECT_FALSE(t.KeySwitch());
  EXPECT_FALSE(t.CurrentItem().known);
  EXPECT_TRUE(t.onMenuSelect(true, {}).endTracking);

  // Escape and Return take the switch back; Alt ends the tracking.
  t.start(0, 3, {0, 0});
  t.onMenuSelect(false, kLeaf);
  t.onMessage(key(vk::Right));
  t.onMessage(key(vk::Escape));
  EXPECT_TRUE(t.onMenuSelect(true, {}).endTracking);
  EXPECT_TRUE(t.onMessage(message(menumsg::SysKeyDown, vk::Menu)).endTracking);
  EXPECT_FALSE(t.onMessage(message(menumsg::SysKeyDown, 'F')).endTracking);
}

}  // namespace
}  // namespace vrin
