// The menu bar of a skinned form: drawn by the skin in the non-client area from its MenuBar
// picture, its items opened by the mouse and the keyboard, the arrow keys moving between bar
// items while a menu is open, commands given once, and menus that are odd in every way.
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

struct Clicks {
  int count = 0;
  void click(Component*) { ++count; }
};

MenuItem* addItem(Component* owner, MenuItem& parent, const std::string& caption) {
  auto* item = new MenuItem(owner);
  item->setCaption(caption);
  parent.add(item);
  return item;
}

// A form with a main menu: File, a disabled Off, Edit (a submenu, a disabled item), Rtl and Help.
struct MenuForm {
  Form* form = nullptr;
  MainMenu* menu = nullptr;
  MenuItem* open = nullptr;
  Clicks clicks;

  explicit MenuForm(int width = 400) {
    testSkin();
    form = new Form(nullptr);
    if (application().mainForm() == form) application().setMainForm(nullptr);
    form->setCaption("Menu bar");
    form->setBounds(200, 200, width, 250);
    menu = new MainMenu(form);
    MenuItem* file = addItem(form, menu->items(), "&File");
    open = addItem(form, *file, "&Open");
    open->onClick = NotifyEvent::of<&Clicks::click>(&clicks);
    addItem(form, *file, "-");
    addItem(form, *file, "E&xit");
    MenuItem* off = addItem(form, menu->items(), "&Off");
    addItem(form, *off, "Never shown");
    off->setEnabled(false);
    MenuItem* edit = addItem(form, menu->items(), "&Edit");
    addItem(form, *edit, "&Copy");
    MenuItem* more = addItem(form, *edit, "&More");
    addItem(form, *more, "Deeper");
    addItem(form, *edit, "&Paste")->setEnabled(false);
    MenuItem* rtl = addItem(form, menu->items(), "&Rtl");
    addItem(form, *rtl, "Right to left");
    addItem(form, *rtl, "Second");
    MenuItem* help = addItem(form, menu->items(), "&Help");
    addItem(form, *help, "&About");
    form->setMenu(menu);
  }
  ~MenuForm() { delete form; }

  SkinForm* skinner() const { return manager().skinnedForm(form->handle()); }
  SkinMenuBar* bar() const { return skinner() ? skinner()->menuBar() : nullptr; }

  bool show() {
    form->show();
    SetForegroundWindow(form->handle());
    const bool skinned =
        pumpUntil([&] { return skinner() && skinner()->Phase == phApplied && skinner()->WindowActive; }, 3000);
    pumpUntil([] { return false; }, 200);  // the first paints
    return skinned;
  }

  // An item's centre on the screen.
  POINT itemCentre(int index) const {
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

// A bar item's menu is open and its first item is selected (the tracking posted the key).
bool menuOpenAt(int index) {
  return TrackingIndex() == index && openMenuWindow() && menuTracker().CurrentItem().known;
}

void key(UINT code) { PostMessageW(openMenuWindow(), WM_KEYDOWN, code, 0); }

void click(POINT at) {
  SetCursorPos(at.x, at.y);
  INPUT input[2]{};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
}

// Steps run from a timer, so they run inside the menus' own loops too: each waits for its
// condition, then acts. True when every step ran in time; a menu left open is closed.
class Script {
 public:
  Script& step(std::function<bool()> ready, std::function<void()> act) {
    state_->steps.push_back({std::move(ready), std::move(act)});
    return *this;
  }
  bool run(DWORD timeoutMs) {
    auto state = state_;
    state->deadline = GetTickCount() + timeoutMs;
    state->poll = [state] {
      if (state->next >= state->steps.size()) return;
      if (GetTickCount() > state->deadline) {
        state->timedOut = true;
        EndMenu();
        return;
      }
      if (state->steps[state->next].ready()) state->steps[state->next++].act();
      runSoon(state->poll, 30);
    };
    runSoon(state->poll, 30);
    pumpUntil([&] { return state->next >= state->steps.size() || state->timedOut; }, timeoutMs + 2000);
    return state->next >= state->steps.size();
  }
  std::size_t stepsRun() const { return state_->next; }

 private:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
  };
  struct State {
    std::vector<Step> steps;
    std::size_t next = 0;
    DWORD deadline = 0;
    bool timedOut = false;
    std::function<void()> poll;
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

Image screenShot() { return captureWindow(GetDesktopWindow()); }

void saveShot(const Image& shot, const std::string& name) {
  CreateDirectoryA("Z:" VRIN_SOURCE_DIR "/build/artifacts", nullptr);
  const Bytes bytes = encodeBmp24(shot);
  std::ofstream("Z:" VRIN_SOURCE_DIR "/build/artifacts/" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Image menuBarPicture() {
  const Bytes bytes = readFile(sourcePath("resources/skin/menu.bmp"));
  return decodeBmp(bytes.data(), bytes.size());
}

bool dark(Pixel p) { return ((p >> 16) & 0xFF) < 0x90 && ((p >> 8) & 0xFF) < 0x90 && (p & 0xFF) < 0x90; }

}  // namespace

TEST(SkinMenuBar, TheBarIsDrawnFromTheMenuBarPictureAndAClickOpensItsMenu) {
  MenuForm f;
  ASSERT_TRUE(f.show());
  SkinForm& skinner = *f.skinner();
  SkinMenuBar* bar = f.bar();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->ItemCount(), 5);
  EXPECT_EQ(GetMenu(f.form->handle()), nullptr);  // the system draws no bar of its own
  EXPECT_EQ(skinner.menuBarHeight(), GetSystemMetrics(SM_CYMENU));
  const BorderSizes nc = skinner.borders();
  RECT w{};
  GetWindowRect(f.form->handle(), &w);
  POINT client{0, 0};
  ClientToScreen(f.form->handle(), &client);
  EXPECT_EQ(client.y - w.top, nc.top + skinner.menuBarHeight());
  // The first item starts 4 after the picture's left part (6); a cell is its caption + 10.
  EXPECT_EQ(bar->item(0)->Bounds.left, nc.left + 10);
  EXPECT_EQ(bar->item(0)->Bounds.width(), menuTextWidth("&File") + 10);
  EXPECT_EQ(bar->item(1)->Bounds.left, bar->item(0)->Bounds.right);
  EXPECT_FALSE(bar->item(1)->Enabled);
  EXPECT_FALSE(menuFilterHookInstalled());
  // The hit test answers HTMENU on the bar, so a press there never drags the window.
  const POINT onBar = f.itemCentre(4);
  EXPECT_EQ(SendMessageW(f.form->handle(), WM_NCHITTEST, 0, MAKELPARAM(onBar.x + 60, onBar.y)), HTMENU);

  const Image picture = menuBarPicture();
  ASSERT_EQ(picture.width, 15);
  const Pixel hilight = pixelFromColour(colorToRGB(testSkin().SkinColors().ButtonHilightColor));
  Image shot;
  RECT popup{}, firstItem{};
  bool hookWhileOpen = false;
  Script script;
  script.step([] { return true; }, [&] { click(f.itemCentre(2)); })
      .step([] { return menuOpenAt(2); },
            [&] {
              hookWhileOpen = menuFilterHookInstalled();
              UpdateWindow(openMenuWindow());
              GetWindowRect(openMenuWindow(), &popup);
              GetMenuItemRect(nullptr, f.bar()->item(2)->SubMenu, 0, &firstItem);
              shot = screenShot();
              EndMenu();
            })
      .step([] { return TrackingIndex() == -1 && !openMenuWindow(); }, [] {});
  ASSERT_TRUE(script.run(8000)) << script.stepsRun();
  EXPECT_TRUE(hookWhileOpen);
  EXPECT_FALSE(menuFilterHookInstalled());
  EXPECT_EQ(waitingPopup(), nullptr);
  saveShot(shot, "menubar_open.bmp");

  // The bar: the active frame of the picture, its top and bottom rows, right of the items.
  const int barTop = w.top + nc.top, barBottom = barTop + skinner.menuBarHeight() - 1;
  const int pastItems = w.left + bar->item(4)->Bounds.right + 20;
  EXPECT_EQ(shot.at(pastItems, barTop), picture.at(8, 0));
  EXPECT_EQ(shot.at(pastItems, barBottom), picture.at(8, 17));
  EXPECT_EQ(shot.at(w.left + nc.left, barBottom), picture.at(0, 17));
  // The pressed item is framed in the highlight colour, and its caption is drawn.
  const Rect edit = bar->item(2)->Bounds;
  EXPECT_EQ(shot.at(w.left + edit.left, w.top + (edit.top + edit.bottom) / 2), hilight);
  EXPECT_EQ(shot.at(w.left + edit.right - 1, w.top + edit.top), hilight);
  // Every caption sits in its own cell; the open item's is drawn again over its frame.
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
  ASSERT_GT(firstItem.bottom, firstItem.top);
  EXPECT_EQ(shot.at(firstItem.left, (firstItem.top + firstItem.bottom) / 2), kSelectedEdge);
}

TEST(SkinMenuBar, ArrowsMoveBetweenBarItemsWrappingAndReadingRightToLeftMenusTheOtherWay) {
  MenuForm f;
  ASSERT_TRUE(f.show());
  // The Rtl item's menu reads right to left.
  HMENU rtl = f.bar()->item(3)->SubMenu;
  for (int i = 0; i < GetMenuItemCount(rtl); ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(rtl, UINT(i), TRUE, &info);
    info.fType |= MFT_RIGHTORDER;
    SetMenuItemInfoW(rtl, UINT(i), TRUE, &info);
  }
  std::vector<int> seen;
  bool sawDisabled = false;
  Script script;
  script.step([] { return true; }, [&] { click(f.itemCentre(2)); })
      .step([] { return menuOpenAt(2); }, [&] { seen.push_back(2); key(VK_RIGHT); })
      // Left in a right-to-left menu goes on to the next item.
      .step([] { return menuOpenAt(3); }, [&] { seen.push_back(3); key(VK_LEFT); })
      // After the last item comes the first.
      .step([] { return menuOpenAt(4); }, [&] { seen.push_back(4); key(VK_RIGHT); })
      .step([] { return menuOpenAt(0); }, [&] { seen.push_back(0); key(VK_LEFT); })
      // Before the first comes the last.
      .step([] { return menuOpenAt(4); }, [&] { seen.push_back(4); key(VK_LEFT); })
      // Right in a right-to-left menu goes back.
      .step([] { return menuOpenAt(3); }, [&] { seen.push_back(3); key(VK_RIGHT); })
      // Right on an item with sub-items opens them and stays on the bar item.
      .step([] { return menuOpenAt(2); }, [&] { seen.push_back(2); key(VK_DOWN); })
      .step([] { return menuTracker().CurrentItem().hasSubItems; }, [&] { key(VK_RIGHT); })
      .step([] { return menuTracker().CurrentItem().known && !menuTracker().CurrentItem().inTrackedMenu; },
            [&] {
              seen.push_back(TrackingIndex());
              EndMenu();
            })
      .step([] { return TrackingIndex() == -1 && !openMenuWindow(); },
            [&] { f.skinner()->pressMenuItem(*f.bar()->item(0)); })
      // The disabled item is pressed but opens nothing: the tracking ends.
      .step([] { return menuOpenAt(0); }, [&] { seen.push_back(0); key(VK_RIGHT); })
      .step(
          [&] {
            sawDisabled = sawDisabled || (TrackingIndex() == 1 && openMenuWindow());
            return TrackingIndex() == -1 && !openMenuWindow() && !menuFilterHookInstalled();
          },
          [] {});
  EXPECT_TRUE(script.run(15000)) << script.stepsRun();
  EXPECT_EQ(seen, (std::vector<int>{2, 3, 4, 0, 4, 3, 2, 2, 0}));
  pumpUntil([&] {
    sawDisabled = sawDisabled || openMenuWindow();
    return false;
  }, 300);
  EXPECT_FALSE(sawDisabled);
  EXPECT_FALSE(f.skinner()->MenuTracking);
  EXPECT_EQ(f.clicks.count, 0);
}

TEST(SkinMenuBar, AcceleratorsOpenItemsAndEnterGivesTheCommandOnce) {
  MenuForm f;
  ASSERT_TRUE(f.show());
  HWND window = f.form->handle();
  Script script;
  // Alt+F through the keyboard menu command, then Enter on the first item.
  script.step([] { return true; }, [&] { PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 'f'); })
      .step([] { return menuOpenAt(0); }, [] { key(VK_RETURN); })
      .step([] { return TrackingIndex() == -1 && !openMenuWindow(); }, [] {})
      // A typed accelerator reaches the form as a dialog character.
      .step([] { return true; }, [&] { PostMessageW(window, WM_CHAR, 'e', 0); })
      .step([] { return menuOpenAt(2); }, [] { key(VK_ESCAPE); })
      .step([] { return TrackingIndex() == -1 && !openMenuWindow(); }, [] {});
  ASSERT_TRUE(script.run(8000)) << script.stepsRun();
  pumpUntil([] { return false; }, 300);
  EXPECT_EQ(f.clicks.count, 1);
  // A disabled item's accelerator is no accelerator; Alt alone and unknown keys are swallowed.
  EXPECT_EQ(f.skinner()->itemForAccelerator(U'o'), nullptr);
  EXPECT_EQ(SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
  EXPECT_EQ(SendMessageW(window, CM_DIALOGCHAR, 'q', 0), 0);
}

TEST(SkinMenuBar, OddMenusNeitherCrashNorDangle) {
  // No items: the bar stays empty and the menu stays on the window.
  {
    MenuForm f;
    f.form->setMenu(nullptr);
    auto* empty = new MainMenu(f.form);
    f.form->setMenu(empty);
    ASSERT_TRUE(f.show());
    ASSERT_NE(f.bar(), nullptr);
    EXPECT_EQ(f.bar()->ItemCount(), 0);
    EXPECT_EQ(f.bar()->itemAt(20, 30), nullptr);
    SendMessageW(f.form->handle(), WM_NCPAINT, 1, 0);
  }
  // A bar wider than the window, a caption of 1,000 characters, an owner-drawn item nobody
  // stands behind, and the menu changed and rebuilt while the form is skinned.
  MenuForm f(120);
  addItem(f.form, f.menu->items(), std::string(1000, 'w'));
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
  RECT popup{}, raw{};
  Script script;
  script.step([] { return true; }, [&] { f.skinner()->pressMenuItem(*f.bar()->item(0)); })
      .step([] { return menuOpenAt(0); },
            [&] {
              HWND m = openMenuWindow();
              UpdateWindow(m);
              GetWindowRect(m, &popup);
              GetMenuItemRect(nullptr, file, 3, &raw);
              shot = screenShot();
              EndMenu();
            })
      .step([] { return TrackingIndex() == -1 && !openMenuWindow(); }, [] {});
  ASSERT_TRUE(script.run(8000)) << script.stepsRun();
  EXPECT_EQ(waitingPopup(), nullptr);
  // The item nobody stands behind is drawn from the menu itself, with the MenuItem frames.
  ASSERT_GT(raw.bottom, raw.top);
  EXPECT_EQ(shot.at(raw.left, (raw.top + raw.bottom) / 2), kItemEdge);

  // A change to the menu rebuilds the bar; detaching gives the window its menu back.
  f.open->setCaption("&Open again");
  addItem(f.form, f.menu->items(), "&Last");
  ASSERT_NE(f.bar(), nullptr);
  EXPECT_EQ(f.bar()->ItemCount(), 7);
  EXPECT_EQ(GetMenu(f.form->handle()), nullptr);
  manager().releaseForm(f.form->handle());
  EXPECT_EQ(GetMenu(f.form->handle()), f.menu->handle());
  EXPECT_EQ(TrackingForm(), nullptr);
}

namespace {

LRESULT CALLBACK mdiFrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  static HWND client = nullptr;
  if (msg == WM_CREATE) {
    CLIENTCREATESTRUCT ccs{nullptr, 1000};
    client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 0, hwnd,
                             nullptr, moduleInstance(), &ccs);
  }
  return DefFrameProcW(hwnd, client, msg, wp, lp);
}

LRESULT CALLBACK mdiChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefMDIChildProcW(hwnd, msg, wp, lp); }

// Pixels of the window that differ from frame `frame` (of 4) of MDI button `button` in the
// skin's MDI picture, at the button's place; its key-coloured pixels are not compared.
int mdiButtonMismatches(const Image& shot, POINT origin, const Rect& bounds, int button, int frame, int* compared) {
  const Bytes bytes = readFile(sourcePath("resources/skin/mac-mdi.bmp"));
  const Image picture = decodeBmp(bytes.data(), bytes.size());
  const int a = picture.width / 12;
  int mismatches = 0;
  *compared = 0;
  for (int y = 0; y < bounds.height(); ++y)
    for (int x = 0; x < bounds.width(); ++x) {
      const Pixel want = picture.at(4 * a * button + a * (frame - 1) + x, y);
      if ((want & 0xFFFFFF) == kKeyColour) continue;
      ++*compared;
      mismatches += shot.at(origin.x + bounds.left + x, origin.y + bounds.top + y) != want;
    }
  return mismatches;
}

}  // namespace

TEST(SkinMenuBar, AMaximisedMdiChildPutsItsButtonsInTheFramesBar) {
  testSkin();
  WNDCLASSW frame{};
  frame.lpfnWndProc = mdiFrameProc;
  frame.hInstance = moduleInstance();
  frame.lpszClassName = L"VrinBarMdiFrame";
  frame.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  RegisterClassW(&frame);
  WNDCLASSW child = frame;
  child.lpfnWndProc = mdiChildProc;
  child.lpszClassName = L"VrinBarMdiChild";
  RegisterClassW(&child);
  HMENU menu = CreateMenu(), window = CreatePopupMenu();
  AppendMenuW(window, MF_STRING, 1, L"&Tile");
  AppendMenuW(menu, MF_POPUP, UINT_PTR(window), L"&Window");
  HWND f = CreateWindowExW(0, L"VrinBarMdiFrame", L"Frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100, 100, 500,
                           360, nullptr, menu, moduleInstance(), nullptr);
  ShowWindow(f, SW_SHOW);
  SetForegroundWindow(f);
  ASSERT_TRUE(pumpUntil([&] { return manager().skinnedForm(f) && manager().skinnedForm(f)->Phase == phApplied; }));
  SkinForm& skinner = *manager().skinnedForm(f);
  ASSERT_NE(skinner.menuBar(), nullptr);
  EXPECT_EQ(skinner.menuBar()->ItemCount(), 1);
  HWND client = FindWindowExW(f, nullptr, L"MDIClient", nullptr);
  MDICREATESTRUCTW mcs{L"VrinBarMdiChild", L"Child", moduleInstance(), 0, 0, 200, 150, WS_OVERLAPPEDWINDOW, 0};
  HWND c = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(manager().skinnedForm(c) ? manager().skinnedForm(c)->menuBar() : nullptr, nullptr);
  SendMessageW(client, WM_MDIMAXIMIZE, WPARAM(c), 0);
  RedrawWindow(f, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  pumpUntil([] { return false; }, 300);
  ASSERT_TRUE(manager().mdiMaximized());

  RECT w{};
  GetWindowRect(f, &w);
  const POINT origin{w.left, w.top};
  std::vector<SkinTitleButton*> mdiButtons;
  for (const auto& b : skinner.titleButtons())
    if (b->Data->Visibility == 100) mdiButtons.push_back(b.get());
  ASSERT_EQ(mdiButtons.size(), 3u);
  Image shot = screenShot();
  for (int i = 0; i < 3; ++i) {
    const Rect& b = mdiButtons[std::size_t(i)]->Bounds;
    EXPECT_GE(b.top, skinner.borders().top) << i;
    EXPECT_LE(b.bottom, skinner.borders().top + skinner.menuBarHeight()) << i;
    int compared = 0;
    EXPECT_EQ(mdiButtonMismatches(shot, origin, b, mdiButtons[std::size_t(i)]->Data->Action - 7, 1, &compared), 0)
        << i;
    EXPECT_GT(compared, 20) << i;
  }
  // Under the mouse a button shows its hot frame, drawn over the bar.
  const Rect& first = mdiButtons[0]->Bounds;
  SetCursorPos(w.left + first.left + 2, w.top + first.top + 2);
  SendMessageW(f, WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(w.left + first.left + 2, w.top + first.top + 2));
  pumpUntil([] { return false; }, 100);  // the window's surface reaches the screen
  shot = screenShot();
  int compared = 0;
  EXPECT_EQ(mdiButtonMismatches(shot, origin, first, mdiButtons[0]->Data->Action - 7, 4, &compared), 0);
  SendMessageW(client, WM_MDIDESTROY, WPARAM(c), 0);
  DestroyWindow(f);
  EXPECT_EQ(manager().skinnedForm(f), nullptr);
}
