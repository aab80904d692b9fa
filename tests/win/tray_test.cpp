// The tray icon against Wine's shell: add, modify, remove, mouse reports, the menu, folding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/win_test_util.h"
#include "tray/tray_icon.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/imagelist.h"
#include "ui/menus.h"

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
