#pragma once
// Helpers for the Windows-side suites: pumping messages until something happens.
#include <windows.h>

#include <functional>
#include <string>

namespace vrin::test {

// Pumps this thread's messages until `done` is true or `timeoutMs` passed.
inline bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
  return true;
}

// A fixture program of the build (build/<preset>/fixtures/NAME), as this process sees it.
std::wstring fixtureProgram(const std::wstring& name);

// Runs `action` from a thread timer once the current modal loop is pumping.
void runSoon(std::function<void()> action, UINT delayMs = 50);

// Runs `work` on a thread of its own, which has no COM, and reports the error it raised.
struct ThreadOutcome {
  bool threw = false;
  std::string error;
};
ThreadOutcome onThreadWithoutCom(std::function<void()> work);

// The process's GDI objects. Wine answers GetGuiResources with 0, so there the used entries
// of the GDI handle table the process environment block points to are counted.
DWORD gdiObjects();

}  // namespace vrin::test
