// The balloon standing in for the application's hint: the hint window class it installs and
// gives back, and a control's hint shown as a balloon under the mouse.
#include <gtest/gtest.h>

#include <fstream>

#include "core/bmp.h"
#include "support/balloon_fixture.h"
#include "support/menu_capture.h"
#include "ui/stdctrls.h"

using namespace vrin;
using namespace vrin::test;

namespace {
HintWindow* plainHint(Component* owner) { return new HintWindow(owner); }

// Pumps through the application's loop (which tracks the mouse for hints) for a while or
// until `done`.
bool pumpApplication(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    application().processMessages();
    Sleep(5);
  }
  return true;
}

// Pixels of `shot` at (x, y) that differ from `picture`.
int differences(const Image& shot, const Image& picture, int x, int y) {
  int n = 0;
  for (int j = 0; j < picture.height; ++j)
    for (int i = 0; i < picture.width; ++i) n += (shot.at(x + i, y + j) & 0xFFFFFF) != (picture.at(i, j) & 0xFFFFFF);
  return n;
}

// Pixels in the text colour inside a box of `shot`.
int textPixels(const Image& shot, int left, int top, int right, int bottom) {
  const COLORREF c = GetSysColor(COLOR_INFOTEXT);
  const Pixel want = rgb(GetRValue(c), GetGValue(c), GetBValue(c));
  int n = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) n += (shot.at(x, y) & 0xFFFFFF) == want;
  return n;
}
}  // namespace

TEST_F(BalloonTest, AsTheApplicationHintItSwapsTheHintWindowClassAndGivesItBack) {
  Application& app = application();
  const HintWindowClass original = app.hintWindowClass();
  app.setHintWindowClass(&plainHint);
  const ApplicationHintOptions on = pop->applicationHintOptions().with(ahUseBalloonAsHint);
  pop->setApplicationHintOptions(on);
  EXPECT_EQ(app.hintWindowClass(), &BalloonWindow::create);
  pop->setApplicationHintOptions(on.without(ahUseBalloonAsHint));
  EXPECT_EQ(app.hintWindowClass(), &plainHint);
  pop->setProperty("ApplicationHintOptions", PropValue::ofInt(1 << ahUseBalloonAsHint));  // as the store does
  EXPECT_EQ(app.hintWindowClass(), &BalloonWindow::create);

  // A newer component becoming current takes the option away: the saved class comes back,
  // and the older one can no longer switch it on.
  auto* newer = new BalloonHint(form.get());
  EXPECT_FALSE(pop->applicationHintOptions().has(ahUseBalloonAsHint));
  EXPECT_EQ(app.hintWindowClass(), &plainHint);
  pop->setApplicationHintOptions(on);
  EXPECT_FALSE(pop->applicationHintOptions().has(ahUseBalloonAsHint));
  EXPECT_EQ(app.hintWindowClass(), &plainHint);

  // Destroying the component that installed it gives the class back.
  newer->setApplicationHintOptions({ahUseBalloonAsHint});
  EXPECT_EQ(app.hintWindowClass(), &BalloonWindow::create);
  delete newer;
  EXPECT_EQ(app.hintWindowClass(), &plainHint);
  app.setHintWindowClass(original);
}

TEST_F(BalloonTest, AsTheApplicationHintAControlsHintShowsAsABalloonUnderTheMouse) {
  Application& app = application();
  app.hintPause = 50;
  auto* panel = new Panel(form.get());
  panel->setParent(form.get());
  panel->setBounds(20, 20, 200, 100);
  panel->setHint("Press this shortcut to close the browser\nand clear your traces !");
  ShowWindow(formWnd, SW_SHOWNOACTIVATE);
  UpdateWindow(formWnd);
  HWND panelWnd = panel->handle();
  POINT cursor{100, 50};
  ClientToScreen(panelWnd, &cursor);
  SetCursorPos(cursor.x, cursor.y);
  auto hintVisible = [&] { return app.hintWindow() && IsWindowVisible(app.hintWindow()->handle()); };

  // Hints are not switched on for the window: the mouse rests there and nothing shows.
  PostMessageW(panelWnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 50));
  EXPECT_FALSE(pumpApplication(hintVisible, 400));

  // Switched on for the window: the application's own hint, below the cursor.
  form->setShowHint(true);
  PostMessageW(panelWnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 51));
  ASSERT_TRUE(pumpApplication(hintVisible, 5000));
  HWND plain = app.hintWindow()->handle();
  RECT expected = app.hintWindow()->calcHintRect(GetSystemMetrics(SM_CXSCREEN), panel->hint());
  EXPECT_EQ(windowRect(plain).top, cursor.y + GetSystemMetrics(SM_CYCURSOR));
  EXPECT_EQ(windowRect(plain).bottom - windowRect(plain).top, expected.bottom + 4);
  EXPECT_EQ(app.hintWindow()->className(), "THintWindow");

  // The balloon takes over: the plain window goes, the next hint is a balloon.
  pop->setApplicationHintOptions(pop->applicationHintOptions().with(ahUseBalloonAsHint));
  EXPECT_FALSE(IsWindow(plain));
  PostMessageW(panelWnd, WM_MOUSELEAVE, 0, 0);
  PostMessageW(panelWnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 51));
  ASSERT_TRUE(pumpApplication(hintVisible, 5000));
  auto* hint = dynamic_cast<BalloonWindow*>(app.hintWindow());
  ASSERT_NE(hint, nullptr);
  HWND h = hint->handle();
  wchar_t cls[32] = {};
  GetClassNameW(h, cls, 32);
  EXPECT_EQ(std::wstring(cls), L"TBalloonWindow");

  // Below the cursor, clear of its picture; the window 4 pixels taller than the balloon's
  // rectangle and shaped for that height.
  const BalloonPlacement& p = hint->placement();
  EXPECT_EQ(p.position, bpLeftDown);
  EXPECT_EQ(stemTip(p.rect, p.position, hint->layout()), (Point{cursor.x, cursor.y + GetSystemMetrics(SM_CYCURSOR)}));
  const RECT r = windowRect(h);
  EXPECT_EQ(r.left, p.rect.left);
  EXPECT_EQ(r.top, p.rect.top);
  EXPECT_EQ(r.right, p.rect.right);
  EXPECT_EQ(r.bottom, p.rect.bottom + 4);
  const int w = r.right - r.left, ht = p.rect.height();
  GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(GetWindowRgn(h, region.get()), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(region.get(), w / 2, ht - 1));
  EXPECT_FALSE(PtInRegion(region.get(), w / 2, ht + 2));
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, 0), HTTRANSPARENT);

  // The default header and the information icon at (12, t + 8), t the stem's height; the
  // hint's two lines below them.
  UpdateWindow(h);
  const Image shot = captureWindow(h);
  const auto bytes = encodeBmp24(shot);
  std::ofstream("Z:" VRIN_SOURCE_DIR "/build/artifacts/balloon-app-hint.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  const int t = hint->layout().stemHeight;
  ASSERT_EQ(t, 16);
  Bitmap icon(16, 16);
  {
    GdiObject<HBRUSH> back(CreateSolidBrush(GetSysColor(COLOR_INFOBK)));
    RECT all{0, 0, 16, 16};
    FillRect(icon.dc(), &all, back.get());
    ImageList_Draw(BalloonController::instance().standardIcons(), 2, icon.dc(), 0, 0, ILD_TRANSPARENT);
  }
  const Image info = icon.toImage();
  EXPECT_EQ(differences(shot, info, 12, t + 8), 0);
  EXPECT_GT(differences(shot, info, 12, t + 7), 20);
  const int headerHeight = hint->layout().headerHeight;
  EXPECT_GT(textPixels(shot, 36, t + 8, w - 4, t + headerHeight), 40);      // "Vrin killed popup"
  EXPECT_EQ(textPixels(shot, 12, t + 30, 36, t + headerHeight), 0);         // nothing under the icon
  const int line = hint->layout().textBlock.bottom / 2;  // two lines of text
  EXPECT_GT(textPixels(shot, 12, t + headerHeight, w - 4, t + headerHeight + line), 40);
  EXPECT_GT(textPixels(shot, 12, t + headerHeight + line, w - 4, t + headerHeight + 2 * line), 40);

  // A click ends it; giving the class back takes the balloon window away.
  PostMessageW(panelWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 51));
  EXPECT_TRUE(pumpApplication([&] { return !IsWindowVisible(h); }, 2000));
  pop->setApplicationHintOptions(pop->applicationHintOptions().without(ahUseBalloonAsHint));
  EXPECT_EQ(app.hintWindow(), nullptr);
  EXPECT_FALSE(IsWindow(h));
}
