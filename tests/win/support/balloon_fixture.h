#pragma once
// What the balloon suites share: a hidden history-window stand-in with the program's `pop`
// balloon component, and a few looks at the balloon's window.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "balloon/balloon_hint.h"
#include "ui/application.h"
#include "ui/form.h"

namespace vrin::test {

inline int alphaOf(HWND h) {
  BYTE alpha = 0;
  DWORD flags = 0;
  COLORREF key = 0;
  if (!GetLayeredWindowAttributes(h, &key, &alpha, &flags)) return -1;
  return alpha;
}

inline BOOL CALLBACK countVisibleBalloon(HWND h, LPARAM p) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (std::wstring(cls) == L"TBalloonWindowEx" && IsWindowVisible(h)) ++*reinterpret_cast<int*>(p);
  return TRUE;
}

inline int visibleBalloonWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &countVisibleBalloon, reinterpret_cast<LPARAM>(&count));
  return count;
}

inline RECT windowRect(HWND h) {
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

}  // namespace vrin::test
