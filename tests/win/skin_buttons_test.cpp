// The button family on a skinned form: the framework's buttons (mouse enter and leave,
// graphic speed buttons, radio groups) and their skinners, pixels checked against the skin's
// own pictures.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "skin/controls/boxes.h"
#include "skin/controls/buttons.h"
#include "skin/controls/check_radio.h"
#include "skin/controls/control_paint.h"
#include "skin/form/skin_form.h"
#include "skin/pure/control_layout.h"
#include "skin/pure/skin_container.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_data.h"
#include "skin/skin_manager.h"
#include "support/source_files.h"
#include "support/win_test_util.h"
#include "ui/application.h"
#include "ui/buttons.h"
#include "ui/form.h"
#include "ui/geometry_win.h"
#include "ui/stdctrls.h"

using namespace vrin;
using vrin::test::gdiObjects;
using vrin::test::pumpUntil;
using vrin::test::readFile;
using vrin::test::sourcePath;

namespace {

// Our skin from its source pictures, lines of its settings text replaced as `edits` say.
SkinData* loadSkin(bool active, const std::vector<std::pair<std::string, std::string>>& edits = {}) {
  std::vector<SkinEntry> entries;
  const std::vector<std::uint8_t> list = readFile(sourcePath("resources/skin/index.txt"));
  std::istringstream index(std::string(list.begin(), list.end()));
  for (std::string name; std::getline(index, name);) {
    while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
    if (name.empty()) continue;
    std::vector<std::uint8_t> bytes = readFile(sourcePath("resources/skin/" + name));
    if (name == "vrinset.ini") {
      std::string text(bytes.begin(), bytes.end());
      for (const auto& [from, to] : edits) text.replace(text.find(from), from.size(), to);
      bytes.assign(text.begin(), text.end());
    }
    entries.push_back({name, std::move(bytes)});
  }
  auto* s = new SkinData(nullptr);
  s->beginLoading();
  s->SetActive(active);
  s->ReadSkinStream(writeSkinStream(packSkin(entries)));
  s->endLoading();
  return s;
}
SkinData& buttonSkin() {
  static SkinData* data = loadSkin(true);
  return *data;
}
SkinData& skinWithoutButtons() {
  static SkinData* data =
      loadSkin(false, {{"Bitmap=buttons.bmp", "Bitmap="}, {"CheckButton=check.bmp", "CheckButton="}});
  return *data;
}

void pump(DWORD ms) {
  const DWORD start = GetTickCount();
  pumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

// What a window shows, its frame included.
Image capture(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  Bitmap shot(r.right - r.left, r.bottom - r.top);
  WindowDC dc(hwnd, WindowDC::Area::Window);
  BitBlt(shot.dc(), 0, 0, shot.width(), shot.height(), dc.get(), 0, 0, SRCCOPY);
  return shot.toImage();
}
Image part(const Image& from, const Rect& r) {
  Image out(r.width(), r.height());
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.at(x, y) = from.at(r.left + x, r.top + y);
  return out;
}
Pixel pixel(COLORREF c) { return rgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

// The Buttons frame as the skin composes it at that size over the face colour.
Image buttonFrame(int w, int h, int frame) {
  const SkinButtonElement& b = buttonSkin().Buttons();
  Image out(w, h, pixelOf(buttonSkin().SkinColors().ButtonFaceColor));
  drawTransparent(out, {0, 0, w, h},
                  composeGrid(w, h, b.Image, {b.LeftWidth, b.TopHeight, b.RightWidth, b.BottomHeight}, false,
                              b.Tile != 0, 5, frame));
  return out;
}
// Pixels of the outer 4-pixel band (where no caption goes) that equal the expected picture,
// and how many there are.
std::pair<int, int> bandMatches(const Image& shown, const Image& expected) {
  int same = 0, all = 0;
  for (int y = 0; y < expected.height; ++y)
    for (int x = 0; x < expected.width; ++x) {
      if (x >= 4 && y >= 4 && x < expected.width - 4 && y < expected.height - 4) continue;
      ++all;
      same += shown.at(x, y) == expected.at(x, y);
    }
  return {same, all};
}
#define EXPECT_FRAME(shown, expected)                    \
  do {                                                   \
    const auto m = bandMatches(shown, expected);         \
    EXPECT_EQ(m.first, m.second) << "band pixels equal"; \
  } while (0)

// The check or radio frame cut from its strip, over the face colour.
Image boxFrame(const Image& strip, int frames, int frame) {
  const Image cut = cutFrame(strip, frames, frame, false);
  Image out(cut.width, cut.height, pixelOf(buttonSkin().SkinColors().ButtonFaceColor));
  drawTransparent(out, {0, 0, cut.width, cut.height}, cut);
  return out;
}

TEST(GdiCount, SeesObjectsComeAndGo) {
  const DWORD before = gdiObjects();
  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 10; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
  EXPECT_EQ(gdiObjects(), before + 10);
  for (HBRUSH b : brushes) DeleteObject(b);
  EXPECT_EQ(gdiObjects(), before);
  EXPECT_GT(before, 10u);
}

class Buttons : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(buttonSkin().NoSkin()) << buttonSkin().LoadError();
    form = new Form(nullptr);
    if (application().mainForm() == form) application().setMainForm(nullptr);
    form->setCaption("Buttons");
    form->setBounds(10, 10, 640, 420);
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
  C* add(int x, int y, int w, int h, WinControl* parent = nullptr) {
    auto* c = new C(form);
    c->setParent(parent ? parent : form);
    c->setBounds(x, y, w, h);
    c->handle();
    return c;
  }
  template <class S>
  S* skin(WinControl& control, SkinData& data = buttonSkin()) {
    auto s = std::make_unique<S>(skinner);
    s->AttachControl(control, data, false, skinner->ControlCanvas);
    S* raw = s.get();
    skinners.push_back(std::move(s));
    RedrawWindow(control.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    pump(50);
    return raw;
  }
  Form* form = nullptr;
  SkinForm* skinner = nullptr;
  std::vector<std::unique_ptr<SkinControl>> skinners;
};

TEST_F(Buttons, PressDrawsFrameTwoWithoutReachingTheButtonAndTheReleaseClicksOnce) {
  auto* button = add<Button>(20, 20, 100, 28);
  button->setCaption("Press");
  int clicks = 0;
  button->onClick = NotifyEvent::fn([&](Component*) { ++clicks; });
  SkinButton* s = skin<SkinButton>(*button);
  const HWND h = button->handle();
  EXPECT_FRAME(capture(h), buttonFrame(100, 28, 1));

  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_TRUE(s->pressed());
  EXPECT_FRAME(capture(h), buttonFrame(100, 28, 2));
  // The button's own handling would have captured the mouse and shown itself pushed.
  EXPECT_NE(GetCapture(), h);
  EXPECT_EQ(SendMessageW(h, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  EXPECT_EQ(GetFocus(), h);

  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  pump(100);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(s->pressed());
  EXPECT_FRAME(capture(h), buttonFrame(100, 28, 4));  // focused

  // A release whose press began elsewhere clicks nothing.
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  pump(100);
  EXPECT_EQ(clicks, 1);
}

LRESULT CALLBACK countCommand(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  if (msg == WM_COMMAND && wp == MAKEWPARAM(42, BN_CLICKED) && lp) ++*reinterpret_cast<int*>(data);
  return DefSubclassProc(h, msg, wp, lp);
}

TEST_F(Buttons, ABareButtonClicksItsParentWithItsControlId) {
  const HWND bare = CreateWindowExW(0, L"BUTTON", L"Bare", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 100, 28,
                                    form->handle(), reinterpret_cast<HMENU>(42), moduleInstance(), nullptr);
  ASSERT_TRUE(bare);
  int commands = 0;
  SetWindowSubclass(form->handle(), &countCommand, 1, reinterpret_cast<DWORD_PTR>(&commands));
  auto s = std::make_unique<SkinButton>(skinner);
  s->AttachWindow(bare, buttonSkin(), skinner->ControlCanvas);
  SendMessageW(bare, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_FRAME(capture(bare), buttonFrame(100, 28, 2));
  SendMessageW(bare, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  pump(100);
  EXPECT_EQ(commands, 1);
  // Destroying the window lets the skinner go with it.
  DestroyWindow(bare);
  EXPECT_FALSE(s->attached());
  RemoveWindowSubclass(form->handle(), &countCommand, 1);
}

TEST_F(Buttons, DisabledButtonDrawsFrameThreeAndItsCaptionInTheShadowColour) {
  auto* button = add<Button>(20, 20, 120, 30);
  button->setCaption("Disabled");
  SkinButton* s = skin<SkinButton>(*button);
  button->setEnabled(false);
  SendMessageW(button->handle(), CM_MOUSEENTER, 0, 0);
  s->RepaintSkin();
  const Image shown = capture(button->handle());
  const Image expected = buttonFrame(120, 30, 3);
  EXPECT_FRAME(shown, expected);
  int text = 0, shadow = 0;
  for (int i = 0; i < int(expected.pixels.size()); ++i) {
    if (shown.pixels[i] == expected.pixels[i]) continue;
    ++text;
    shadow += shown.pixels[i] == pixel(GetSysColor(COLOR_BTNSHADOW));
  }
  EXPECT_GT(text, 20);
  EXPECT_EQ(shadow, text);
}

TEST_F(Buttons, CheckBoxFramesFollowTheStateAndTheRightAlignedBoxEndsInsideTheEdge) {
  auto* box = add<CheckBox>(20, 20, 150, 24);
  box->setCaption("Left box");
  box->SetAllowGrayed(true);
  auto* right = new CheckBox(form);
  right->SetAlignment(CheckAlignment::LeftJustify);
  right->setParent(form);
  right->setBounds(20, 60, 150, 24);
  right->setCaption("Right box");
  skin<SkinCheckBox>(*box);
  skin<SkinCheckBox>(*right);
  const SkinButtonElement& b = buttonSkin().Buttons();
  const int w = stripFrameWidth(b.CheckImage.width, b.CheckFrames), hgt = b.CheckImage.height;
  ASSERT_GE(w, 15);
  const Rect left = checkBoxRect(150, 24, w, hgt, false);
  EXPECT_EQ(left.left, 0);
  const auto shows = [&](CheckBox* c, const Rect& at, int frame) {
    return part(capture(c->handle()), at) == boxFrame(b.CheckImage, b.CheckFrames, frame);
  };
  EXPECT_TRUE(shows(box, left, 1));
  // A click goes through checked, grayed and back.
  SendMessageW(box->handle(), BM_CLICK, 0, 0);
  pump(50);
  EXPECT_EQ(box->State(), CheckBoxState::Checked);
  EXPECT_TRUE(shows(box, left, 2));
  SendMessageW(box->handle(), BM_CLICK, 0, 0);
  pump(50);
  EXPECT_EQ(box->State(), CheckBoxState::Grayed);
  EXPECT_TRUE(shows(box, left, 4));
  box->setEnabled(false);
  EXPECT_TRUE(shows(box, left, 3));

  const Rect end = checkBoxRect(150, 24, w, hgt, true);
  EXPECT_EQ(end.right, 150 - 1);
  EXPECT_TRUE(shows(right, end, 1));
}

TEST_F(Buttons, RadioGroupChecksOneButtonAndADisabledCheckedRadioDrawsFrameFour) {
  auto* group = add<RadioGroup>(20, 20, 200, 110);
  group->setCaption("Group");
  group->SetItems({"One", "Two", "Three"});
  int clicks = 0;
  group->onClick = NotifyEvent::fn([&](Component*) { ++clicks; });
  ASSERT_EQ(group->buttons().size(), 3u);
  // The click travels from the radio button through the group box to the framework.
  SendMessageW(group->buttons()[1]->handle(), BM_CLICK, 0, 0);
  pump(50);
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_EQ(clicks, 1);
  SendMessageW(group->buttons()[2]->handle(), BM_CLICK, 0, 0);
  pump(50);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_FALSE(group->buttons()[1]->Checked());
  EXPECT_TRUE(group->buttons()[2]->Checked());

  RadioButton* radio = group->buttons()[2];
  radio->setEnabled(false);
  skin<SkinRadioButton>(*radio);
  const SkinButtonElement& b = buttonSkin().Buttons();
  const int w = stripFrameWidth(b.RadioImage.width, b.RadioFrames);
  const Rect at = checkBoxRect(radio->width(), radio->height(), w, b.RadioImage.height, false);
  EXPECT_EQ(part(capture(radio->handle()), at), boxFrame(b.RadioImage, b.RadioFrames, 4));
}

// Glyph strip of two 16 x 16 pictures, each a frame in one colour with a key-coloured inside.
Image twoGlyphs() {
  Image strip(32, 16, rgb(255, 0, 255));
  for (int g = 0; g < 2; ++g)
    for (int i = 0; i < 16; ++i) {
      const Pixel c = g == 0 ? rgb(0, 128, 0) : rgb(0, 0, 200);
      strip.at(g * 16 + i, 0) = strip.at(g * 16 + i, 15) = strip.at(g * 16, i) = strip.at(g * 16 + 15, i) = c;
    }
  strip.at(0, 15) = rgb(255, 0, 255);  // the bottom-left pixel names the transparent colour
  return strip;
}

TEST_F(Buttons, BitButtonSpreadsItsGlyphWithMarginAndSpacingMinusOne) {
  auto* bit = add<BitButton>(20, 20, 100, 26);
  bit->setCaption("Go");
  bit->setGlyph(twoGlyphs());
  bit->SetNumGlyphs(2);
  bit->SetSpacing(-1);
  skin<SkinBitButton>(*bit);
  RECT text{0, 0, 0, 0};
  {
    WindowDC dc(nullptr);
    SelectScope font(dc.get(), bit->font().handle());
    DrawTextW(dc.get(), L"Go", 2, &text, DT_CALCRECT | DT_SINGLELINE);
  }
  // Margin and spacing (100 - (16 + caption)) div 3; across, (26 - 16 + 1) div 2 = 5.
  const int x = (100 - (16 + int(text.right))) / 3;
  const Image shown = capture(bit->handle());
  const Pixel green = rgb(0, 128, 0);
  EXPECT_EQ(shown.at(x, 5), green);
  EXPECT_EQ(shown.at(x + 15, 20), green);
  EXPECT_NE(shown.at(x - 1, 10), green);
  EXPECT_NE(shown.at(x, 20), green);  // the strip's bottom-left colour is left out
}

TEST_F(Buttons, SpeedButtonsAreGraphicControlsTheSkinDrawsOnTheirParent) {
  auto* holder = add<Panel>(20, 20, 300, 80);
  auto* a = new SpeedButton(form);
  a->setParent(holder);
  a->setBounds(10, 10, 60, 30);
  a->SetGroupIndex(1);
  auto* b = new SpeedButton(form);
  b->setParent(holder);
  b->setBounds(80, 10, 60, 30);
  b->SetGroupIndex(1);
  b->SetFlat(true);
  int clicks = 0;
  a->onClick = NotifyEvent::fn([&](Component*) { ++clicks; });

  // The parent routes the mouse: enter and leave as it moves, press and release as a click.
  const HWND p = holder->handle();
  SendMessageW(p, WM_MOUSEMOVE, 0, MAKELPARAM(90, 20));
  EXPECT_TRUE(b->mouseInside());
  SendMessageW(p, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  EXPECT_FALSE(b->mouseInside());
  EXPECT_TRUE(a->mouseInside());
  SendMessageW(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageW(p, WM_LBUTTONUP, 0, MAKELPARAM(21, 21));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(a->Down());
  SendMessageW(p, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(a->mouseInside());
  b->SetDown(true);
  EXPECT_FALSE(a->Down());

  auto sb = std::make_unique<SkinSpeedButton>(skinner);
  sb->AttachSpeedButton(*b, buttonSkin(), skinner->ControlCanvas);
  auto sa = std::make_unique<SkinSpeedButton>(skinner);
  sa->AttachSpeedButton(*a, buttonSkin(), skinner->ControlCanvas);
  a->setGlyph(twoGlyphs());
  a->SetNumGlyphs(2);
  a->setCaption("A");
  UpdateWindow(p);
  pump(50);
  const Image shown = capture(p);
  // Down b shows frame 2 whatever else; a is up: frame 1 and the first glyph.
  EXPECT_FRAME(part(shown, {80, 10, 140, 40}), buttonFrame(60, 30, 2));
  const Image up = part(shown, {10, 10, 70, 40});
  EXPECT_FRAME(up, buttonFrame(60, 30, 1));
  int green = 0, blue = 0;
  for (Pixel px : up.pixels) {
    green += px == rgb(0, 128, 0);
    blue += px == rgb(0, 0, 200);
  }
  EXPECT_GT(green, 30);
  EXPECT_EQ(blue, 0);

  // A press through the parent draws frame 2 and the button still clicks itself once.
  SendMessageW(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  EXPECT_FRAME(part(capture(p), {10, 10, 70, 40}), buttonFrame(60, 30, 2));
  SendMessageW(p, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(clicks, 2);
  // The button going first leaves the skinner nothing to touch.
  delete b;
  EXPECT_EQ(sb->speedButton(), nullptr);
  sb.reset();
  sa.reset();
  EXPECT_EQ(SendMessageW(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20)), 0);
  SendMessageW(p, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(clicks, 3);

  // A button whose click frees it: nothing touches it afterwards.
  auto* gone = new SpeedButton(form);
  gone->setParent(holder);
  gone->setBounds(150, 10, 60, 30);
  gone->onClick = NotifyEvent::fn([&](Component*) { delete gone; });
  auto sg = std::make_unique<SkinSpeedButton>(skinner);
  sg->AttachSpeedButton(*gone, buttonSkin(), skinner->ControlCanvas);
  SendMessageW(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(160, 20));
  SendMessageW(p, WM_LBUTTONUP, 0, MAKELPARAM(160, 20));
  EXPECT_EQ(holder->graphicChildren().size(), 1u);
  EXPECT_EQ(sg->speedButton(), nullptr);
}

LRESULT CALLBACK countEnabledChanged(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  if (msg == CM_ENABLEDCHANGED) ++*reinterpret_cast<int*>(data);
  return DefSubclassProc(h, msg, wp, lp);
}

TEST_F(Buttons, WindowsHearTheMouseComeAndGoAndEnabledChanges) {
  auto* one = add<Button>(20, 20, 100, 28);
  auto* two = add<Button>(140, 20, 100, 28);
  SkinButton* s1 = skin<SkinButton>(*one);
  SkinButton* s2 = skin<SkinButton>(*two);
  SendMessageW(one->handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(s1->hot());
  // Moving onto the other window is heard by the first as CM_MOUSELEAVE, at once.
  SendMessageW(two->handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(s1->hot());
  EXPECT_TRUE(s2->hot());
  EXPECT_FRAME(capture(two->handle()), buttonFrame(100, 28, 4));
  // The real pointer: onto the first button, then out of every window of ours.
  RECT r{};
  GetWindowRect(one->handle(), &r);
  SetCursorPos(r.left + 10, r.top + 10);
  EXPECT_TRUE(pumpUntil([&] { return s1->hot() && !s2->hot(); }, 2000));
  SetCursorPos(2, GetSystemMetrics(SM_CYSCREEN) - 2);
  EXPECT_TRUE(pumpUntil([&] { return !s1->hot(); }, 2000));

  int changes = 0;
  SetWindowSubclass(one->handle(), &countEnabledChanged, 1, reinterpret_cast<DWORD_PTR>(&changes));
  one->setEnabled(false);
  one->setEnabled(false);
  one->setProperty("Enabled", PropValue::ofInt(1));
  EXPECT_TRUE(IsWindowEnabled(one->handle()));
  RemoveWindowSubclass(one->handle(), &countEnabledChanged, 1);
  EXPECT_EQ(changes, 2);
}

TEST_F(Buttons, ASkinWithoutButtonsPictureLeavesButtonsToThemselves) {
  ASSERT_TRUE(skinWithoutButtons().Buttons().Image.empty());
  auto* button = add<Button>(20, 20, 100, 28);
  button->setCaption("Plain");
  auto* bit = add<BitButton>(140, 20, 100, 28);
  bit->setCaption("Bit");
  auto* check = add<CheckBox>(20, 60, 100, 22);
  check->SetChecked(true);
  pump(50);
  const Image before = capture(button->handle()), bitBefore = capture(bit->handle()),
              checkBefore = capture(check->handle());
  skin<SkinButton>(*button, skinWithoutButtons());
  skin<SkinBitButton>(*bit, skinWithoutButtons());
  skin<SkinCheckBox>(*check, skinWithoutButtons());
  EXPECT_EQ(capture(button->handle()), before);
  EXPECT_EQ(capture(bit->handle()), bitBefore);
  EXPECT_EQ(capture(check->handle()), checkBefore);
}

TEST_F(Buttons, TenThousandRepaintsOfEachSkinnerKeepTheGdiObjectCount) {
  auto* button = add<Button>(20, 20, 100, 28);
  button->setCaption("Button");
  auto* bit = add<BitButton>(20, 60, 120, 30);
  bit->setCaption("Bit");
  bit->setGlyph(twoGlyphs());
  auto* check = add<CheckBox>(20, 100, 120, 24);
  auto* radio = add<RadioButton>(20, 130, 120, 24);
  auto* holder = add<Panel>(200, 20, 100, 60);
  auto* speed = new SpeedButton(form);
  speed->setParent(holder);
  speed->setBounds(5, 5, 60, 30);
  std::vector<SkinControl*> all = {skin<SkinButton>(*button), skin<SkinBitButton>(*bit), skin<SkinCheckBox>(*check),
                                   skin<SkinRadioButton>(*radio)};
  auto s = std::make_unique<SkinSpeedButton>(skinner);
  s->AttachSpeedButton(*speed, buttonSkin(), skinner->ControlCanvas);
  all.push_back(s.get());
  skinners.push_back(std::move(s));
  for (SkinControl* c : all) c->RepaintSkin();  // the first paint may make lasting objects
  const DWORD before = gdiObjects();
  for (SkinControl* c : all)
    for (int i = 0; i < 10000; ++i) c->RepaintSkin();
  const DWORD after = gdiObjects();
  std::cout << "GDI objects before " << before << ", after 5 x 10000 repaints " << after << "\n";
  EXPECT_EQ(after, before);
}

}  // namespace

namespace {

// One of each kind and state, skinned, for a look at the screenshot; VRIN_BUTTONS_HOLD keeps
// it on screen that many milliseconds.
TEST_F(Buttons, Gallery) {
  Bitmap pictures;
  pictures.loadFromResource("IMAGELIST");
  const Image strip = pictures.toImage();
  ASSERT_GE(strip.width, 48);
  const Image glyphs = part(strip, {16, 0, 48, 16});  // two pictures: up and disabled
  const auto push = [&](int x, int y, const char* text, bool isDefault, bool enabled) {
    auto* b = add<Button>(x, y, 90, 26);
    b->setCaption(text);
    b->SetDefault(isDefault);
    b->setEnabled(enabled);
    skin<SkinButton>(*b);
    return b;
  };
  push(10, 10, "Normal", false, true);
  push(110, 10, "Default", true, true);
  Button* disabled = push(210, 10, "Disabled", false, false);
  const ButtonLayout layouts[] = {ButtonLayout::GlyphLeft, ButtonLayout::GlyphRight, ButtonLayout::GlyphTop,
                                  ButtonLayout::GlyphBottom};
  for (int i = 0; i < 4; ++i) {
    auto* b = add<BitButton>(10 + i * 100, 50, 90, 50);
    b->setCaption("Layout " + std::to_string(i));
    b->setGlyph(glyphs);
    b->SetNumGlyphs(2);
    b->SetLayout(layouts[i]);
    skin<SkinBitButton>(*b);
  }
  auto* spread = add<BitButton>(410, 50, 100, 26);
  spread->setCaption("Spread");
  spread->setGlyph(glyphs);
  spread->SetNumGlyphs(2);
  spread->SetSpacing(-1);
  skin<SkinBitButton>(*spread);
  auto* margin = add<BitButton>(410, 80, 100, 26);
  margin->setCaption("Margin 2");
  margin->setGlyph(glyphs);
  margin->SetNumGlyphs(2);
  margin->SetMargin(2);
  skin<SkinBitButton>(*margin);

  auto* bar = add<Panel>(10, 110, 300, 40);
  std::vector<std::unique_ptr<SkinSpeedButton>> speeds;
  const auto speed = [&](int x, const char* text, bool down, bool flat, bool enabled) {
    auto* s = new SpeedButton(form);
    s->setParent(bar);
    s->setBounds(x, 5, 70, 30);
    s->setCaption(text);
    s->SetGroupIndex(down ? 1 : 0);
    s->SetDown(down);
    s->SetFlat(flat);
    s->setEnabled(enabled);
    auto k = std::make_unique<SkinSpeedButton>(skinner);
    k->AttachSpeedButton(*s, buttonSkin(), skinner->ControlCanvas);
    skinners.push_back(std::move(k));
  };
  speed(5, "Down", true, false, true);
  speed(80, "Flat", false, true, true);
  speed(155, "Off", false, false, false);

  const auto check = [&](int y, const char* text, CheckBoxState state, bool enabled, bool right) {
    auto* c = new CheckBox(form);
    c->setParent(form);
    if (right) c->SetAlignment(CheckAlignment::LeftJustify);
    c->setBounds(10, y, 160, 22);
    c->setCaption(text);
    c->SetAllowGrayed(true);
    c->SetState(state);
    c->setEnabled(enabled);
    skin<SkinCheckBox>(*c);
  };
  check(160, "Checked", CheckBoxState::Checked, true, false);
  check(185, "Indeterminate", CheckBoxState::Grayed, true, false);
  check(210, "Disabled", CheckBoxState::Checked, false, false);
  check(235, "Box on the right", CheckBoxState::Unchecked, true, true);
  auto* radio = add<RadioButton>(200, 160, 150, 22);
  radio->setCaption("Radio");
  radio->SetChecked(true);
  skin<SkinRadioButton>(*radio);
  auto* group = add<RadioGroup>(200, 190, 180, 100);
  group->setCaption("Radio group");
  group->SetItems({"First", "Second", "Third"});
  group->SetItemIndex(1);
  for (RadioButton* r : group->buttons()) skin<SkinRadioButton>(*r);
  auto box = std::make_unique<SkinBox>(skinner);
  box->AttachControl(*group, buttonSkin(), true, skinner->ControlCanvas);
  skinners.push_back(std::move(box));
  RedrawWindow(form->handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pump(200);
  EXPECT_FRAME(capture(disabled->handle()), buttonFrame(90, 26, 3));
  EXPECT_FRAME(part(capture(bar->handle()), {5, 5, 75, 35}), buttonFrame(70, 30, 2));
  // The buffered group box (it paints only its edge and caption) keeps what lies under its
  // unpainted parts: no black between its edge and its radio buttons.
  const Image boxShown = capture(group->handle());
  int black = 0;
  for (int y = 14; y < boxShown.height - 3; ++y)
    for (int x = 2; x < 8; ++x) black += boxShown.at(x, y) == 0;
  EXPECT_EQ(black, 0);
  if (const char* hold = std::getenv("VRIN_BUTTONS_HOLD")) pump(DWORD(std::atoi(hold)));
}

}  // namespace
