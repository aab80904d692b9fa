// Combo boxes, edits, status bars, progress bars and tab controls on a skinned form, their
// pixels checked against the skin's own pictures; and a skin without an element leaving the
// control to paint itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "skin/controls/boxes.h"
#include "skin/controls/combo.h"
#include "skin/controls/control_paint.h"
#include "skin/controls/edit.h"
#include "skin/controls/status_progress.h"
#include "skin/controls/tabs_header.h"
#include "skin/form/skin_form.h"
#include "skin/pure/control_layout.h"
#include "skin/pure/skin_container.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_data.h"
#include "skin/skin_manager.h"
#include "support/source_files.h"
#include "support/win_test_util.h"
#include "ui/application.h"
#include "ui/commonctrls.h"
#include "ui/form.h"
#include "ui/geometry_win.h"
#include "ui/imagelist.h"
#include "ui/stdctrls.h"

using namespace vrin;
using vrin::test::pumpUntil;
using vrin::test::readFile;
using vrin::test::sourcePath;

namespace {

// Our skin has no combo, sunken-edge, status-edge or header pictures: the test skin adds them,
// cut from pictures the skin already carries.
const char kExtraSections[] =
    "\r\n[ComboButton]\r\nImage=check.bmp\r\n"
    "\r\n[SunkEdge]\r\nImage=toolbars.bmp\r\nLeftWidth=2\r\nTopHeight=2\r\nRightWidth=2\r\nBottomHeight=2\r\n"
    "\r\n[StatusBarEdges]\r\nImage=hscroll.bmp\r\nLeftWidth=3\r\nTopHeight=3\r\nRightWidth=3\r\nBottomHeight=3\r\n"
    "\r\n[Headerbar]\r\nImage=toolbars.bmp\r\nLeftWidth=4\r\nTopHeight=4\r\nRightWidth=4\r\nBottomHeight=4\r\n";

std::vector<std::uint8_t> panelSkinStream() {
  std::vector<SkinEntry> entries;
  const std::vector<std::uint8_t> list = readFile(sourcePath("resources/skin/index.txt"));
  std::istringstream index(std::string(list.begin(), list.end()));
  for (std::string name; std::getline(index, name);) {
    while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
    if (name.empty()) continue;
    std::vector<std::uint8_t> bytes = readFile(sourcePath("resources/skin/" + name));
    if (name == "vrinset.ini") bytes.insert(bytes.end(), kExtraSections, kExtraSections + sizeof kExtraSections - 1);
    entries.push_back({name, std::move(bytes)});
  }
  return writeSkinStream(packSkin(entries));
}

// The skin the form is skinned with, and our stored skin (no combo pictures) beside it.
SkinData& panelSkin() {
  static SkinData* data = [] {
    auto* s = new SkinData(nullptr);
    s->beginLoading();
    s->SetActive(true);
    s->ReadSkinStream(panelSkinStream());
    s->endLoading();
    return s;
  }();
  return *data;
}

SkinData& storedSkin() {
  static SkinData* data = [] {
    auto* s = new SkinData(nullptr);
    s->ReadSkinStream(writeSkinStream(readFile(sourcePath("resources/skin/vrin.skn"))));
    return s;
  }();
  return *data;
}

void pump(DWORD ms) {
  const DWORD start = GetTickCount();
  pumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

COLORREF ref(Pixel p) { return RGB(red(p), green(p), blue(p)); }
COLORREF pixelAt(HWND hwnd, int x, int y) {
  WindowDC dc(hwnd, WindowDC::Area::Window);
  return GetPixel(dc.get(), x, y);
}
SIZE windowSize(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}
// `over` drawn on `under` with the key colour left out.
Image layered(const Image& under, const Image& over) {
  Image out = under;
  drawTransparent(out, {0, 0, over.width, over.height}, over);
  return out;
}
Margins marginsOf(const SkinElement& e) { return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }

// A form of the panel skin, shown and skinned, holding the controls of one test.
class Panels : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(panelSkin().NoSkin()) << panelSkin().LoadError();
    ASSERT_FALSE(storedSkin().NoSkin());
    form = new Form(nullptr);
    if (application().mainForm() == form) application().setMainForm(nullptr);
    form->setCaption("Panels");
    form->setBounds(10, 10, 760, 560);
    form->show();
    SkinManager* manager = SkinManager::instance();
    ASSERT_TRUE(pumpUntil([&] { return manager->skinnedForm(form->handle()) &&
                                       manager->skinnedForm(form->handle())->Phase == phApplied; }, 3000));
    skinner = manager->skinnedForm(form->handle());
  }
  void TearDown() override {
    skinners.clear();
    delete form;
  }
  template <class C>
  C* add(int x, int y, int w, int h) {
    auto* c = new C(form);
    c->setAlign(Align::None);
    c->setParent(form);
    c->setBounds(x, y, w, h);
    c->handle();
    ShowWindow(c->handle(), SW_SHOWNA);
    return c;
  }
  template <class S>
  S* skin(WinControl& control, SkinData& data = panelSkin()) {
    auto s = std::make_unique<S>(skinner);
    s->AttachControl(control, data, false, skinner->ControlCanvas);
    S* raw = s.get();
    skinners.push_back(std::move(s));
    RedrawWindow(control.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    pump(100);
    return raw;
  }
  Form* form = nullptr;
  SkinForm* skinner = nullptr;
  std::vector<std::unique_ptr<SkinControl>> skinners;
};

TEST_F(Panels, ComboBoxShowsTheButtonFrameOfItsStateAndTheSunkenEdge) {
  auto* combo = add<ComboBox>(20, 20, 160, 0);
  combo->setItems({"A", "B"});
  combo->setItemIndex(0);
  SkinComBox* s = skin<SkinComBox>(*combo);
  const HWND h = combo->handle();
  const SIZE size = windowSize(h);
  const SkinElement& button = *panelSkin().ComboButton();
  const SkinElement& edge = *panelSkin().SunkEdge();
  const ComboPieces pieces = comboBoxPieces(size.cx, size.cy, GetSystemMetrics(SM_CXHSCROLL),
                                            stripFrameWidth(edge.Image.width, edge.FrameCount), edge.Image.height,
                                            marginsOf(edge));
  const Rect b = pieces.button;
  const auto buttonFace = [&](int frame) {
    Image face(b.width(), b.height(), pixelOf(panelSkin().SkinColors().ButtonFaceColor));
    Image scaled(b.width(), b.height());
    stretchCopy(scaled, {0, 0, b.width(), b.height()}, button.Image, frameRect(button.Image, 4, frame, false));
    return layered(face, scaled);
  };
  // The check picture as button: its magenta parts show the face colour, never magenta.
  const auto matches = [&](const Image& expected) {
    int same = 0;
    for (int y = 1; y < b.height() - 1; y += 3)
      for (int x = 1; x < b.width() - 1; x += 3) {
        const COLORREF shown = pixelAt(h, b.left + x, y);
        same += shown == ref(expected.at(x, y)) && shown != RGB(255, 0, 255);
      }
    return same;
  };
  const int samples = ((b.height() - 3) / 3 + 1) * ((b.width() - 3) / 3 + 1);
  const Image normal = buttonFace(1), hot = buttonFace(4);
  EXPECT_EQ(matches(normal), samples);

  // The edge: 2-pixel strips (margins of 2) from the first frame's left column and top row.
  const Image frame1 = cutFrame(edge.Image, edge.FrameCount, 1, false);
  for (const PictureCopy& copy : pieces.edge) {
    Image piece(copy.target.width(), copy.target.height());
    stretchCopy(piece, {0, 0, piece.width, piece.height}, frame1, copy.source);
    const int x = piece.width / 2, y = piece.height / 2;
    EXPECT_EQ(pixelAt(h, copy.target.left + x, copy.target.top + y), ref(piece.at(x, y)))
        << copy.target.left << "," << copy.target.top;
  }
  EXPECT_EQ(pieces.edge[0].target.width(), 2);

  // Hot shows frame 4, leaving again frame 1.
  ASSERT_NE(normal, hot);
  SendMessageW(h, CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(s->hot());
  EXPECT_EQ(matches(hot), samples);
  SendMessageW(h, CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(matches(normal), samples);
}

TEST_F(Panels, ASkinWithoutTheElementLeavesTheControlsOwnPainting) {
  auto* combo = add<ComboBox>(20, 20, 160, 0);
  combo->setItems({"A", "B"});
  combo->setItemIndex(1);
  pump(100);
  const HWND h = combo->handle();
  const SIZE size = windowSize(h);
  std::vector<COLORREF> before;
  for (int x = 0; x < size.cx; x += 2) before.push_back(pixelAt(h, x, size.cy / 2));
  skin<SkinComBox>(*combo, storedSkin());
  std::vector<COLORREF> after;
  for (int x = 0; x < size.cx; x += 2) after.push_back(pixelAt(h, x, size.cy / 2));
  EXPECT_EQ(before, after);
}

TEST_F(Panels, ProgressFillsPositionTimesWidthDivMaxAndMaxZeroOnlyTheTrack) {
  auto* quarter = add<ProgressBar>(20, 20, 100, 14);
  quarter->SetMax(200);
  quarter->SetPosition(50);
  auto* empty = add<ProgressBar>(20, 50, 100, 14);
  empty->SetMax(0);
  skin<SkinProgress>(*quarter);
  skin<SkinProgress>(*empty);

  const SkinElement& p = *panelSkin().Progress();
  const Image face(100, 14, pixelOf(panelSkin().SkinColors().ButtonFaceColor));
  const Image track = layered(face, composeGrid(100, 14, p.Image, marginsOf(p), false, false, 2, 1));
  const Image filled = layered(track, composeGrid(25, 14, p.Image, marginsOf(p), false, false, 2, 2));
  ASSERT_EQ(windowSize(quarter->handle()).cx, 100);
  int quarterSame = 0, emptySame = 0, differ = 0;
  for (int x = 0; x < 100; ++x) {
    quarterSame += pixelAt(quarter->handle(), x, 7) == ref(filled.at(x, 7));
    emptySame += pixelAt(empty->handle(), x, 7) == ref(track.at(x, 7));
    differ += filled.at(x, 7) != track.at(x, 7);
  }
  EXPECT_EQ(quarterSame, 100);
  EXPECT_EQ(emptySame, 100);
  EXPECT_GT(differ, 10);  // the fill is visible: the two frames differ in those columns
}

TEST_F(Panels, StatusPanelsDrawTheirFramesEmptyTextIncluded) {
  std::vector<StatusBar::Panel> panels = {{120, "", StatusBar::Bevel::Lowered, StatusBar::Alignment::Left},
                                         {120, "Ready", StatusBar::Bevel::Raised, StatusBar::Alignment::Right},
                                         {100, "", StatusBar::Bevel::None, StatusBar::Alignment::Left}};
  auto* pictured = add<StatusBar>(0, 200, 400, 22);
  pictured->setPanels(panels);
  auto* plain = add<StatusBar>(0, 240, 400, 22);
  plain->setPanels(panels);
  EXPECT_EQ(plain->panelText(1), "Ready");
  skin<SkinStatusBar>(*pictured);
  skin<SkinStatusBar>(*plain, storedSkin());

  // With StatusBarEdges: frame 1 (lowered) composed at the empty panel's size.
  RECT r{};
  ASSERT_TRUE(SendMessageW(pictured->handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&r)));
  const SkinElement& edges = *panelSkin().StatusBarEdges();
  const Image lowered = composeGrid(r.right - r.left, r.bottom - r.top, edges.Image, marginsOf(edges), false, false, 3, 1);
  for (Point at : {Point{1, 1}, Point{2, (int(r.bottom - r.top)) / 2}, Point{int(r.right - r.left) - 2, 1}})
    EXPECT_EQ(pixelAt(pictured->handle(), r.left + at.x, r.top + at.y), ref(lowered.at(at.x, at.y))) << at.x;

  // Without it: the 1-pixel 3-D frame, lowered, raised, none.
  const SkinColors& c = storedSkin().SkinColors();
  const COLORREF shadow = colorToRGB(c.ButtonShadowColor), light = colorToRGB(c.ButtonHilightColor),
                 face = colorToRGB(c.ButtonFaceColor);
  RECT p0{}, p1{}, p2{};
  SendMessageW(plain->handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&p0));
  SendMessageW(plain->handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&p1));
  SendMessageW(plain->handle(), SB_GETRECT, 2, reinterpret_cast<LPARAM>(&p2));
  const HWND h = plain->handle();
  EXPECT_EQ(pixelAt(h, p0.left + 5, p0.top), shadow);
  EXPECT_EQ(pixelAt(h, p0.left + 5, p0.bottom - 1), light);
  EXPECT_EQ(pixelAt(h, p0.left + 5, (p0.top + p0.bottom) / 2), face);
  EXPECT_EQ(pixelAt(h, p1.left + 5, p1.top), light);
  EXPECT_EQ(pixelAt(h, p1.right - 1, p1.top + 1), shadow);
  EXPECT_EQ(pixelAt(h, p2.left + 5, p2.top), face);
}

TEST_F(Panels, EditBorderIsTheShadowRingOverTheBackground) {
  auto* edit = add<Edit>(20, 100, 150, 22);
  skin<SkinEdit>(*edit);
  const HWND h = edit->handle();
  EXPECT_EQ(pixelAt(h, 0, 11), colorToRGB(panelSkin().SkinColors().ButtonShadowColor));
  EXPECT_EQ(pixelAt(h, 75, 0), colorToRGB(panelSkin().SkinColors().ButtonShadowColor));
  // The sunken edge's inner rings take the window DC's brush (white).
  EXPECT_EQ(pixelAt(h, 1, 11), RGB(255, 255, 255));
  SendMessageW(h, WM_NCPAINT, 1, 0);
  EXPECT_EQ(pixelAt(h, 0, 11), colorToRGB(panelSkin().SkinColors().ButtonShadowColor));
}

// The pixels of each tab's outer 3-pixel band inside the strip against the frame the tab
// should show (2 for the selected one), where frames 1 and 2 differ; the count checked.
int checkTabs(HWND h, TabSide side, int selected) {
  const SkinBorderElement& t = *panelSkin().Tabs();
  RECT w{};
  GetWindowRect(h, &w);
  RECT adjusted{0, 0, w.right - w.left, w.bottom - w.top};
  SendMessageW(h, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&adjusted));
  const Rect strip = tabStripRect(int(w.right - w.left), int(w.bottom - w.top), tabPageRect(toRect(adjusted), side), side);
  int checked = 0;
  for (int i = 0; i < int(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0)); ++i) {
    RECT ir{};
    SendMessageW(h, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&ir));
    // Top tabs sit 1 pixel lower in the strip; side tabs are composed lying down and turned.
    const Rect tab = side == TabSide::Top ? offsetRect(toRect(ir), 0, 1) : toRect(ir);
    const bool lying = side == TabSide::Left;
    const int cw = lying ? tab.height() : tab.width(), ch = lying ? tab.width() : tab.height();
    Image frames[2] = {composeGrid(cw, ch, t.Image, marginsOf(t), false, false, 5, 1),
                       composeGrid(cw, ch, t.Image, marginsOf(t), false, false, 5, 2)};
    if (lying) for (Image& f : frames) rotateLeft(f);
    const Image& shown = frames[i == selected ? 1 : 0];
    for (int y = tab.top; y < tab.bottom; ++y)
      for (int x = tab.left; x < tab.right; ++x) {
        const bool band = x - tab.left < 3 || tab.right - x <= 3 || y - tab.top < 3 || tab.bottom - y <= 3;
        if (!band || !rectContains(strip, {x, y}) || frames[0].at(x - tab.left, y - tab.top) == frames[1].at(x - tab.left, y - tab.top))
          continue;
        EXPECT_EQ(pixelAt(h, x, y), ref(shown.at(x - tab.left, y - tab.top))) << i << " at " << x << "," << y;
        ++checked;
      }
  }
  return checked;
}

TEST_F(Panels, TabsShowFrameTwoForTheSelectedTabOnTopAndOnTheLeft) {
  auto* top = add<TabControl>(20, 20, 300, 150);
  top->setTabs({{"One"}, {"Two"}, {"Three"}});
  top->setTabIndex(1);
  auto* left = new TabControl(form);
  left->tabPosition = TabPosition::Left;
  left->setAlign(Align::None);
  left->setParent(form);
  left->setBounds(340, 20, 200, 250);
  left->setTabs({{"One"}, {"Two"}, {"Three"}});
  left->setTabIndex(2);
  ShowWindow(left->handle(), SW_SHOWNA);
  EXPECT_EQ(skin<SkinTab>(*top)->side(), TabSide::Top);
  EXPECT_EQ(skin<SkinTab>(*left)->side(), TabSide::Left);
  EXPECT_GT(checkTabs(top->handle(), TabSide::Top, 1), 20);
  EXPECT_GT(checkTabs(left->handle(), TabSide::Left, 2), 20);
}

// A group box of the system's button class, as the form skinner meets one.
class GroupBoxControl : public WinControl {
 public:
  using WinControl::WinControl;

 protected:
  CreateParams createParams() override {
    CreateParams cp;
    cp.className = L"BUTTON";
    cp.style |= BS_GROUPBOX;
    return cp;
  }
};

TEST_F(Panels, BoxesTakeTheSkinColoursAndSizeGripsPaintNothing) {
  auto* box = add<GroupBoxControl>(20, 20, 150, 80);
  box->setText("Group");
  box->setFont(FontSpec{});
  auto s = std::make_unique<SkinBox>(skinner);
  s->AttachControl(*box, panelSkin(), true, skinner->ControlCanvas);
  skinners.push_back(std::move(s));
  EXPECT_EQ(box->color(), panelSkin().SkinColors().ButtonFaceColor);
  EXPECT_EQ(box->font().desc().color, panelSkin().SkinColors().ButtonTextColor);
  // Whatever changed the colour meanwhile, the next paint has the skin's again.
  FontSpec red = box->font().desc();
  red.color = RGB(255, 0, 0);
  box->font().assign(red);
  SendMessageW(box->handle(), WM_PAINT, 0, 0);
  EXPECT_EQ(box->font().desc().color, panelSkin().SkinColors().ButtonTextColor);

  // The manager refuses scroll-bar controls straight on a skinned form: the grip sits in a panel.
  auto* holder = add<Panel>(200, 20, 40, 40);
  auto* grip = new SizeGrip(holder);
  grip->setParent(holder);
  grip->setBounds(0, 0, 16, 16);
  grip->handle();
  skin<SkinSizer>(*grip);
  EXPECT_EQ(SendMessageW(grip->handle(), WM_ERASEBKGND, 0, 0), 1);
  // The swallowed paint still leaves nothing to paint: no endless WM_PAINT.
  InvalidateRect(grip->handle(), nullptr, TRUE);
  UpdateWindow(grip->handle());
  EXPECT_FALSE(GetUpdateRect(grip->handle(), nullptr, FALSE));
}

// Every kind at once, for a look at the screenshot; VRIN_PANELS_HOLD keeps it on screen.
TEST_F(Panels, Gallery) {
  auto* combo = add<ComboBox>(10, 10, 150, 0);
  combo->setItems({"Letter F"});
  combo->setItemIndex(0);
  auto* edit = add<Edit>(170, 10, 150, 22);
  edit->setText("An edit");
  auto* progress = add<ProgressBar>(330, 14, 200, 14);
  progress->SetMax(100);
  progress->SetPosition(60);
  const auto tabsOn = [&](TabPosition side, int x, int y, int w, int h, ImageList* images = nullptr) {
    auto* t = new TabControl(form);
    t->tabPosition = side;
    t->setImages(images);
    t->setAlign(Align::None);
    t->setParent(form);
    t->setBounds(x, y, w, h);
    t->setTabs({{"History", 4}, {"Options", -1}, {"About", 2}});
    t->setTabIndex(1);
    ShowWindow(t->handle(), SW_SHOWNA);
    skin<SkinTab>(*t);
    return t;
  };
  auto* images = new ImageList(form);
  images->addStrip("IMAGELIST", RGB(255, 0, 255));
  tabsOn(TabPosition::Top, 10, 45, 230, 110);
  tabsOn(TabPosition::Bottom, 250, 45, 230, 110);
  tabsOn(TabPosition::Top, 490, 45, 250, 110, images);
  tabsOn(TabPosition::Left, 10, 165, 230, 180);
  tabsOn(TabPosition::Right, 250, 165, 230, 180);
  auto* header = add<Header>(10, 360, 400, 22);
  header->setSections({{"Left", 120, SectionAlignment::Left}, {"Centre", 120, SectionAlignment::Centre},
                       {"Right", 120, SectionAlignment::Right}});
  auto* status = add<StatusBar>(0, 440, 700, 22);
  status->setPanels({{150, "", StatusBar::Bevel::Lowered}, {150, "Raised", StatusBar::Bevel::Raised},
                     {150, "Centred", StatusBar::Bevel::Lowered, StatusBar::Alignment::Centre}});
  auto* simple = add<StatusBar>(0, 470, 700, 22);
  simple->SetSimpleText("Simple text");
  simple->SetSimplePanel(true);
  skin<SkinComBox>(*combo);
  skin<SkinEdit>(*edit);
  skin<SkinProgress>(*progress);
  skin<SkinHeader>(*header);
  skin<SkinStatusBar>(*status);
  skin<SkinStatusBar>(*simple);
  // The header's items are the Headerbar picture: its first frame's middle in the middle of
  // the part right of the last item.
  const SkinElement& bar = *panelSkin().Headerbar();
  const Image rest = composeGrid(40, 22, bar.Image, marginsOf(bar), false, false, bar.FrameCount, 1);
  EXPECT_EQ(pixelAt(header->handle(), 360 + 20, 11), ref(rest.at(20, 11)));
  if (const char* hold = std::getenv("VRIN_PANELS_HOLD")) pump(DWORD(std::atoi(hold)));
}

}  // namespace
