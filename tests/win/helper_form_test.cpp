// The history window as the program defines it, its handlers and the killed-popup message.
#include <gtest/gtest.h>

#include <objbase.h>

#include <string>

#include "app/helper_form.h"
#include "app/product.h"
#include "support/win_test_util.h"
#include "ui/application.h"
#include "ui/registry.h"

using namespace vrin;

namespace {

class HelperFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // A first start: nothing stored yet.
    Registry reg;
    reg.deleteKey("\\Vrin");
    application().setTitle(kAppTitle);
    CoInitialize(nullptr);  // as the program's entry does
    form = new HelperForm(nullptr);
  }
  static void TearDownTestSuite() {
    delete form;
    form = nullptr;
  }
  static HelperForm* form;
};
HelperForm* HelperFormTest::form = nullptr;

std::string runningFlag() {
  Registry reg;
  if (!reg.openKeyReadOnly("Software\\Vrin\\Running")) return "(missing)";
  return reg.readString("Vrin");
}

LRESULT notify(HWND h, const std::string& address) {
  ATOM atom = GlobalAddAtomA(address.c_str());
  return SendMessageA(h, WM_KILLEDPOPUP, 0, atom);
}

}  // namespace

TEST_F(HelperFormTest, WindowIsDefinedAsTheProgramNeedsIt) {
  HWND h = form->handle();
  wchar_t cls[64];
  GetClassNameW(h, cls, 64);
  EXPECT_STREQ(cls, L"THelperForm");
  EXPECT_EQ(FindWindowA("THelperForm", "Vrin"), h);
  EXPECT_FALSE(IsWindowVisible(h));
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 495);
  EXPECT_EQ(client.bottom, 272);
  EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);

  EXPECT_EQ(form->Panel1->height(), 33);
  EXPECT_EQ(form->Label1->caption(), "Key ShortCut to Clear: [CTRL] + ");
  EXPECT_EQ(form->touche->items().size(), 26u);
  EXPECT_EQ(form->touche->items().front(), "A");
  EXPECT_EQ(form->touche->items().back(), "Z");
  EXPECT_EQ(form->touche->selectedText(), "F");
  EXPECT_EQ(form->ListBox1->top(), 33);
  EXPECT_EQ(form->ListBox1->height(), 220);
  EXPECT_EQ(form->ListBox1->width(), 495);
  EXPECT_EQ(form->StatusBar1->height(), 19);
  EXPECT_EQ(form->StatusBar1->panelText(0), "Killed popups:0");
  EXPECT_EQ(form->ImageList1->count(), 7);
  EXPECT_EQ(form->findComponent("option6"), form->option6);

  std::vector<std::string> captions;
  for (MenuItem* i : form->SideBarPopupMenu1->items().items()) captions.push_back(i->caption());
  EXPECT_EQ(captions, (std::vector<std::string>{"Show &History", "&Clear traces now !", "&Enable Vrin", "",
                                                "Beep on killed popup", "Clear options", kWebSiteCaption, "E&xit"}));
  EXPECT_EQ(form->Clearoptions1->count(), 6);
  EXPECT_EQ(form->Clearoptions1->item(4), form->option6);
  EXPECT_TRUE(form->Beep1->checked());
  EXPECT_EQ(form->PlaceTray1->iconIndex(), 0);
  // The skin stored in the program was decoded at start.
  EXPECT_FALSE(form->SkinData1->NoSkin());
  EXPECT_TRUE(form->SkinData1->Active());
}

TEST_F(HelperFormTest, FirstStartLeavesBlockingOffAndTheSwitchFollowsEachClick) {
  EXPECT_EQ(form->submenu1->caption(), "&Enable Vrin");
  EXPECT_EQ(form->submenu1->imageIndex(), 1);
  EXPECT_EQ(form->PlaceTray1->hint(), "Vrin disable");
  EXPECT_EQ(runningFlag(), "0");

  form->submenu1->click();
  EXPECT_EQ(form->submenu1->caption(), "&Disable Vrin");
  EXPECT_EQ(form->submenu1->imageIndex(), 0);
  EXPECT_EQ(form->PlaceTray1->iconIndex(), 1);
  EXPECT_EQ(form->PlaceTray1->hint(), "Vrin enable");
  EXPECT_EQ(runningFlag(), "1");

  form->submenu1->click();
  EXPECT_EQ(form->submenu1->caption(), "&Enable Vrin");
  EXPECT_EQ(form->PlaceTray1->iconIndex(), 0);
  EXPECT_EQ(runningFlag(), "0");
}

TEST_F(HelperFormTest, KilledPopupsAreListedAndTheirAtomsFreed) {
  HWND h = form->handle();
  form->ListBox1->clear();
  ATOM atom = GlobalAddAtomA("http://ads.example.com/a");
  EXPECT_EQ(SendMessageA(h, WM_KILLEDPOPUP, 0, atom), 0);
  char name[8];
  EXPECT_EQ(GlobalGetAtomNameA(atom, name, sizeof name), 0u);  // deleted by the handler
  notify(h, "http://ads.example.com/a");
  ASSERT_EQ(form->ListBox1->count(), 2);
  EXPECT_EQ(form->ListBox1->item(1), "http://ads.example.com/a");
  EXPECT_EQ(form->ListBox1->itemIndex(), -1);
  EXPECT_EQ(form->StatusBar1->panelText(0), "Killed popups:0");

  // Whatever the system accepts as an atom name arrives whole up to 254 characters.
  int listed = 2;
  for (std::size_t len : {254u, 255u}) {
    std::string name = "http://" + std::string(len - 7, 'x');
    ATOM a = GlobalAddAtomA(name.c_str());
    if (!a) continue;  // longer than the system takes
    SendMessageA(h, WM_KILLEDPOPUP, 0, a);
    ASSERT_EQ(form->ListBox1->count(), ++listed);
    EXPECT_EQ(form->ListBox1->item(listed - 1), name.substr(0, 254));
  }

  // A number that names no atom adds nothing.
  SendMessageA(h, WM_KILLEDPOPUP, 0, 0xFFF0);  // in the string-atom range, never added
  SendMessageA(h, WM_KILLEDPOPUP, 0, 0);
  EXPECT_EQ(form->ListBox1->count(), listed);

  // Many entries: the newest stays in view.
  for (int i = 0; i < 40; ++i) notify(h, "http://ads.example.com/" + std::to_string(i));
  EXPECT_GT(form->ListBox1->topIndex(), 0);

  form->Clearall1->click();
  EXPECT_EQ(form->ListBox1->count(), 0);
  EXPECT_EQ(form->StatusBar1->panelText(0), "Killed popups:0");
}

TEST_F(HelperFormTest, HistoryCommandsNeedASelectionAndOnlyOpenWebAddresses) {
  HWND h = form->handle();
  form->ListBox1->clear();
  form->PopupMenu1Popup(form->PopupMenu1);
  EXPECT_FALSE(form->Gotothislink1->enabled());
  EXPECT_TRUE(form->Clearall1->enabled());
  EXPECT_TRUE(form->HideVrin1->enabled());

  notify(h, "file:///C:/windows/system32/calc.exe");
  form->ListBox1->setItemIndex(0);
  form->PopupMenu1Popup(form->PopupMenu1);
  EXPECT_TRUE(form->Gotothislink1->enabled());
  int before = form->submenu1->imageIndex();
  form->Gotothislink1->click();  // refused: not a web address
  EXPECT_EQ(form->submenu1->imageIndex(), before);
  EXPECT_EQ(form->ListBox1->item(0), "file:///C:/windows/system32/calc.exe");

  form->Beep1->click();
  EXPECT_FALSE(form->Beep1->checked());
  form->Beep1->click();
  EXPECT_TRUE(form->Beep1->checked());
}

TEST_F(HelperFormTest, HidingTheWindowSavesTheNineChoices) {
  form->option6->setChecked(true);
  form->touche->setItemIndex(0);
  form->close();
  Registry reg;
  ASSERT_TRUE(reg.openKeyReadOnly("Vrin\\TForm1"));
  EXPECT_EQ(reg.valueNames().size(), 9u);
  EXPECT_EQ(reg.readString("option6.Checked"), "True");
  EXPECT_EQ(reg.readString("touche.ItemIndex"), "0");
  EXPECT_EQ(reg.readString("Beep1.Checked"), "True");
  EXPECT_EQ(reg.readString("PlaceTray1.IconIndex"), "0");
  form->option6->setChecked(false);
  form->touche->setItemIndex(5);
}

TEST_F(HelperFormTest, ClosingOnlyHidesAndTheTrayClickShowsAgain) {
  HWND h = form->handle();
  form->PlaceTray1Click(form->PlaceTray1);
  EXPECT_TRUE(IsWindowVisible(h));
  SendMessageW(h, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_FALSE(application().terminated());
  form->submenu2->click();
  EXPECT_TRUE(IsWindowVisible(h));
  form->HideVrin1->click();
  EXPECT_FALSE(IsWindowVisible(h));
}

TEST_F(HelperFormTest, TheTrayIconIsInTheShellWithTheFirstRecordForm) {
  const NOTIFYICONDATAA& rec = form->PlaceTray1->trayRecord();
  EXPECT_EQ(rec.cbSize, DWORD(NOTIFYICONDATAA_V1_SIZE));
  EXPECT_EQ(rec.uID, 1u);
  EXPECT_EQ(rec.uFlags, 7u);
  EXPECT_EQ(rec.uCallbackMessage, 0x0800u);
  EXPECT_NE(rec.hIcon, nullptr);
  EXPECT_TRUE(form->PlaceTray1->UpdateTray());  // modify succeeds only for an added icon
  form->PlaceTray1->SetIconIndex(-4);
  EXPECT_EQ(form->PlaceTray1->iconIndex(), 0);
  form->PlaceTray1->SetIconIndex(99);
  EXPECT_EQ(form->PlaceTray1->iconIndex(), 6);
  form->PlaceTray1->SetIconIndex(0);
  form->PlaceTray1->SetHint(std::string(80, 'h'));
  EXPECT_EQ(std::string(rec.szTip), std::string(63, 'h'));
  form->PlaceTray1->SetHint("Vrin disable");
}
