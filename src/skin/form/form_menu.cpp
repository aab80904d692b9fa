// The menu bar of a skinned window: room for it in the non-client area, its painting, its
// hit test, its items under the mouse and on the keyboard, and the owner-drawn items of its menus.
#include <windowsx.h>

#include "skin/form/nc_objects.h"
#include "skin/form/skin_form.h"
#include "skin/menus/menu_bar.h"
#include "skin/menus/menu_items.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_gdi.h"
#include "ui/control.h"

namespace vrin {

void SkinForm::attachMenuBar() {
  WindowMenu = GetMenu(window_);
  MenuBarHeight = 0;
  // An MDI child's menu belongs to its frame's bar.
  if (!WindowMenu || MdiKind == 2) return;
  menuBar_ = std::make_unique<SkinMenuBar>(*this);
  menuBar_->buildItems();
  MenuBarHeight = GetSystemMetrics(SM_CYMENU);
}

void SkinForm::detachMenuBar() {
  if (TrackingForm() == this) EndMenu();
  forgetMenuTracking(*this);
  if (!menuBar_) return;
  menuBar_->restoreMenu();
  menuBar_.reset();
}

void SkinForm::rebuildMenuBar() {
  if (MdiKind == 2 || !hook_.installed()) return;
  if (!menuBar_) {
    if (!GetMenu(window_)) return;
    menuBar_ = std::make_unique<SkinMenuBar>(*this);
  }
  menuBar_->buildItems();
  WindowMenu = menuBar_->MenuHandle;
  const int height = WindowMenu && !Borderless ? GetSystemMetrics(SM_CYMENU) : 0;
  if (height != MenuBarHeight) {
    // The client area keeps its size; the frame grows or shrinks by the bar.
    RECT client{};
    GetClientRect(window_, &client);
    MenuBarHeight = height;
    if (applies()) resizeFrame(true, &client);
  } else if (applies()) {
    paintNonClient();
  }
}

void SkinForm::paintMenuBar(HDC dc, int width) {
  if (!menuBar_ || MenuBarHeight <= 0) return;
  menuBar_->paint(dc, {nc_.left, nc_.top, width - nc_.right, nc_.top + MenuBarHeight});
}

MenuBtn* SkinForm::menuItemAt(int x, int y) const { return menuBar_ ? menuBar_->itemAt(x, y) : nullptr; }

MenuBtn* SkinForm::itemForAccelerator(char32_t character) const {
  return menuBar_ ? menuBar_->itemForAccelerator(character) : nullptr;
}

bool SkinForm::openMenuItem(MenuBtn& item) { return trackMenuBarItem(*this, item); }

void SkinForm::pressMenuItem(const MenuBtn& item) {
  RECT r{};
  if (!GetWindowRect(window_, &r)) return;
  const Point p = menuBarPressPoint(item.Bounds, {int(r.left), int(r.top)});
  PostMessageW(window_, WM_NCLBUTTONDOWN, 1, MAKELPARAM(WORD(short(p.x)), WORD(short(p.y))));
}

void SkinForm::paintBarButton(const SkinTitleButton& button) {
  if (!menuBar_ || menuBar_->BarCache.empty()) return;
  const int w = button.Bounds.width(), h = button.Bounds.height();
  if (w <= 0 || h <= 0 || !imageSizeAllowed(w, h)) return;
  const Rect& bar = menuBar_->BarRect;
  Image under(w, h, kKeyColour);
  stretchCopy(under, {0, 0, w, h}, menuBar_->BarCache, offsetRect(button.Bounds, -bar.left, -bar.top));
  const Image picture = button.frameOver(under, paintFrame(button.State, button.Data->Visibility));
  WindowDC dc(window_, WindowDC::Area::Window);
  if (dc) drawImage(dc.get(), button.Bounds.left, button.Bounds.top, picture);
}

bool SkinForm::menuBarMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (!menuBar_) return false;
  switch (msg) {
    case WM_NCHITTEST: {
      result = next(msg, wp, lp);
      if (MenuBarHeight <= 0) return true;
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      screenToWindow(p);
      RECT w{};
      GetWindowRect(window_, &w);
      const Rect bar{nc_.left, nc_.top, int(w.right - w.left) - nc_.right, nc_.top + MenuBarHeight};
      const bool inBar = rectContains(bar, {int(p.x), int(p.y)});
      // The bar is no caption to drag the window by.
      if ((result == HTCAPTION && p.y >= nc_.top) || (inBar && (result == HTNOWHERE || result == HTCAPTION)))
        result = HTMENU;
      return true;
    }
    case WM_MEASUREITEM: {
      auto& mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (mis.CtlType != ODT_MENU || menuBar_->ItemCount() == 0 || !measureSkinnedMenuItem(*this, mis)) return false;
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (dis.CtlType != ODT_MENU || menuBar_->ItemCount() == 0 || !drawSkinnedMenuItem(*this, dis)) return false;
      result = TRUE;
      return true;
    }
  }
  return false;
}

bool SkinForm::keyMenu(WPARAM, LPARAM lp, LRESULT& result) {
  const std::vector<MenuBarItem> items = menuBar_ ? menuBar_->ruleItems() : std::vector<MenuBarItem>{};
  const auto key = char32_t(lp & 0xFFFF);
  if (!swallowKeyMenu(items, MenuTracking, GetCapture() != nullptr, key)) return false;
  result = 1;
  // Alt with an item's accelerator opens that item, as on a system menu bar.
  if (MenuBtn* item = key ? itemForAccelerator(key) : nullptr) pressMenuItem(*item);
  return true;
}

bool SkinForm::menuBarMouse(UINT msg, NcObject* object, LPARAM) {
  auto* item = dynamic_cast<MenuBtn*>(object);
  if (!item) return false;
  if (msg == WM_NCLBUTTONDOWN) {
    openMenuItem(*item);
    return true;
  }
  // A bar item without a menu is a command of its own, given when released over it.
  if (msg == WM_NCLBUTTONUP && item == HotObject) {
    item->MouseUp();
    if (!item->SubMenu && item->Enabled && item->CommandId)
      PostMessageW(window_, WM_COMMAND, MAKEWPARAM(item->CommandId, 0), 0);
  }
  return true;
}

}  // namespace vrin
