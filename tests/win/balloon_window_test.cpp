// The balloon windows against the real window system: shape and placement near the tray,
// the close button, and the plain window serving as the application's hint.
#include <gtest/gtest.h>

#include "support/balloon_fixture.h"

using namespace vrin;
using namespace vrin::test;

TEST_F(BalloonTest, StemmedTopmostUnactivatedWindowAboveLeftOfTheTrayPoint) {
  HWND before = GetForegroundWindow();
  show("Pop killed:http://example.com/ad", 2000);
  HWND h = balloon();
  ASSERT_TRUE(IsWindow(h));
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_TRUE(pop->active());
  EXPECT_EQ(GetForegroundWindow(), before);
  const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  EXPECT_TRUE(GetClassLongW(h, GCL_STYLE) & CS_DROPSHADOW);
  EXPECT_EQ(GetWindow(h, GW_OWNER), application().handle());

  // Lower-right quadrant: body above and to the left, stem at the bottom right, its tip on
  // the point (16 x 16 stem, 15 pixels from the body's right edge).
  POINT tip = anchor();
  ClientToScreen(formWnd, &tip);
  const RECT r = windowRect(h);
  const int w = r.right - r.left, ht = r.bottom - r.top;
  EXPECT_EQ(pop->window().placement().position, bpLeftUp);
  EXPECT_EQ(r.right - 15, tip.x);
  EXPECT_EQ(r.bottom, tip.y);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(r.right, work.right);
  EXPECT_LE(r.bottom, work.bottom);
  EXPECT_LT(work.right - r.right, 150);
  EXPECT_LT(work.bottom - r.bottom, 100);

  GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(h, region.get()), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));          // rounded corners
  EXPECT_FALSE(PtInRegion(region.get(), w - 1, 0));
  EXPECT_TRUE(PtInRegion(region.get(), w / 2, ht / 2));  // body
  // Below the body (which ends 16 pixels above the bottom), only the stem is there.
  EXPECT_TRUE(PtInRegion(region.get(), w - 15 - 3, ht - 4));
  EXPECT_FALSE(PtInRegion(region.get(), 8, ht - 4));
}

TEST_F(BalloonTest, CloseButtonHidesOnlyWhenReleasedInside) {
  show("Pop killed:http://example.com/", 0);  // no time-out: only the button closes it
  HWND h = balloon();
  const int w = windowRect(h).right - windowRect(h).left;
  // Stem at the bottom: content starts at the top; the 16 x 16 button is 6 pixels from the right.
  EXPECT_EQ(pop->window().closeButtonRect(), (Rect{w - 22, 5, w - 6, 21}));
  const LPARAM centre = MAKELPARAM(w - 14, 13), outside = MAKELPARAM(20, 30);
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, 0), HTCLIENT);

  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  EXPECT_EQ(GetCapture(), h);
  EXPECT_EQ(pop->window().closeButtonLook(), CloseButtonLook::HotPushed);
  SendMessageW(h, WM_LBUTTONUP, 0, outside);
  EXPECT_NE(GetCapture(), h);
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_TRUE(pop->active());

  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, outside);  // the body: nothing happens
  EXPECT_NE(GetCapture(), h);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  SendMessageW(h, WM_LBUTTONUP, 0, centre);
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_FALSE(pop->active());
  EXPECT_NE(GetCapture(), h);
}

TEST_F(BalloonTest, AsTheApplicationHintItClearsTheCursorAndLetsTheMouseThrough) {
  auto* hint = new BalloonWindow(form.get());
  // Near the bottom of the work area the body turns above the cursor, clear of its picture.
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const POINT at{300, work.bottom - 20};
  RECT r = hint->calcHintRect(GetSystemMetrics(SM_CXSCREEN), "A hint");
  OffsetRect(&r, at.x, at.y + GetSystemMetrics(SM_CYCURSOR));
  hint->activateHint(r, "A hint");
  HWND h = hint->handle();
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_EQ(hint->placement().position, bpLeftUp);
  EXPECT_EQ(hint->placement().rect.bottom, at.y);
  EXPECT_EQ(windowRect(h).bottom, at.y + 4);
  EXPECT_EQ(hint->layout().sizeClass, 1);  // the default header "Vrin killed popup"
  hint->hideWindow();
  EXPECT_FALSE(IsWindowVisible(h));
}
