#pragma once
// Menus for real: items measured through the owner-draw message, texts in the menu font,
// looking at an open menu window from inside its modal loop, and its pixels on the screen.
#include <windows.h>

#include <functional>
#include <string>

#include "core/image.h"
#include "support/win_test_util.h"
#include "ui/graphics.h"
#include "ui/menus.h"

namespace vrin::test {

// The host's text width in the system menu font, as the measure message sees it.
inline int menuTextWidth(const std::string& text) {
  HWND w = PopupMenu::ownerWindow();
  HDC dc = GetDC(w);
  int width = 0;
  {
    Canvas c(dc);
    c.font.assign(systemMenuFont());
    RECT r{0, 0, 0, 0};
    c.drawText(text, r, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE | DT_NOCLIP);
    width = r.right - r.left;
  }
  ReleaseDC(w, dc);
  return width;
}

// The size WM_MEASUREITEM gives an item, as the popup menus' owner window answers it.
inline Size measureMenuItem(MenuItem* item) {
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = item->command();
  mis.itemData = reinterpret_cast<ULONG_PTR>(item);
  SendMessageW(PopupMenu::ownerWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  return {int(mis.itemWidth), int(mis.itemHeight)};
}

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
