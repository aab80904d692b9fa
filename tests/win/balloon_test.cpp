// The balloon hint component against the real window system: the fade and the visible
// time, replacement, the anchor's reactions, its published settings and the sounds.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/balloon_fixture.h"
#include "support/win_test_util.h"
#include "ui/registry.h"
#include "ui/window_hooks.h"

using namespace vrin;
using namespace vrin::test;

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
