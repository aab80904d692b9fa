#include "ui/control.h"

#include <algorithm>

#include "ui/menus.h"

namespace vrin {

namespace {
const wchar_t kControlProp[] = L"VrinControl";
}

const ClassInfo& WinControl::staticClassInfo() {
  static const ClassInfo info{"TWinControl", &Component::staticClassInfo(), {}};
  return info;
}

WinControl::WinControl(Component* owner) : Component(owner) {}

WinControl::~WinControl() {
  for (WinControl* c : children_) c->parent_ = nullptr;
  if (parent_) {
    auto& sib = parent_->children_;
    sib.erase(std::remove(sib.begin(), sib.end(), this), sib.end());
  }
  destroyHandle();
}

void WinControl::destroyHandle() {
  if (!hwnd_) return;
  HWND h = hwnd_;
  RemovePropW(h, kControlProp);
  hwnd_ = nullptr;
  if (ownClass_) SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  DestroyWindow(h);
}

WinControl* WinControl::fromHandle(HWND hwnd) {
  return hwnd ? static_cast<WinControl*>(GetPropW(hwnd, kControlProp)) : nullptr;
}

void WinControl::setParent(WinControl* parent) {
  if (parent_ == parent) return;
  if (parent_) {
    auto& sib = parent_->children_;
    sib.erase(std::remove(sib.begin(), sib.end(), this), sib.end());
  }
  parent_ = parent;
  if (parent_) {
    parent_->children_.push_back(this);
    if (hwnd_) SetParent(hwnd_, parent_->handle());
    else if (parent_->handleAllocated()) handle();
    parent_->realign();
  }
}

HWND WinControl::handle() {
  if (hwnd_) return hwnd_;
  CreateParams cp = createParams();
  HWND parentWnd = nullptr;
  if (cp.style & WS_CHILD) {
    if (!parent_) throw Error("Le contrôle '" + name() + "' n'a pas de fenêtre parent");
    parentWnd = parent_->handle();
  }
  if (visible_ && (cp.style & WS_CHILD)) cp.style |= WS_VISIBLE;
  hwnd_ = CreateWindowExW(cp.exStyle, cp.className, cp.caption.c_str(), cp.style, left_, top_, width_, height_,
                          parentWnd, nullptr, moduleInstance(), this);
  if (!hwnd_) throw Error("Impossible de créer la fenêtre de '" + name() + "'");
  SetPropW(hwnd_, kControlProp, this);
  SendMessageW(hwnd_, WM_SETFONT, WPARAM(font_.handle()), FALSE);
  if (!text_.empty() && cp.caption.empty()) SetWindowTextW(hwnd_, widen(text_).c_str());
  handleCreated();
  for (WinControl* c : children_) c->handle();
  realign();
  return hwnd_;
}

void WinControl::registerOwnClass(const std::wstring& name, HBRUSH background, UINT style, HICON icon) {
  WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
  if (GetClassInfoExW(moduleInstance(), name.c_str(), &wc)) return;
  wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = &WinControl::ownClassProc;
  wc.hInstance = moduleInstance();
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = name.c_str();
  RegisterClassExW(&wc);
}

LRESULT CALLBACK WinControl::ownClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<WinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self && msg == WM_NCCREATE) {
    self = static_cast<WinControl*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
    self->ownClass_ = true;
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    return self->handleMessage(msg, wp, lp);
  } catch (...) {
    // Errors never unwind through the window system: they get the standard report.
    reportCurrentException();
    return 0;
  }
}

LRESULT WinControl::defaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

HBRUSH WinControl::backgroundBrush() {
  if (!brush_ || brushColor_ != color_) {
    brush_.reset(CreateSolidBrush(colorToRGB(color_)));
    brushColor_ = color_;
  }
  return brush_.get();
}

LRESULT WinControl::windowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (lp) {
        if (WinControl* c = fromHandle(reinterpret_cast<HWND>(lp))) c->command(HIWORD(wp));
        return 0;
      }
      if (HIWORD(wp) == 0 && MenuItem::dispatchCommand(LOWORD(wp))) return 0;
      break;
    case WM_DRAWITEM: {
      auto& dis = *reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (dis.CtlType == ODT_MENU) {
        if (Menu::drawMenuItem(dis)) return TRUE;
      } else if (WinControl* c = fromHandle(dis.hwndItem); c && c->drawItem(dis)) {
        return TRUE;
      }
      break;
    }
    case WM_MEASUREITEM: {
      auto& mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (mis.CtlType == ODT_MENU && Menu::measureMenuItem(hwnd_, mis)) return TRUE;
      break;
    }
    case WM_CONTEXTMENU: {
      WinControl* c = fromHandle(reinterpret_cast<HWND>(wp));
      if (c && c->popupMenu() && c->popupMenu()->autoPopup) {
        POINT pt{short(LOWORD(lp)), short(HIWORD(lp))};
        if (pt.x == -1 && pt.y == -1) GetCursorPos(&pt);
        c->popupMenu()->popupComponent = c;
        c->popupMenu()->popup(pt.x, pt.y);
        return 0;
      }
      break;
    }
    case WM_CTLCOLORSTATIC: {
      WinControl* c = fromHandle(reinterpret_cast<HWND>(lp));
      HDC dc = reinterpret_cast<HDC>(wp);
      Color col = c ? c->color() : color_;
      SetBkColor(dc, colorToRGB(col));
      SetTextColor(dc, colorToRGB(c ? c->font().desc().color : clWindowText));
      return reinterpret_cast<LRESULT>(c ? c->backgroundBrush() : backgroundBrush());
    }
    case WM_HSCROLL: case WM_VSCROLL:
      // A scroll bar control's notification goes back to the control (CN_HSCROLL, CN_VSCROLL),
      // so that it, and whatever sits in front of its procedure, handles its own scrolling.
      if (lp && fromHandle(reinterpret_cast<HWND>(lp)))
        return SendMessageW(reinterpret_cast<HWND>(lp), msg + 0xBC00, wp, lp);
      break;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd_, &r);
      FillRect(reinterpret_cast<HDC>(wp), &r, backgroundBrush());
      return 1;
    }
    case WM_SIZE:
      realign();
      break;
  }
  return defaultProc(msg, wp, lp);
}

void WinControl::setBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  applyBounds();
  if (parent_) parent_->realign();
}

void WinControl::applyBounds() {
  if (hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD))
    SetWindowPos(hwnd_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinControl::setAlign(Align a) {
  align_ = a;
  if (parent_) parent_->realign();
}

void WinControl::setVisible(bool v) {
  visible_ = v;
  if (hwnd_) ShowWindow(hwnd_, v ? SW_SHOWNA : SW_HIDE);
  if (parent_) parent_->realign();
}

void WinControl::setColor(Color c) {
  color_ = c;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void WinControl::setFont(const FontSpec& desc) {
  font_.assign(desc);
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, WPARAM(font_.handle()), TRUE);
}

void WinControl::setPopupMenu(PopupMenu* menu) {
  popupMenu_ = menu;
  if (menu) freeNotification(menu);
}

void WinControl::notification(Component* component, Operation operation) {
  Component::notification(component, operation);
  if (operation == Operation::Remove && component == popupMenu_) popupMenu_ = nullptr;
}

std::string WinControl::text() const {
  if (!hwnd_) return text_;
  int n = GetWindowTextLengthW(hwnd_);
  std::wstring w(n + 1, L'\0');
  GetWindowTextW(hwnd_, w.data(), n + 1);
  w.resize(n);
  return narrow(w);
}

void WinControl::setText(const std::string& text) {
  text_ = text;
  if (hwnd_) SetWindowTextW(hwnd_, widen(text).c_str());
}

RECT WinControl::clientRect() {
  RECT r{0, 0, width_, height_};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return r;
}

void WinControl::realign() {
  if (!hwnd_) return;
  RECT r = clientRect();
  auto place = [](WinControl* c, int x, int y, int w, int h) {
    c->left_ = x;
    c->top_ = y;
    c->width_ = std::max(0, w);
    c->height_ = std::max(0, h);
    c->applyBounds();
  };
  for (Align pass : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
    for (WinControl* c : children_) {
      if (c->align_ != pass || !c->visible_) continue;
      switch (pass) {
        case Align::Top: place(c, r.left, r.top, r.right - r.left, c->height_); r.top += c->height_; break;
        case Align::Bottom: place(c, r.left, r.bottom - c->height_, r.right - r.left, c->height_); r.bottom -= c->height_; break;
        case Align::Left: place(c, r.left, r.top, c->width_, r.bottom - r.top); r.left += c->width_; break;
        case Align::Right: place(c, r.right - c->width_, r.top, c->width_, r.bottom - r.top); r.right -= c->width_; break;
        case Align::Client: place(c, r.left, r.top, r.right - r.left, r.bottom - r.top); break;
        case Align::None: break;
      }
    }
  }
}

}  // namespace vrin
