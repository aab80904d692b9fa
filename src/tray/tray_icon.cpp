#include "tray/tray_icon.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/imagelist.h"
#include "ui/menus.h"

namespace vrin {

namespace {
const wchar_t kTrayWindowClass[] = L"TTrayIconWindow";
constexpr UINT_PTR kCycleTimer = 1;

// Broadcast to every top-level window when the notification area is made again (a restart
// of the shell): the icons it held are gone.
UINT taskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}
}  // namespace

const ClassInfo& TrayIcon::staticClassInfo() {
  static const ClassInfo info{
      "TTrayIcon",
      &Component::staticClassInfo(),
      {boolProp<TrayIcon>("Enabled", &TrayIcon::enabled, &TrayIcon::setEnabled),
       boolProp<TrayIcon>("IconVisible", &TrayIcon::iconVisible, &TrayIcon::SetIconVisible),
       stringProp<TrayIcon>("Hint", &TrayIcon::hint, &TrayIcon::SetHint),
       boolProp<TrayIcon>("ShowHint", &TrayIcon::showHint, &TrayIcon::SetShowHint),
       boolProp<TrayIcon>("StartMinimized", &TrayIcon::startMinimized, &TrayIcon::setStartMinimized),
       boolProp<TrayIcon>("MinimizeToTray", &TrayIcon::minimizeToTray, &TrayIcon::setMinimizeToTray),
       intProp<TrayIcon>("IconIndex", &TrayIcon::iconIndex, &TrayIcon::SetIconIndex),
       boolProp<TrayIcon>("CycleIcons", &TrayIcon::cycleIcons, &TrayIcon::SetCycleIcons),
       boolProp<TrayIcon>("LeftPopup", &TrayIcon::getLeftPopup, &TrayIcon::setLeftPopup),
       boolProp<TrayIcon>("DesignPreview", &TrayIcon::designPreview, &TrayIcon::SetDesignPreview),
       intProp<TrayIcon>("CycleInterval", &TrayIcon::cycleIntervalSetting, &TrayIcon::setCycleIntervalSetting),
       classProp<TrayIcon, Icon>("Icon", [](TrayIcon& t) { return &t.icon(); },
                                 [](TrayIcon& t, Icon* icon) { t.SetIcon(icon ? icon->handle() : nullptr); }),
       classProp<TrayIcon, PopupMenu>("PopupMenu", [](TrayIcon& t) { return t.popupMenu(); },
                                      [](TrayIcon& t, PopupMenu* menu) { t.setPopupMenu(menu); }),
       classProp<TrayIcon, ImageList>("IconList", [](TrayIcon& t) { return t.iconList(); },
                                      [](TrayIcon& t, ImageList* list) { t.SetIconList(list); }),
       eventProp("OnClick", &TrayIcon::onClick),
       eventProp("OnDblClick", &TrayIcon::onDblClick),
       eventProp("OnMouseDown", &TrayIcon::onMouseDown),
       eventProp("OnMouseUp", &TrayIcon::onMouseUp),
       eventProp("OnMouseMove", &TrayIcon::onMouseMove),
       eventProp("OnCycle", &TrayIcon::onCycle)}};
  return info;
}

TrayIcon::TrayIcon(Component* owner) : Component(owner) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(moduleInstance(), kTrayWindowClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &TrayIcon::windowProc;
    wc.hInstance = moduleInstance();
    wc.lpszClassName = kTrayWindowClass;
    RegisterClassExW(&wc);
  }
  window_ = CreateWindowExW(0, kTrayWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, moduleInstance(), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  taskbarCreatedMessage();

  data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data_.hWnd = window_;
  data_.uID = kTrayIconId;
  data_.uFlags = kTrayIconFlags;
  data_.uCallbackMessage = kTrayCallbackMessage;

  // The application window: minimising it may fold the program into the tray.
  appHook_.install(application().handle(), [this](HWND, UINT msg, WPARAM wp, LPARAM, LRESULT&) {
    if (trayMinimizesIntoTray(msg, wp, minimizeToTray_)) MinimizeIntoTray();
    return false;
  });
  // The owner form: shown again by a direct call, it brings the taskbar button back; moved
  // or brought forward, it gives the focus back to its active control.
  if (auto* form = dynamic_cast<WinControl*>(owner)) {
    ownerHook_.install(form->handle(), [this](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT&) {
      ownerMessage(hwnd, msg, wp, lp);
      return false;
    });
  }
}

TrayIcon::~TrayIcon() {
  SetIconVisible(false);
  icon_.reset();
  if (window_) {
    KillTimer(window_, kCycleTimer);
    DestroyWindow(window_);
  }
  appHook_.remove();
  ownerHook_.remove();
}

void TrayIcon::rememberFocus(HWND owner, HWND focus) {
  if (focus && focus != owner && IsChild(owner, focus)) activeControl_ = focus;
}

void TrayIcon::ownerMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  // The window system puts the focus on the form itself when it is activated again; the
  // control that had it is remembered here, as the form has no record of its own.
  if (msg == WM_SETFOCUS) rememberFocus(hwnd, reinterpret_cast<HWND>(wp));
  if (msg == WM_WINDOWPOSCHANGING || (msg == WM_ACTIVATE && LOWORD(wp) == WA_INACTIVE)) rememberFocus(hwnd, GetFocus());
  switch (trayOwnerAction(msg, wp, lp)) {
    case TrayOwnerAction::RestoreTaskbarButton: {
      HWND app = application().handle();
      ShowWindow(app, SW_RESTORE);
      SetForegroundWindow(app);
      SetForegroundWindow(hwnd);
      break;
    }
    case TrayOwnerAction::FocusActiveControl:
      // Only while the form is the active window: focusing it otherwise would activate it.
      if (activeControl_ && !(IsWindow(activeControl_) && IsChild(hwnd, activeControl_))) activeControl_ = nullptr;
      if (activeControl_ && GetActiveWindow() == hwnd && GetFocus() != activeControl_ &&
          IsWindowVisible(activeControl_) && IsWindowEnabled(activeControl_))
        SetFocus(activeControl_);
      break;
    case TrayOwnerAction::None: break;
  }
}

LRESULT CALLBACK TrayIcon::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TrayIcon*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && msg == taskbarCreatedMessage()) {
    // The new notification area holds nothing: the icon goes back with its current picture
    // and tip, unless it was taken out on purpose.
    if (self->iconVisible_) self->AddToTray();
    return 0;
  }
  if (self) {
    try {
      if (msg == kTrayCallbackMessage) {
        self->trayMessage(unsigned(lp));
        return 0;
      }
      if (msg == WM_TIMER && wp == kCycleTimer) {
        self->cycleTick();
        return 0;
      }
    } catch (...) {
      reportCurrentException();
      return 0;
    }
    if (msg == WM_QUERYENDSESSION) return 1;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

TrayMenuInfo TrayIcon::menuInfo() const {
  TrayMenuInfo menu;
  if (popupMenu_) {
    menu.assigned = true;
    menu.autoPopup = popupMenu_->autoPopup;
    std::vector<bool> defaults;
    for (MenuItem* item : popupMenu_->items().items()) defaults.push_back(item->isDefault());
    menu.defaultItem = defaultMenuItem(defaults);
  }
  return menu;
}

void TrayIcon::trayMessage(unsigned mouseMessage) {
  TraySettings settings{enabled_, leftPopup};
  TrayMenuInfo menu = menuInfo();
  unsigned modifiers = trayModifierShift(GetKeyState(VK_SHIFT), GetKeyState(VK_MENU), GetKeyState(VK_CONTROL));
  for (const TrayAction& a : clicks_.onTrayMessage(mouseMessage, modifiers, settings, menu)) {
    POINT pt{};
    GetCursorPos(&pt);
    switch (a.event) {
      case TrayEvent::MouseMove: onMouseMove(this, a.shift, pt.x, pt.y); break;
      case TrayEvent::MouseDown: onMouseDown(this, a.button, a.shift, pt.x, pt.y); break;
      case TrayEvent::MouseUp: onMouseUp(this, a.button, a.shift, pt.x, pt.y); break;
      case TrayEvent::Click: onClick(this); break;
      case TrayEvent::DblClick: onDblClick(this); break;
      case TrayEvent::ShowMenu: ShowMenuAtCursor(); break;
      case TrayEvent::ClickDefaultItem:
        if (popupMenu_ && a.item >= 0 && a.item < popupMenu_->items().count()) popupMenu_->items().item(a.item)->click();
        break;
    }
  }
}

void TrayIcon::ShowMenuAtCursor() {
  POINT pt{};
  if (!popupMenu_ || !popupMenu_->autoPopup || !GetCursorPos(&pt)) return;
  application().processMessages();
  auto* form = dynamic_cast<WinControl*>(owner());
  HWND ownerWnd = form ? form->handle() : window_;
  SetForegroundWindow(ownerWnd);
  popupMenu_->popupComponent = this;
  popupMenu_->popup(pt.x, pt.y);
  PostMessageA(ownerWnd, WM_NULL, 0, 0);
}

void TrayIcon::SetIcon(HICON icon) {
  icon_.reset(icon ? CopyIcon(icon) : nullptr);
  UpdateTray();
}

void TrayIcon::SetIconVisible(bool v) {
  if (v) AddToTray();
  else RemoveFromTray();
}

void TrayIcon::SetHint(const std::string& text) {
  hint_ = text;
  UpdateTray();
}

void TrayIcon::SetShowHint(bool v) {
  showHint_ = v;
  UpdateTray();
}

void TrayIcon::setPopupMenu(PopupMenu* menu) {
  popupMenu_ = menu;
  if (menu) freeNotification(menu);
}

void TrayIcon::SetIconIndex(int index) {
  TrayIconChoice choice = chooseTrayIconIndex(index, iconList_ != nullptr, iconList_ ? iconList_->count() : 0);
  iconIndex_ = choice.index;
  if (choice.copyImage) icon_.reset(iconList_->makeIcon(iconIndex_));
  UpdateTray();
}

void TrayIcon::SetIconList(ImageList* list) {
  iconList_ = list;
  if (list) freeNotification(list);
  SetIconIndex(0);
}

void TrayIcon::SetCycleIcons(bool v) {
  cycleIcons_ = v;
  if (v) SetIconIndex(0);
  updateTimer();
}

void TrayIcon::SetCycleInterval(unsigned ms) {
  cycleInterval_ = ms;
  updateTimer();
}

int TrayIcon::cycleIntervalSetting() const { return int(std::min<unsigned>(cycleInterval_, INT_MAX)); }

void TrayIcon::setCycleIntervalSetting(int ms) { SetCycleInterval(unsigned(std::max(ms, 0))); }

void TrayIcon::updateTimer() {
  KillTimer(window_, kCycleTimer);
  // An interval of 0 never ticks.
  if (cycleIcons_ && cycleInterval_ > 0) SetTimer(window_, kCycleTimer, cycleInterval_, nullptr);
}

void TrayIcon::cycleTick() {
  if (!iconList_) return;
  TrayCycleStep step = trayCycleStep(iconIndex_, iconList_->count());
  if (step.copyCurrent) icon_.reset(iconList_->makeIcon(step.current));
  onCycle(this, step.next);
  UpdateTray();
  SetIconIndex(step.next);
}

bool TrayIcon::FillTrayData() {
  data_.hIcon = icon_.handle();
  auto tip = trayTip(toAnsi(hint_), showHint_);
  std::memcpy(data_.szTip, tip.data(), tip.size());
  return true;
}

bool TrayIcon::AddToTray() {
  iconVisible_ = true;
  const bool added = FillTrayData() && Shell_NotifyIconA(NIM_ADD, &data_);
  if (added) inTray_ = true;  // a failed add (one already there) leaves the entry as it was
  return added;
}

bool TrayIcon::RemoveFromTray() {
  iconVisible_ = false;
  inTray_ = false;
  return FillTrayData() && Shell_NotifyIconA(NIM_DELETE, &data_);
}

bool TrayIcon::UpdateTray() {
  if (!FillTrayData()) return false;
  return inTray_ && Shell_NotifyIconA(NIM_MODIFY, &data_);
}

void TrayIcon::loaded() {
  Component::loaded();
  if (startMinimized_) {
    application().showMainForm = false;
    ShowWindow(application().handle(), SW_HIDE);
  }
  UpdateTray();
  SetIconVisible(iconVisible_);
}

void TrayIcon::MinimizeIntoTray() {
  HideApplicationWindows();
  SetIconVisible(true);
}

void TrayIcon::HideApplicationWindows() {
  if (Form* main = application().mainForm()) main->hide();
  ShowWindow(application().handle(), SW_HIDE);
}

void TrayIcon::notification(Component* component, Operation operation) {
  Component::notification(component, operation);
  if (operation != Operation::Remove) return;
  if (component == iconList_) {
    iconList_ = nullptr;
    SetIconList(nullptr);
  }
  if (component == popupMenu_) popupMenu_ = nullptr;
}

}  // namespace vrin
