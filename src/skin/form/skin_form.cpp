#include "skin/form/skin_form.h"

#include <algorithm>

#include "skin/controls/selection.h"
#include "skin/controls/skin_control.h"
#include "skin/form/nc_objects.h"
#include "skin/menus/menu_bar.h"
#include "skin/menus/menu_items.h"
#include "skin/skin_data.h"
#include "skin/skin_manager.h"
#include "ui/form.h"

namespace vrin {

namespace {
constexpr UINT_PTR kHoverTimer = 0x5E1F;
constexpr UINT kHoverMs = 250;
constexpr UINT kCaptionStyles = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

bool isSysCommandId(WORD id) {
  switch (id) {
    case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_NEXTWINDOW: case SC_PREVWINDOW:
    case SC_CLOSE: case SC_RESTORE: return true;
    default: return false;
  }
}
}  // namespace

SkinForm::SkinForm(SkinManager& manager, HWND window, SkinData& skin)
    : manager_(manager), window_(window), skin_(&skin) {}

SkinForm::~SkinForm() {
  if (attached()) detach();
}

void SkinForm::attachToForm(Form& form) {
  form_ = &form;
  form.setAutoScroll(false);
  formHandlerId_ = form.addMessageHandler(
      [this](UINT msg, WPARAM wp, LPARAM lp, const MessageNext& next) { return formHandler(msg, wp, lp, next); });
  attachToWindow();
  savedColor_ = form.color();
  form.setColor(skin_->SkinColors().ButtonFaceColor);
  skinPopupMenus(*this, true);
}

void SkinForm::attachToWindow() {
  if (attached()) return;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    captionFont_.reset(CreateFontIndirectW(&metrics.lfCaptionFont));
  const auto style = std::uint32_t(GetWindowLongPtrW(window_, GWL_STYLE));
  const auto exStyle = std::uint32_t(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  SystemMenu = GetSystemMenu(window_, FALSE);
  buildIconBitmap();
  CaptionButtons = ((style & WS_MAXIMIZEBOX) ? 1u : 0u) | ((style & WS_MINIMIZEBOX) ? 2u : 0u) |
                   ((style & WS_SYSMENU) || SystemMenu ? 8u : 0u);
  refreshWindowState();
  mdiClient_ = FindWindowExW(window_, nullptr, L"MDIClient", nullptr);
  if (mdiClient_) MdiKind = 1;
  if (exStyle & WS_EX_MDICHILD) MdiKind = 2;
  Borderless = isBorderless(style, exStyle);
  attachMenuBar();
  hook_.install(window_, [this](HWND h, UINT m, WPARAM w, LPARAM l, LRESULT& r) { return windowHandler(h, m, w, l, r); });
  if (!(MdiKind == 2 && manager_.mdiMaximized())) hideCaptionStyles();
  if (MdiKind == 1)
    mdiHook_.install(mdiClient_,
                     [this](HWND h, UINT m, WPARAM w, LPARAM l, LRESULT& r) { return mdiClientHandler(h, m, w, l, r); });
  readMetrics();
  skinControls(*this);
  InvalidateRect(window_, nullptr, TRUE);
}

void SkinForm::detach() {
  const bool wasApplied = Phase != phNew && !Borderless;
  // Read before the region goes: dropping it makes the system recompute the frame.
  RECT client{};
  GetClientRect(window_, &client);
  stopHoverTimer();
  showCaptionStyles();
  if (form_) {
    skinPopupMenus(*this, false);
    form_->setColor(savedColor_);
    if (formHandlerId_) form_->removeMessageHandler(std::exchange(formHandlerId_, 0));
  }
  // While Phase still tells whether the window is closing: closing windows are not repainted.
  releaseControlSkinners(*this);
  const int oldPhase = std::exchange(Phase, phNew);
  hook_.remove();
  detachMenuBar();
  mdiHook_.remove();
  titleCache_ = {};
  titleBase_ = {};
  HotObject = nullptr;
  if (IsWindow(window_)) {
    SetWindowRgn(window_, nullptr, TRUE);
    RegionOwned = false;
    // The system frame comes back around the same client area.
    if (wasApplied && oldPhase != phClosing && WindowState == wsNormal) {
      RECT frame = client;
      AdjustWindowRectEx(&frame, DWORD(GetWindowLongPtrW(window_, GWL_STYLE)), GetMenu(window_) != nullptr,
                         DWORD(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
      SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    } else {
      refreshFrame();
    }
  }
  RegionOwned = false;
}

void SkinForm::readMetrics() {
  if (skin_->NoSkin()) return;
  nc_ = borderSizes(skin_->Settings(), Borderless);
  if (Borderless) MenuBarHeight = 0;
  rebuildButtons();
}

void SkinForm::prepareSkinChange() {
  oldNc_ = nc_;
  GetClientRect(window_, &keptClient_);
}

void SkinForm::rebuildButtons() {
  HotObject = nullptr;
  buttons_.clear();
  for (const SkinSysButtonElement& e : skin_->SysButtons()) {
    auto b = std::make_unique<SkinTitleButton>(*this, e);
    if (isIconAction(e.Action)) {
      b->pictureWidth = iconImage_.width;
      b->pictureHeight = iconImage_.height;
      b->frameCount = 1;
    } else {
      b->pictureWidth = e.Image.width;
      b->pictureHeight = e.Image.height;
      b->frameCount = std::max(e.FrameCount, 1);
    }
    buttons_.push_back(std::move(b));
  }
}

void SkinForm::buildIconBitmap() {
  const int cx = std::max(1, GetSystemMetrics(SM_CXSMICON)), cy = std::max(1, GetSystemMetrics(SM_CYSMICON));
  iconBitmap_.setSize(cx, cy);
  if (iconBitmap_.empty()) return;
  std::fill(iconBitmap_.pixels(), iconBitmap_.pixels() + std::size_t(cx) * cy, kKeyColour);
  auto icon = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_BIG, 0));
  // A window that sets no icon of its own shows its class's.
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICON));
  if (icon) {
    HICON copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE));
    if (!copy) copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0));
    DrawIconEx(iconBitmap_.dc(), 0, 0, copy ? copy : icon, cx, cy, 0, nullptr, DI_NORMAL);
    if (copy) DestroyIcon(copy);
    GdiFlush();
    iconImage_ = iconBitmap_.toImage();
    // The first icon met stands for the windows that have none.
    if (skin_->IconImage().empty()) skin_->IconImage().fromImage(iconImage_);
    return;
  }
  Bitmap* fallback = skin_->IconImage().empty() ? nullptr : &skin_->IconImage();
  if (!fallback)
    for (SkinData* s : manager_.skinDataList())
      if (s->SkinFormtype() == sfMainform && !s->IconImage().empty()) fallback = &s->IconImage();
  iconImage_ = fallback ? fallback->toImage() : iconBitmap_.toImage();
}

void SkinForm::refreshWindowState() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(window_, &wp)) return;
  if (wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_MINIMIZE || wp.showCmd == SW_SHOWMINNOACTIVE)
    WindowState = wsMinimized;
  else if (wp.showCmd == SW_SHOWMAXIMIZED)
    WindowState = wsMaximized;
  else
    WindowState = wsNormal;
}

void SkinForm::showCaptionStyles() {
  if (!IsWindow(window_)) return;
  LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
  if (CaptionButtons & 1) style |= WS_MAXIMIZEBOX;
  if (CaptionButtons & 2) style |= WS_MINIMIZEBOX;
  if (CaptionButtons & 8) style |= WS_SYSMENU;
  SetWindowLongPtrW(window_, GWL_STYLE, style);
  StylesShown = true;
}

void SkinForm::hideCaptionStyles() {
  if (MdiKind == 2 && manager_.mdiMaximized()) return;
  SetWindowLongPtrW(window_, GWL_STYLE, GetWindowLongPtrW(window_, GWL_STYLE) & ~LONG_PTR(kCaptionStyles));
  StylesShown = false;
}

void SkinForm::startHoverTimer() {
  if (!hoverTimer_ && SetTimer(window_, kHoverTimer, kHoverMs, nullptr)) hoverTimer_ = true;
}

void SkinForm::stopHoverTimer() {
  if (hoverTimer_ && IsWindow(window_)) KillTimer(window_, kHoverTimer);
  hoverTimer_ = false;
}

void SkinForm::restore() {
  WindowState = wsNormal;
  PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

HWND SkinForm::activeMdiChild(bool* maximized) const {
  BOOL max = FALSE;
  HWND child = mdiClient_ ? reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, LPARAM(&max))) : nullptr;
  if (maximized) *maximized = child && max;
  return child;
}

TitleWindow SkinForm::titleWindow() const {
  TitleWindow w;
  w.active = WindowActive;
  w.maximized = WindowState == wsMaximized;
  w.systemMenu = CaptionButtons & 8;
  w.maximizeBox = CaptionButtons & 1;
  w.minimizeBox = CaptionButtons & 2;
  if (MdiKind == 1) activeMdiChild(&w.mdiChildMaximized);
  return w;
}

bool SkinForm::applies() const {
  return !(MdiKind == 2 && manager_.mdiMaximized()) && WindowState != wsMinimized && Phase != phNew;
}

void SkinForm::finishAttach() {
  Phase = phApplying;
  if (MdiKind == 2 && manager_.mdiMaximized()) {
    showCaptionStyles();
  } else {
    resizeFrame(false);
    updateRegion();
  }
  Phase = phApplied;
  startHoverTimer();
}

void SkinForm::refreshFrame() {
  SetWindowPos(window_, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void SkinForm::resizeFrame(bool withMenuBar, const RECT* keptClient) {
  if (WindowState == wsMaximized) {
    refreshFrame();
    return;
  }
  RECT client{};
  if (keptClient) client = *keptClient;
  else GetClientRect(window_, &client);
  const Rect size = framedSize(client.right, client.bottom, nc_, withMenuBar ? MenuBarHeight : 0);
  // Never activate: a hidden or background window must stay as it is.
  SetWindowPos(window_, nullptr, 0, 0, size.right, size.bottom,
               SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void SkinForm::reapply() {
  if (form_) {
    form_->setColor(skin_->SkinColors().ButtonFaceColor);
    for (Component* c : form_->components())
      if (auto* f = dynamic_cast<Form*>(c)) f->setColor(skin_->SkinColors().ButtonFaceColor);
    skinPopupMenus(*this, true);
  }
  Phase = phReapplying;
  if (WindowState == wsMinimized) {
    // The restored frame keeps its client size with the new borders.
    WINDOWPLACEMENT place{};
    place.length = sizeof place;
    if (GetWindowPlacement(window_, &place)) {
      place.rcNormalPosition.right += (nc_.left + nc_.right) - (oldNc_.left + oldNc_.right);
      place.rcNormalPosition.bottom += (nc_.top + nc_.bottom) - (oldNc_.top + oldNc_.bottom);
      place.showCmd = SW_SHOWMINNOACTIVE;
      SetWindowPlacement(window_, &place);
    }
  } else {
    resizeFrame(true, &keptClient_);
  }
  updateRegion();
  Phase = phApplied;
  RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

void SkinForm::mdiMaximizedChanged(bool maximized) {
  if (maximized) {
    dropRegion();
    showCaptionStyles();
    return;
  }
  if (WindowState == wsMinimized) {
    showCaptionStyles();
    return;
  }
  WindowState = wsNormal;
  updateRegion();
  hideCaptionStyles();
  if (!RegionOwned) refreshFrame();
}

void SkinForm::screenToWindow(POINT& p) const {
  RECT r{};
  GetWindowRect(window_, &r);
  p.x -= r.left;
  p.y -= r.top;
}

NcObject* SkinForm::objectAt(int x, int y) {
  std::vector<TitleButton*> list;
  for (auto& b : buttons_) list.push_back(b.get());
  if (TitleButton* button = titleButtonAt(list, x, y)) return button;
  return menuItemAt(x, y);
}

void SkinForm::hoverTick() {
  if (MenuTracking) return;
  POINT p{};
  GetCursorPos(&p);
  if (HotControl && !rectContains(HotControl->windowRect(), Point{int(p.x), int(p.y)})) HotControl->leaveHot();
  if (!HotObject) return;
  screenToWindow(p);
  if (!HotObject->contains(p.x, p.y)) HotObject->MouseLeave();
}

bool SkinForm::windowHandler(HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_ACTIVATE) WindowActive = LOWORD(wp) != WA_INACTIVE;
  if (msg == WM_NCACTIVATE) WindowActive = wp != 0;
  switch (msg) {
    case WM_ERASEBKGND:
      if (form_) return false;
      next(msg, wp, lp);
      if (HBRUSH face = skin_->FaceBrush()) {
        RECT r{};
        GetClientRect(window_, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, face);
      }
      result = 1;
      return true;
    case WM_GETMINMAXINFO: {
      result = next(msg, wp, lp);
      refreshWindowState();
      if (WindowState == wsMinimized) showCaptionStyles();
      else hideCaptionStyles();
      if (MdiKind != 2) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
      }
      return true;
    }
    case WM_WINDOWPOSCHANGED: refreshWindowState(); return false;
    case WM_COMMAND:
      if (isSysCommandId(LOWORD(wp))) {
        PostMessageW(window_, WM_SYSCOMMAND, LOWORD(wp), 0);
        result = 0;
        return true;
      }
      return false;
    case WM_SYSCOMMAND:
      switch (wp & 0xFFF0) {
        case SC_KEYMENU:
          if (keyMenu(wp, lp, result)) return true;
          break;
        case SC_MINIMIZE:
          WindowState = wsMinimized;
          if (MdiKind == 2) showCaptionStyles();
          break;
        case SC_MAXIMIZE: WindowState = wsMaximized; break;
        case SC_RESTORE:
          WindowState = wsNormal;
          if (MdiKind == 2) hideCaptionStyles();
          break;
      }
      return false;
    case WM_CTLCOLORSTATIC:
      next(msg, wp, lp);
      SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
      result = reinterpret_cast<LRESULT>(skin_->FaceBrush());
      return true;
    case kSkinFinishAttach: finishAttach(); result = 0; return true;
    case CM_MENUCHANGED:
      result = next(msg, wp, lp);
      rebuildMenuBar();
      return true;
    case WM_MENUSELECT: menuBarItemSelected(*this, wp, lp); return false;
    case WM_TIMER:
      if (wp != kHoverTimer) return false;
      hoverTick();
      result = 0;
      return true;
  }
  return applies() && appliedHandler(msg, wp, lp, result);
}

bool SkinForm::appliedHandler(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (menuBarMessage(msg, wp, lp, result)) return true;
  switch (msg) {
    case WM_SIZE:
      result = next(msg, wp, lp);
      if (wp == SIZE_RESTORED) WindowState = wsNormal;
      if (wp == SIZE_MINIMIZED) WindowState = wsMinimized;
      if (wp == SIZE_MAXIMIZED) WindowState = wsMaximized;
      if (WindowState != wsMinimized && !(MdiKind == 2 && (manager_.mdiMaximized() || WindowState != wsNormal)))
        updateRegion();
      return true;
    case WM_NCCALCSIZE: {
      // The window rectangle, before the system turns it into its own client rectangle.
      RECT* rects = reinterpret_cast<RECT*>(lp);
      const RECT window = rects[0];
      result = next(msg, wp, lp);
      if (!wp) {
        const Rect c = nonClientClientRect({window.left, window.top, window.right, window.bottom}, nc_, MenuBarHeight);
        rects[0] = RECT{c.left, c.top, c.right, c.bottom};
        result = 0;
        return true;
      }
      auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lp);
      if (MdiKind == 2 && WindowState != wsNormal) {
        params->rgrc[1] = params->rgrc[0];
      } else {
        const Rect c = nonClientClientRect({window.left, window.top, window.right, window.bottom}, nc_, MenuBarHeight);
        params->rgrc[0] = params->rgrc[1] = RECT{c.left, c.top, c.right, c.bottom};
      }
      result = WVR_VALIDRECTS;
      return true;
    }
    case WM_NCHITTEST: result = next(msg, wp, lp); return true;  // HTMENU comes with the menu bar
    case WM_NCPAINT: paintNonClient(); result = 0; return true;
    case WM_NCACTIVATE:
      WindowActive = wp != 0;
      if (WindowActive) startHoverTimer();
      else stopHoverTimer();
      result = next(msg, wp, lp);
      if (!(MdiKind == 2 && WindowState != wsNormal)) paintNonClient();
      return true;
    case WM_NCMOUSEMOVE: {
      if (!WindowActive) {
        result = 0;
        return true;
      }
      POINT p{short(LOWORD(lp)), short(HIWORD(lp))};
      screenToWindow(p);
      if (NcObject* o = objectAt(p.x, p.y)) {
        o->MouseEnter();
        result = 0;
        return true;
      }
      if (HotObject) HotObject->MouseLeave();
      return false;
    }
    case WM_NCLBUTTONDOWN: {
      POINT p{short(LOWORD(lp)), short(HIWORD(lp))};
      screenToWindow(p);
      NcObject* o = objectAt(p.x, p.y);
      if (!o || !WindowActive) return false;
      o->MouseDown();
      menuBarMouse(msg, o, lp);
      result = 0;
      return true;
    }
    case WM_NCLBUTTONUP: {
      POINT screen{short(LOWORD(lp)), short(HIWORD(lp))};
      POINT p = screen;
      screenToWindow(p);
      NcObject* o = objectAt(p.x, p.y);
      if (!o) return false;
      if (menuBarMouse(msg, o, lp)) {
        result = 0;
        return true;
      }
      if (o == HotObject) {
        o->MouseUp();
        static_cast<SkinTitleButton*>(o)->perform(screen);
      }
      result = 0;
      return true;
    }
    case WM_NCLBUTTONDBLCLK:
      if (WindowState != wsNormal) {
        restore();
      } else if (CaptionButtons & 1) {
        WindowState = wsMaximized;
        ShowWindow(window_, SW_SHOWMAXIMIZED);
      }
      result = 0;
      return true;
    case WM_NCRBUTTONDOWN:
      if (wp != HTCAPTION || MdiKind == 2) return false;
      trackSystemMenu(window_, POINT{short(LOWORD(lp)), short(HIWORD(lp))});
      result = 0;
      return true;
    case kSkinRepaintFrame: paintNonClient(); result = 0; return true;
  }
  return false;
}

LRESULT SkinForm::formHandler(UINT msg, WPARAM wp, LPARAM lp, const MessageNext& nextHandler) {
  switch (msg) {
    case WM_SETTEXT: {
      const LRESULT r = nextHandler(msg, wp, lp);
      if (applies()) refreshFrame();  // the system drew its own caption: paint ours again
      return r;
    }
    case kSkinReapply: reapply(); return 0;
    case CM_DIALOGCHAR:
      // A typed accelerator of an enabled bar item opens it.
      if (MenuBtn* item = itemForAccelerator(char32_t(wp & 0xFFFF))) {
        pressMenuItem(*item);
        return 1;
      }
      return nextHandler(msg, wp, lp);
    default: return nextHandler(msg, wp, lp);
  }
}

bool SkinForm::mdiClientHandler(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_NCCALCSIZE:
      SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) & ~LONG_PTR(WS_HSCROLL | WS_VSCROLL));
      return false;
    case WM_MDICREATE:
      result = mdiHook_.callNext(hwnd, msg, wp, lp);
      lastMdiChild_ = reinterpret_cast<HWND>(result);
      return true;
    case WM_MDIDESTROY: {
      manager_.releaseForm(reinterpret_cast<HWND>(wp));
      if (lastMdiChild_ == reinterpret_cast<HWND>(wp)) lastMdiChild_ = nullptr;
      result = mdiHook_.callNext(hwnd, msg, wp, lp);
      bool maximized = false;
      activeMdiChild(&maximized);
      manager_.setMdiMaximized(maximized);
      return true;
    }
    case WM_MDIREFRESHMENU:
      if (lastMdiChild_) {
        manager_.skinWindow(lastMdiChild_);
        PostMessageW(window_, kSkinRepaintFrame, 0, 0);
      }
      return false;
  }
  return false;
}

}  // namespace vrin
