#include "tray/pure/tray_logic.h"

#include <algorithm>

namespace vrin {

namespace {

constexpr unsigned kMsgSize = 0x0005, kMsgShowWindow = 0x0018, kMsgWindowPosChanged = 0x0047;
constexpr std::uintptr_t kSizeMinimized = 1;

bool menuPopsUp(const TrayMenuInfo& menu) { return menu.assigned && menu.autoPopup; }

TrayAction mouseAction(TrayEvent event, TrayButton button, unsigned modifiers) {
  TrayAction a;
  a.event = event;
  a.button = button;
  a.shift = modifiers | trayButtonShift(button);
  return a;
}

TrayAction plainAction(TrayEvent event) {
  TrayAction a;
  a.event = event;
  return a;
}

}  // namespace

unsigned trayModifierShift(std::int16_t shiftKey, std::int16_t altKey, std::int16_t ctrlKey) {
  unsigned s = 0;
  if (shiftKey < 0) s |= kTrayShiftShift;
  if (altKey < 0) s |= kTrayShiftAlt;
  if (ctrlKey < 0) s |= kTrayShiftCtrl;
  return s;
}

unsigned trayButtonShift(TrayButton button) {
  switch (button) {
    case TrayButton::Left: return kTrayShiftLeft;
    case TrayButton::Right: return kTrayShiftRight;
    case TrayButton::Middle: return kTrayShiftMiddle;
  }
  return 0;
}

int defaultMenuItem(const std::vector<bool>& defaultFlags) {
  auto it = std::find(defaultFlags.begin(), defaultFlags.end(), true);
  return it == defaultFlags.end() ? -1 : int(it - defaultFlags.begin());
}

std::vector<TrayAction> TrayClickTracker::onTrayMessage(unsigned mouseMessage, unsigned modifiers,
                                                        const TraySettings& settings,
                                                        const TrayMenuInfo& menu) {
  std::vector<TrayAction> out;
  if (!settings.enabled) return out;
  modifiers &= kTrayShiftShift | kTrayShiftAlt | kTrayShiftCtrl;
  switch (mouseMessage) {
    case kTrayMouseMove: {
      TrayAction a = plainAction(TrayEvent::MouseMove);
      a.shift = modifiers;
      out.push_back(a);
      break;
    }
    case kTrayLButtonDown:
      out.push_back(mouseAction(TrayEvent::MouseDown, TrayButton::Left, modifiers));
      clickPending_ = true;
      if (settings.leftPopup && menuPopsUp(menu)) out.push_back(plainAction(TrayEvent::ShowMenu));
      break;
    case kTrayLButtonUp:
      // OnClick comes before OnMouseUp.
      if (clickPending_) {
        clickPending_ = false;
        out.push_back(plainAction(TrayEvent::Click));
      }
      out.push_back(mouseAction(TrayEvent::MouseUp, TrayButton::Left, modifiers));
      break;
    case kTrayLButtonDblClk:
      // Does not set the pending flag: the release that follows is only a MouseUp.
      out.push_back(plainAction(TrayEvent::DblClick));
      if (menuPopsUp(menu) && !settings.leftPopup && menu.defaultItem >= 0) {
        TrayAction a = plainAction(TrayEvent::ClickDefaultItem);
        a.item = menu.defaultItem;
        out.push_back(a);
      }
      break;
    case kTrayRButtonDown:
      out.push_back(mouseAction(TrayEvent::MouseDown, TrayButton::Right, modifiers));
      if (menuPopsUp(menu)) out.push_back(plainAction(TrayEvent::ShowMenu));
      break;
    case kTrayRButtonUp:
      out.push_back(mouseAction(TrayEvent::MouseUp, TrayButton::Right, modifiers));
      break;
    case kTrayMButtonDown:
      out.push_back(mouseAction(TrayEvent::MouseDown, TrayButton::Middle, modifiers));
      break;
    case kTrayMButtonUp:
      out.push_back(mouseAction(TrayEvent::MouseUp, TrayButton::Middle, modifiers));
      break;
    default:  // right and middle double clicks, anything else
      break;
  }
  return out;
}

TrayIconChoice chooseTrayIconIndex(int requested, bool hasList, int count) {
  if (!hasList || count <= 0) return {0, false};
  return {std::clamp(requested, 0, count - 1), true};
}

TrayCycleStep trayCycleStep(int iconIndex, int count) {
  TrayCycleStep s;
  s.current = iconIndex;
  s.copyCurrent = count > 0 && iconIndex >= 0 && iconIndex < count;
  s.next = (count > 0 && iconIndex >= 0 && iconIndex < count - 1) ? iconIndex + 1 : 0;
  return s;
}

std::array<char, kTrayTipBytes> trayTip(std::string_view hint, bool showHint) {
  std::array<char, kTrayTipBytes> tip{};
  if (showHint && !hint.empty()) {
    const std::size_t n = std::min(hint.size(), kTrayTipBytes - 1);
    std::copy_n(hint.data(), n, tip.data());
  }
  return tip;
}

bool trayMinimizesIntoTray(unsigned message, std::uintptr_t wParam, bool minimizeToTray) {
  return minimizeToTray && message == kMsgSize && wParam == kSizeMinimized;
}

TrayOwnerAction trayOwnerAction(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (message == kMsgShowWindow && wParam == 1 && lParam == 0) return TrayOwnerAction::RestoreTaskbarButton;
  if (message == kMsgWindowPosChanged) return TrayOwnerAction::FocusActiveControl;
  return TrayOwnerAction::None;
}

}  // namespace vrin
