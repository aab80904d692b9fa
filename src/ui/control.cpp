#include "ui/control.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "ui/menus.h"

namespace vrin {

namespace {
const wchar_t kControlProp[] = L"VrinControl";

// The control under the mouse: a window of ours, or a graphic control on it.
struct MouseSpot {
  HWND window = nullptr;
  GraphicControl* graphic = nullptr;
  bool operator==(const MouseSpot&) const = default;
};
MouseSpot mouseSpot;

void tell(const MouseSpot& spot, UINT msg) {
  if (spot.graphic) spot.graphic->perform(msg, 0, 0);
  else if (spot.window && IsWindow(spot.window)) SendMessageW(spot.window, msg, 0, 0);
}

// The mouse is over `spot` now: the previous control hears it left, the new one that it came.
void mouseOver(const MouseSpot& spot) {
  if (spot == mouseSpot) return;
  const MouseSpot previous = std::exchange(mouseSpot, spot);
  if (previous.window) tell(previous, CM_MOUSELEAVE);
  // The leave handler may have moved the mouse on (a modal loop): only a current spot enters.
  if (!(mouseSpot == spot)) return;
  tell(spot, CM_MOUSEENTER);
  // The window tells us when the mouse goes somewhere no window of ours sees it.
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, spot.window, 0};
  if (IsWindow(spot.window)) TrackMouseEvent(&track);
}

void mouseGone(HWND window) {
  if (mouseSpot.window != window) return;
  const MouseSpot previous = std::exchange(mouseSpot, MouseSpot{});
  tell(previous, CM_MOUSELEAVE);
}

// A gone window or graphic control is simply forgotten: nothing is sent to it.
void forgetMouse(HWND window, const GraphicControl* graphic) {
  if ((window && mouseSpot.window == window) || (graphic && mouseSpot.graphic == graphic)) mouseSpot = {};
}

LPARAM pointIn(LPARAM lp, const GraphicControl& g) {
  return MAKELPARAM(short(GET_X_LPARAM(lp) - g.left()), short(GET_Y_LPARAM(lp) - g.top()));
}
}  // namespace

const ClassInfo& WinControl::staticClassInfo() {
  static const ClassInfo info{"TWinControl", &Component::staticClassInfo(),
                              {boolProp<WinControl>("Enabled", &WinControl::enabled, &WinControl::setEnabled)}};
  return info;
}

WinControl::WinControl(Component* owner) : Component(owner) {}

WinControl::~WinControl() {
  for (WinControl* c : children_) c->parent_ = nullptr;
  for (GraphicControl* g : graphics_) g->parent_ = nullptr;
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
  forgetMouse(h, nullptr);
  if (subclassed_) RemoveWindowSubclass(h, &WinControl::systemClassProc, 0);
  subclassed_ = false;
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
    // Making the parent's window makes its children's, this one's among them.
    if (hwnd_) return hwnd_;
  }
  if (visible_ && (cp.style & WS_CHILD)) cp.style |= WS_VISIBLE;
  if (!enabled_) cp.style |= WS_DISABLED;
  hwnd_ = CreateWindowExW(cp.exStyle, cp.className, cp.caption.c_str(), cp.style, left_, top_, width_, height_,
                          parentWnd, nullptr, moduleInstance(), this);
  if (!hwnd_) throw Error("Impossible de créer la fenêtre de '" + name() + "'");
  SetPropW(hwnd_, kControlProp, this);
  // Windows of system classes pass through the framework on their way to their own procedure.
  if (!ownClass_)
    subclassed_ = SetWindowSubclass(hwnd_, &WinControl::systemClassProc, 0, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
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
    return self->frameworkMessage(msg, wp, lp);
  } catch (...) {
    // Errors never unwind through the window system: they get the standard report.
    reportCurrentException();
    return 0;
  }
}

LRESULT CALLBACK WinControl::systemClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<WinControl*>(data);
  if (msg == WM_NCDESTROY) {
    forgetMouse(hwnd, nullptr);
    RemoveWindowSubclass(hwnd, &WinControl::systemClassProc, 0);
    self->subclassed_ = false;
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  try {
    return self->frameworkMessage(msg, wp, lp);
  } catch (...) {
    reportCurrentException();
    return 0;
  }
}

LRESULT WinControl::passOn(UINT msg, WPARAM wp, LPARAM lp) {
  return ownClass_ ? handleMessage(msg, wp, lp) : DefSubclassProc(hwnd_, msg, wp, lp);
}

GraphicControl* WinControl::graphicAt(int x, int y) const {
  // The last added lies on top.
  for (auto it = graphics_.rbegin(); it != graphics_.rend(); ++it) {
    const RECT r = (*it)->boundsRect();
    const POINT p{x, y};
    if ((*it)->visible() && PtInRect(&r, p)) return *it;
  }
  return nullptr;
}

// A notification from a child window of ours to a parent of a system class (a group box).
static bool fromOurChild(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: case WM_CTLCOLORSTATIC: return lp && WinControl::fromHandle(reinterpret_cast<HWND>(lp));
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      (void)wp;
      return item.CtlType != ODT_MENU && WinControl::fromHandle(item.hwndItem);
    }
  }
  return false;
}

LRESULT WinControl::frameworkMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // The system class would drop what our children tell their parent.
  if (!ownClass_ && fromOurChild(msg, wp, lp)) return WinControl::windowProc(msg, wp, lp);
  switch (msg) {
    case WM_SIZE:
      if (!ownClass_) {
        const LRESULT r = passOn(msg, wp, lp);
        resized();
        return r;
      }
      break;
    case WM_MOUSEMOVE: {
      GraphicControl* over = graphicAt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      mouseOver({hwnd_, over});
      if (GraphicControl* g = graphicCapture_ ? graphicCapture_ : over) return g->perform(msg, wp, pointIn(lp, *g));
      break;
    }
    case WM_MOUSELEAVE:
      mouseGone(hwnd_);
      break;
    case WM_NCDESTROY:
      forgetMouse(hwnd_, nullptr);
      break;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: {
      GraphicControl* g = graphicAt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      if (!g || !g->enabled()) break;
      if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        graphicCapture_ = g;
        SetCapture(hwnd_);
      }
      return g->perform(msg, wp, pointIn(lp, *g));
    }
    case WM_LBUTTONUP: case WM_RBUTTONUP: {
      GraphicControl* g = msg == WM_LBUTTONUP && graphicCapture_ ? graphicCapture_ : nullptr;
      if (g) {
        graphicCapture_ = nullptr;
        if (GetCapture() == hwnd_) ReleaseCapture();
      } else {
        g = graphicAt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        if (!g || !g->enabled()) break;
      }
      return g->perform(msg, wp, pointIn(lp, *g));
    }
    case WM_CAPTURECHANGED:
      if (graphicCapture_ && reinterpret_cast<HWND>(lp) != hwnd_) {
        // Someone else took the mouse: the pressed control is released where it is.
        GraphicControl* g = std::exchange(graphicCapture_, nullptr);
        g->perform(WM_CAPTURECHANGED, wp, lp);
      }
      break;
    case WM_ERASEBKGND:
      // A buffered control erases inside its off-screen paint.
      if (doubleBuffered_ && !ownClass_ && reinterpret_cast<HDC>(wp) != bufferDC_) return 1;
      if (!ownClass_ && fillsBackground()) {
        RECT r;
        GetClientRect(hwnd_, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, backgroundBrush());
        return 1;
      }
      break;
    case WM_PAINT: {
      if (wp) break;
      if (doubleBuffered_ && !ownClass_) return paintBuffered();
      if (graphics_.empty()) break;
      RECT area{};
      GetUpdateRect(hwnd_, &area, FALSE);
      const LRESULT r = passOn(msg, wp, lp);
      WindowDC dc(hwnd_);
      paintGraphics(dc.get(), area);
      return r;
    }
  }
  return passOn(msg, wp, lp);
}

LRESULT WinControl::paintBuffered() {
  PaintDC paint(hwnd_);
  RECT area = paint.area();
  if (IsRectEmpty(&area)) return 0;
  BufferedPaint buffer(paint.get(), area);
  // Starts as the screen shows the area: what the control leaves unpainted (a group box
  // paints only its edge and caption) stays as it would without the buffer.
  if (buffer.buffered())
    BitBlt(buffer.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, paint.get(), area.left,
           area.top, SRCCOPY);
  bufferDC_ = buffer.get();
  frameworkMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(buffer.get()), 0);
  passOn(WM_PAINT, reinterpret_cast<WPARAM>(buffer.get()), 0);
  bufferDC_ = nullptr;
  paintGraphics(buffer.get(), area);
  return 0;
}

void WinControl::paintGraphics(HDC dc, const RECT& area) {
  if (!dc) return;
  for (GraphicControl* g : std::vector<GraphicControl*>(graphics_)) {
    RECT bounds = g->boundsRect(), common{};
    if (!g->visible() || !IntersectRect(&common, &bounds, &area)) continue;
    SavedDC saved(dc);
    IntersectClipRect(dc, common.left, common.top, common.right, common.bottom);
    OffsetViewportOrgEx(dc, g->left(), g->top(), nullptr);
    g->perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

void WinControl::setEnabled(bool on) {
  if (enabled_ == on) return;
  enabled_ = on;
  if (!hwnd_) return;
  EnableWindow(hwnd_, on);
  SendMessageW(hwnd_, CM_ENABLEDCHANGED, 0, 0);
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

// ---- GraphicControl

const ClassInfo& GraphicControl::staticClassInfo() {
  static const ClassInfo info{"TGraphicControl", &Component::staticClassInfo(),
                              {boolProp<GraphicControl>("Enabled", &GraphicControl::enabled, &GraphicControl::setEnabled),
                               boolProp<GraphicControl>("Visible", &GraphicControl::visible, &GraphicControl::setVisible),
                               eventProp<GraphicControl>("OnClick", &GraphicControl::onClick)}};
  return info;
}

GraphicControl::GraphicControl(Component* owner) : Component(owner) {
  method_ = [this](UINT msg, WPARAM wp, LPARAM lp) { return windowProc(msg, wp, lp); };
}

GraphicControl::~GraphicControl() {
  // Whoever replaced the method hears that the control goes, and puts its own back.
  perform(WM_NCDESTROY, 0, 0);
  forgetMouse(nullptr, this);
  setParent(nullptr);
}

void GraphicControl::setParent(WinControl* parent) {
  if (parent_ == parent) return;
  if (parent_) {
    invalidate();
    if (parent_->graphicCapture_ == this) {
      parent_->graphicCapture_ = nullptr;
      if (parent_->handleAllocated() && GetCapture() == parent_->hwnd_) ReleaseCapture();
    }
    std::erase(parent_->graphics_, this);
  }
  parent_ = parent;
  if (parent_) {
    parent_->graphics_.push_back(this);
    invalidate();
  }
}

void GraphicControl::setBounds(int left, int top, int width, int height) {
  invalidate();
  left_ = left;
  top_ = top;
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  invalidate();
}

void GraphicControl::setVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  if (parent_ && parent_->handleAllocated()) {
    RECT r = boundsRect();
    InvalidateRect(parent_->hwnd_, &r, TRUE);
  }
}

void GraphicControl::setEnabled(bool on) {
  if (enabled_ == on) return;
  enabled_ = on;
  perform(CM_ENABLEDCHANGED, 0, 0);
  invalidate();
}

void GraphicControl::setCaption(const std::string& text) {
  caption_ = text;
  invalidate();
}

void GraphicControl::setFont(const FontSpec& desc) {
  font_.assign(desc);
  invalidate();
}

LRESULT GraphicControl::perform(UINT msg, WPARAM wp, LPARAM lp) {
  // A copy: the method may replace itself while it runs.
  const WindowProcMethod method = method_;
  return method ? method(msg, wp, lp) : 0;
}

void GraphicControl::setWindowProcMethod(WindowProcMethod method) {
  method_ = method ? std::move(method) : [this](UINT msg, WPARAM wp, LPARAM lp) { return windowProc(msg, wp, lp); };
}

void GraphicControl::invalidate() {
  if (!parent_ || !parent_->handleAllocated() || !visible_) return;
  RECT r = boundsRect();
  InvalidateRect(parent_->hwnd_, &r, TRUE);
}

void GraphicControl::repaint() {
  invalidate();
  if (parent_ && parent_->handleAllocated()) UpdateWindow(parent_->hwnd_);
}

LRESULT GraphicControl::windowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      Canvas canvas(reinterpret_cast<HDC>(wp));
      canvas.font = font_;
      paint(canvas);
      return 0;
    }
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
      mousePressed_ = enabled_;
      pressChanged();
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = std::exchange(mousePressed_, false);
      const RECT r = clientRect();
      const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      pressChanged();
      // A click is a press and a release both over the control. It comes last: its handler
      // may free the control.
      if (wasPressed && enabled_ && PtInRect(&r, p)) click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      mousePressed_ = false;
      pressChanged();
      return 0;
  }
  return 0;
}

GraphicDC::GraphicDC(GraphicControl& control) {
  WinControl* parent = control.parent();
  if (!parent || !parent->handleAllocated()) return;
  window_ = parent->handle();
  dc_ = GetDC(window_);
  if (!dc_) return;
  saved_ = SaveDC(dc_);
  IntersectClipRect(dc_, control.left(), control.top(), control.left() + control.width(), control.top() + control.height());
  SetViewportOrgEx(dc_, control.left(), control.top(), nullptr);
}

GraphicDC::~GraphicDC() {
  if (!dc_) return;
  if (saved_) RestoreDC(dc_, saved_);
  ReleaseDC(window_, dc_);
}

}  // namespace vrin
