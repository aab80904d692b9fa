// Skinned windows on real windows: the manager's switching, the frame a skinned form gets, its
// region, its title bar's pixels against the skin's pictures, the title buttons under the
// mouse, message boxes, a skin change, an MDI frame, and windows of odd sizes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "skin/form/nc_objects.h"
#include "skin/form/skin_form.h"
#include "skin/pure/skin_container.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_data.h"
#include "skin/skin_manager.h"
#include "support/source_files.h"
#include "support/win_test_util.h"
#include "ui/application.h"
#include "ui/form.h"

using namespace vrin;
using vrin::test::pumpUntil;
using vrin::test::readFile;
using vrin::test::sourcePath;
using vrin::test::runSoon;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes skinPicture(const std::string& name) { return readFile(sourcePath("resources/skin/" + name)); }

void pump(DWORD ms) {
  const DWORD start = GetTickCount();
  pumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

// One skin data for the whole program, as the history window carries it.
SkinData& skin() {
  static SkinData* data = [] {
    auto* s = new SkinData(nullptr);
    s->beginLoading();
    s->SetActive(true);
    s->ReadSkinStream(writeSkinStream(readFile(sourcePath("resources/skin/vrin.skn"))));
    s->endLoading();
    return s;
  }();
  return *data;
}

SkinManager& manager() {
  skin();
  return *SkinManager::instance();
}

struct TestForm {
  Form* form;
  int closes = 0;
  explicit TestForm(BorderStyle style = BorderStyle::Sizeable, int w = 300, int h = 200) {
    skin();
    form = new Form(nullptr);
    if (application().mainForm() == form) application().setMainForm(nullptr);
    form->borderStyle = style;
    form->setCaption("Skinned");
    form->setBounds(100, 100, 400, 300);
    form->handle();
    form->setClientSize(w, h);
    form->onClose = CloseEvent::fn([this](Component*, CloseAction&) { ++closes; });
  }
  ~TestForm() { delete form; }
  HWND hwnd() const { return form->handle(); }
  SkinForm* skinner() const { return manager().skinnedForm(form->handle()); }
  bool applied() const { return skinner() && skinner()->Phase == phApplied; }
  void showSkinned() {
    form->show();
    ASSERT_TRUE(pumpUntil([&] { return applied(); }, 3000));
    pump(100);
  }
  RECT windowRect() const {
    RECT r{};
    GetWindowRect(form->handle(), &r);
    return r;
  }
  RECT clientRect() const {
    RECT r{};
    GetClientRect(form->handle(), &r);
    return r;
  }
};

// What the window shows at a window coordinate.
COLORREF windowPixel(HWND hwnd, int x, int y) {
  WindowDC dc(hwnd, WindowDC::Area::Window);
  return GetPixel(dc.get(), x, y);
}

COLORREF toColorRef(Pixel p) { return RGB(red(p), green(p), blue(p)); }

// The screen point of a window coordinate.
POINT onScreen(HWND hwnd, int x, int y) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return POINT{r.left + x, r.top + y};
}

LPARAM pointParam(POINT p) { return MAKELPARAM(short(p.x), short(p.y)); }

TEST(SkinManagerSwitch, BeforeTheFirstActivationAtOnce) {
  // No window of this process was activated yet: the loaded skin data switched skinning on.
  ASSERT_FALSE(skin().NoSkin());
  EXPECT_EQ(manager().hookState(), 0);
  EXPECT_TRUE(manager().skinActive());
  EXPECT_FALSE(manager().actionTimerRunning());
}

TEST(SkinFormWindow, FrameRegionAndTitleBarPixels) {
  TestForm t(BorderStyle::ToolWindow, 495, 272);
  t.showSkinned();
  EXPECT_EQ(manager().hookState(), 1);
  const RECT w = t.windowRect();
  EXPECT_EQ(w.right - w.left, 501);
  EXPECT_EQ(w.bottom - w.top, 298);
  const RECT c = t.clientRect();
  EXPECT_EQ(c.right, 495);
  EXPECT_EQ(c.bottom, 272);
  // The caption styles are out: the system draws no buttons of its own.
  EXPECT_FALSE(GetWindowLongPtrW(t.hwnd(), GWL_STYLE) & WS_SYSMENU);

  // The region leaves out the magenta corners of the top picture.
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(t.hwnd(), rgn), ERROR);
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  EXPECT_FALSE(PtInRegion(rgn, 500, 0));
  EXPECT_TRUE(PtInRegion(rgn, 250, 1));
  EXPECT_TRUE(PtInRegion(rgn, 250, 297));
  DeleteObject(rgn);

  // Title-bar pixels where no caption or button covers them: the composed Top border.
  const SkinBorderElement& top = skin().BorderTop();
  const Image border = composeGrid(495, 23, top.Image, {top.LeftWidth, 0, top.RightWidth, 0}, true, false,
                                   top.FrameCount, 1);
  for (int x : {40, 60, 120, 400, 440}) EXPECT_EQ(windowPixel(t.hwnd(), 3 + x, 12), toColorRef(border.at(x, 12))) << x;
  // The left border's picture in the left border.
  const Image left = composeGrid(3, 298, skin().BorderLeft().Image,
                                 {0, skin().BorderLeft().TopHeight, 0, skin().BorderLeft().BottomHeight}, false, false,
                                 2, 1);
  EXPECT_EQ(windowPixel(t.hwnd(), 1, 150), toColorRef(left.at(1, 150)));
}

// A pixel of the close picture where frame `a` and frame `b` differ and neither is magenta.
bool differingPixel(const Image& strip, int frames, int a, int b, int& x, int& y) {
  const int fw = strip.width / frames;
  for (y = 0; y < strip.height; ++y)
    for (x = 0; x < fw; ++x) {
      const Pixel pa = strip.at((a - 1) * fw + x, y) & 0xFFFFFF, pb = strip.at((b - 1) * fw + x, y) & 0xFFFFFF;
      if (pa != pb && pa != kKeyColour && pb != kKeyColour) return true;
    }
  return false;
}

TEST(SkinFormWindow, CloseButtonHotPressedAndReleased) {
  TestForm t(BorderStyle::Sizeable, 300, 200);
  t.showSkinned();
  SkinForm* f = t.skinner();
  ASSERT_NE(f, nullptr);
  SkinTitleButton* close = nullptr;
  for (auto& b : f->titleButtons())
    if (b->Data->Action == 0) close = b.get();
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->Bounds.left, 306 - 24);
  const Image& strip = close->Data->Image;
  int hx = 0, hy = 0, px = 0, py = 0;
  ASSERT_TRUE(differingPixel(strip, 6, 3, 1, hx, hy));
  ASSERT_TRUE(differingPixel(strip, 6, 2, 3, px, py));
  const int fw = strip.width / 6;
  auto shown = [&](int x, int y) { return windowPixel(t.hwnd(), close->Bounds.left + x, close->Bounds.top + y); };
  const POINT over = onScreen(t.hwnd(), close->Bounds.left + 5, 10);
  SetCursorPos(over.x, over.y);
  SendMessageW(t.hwnd(), WM_NCMOUSEMOVE, HTCAPTION, pointParam(over));
  EXPECT_EQ(f->HotObject, close);
  EXPECT_EQ(shown(hx, hy), toColorRef(strip.at(2 * fw + hx, hy)));  // hot frame
  SendMessageW(t.hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, pointParam(over));
  EXPECT_EQ(shown(px, py), toColorRef(strip.at(fw + px, py)));  // pressed frame
  // Released elsewhere: nothing happens.
  const POINT caption = onScreen(t.hwnd(), 150, 10);
  SendMessageW(t.hwnd(), WM_NCLBUTTONUP, HTCAPTION, pointParam(caption));
  pump(100);
  EXPECT_EQ(t.closes, 0);
  EXPECT_TRUE(IsWindowVisible(t.hwnd()));
  // Released over it: the close request goes through the form's close handling.
  SendMessageW(t.hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, pointParam(over));
  SendMessageW(t.hwnd(), WM_NCLBUTTONUP, HTCAPTION, pointParam(over));
  ASSERT_TRUE(pumpUntil([&] { return t.closes == 1; }, 2000));
  EXPECT_FALSE(IsWindowVisible(t.hwnd()));
  // The roll-up picture is drawn but takes no click.
  const POINT rollup = onScreen(t.hwnd(), 12, 10);
  SendMessageW(t.hwnd(), WM_NCMOUSEMOVE, HTCAPTION, pointParam(rollup));
  EXPECT_EQ(f->HotObject, nullptr);
}

TEST(SkinFormWindow, MessageBoxIsSkinnedAsABareWindow) {
  bool skinned = false;
  RECT client{}, frame{};
  runSoon([&] {
    HWND box = nullptr;
    pumpUntil([&] {
      box = FindWindowW(L"#32770", L"Skinned box");
      return box && manager().skinnedForm(box) && manager().skinnedForm(box)->Phase == phApplied;
    }, 3000);
    skinned = box && manager().isSkinnedForm(box);
    if (box) {
      GetClientRect(box, &client);
      GetWindowRect(box, &frame);
      EXPECT_EQ(manager().skinnedForm(box)->form(), nullptr);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  });
  MessageBoxW(nullptr, L"A message", L"Skinned box", MB_OK);
  EXPECT_TRUE(skinned);
  EXPECT_EQ(frame.right - frame.left, client.right + 6);
  EXPECT_EQ(frame.bottom - frame.top, client.bottom + 26);
}

TEST(SkinManagerSwitch, OffRestoresTheSystemFrameOnAgainAfterTheTimer) {
  TestForm t(BorderStyle::Sizeable, 300, 200);
  t.showSkinned();
  skin().SetActive(false);
  EXPECT_TRUE(manager().isSkinnedForm(t.hwnd()));  // 250 ms later
  ASSERT_TRUE(pumpUntil([&] { return !manager().isSkinnedForm(t.hwnd()); }, 2000));
  EXPECT_TRUE(GetWindowLongPtrW(t.hwnd(), GWL_STYLE) & WS_SYSMENU);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(t.hwnd(), rgn), ERROR);
  DeleteObject(rgn);
  const RECT c = t.clientRect(), w = t.windowRect();
  EXPECT_EQ(c.right, 300);
  EXPECT_EQ(c.bottom, 200);
  RECT expected{0, 0, 300, 200};
  AdjustWindowRectEx(&expected, DWORD(GetWindowLongPtrW(t.hwnd(), GWL_STYLE)), FALSE,
                     DWORD(GetWindowLongPtrW(t.hwnd(), GWL_EXSTYLE)));
  EXPECT_EQ(w.right - w.left, expected.right - expected.left);

  const DWORD start = GetTickCount();
  skin().SetActive(true);
  EXPECT_FALSE(manager().isSkinnedForm(t.hwnd()));
  ASSERT_TRUE(pumpUntil([&] { return t.applied(); }, 2000));
  EXPECT_GE(GetTickCount() - start, 200u);
  EXPECT_EQ(t.windowRect().right - t.windowRect().left, 306);
}

// Our skin with 10-pixel side pictures and a 10-pixel bottom (two frames each).
std::string variantSkinFile() {
  std::vector<SkinEntry> entries;
  const Bytes index = skinPicture("index.txt");
  std::string name;
  auto add = [&](const std::string& n) {
    if (n.empty()) return;
    Bytes bytes = skinPicture(n);
    if (n == "left.bmp" || n == "right.bmp") bytes = encodeBmp24(Image(10, 50, rgb(0, 0, 200)));
    if (n == "bottom.bmp") bytes = encodeBmp24(Image(10, 10, rgb(0, 0, 200)));
    entries.push_back({n, bytes});
  };
  for (std::uint8_t ch : index) {
    if (ch == '\n' || ch == '\r') {
      add(name);
      name.clear();
    } else {
      name.push_back(char(ch));
    }
  }
  add(name);
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::string path = narrow(folder) + "variant.skn";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(packSkin(entries).data()),
                                               std::streamsize(packSkin(entries).size()));
  return path;
}

TEST(SkinManagerSwitch, SkinChangeReplacesTheBordersEvenWhileMinimised) {
  TestForm t(BorderStyle::Sizeable, 300, 200);
  t.showSkinned();
  TestForm minimised(BorderStyle::Sizeable, 200, 100);
  minimised.showSkinned();
  ShowWindow(minimised.hwnd(), SW_MINIMIZE);
  pump(100);
  int changed = 0;
  skin().OnSkinChanged = NotifyEvent::fn([&](Component*) { ++changed; });
  skin().SetSkinFile(variantSkinFile());
  ASSERT_FALSE(skin().NoSkin()) << skin().LoadError();
  ASSERT_TRUE(pumpUntil([&] { return changed == 1; }, 2000));
  pump(100);
  EXPECT_EQ(t.skinner()->borders(), (BorderSizes{5, 23, 5, 5}));
  EXPECT_EQ(t.windowRect().right - t.windowRect().left, 310);
  EXPECT_EQ(t.windowRect().bottom - t.windowRect().top, 228);
  EXPECT_EQ(windowPixel(t.hwnd(), 2, 150), RGB(0, 0, 200));
  ShowWindow(minimised.hwnd(), SW_RESTORE);
  pump(200);
  ASSERT_NE(minimised.skinner(), nullptr);
  EXPECT_EQ(minimised.skinner()->borders().left, 5);
  EXPECT_EQ(minimised.clientRect().right, 200);
  // Back to our own skin for the suites after this one.
  skin().OnSkinChanged = {};
  skin().ReadSkinStream(writeSkinStream(readFile(sourcePath("resources/skin/vrin.skn"))));
  manager().ChangedSkinData = &skin();
  manager().request(saSkinChanged);
  pump(400);
  EXPECT_EQ(t.skinner()->borders().left, 3);
}

TEST(SkinFormWindow, OddSizesAndLifetimes) {
  TestForm t(BorderStyle::Sizeable, 300, 200);
  t.showSkinned();
  SetWindowPos(t.hwnd(), nullptr, 0, 0, 20000, 20000, SWP_NOMOVE | SWP_NOZORDER);
  RedrawWindow(t.hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  SetWindowPos(t.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
  RedrawWindow(t.hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  SetWindowPos(t.hwnd(), nullptr, 0, 0, 306, 226, SWP_NOMOVE | SWP_NOZORDER);
  pump(100);
  EXPECT_EQ(t.clientRect().right, 300);

  // The skin switched off while a title button is held.
  SkinForm* f = t.skinner();
  const POINT over = onScreen(t.hwnd(), f->titleButtons()[3]->Bounds.left + 4, 8);
  SetCursorPos(over.x, over.y);
  SendMessageW(t.hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, pointParam(over));
  skin().SetActive(false);
  ASSERT_TRUE(pumpUntil([&] { return !manager().isSkinnedForm(t.hwnd()); }, 2000));
  SendMessageW(t.hwnd(), WM_NCLBUTTONUP, HTCAPTION, pointParam(over));
  pump(100);
  EXPECT_EQ(t.closes, 0);
  skin().SetActive(true);
  ASSERT_TRUE(pumpUntil([&] { return t.applied(); }, 2000));

  // A window destroyed while its hover timer runs and a button is hot.
  {
    TestForm gone(BorderStyle::Sizeable, 200, 100);
    gone.showSkinned();
    SkinForm* g = gone.skinner();
    ASSERT_TRUE(g->hoverTimerRunning());
    const POINT hot = onScreen(gone.hwnd(), g->titleButtons()[3]->Bounds.left + 4, 8);
    SetCursorPos(hot.x, hot.y);
    SendMessageW(gone.hwnd(), WM_NCMOUSEMOVE, HTCAPTION, pointParam(hot));
  }
  pump(600);
  EXPECT_EQ(manager().skinnedForm(nullptr), nullptr);

  // A borderless popup gets no skinned frame.
  TestForm bare(BorderStyle::None, 120, 80);
  bare.showSkinned();
  EXPECT_EQ(bare.skinner()->borders(), BorderSizes{});
  EXPECT_EQ(bare.windowRect().right - bare.windowRect().left, 120);
}

// A raw MDI frame with its client and children.
LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  static HWND client = nullptr;
  if (msg == WM_CREATE) {
    CLIENTCREATESTRUCT ccs{nullptr, 1000};
    client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 0, hwnd,
                             nullptr, moduleInstance(), &ccs);
  }
  return DefFrameProcW(hwnd, client, msg, wp, lp);
}

LRESULT CALLBACK childProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefMDIChildProcW(hwnd, msg, wp, lp); }

TEST(SkinFormMdi, MaximisedChildAndReleasedChild) {
  skin();
  WNDCLASSW frame{};
  frame.lpfnWndProc = frameProc;
  frame.hInstance = moduleInstance();
  frame.lpszClassName = L"VrinTestMdiFrame";
  frame.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  RegisterClassW(&frame);
  WNDCLASSW child = frame;
  child.lpfnWndProc = childProc;
  child.lpszClassName = L"VrinTestMdiChild";
  RegisterClassW(&child);
  HWND f = CreateWindowExW(0, L"VrinTestMdiFrame", L"Frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 50, 50, 500, 400,
                           nullptr, nullptr, moduleInstance(), nullptr);
  ShowWindow(f, SW_SHOW);
  SetForegroundWindow(f);
  ASSERT_TRUE(pumpUntil([&] { return manager().skinnedForm(f) && manager().skinnedForm(f)->Phase == phApplied; }));
  EXPECT_EQ(manager().skinnedForm(f)->MdiKind, 1);
  HWND client = FindWindowExW(f, nullptr, L"MDIClient", nullptr);
  MDICREATESTRUCTW mcs{L"VrinTestMdiChild", L"Child", moduleInstance(), 0, 0, 200, 150, WS_OVERLAPPEDWINDOW, 0};
  HWND c = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ASSERT_NE(c, nullptr);
  SendMessageW(client, WM_MDIREFRESHMENU, 0, 0);
  ASSERT_TRUE(pumpUntil([&] { return manager().skinnedForm(c) && manager().skinnedForm(c)->Phase == phApplied; }));
  EXPECT_EQ(manager().skinnedForm(c)->MdiKind, 2);
  EXPECT_FALSE(GetWindowLongPtrW(c, GWL_STYLE) & WS_SYSMENU);
  // Maximised, the child keeps the system's caption buttons (the frame's menu bar shows them).
  SendMessageW(client, WM_MDIMAXIMIZE, WPARAM(c), 0);
  RedrawWindow(f, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_TRUE(pumpUntil([&] { return manager().mdiMaximized(); }, 2000));
  EXPECT_TRUE(GetWindowLongPtrW(c, GWL_STYLE) & WS_SYSMENU);
  SendMessageW(client, WM_MDIDESTROY, WPARAM(c), 0);
  EXPECT_EQ(manager().skinnedForm(c), nullptr);
  EXPECT_FALSE(manager().mdiMaximized());
  DestroyWindow(f);
  EXPECT_EQ(manager().skinnedForm(f), nullptr);
}

}  // namespace
