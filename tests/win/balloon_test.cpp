// The balloon hint against the real window system: shape, placement near the tray, the
// fade and the visible time, the close button, replacement, the anchor's reactions, and
// the window-procedure hook registry underneath.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "balloon/balloon_hint.h"
#include "ui/window_hooks.h"
#include "support/win_test_util.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/registry.h"

using namespace vrin;
using vrin::test::pumpUntil;

namespace {

int alphaOf(HWND h) {
  BYTE alpha = 0;
  DWORD flags = 0;
  COLORREF key = 0;
  if (!GetLayeredWindowAttributes(h, &key, &alpha, &flags)) return -1;
  return alpha;
}

BOOL CALLBACK countVisibleBalloon(HWND h, LPARAM p) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (std::wstring(cls) == L"TBalloonWindowEx" && IsWindowVisible(h)) ++*reinterpret_cast<int*>(p);
  return TRUE;
}

int visibleBalloonWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &countVisibleBalloon, reinterpret_cast<LPARAM>(&count));
  return count;
}

RECT windowRect(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

// The history window's stand-in, with the program's `pop`.
class BalloonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<Form>(nullptr);
    form->borderStyle = BorderStyle::ToolWindow;
    form->setBounds(381, 281, 0, 0);
    form->setClientSize(495, 272);
    form->onClose = CloseEvent::fn([](Component*, CloseAction& a) { a = CloseAction::None; });
    formWnd = form->handle();  // stays hidden, as in the program
    pop = new BalloonHint(form.get());
    pop->setName("pop");
    pop->setCustomAnimationTime(300);
    pop->setDefaultHeader("Vrin killed popup");
    pop->setOptions({boShowCloseBtn, boCustomAnimation});
  }

  // Where the program points the stem: near the screen's bottom-right corner.
  POINT anchor() const {
    return POINT{GetSystemMetrics(SM_CXSCREEN) - form->left() - 100, GetSystemMetrics(SM_CYSCREEN) - form->top() - 50};
  }
  void show(const std::string& text, int visibleMs) {
    pop->ShowBalloon(form.get(), anchor(), "Vrin alert", text, visibleMs, ikInformation, -1);
  }
  HWND balloon() const { return pop->window().handle(); }

  std::unique_ptr<Form> form;
  HWND formWnd = nullptr;
  BalloonHint* pop = nullptr;
};

}  // namespace

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

TEST_F(BalloonTest, FadesInWithoutHoldingTheLoopThenHidesAfterItsTime) {
  pop->setCustomAnimationTime(1000);
  show("Pop killed:http://example.com/", 300);
  HWND h = balloon();
  // ShowBalloon came back at once: the fade has not started yet.
  EXPECT_EQ(alphaOf(h), 0);
  EXPECT_NE(pop->timerId(), 0u);
  std::vector<int> seen{0};
  ASSERT_TRUE(pumpUntil(
      [&] {
        int a = alphaOf(h);
        if (a != seen.back()) seen.push_back(a);
        return a == 255;
      },
      15000));
  for (size_t i = 1; i < seen.size(); ++i) EXPECT_GT(seen[i], seen[i - 1]);
  EXPECT_GT(seen.size(), 2u) << "no step between transparent and opaque";
  EXPECT_TRUE(IsWindowVisible(h));
  ASSERT_TRUE(pumpUntil([&] { return !IsWindowVisible(h); }, 15000));
  EXPECT_FALSE(pop->active());
  EXPECT_EQ(pop->timerId(), 0u);
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

namespace {
std::vector<WPARAM> g_showMessages;
bool recordShow(void*, HWND, UINT msg, WPARAM wp, LPARAM, LRESULT&) {
  if (msg == WM_SHOWWINDOW) g_showMessages.push_back(wp);
  return false;
}
}  // namespace

TEST_F(BalloonTest, ASecondBalloonReplacesTheFirstMidFade) {
  show("Pop killed:first", 500);
  HWND h = balloon();
  ASSERT_TRUE(pumpUntil([&] { return alphaOf(h) > 0; }));
  ASSERT_LT(alphaOf(h), 255) << "the first balloon finished fading before it was replaced";
  g_showMessages.clear();
  ASSERT_TRUE(WndProcHook::instance().RegisterWndProcHook(h, HookPhase::Before, &recordShow, nullptr));
  show("Pop killed:second", 500);
  WndProcHook::instance().UnregisterWndProcHook(h, HookPhase::Before, &recordShow, nullptr);

  EXPECT_EQ(g_showMessages, (std::vector<WPARAM>{FALSE, TRUE}));  // hidden, then shown again
  EXPECT_EQ(visibleBalloonWindows(), 1);
  EXPECT_EQ(pop->balloonData().text, "Pop killed:second");
  EXPECT_EQ(alphaOf(h), 0);  // the fade starts over
  EXPECT_NE(pop->timerId(), 0u);
  ASSERT_TRUE(pumpUntil([&] { return !IsWindowVisible(h); }, 15000));
  EXPECT_EQ(visibleBalloonWindows(), 0);

  // A newer balloon component takes over and hides this one's balloon.
  show("Pop killed:third", 0);
  auto* other = new BalloonHint(form.get());
  EXPECT_FALSE(pop->active());
  EXPECT_EQ(BalloonController::instance().current(), other);
  delete other;
  EXPECT_EQ(BalloonController::instance().current(), nullptr);
}

TEST_F(BalloonTest, FollowsTheAnchorAndHidesOnItsResizeShowCloseAndDeactivation) {
  show("Pop killed:x", 0);
  HWND h = balloon();
  EXPECT_TRUE(WndProcHook::instance().hooked(formWnd));
  const RECT before = windowRect(h);
  SetWindowPos(formWnd, nullptr, form->left() - 40, form->top() - 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT after = windowRect(h);
  EXPECT_EQ(after.left - before.left, -40);
  EXPECT_EQ(after.top - before.top, -30);
  EXPECT_TRUE(pop->active());

  // The tip lies near the screen's corner, far outside the client area: any resize hides.
  RECT fr = windowRect(formWnd);
  SetWindowPos(formWnd, nullptr, 0, 0, fr.right - fr.left - 100, fr.bottom - fr.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_FALSE(pop->active());
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_FALSE(WndProcHook::instance().hooked(formWnd));

  show("Pop killed:x", 0);
  ShowWindow(formWnd, SW_SHOWNOACTIVATE);
  EXPECT_FALSE(pop->active());
  ShowWindow(formWnd, SW_HIDE);

  show("Pop killed:x", 0);
  SendMessageW(formWnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(pop->active());

  show("Pop killed:x", 0);
  SendMessageW(h, WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_TRUE(pop->active());
  SendMessageW(h, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(pop->active());
  EXPECT_FALSE(IsWindowVisible(h));
}

TEST_F(BalloonTest, AnchorGoingAwayHidesTheBalloon) {
  auto* other = new Form(nullptr);
  other->setClientSize(200, 100);
  pop->ShowBalloon(other, POINT{50, 50}, "Vrin alert", "x", 0, ikInformation, -1);
  EXPECT_TRUE(pop->active());
  delete other;
  EXPECT_FALSE(pop->active());
  EXPECT_FALSE(IsWindowVisible(balloon()));
}

TEST_F(BalloonTest, PublishedPropertiesAndTheirRanges) {
  EXPECT_EQ(pop->getProperty("Options").integer, (1 << boShowCloseBtn) | (1 << boCustomAnimation));
  EXPECT_EQ(pop->getProperty("CustomAnimationTime").integer, 300);
  EXPECT_EQ(pop->getProperty("DefaultHeader").text, "Vrin killed popup");
  EXPECT_EQ(pop->getProperty("DefaultIcon").integer, ikInformation);
  EXPECT_EQ(pop->getProperty("DefaultImageIndex").integer, -1);
  EXPECT_EQ(pop->getProperty("CustomAnimationStyle").integer, atBlend);
  EXPECT_EQ(pop->getProperty("ApplicationHintOptions").integer, 3);
  pop->setProperty("DefaultBalloonPosition", PropValue::ofInt(bpRightDown));
  EXPECT_EQ(pop->defaultBalloonPosition(), bpRightDown);
  EXPECT_THROW(pop->setProperty("DefaultIcon", PropValue::ofInt(7)), Error);
  EXPECT_THROW(pop->setProperty("Options", PropValue::ofInt(0x40)), Error);
  EXPECT_THROW(pop->setProperty("CustomAnimationTime", PropValue::ofInt(-1)), Error);
  EXPECT_EQ(pop->defaultIcon(), ikInformation);

  // Only the current balloon component may act as the application's hint.
  auto* older = pop;
  auto* newer = new BalloonHint(form.get());
  older->setApplicationHintOptions({ahUseBalloonAsHint});
  EXPECT_FALSE(older->applicationHintOptions().has(ahUseBalloonAsHint));
  newer->setApplicationHintOptions({ahUseBalloonAsHint});
  EXPECT_TRUE(newer->applicationHintOptions().has(ahUseBalloonAsHint));
}

TEST_F(BalloonTest, AsTheApplicationHintItClearsTheCursorAndLetsTheMouseThrough) {
  auto* hint = new BalloonWindow(form.get());
  const POINT at{300, 300};
  hint->ActivateHint(at, "A hint");
  HWND h = hint->handle();
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_EQ(hint->placement().position, bpLeftUp);
  EXPECT_EQ(windowRect(h).bottom + GetSystemMetrics(SM_CYCURSOR), at.y);
  EXPECT_EQ(hint->layout().sizeClass, 1);  // the default header "Vrin killed popup"
  hint->HideWindow();
  EXPECT_FALSE(IsWindowVisible(h));
}

TEST(BalloonSounds, SchemeFilesByIconKindExpandedAndMissingOnesSilent) {
  const std::string base = "\\AppEvents\\Schemes\\Apps\\.Default\\";
  Registry reg;
  auto setDefault = [&](const std::string& event, const std::string& value) {
    ASSERT_TRUE(reg.openKey(base + event + "\\.Current", true));
    reg.writeString("", value);
    reg.closeKey();
  };
  setDefault("SystemAsterisk", "%SystemRoot%\\media\\ding.wav");
  setDefault("SystemNotification", "C:\\notify.wav");
  ASSERT_TRUE(reg.openKey(base + "SystemHand\\.Current", true));
  const DWORD number = 1;  // not a text
  RegSetValueExW(reg.currentKey(), L"", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  reg.closeKey();
  reg.deleteKey(base + "SystemQuestion");

  BalloonController& c = BalloonController::instance();
  c.readSounds();
  wchar_t root[MAX_PATH] = {};
  GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH);
  EXPECT_EQ(c.soundFor(ikInformation), narrow(root) + "\\media\\ding.wav");
  for (IconKind k : {ikCustom, ikNone, ikApplication}) EXPECT_EQ(c.soundFor(k), "C:\\notify.wav");
  EXPECT_EQ(c.soundFor(ikError), "");
  EXPECT_EQ(c.soundFor(ikQuestion), "");

  for (const char* event : {"SystemAsterisk", "SystemNotification", "SystemHand"}) reg.deleteKey(base + event);
  c.readSounds();
  EXPECT_EQ(c.soundFor(ikInformation), "");
}
