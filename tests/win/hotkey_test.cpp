// The global hot key against Wine's real RegisterHotKey: which combination it holds is
// seen by trying to take the same combination from the test.
#include <gtest/gtest.h>

#include "support/win_test_util.h"

#include <functional>
#include <memory>

#include "cleaner/hot_key.h"
#include "cleaner/pure/cleaner_rules.h"
#include "ui/application.h"

using namespace vrin;

namespace {

constexpr ShortCut kCtrlF = 0x4046;
constexpr ShortCut kCtrlA = 0x4041;
constexpr ShortCut kCtrlH = 0x4048;

// Pumps messages until `done` holds or the time is up.
bool waitFor(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  return vrin::test::pumpUntil(done, timeoutMs);
}

// A window of the test that competes for combinations.
class Rival {
 public:
  Rival() {
    hwnd_ = CreateWindowExW(0, L"STATIC", L"rival", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }
  ~Rival() {
    release();
    DestroyWindow(hwnd_);
  }
  // Whether the system lets the test take the combination (Ctrl + vk).
  bool take(unsigned vk) {
    release();
    held_ = RegisterHotKey(hwnd_, 7, MOD_CONTROL, vk) != FALSE;
    return held_;
  }
  // Takes it only to see whether it is free, then gives it back.
  bool isFree(unsigned vk) {
    bool ok = take(vk);
    release();
    return ok;
  }
  void release() {
    if (held_) UnregisterHotKey(hwnd_, 7);
    held_ = false;
  }

 private:
  HWND hwnd_ = nullptr;
  bool held_ = false;
};

// A hot key as the history window makes it: Key 0 at load, the real key afterwards.
std::unique_ptr<HotKey> loadedHotKey() {
  auto k = std::make_unique<HotKey>(nullptr);
  k->beginLoading();
  k->setProperty("Key", PropValue::ofInt(0));
  k->endLoading();
  return k;
}

BOOL CALLBACK countVisible(HWND w, LPARAM p) {
  if (IsWindowVisible(w)) ++*reinterpret_cast<int*>(p);
  return TRUE;
}

int visibleWindowsOfThisThread() {
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), &countVisible, reinterpret_cast<LPARAM>(&n));
  return n;
}

void pressCtrl(WORD vk) {
  INPUT in[4] = {};
  for (auto& i : in) i.type = INPUT_KEYBOARD;
  in[0].ki.wVk = VK_CONTROL;
  in[1].ki.wVk = vk;
  in[2].ki.wVk = vk;
  in[2].ki.dwFlags = KEYEVENTF_KEYUP;
  in[3].ki.wVk = VK_CONTROL;
  in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, in, sizeof(INPUT));
}

}  // namespace

TEST(HotKeyRules, ShortcutToRegistration) {
  EXPECT_EQ(panicShortCut("F"), kCtrlF);
  EXPECT_EQ(panicShortCut("A"), kCtrlA);
  EXPECT_EQ(panicShortCut("Z"), 0x405A);
  EXPECT_EQ(panicShortCut(""), 0);  // no letter chosen: no panic key
  EXPECT_EQ(panicShortCut("??"), 0);
  HotKeyCombination c = hotKeyCombination(kCtrlF);
  EXPECT_EQ(c.modifiers, unsigned(MOD_CONTROL));
  EXPECT_EQ(c.virtualKey, 0x46u);
  c = hotKeyCombination(ShortCut(scShift | scAlt | 0x70));
  EXPECT_EQ(c.modifiers, unsigned(MOD_SHIFT | MOD_ALT));
  EXPECT_EQ(c.virtualKey, 0x70u);
  EXPECT_EQ(hotKeyCombination(scCtrl).virtualKey, 0u);  // a modifier alone is no key
}

TEST(HotKey, KeyZeroAtLoadHoldsNothing) {
  auto k = loadedHotKey();
  EXPECT_TRUE(k->enabled());
  EXPECT_EQ(k->key(), 0);
  EXPECT_FALSE(k->registered());
  Rival r;
  EXPECT_TRUE(r.isFree('F'));
}

TEST(HotKey, CtrlFIsHeldAndMovesToCtrlA) {
  Rival r;
  auto k = loadedHotKey();
  k->SetKey(TextToShortCut("Ctrl+F"));
  EXPECT_EQ(k->key(), kCtrlF);
  EXPECT_TRUE(k->registered());
  EXPECT_FALSE(r.isFree('F'));

  k->SetKey(panicShortCut("A"));
  EXPECT_TRUE(k->registered());
  EXPECT_TRUE(r.isFree('F'));
  EXPECT_FALSE(r.isFree('A'));

  EXPECT_EQ(k->getProperty("Key").integer, kCtrlA);
  k->setProperty("Key", PropValue::ofInt(kCtrlF));  // what the settings store does
  EXPECT_FALSE(r.isFree('F'));
  EXPECT_TRUE(r.isFree('A'));

  k.reset();  // destruction lets go
  EXPECT_TRUE(r.isFree('F'));
}

TEST(HotKey, TakenCombinationLeavesTheKeyDeadWithoutAMessage) {
  Rival r;
  ASSERT_TRUE(r.take('H'));
  auto k = loadedHotKey();
  int windowsBefore = visibleWindowsOfThisThread();
  k->SetKey(kCtrlH);
  EXPECT_EQ(k->key(), kCtrlH);
  EXPECT_FALSE(k->registered());
  application().processMessages();
  EXPECT_EQ(visibleWindowsOfThisThread(), windowsBefore);

  // The same value again does not try again: the combination, freed meanwhile, stays free.
  r.release();
  k->SetKey(kCtrlH);
  EXPECT_FALSE(k->registered());
  EXPECT_TRUE(r.isFree('H'));

  // A real change does register.
  k->SetKey(kCtrlF);
  EXPECT_TRUE(k->registered());
  k->SetKey(kCtrlH);
  EXPECT_TRUE(k->registered());
  EXPECT_FALSE(r.isFree('H'));
}

TEST(HotKey, EnabledSwitchesTheRegistration) {
  Rival r;
  auto k = loadedHotKey();
  k->SetKey(kCtrlF);
  k->SetEnabled(false);
  EXPECT_FALSE(k->registered());
  EXPECT_TRUE(r.isFree('F'));
  k->SetEnabled(true);
  k->SetKey(kCtrlF);  // the same value keeps the registration
  EXPECT_TRUE(k->registered());
  EXPECT_FALSE(r.isFree('F'));
  k->SetEnabled(false);
  k->SetKey(kCtrlA);  // disabled: remembered, not registered
  EXPECT_FALSE(k->registered());
  EXPECT_TRUE(r.isFree('A'));
  k->setProperty("Enabled", PropValue::ofInt(1));
  EXPECT_TRUE(k->registered());
  EXPECT_FALSE(r.isFree('A'));
}

TEST(HotKey, KeyStoredBeforeLoadingCompletesIsRegisteredAtLoad) {
  Rival r;
  HotKey k(nullptr);
  k.beginLoading();
  k.setProperty("Enabled", PropValue::ofInt(0));
  k.setProperty("Key", PropValue::ofInt(kCtrlA));
  k.endLoading();
  EXPECT_FALSE(k.registered());
  k.SetEnabled(true);
  EXPECT_TRUE(k.registered());
}

TEST(HotKey, PressingTheCombinationFiresOnHotKey) {
  auto k = loadedHotKey();
  int fired = 0;
  Component* sender = nullptr;
  k->onHotKey = NotifyEvent::fn([&](Component* s) {
    ++fired;
    sender = s;
  });
  k->SetKey(kCtrlF);
  ASSERT_TRUE(k->registered());
  ASSERT_NE(k->window(), nullptr);

  pressCtrl('F');
  ASSERT_TRUE(waitFor([&] { return fired == 1; })) << "no WM_HOTKEY for Ctrl+F";
  EXPECT_EQ(sender, k.get());

  // The message reaches the window's own procedure too, and any WM_HOTKEY id counts.
  PostMessageW(k->window(), WM_HOTKEY, 5, MAKELPARAM(MOD_CONTROL, 'F'));
  EXPECT_TRUE(waitFor([&] { return fired == 2; }));

  // After a move only the new combination fires.
  k->SetKey(kCtrlA);
  pressCtrl('F');
  pressCtrl('A');
  EXPECT_TRUE(waitFor([&] { return fired == 3; }));
  waitFor([] { return false; }, 200);
  EXPECT_EQ(fired, 3);
}
