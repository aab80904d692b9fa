// The history window as the program defines it, its handlers and the killed-popup message.
#include <gtest/gtest.h>

#include <objbase.h>

#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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
    startBalloon = form->pop->balloonData();
    startBalloonShown = form->pop->active() && IsWindowVisible(form->pop->window().handle());
    startAnchor = expectedAnchor();
  }
  static void TearDownTestSuite() {
    delete form;
    form = nullptr;
  }
  // The balloon anchor from the screen size and the window's position, read now.
  static POINT expectedAnchor() {
    return POINT{GetSystemMetrics(SM_CXSCREEN) - form->left() - 100, GetSystemMetrics(SM_CYSCREEN) - form->top() - 50};
  }
  static HelperForm* form;
  static HintData startBalloon;
  static bool startBalloonShown;
  static POINT startAnchor;
};
HelperForm* HelperFormTest::form = nullptr;
HintData HelperFormTest::startBalloon;
bool HelperFormTest::startBalloonShown = false;
POINT HelperFormTest::startAnchor{};

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
  // Integer atoms read back as "#1234": a browser helper only ever sends string atoms.
  for (LPARAM integerAtom : {1, 1234, 0xBFFF}) SendMessageA(h, WM_KILLEDPOPUP, 0, integerAtom);
  // Nor is a string atom with bits above its 16 taken for that atom.
  ATOM real = GlobalAddAtomA("http://high-bits.example/");
  SendMessageA(h, WM_KILLEDPOPUP, 0, LPARAM(0x10000) | real);
  EXPECT_EQ(form->ListBox1->count(), listed);
  GlobalDeleteAtom(real);

  // Many entries: the newest stays in view.
  for (int i = 0; i < 40; ++i) notify(h, "http://ads.example.com/" + std::to_string(i));
  EXPECT_GT(form->ListBox1->topIndex(), 0);

  form->Clearall1->click();
  EXPECT_EQ(form->ListBox1->count(), 0);
  EXPECT_EQ(form->StatusBar1->panelText(0), "Killed popups:0");
}

TEST_F(HelperFormTest, GoToThisLinkIsOfferedOnlyForWhatCanBeOpened) {
  HWND h = form->handle();
  form->ListBox1->clear();
  form->PopupMenu1Popup(form->PopupMenu1);
  EXPECT_FALSE(form->Gotothislink1->enabled());
  EXPECT_TRUE(form->Clearall1->enabled());
  EXPECT_TRUE(form->HideVrin1->enabled());

  const std::pair<const char*, bool> entries[] = {
      {"http://a.example/", true},  {"HTTPS://b.example/x", true}, {"ftp://c.example/f", true},
      {"file:///C:/windows/system32/calc.exe", false}, {"javascript:alert(1)", false},
      {"http://", false}, {"mailto:x@example.com", false}};
  for (auto [address, opens] : entries) notify(h, address);
  for (int i = 0; i < int(std::size(entries)); ++i) {
    form->ListBox1->setItemIndex(i);
    form->PopupMenu1Popup(form->PopupMenu1);
    EXPECT_EQ(form->Gotothislink1->enabled(), entries[i].second) << entries[i].first;
  }
  form->ListBox1->clear();

  form->Beep1->click();
  EXPECT_FALSE(form->Beep1->checked());
  form->Beep1->click();
  EXPECT_TRUE(form->Beep1->checked());
}

namespace {

// The "browser" of this prefix for the length of a test: the recorder fixture registered as
// the handler of http and of a made-up protocol that nothing but a non-web address reaches.
class BrowserRecorder {
 public:
  static constexpr const wchar_t* kLog = L"C:\\vrin-browser.log";
  BrowserRecorder() {
    DeleteFileW(kLog);
    std::wstring command = L"\"" + vrin::test::fixtureProgram(L"recorder.exe") + L"\" \"%1\"";
    httpBefore_ = readDefault(kHttpCommand);
    ready_ = GetFileAttributesW(vrin::test::fixtureProgram(L"recorder.exe").c_str()) != INVALID_FILE_ATTRIBUTES &&
             setValue(kHttpCommand, nullptr, command) && setValue(L"vrinprobe", L"URL Protocol", L"") &&
             setValue(L"vrinprobe\\shell\\open\\command", nullptr, command);
  }
  ~BrowserRecorder() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"vrinprobe");
    if (httpBefore_) setValue(kHttpCommand, nullptr, *httpBefore_);
    DeleteFileW(kLog);
  }
  bool ready() const { return ready_; }
  // The lines logged so far, without the byte-order mark and carriage returns.
  std::vector<std::string> lines() const {
    std::ifstream in(narrow(kLog), std::ios::binary);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) out.push_back(line);
    }
    return out;
  }

 private:
  static constexpr const wchar_t* kHttpCommand = L"http\\shell\\open\\command";
  static std::optional<std::wstring> readDefault(const wchar_t* key) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
      return std::nullopt;
    return std::wstring(data);
  }
  static bool setValue(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    HKEY k = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) != ERROR_SUCCESS)
      return false;
    LONG r = RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
  }
  std::optional<std::wstring> httpBefore_;
  bool ready_ = false;
};

}  // namespace

TEST_F(HelperFormTest, OnlyWebAddressesReachTheBrowser) {
  BrowserRecorder browser;
  ASSERT_TRUE(browser.ready());
  HWND h = form->handle();
  form->ListBox1->clear();
  notify(h, "file:///C:/windows/system32/calc.exe");
  notify(h, "vrinprobe://refused.example/");
  notify(h, "http://opened.example/page");
  int image = form->submenu1->imageIndex();
  for (int refused : {0, 1}) {
    form->ListBox1->setItemIndex(refused);
    form->ListBox1->onDblClick(form->ListBox1);
    EXPECT_EQ(form->submenu1->imageIndex(), image);
  }
  // The web address is opened with "#" appended; once it has arrived, anything the refused
  // ones had started would have arrived before it.
  form->ListBox1->setItemIndex(2);
  form->ListBox1->onDblClick(form->ListBox1);
  EXPECT_TRUE(vrin::test::pumpUntil([&] { return !browser.lines().empty(); }, 15000));
  Sleep(1000);
  EXPECT_EQ(browser.lines(), (std::vector<std::string>{"open http://opened.example/page#"}));
  EXPECT_EQ(form->ListBox1->item(2), "http://opened.example/page");
  EXPECT_EQ(form->submenu1->imageIndex(), image);
  form->ListBox1->clear();
}

TEST_F(HelperFormTest, TheStartAndKilledPopupBalloonsPointNearTheTray) {
  const std::string shown = "Vrin is active. All popup windows will be removed automatically!";
  EXPECT_TRUE(startBalloonShown);
  EXPECT_EQ(startBalloon.anchorControl, form);
  EXPECT_EQ(startBalloon.header, "Vrin alert");
  EXPECT_EQ(startBalloon.text, shown);
  EXPECT_EQ(startBalloon.visibleTime, 2000);
  EXPECT_EQ(startBalloon.iconKind, ikInformation);
  EXPECT_EQ(startBalloon.imageIndex, -1);
  EXPECT_EQ(startBalloon.anchorPoint.x, startAnchor.x);
  EXPECT_EQ(startBalloon.anchorPoint.y, startAnchor.y);

  // A killed popup's balloon: the anchor follows the window's position at that moment, and
  // the stem tip lands on it (the balloon lies above and to the left, its stem bottom right).
  HWND h = form->handle();
  RECT before{};
  GetWindowRect(h, &before);
  SetWindowPos(h, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const std::string address = "http://ads.example.com/balloon?x=1";
  notify(h, address);
  const HintData& data = form->pop->balloonData();
  EXPECT_TRUE(vrin::test::pumpUntil([&] { return data.text == "Pop killed:" + address && form->pop->active(); }, 5000));
  EXPECT_EQ(data.text, "Pop killed:" + address);
  EXPECT_EQ(data.header, "Vrin alert");
  EXPECT_EQ(data.visibleTime, 2000);
  EXPECT_EQ(data.iconKind, ikInformation);
  EXPECT_EQ(data.imageIndex, -1);
  EXPECT_EQ(data.anchorControl, form);
  POINT anchor = expectedAnchor();
  EXPECT_EQ(form->left(), 200);
  EXPECT_EQ(data.anchorPoint.x, anchor.x);
  EXPECT_EQ(data.anchorPoint.y, anchor.y);
  HWND balloon = form->pop->window().handle();
  EXPECT_TRUE(IsWindowVisible(balloon));
  POINT tip = anchor;
  ClientToScreen(h, &tip);
  RECT r{};
  GetWindowRect(balloon, &r);
  EXPECT_EQ(form->pop->window().placement().position, bpLeftUp);
  EXPECT_EQ(r.right - 15, tip.x);
  EXPECT_EQ(r.bottom, tip.y);
  form->pop->HideBalloon();
  SetWindowPos(h, nullptr, before.left, before.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  form->ListBox1->clear();
}

TEST_F(HelperFormTest, AStoredIconIndexOtherThanOneIsOffInAllFivePlaces) {
  for (const char* stored : {"2", "4", "6", "7", "-3", "1"}) {
    const bool on = std::string(stored) == "1";
    {
      Registry reg;
      ASSERT_TRUE(reg.openKey("\\Vrin\\TForm1", true));
      reg.writeString("PlaceTray1.IconIndex", stored);
    }
    // As start-up does: restore, then apply the restored state.
    form->ComponentState1->restoreState();
    form->ApplyBlockingState();
    EXPECT_EQ(form->PlaceTray1->iconIndex(), on ? 1 : 0) << stored;
    EXPECT_EQ(form->submenu1->imageIndex(), on ? 0 : 1) << stored;
    EXPECT_EQ(form->submenu1->caption(), on ? "&Disable Vrin" : "&Enable Vrin") << stored;
    EXPECT_EQ(form->PlaceTray1->hint(), on ? "Vrin enable" : "Vrin disable") << stored;
    EXPECT_EQ(runningFlag(), on ? "1" : "0") << stored;
    form->close();  // saves
    Registry reg;
    ASSERT_TRUE(reg.openKeyReadOnly("\\Vrin\\TForm1"));
    EXPECT_EQ(reg.readString("PlaceTray1.IconIndex"), on ? "1" : "0") << stored;
  }
  form->submenu1->click();  // back to off for the tests that follow
  EXPECT_EQ(form->PlaceTray1->iconIndex(), 0);
  EXPECT_EQ(runningFlag(), "0");
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
