// The menu bar of a skinned form: drawn by the skin in the non-client area from its MenuBar
// picture, its items opened by the mouse and the keyboard, the arrows and the mouse moving
// between bar items while a menu is open, commands given once, odd menus, MDI buttons.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "core/bmp.h"
#include "skin/form/nc_objects.h"
#include "skin/form/skin_form.h"
#include "skin/menus/menu_bar.h"
#include "skin/menus/popup_window.h"
#include "skin/skin_data.h"
#include "skin/skin_manager.h"
#include "support/menu_capture.h"
#include "support/menu_skin.h"
#include "support/win_test_util.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/menus.h"

using namespace vrin;
using namespace vrin::test;

namespace {

SkinManager& manager() {
  static SkinData* data = [] {
    auto* s = new SkinData(nullptr);
    s->beginLoading();
    s->SetActive(true);
    s->ReadSkinStream(writeSkinStream(menuTestSkin()));
    s->endLoading();
    return s;
  }();
  (void)data;
  return *SkinManager::instance();
}

struct Clicks {
  int count = 0;
  void click(Component*) { ++count; }
};

MenuItem* add(Component* owner, MenuItem& parent, const std::string& caption, bool enabled = true) {
  auto* item = new MenuItem(owner);
  item->setCaption(caption);
  item->setEnabled(enabled);
  parent.add(item);
  return item;
}

// A form whose main menu has File, a disabled Off, Edit (a submenu, a disabled item), Rtl, Help.
struct MenuForm {
  Form* form = new Form(nullptr);
  MainMenu* menu = new MainMenu(form);
  Clicks clicks;

  explicit MenuForm(int width = 400) {
    if (application().mainForm() == form) application().setMainForm(nullptr);
    form->setBounds(200, 200, width, 250);
    MenuItem* file = add(form, menu->items(), "&File");
    add(form, *file, "&Open")->onClick = NotifyEvent::of<&Clicks::click>(&clicks);
    add(form, *file, "-");
    add(form, *add(form, menu->items(), "&Off", false), "Never shown");
    MenuItem* edit = add(form, menu->items(), "&Edit");
    add(form, *edit, "&Copy");
    add(form, *add(form, *edit, "&More"), "Deeper");
    add(form, *edit, "&Paste", false);
    add(form, *add(form, menu->items(), "&Rtl"), "Right to left");
    add(form, *add(form, menu->items(), "&Help"), "&About");
    form->setMenu(menu);
  }
  ~MenuForm() { delete form; }
  SkinForm* skinner() const { return manager().skinnedForm(form->handle()); }
  SkinMenuBar* bar() const { return skinner() ? skinner()->menuBar() : nullptr; }
  bool show() {
    manager();
    form->show();
    SetForegroundWindow(form->handle());
    const bool ok = pumpUntil([&] { return skinner() && skinner()->Phase == phApplied && skinner()->WindowActive; });
    pumpUntil([] { return false; }, 200);  // the first paints reach the screen
    return ok;
  }
  POINT centre(int index) const {
    RECT w{};
    GetWindowRect(form->handle(), &w);
    const Rect& b = bar()->item(index)->Bounds;
    return {w.left + (b.left + b.right) / 2, w.top + (b.top + b.bottom) / 2};
  }
};

HWND openMenuWindow() {
  HWND w = FindWindowW(L"#32768", nullptr);
  return w && IsWindowVisible(w) ? w : nullptr;
}
// A bar item's menu is open and its first item selected (by the key the tracking posted).
bool menuOpenAt(int index) { return TrackingIndex() == index && openMenuWindow() && menuTracker().CurrentItem().known; }
bool menuClosed() { return TrackingIndex() == -1 && !openMenuWindow(); }
bool always() { return true; }
// Holds once the screen shows `pixel` at `at()`, or after 3 s (the checks then tell what is
// wrong): the open menu's paints reach the screen a moment after it opened.
std::function<bool()> onScreen(std::function<POINT()> at, Pixel pixel) {
  auto start = std::make_shared<DWORD>(0);
  return [start, at, pixel] {
    if (!*start) *start = GetTickCount();
    const POINT p = at();
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return pixelFromColour(c) == pixel || GetTickCount() - *start >= 3000;
  };
}
POINT itemMiddle(HMENU menu, int position) {
  RECT r{};
  GetMenuItemRect(nullptr, menu, UINT(position), &r);
  return {r.left, (r.top + r.bottom) / 2};
}
void key(UINT code) { PostMessageW(openMenuWindow(), WM_KEYDOWN, code, 0); }

void mouse(POINT at, DWORD buttons) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = at.x * 65536 / GetSystemMetrics(SM_CXSCREEN) + 1;
  input.mi.dy = at.y * 65536 / GetSystemMetrics(SM_CYSCREEN) + 1;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &input, sizeof input);
}
void click(POINT at) {
  mouse(at, MOUSEEVENTF_LEFTDOWN);
  mouse(at, MOUSEEVENTF_LEFTUP);
}

// Steps run from a timer, so they run inside the menus' own loops too; each acts once its
// condition holds. True when all ran in time (a menu left open is closed then).
struct Script {
  struct State {
    std::vector<std::pair<std::function<bool()>, std::function<void()>>> steps;
    std::size_t next = 0;
    DWORD end = 0;
    std::function<void()> poll;
  };
  std::shared_ptr<State> s = std::make_shared<State>();
  Script& step(std::function<bool()> ready, std::function<void()> act) {
    s->steps.emplace_back(std::move(ready), std::move(act));
    return *this;
  }
  bool run(DWORD ms) {
    auto st = s;
    st->end = GetTickCount() + ms;
    st->poll = [st] {
      if (st->next == st->steps.size()) return;
      if (GetTickCount() > st->end) return void(EndMenu());
      if (st->steps[st->next].first()) st->steps[st->next++].second();
      runSoon(st->poll, 30);
    };
    runSoon(st->poll, 30);
    pumpUntil([&] { return st->next == st->steps.size(); }, ms + 1000);
    return st->next == st->steps.size();
  }
};

Image screenShot() { return captureWindow(GetDesktopWindow()); }

Image resourcePicture(const std::string& name) {
  const Bytes bytes = readFile(sourcePath("resources/skin/" + name));
  return decodeBmp(bytes.data(), bytes.size());
}

bool dark(Pixel p) { return ((p >> 16) & 0xFF) < 0x90 && ((p >> 8) & 0xFF) < 0x90 && (p & 0xFF) < 0x90; }

}  // namespace

TEST(SkinMenuBar, DrawnFromTheMenuBarPictureAClickOpensAnItemAndTheMouseMovesOn) {
  MenuForm f;
  ASSERT_TRUE(f.show());
  SkinForm& skinner = *f.skinner();
  SkinMenuBar* bar = f.bar();
  ASSERT_EQ(bar->ItemCount(), 5);
  EXPECT_EQ(GetMenu(f.form->handle()), nullptr);  // the system draws no bar of its own
  const BorderSizes nc = skinner.borders();
  RECT w{};
  GetWindowRect(f.form->handle(), &w);
  POINT client{0, 0};
  ClientToScreen(f.form->handle(), &client);
  EXPECT_EQ(client.y - w.top, nc.top + GetSystemMetrics(SM_CYMENU));
  // The first item starts 4 after the picture's left part (6); a cell is its caption + 10.
  EXPECT_EQ(bar->item(0)->Bounds.left, nc.left + 10);
  EXPECT_EQ(bar->item(0)->Bounds.width(), menuTextWidth("&File") + 10);
  EXPECT_EQ(bar->item(1)->Bounds.left, bar->item(0)->Bounds.right);
  // The bar answers HTMENU, so a press there never drags the window.
  const POINT onBar = f.centre(4);
  EXPECT_EQ(SendMessageW(f.form->handle(), WM_NCHITTEST, 0, MAKELPARAM(onBar.x + 60, onBar.y)), HTMENU);
  EXPECT_FALSE(menuFilterHookInstalled());

  Image shot;
  RECT popup{}, firstItem{};
  bool hookWhileOpen = false;
  Script script;
  script.step(always, [&] { click(f.centre(2)); })
      .step([] { return menuOpenAt(2); }, [] {})
      .step(onScreen([&] { return itemMiddle(f.bar()->item(2)->SubMenu, 0); }, kSelectedEdge),
            [&] {
              hookWhileOpen = menuFilterHookInstalled();
              GetWindowRect(openMenuWindow(), &popup);
              GetMenuItemRect(nullptr, f.bar()->item(2)->SubMenu, 0, &firstItem);
              shot = screenShot();
              mouse(f.centre(4), 0);  // onto Help: its menu replaces Edit's
            })
      .step([] { return menuOpenAt(4); }, [] { EndMenu(); })
      .step(menuClosed, [] {});
  ASSERT_TRUE(script.run(8000));
  EXPECT_TRUE(hookWhileOpen);
  EXPECT_FALSE(menuFilterHookInstalled());
  EXPECT_EQ(waitingPopup(), nullptr);
  const Bytes bmp = encodeBmp24(shot);
  CreateDirectoryA("Z:" VRIN_SOURCE_DIR "/build/artifacts", nullptr);
  std::ofstream("Z:" VRIN_SOURCE_DIR "/build/artifacts/menubar_open.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bmp.data()), std::streamsize(bmp.size()));

  // The bar: the active frame of the picture, top and bottom rows, right of the items.
  const Image picture = resourcePicture("menu.bmp");
  const int barTop = w.top + nc.top, barBottom = barTop + GetSystemMetrics(SM_CYMENU) - 1;
  EXPECT_EQ(shot.at(w.left + bar->item(4)->Bounds.right + 20, barTop), picture.at(8, 0));
  EXPECT_EQ(shot.at(w.left + bar->item(4)->Bounds.right + 20, barBottom), picture.at(8, 17));
  EXPECT_EQ(shot.at(w.left + nc.left, barBottom), picture.at(0, 17));
  // The open item is framed in the highlight colour; every caption sits in its own cell.
  const Rect edit = bar->item(2)->Bounds;
  const Pixel hilight = pixelFromColour(colorToRGB(skinner.skinData()->SkinColors().ButtonHilightColor));
  EXPECT_EQ(shot.at(w.left + edit.left, w.top + (edit.top + edit.bottom) / 2), hilight);
  EXPECT_EQ(shot.at(w.left + edit.right - 1, w.top + edit.top), hilight);
  for (int i : {0, 2, 4}) {
    const Rect cell = bar->item(i)->Bounds;
    int ink = 0;
    for (int y = cell.top + 1; y < cell.bottom - 1; ++y)
      for (int x = cell.left + 1; x < cell.right - 1; ++x) ink += dark(shot.at(w.left + x, w.top + y));
    EXPECT_GT(ink, 10) << i;
    EXPECT_FALSE(dark(shot.at(w.left + cell.right + 1, w.top + (cell.top + cell.bottom) / 2))) << i;
  }
  // The menu opens at the item's bottom-left, framed by MenuBackground, its first item selected.
  EXPECT_EQ(popup.left, w.left + edit.left);
  EXPECT_EQ(popup.top, w.top + edit.bottom);
  EXPECT_EQ(shot.at(popup.left + 1, popup.top + 1), kBackEdge);
  EXPECT_EQ(shot.at(firstItem.left, (firstItem.top + firstItem.bottom) / 2), kSelectedEdge);
  // Inactive, the bar shows the picture's second frame.
  SendMessageW(f.form->handle(), WM_NCACTIVATE, FALSE, 0);
  pumpUntil([] { return false; }, 100);
  EXPECT_EQ(screenShot().at(w.left + bar->item(4)->Bounds.right + 20, barTop), picture.at(8, 18));
}

TEST(SkinMenuBar, ArrowsMoveBetweenBarItemsWrappingAndReadingRightToLeftMenusTheOtherWay) {
  MenuForm f;
  ASSERT_TRUE(f.show());
  HMENU rtl = f.bar()->item(3)->SubMenu;
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(rtl, 0, TRUE, &info);
  info.fType |= MFT_RIGHTORDER;
  SetMenuItemInfoW(rtl, 0, TRUE, &info);
  std::vector<int> seen;
  bool disabledOpened = false;
  auto at = [&](int index, UINT next) {
    return [&seen, index, next] {
      seen.push_back(index);
      key(next);
    };
  };
  Script script;
  script.step(always, [&] { click(f.centre(2)); })
      .step([] { return menuOpenAt(2); }, at(2, VK_RIGHT))
      .step([] { return menuOpenAt(3); }, at(3, VK_LEFT))   // right to left: left goes on
      .step([] { return menuOpenAt(4); }, at(4, VK_RIGHT))  // after the last, the first
      .step([] { return menuOpenAt(0); }, at(0, VK_LEFT))   // before the first, the last
      .step([] { return menuOpenAt(4); }, at(4, VK_LEFT))
      .step([] { return menuOpenAt(3); }, at(3, VK_RIGHT))  // right to left: right goes back
      .step([] { return menuOpenAt(2); }, at(2, VK_DOWN))
      // Right on an item with sub-items opens them and stays on the bar item.
      .step([] { return menuTracker().CurrentItem().hasSubItems; }, [] { key(VK_RIGHT); })
      .step([] { return menuTracker().CurrentItem().known && !menuTracker().CurrentItem().inTrackedMenu; },
            [&] {
              seen.push_back(TrackingIndex());
              EndMenu();
            })
      .step(menuClosed, [&] { f.skinner()->pressMenuItem(*f.bar()->item(0)); })
      // Onto the disabled item: it is pressed but opens nothing, and the tracking ends.
      .step([] { return menuOpenAt(0); }, at(0, VK_RIGHT))
      .step([&] {
        disabledOpened = disabledOpened || (TrackingIndex() == 1 && openMenuWindow());
        return menuClosed() && !menuFilterHookInstalled();
      }, [] {});
  EXPECT_TRUE(script.run(15000));
  pumpUntil([&] { return disabledOpened = disabledOpened || openMenuWindow(); }, 300);
  EXPECT_EQ(seen, (std::vector<int>{2, 3, 4, 0, 4, 3, 2, 2, 0}));
  EXPECT_FALSE(disabledOpened);
  EXPECT_FALSE(f.skinner()->MenuTracking);
  EXPECT_EQ(f.clicks.count, 0);
}

TEST(SkinMenuBar, AcceleratorsOpenItemsAndCommandsArriveOnce) {
  MenuForm f;
  Clicks go;
  add(f.form, f.menu->items(), "&Go")->onClick = NotifyEvent::of<&Clicks::click>(&go);
  ASSERT_TRUE(f.show());
  HWND window = f.form->handle();
  Script script;
  // Alt+F through the keyboard menu command, Enter on the first item; a typed "e" opens Edit.
  script.step(always, [&] { PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 'f'); })
      .step([] { return menuOpenAt(0); }, [] { key(VK_RETURN); })
      .step(menuClosed, [&] { PostMessageW(window, WM_CHAR, 'e', 0); })
      .step([] { return menuOpenAt(2); }, [] { key(VK_ESCAPE); })
      // A bar item without a menu is a command of its own.
      .step(menuClosed, [&] { click(f.centre(5)); });
  ASSERT_TRUE(script.run(8000));
  pumpUntil([&] { return go.count > 0; }, 2000);
  pumpUntil([] { return false; }, 300);
  EXPECT_EQ(f.clicks.count, 1);
  EXPECT_EQ(go.count, 1);
  // A disabled item has no accelerator; Alt alone is swallowed, an unknown character passes.
  EXPECT_EQ(f.skinner()->itemForAccelerator(U'o'), nullptr);
  EXPECT_EQ(SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
  EXPECT_EQ(SendMessageW(window, CM_DIALOGCHAR, 'q', 0), 0);
}

TEST(SkinMenuBar, OddMenusNeitherCrashNorDangle) {
  {
    // No items: the bar stays empty and the menu stays on the window.
    MenuForm f;
    f.form->setMenu(new MainMenu(f.form));
    ASSERT_TRUE(f.show());
    EXPECT_EQ(f.bar()->ItemCount(), 0);
    EXPECT_NE(GetMenu(f.form->handle()), nullptr);
  }
  // A bar wider than the window, a caption of 1,000 characters, an owner-drawn item with
  // nothing behind it, and changes to the menu while the form is skinned.
  MenuForm f(120);
  add(f.form, f.menu->items(), std::string(1000, 'w'));
  ASSERT_TRUE(f.show());
  SkinMenuBar* bar = f.bar();
  ASSERT_EQ(bar->ItemCount(), 6);
  EXPECT_LE(bar->item(5)->Caption.size(), 80u);
  RECT w{};
  GetWindowRect(f.form->handle(), &w);
  for (const auto& item : bar->Items()) EXPECT_LE(item->Bounds.right, w.right - w.left);
  EXPECT_EQ(bar->itemAt(w.right - w.left - 1, bar->BarRect.top + 2), nullptr);
  HMENU file = bar->item(0)->SubMenu;
  AppendMenuW(file, MF_OWNERDRAW, 0x7FF0, nullptr);
  Image shot;
  RECT raw{};
  Script script;
  script.step(always, [&] { f.skinner()->pressMenuItem(*f.bar()->item(0)); })
      .step([] { return menuOpenAt(0); }, [] {})
      .step(onScreen([&] { return itemMiddle(file, 2); }, kItemEdge),
            [&] {
              GetMenuItemRect(nullptr, file, 2, &raw);
              shot = screenShot();
              EndMenu();
            })
      .step(menuClosed, [] {});
  ASSERT_TRUE(script.run(8000));
  EXPECT_EQ(waitingPopup(), nullptr);
  // Nothing stands behind the item: it is read from the menu and drawn with the MenuItem frames.
  ASSERT_GT(raw.bottom, raw.top);
  EXPECT_EQ(shot.at(raw.left, (raw.top + raw.bottom) / 2), kItemEdge);

  // A change to the menu rebuilds the bar; detaching gives the window its menu back.
  add(f.form, f.menu->items(), "&Last");
  EXPECT_EQ(f.bar()->ItemCount(), 7);
  EXPECT_EQ(GetMenu(f.form->handle()), nullptr);
  manager().releaseForm(f.form->handle());
  EXPECT_EQ(GetMenu(f.form->handle()), f.menu->handle());
  EXPECT_EQ(TrackingForm(), nullptr);
  // Skinned again, then the form drops its main menu: the bar goes with it.
  ASSERT_TRUE(manager().skinWindow(f.form->handle()));
  ASSERT_TRUE(f.show());
  EXPECT_EQ(f.bar()->ItemCount(), 7);
  f.form->setMenu(nullptr);
  EXPECT_EQ(f.bar()->ItemCount(), 0);
  EXPECT_EQ(f.skinner()->menuBarHeight(), 0);
}

namespace {
HWND mdiClient = nullptr;
LRESULT CALLBACK mdiFrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CREATE) {
    CLIENTCREATESTRUCT ccs{nullptr, 1000};
    mdiClient = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd, nullptr,
                                moduleInstance(), &ccs);
  }
  return DefFrameProcW(hwnd, mdiClient, msg, wp, lp);
}
}  // namespace

TEST(SkinMenuBar, AMaximisedMdiChildPutsItsButtonsInTheFramesBar) {
  manager();
  WNDCLASSW frame{};
  frame.lpfnWndProc = mdiFrameProc;
  frame.hInstance = moduleInstance();
  frame.lpszClassName = L"VrinBarMdiFrame";
  RegisterClassW(&frame);
  WNDCLASSW child = frame;
  child.lpfnWndProc = DefMDIChildProcW;
  child.lpszClassName = L"VrinBarMdiChild";
  RegisterClassW(&child);
  HMENU menu = CreateMenu(), sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 1, L"&Tile");
  AppendMenuW(menu, MF_POPUP, UINT_PTR(sub), L"&Window");
  HWND f = CreateWindowExW(0, frame.lpszClassName, L"Frame", WS_OVERLAPPEDWINDOW, 100, 100, 500, 360, nullptr, menu,
                           moduleInstance(), nullptr);
  ShowWindow(f, SW_SHOW);
  SetForegroundWindow(f);
  ASSERT_TRUE(pumpUntil([&] { return manager().skinnedForm(f) && manager().skinnedForm(f)->Phase == phApplied; }));
  SkinForm& skinner = *manager().skinnedForm(f);
  ASSERT_EQ(skinner.menuBar()->ItemCount(), 1);
  MDICREATESTRUCTW mcs{child.lpszClassName, L"Child", moduleInstance(), 0, 0, 200, 150, WS_OVERLAPPEDWINDOW, 0};
  HWND c = reinterpret_cast<HWND>(SendMessageW(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  SendMessageW(mdiClient, WM_MDIMAXIMIZE, WPARAM(c), 0);
  RedrawWindow(f, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  pumpUntil([] { return false; }, 300);
  ASSERT_TRUE(manager().mdiMaximized());

  // Each button shows frame 1 of its part of the MDI picture (4 frames each), frame 4 when hot.
  const Image picture = resourcePicture("mac-mdi.bmp");
  const int a = picture.width / 12;
  RECT w{};
  GetWindowRect(f, &w);
  auto mismatches = [&](const SkinTitleButton& b, int frame) {
    const Image shot = screenShot();
    int wrong = 0, compared = 0;
    for (int y = 0; y < b.Bounds.height(); ++y)
      for (int x = 0; x < b.Bounds.width(); ++x) {
        const Pixel want = picture.at(4 * a * (b.Data->Action - 7) + a * (frame - 1) + x, y);
        if ((want & 0xFFFFFF) == kKeyColour) continue;
        ++compared;
        wrong += shot.at(w.left + b.Bounds.left + x, w.top + b.Bounds.top + y) != want;
      }
    return compared > 20 ? wrong : -1;
  };
  std::vector<SkinTitleButton*> buttons;
  for (const auto& b : skinner.titleButtons())
    if (b->Data->Visibility == 100) buttons.push_back(b.get());
  ASSERT_EQ(buttons.size(), 3u);
  for (SkinTitleButton* b : buttons) {
    EXPECT_GE(b->Bounds.top, skinner.borders().top);
    EXPECT_LE(b->Bounds.bottom, skinner.borders().top + skinner.menuBarHeight());
    EXPECT_EQ(mismatches(*b, 1), 0) << b->Data->Action;
  }
  const POINT hot{w.left + buttons[0]->Bounds.left + 2, w.top + buttons[0]->Bounds.top + 2};
  SetCursorPos(hot.x, hot.y);
  SendMessageW(f, WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(hot.x, hot.y));
  pumpUntil([] { return false; }, 100);
  EXPECT_EQ(mismatches(*buttons[0], 4), 0);
  DestroyWindow(f);
  EXPECT_EQ(manager().skinnedForm(f), nullptr);
}
