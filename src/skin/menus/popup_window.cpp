#include "skin/menus/popup_window.h"

#include <algorithm>
#include <vector>

#include "skin/pure/menu_layout.h"
#include "skin/pure/menu_rules.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_data.h"
#include "skin/skin_gdi.h"

namespace vrin {

namespace {
std::vector<SkinPopupWindow*>& livePopups() {
  static std::vector<SkinPopupWindow*> popups;
  return popups;
}

Margins marginsOf(const SkinElement& e) { return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }
}  // namespace

SkinPopupWindow*& waitingPopup() {
  static SkinPopupWindow* waiting = nullptr;
  return waiting;
}

bool windows95Family() {
  static const bool family = [] {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return GetVersionExW(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
#pragma GCC diagnostic pop
  }();
  return family;
}

SkinPopupWindow::SkinPopupWindow(SkinManager& manager, SkinData& skin) : manager_(manager), skin_(&skin) {
  livePopups().push_back(this);
}

SkinPopupWindow::~SkinPopupWindow() {
  release();
  auto& live = livePopups();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
  if (waitingPopup() == this) waitingPopup() = nullptr;
}

void SkinPopupWindow::subclass(HWND window, HMENU menu) {
  window_ = window;
  MenuHandle = menu;
  hook_.install(window, [this](HWND, UINT m, WPARAM w, LPARAM l, LRESULT& r) { return handler(m, w, l, r); });
}

void SkinPopupWindow::release() {
  if (waitingPopup() == this) waitingPopup() = nullptr;
  if (!hook_.installed()) return;
  hook_.remove();
  background_ = {};
  backgroundBitmap_.setSize(0, 0);
  bitmapStale_ = true;
}

HBITMAP SkinPopupWindow::background(HMENU menu) const {
  if (!menu || menu != MenuHandle || background_.empty()) return nullptr;
  if (bitmapStale_) {
    backgroundBitmap_.fromImage(background_);
    bitmapStale_ = false;
  }
  return backgroundBitmap_.handle();
}

Point SkinPopupWindow::clientOffset() const {
  POINT origin{0, 0};
  RECT window{};
  if (!ClientToScreen(window_, &origin) || !GetWindowRect(window_, &window)) return {};
  return {origin.x - window.left, origin.y - window.top};
}

SkinPopupWindow* SkinPopupWindow::forWindow(HWND window) {
  if (!window) return nullptr;
  for (SkinPopupWindow* p : livePopups())
    if (p->window_ == window) return p;
  return nullptr;
}

SkinPopupWindow* SkinPopupWindow::forMenu(HMENU menu) {
  if (!menu) return nullptr;
  for (SkinPopupWindow* p : livePopups())
    if (p->MenuHandle == menu) return p;
  return nullptr;
}

bool SkinPopupWindow::composeBackground() {
  const SkinElement* element = skin_->NoSkin() ? nullptr : skin_->MenuBackground();
  if (!element || element->Image.empty()) return false;
  RECT window{};
  GetWindowRect(window_, &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  if (!imageSizeAllowed(width, height)) return false;
  background_ = composeGrid(width, height, element->Image, marginsOf(*element), false, element->Tile != 0, 1, 1);
  bitmapStale_ = true;
  if (!MenuHandle) waitingPopup() = this;
  return !background_.empty();
}

// The background at `origin` (the window's top-left in the DC's coordinates), then the system
// prints the items inside the frame.
void SkinPopupWindow::print(HDC dc, Point origin, UINT printMessage, LPARAM flags) {
  drawImage(dc, origin.x, origin.y, background_);
  const Rect inner = offsetRect(popupClipRect(background_.width, background_.height), origin.x, origin.y);
  SavedDC saved(dc);
  GdiObject<HRGN> clip(CreateRectRgn(inner.left, inner.top, inner.right, inner.bottom));
  ExtSelectClipRgn(dc, clip.get(), RGN_AND);
  hook_.callNext(window_, printMessage, WPARAM(dc), flags);
}

bool SkinPopupWindow::handler(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  const bool active = manager_.skinActive();
  const SkinElement* element = skin_->NoSkin() ? nullptr : skin_->MenuBackground();
  const bool hasBackground = element && !element->Image.empty();
  try {
    switch (popupMessageAction(msg, active, windows95Family(), hasBackground)) {
      case PopupAction::ReleaseThenPass: release(); return false;
      case PopupAction::Swallow:
      case PopupAction::DrawFrame: {
        // The system keeps a frame of its own around a popup's items only where it has a
        // non-client area; there the frame strips come from the background.
        const Point offset = clientOffset();
        if (msg == WM_NCPAINT && (offset.x > 0 || offset.y > 0 || windows95Family()) && composeBackground()) {
          WindowDC dc(window_, WindowDC::Area::Window);
          for (const Rect& strip : popupFrameStrips(background_.width, background_.height)) {
            Image part(strip.width(), strip.height());
            stretchCopy(part, {0, 0, part.width, part.height}, background_, strip);
            drawImage(dc.get(), strip.left, strip.top, part);
          }
        }
        result = 0;
        return true;
      }
      case PopupAction::Print:
        if (!composeBackground()) return false;
        print(HDC(wp), {0, 0}, WM_PRINT, lp);
        result = 0;
        return true;
      case PopupAction::Pass:
        // Without menu animation the system never prints a popup: its paint is printed the
        // same way, so the background shows whatever the animation settings are.
        if (msg == WM_PAINT && active && hasBackground && composeBackground()) {
          PaintDC paint(window_);
          const Point offset = clientOffset();
          print(paint.get(), {-offset.x, -offset.y}, WM_PRINTCLIENT, PRF_CLIENT | PRF_ERASEBKGND);
          result = 0;
          return true;
        }
        return false;
    }
  } catch (...) {
    // Painting errors are absorbed: the menu's modal loop would come back to them at once.
    result = 0;
    return msg == WM_PAINT || msg == WM_NCPAINT || msg == WM_PRINT;
  }
  return false;
}

std::unique_ptr<PopupSkinner> makePopupSkinner(SkinManager& manager, HWND window, SkinData& skin) {
  auto popup = std::make_unique<SkinPopupWindow>(manager, skin);
  popup->subclass(window, nullptr);
  return popup;
}

}  // namespace vrin
