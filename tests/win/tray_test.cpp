// The tray icon against Wine's shell: add, modify, remove, mouse reports, the menu, folding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/component_state.h"
#include "state/registry_store.h"
#include "support/win_test_util.h"
#include "tray/tray_icon.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/imagelist.h"
#include "ui/menus.h"
#include "ui/registry.h"
#include "ui/stdctrls.h"

using namespace vrin;
using vrin::test::pumpUntil;
using vrin::test::runSoon;

namespace {

struct Recorder {
  std::vector<std::string> events;
  void click(Component*) { events.push_back("click"); }
  void dblClick(Component*) { events.push_back("dblclick"); }
  void down(Component*, TrayButton b, unsigned, int, int) { events.push_back("down" + std::to_string(int(b))); }
  void up(Component*, TrayButton b, unsigned, int, int) { events.push_back("up" + std::to_string(int(b))); }
  void item(Component*) { events.push_back("item"); }
  void popup(Component*) { events.push_back("menu"); }
};

class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new Form(nullptr);
    form->handle();
    images = new ImageList(form, 16, 16);
    images->addStrip("IMAGELIST", RGB(255, 0, 255));
    tray = new TrayIcon(form);
    tray->beginLoading();
    tray->SetIconList(images);
    tray->SetHint("Vrin");
    tray->SetShowHint(true);
    tray->onClick = NotifyEvent::of<&Recorder::click>(&rec);
    tray->onDblClick = NotifyEvent::of<&Recorder::dblClick>(&rec);
    tray->onMouseDown = TrayMouseEvent::of<&Recorder::down>(&rec);
    tray->onMouseUp = TrayMouseEvent::of<&Recorder::up>(&rec);
  }
  void TearDown() override { delete form; }
  void report(UINT mouse) { SendMessageW(tray->messageWindow(), 0x0800, 1, mouse); }

  Form* form = nullptr;
  ImageList* images = nullptr;
  TrayIcon* tray = nullptr;
  Recorder rec;
};

}  // namespace

TEST_F(TrayTest, TheShellAddsModifiesAndRemovesTheIcon) {
  EXPECT_FALSE(tray->UpdateTray());  // not in the tray until loading completes
  tray->endLoading();
  EXPECT_TRUE(tray->iconVisible());
  EXPECT_TRUE(tray->UpdateTray());
  tray->SetIconIndex(1);
  EXPECT_EQ(tray->iconIndex(), 1);
  EXPECT_TRUE(tray->UpdateTray());
  EXPECT_TRUE(tray->RemoveFromTray());
  EXPECT_FALSE(tray->UpdateTray());
  EXPECT_FALSE(tray->RemoveFromTray());
  EXPECT_TRUE(tray->AddToTray());
  // Setting the list again resets the index.
  tray->SetIconList(images);
  EXPECT_EQ(tray->iconIndex(), 0);
}

TEST_F(TrayTest, ClickAndDoubleClickAreToldApartByThePendingClick) {
  tray->endLoading();
  report(WM_LBUTTONDOWN);
  report(WM_LBUTTONUP);
  report(WM_LBUTTONDBLCLK);
  report(WM_LBUTTONUP);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"down0", "click", "up0", "dblclick", "up0"}));

  rec.events.clear();
  tray->setEnabled(false);
  report(WM_LBUTTONDOWN);
  report(WM_LBUTTONUP);
  report(WM_RBUTTONDOWN);
  EXPECT_TRUE(rec.events.empty());
}

TEST_F(TrayTest, ARightPressShowsTheMenuAndADoubleClickTakesTheDefaultItem) {
  auto* menu = new PopupMenu(form);
  auto* first = new MenuItem(form);
  first->setCaption("First");
  auto* second = new MenuItem(form);
  second->setCaption("Second");
  second->onClick = NotifyEvent::of<&Recorder::item>(&rec);
  menu->items().add(first);
  menu->items().add(second);
  menu->onPopup = NotifyEvent::of<&Recorder::popup>(&rec);
  tray->setPopupMenu(menu);
  tray->endLoading();

  runSoon([] { EndMenu(); }, 300);
  report(WM_RBUTTONDOWN);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"down1", "menu"}));
  EXPECT_EQ(menu->popupComponent, tray);

  rec.events.clear();
  second->setDefault(true);
  report(WM_LBUTTONDBLCLK);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"dblclick", "item"}));

  // A menu that does not pop up by itself is left to its owner's code.
  rec.events.clear();
  menu->autoPopup = false;
  report(WM_RBUTTONDOWN);
  report(WM_LBUTTONDBLCLK);
  tray->ShowMenuAtCursor();
  EXPECT_EQ(rec.events, (std::vector<std::string>{"down1", "dblclick"}));
  menu->autoPopup = true;

  // The menu going away leaves no dangling reference.
  delete menu;
  EXPECT_EQ(tray->popupMenu(), nullptr);
  rec.events.clear();
  report(WM_RBUTTONDOWN);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"down1"}));
}

TEST_F(TrayTest, StartMinimizedHidesTheApplicationAndMinimizingFoldsIntoTheTray) {
  tray->setStartMinimized(true);
  tray->setMinimizeToTray(true);
  tray->endLoading();
  EXPECT_FALSE(application().showMainForm);
  EXPECT_FALSE(IsWindowVisible(application().handle()));

  form->show();
  EXPECT_TRUE(IsWindowVisible(form->handle()));
  application().setMainForm(form);
  SendMessageW(application().handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(pumpUntil([&] { return !IsWindowVisible(form->handle()); }, 3000));
  EXPECT_FALSE(IsWindowVisible(application().handle()));
  EXPECT_TRUE(tray->UpdateTray());
  application().setMainForm(nullptr);
}

TEST_F(TrayTest, TheIconComesBackWhenTheTaskbarIsMadeAgain) {
  tray->endLoading();
  tray->SetIconIndex(1);
  tray->SetHint("Vrin enable");
  // The shell forgets every icon when it restarts, then broadcasts "TaskbarCreated".
  NOTIFYICONDATAA gone = tray->trayRecord();
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
  EXPECT_FALSE(tray->UpdateTray());
  const UINT created = RegisterWindowMessageA("TaskbarCreated");
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(HWND_BROADCAST, created, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  EXPECT_TRUE(tray->UpdateTray());
  EXPECT_EQ(std::string(tray->trayRecord().szTip), "Vrin enable");
  EXPECT_EQ(tray->trayRecord().hIcon, tray->icon().handle());
  EXPECT_EQ(tray->iconIndex(), 1);

  // An icon taken out on purpose stays out.
  tray->SetIconVisible(false);
  SendMessageTimeoutW(HWND_BROADCAST, created, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  EXPECT_FALSE(tray->UpdateTray());
}

TEST_F(TrayTest, MovingTheOwnerGivesTheFocusBackToItsActiveControl) {
  auto* list = new ListBox(form);
  list->setParent(form);
  list->setBounds(0, 0, 100, 100);
  auto* other = new ListBox(form);
  other->setParent(form);
  other->setBounds(0, 100, 100, 100);
  tray->endLoading();
  form->show();
  SetForegroundWindow(form->handle());
  pumpUntil([&] { return GetActiveWindow() == form->handle(); }, 3000);
  ASSERT_EQ(GetActiveWindow(), form->handle());

  SetFocus(list->handle());
  // The window system puts the focus on the form itself, as when the form is activated again.
  SetFocus(form->handle());
  EXPECT_EQ(GetFocus(), form->handle());
  SetWindowPos(form->handle(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(GetFocus(), list->handle());

  // The control last focused is the active one; a control that went away is forgotten.
  SetFocus(other->handle());
  SetFocus(form->handle());
  SetWindowPos(form->handle(), nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(GetFocus(), other->handle());
  SetFocus(form->handle());
  delete other;
  SetWindowPos(form->handle(), nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(GetFocus(), form->handle());
  form->hide();
}

TEST_F(TrayTest, TheSettingsStoreReachesEveryPublishedSettingByName) {
  const std::string key = "VrinTrayTest" + std::to_string(GetCurrentProcessId());
  form->setName("Form1");
  tray->setName("PlaceTray1");
  auto* store = new RegistryStore(form);
  store->setKeyName(key);
  auto* state = new ComponentState(form);
  state->setStorage(store);
  state->setSection("TForm1");
  state->setStoredProperties({"PlaceTray1.LeftPopup", "PlaceTray1.CycleInterval", "PlaceTray1.DesignPreview",
                              "PlaceTray1.PopupMenu", "PlaceTray1.OnClick"});
  for (Component* c : {static_cast<Component*>(store), static_cast<Component*>(state)}) {
    c->beginLoading();
    c->endLoading();
  }
  tray->leftPopup = true;
  tray->SetCycleInterval(750);
  state->restoreState();
  state->saveState();
  Registry reg;
  ASSERT_TRUE(reg.openKeyReadOnly(key + "\\TForm1"));
  EXPECT_EQ(reg.readString("PlaceTray1.LeftPopup"), "True");
  EXPECT_EQ(reg.readString("PlaceTray1.CycleInterval"), "750");
  EXPECT_EQ(reg.readString("PlaceTray1.DesignPreview"), "False");
  // A reference and an event have no text: nothing is written for them.
  EXPECT_EQ(reg.valueNames().size(), 3u);
  reg.closeKey();

  reg.openKey(key + "\\TForm1", false);
  reg.writeString("PlaceTray1.LeftPopup", "False");
  reg.writeString("PlaceTray1.CycleInterval", "20");
  reg.closeKey();
  state->restoreState();
  EXPECT_FALSE(tray->leftPopup);
  EXPECT_EQ(tray->cycleInterval(), 20u);

  // References and events are reached by name too; a value of another type is refused.
  auto* menu = new PopupMenu(form);
  tray->setProperty("PopupMenu", PropValue::ofObject(menu));
  EXPECT_EQ(tray->popupMenu(), menu);
  EXPECT_EQ(objectValue<PopupMenu*>(tray->getProperty("popupmenu"), "PopupMenu"), menu);
  EXPECT_THROW(tray->setProperty("PopupMenu", PropValue::ofObject(images)), Error);
  EXPECT_EQ(tray->popupMenu(), menu);
  tray->setProperty("IconList", PropValue::ofObject(static_cast<ImageList*>(nullptr)));
  EXPECT_EQ(tray->iconList(), nullptr);
  tray->setProperty("IconList", PropValue::ofObject(images));
  EXPECT_EQ(tray->iconList(), images);
  EXPECT_EQ(objectValue<Icon*>(tray->getProperty("Icon"), "Icon"), &tray->icon());
  tray->setProperty("OnClick", PropValue::ofObject(NotifyEvent::of<&Recorder::item>(&rec)));
  EXPECT_EQ(objectValue<NotifyEvent>(tray->getProperty("OnClick"), "OnClick"), NotifyEvent::of<&Recorder::item>(&rec));
  rec.events.clear();
  tray->endLoading();
  report(WM_LBUTTONDOWN);
  report(WM_LBUTTONUP);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"down0", "item", "up0"}));
  state->setActive(false);  // nothing saved again when the form goes
  Registry().deleteKey(key);
}
