// Which controls of a skinned window get which skinner: a form's components by kind, Tag and
// the skin's SkinControls, a dialog box's children by class and style; and the release of
// every skinner giving the controls their own painting back at once.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "skin/controls/boxes.h"
#include "skin/controls/buttons.h"
#include "skin/controls/check_radio.h"
#include "skin/controls/combo.h"
#include "skin/controls/control_paint.h"
#include "skin/controls/edit.h"
#include "skin/controls/selection.h"
#include "skin/controls/status_progress.h"
#include "skin/controls/tabs_header.h"
#include "skin/form/skin_form.h"
#include "skin/pure/skin_container.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_data.h"
#include "skin/skin_manager.h"
#include "support/source_files.h"
#include "support/win_test_util.h"
#include "ui/application.h"
#include "ui/buttons.h"
#include "ui/commonctrls.h"
#include "ui/form.h"
#include "ui/stdctrls.h"

using namespace vrin;
using vrin::test::pumpUntil;
using vrin::test::readFile;
using vrin::test::sourcePath;

namespace {

// Our skin's sources packed again, the settings text passed through `edit`.
std::vector<std::uint8_t> skinStream(const std::function<std::string(std::string)>& edit) {
  std::vector<SkinEntry> entries;
  const std::vector<std::uint8_t> list = readFile(sourcePath("resources/skin/index.txt"));
  std::istringstream index(std::string(list.begin(), list.end()));
  for (std::string name; std::getline(index, name);) {
    while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
    if (name.empty()) continue;
    std::vector<std::uint8_t> bytes = readFile(sourcePath("resources/skin/" + name));
    if (name == "vrinset.ini") {
      const std::string text = edit(std::string(bytes.begin(), bytes.end()));
      bytes.assign(text.begin(), text.end());
    }
    entries.push_back({name, std::move(bytes)});
  }
  return writeSkinStream(packSkin(entries));
}

// The skin every form of this suite is skinned with.
SkinData& mainSkin() {
  static SkinData* data = [] {
    auto* s = new SkinData(nullptr);
    s->beginLoading();
    s->SetActive(true);
    s->ReadSkinStream(skinStream([](std::string t) { return t; }));
    s->endLoading();
    return s;
  }();
  return *data;
}

// The same skin without its [Tabs] section; never chosen by the manager for a window.
SkinData& skinWithoutTabs() {
  static SkinData* data = [] {
    auto* s = new SkinData(nullptr);
    s->SetSkinFormtype(sfOnlyThisForm);
    s->ReadSkinStream(skinStream([](std::string t) {
      const auto at = t.find("[Tabs]");
      const auto next = t.find("\n[", at + 1);
      return t.erase(at, next == std::string::npos ? std::string::npos : next + 1 - at);
    }));
    return s;
  }();
  return *data;
}

COLORREF pixelAt(HWND hwnd, int x, int y) {
  WindowDC dc(hwnd, WindowDC::Area::Window);
  return GetPixel(dc.get(), x, y);
}
COLORREF ref(Pixel p) { return RGB(red(p), green(p), blue(p)); }

void pump(DWORD ms) {
  const DWORD start = GetTickCount();
  pumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

// A framework combo box of the simple style (its list always shown).
class SimpleComboBox : public ComboBox {
 public:
  using ComboBox::ComboBox;

 protected:
  CreateParams createParams() override {
    CreateParams cp = ComboBox::createParams();
    cp.style = (cp.style & ~DWORD(CBS_DROPDOWNLIST)) | CBS_SIMPLE;
    return cp;
  }
};

template <class S>
bool skinnedAs(const SkinForm& owner, HWND window) {
  return dynamic_cast<S*>(findControlSkinner(owner, window)) != nullptr;
}

class Selection : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(mainSkin().NoSkin()) << mainSkin().LoadError();
    form = new Form(nullptr);
    if (application().mainForm() == form) application().setMainForm(nullptr);
    form->setCaption("Selection");
    form->setBounds(10, 10, 600, 400);
    form->handle();
  }
  void TearDown() override {
    mainSkin().SetDisableTag(99);
    mainSkin().SetSkinControls(kAllSkinControls);
    delete form;
  }
  template <class C>
  C* add(int x, int y, int w, int h, std::int32_t tag = 0) {
    auto* c = new C(form);
    c->setAlign(Align::None);
    c->setParent(form);
    c->setBounds(x, y, w, h);
    c->setTag(tag);
    c->handle();
    return c;
  }
  // Shows the form and waits until the manager skinned it, controls included.
  SkinForm* showSkinned() {
    form->show();
    SkinManager* manager = SkinManager::instance();
    pumpUntil([&] { return manager->skinnedForm(form->handle()) &&
                           manager->skinnedForm(form->handle())->Phase == phApplied; }, 3000);
    pump(150);
    return manager->skinnedForm(form->handle());
  }
  Form* form = nullptr;
};

TEST_F(Selection, FormControlsFollowTheirKindTagAndDisableTagAndReleaseRepaintsThem) {
  auto* disabled = add<ProgressBar>(20, 20, 100, 14, 199);
  auto* skinned = add<ProgressBar>(20, 50, 100, 14, -1);
  auto* comboByTag = add<Label>(20, 80, 100, 20, 56);
  auto* leftAlone = add<Button>(20, 110, 100, 26, 199);
  auto* button = add<Button>(20, 140, 100, 26, -1);
  auto* speed = new SpeedButton(form);
  speed->setParent(form);
  speed->setBounds(130, 140, 40, 26);
  auto* simpleCombo = add<SimpleComboBox>(400, 120, 120, 80);
  auto* dropDown = add<ComboBox>(400, 210, 120, 120);
  auto* panel = add<Panel>(200, 20, 150, 80);
  panel->setColor(Color(0x0000FF));
  auto* status = new StatusBar(form);
  status->sizeGrip = true;  // part of the style the window is made with
  status->setParent(form);
  status->setAlign(Align::None);
  status->setBounds(0, 300, 400, 22);
  status->setPanels({{120, "Ready"}});
  status->handle();
  ASSERT_TRUE(GetWindowLongPtrW(status->handle(), GWL_STYLE) & SBARS_SIZEGRIP);

  SkinForm* owner = showSkinned();
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(findControlSkinner(*owner, disabled->handle()), nullptr);  // 199 mod 100 is 99
  EXPECT_TRUE(skinnedAs<SkinProgress>(*owner, skinned->handle()));     // -1 mod 100 is -1
  EXPECT_TRUE(skinnedAs<SkinComBox>(*owner, comboByTag->handle()));
  EXPECT_EQ(findControlSkinner(*owner, leftAlone->handle()), nullptr);
  EXPECT_TRUE(skinnedAs<SkinButton>(*owner, button->handle()));
  EXPECT_FALSE(skinnedAs<SkinBitButton>(*owner, button->handle()));
  EXPECT_TRUE(isSkinnedControl(*owner, *speed));
  EXPECT_TRUE(skinnedAs<SkinComBox>(*owner, dropDown->handle()));
  EXPECT_EQ(findControlSkinner(*owner, simpleCombo->handle()), nullptr);
  EXPECT_TRUE(skinnedAs<SkinBox>(*owner, panel->handle()));
  EXPECT_EQ(panel->color(), mainSkin().SkinColors().ButtonFaceColor);
  EXPECT_TRUE(skinnedAs<SkinStatusBar>(*owner, status->handle()));
  EXPECT_FALSE(GetWindowLongPtrW(status->handle(), GWL_STYLE) & SBARS_SIZEGRIP);
  EXPECT_TRUE(isSkinnedControl(*owner, *skinned));
  EXPECT_FALSE(isSkinnedControl(*owner, *disabled));

  // The skinned bar shows the skin's track; the other one the control's own painting.
  const SkinElement& p = *mainSkin().Progress();
  Image track(100, 14, pixelOf(mainSkin().SkinColors().ButtonFaceColor));
  drawTransparent(track, {0, 0, 100, 14},
                  composeGrid(100, 14, p.Image, {p.LeftWidth, p.TopHeight, p.RightWidth, p.BottomHeight}, false,
                              p.Tile != 0, 2, 1));
  int skinLike = 0, ownLike = 0;
  for (int x = 2; x < 98; ++x) {
    skinLike += pixelAt(skinned->handle(), x, 7) == ref(track.at(x, 7));
    ownLike += pixelAt(disabled->handle(), x, 7) == ref(track.at(x, 7));
  }
  EXPECT_EQ(skinLike, 96);
  EXPECT_LT(ownLike, 48);

  // Released: the skinned bar paints as the other one at once, the panel has its colour back.
  releaseControlSkinners(*owner);
  EXPECT_TRUE(owner->SkinnedControls.empty());
  int same = 0;
  for (int x = 2; x < 98; ++x) same += pixelAt(skinned->handle(), x, 7) == pixelAt(disabled->handle(), x, 7);
  EXPECT_EQ(same, 96);
  EXPECT_EQ(panel->color(), Color(0x0000FF));
}

TEST_F(Selection, TabsNeedTheTabsSectionAndPanelsAndGroupBoxesNeedXcPanel) {
  auto* tabs = add<TabControl>(20, 20, 200, 100);
  tabs->setTabs({{"One"}, {"Two"}});
  auto* panel = add<Panel>(250, 20, 100, 60);
  auto* group = add<GroupBox>(20, 140, 150, 60);
  auto* radios = add<RadioGroup>(200, 140, 150, 80);
  radios->SetItems({"A", "B"});
  ShowWindow(form->handle(), SW_SHOWNA);

  // A form skinner of our own over the skin without [Tabs]: the tab control is left alone.
  {
    SkinForm bare(*SkinManager::instance(), form->handle(), skinWithoutTabs());
    skinFormControls(bare, *form);
    EXPECT_EQ(findControlSkinner(bare, tabs->handle()), nullptr);
    EXPECT_TRUE(skinnedAs<SkinBox>(bare, panel->handle()));
    EXPECT_TRUE(skinnedAs<SkinBox>(bare, group->handle()));
    ASSERT_EQ(radios->buttons().size(), 2u);
    EXPECT_TRUE(skinnedAs<SkinBox>(bare, radios->handle()));
    EXPECT_TRUE(skinnedAs<SkinRadioButton>(bare, radios->buttons()[1]->handle()));
    releaseControlSkinners(bare);
  }
  SkinForm full(*SkinManager::instance(), form->handle(), mainSkin());
  mainSkin().SetSkinControls(kAllSkinControls & ~skinControl(xcPanel));
  skinFormControls(full, *form);
  EXPECT_TRUE(skinnedAs<SkinTab>(full, tabs->handle()));
  EXPECT_EQ(findControlSkinner(full, panel->handle()), nullptr);
  EXPECT_EQ(findControlSkinner(full, group->handle()), nullptr);
  // The radio group's buttons follow xcRadioButton, not xcPanel.
  EXPECT_TRUE(skinnedAs<SkinBox>(full, radios->handle()));
  EXPECT_EQ(full.SkinnedControls.size(), 4u);
  // A second walk adds nothing: skinned controls are skipped.
  skinFormControls(full, *form);
  EXPECT_EQ(full.SkinnedControls.size(), 4u);
  releaseControlSkinners(full);
}

// A system dialog box's children, made as the dialog manager makes them.
TEST(SelectionDialog, DialogChildrenAreChosenByClassAndStyle) {
  mainSkin();
  HWND dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, L"#32770", L"Dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                60, 60, 360, 260, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(dialog, nullptr);
  auto child = [&](const wchar_t* cls, DWORD style, int x, int y, int w, int h, const wchar_t* text = L"") {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, dialog, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  };
  HWND group = child(L"BUTTON", BS_GROUPBOX, 10, 10, 150, 100, L"Group");
  HWND threeState = child(L"BUTTON", BS_3STATE, 20, 30, 120, 20, L"Three states");
  HWND ownerDrawn = child(L"BUTTON", BS_OWNERDRAW, 20, 60, 120, 24, L"Owner");
  HWND edit = child(L"EDIT", WS_BORDER | ES_AUTOHSCROLL, 180, 10, 150, 22);
  HWND simple = child(L"COMBOBOX", CBS_SIMPLE, 180, 40, 150, 80);
  HWND dropDown = child(L"COMBOBOX", CBS_DROPDOWNLIST, 180, 130, 150, 200);
  HWND grip = child(L"SCROLLBAR", SBS_SIZEGRIP, 330, 210, 16, 16);
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  SkinManager* manager = SkinManager::instance();
  ASSERT_TRUE(pumpUntil([&] { return manager->skinnedForm(dialog) && manager->skinnedForm(dialog)->Phase == phApplied; },
                        3000));
  pump(150);
  const SkinForm& owner = *manager->skinnedForm(dialog);
  EXPECT_EQ(findControlSkinner(owner, group), nullptr);
  EXPECT_TRUE(skinnedAs<SkinCheckBox>(owner, threeState));
  EXPECT_TRUE(skinnedAs<SkinCheckBox>(owner, ownerDrawn));
  EXPECT_FALSE(skinnedAs<SkinRadioButton>(owner, ownerDrawn));
  EXPECT_TRUE(skinnedAs<SkinEdit>(owner, edit));
  EXPECT_EQ(findControlSkinner(owner, simple), nullptr);
  EXPECT_TRUE(skinnedAs<SkinComBox>(owner, dropDown));
  EXPECT_TRUE(skinnedAs<SkinSizer>(owner, grip));

  // The edit's outer ring in the skin's shadow colour.
  RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  pump(100);
  const COLORREF shadow = colorToRGB(mainSkin().SkinColors().ButtonShadowColor);
  EXPECT_EQ(pixelAt(edit, 0, 11), shadow);
  EXPECT_EQ(pixelAt(edit, 75, 0), shadow);
  DestroyWindow(dialog);
  pump(100);
  EXPECT_FALSE(manager->skinnedForm(dialog));
}

}  // namespace
