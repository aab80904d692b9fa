#include "skin/menus/menu_items.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "skin/form/skin_form.h"
#include "skin/menus/popup_window.h"
#include "skin/pure/menu_layout.h"
#include "skin/pure/menu_rules.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_data.h"
#include "skin/skin_gdi.h"
#include "skin/skin_manager.h"
#include "ui/control.h"
#include "ui/form.h"
#include "ui/geometry_win.h"
#include "ui/imagelist.h"
#include "ui/pure/menu_item_size.h"

namespace vrin {

namespace {

constexpr int kMenuItemFrames = 5;
constexpr UINT kCheckMarkBitmap = 32760;  // OBM_CHECK
constexpr DWORD kPaintWhereSourceBlack = 0x00B8074A;  // pattern where the source is 0, else the target

// What drawing an item needs, from an application item or read from a bare menu.
struct ItemView {
  std::string caption;
  std::string shortcut;
  bool enabled = true, checked = false, isDefault = false, rightToLeft = false;
  bool temporary = false;
  unsigned alignment = DT_LEFT;
  const ImageList* images = nullptr;
  int imageIndex = -1;
  bool separator() const { return caption == "-"; }
};

ItemView viewOf(const MenuItem& item) {
  ItemView v;
  v.caption = item.caption();
  if (item.shortCut()) v.shortcut = ShortCutToText(item.shortCut());
  v.enabled = item.enabled();
  v.checked = item.checked();
  v.isDefault = item.isDefault();
  Menu* menu = item.menu();
  v.rightToLeft = menu && menu->isRightToLeft();
  v.alignment = itemAlignmentFlags(dynamic_cast<PopupMenu*>(menu) != nullptr, PopupAlignment::paLeft);
  v.images = item.imageList();
  v.imageIndex = item.imageIndex();
  return v;
}

std::string menuString(HMENU menu, UINT command) {
  wchar_t text[81] = {};
  if (!menu || GetMenuStringW(menu, command, text, 81, MF_BYCOMMAND) <= 0) return {};
  return narrow(text);
}

// A temporary item: what the menu itself says about the command.
ItemView viewOf(HMENU menu, UINT command) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_FTYPE;
  if (!menu || !GetMenuItemInfoW(menu, command, FALSE, &info)) info = {};
  const TemporaryItem t = temporaryItem(menuString(menu, command), info.fState);
  ItemView v;
  v.caption = t.Caption;
  // The system shows the text after a tab at the right, as a shortcut.
  if (const auto tab = v.caption.find('\t'); tab != std::string::npos) {
    v.shortcut = v.caption.substr(tab + 1);
    v.caption.resize(tab);
  }
  v.enabled = t.Enabled;
  v.checked = t.Checked;
  v.isDefault = info.fState & MFS_DEFAULT;
  v.rightToLeft = info.fType & MFT_RIGHTORDER;
  v.temporary = true;
  return v;
}

Pixel resolved(Colour c) { return pixelFromColour(colorToRGB(c)); }

// The text routine: right-to-left flags, a blank for what measures as nothing, the etched line
// of "-", the bold default item and the colours of the state.
void menuText(const ItemView& item, Canvas& canvas, unsigned flags, bool selected, RECT& r, const std::string& text,
              const SkinColors& colours) {
  flags = menuTextFlags(flags, item.rightToLeft);
  const bool measuring = flags & DT_CALCRECT;
  if (text == "-" && !measuring) {
    RECT line = toRECT(menuSeparatorLine(toRect(r)));
    DrawEdge(canvas.handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const MenuTextLook look = menuTextLook(colours, selected, item.enabled, item.isDefault);
  FontSpec font = systemMenuFont();
  font.color = look.colour;
  if (look.bold) font.style |= fsBold;
  canvas.font.assign(font);
  canvas.brushClear = true;
  canvas.drawText(measuring ? measuredItemText(text) : text, r, flags);
}

void drawCheckMark(HDC dc, Point at) {
  GdiObject<HBITMAP> check(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kCheckMarkBitmap)));
  BITMAP bm{};
  if (!check.get() || !GetObjectW(check.get(), sizeof bm, &bm)) return;
  HDC source = CreateCompatibleDC(dc);
  if (!source) return;
  HGDIOBJ old = SelectObject(source, check.get());
  {
    SavedDC saved(dc);
    // The mark's black pixels take the button text colour; its white ones leave the item.
    GdiObject<HBRUSH> ink(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    SelectObject(dc, ink.get());
    BitBlt(dc, at.x, at.y, bm.bmWidth, bm.bmHeight, source, 0, 0, kPaintWhereSourceBlack);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
  }
  SelectObject(source, old);
  DeleteDC(source);
}

Size checkMarkSize() {
  static const Size size = [] {
    GdiObject<HBITMAP> check(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kCheckMarkBitmap)));
    BITMAP bm{};
    if (check.get() && GetObjectW(check.get(), sizeof bm, &bm)) return Size{bm.bmWidth, bm.bmHeight};
    return Size{};
  }();
  return size;
}

// The glyph box, the caption centred vertically and the shortcut, in r.
void drawContent(const ItemView& item, Canvas& canvas, const Rect& r, bool selected, const SkinColors& colours) {
  ItemContentInput in;
  in.rect = r;
  in.separator = item.separator();
  in.checked = item.checked;
  in.imageIndex = item.imageIndex;
  in.imageCount = item.images ? item.images->count() : 0;
  in.checkMark = checkMarkSize();
  in.hasShortcut = !item.shortcut.empty();
  RECT measured{0, 0, 0, 0};
  menuText(item, canvas, itemCaptionFlags(item.alignment, true), selected, measured, item.caption, colours);
  in.captionExtent = {int(measured.right - measured.left), int(measured.bottom - measured.top)};
  const ItemContentLayout layout = layoutItemContent(in);

  if (layout.drawImage)
    item.images->draw(canvas.handle(), layout.glyphBox.left, layout.glyphBox.top, item.imageIndex, item.enabled);
  if (layout.drawCheck) drawCheckMark(canvas.handle(), layout.checkAt);
  // A "-" is a line across the text rectangle, not just under the dash it measures as.
  Rect captionRect = layout.caption;
  if (item.separator()) captionRect = {layout.textRect.left, layout.caption.top, layout.textRect.right, layout.caption.bottom};
  RECT caption = toRECT(captionRect);
  menuText(item, canvas, itemCaptionFlags(item.alignment, false), selected, caption, item.caption, colours);
  if (in.hasShortcut) {
    RECT shortcut = toRECT(layout.shortcut);
    menuText(item, canvas, itemCaptionFlags(DT_RIGHT, false), selected, shortcut, item.shortcut, colours);
  }
}

// The part of the popup's background behind the item, or MenuColor.
void fillItemBackground(Image& picture, const Rect& r, const SkinColors& colours, const SkinPopupWindow* popup) {
  if (popup && !popup->backgroundImage().empty()) {
    const Point offset = popup->clientOffset();
    std::fill(picture.pixels.begin(), picture.pixels.end(), resolved(colours.MenuColor));
    stretchCopy(picture, {0, 0, picture.width, picture.height}, popup->backgroundImage(),
                offsetRect(r, offset.x, offset.y));
    return;
  }
  std::fill(picture.pixels.begin(), picture.pixels.end(), resolved(colours.MenuColor));
}

// Draws one item at r on the target: the skinned drawing with a MenuItem picture, else the
// plain one. Every picture is bounded by what an Image may hold.
void drawItemAt(HDC target, const Rect& r, const ItemView& item, bool selected, const SkinData& skin,
              const SkinPopupWindow* popup) {
  const int w = r.width(), h = r.height();
  if (w <= 0 || h <= 0 || !imageSizeAllowed(w, h)) return;
  const SkinColors& colours = skin.SkinColors();
  const SkinElement* element = skin.MenuItem();
  Image picture(w, h);
  Bitmap bitmap;
  const Rect local{0, 0, w, h};
  if (!element || element->Image.empty()) {
    std::fill(picture.pixels.begin(), picture.pixels.end(),
              resolved(selected ? colours.HilightColor : colours.ButtonFaceColor));
    bitmap.fromImage(picture);
    drawContent(item, bitmap.canvas(), local, selected, colours);
    BitBlt(target, r.left, r.top, w, h, bitmap.dc(), 0, 0, SRCCOPY);
    return;
  }
  fillItemBackground(picture, r, colours, popup);
  const SkinnedItemPlan plan = skinnedItemPlan(item.separator(), item.temporary, selected);
  if (plan.drawElement) {
    drawGrid(picture, local, element->Image, false, element->Tile != 0, element->Trans != 0, kMenuItemFrames,
             plan.frame, {element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight});
    bitmap.fromImage(picture);
    drawContent(item, bitmap.canvas(), local, selected, colours);
    BitBlt(target, r.left, r.top, w, h, bitmap.dc(), 0, 0, SRCCOPY);
    return;
  }
  drawImage(target, r.left, r.top, picture);
  Image line(w, h, kKeyColour);
  for (const PictureCopy& part : separatorParts(element->Image.width, element->Image.height, element->LeftWidth,
                                                element->RightWidth, w, h))
    stretchCopy(line, part.target, element->Image, part.source);
  drawImageTransparent(target, r.left, r.top, line);
}

// The popup showing a menu: by the menu, else by the window the item is drawn in. A popup that
// still waits for its menu learns it here.
SkinPopupWindow* popupFor(HDC dc, HMENU menu) {
  HWND window = WindowFromDC(dc);
  if (SkinPopupWindow* waiting = waitingPopup(); waiting && (!menu || window == waiting->window())) {
    waiting->MenuHandle = menu ? menu : reinterpret_cast<HMENU>(SendMessageW(waiting->window(), MN_GETHMENU, 0, 0));
    waitingPopup() = nullptr;
  }
  if (SkinPopupWindow* p = SkinPopupWindow::forMenu(menu)) return p;
  return SkinPopupWindow::forWindow(window);
}

// The skin data of the skinned form that owns a menu.
SkinData* skinOf(const Menu* menu) {
  SkinManager* manager = SkinManager::instance();
  auto* owner = menu ? dynamic_cast<WinControl*>(menu->owner()) : nullptr;
  if (!manager || !owner || !owner->handleAllocated()) return nullptr;
  SkinForm* form = manager->skinnedForm(owner->handle());
  return form ? form->skinData() : nullptr;
}

// The screen's menu font on a screen DC, for measuring.
struct ScreenCanvas {
  WindowDC dc{nullptr};
  Canvas canvas{dc.get()};
  ScreenCanvas() { canvas.font.assign(systemMenuFont()); }
  ~ScreenCanvas() { canvas.setHandle(nullptr); }
};

int textWidth(Canvas& canvas, const std::string& text) {
  RECT r{0, 0, 0, 0};
  canvas.drawText(text, r, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE | DT_NOCLIP);
  return r.right - r.left;
}

// The full measure of an application item: caption and shortcut text in the menu font.
Size fullMeasure(Canvas& canvas, const MenuItem& item, int proposedHeight) {
  canvas.font.assign(systemMenuFont());
  const std::string text = item.caption() + (item.shortCut() ? ShortCutToText(item.shortCut()) : std::string());
  return skinItemSize(textWidth(canvas, text), proposedHeight, item.isLine(), windows95Family());
}

// An item of the form's own main menu, found by its command.
MenuItem* formItem(SkinForm& form, UINT command) {
  MenuItem* item = MenuItem::fromCommand(command);
  Menu* menu = item ? item->menu() : nullptr;
  if (!menu || menu->isPopup() || !form.form() || menu->owner() != form.form()) return nullptr;
  return item;
}

class SkinItemHandlers {
 public:
  void drawItem(Component* sender, Canvas& canvas, const RECT& rect, bool selected) {
    auto* item = dynamic_cast<MenuItem*>(sender);
    if (!item) return;
    SkinData* skin = skinOf(item->menu());
    if (!skin || skin->NoSkin()) {
      item->defaultDraw(canvas, rect, selected ? ODS_SELECTED : 0);
      return;
    }
    drawItemAt(canvas.handle(), toRect(rect), viewOf(*item), selected, *skin, popupFor(canvas.handle(), nullptr));
  }
  void measureTopLevel(Component* sender, Canvas&, int& width, int& height) {
    auto* item = dynamic_cast<MenuItem*>(sender);
    const Size size = skinTopLevelItemSize({width, height}, item && item->isLine(), windows95Family());
    width = size.width;
    height = size.height;
  }
  void measureFull(Component* sender, Canvas& canvas, int& width, int& height) {
    auto* item = dynamic_cast<MenuItem*>(sender);
    if (!item) return;
    const Size size = fullMeasure(canvas, *item, height);
    width = size.width;
    height = size.height;
  }
};

SkinItemHandlers& handlers() {
  static SkinItemHandlers h;
  return h;
}

// Menus the skin made owner-drawn, per form, so switching off gives back only what it changed.
std::map<const SkinForm*, std::vector<const Menu*>>& madeOwnerDrawn() {
  static std::map<const SkinForm*, std::vector<const Menu*>> menus;
  return menus;
}

HandlerHeld drawHeld(const MenuItem& item) {
  if (!item.onDrawItem) return HandlerHeld::None;
  return item.onDrawItem == skinDrawHandler() ? HandlerHeld::Skin : HandlerHeld::Other;
}

HandlerHeld measureHeld(const MenuItem& item) {
  if (!item.onMeasureItem) return HandlerHeld::None;
  const bool skin = item.onMeasureItem == skinTopLevelMeasure() || item.onMeasureItem == skinFullMeasure();
  return skin ? HandlerHeld::Skin : HandlerHeld::Other;
}

void skinItems(MenuItem& parent, bool topLevel, bool on, SkinControlTypes controls) {
  for (MenuItem* item : parent.items()) {
    const SkinItemFacts facts{item->tag(), topLevel, drawHeld(*item), measureHeld(*item)};
    const ItemHandlerChange change = itemHandlerChange(on, facts, controls);
    if (change.draw == DrawChange::SetSkin) item->onDrawItem = skinDrawHandler();
    if (change.draw == DrawChange::Clear) item->onDrawItem = nullptr;
    if (change.measure == MeasureChange::SetTopLevel) item->onMeasureItem = skinTopLevelMeasure();
    if (change.measure == MeasureChange::SetFull) item->onMeasureItem = skinFullMeasure();
    if (change.measure == MeasureChange::Clear) item->onMeasureItem = nullptr;
    skinItems(*item, false, on, controls);
  }
}

}  // namespace

MenuDrawEvent skinDrawHandler() { return MenuDrawEvent::of<&SkinItemHandlers::drawItem>(&handlers()); }
MenuMeasureEvent skinTopLevelMeasure() { return MenuMeasureEvent::of<&SkinItemHandlers::measureTopLevel>(&handlers()); }
MenuMeasureEvent skinFullMeasure() { return MenuMeasureEvent::of<&SkinItemHandlers::measureFull>(&handlers()); }

HMENU& trackedMenu() {
  static HMENU menu = nullptr;
  return menu;
}

bool measureSkinnedMenuItem(SkinForm& form, MEASUREITEMSTRUCT& mis) {
  if (mis.CtlType != ODT_MENU) return false;
  ScreenCanvas screen;
  Size size;
  if (MenuItem* item = formItem(form, mis.itemID)) {
    size = fullMeasure(screen.canvas, *item, int(mis.itemHeight));
  } else {
    HMENU menu = trackedMenu() ? trackedMenu() : form.WindowMenu;
    const std::string text = menuString(menu, mis.itemID);
    size = skinItemSize(text.empty() ? 0 : textWidth(screen.canvas, text), int(mis.itemHeight), text.empty(),
                        windows95Family());
  }
  mis.itemWidth = UINT(std::max(0, size.width));
  mis.itemHeight = UINT(std::max(0, size.height));
  return true;
}

bool drawSkinnedMenuItem(SkinForm& form, const DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_MENU || !form.skinData()) return false;
  HMENU menu = reinterpret_cast<HMENU>(dis.hwndItem);
  SkinPopupWindow* popup = popupFor(dis.hDC, menu);
  const MenuItem* item = formItem(form, dis.itemID);
  const ItemView view = item ? viewOf(*item) : viewOf(menu, dis.itemID);
  try {
    drawItemAt(dis.hDC, toRect(dis.rcItem), view, dis.itemState & ODS_SELECTED, *form.skinData(), popup);
  } catch (...) {
    // Absorbed on purpose: an error shown from a menu's paint would come back with every repaint.
  }
  return true;
}

void skinPopupMenus(SkinForm& form, bool on) {
  Form* owner = form.form();
  SkinData* skin = form.skinData();
  if (!owner || !skin) return;
  std::vector<const Menu*>& changed = madeOwnerDrawn()[&form];
  for (Component* c : owner->components()) {
    auto* menu = dynamic_cast<PopupMenu*>(c);
    if (!menu || !skinsPopupMenu(skin->SkinControls(), menu->tag(), skin->DisableTag())) continue;
    const bool madeByUs = std::find(changed.begin(), changed.end(), menu) != changed.end();
    if (on && !menu->ownerDraw()) {
      menu->setOwnerDraw(true);
      changed.push_back(menu);
    } else if (!on && madeByUs) {
      // A menu that drew its own items before (the side-bar menu) keeps doing so.
      menu->setOwnerDraw(false);
    }
    skinItems(menu->items(), true, on, skin->SkinControls());
  }
  if (!on) madeOwnerDrawn().erase(&form);
}

}  // namespace vrin
