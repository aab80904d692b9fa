#include "skin/pure/menu_rules.h"

#include "skin/pure/control_choice.h"

namespace vrin {
namespace {

constexpr unsigned kWmDestroy = 0x0002, kWmNcPaint = 0x0085, kWmPrint = 0x0317;
constexpr unsigned kKeyFirst = 0x100, kKeyLast = 0x109;

}  // namespace

bool skinsPopupMenu(SkinControlTypes skinControls, std::int32_t tag, std::int32_t disableTag) {
  return hasSkinControl(skinControls, xcPopupMenu) && !tagDisablesSkin(tag, disableTag);
}

ItemHandlerChange itemHandlerChange(bool switchingOn, const SkinItemFacts& item, SkinControlTypes skinControls) {
  if (!switchingOn)
    return {item.draw == HandlerHeld::Skin ? DrawChange::Clear : DrawChange::Keep,
            item.measure == HandlerHeld::Skin ? MeasureChange::Clear : MeasureChange::Keep};
  if (item.Tag == kUnskinnedItemTag) return {DrawChange::Clear, MeasureChange::Keep};
  if (item.draw == HandlerHeld::Other) return {};
  if (item.topLevel) return {DrawChange::SetSkin, MeasureChange::SetTopLevel};
  return {hasSkinControl(skinControls, xcMainMenu) ? DrawChange::SetSkin : DrawChange::Keep, MeasureChange::SetFull};
}

ItemDrawing chooseItemDrawing(bool applicationItem, bool skinnedItems) {
  if (applicationItem) return skinnedItems ? ItemDrawing::Skinned : ItemDrawing::Plain;
  return skinnedItems ? ItemDrawing::SkinnedTemporary : ItemDrawing::PlainTemporary;
}

PopupAction popupMessageAction(unsigned message, bool skinActive, bool windows95, bool background) {
  if (!skinActive) return PopupAction::Pass;
  switch (message) {
    case kWmDestroy: return PopupAction::ReleaseThenPass;
    case kWmNcPaint:
      if (!background) return PopupAction::Pass;
      return windows95 ? PopupAction::DrawFrame : PopupAction::Swallow;
    case kWmPrint: return background ? PopupAction::Print : PopupAction::Pass;
    default: return PopupAction::Pass;
  }
}

void MenuTracker::start(int index, int itemCount, Point cursor) {
  trackingIndex_ = index;
  itemCount_ = itemCount;
  current_ = {};
  firstMessageSeen_ = false;
  keySwitch_ = false;
  lastMousePos_ = cursor;
}

void MenuTracker::stop() {
  current_ = {};
  trackingIndex_ = -1;
  firstMessageSeen_ = false;
}

std::uintptr_t MenuTracker::translateKey(unsigned message, std::uintptr_t wParam) const {
  if (!current_.known || !current_.rightToLeft || message < kKeyFirst || message > kKeyLast) return wParam;
  if (wParam == vk::Left) return vk::Right;
  if (wParam == vk::Right) return vk::Left;
  return wParam;
}

int MenuTracker::target(const MenuLoopMessage& m) {
  if (itemCount_ <= 0) return -1;
  switch (m.message) {
    case menumsg::KeyDown:
      if (m.wParam == vk::Return || m.wParam == vk::Escape) keySwitch_ = false;
      // Left leaves the bar item's own menu (deeper menus close first); before the first comes the last.
      if (m.wParam == vk::Left && current_.known && (current_.inTrackedMenu || current_.opensTrackedMenu))
        return (trackingIndex_ + itemCount_ - 1) % itemCount_;
      // Right on an item that opens nothing moves on; after the last comes the first.
      if (m.wParam == vk::Right && current_.known && !current_.hasSubItems)
        return (trackingIndex_ + 1) % itemCount_;
      return -1;
    case menumsg::MouseMove: {
      // The menu loop repeats mouse moves of a cursor at rest; only a real move switches.
      if (m.cursor == lastMousePos_) return -1;
      lastMousePos_ = m.cursor;
      return m.barItemUnderCursor < itemCount_ ? m.barItemUnderCursor : -1;
    }
    default: return -1;
  }
}

MenuLoopReaction MenuTracker::onMessage(const MenuLoopMessage& m) {
  MenuLoopReaction r;
  if (trackingIndex_ < 0) return r;
  if (!firstMessageSeen_) {
    firstMessageSeen_ = true;
    r.postKeyDown = true;
  }
  if (m.message == menumsg::SysKeyDown && m.wParam == vk::Menu) {
    r.endTracking = true;
    return r;
  }
  const int t = target(m);
  if (t >= 0 && t != trackingIndex_) {
    keySwitch_ = true;
    r.press = t;
  }
  return r;
}

MenuLoopReaction MenuTracker::onMenuSelect(bool closing, const MenuSelection& selection) {
  MenuLoopReaction r;
  if (trackingIndex_ < 0) return r;
  // A menu closing for a switch to another bar item leaves the tracking on.
  if (closing && !keySwitch_) {
    r.endTracking = true;
    return r;
  }
  keySwitch_ = false;
  current_ = closing ? MenuSelection{} : selection;
  return r;
}

}  // namespace vrin
