// Menus under the skin on real windows: which popup menu components and items take the skin's
// handlers, how the skin measures them, popup menu windows and items drawn from a skin that
// has MenuItem and MenuBackground pictures, and the tray menu of the history window opened
// through its real tray icon (skin first, side bar over it).
#include <gtest/gtest.h>

#include <objbase.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/helper_form.h"
#include "app/product.h"
#include "core/bmp.h"
#include "menus/sidebar_menus.h"
#include "skin/form/skin_form.h"
#include "skin/menus/menu_items.h"
#include "skin/menus/popup_window.h"
#include "skin/pure/skin_container.h"
#include "skin/skin_data.h"
#include "skin/skin_manager.h"
#include "support/menu_capture.h"
#include "support/menu_skin.h"
#include "support/source_files.h"
#include "support/win_test_util.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/registry.h"

using namespace vrin;
using vrin::test::captureWindow;
using vrin::test::menuTextWidth;
using vrin::test::lookWhileMenuOpen;
using vrin::test::Bytes;
using vrin::test::menuTestSkin;
using namespace vrin::test::menuskin;
using vrin::test::pumpUntil;
using vrin::test::readFile;
using vrin::test::runSoon;
using vrin::test::sourcePath;

namespace {

// One skin data for the forms of the first tests, with the test skin.
SkinData& testSkin() {
  static SkinData* data = [] {
    auto* s = new SkinData(nullptr);
    s->beginLoading();
    s->SetActive(true);
    s->ReadSkinStream(writeSkinStream(menuTestSkin()));
    s->endLoading();
    return s;
  }();
  return *data;
}

SkinManager& manager() {
  testSkin();
  return *SkinManager::instance();
}

Form* skinnedForm() {
  testSkin();
  auto* form = new Form(nullptr);
  if (application().mainForm() == form) application().setMainForm(nullptr);
  form->setCaption("Menus");
  form->setBounds(300, 300, 300, 200);
  return form;
}

bool showSkinned(Form* form) {
  form->show();
  return pumpUntil([&] {
    SkinForm* s = manager().skinnedForm(form->handle());
    return s && s->Phase == phApplied;
  }, 3000);
}

MenuItem* addItem(Component* owner, MenuItem& parent, const std::string& caption, std::int32_t tag = 0) {
  auto* item = new MenuItem(owner);
  item->setCaption(caption);
  item->setTag(tag);
  parent.add(item);
  return item;
}

Size measure(MenuItem* item) { return vrin::test::measureMenuItem(item); }


struct OwnDrawing {
  void draw(Component*, Canvas&, const RECT&, bool) {}
};

// An item's rectangle in its menu window's coordinates.
RECT itemRect(HWND window, int position) {
  HMENU shown = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  RECT item{}, w{};
  GetMenuItemRect(nullptr, shown, UINT(position), &item);
  GetWindowRect(window, &w);
  OffsetRect(&item, -w.left, -w.top);
  return item;
}

void saveShot(const Image& shot, const std::string& name) {
  const Bytes bytes = encodeBmp24(shot);
  std::ofstream("Z:" VRIN_SOURCE_DIR "/build/artifacts/" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace

TEST(SkinMenus, PopupComponentsTakeTheSkinHandlersByTagAndGiveThemBack) {
  Form* form = skinnedForm();
  OwnDrawing own;
  auto* menu = new PopupMenu(form);
  MenuItem* top = addItem(form, menu->items(), "Top item");
  MenuItem* parent = addItem(form, menu->items(), "Parent");
  MenuItem* deep = addItem(form, *parent, "Deeper item");
  MenuItem* deepLine = addItem(form, *parent, "-");
  MenuItem* unskinned = addItem(form, menu->items(), "Tag 999", 999);
  unskinned->onDrawItem = MenuDrawEvent::of<&OwnDrawing::draw>(&own);
  MenuItem* ownDrawn = addItem(form, menu->items(), "Own drawing");
  ownDrawn->onDrawItem = MenuDrawEvent::of<&OwnDrawing::draw>(&own);

  auto* untouched = new PopupMenu(form);
  untouched->setTag(99);  // the skin data's DisableTag
  MenuItem* kept = addItem(form, untouched->items(), "Kept");

  // The side-bar menu took its items over when it loaded, before the skin came.
  auto* side = new SideBarPopupMenu(form);
  side->beginLoading();
  MenuItem* sideTop = addItem(form, side->items(), "Top item");
  side->endLoading();
  ASSERT_EQ(sideTop->onMeasureItem, side->measureHandler());

  // Unskinned widths, for comparing.
  PopupMenu plainMenu(nullptr);
  MenuItem* plain = addItem(&plainMenu, plainMenu.items(), "Top item");
  plainMenu.setOwnerDraw(true);
  const Size plainSize = measure(plain);

  ASSERT_TRUE(showSkinned(form));
  EXPECT_TRUE(menu->ownerDraw());
  EXPECT_EQ(top->onDrawItem, skinDrawHandler());
  EXPECT_EQ(top->onMeasureItem, skinTopLevelMeasure());
  EXPECT_EQ(deep->onDrawItem, skinDrawHandler());
  EXPECT_EQ(deep->onMeasureItem, skinFullMeasure());
  EXPECT_FALSE(unskinned->onDrawItem);
  EXPECT_EQ(ownDrawn->onDrawItem, MenuDrawEvent::of<&OwnDrawing::draw>(&own));
  EXPECT_FALSE(ownDrawn->onMeasureItem);
  EXPECT_FALSE(untouched->ownerDraw());
  EXPECT_FALSE(kept->onDrawItem);
  EXPECT_FALSE(kept->onMeasureItem);

  // The side-bar item: the skin's drawing and measure, the side-bar drawing after it; a change
  // to the menu does not give the side-bar measure back.
  EXPECT_EQ(sideTop->onDrawItem, skinDrawHandler());
  EXPECT_EQ(sideTop->onAdvancedDrawItem, side->drawHandler());
  sideTop->setChecked(true);
  EXPECT_EQ(sideTop->onMeasureItem, skinTopLevelMeasure());

  // The top-level measure adds 28 to the host's size, and nothing for the bar.
  EXPECT_EQ(measure(top), (Size{plainSize.width + 28, plainSize.height}));
  EXPECT_EQ(measure(sideTop), (Size{plainSize.width + 28, plainSize.height}));
  // The full measure: the text width + 26; a separator is 8 high.
  EXPECT_EQ(measure(deep).width, menuTextWidth("Deeper item") + 26);
  EXPECT_EQ(measure(deepLine).height, 8);

  // Detaching takes the skin's handlers away and leaves everyone else's.
  manager().releaseForm(form->handle());
  EXPECT_FALSE(menu->ownerDraw());
  EXPECT_TRUE(side->ownerDraw());
  EXPECT_FALSE(top->onDrawItem);
  EXPECT_FALSE(top->onMeasureItem);
  EXPECT_FALSE(deep->onDrawItem);
  EXPECT_EQ(ownDrawn->onDrawItem, MenuDrawEvent::of<&OwnDrawing::draw>(&own));
  EXPECT_EQ(sideTop->onAdvancedDrawItem, side->drawHandler());
  EXPECT_FALSE(sideTop->onDrawItem);
  delete form;
}

TEST(SkinMenus, PopupWindowsShowTheMenuBackgroundAndItemsTheMenuItemFrames) {
  Form* form = skinnedForm();
  auto* menu = new PopupMenu(form);
  for (const char* caption : {"First", "Second", "-", "Third"}) addItem(form, menu->items(), caption);
  ASSERT_TRUE(showSkinned(form));

  Image normal, selected;
  RECT first{}, second{}, line{};
  HMENU learned = nullptr;
  bool waitingCleared = false;
  SetForegroundWindow(PopupMenu::ownerWindow());
  EXPECT_TRUE(lookWhileMenuOpen([&] { menu->popup(200, 200); }, [&](HWND w) {
    first = itemRect(w, 0);
    second = itemRect(w, 1);
    line = itemRect(w, 2);
    normal = captureWindow(w);
    if (SkinPopupWindow* popup = SkinPopupWindow::forWindow(w)) learned = popup->MenuHandle;
    waitingCleared = waitingPopup() == nullptr;
  }, VK_DOWN, [&](HWND w) { selected = captureWindow(w); }));
  ASSERT_FALSE(normal.empty());
  ASSERT_FALSE(selected.empty());
  saveShot(selected, "skinned_popup.bmp");
  EXPECT_NE(learned, nullptr);  // told by the first item drawn after the background
  EXPECT_TRUE(waitingCleared);

  // The window's frame is the MenuBackground picture's.
  EXPECT_EQ(normal.at(1, 1), kBackEdge);
  EXPECT_EQ(normal.at(normal.width - 2, normal.height / 2), kBackEdge);
  // A normal item: frame 1's edge, the background through its key-coloured middle.
  const int mid = (second.top + second.bottom) / 2;
  EXPECT_EQ(normal.at(second.left, mid), kItemEdge);
  EXPECT_EQ(normal.at(second.right - 6, mid), kBackFill);
  // The separator: the line from frame 2 across the item.
  bool inked = false;
  for (int y = line.top; y < line.bottom; ++y) inked |= normal.at((line.left + line.right) / 2, y) == kSeparatorInk;
  EXPECT_TRUE(inked);
  // The selected item: frame 4.
  const int firstMid = (first.top + first.bottom) / 2;
  EXPECT_EQ(selected.at(first.left, firstMid), kSelectedEdge);
  EXPECT_EQ(selected.at(first.right - 6, firstMid), kSelectedFill);
  EXPECT_EQ(selected.at(second.right - 6, mid), kBackFill);
  delete form;
}

TEST(SkinMenus, APopupGoneWhileWaitingLeavesNothingBehind) {
  Form* form = skinnedForm();
  ASSERT_TRUE(showSkinned(form));
  HWND popup = CreateWindowExW(0, L"#32768", L"", WS_POPUP, 10, 10, 100, 60, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(popup, nullptr);
  ASSERT_NE(SkinPopupWindow::forWindow(popup), nullptr);
  HDC dc = GetDC(popup);
  SendMessageW(popup, WM_PRINT, WPARAM(dc), PRF_CLIENT | PRF_NONCLIENT);
  ReleaseDC(popup, dc);
  EXPECT_EQ(waitingPopup(), SkinPopupWindow::forWindow(popup));
  DestroyWindow(popup);
  EXPECT_EQ(waitingPopup(), nullptr);
  EXPECT_EQ(SkinPopupWindow::forWindow(popup), nullptr);
  delete form;
}

// The owner-drawn items of a bare window's menu, as the menu bar hands them over: no
// application item behind them, so they are read from the menu itself.
TEST(SkinMenus, ItemsOfABareMenuAreMeasuredAndDrawnFromTheMenu) {
  Form* form = skinnedForm();
  ASSERT_TRUE(showSkinned(form));
  SkinForm& skinner = *manager().skinnedForm(form->handle());
  HMENU menu = CreatePopupMenu();
  const std::wstring longCaption(1000, L'w');
  AppendMenuW(menu, MF_STRING, 7001, L"Bare item");
  AppendMenuW(menu, MF_STRING, 7002, longCaption.c_str());
  AppendMenuW(menu, MF_STRING | MF_GRAYED, 7003, L"");
  trackedMenu() = menu;

  MEASUREITEMSTRUCT mis{ODT_MENU, 0, 7001, 0, 15, 0};
  ASSERT_TRUE(measureSkinnedMenuItem(skinner, mis));
  EXPECT_EQ(mis.itemWidth, UINT(menuTextWidth("Bare item") + 26));
  EXPECT_EQ(mis.itemHeight, 19u);
  MEASUREITEMSTRUCT empty{ODT_MENU, 0, 7003, 0, 15, 0};
  ASSERT_TRUE(measureSkinnedMenuItem(skinner, empty));
  EXPECT_EQ(empty.itemHeight, 8u);
  MEASUREITEMSTRUCT notMenu{ODT_LISTBOX, 1, 7001, 0, 15, 0};
  EXPECT_FALSE(measureSkinnedMenuItem(skinner, notMenu));

  // Drawn with the MenuItem frames into a bitmap; a caption of 1,000 characters is cut.
  Bitmap target(300, 60);
  for (UINT id : {7001u, 7002u, 7003u}) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = id;
    dis.itemState = id == 7002 ? ODS_SELECTED : 0;
    dis.hwndItem = reinterpret_cast<HWND>(menu);
    dis.hDC = target.dc();
    dis.rcItem = RECT{0, LONG(id - 7001) * 20, 300, LONG(id - 7001) * 20 + 20};
    EXPECT_TRUE(drawSkinnedMenuItem(skinner, dis));
  }
  const Image drawn = target.toImage();
  EXPECT_EQ(drawn.at(0, 10), kItemEdge);
  EXPECT_EQ(drawn.at(0, 30), kSelectedEdge);
  EXPECT_EQ(drawn.at(290, 22), kSelectedFill);  // above the caption
  EXPECT_EQ(drawn.at(0, 50), kItemEdge);  // a temporary "-" is drawn with the element too
  // No popup window behind them: the key-coloured middle shows MenuColor.
  EXPECT_EQ(drawn.at(290, 10), pixelFromColour(colorToRGB(testSkin().SkinColors().MenuColor)));
  trackedMenu() = nullptr;
  DestroyMenu(menu);
  delete form;
}

// The history window as the program makes it, with its own (stored) skin, which has no
// MenuItem element: the items get the plain drawing in the skin's colours.
TEST(SkinMenus, TheTrayMenuIsDrawnBySkinFirstAndSideBarOver) {
  Registry reg;
  reg.deleteKey("\\Vrin");
  application().setTitle(kAppTitle);
  CoInitialize(nullptr);
  auto* form = new HelperForm(nullptr);
  SideBarPopupMenu* tray = form->SideBarPopupMenu1;
  // The real tray icon, right-clicked where Wine's tray shows it.
  HWND trayWindow = FindWindowW(L"__winex11_standalone_tray", nullptr);
  HWND icon = trayWindow ? FindWindowExW(trayWindow, nullptr, L"__winex11_tray_icon", nullptr) : nullptr;
  ASSERT_NE(icon, nullptr);
  RECT iconRect{};
  GetWindowRect(icon, &iconRect);
  const Colour skinHighlight = form->SkinData1->SkinColors().HilightColor;  // a plain colour in our skin
  // A system highlight unlike the skin's, so the two drawings can be told apart.
  const int highlightIndex = COLOR_HIGHLIGHT;
  const COLORREF savedHighlight = GetSysColor(COLOR_HIGHLIGHT), otherHighlight = RGB(0, 0, 128);
  SetSysColors(1, &highlightIndex, &otherHighlight);

  Image normal, selected;
  RECT column{}, firstItem{};
  EXPECT_TRUE(lookWhileMenuOpen(
      [&] {
        SetCursorPos((iconRect.left + iconRect.right) / 2, (iconRect.top + iconRect.bottom) / 2);
        INPUT clicks[2]{};
        clicks[0].type = clicks[1].type = INPUT_MOUSE;
        clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
        clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        SendInput(2, clicks, sizeof(INPUT));
        // The menu runs modally inside the tray's mouse report; wait for it to come and go.
        pumpUntil([&] { return FindWindowW(L"#32768", nullptr) != nullptr; }, 5000);
        pumpUntil([&] { return FindWindowW(L"#32768", nullptr) == nullptr; }, 10000);
      },
      [&](HWND w) {
        HMENU shown = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
        firstItem = itemRect(w, 0);
        const RECT last = itemRect(w, GetMenuItemCount(shown) - 1);
        column = RECT{firstItem.left, firstItem.top, firstItem.right, last.bottom};
        normal = captureWindow(w);
      },
      VK_DOWN, [&](HWND w) { selected = captureWindow(w); }));
  SetSysColors(1, &highlightIndex, &savedHighlight);
  ASSERT_FALSE(selected.empty());
  saveShot(selected, "skinned_traymenu.bmp");
  // The tray's click brought the hidden window forward, which skinned it before the menu came.
  ASSERT_NE(manager().skinnedForm(form->handle()), nullptr);
  for (MenuItem* item : tray->items().items()) {
    EXPECT_EQ(item->onDrawItem, skinDrawHandler()) << item->caption();
    EXPECT_EQ(item->onMeasureItem, skinTopLevelMeasure()) << item->caption();
    EXPECT_EQ(item->onAdvancedDrawItem, tray->drawHandler()) << item->caption();
  }
  EXPECT_EQ(form->option1->onDrawItem, skinDrawHandler());
  EXPECT_EQ(form->option1->onMeasureItem, skinFullMeasure());
  EXPECT_EQ(form->Gotothislink1->onDrawItem, skinDrawHandler());
  EXPECT_TRUE(form->PopupMenu1->ownerDraw());


  // The bar stays as the side-bar menu paints it: framed in black, blue at the top.
  const int x = column.left, height = column.bottom - column.top;
  ASSERT_GT(height, 100);
  for (int y = column.top; y < column.bottom; y += 7) {
    EXPECT_EQ(selected.at(x, y), rgb(0, 0, 0)) << y;
    EXPECT_EQ(selected.at(x + 31, y), rgb(0, 0, 0)) << y;
    EXPECT_EQ(selected.at(x + 3, y), normal.at(x + 3, y)) << y;
  }
  EXPECT_EQ(selected.at(x + 3, column.top + 1), rgb(255 / height, 255 / height, 255));
  // The one column between the bar and the item bodies, which the side-bar drawing leaves
  // alone, shows the skin's drawing: its highlight on the selected item, its face colour on
  // the others; the body itself is the side bar's (the system highlight behind the caption).
  const int mid = (firstItem.top + firstItem.bottom) / 2;
  EXPECT_EQ(selected.at(x + 32, firstItem.top + 1), pixelFromColour(skinHighlight));
  EXPECT_EQ(normal.at(x + 32, firstItem.top + 1), pixelFromColour(form->SkinData1->SkinColors().ButtonFaceColor));
  EXPECT_NE(pixelFromColour(skinHighlight), rgb(0, 0, 128));
  EXPECT_EQ(selected.at(firstItem.right - 4, mid), rgb(0, 0, 128));
  delete form;
}
