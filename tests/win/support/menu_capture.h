#pragma once
// Popup menus opened for real: looking at the open menu window from inside its modal loop,
// and its pixels as they are on the screen.
#include <windows.h>

#include <functional>

#include "core/image.h"
#include "support/win_test_util.h"
#include "ui/graphics.h"

namespace vrin::test {

// The window's pixels on the screen.
inline Image captureWindow(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  Bitmap shot(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.dc(), 0, 0, shot.width(), shot.height(), screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return shot.toImage();
}

// Runs `open` (which shows a popup menu and returns when it closes); once the menu window is
// visible and painted, `look` runs inside the menu's loop, then the menu is closed. With a
// `key`, the menu's loop then gets that key and `afterKey` looks a moment later. True when
// everything given ran.
inline bool lookWhileMenuOpen(const std::function<void()>& open, const std::function<void(HWND)>& look,
                              UINT key = 0, const std::function<void(HWND)>& afterKey = {}) {
  bool looked = false;
  std::function<void()> poll;
  poll = [&] {
    HWND w = FindWindowW(L"#32768", nullptr);
    if (!w || !IsWindowVisible(w)) {
      runSoon(poll, 50);
      return;
    }
    UpdateWindow(w);
    look(w);
    if (!key) {
      looked = true;
      EndMenu();
      return;
    }
    // Posted, so the menu's own loop reads it.
    PostMessageW(w, WM_KEYDOWN, key, 0);
    runSoon([&, w] {
      UpdateWindow(w);
      afterKey(w);
      looked = true;
      EndMenu();
    }, 300);
  };
  runSoon(poll, 200);
  open();
  return looked;
}

}  // namespace vrin::test
