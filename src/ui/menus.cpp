#include "ui/menus.h"

#include <algorithm>
#include <unordered_map>

#include "ui/imagelist.h"

namespace vrin {

namespace {
// Live items by command id; owner-draw item data is checked against it too, so a stale
// pointer from the window system is never followed.
std::unordered_map<UINT, MenuItem*>& liveItems() {
  static std::unordered_map<UINT, MenuItem*> items;
  return items;
}
UINT nextCommand() {
  static UINT next = 100;
  if (++next > 0xFFFF) next = 101;  // command ids travel in a WORD
  while (liveItems().count(next)) ++next;
  return next;
}
}  // namespace

FontSpec systemMenuFont() {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  FontSpec desc;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    const LOGFONTW& lf = ncm.lfMenuFont;
    desc.name = narrow(lf.lfFaceName);
    desc.height = lf.lfHeight;
    desc.style = (lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0);
    desc.charset = lf.lfCharSet;
  }
  desc.color = clMenuText;
  return desc;
}

// ---- MenuItem

const ClassInfo& MenuItem::staticClassInfo() {
  static const ClassInfo info{
      "TMenuItem",
      &Component::staticClassInfo(),
      {stringProp<MenuItem>("Caption", &MenuItem::caption, &MenuItem::setCaption),
       boolProp<MenuItem>("Checked", &MenuItem::checked, &MenuItem::setChecked),
       boolProp<MenuItem>("Enabled", &MenuItem::enabled, &MenuItem::setEnabled),
       boolProp<MenuItem>("Visible", &MenuItem::visible, &MenuItem::setVisible),
       boolProp<MenuItem>("AutoCheck", &MenuItem::autoCheck, &MenuItem::setAutoCheck),
       boolProp<MenuItem>("RadioItem", &MenuItem::radioItem, &MenuItem::setRadioItem),
       boolProp<MenuItem>("Default", &MenuItem::isDefault, &MenuItem::setDefault),
       intProp<MenuItem>("ImageIndex", &MenuItem::imageIndex, &MenuItem::setImageIndex),
       stringProp<MenuItem>("Hint", &MenuItem::hint, &MenuItem::setHint)}};
  return info;
}

MenuItem::MenuItem(Component* owner) : Component(owner), command_(nextCommand()) { liveItems()[command_] = this; }

MenuItem::~MenuItem() {
  liveItems().erase(command_);
  for (MenuItem* child : items_) child->parent_ = nullptr;
  if (parent_) parent_->remove(this);
}

void MenuItem::setCaption(const std::string& c) {
  if (c == caption_) return;
  bool wasLine = isLine();
  caption_ = c;
  changed(wasLine != isLine());
}
void MenuItem::setEnabled(bool v) { if (v != enabled_) { enabled_ = v; changed(false); } }
void MenuItem::setChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  // Radio items of one level exclude each other.
  if (v && radioItem_ && parent_)
    for (MenuItem* sib : parent_->items_)
      if (sib != this && sib->radioItem_ && sib->checked_) {
        sib->checked_ = false;
        sib->changed(false);
      }
  changed(false);
}
void MenuItem::setRadioItem(bool v) { if (v != radioItem_) { radioItem_ = v; changed(false); } }
void MenuItem::setDefault(bool v) {
  if (v == default_) return;
  if (v && parent_)
    for (MenuItem* sib : parent_->items_) sib->default_ = false;
  default_ = v;
  changed(true);
}
void MenuItem::setVisible(bool v) { if (v != visible_) { visible_ = v; changed(true); } }
void MenuItem::setBreak(MenuBreak b) { if (b != break_) { break_ = b; changed(true); } }
void MenuItem::setImageIndex(int i) { if (i != imageIndex_) { imageIndex_ = i; changed(false); } }
void MenuItem::setShortCut(ShortCut s) { if (s != shortCut_) { shortCut_ = s; changed(false); } }

void MenuItem::add(MenuItem* item) { insert(count(), item); }

void MenuItem::insert(int index, MenuItem* item) {
  if (!item || item == this) return;
  if (item->parent_) item->parent_->remove(item);
  index = std::clamp(index, 0, count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  changed(true);
}

void MenuItem::remove(MenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  changed(true);
}

int MenuItem::indexOf(const MenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

Menu* MenuItem::menu() const {
  const MenuItem* i = this;
  while (i->parent_) i = i->parent_;
  return i->menu_;
}

ImageList* MenuItem::imageList() const {
  for (const MenuItem* p = parent_; p; p = p->parent_)
    if (p->subMenuImages) return p->subMenuImages;
  Menu* m = menu();
  return m ? m->images() : nullptr;
}

void MenuItem::changed(bool rebuild) {
  if (Menu* m = menu()) m->menuChanged(this, rebuild);
}

void MenuItem::click() {
  if (!enabled_) return;
  if (autoCheck_) setChecked(!checked_);
  onClick(this);
}

MenuItem* MenuItem::fromCommand(UINT command) {
  auto it = liveItems().find(command);
  return it == liveItems().end() ? nullptr : it->second;
}

MenuItem* MenuItem::fromItemData(ULONG_PTR data) {
  auto* item = reinterpret_cast<MenuItem*>(data);
  if (!item) return nullptr;
  for (const auto& [id, it] : liveItems())
    if (it == item) return item;
  return nullptr;
}

bool MenuItem::dispatchCommand(UINT command) {
  MenuItem* item = fromCommand(command);
  if (!item) return false;
  item->click();
  return true;
}

void MenuItem::measureItem(Canvas& canvas, int& width, int& height) {
  // The host's default size, then the item's own measure handler.
  Menu* m = menu();
  bool topOfBar = m && !m->isPopup() && parent_ && !parent_->parent_;
  ImageList* images = imageList();
  if (isLine()) {
    width = -2;
    height = 5;
  } else {
    bool picture = false;
    if (images) {
      width = images->width();
      height = images->height();
      picture = true;
    } else if (!bitmap_.empty()) {
      width = height = 16;
      picture = true;
    } else {
      width = -7;
    }
    if (topOfBar) {
      width = GetSystemMetrics(SM_CXMENUSIZE);
      height = GetSystemMetrics(SM_CYMENUSIZE);
    } else {
      if (picture) width += 15;
      height += 3;
    }
    std::string text = caption_;
    if (shortCut_) text += ShortCutToText(shortCut_);
    if (text.empty() || text == "&") text += " ";
    RECT r{0, 0, 0, 0};
    canvas.drawText(text, r, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE | DT_NOCLIP);
    width += 7 + (r.right - r.left);
  }
  onMeasureItem.call(this, canvas, width, height);
}

void MenuItem::drawItem(Canvas& canvas, const RECT& rect, UINT state) {
  bool selected = state & ODS_SELECTED;
  if (selected) {
    canvas.brushColor = clHighlight;
    FontSpec f = canvas.font.desc();
    f.color = clHighlightText;
    canvas.font.assign(f);
  } else {
    canvas.brushColor = clMenu;
    FontSpec f = canvas.font.desc();
    f.color = clMenuText;
    canvas.font.assign(f);
  }
  if (onDrawItem) onDrawItem.call(this, canvas, rect, selected);
  else if (!onAdvancedDrawItem) defaultDraw(canvas, rect, state);
  if (onAdvancedDrawItem) onAdvancedDrawItem.call(this, canvas, rect, state);
}

void MenuItem::defaultDraw(Canvas& canvas, const RECT& rect, UINT state) {
  canvas.fillRect(rect);
  if (isLine()) {
    RECT line{rect.left, (rect.top + rect.bottom) / 2 - 1, rect.right, (rect.top + rect.bottom) / 2 + 1};
    DrawEdge(canvas.handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  bool disabled = state & (ODS_DISABLED | ODS_GRAYED);
  ImageList* images = imageList();
  int glyph = images ? images->width() : 16;
  int x = rect.left + 2, y = rect.top + (rect.bottom - rect.top - glyph) / 2;
  if (images && imageIndex_ >= 0) {
    if (checked_) {
      RECT box{x - 1, y - 1, x + glyph + 1, y + glyph + 1};
      DrawEdge(canvas.handle(), &box, BDR_SUNKENOUTER, BF_RECT);
    }
    images->draw(canvas.handle(), x, y, imageIndex_, !disabled);
  } else if (checked_) {
    RECT box{x, y, x + glyph, y + glyph};
    DrawFrameControl(canvas.handle(), &box, DFC_MENU, radioItem_ ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  }
  RECT text{rect.left + glyph + 10, rect.top, rect.right - 4, rect.bottom};
  if (disabled) {
    FontSpec f = canvas.font.desc();
    f.color = clGrayText;
    canvas.font.assign(f);
  }
  canvas.brushClear = true;
  UINT fmt = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | ((state & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
  canvas.drawText(caption_, text, fmt | DT_LEFT);
  if (shortCut_) canvas.drawText(ShortCutToText(shortCut_), text, fmt | DT_RIGHT);
  canvas.brushClear = false;
}

// ---- Menu

const ClassInfo& Menu::staticClassInfo() {
  static const ClassInfo info{"TMenu", &Component::staticClassInfo(), {}};
  return info;
}

Menu::Menu(Component* owner) : Component(owner) {
  root_ = new MenuItem(this);
  root_->menu_ = this;
}

Menu::~Menu() {
  if (handle_) DestroyMenu(handle_);
  handle_ = nullptr;
  if (root_) root_->menu_ = nullptr;
}

void Menu::setImages(ImageList* images) {
  images_ = images;
  if (images) freeNotification(images);
  menuChanged(nullptr, false);
}

void Menu::setOwnerDraw(bool v) {
  if (v == ownerDraw_) return;
  ownerDraw_ = v;
  menuChanged(nullptr, true);
}

bool Menu::drawsItems() const { return ownerDraw_ || images_; }

bool Menu::isRightToLeft() const {
  return GetSystemMetrics(SM_MIDEASTENABLED) != 0 && biDiMode != BiDiMode::LeftToRight;
}

void Menu::notification(Component* component, Operation operation) {
  Component::notification(component, operation);
  if (operation != Operation::Remove) return;
  if (component == images_) images_ = nullptr;
  if (component == root_) root_ = nullptr;
}

void Menu::menuChanged(MenuItem* source, bool rebuild) {
  (void)rebuild;
  dirty_ = true;
  if (!loading()) onChange(this, source, rebuild);
}

void Menu::loaded() { Component::loaded(); }

HMENU Menu::handle() {
  if (!handle_ || dirty_) rebuildHandle();
  return handle_;
}

void Menu::rebuildHandle() {
  if (handle_) DestroyMenu(handle_);
  handle_ = popup_ ? CreatePopupMenu() : CreateMenu();
  if (root_) fill(handle_, *root_);
  dirty_ = false;
}

void Menu::fill(HMENU menu, MenuItem& parent) {
  for (MenuItem* item : parent.items_) {
    if (!item->visible_) continue;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    std::wstring text;
    if (item->isLine()) {
      mii.fType = MFT_SEPARATOR;
    } else {
      mii.fMask |= MIIM_STRING;
      text = widen(item->caption_);
      if (item->shortCut_) text += L"\t" + widen(ShortCutToText(item->shortCut_));
      mii.dwTypeData = text.data();
    }
    if (drawsItems()) mii.fType |= MFT_OWNERDRAW;
    if (item->radioItem_) mii.fType |= MFT_RADIOCHECK;
    if (item->break_ == MenuBreak::Break) mii.fType |= MFT_MENUBREAK;
    if (item->break_ == MenuBreak::BarBreak) mii.fType |= MFT_MENUBARBREAK;
    if (isRightToLeft()) mii.fType |= MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
    mii.fState = (item->checked_ ? MFS_CHECKED : 0) | (item->enabled_ ? 0 : MFS_DISABLED) |
                 (item->default_ ? MFS_DEFAULT : 0);
    mii.wID = item->command_;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    if (!item->items_.empty()) {
      mii.fMask |= MIIM_SUBMENU;
      mii.hSubMenu = CreatePopupMenu();
      fill(mii.hSubMenu, *item);
    }
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mii);
  }
}

bool Menu::drawMenuItem(DRAWITEMSTRUCT& dis) {
  MenuItem* item = MenuItem::fromItemData(dis.itemData);
  if (!item) return false;
  Canvas canvas(dis.hDC);
  canvas.font.assign(systemMenuFont());
  int saved = SaveDC(dis.hDC);
  try {
    item->drawItem(canvas, dis.rcItem, dis.itemState);
  } catch (...) {
    // Absorbed without a word: a message box here would run inside the menu's modal loop
    // and the item, still unpainted, would raise it again with every repaint.
  }
  canvas.setHandle(nullptr);
  RestoreDC(dis.hDC, saved);
  return true;
}

bool Menu::measureMenuItem(HWND hwnd, MEASUREITEMSTRUCT& mis) {
  MenuItem* item = MenuItem::fromItemData(mis.itemData);
  if (!item) return false;
  HDC dc = GetDC(hwnd);
  {
    Canvas canvas(dc);
    canvas.font.assign(systemMenuFont());
    int width = int(mis.itemWidth), height = int(mis.itemHeight);
    try {
      item->measureItem(canvas, width, height);
    } catch (...) {
      reportCurrentException();
    }
    mis.itemWidth = UINT(std::max(0, width));
    mis.itemHeight = UINT(std::max(0, height));
  }
  ReleaseDC(hwnd, dc);
  return true;
}

// ---- PopupMenu

const ClassInfo& PopupMenu::staticClassInfo() {
  static const ClassInfo info{"TPopupMenu", &Menu::staticClassInfo(), {}};
  return info;
}

PopupMenu::PopupMenu(Component* owner) : Menu(owner) {}
PopupMenu::~PopupMenu() = default;

namespace {
LRESULT CALLBACK popupOwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DRAWITEM:
      if (Menu::drawMenuItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp))) return TRUE;
      break;
    case WM_MEASUREITEM:
      if (Menu::measureMenuItem(hwnd, *reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
      break;
    case WM_COMMAND:
      if (HIWORD(wp) == 0 && MenuItem::dispatchCommand(LOWORD(wp))) return 0;
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

HWND PopupMenu::ownerWindow() {
  static HWND window = nullptr;
  // Made again if it could not be made or was destroyed (a display that went away).
  if (window && IsWindow(window)) return window;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &popupOwnerProc;
  wc.hInstance = moduleInstance();
  wc.lpszClassName = L"TPopupOwnerWindow";
  RegisterClassExW(&wc);
  window = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           moduleInstance(), nullptr);
  return window;
}

void PopupMenu::popup(int x, int y) {
  onPopup(this);
  HMENU menu = handle();
  UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | (isRightToLeft() ? TPM_RIGHTALIGN | TPM_LAYOUTRTL : TPM_LEFTALIGN);
  HWND owner = ownerWindow();
  UINT chosen = UINT(TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr));
  if (chosen) MenuItem::dispatchCommand(chosen);
}

const ClassInfo& MainMenu::staticClassInfo() {
  static const ClassInfo info{"TMainMenu", &Menu::staticClassInfo(), {}};
  return info;
}

}  // namespace vrin
