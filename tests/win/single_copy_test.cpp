// One copy at a time: a later copy hands over to the first even while the first has no
// window yet, and goes on by itself when the first ends before showing one.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/single_copy.h"
#include "support/win_test_util.h"

using namespace vrin;

namespace {

const char kClass[] = "TSingleCopyProbe";
const UINT kShow = WM_APP + 7;

std::string mutexName(const char* what) {
  return "Local\\VrinSingleCopyTest." + std::to_string(GetCurrentProcessId()) + "." + what;
}

// Plays the first copy on a thread of its own: takes the mutex, then, after `windowAfterMs`,
// makes its window (or, with a negative delay, ends without one) and counts the handovers.
struct FirstCopy {
  std::atomic<int> shown{0};
  std::atomic<bool> running{false};
  std::atomic<bool> stop{false};
  std::thread thread;

  FirstCopy(const std::string& name, int windowAfterMs, bool releaseAtEnd = true) {
    thread = std::thread([this, name, windowAfterMs, releaseAtEnd] {
      // Without releasing, the thread's end abandons the mutex, as a crash would.
      auto* copy = new SingleCopy(name.c_str());
      running = copy->first();
      if (windowAfterMs < 0) {
        Sleep(300);
        if (releaseAtEnd) delete copy;
        return;
      }
      Sleep(DWORD(windowAfterMs));
      HWND w = CreateWindowA(kClass, "Vrin", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
      while (!stop) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
          if (m.message == kShow) ++shown;
          else DispatchMessageA(&m);
        Sleep(5);
      }
      DestroyWindow(w);
      delete copy;
    });
  }
  ~FirstCopy() {
    stop = true;
    thread.join();
  }
};

void registerProbeClass() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);
}

}  // namespace

TEST(SingleCopy, ALaterCopyWaitsForTheFirstCopysWindowAndHandsOver) {
  registerProbeClass();
  const std::string name = mutexName("handover");
  FirstCopy first(name, 400);
  ASSERT_TRUE(vrin::test::pumpUntil([&] { return first.running.load(); }, 3000));
  SingleCopy later(name.c_str());
  EXPECT_FALSE(later.first());
  // Started in the gap before the first copy's window exists: it must not run as well.
  EXPECT_TRUE(later.handOver(kClass, "Vrin", kShow, 10000));
  EXPECT_FALSE(later.first());
  EXPECT_TRUE(vrin::test::pumpUntil([&] { return first.shown == 1; }, 3000));
}

TEST(SingleCopy, ALaterCopyGoesOnWhenTheFirstEndsWithoutAWindow) {
  for (bool released : {true, false}) {
    const std::string name = mutexName(released ? "released" : "abandoned");
    FirstCopy first(name, -1, released);
    ASSERT_TRUE(vrin::test::pumpUntil([&] { return first.running.load(); }, 3000));
    SingleCopy later(name.c_str());
    EXPECT_FALSE(later.first());
    EXPECT_FALSE(later.handOver(kClass, "Vrin", kShow, 10000)) << released;
    EXPECT_TRUE(later.first()) << released;
    // Now it is the copy others find.
    SingleCopy third(name.c_str());
    EXPECT_FALSE(third.first());
  }
}
