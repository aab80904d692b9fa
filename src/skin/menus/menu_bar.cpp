#include "skin/menus/menu_bar.h"

#include <algorithm>
#include <utility>

#include "skin/form/nc_objects.h"
#include "skin/form/skin_form.h"
#include "skin/menus/menu_items.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_data.h"
#include "skin/skin_gdi.h"
#include "skin/skin_manager.h"
#include "ui/form.h"
#include "ui/geometry_win.h"
#include "ui/menus.h"

namespace vrin {

namespace {

constexpr int kBarFrames = 2;
constexpr int kBarTextLength = 80;
// Menus nest only so deep: a menu that contains itself must not run away.
constexpr int kMaxMenuDepth = 32;

Pixel resolved(Colour c) { return pixelFromColour(colorToRGB(c)); }

Size measureBarCaption(HDC dc, const std::string& caption) {
  Canvas canvas(dc);
  canvas.font.assign(systemMenuFont());
  RECT r{0, 0, 0, 0};
  canvas.drawText(caption, r, barCaptionFlags(true));
  return {int(r.right - r.left), int(r.bottom - r.top)};
}

// The application item behind a command of the form's main menu.
MenuItem* formMenuItem(const MainMenu* menu, UINT command) {
  MenuItem* item = command ? MenuItem::fromCommand(command) : nullptr;
  return item && menu && item->menu() == menu ? item : nullptr;
}

// Every item of the menu and of its submenus draws through the window (WM_DRAWITEM).
void makeOwnerDrawn(HMENU menu, int depth) {
  if (!menu || depth > kMaxMenuDepth) return;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info)) continue;
    if (!(info.fType & MFT_OWNERDRAW)) {
      MENUITEMINFOW change{};
      change.cbSize = sizeof change;
      change.fMask = MIIM_FTYPE;
      change.fType = info.fType | MFT_OWNERDRAW;
      SetMenuItemInfoW(menu, UINT(i), TRUE, &change);
    }
    makeOwnerDrawn(info.hSubMenu, depth + 1);
  }
}

// The tracking globals: the window whose bar item is open, the rules' state, the hook.
struct Tracking {
  SkinForm* form = nullptr;
  MenuTracker tracker;
  HHOOK hook = nullptr;
  int pendingPress = -1;  // the bar item a switch presses once the open menu has closed
};

Tracking& tracking() {
  static Tracking t;
  return t;
}

// One message of the open menu's loop; non-zero keeps it from the menu.
LRESULT filterMenuMessage(MSG& msg) {
  Tracking& t = tracking();
  SkinForm& form = *t.form;
  if (msg.message == WM_MENUSELECT) {
    menuBarItemSelected(form, msg.wParam, msg.lParam);
    return 0;
  }
  MenuLoopMessage m;
  m.message = msg.message;
  m.wParam = msg.wParam;
  if (msg.message == WM_MOUSEMOVE) {
    POINT p{};
    GetCursorPos(&p);
    m.cursor = {int(p.x), int(p.y)};
    RECT w{};
    GetWindowRect(form.window(), &w);
    if (SkinMenuBar* bar = form.menuBar())
      if (MenuBtn* under = bar->itemAt(p.x - w.left, p.y - w.top)) m.barItemUnderCursor = under->Index;
  }
  const MenuLoopReaction r = t.tracker.onMessage(m);
  if (r.postKeyDown) PostMessageW(msg.hwnd, WM_KEYDOWN, VK_DOWN, 0);
  if (r.endTracking) form.MenuTracking = false;
  if (r.press >= 0) {
    // The open menu closes first; its bar item's tracking then presses the new one.
    t.pendingPress = r.press;
    EndMenu();
    return 1;
  }
  return 0;
}

LRESULT CALLBACK menuFilterProc(int code, WPARAM wp, LPARAM lp) {
  Tracking& t = tracking();
  auto* msg = reinterpret_cast<MSG*>(lp);
  if (code >= 0 && msg) msg->wParam = t.tracker.translateKey(msg->message, msg->wParam);
  const LRESULT next = CallNextHookEx(t.hook, code, wp, lp);
  if (next || code != MSGF_MENU || !msg || !t.form) return next;
  try {
    return filterMenuMessage(*msg);
  } catch (...) {
    // Absorbed on purpose: an error must not unwind through the system's menu loop, and a
    // message box from inside it would block the menu.
    return 0;
  }
}

void startFilter(int index, int itemCount) {
  Tracking& t = tracking();
  POINT p{};
  GetCursorPos(&p);
  t.tracker.start(index, itemCount, {int(p.x), int(p.y)});
  t.hook = SetWindowsHookExW(WH_MSGFILTER, &menuFilterProc, nullptr, GetCurrentThreadId());
}

void stopFilter() {
  Tracking& t = tracking();
  if (t.hook) UnhookWindowsHookEx(std::exchange(t.hook, nullptr));
  t.tracker.stop();
}

}  // namespace

// ---- MenuBtn ----

MenuBtn::MenuBtn(SkinMenuBar& bar, int index) : NcObject(bar.owner()), Index(index), bar_(bar) {}

void MenuBtn::Paint() {
  SkinForm& form = bar_.owner();
  const Image& cache = bar_.BarCache;
  const Rect inBar{std::max(cell.left, 0), std::max(cell.top, 0), std::min(cell.right, cache.width),
                   std::min(cell.bottom, cache.height)};
  if (cache.empty() || inBar.empty() || !form.skinData() || !IsWindow(form.window())) return;
  try {
    Image picture(inBar.width(), inBar.height());
    stretchCopy(picture, {0, 0, picture.width, picture.height}, cache, inBar);
    if (menuBarItemFramed(State)) {
      // A one-pixel frame around Bounds, which ends a pixel above the cell.
      const Pixel edge = resolved(form.skinData()->SkinColors().ButtonHilightColor);
      const int right = picture.width - 1, bottom = std::max(0, picture.height - 2);
      for (int x = 0; x <= right; ++x) picture.at(x, 0) = picture.at(x, bottom) = edge;
      for (int y = 0; y <= bottom; ++y) picture.at(0, y) = picture.at(right, y) = edge;
    }
    Bitmap surface;
    surface.fromImage(picture);
    if (surface.empty()) return;
    const RECT local{cell.left - inBar.left, cell.top - inBar.top, cell.right - inBar.left, cell.bottom - inBar.top};
    drawBarCaption(surface.dc(), Caption, Enabled, local, form);
    WindowDC dc(form.window(), WindowDC::Area::Window);
    if (dc)
      BitBlt(dc.get(), bar_.BarRect.left + inBar.left, bar_.BarRect.top + inBar.top, inBar.width(), inBar.height(),
             surface.dc(), 0, 0, SRCCOPY);
  } catch (...) {
    // Absorbed on purpose: a repaint of one item never lets an error out of the window procedure.
  }
}

void drawBarCaption(HDC dc, const std::string& caption, bool enabled, const RECT& cell, const SkinForm& form) {
  if (caption.empty() || !form.skinData()) return;
  const Size measured = measureBarCaption(dc, caption);
  const Rect area = toRect(cell);
  const Rect place =
      placeCaption(area, {area.left, area.top, area.left + measured.width, area.top + measured.height}, true);
  Canvas canvas(dc);
  FontSpec font = systemMenuFont();
  font.color = menuBarTextColour(form.skinData()->SkinColors(), enabled);
  canvas.font.assign(font);
  canvas.brushClear = true;
  SetBkMode(dc, TRANSPARENT);
  RECT r = toRECT(place);
  canvas.drawText(caption, r, barCaptionFlags(false));
}

// ---- SkinMenuBar ----

SkinMenuBar::SkinMenuBar(SkinForm& owner) : owner_(owner) {}

SkinMenuBar::~SkinMenuBar() {
  if (owner_.HotObject)
    for (auto& item : items_)
      if (owner_.HotObject == item.get()) owner_.HotObject = nullptr;
}

void SkinMenuBar::buildItems() {
  HWND window = owner_.window();
  for (auto& item : items_)
    if (owner_.HotObject == item.get()) owner_.HotObject = nullptr;
  items_.clear();
  Form* form = owner_.form();
  FormMenu = form ? form->menu() : nullptr;
  HMENU menu = GetMenu(window);
  // A change to another of the form's menus leaves the window without one: keep the bar's,
  // unless the form has no main menu any more.
  if (!menu && taken && IsMenu(MenuHandle) && (!form || FormMenu)) menu = MenuHandle;
  MenuHandle = menu;
  const int count = menu ? GetMenuItemCount(menu) : 0;
  if (count <= 0) return;
  for (int i = 0; i < count; ++i) {
    auto item = std::make_unique<MenuBtn>(*this, i);
    wchar_t text[kBarTextLength + 1] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = kBarTextLength;
    if (GetMenuItemInfoW(menu, UINT(i), TRUE, &info)) {
      item->SubMenu = info.hSubMenu;
      item->Enabled = menuItemEnabled(info.fState);
      item->CommandId = info.wID;
      if (menuItemIsText(info.fType)) {
        item->Caption = narrow(text);
      } else if (MenuItem* app = formMenuItem(FormMenu, info.wID)) {
        item->Caption = app->caption();
      }
    }
    items_.push_back(std::move(item));
  }
  if (GetMenu(window) == menu) SetMenu(window, nullptr);
  taken = true;
}

void SkinMenuBar::restoreMenu() {
  HWND window = owner_.window();
  if (taken && IsWindow(window) && IsMenu(MenuHandle) && !GetMenu(window)) SetMenu(window, MenuHandle);
  taken = false;
}

MenuBtn* SkinMenuBar::item(int index) const {
  return index >= 0 && index < ItemCount() ? items_[std::size_t(index)].get() : nullptr;
}

std::vector<MenuBarItem> SkinMenuBar::ruleItems() const {
  std::vector<MenuBarItem> list;
  list.reserve(items_.size());
  for (const auto& item : items_) list.push_back({item->Caption, item->Enabled, item->Bounds});
  return list;
}

MenuBtn* SkinMenuBar::itemAt(int x, int y) const { return item(menuBarItemAt(ruleItems(), x, y)); }

MenuBtn* SkinMenuBar::itemForAccelerator(char32_t character) const {
  return item(menuBarItemForAccelerator(ruleItems(), character));
}

void SkinMenuBar::paint(HDC dc, const Rect& bar) {
  BarRect = bar;
  const int w = bar.width(), h = bar.height();
  const SkinData* skin = owner_.skinData();
  if (w <= 0 || h <= 0 || !imageSizeAllowed(w, h) || !skin) {
    BarCache = {};
    return;
  }
  const auto& element = skin->Settings().MenuBar;
  const MenuBarBackground look = menuBarBackground(element, w, owner_.WindowActive);
  Image back;
  if (look.fromElement) {
    const Margins m{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight};
    back = look.grid ? composeGrid(w, h, element->Image, m, true, false, kBarFrames, look.frame)
                     : composeThreeSlice(w, h, element->Image, true, kBarFrames, look.frame, element->LeftWidth,
                                         element->RightWidth);
  }
  if (back.width != w || back.height != h) back = Image(w, h, resolved(skin->SkinColors().MenuBarColor));
  BarCache = back;

  // The buttons of a maximized MDI child sit in the frame's bar.
  if (owner_.MdiKind == 1) {
    bool maximized = false;
    owner_.activeMdiChild(&maximized);
    if (maximized) {
      for (const auto& b : owner_.titleButtons()) {
        if (b->Data->Visibility != 100 || !b->Visible || !b->hasPicture()) continue;
        const Rect at = offsetRect(b->Bounds, -bar.left, -bar.top);
        drawTransparent(back, at, b->frameOver(Image(), 1));
      }
      if (!owner_.manager().mdiMaximized()) owner_.manager().setMdiMaximized(true);
    }
  }

  Bitmap& surface = owner_.manager().workBitmap();
  surface.fromImage(back);
  if (surface.empty() || !surface.pixels()) return;
  HDC sdc = surface.dc();
  std::vector<int> widths;
  widths.reserve(items_.size());
  for (const auto& item : items_) widths.push_back(item->Caption.empty() ? 0 : measureBarCaption(sdc, item->Caption).width);
  const std::vector<Rect> cells = menuBarCells(widths, look.firstItemX, h);
  for (std::size_t i = 0; i < items_.size(); ++i) {
    MenuBtn& item = *items_[i];
    item.cell = cells[i];
    item.Bounds = menuBarItemBounds(cells[i], bar);
    item.State = ncNormal;
    if (cells[i].left < w) drawBarCaption(sdc, item.Caption, item.Enabled, toRECT(cells[i]), owner_);
  }
  BitBlt(dc, bar.left, bar.top, w, h, sdc, 0, 0, SRCCOPY);
  // A repaint while an item's menu is open keeps that item pressed.
  if (TrackingForm() == &owner_)
    if (MenuBtn* open = item(TrackingIndex())) {
      open->State = ncPressed;
      open->Paint();
    }
}

// ---- Tracking ----

SkinForm* TrackingForm() { return tracking().form; }
int TrackingIndex() { return tracking().tracker.TrackingIndex(); }
bool menuFilterHookInstalled() { return tracking().hook != nullptr; }
const MenuTracker& menuTracker() { return tracking().tracker; }

void forgetMenuTracking(const SkinForm& form) {
  Tracking& t = tracking();
  if (t.form != &form) return;
  t.form = nullptr;
  t.pendingPress = -1;
}

bool trackMenuBarItem(SkinForm& form, MenuBtn& item) {
  Tracking& t = tracking();
  if (!item.SubMenu || !IsMenu(item.SubMenu) || t.form) return false;
  SkinMenuBar* bar = form.menuBar();
  if (!bar) return false;
  HWND window = form.window();
  const int index = item.Index;
  const bool enabled = item.Enabled;
  HMENU submenu = item.SubMenu;
  t.form = &form;
  t.pendingPress = -1;
  RECT r{};
  GetWindowRect(window, &r);
  form.WindowBounds = {r.left, r.top, r.right, r.bottom};
  makeOwnerDrawn(submenu, 0);
  form.MenuTracking = true;
  form.manager().MenuOpen = true;
  trackedMenu() = submenu;
  startFilter(index, bar->ItemCount());
  UINT chosen = 0;
  if (enabled) {
    const Point at = menuBarMenuPoint(item.Bounds, {int(r.left), int(r.top)});
    // The choice comes back here and reaches the window once, as from a system menu bar.
    chosen = UINT(TrackPopupMenu(submenu, TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, window,
                                 nullptr));
  }
  stopFilter();
  trackedMenu() = nullptr;
  // The window may have lost its skinner while the menu was open.
  const bool stillTracked = t.form == &form;
  t.form = nullptr;
  const int press = std::exchange(t.pendingPress, -1);
  if (SkinManager* manager = SkinManager::instance()) manager->MenuOpen = false;
  if (!stillTracked) return true;
  form.MenuTracking = false;
  // The bar may have been rebuilt meanwhile: the item is looked up again.
  SkinMenuBar* now = form.menuBar();
  if (MenuBtn* same = now ? now->item(index) : nullptr) {
    if (form.HotObject == same) form.HotObject = nullptr;
    same->State = ncNormal;
    same->Paint();
  }
  if (chosen && IsWindow(window)) PostMessageW(window, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
  if (MenuBtn* target = now ? now->item(press) : nullptr) form.pressMenuItem(*target);
  return true;
}

void menuBarItemSelected(SkinForm& form, WPARAM wp, LPARAM lp) {
  Tracking& t = tracking();
  if (t.form != &form) return;
  const UINT flags = HIWORD(wp);
  HMENU menu = reinterpret_cast<HMENU>(lp);
  const bool closing = flags == 0xFFFF && !menu;
  MenuSelection s;
  if (!closing && menu) {
    const bool popup = flags & MF_POPUP;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    // A popup entry is reported by position, any other by command.
    if (GetMenuItemInfoW(menu, LOWORD(wp), popup, &info)) {
      s.known = true;
      s.inTrackedMenu = menu == trackedMenu();
      s.opensTrackedMenu = info.hSubMenu && info.hSubMenu == trackedMenu();
      s.hasSubItems = info.hSubMenu && GetMenuItemCount(info.hSubMenu) > 0;
      s.rightToLeft = info.fType & MFT_RIGHTORDER;
      SkinMenuBar* bar = form.menuBar();
      if (MenuItem* app = formMenuItem(bar ? bar->FormMenu : nullptr, info.wID))
        s.rightToLeft = s.rightToLeft || (app->menu() && app->menu()->isRightToLeft());
    }
  }
  if (t.tracker.onMenuSelect(closing, s).endTracking) form.MenuTracking = false;
}

}  // namespace vrin
