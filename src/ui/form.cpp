#include "ui/form.h"

#include "ui/application.h"
#include "ui/menus.h"

namespace vrin {

const ClassInfo& Form::staticClassInfo() {
  static const ClassInfo info{"TForm", &WinControl::staticClassInfo(), {}};
  return info;
}

Form::Form(Component* owner) : WinControl(owner) {
  setVisible(false);
  if (!application().mainForm()) application().setMainForm(this);
  application().addForm(this);
}

Form::~Form() {
  if (!destroyFired_) {
    destroyFired_ = true;
    onDestroy(this);
  }
  // Components go before the window they live in, and the window before the form's own
  // members: whoever hooked it (the skin) still finds a whole form while it goes.
  destroyComponents();
  destroyHandle();
  if (application().mainForm() == this) application().setMainForm(nullptr);
  application().removeForm(this);
}

int Form::addMessageHandler(MessageHandler handler) {
  // Copy on change: a message already passing through keeps the chain it started with.
  auto chain = std::make_shared<HandlerChain>(*handlers_);
  const int id = nextHandlerId_++;
  chain->insert(chain->begin(), std::make_shared<HandlerEntry>(HandlerEntry{id, std::move(handler)}));
  handlers_ = std::move(chain);
  return id;
}

void Form::removeMessageHandler(int id) {
  auto chain = std::make_shared<HandlerChain>(*handlers_);
  std::erase_if(*chain, [id](const std::shared_ptr<HandlerEntry>& e) { return e->id == id; });
  handlers_ = std::move(chain);
}

LRESULT Form::handleMessage(UINT msg, WPARAM wp, LPARAM lp) { return dispatchFrom(handlers_, 0, msg, wp, lp); }

LRESULT Form::dispatchFrom(const std::shared_ptr<const HandlerChain>& chain, std::size_t index, UINT msg, WPARAM wp,
                           LPARAM lp) {
  if (index >= chain->size()) return windowProc(msg, wp, lp);
  std::shared_ptr<HandlerEntry> entry = (*chain)[index];
  return entry->fn(msg, wp, lp, [this, chain, index](UINT m, WPARAM w, LPARAM l) {
    return dispatchFrom(chain, index + 1, m, w, l);
  });
}

void Form::setMenu(MainMenu* menu) {
  if (menu == menu_) return;
  menu_ = menu;
  if (menu) freeNotification(menu);
  if (!hwnd_) return;
  SetMenu(hwnd_, menu ? menu->handle() : nullptr);
  // Whoever draws the window's menu bar (the skin) hears of the new menu.
  SendMessageW(hwnd_, CM_MENUCHANGED, 0, reinterpret_cast<LPARAM>(static_cast<Menu*>(menu)));
}

void Form::notification(Component* component, Operation operation) {
  WinControl::notification(component, operation);
  if (operation != Operation::Remove || component != menu_) return;
  menu_ = nullptr;
  // The menu's handle goes with it: the window must not keep showing it.
  if (hwnd_ && IsWindow(hwnd_)) SetMenu(hwnd_, nullptr);
}

void Form::setAutoScroll(bool on) {
  autoScroll_ = on;
  if (!on && hwnd_) ShowScrollBar(hwnd_, SB_BOTH, FALSE);
}

WinControl::CreateParams Form::createParams() {
  classNameW_ = widen(className());
  registerOwnClass(classNameW_, nullptr, CS_DBLCLKS, LoadIconW(moduleInstance(), L"MAINICON"));
  CreateParams cp;
  cp.className = classNameW_.c_str();
  cp.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  switch (borderStyle) {
    case BorderStyle::None: cp.style |= WS_POPUP; break;
    case BorderStyle::ToolWindow: cp.style |= WS_CAPTION | WS_SYSMENU; cp.exStyle |= WS_EX_TOOLWINDOW; break;
    case BorderStyle::SizeToolWin: cp.style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME; cp.exStyle |= WS_EX_TOOLWINDOW; break;
    case BorderStyle::Dialog: cp.style |= WS_CAPTION | WS_SYSMENU; cp.exStyle |= WS_EX_DLGMODALFRAME; break;
    case BorderStyle::Single: cp.style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; break;
    case BorderStyle::Sizeable: cp.style |= WS_OVERLAPPEDWINDOW; break;
  }
  if (formStyle == FormStyle::StayOnTop) cp.exStyle |= WS_EX_TOPMOST;
  cp.caption = widen(WinControl::text());
  return cp;
}

void Form::handleCreated() {
  // Owned by the application window, like every form: no taskbar button of its own.
  SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(application().handle()));
  SetWindowPos(hwnd_, nullptr, left(), top(), width(), height(), SWP_NOZORDER | SWP_NOACTIVATE);
  if (clientWidth_ > 0) setClientSize(clientWidth_, clientHeight_);
  if (menu_) SetMenu(hwnd_, menu_->handle());
  if (icon_.handle()) {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.handle()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.handle()));
  }
}

void Form::setClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  if (!hwnd_) return;
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, DWORD(GetWindowLongW(hwnd_, GWL_STYLE)), GetMenu(hwnd_) != nullptr, DWORD(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
  RECT w;
  GetWindowRect(hwnd_, &w);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Keep our idea of the bounds in step with the window.
  GetWindowRect(hwnd_, &w);
  WinControl::setBounds(w.left, w.top, w.right - w.left, w.bottom - w.top);
}

int Form::clientWidth() { return clientRect().right; }
int Form::clientHeight() { return clientRect().bottom; }

void Form::show() {
  HWND h = handle();
  if (position == Position::ScreenCenter && !centred_) {
    centred_ = true;
    RECT w;
    GetWindowRect(h, &w);
    int x = (GetSystemMetrics(SM_CXSCREEN) - (w.right - w.left)) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - (w.bottom - w.top)) / 2;
    SetWindowPos(h, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  WinControl::setVisible(true);
  ShowWindow(h, SW_SHOW);
  SetWindowPos(h, formStyle == FormStyle::StayOnTop ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(h);
  onShow(this);
}

void Form::hide() {
  WinControl::setVisible(false);
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
  onHide(this);
}

bool Form::closeQuery() {
  bool canClose = true;
  onCloseQuery(this, canClose);
  return canClose;
}

void Form::close() {
  if (!closeQuery()) return;
  CloseAction action = application().mainForm() == this ? CloseAction::Free : CloseAction::Hide;
  onClose(this, action);
  switch (action) {
    case CloseAction::None: break;
    case CloseAction::Hide: hide(); break;
    case CloseAction::Minimize: if (hwnd_) ShowWindow(hwnd_, SW_MINIMIZE); break;
    case CloseAction::Free:
      if (application().mainForm() == this) application().terminate();
      else hide();
      break;
  }
}

void Form::doCreate() { onCreate(this); }

LRESULT Form::windowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      close();
      return 0;
    case WM_CHAR:
      // A character key nothing took is offered to the form's handlers (menu accelerators).
      if (SendMessageW(hwnd_, CM_DIALOGCHAR, wp, lp)) return 0;
      break;
    case CM_MENUCHANGED:
      // The menu rebuilds its handle when asked for it: the window shows the new one.
      if (menu_ && lp == reinterpret_cast<LPARAM>(static_cast<Menu*>(menu_))) SetMenu(hwnd_, menu_->handle());
      break;
    case WM_QUERYENDSESSION:
      return closeQuery() ? TRUE : FALSE;
    case WM_MOVE: {
      RECT w;
      GetWindowRect(hwnd_, &w);
      WinControl::setBounds(w.left, w.top, w.right - w.left, w.bottom - w.top);
      break;
    }
    case WM_DESTROY:
      if (!destroyFired_) {
        destroyFired_ = true;
        onDestroy(this);
      }
      break;
  }
  return WinControl::windowProc(msg, wp, lp);
}

}  // namespace vrin
