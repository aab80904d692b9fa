#include "ui/dialogs.h"

#include <algorithm>
#include <vector>

#include "ui/application.h"
#include "ui/graphics.h"

namespace vrin {

const char* const kConfirmCaption = "Confirmation";
const char* const kYesButton = "&Oui";
const char* const kNoButton = "&Non";

namespace {
const wchar_t kClass[] = L"TMessageForm";

struct DialogState {
  int result = mrNone;
};

LRESULT CALLBACK messageFormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
      break;
    case WM_COMMAND:
      if (state && HIWORD(wp) == BN_CLICKED) {
        switch (LOWORD(wp)) {
          case IDYES: state->result = mrYes; return 0;
          case IDNO: state->result = mrNo; return 0;
          case IDCANCEL: state->result = mrCancel; return 0;
        }
      }
      break;
    case WM_CLOSE:
      if (state) state->result = mrCancel;
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

BOOL CALLBACK collectEnabled(HWND hwnd, LPARAM lp) {
  if (IsWindowEnabled(hwnd) && IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  return TRUE;
}
}  // namespace

int confirm(const std::string& text) {
  WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(moduleInstance(), kClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &messageFormProc;
    wc.hInstance = moduleInstance();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
  }

  Font font(FontSpec{});
  std::wstring wtext = widen(text);
  RECT textRect{0, 0, 320, 0};
  {
    WindowDC screen(nullptr);
    SelectScope selected(screen.get(), font.handle());
    DrawTextW(screen.get(), wtext.c_str(), int(wtext.size()), &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  const int margin = 12, iconSize = 32, buttonW = 75, buttonH = 25, gap = 8;
  int textX = margin + iconSize + margin;
  int contentW = std::max<int>(textX + textRect.right + margin, 2 * buttonW + gap + 2 * margin);
  int contentH = margin + std::max<int>(iconSize, textRect.bottom) + margin + buttonH + margin;
  RECT frame{0, 0, contentW, contentH};
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, ex = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
  AdjustWindowRectEx(&frame, style, FALSE, ex);
  int w = frame.right - frame.left, h = frame.bottom - frame.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;

  DialogState state;
  HWND owner = application().handle();
  HWND dlg = CreateWindowExW(ex, kClass, widen(kConfirmCaption).c_str(), style, x, y, w, h, owner, nullptr,
                             moduleInstance(), &state);
  if (!dlg) return mrCancel;
  auto child = [&](const wchar_t* cls, const std::wstring& caption, DWORD st, int cx, int cy, int cw, int ch, int id) {
    HWND c = CreateWindowExW(0, cls, caption.c_str(), WS_CHILD | WS_VISIBLE | st, cx, cy, cw, ch, dlg,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), moduleInstance(), nullptr);
    SendMessageW(c, WM_SETFONT, WPARAM(font.handle()), FALSE);
    return c;
  };
  HWND icon = child(L"STATIC", L"", SS_ICON, margin, margin, iconSize, iconSize, -1);
  SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_QUESTION))), 0);
  child(L"STATIC", wtext, SS_LEFT | SS_NOPREFIX, textX, margin, textRect.right, textRect.bottom, -1);
  int by = contentH - margin - buttonH, bx = (contentW - (2 * buttonW + gap)) / 2;
  HWND yes = child(L"BUTTON", widen(kYesButton), BS_DEFPUSHBUTTON | WS_TABSTOP, bx, by, buttonW, buttonH, IDYES);
  child(L"BUTTON", widen(kNoButton), BS_PUSHBUTTON | WS_TABSTOP, bx + buttonW + gap, by, buttonW, buttonH, IDNO);

  // Modal: every other window of the program waits until the answer.
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), &collectEnabled, reinterpret_cast<LPARAM>(&disabled));
  disabled.erase(std::remove(disabled.begin(), disabled.end(), dlg), disabled.end());
  for (HWND wnd : disabled) EnableWindow(wnd, FALSE);
  ShowWindow(dlg, SW_SHOW);
  SetForegroundWindow(dlg);
  SetFocus(yes);

  MSG msg;
  bool quit = false;
  while (state.result == mrNone && IsWindow(dlg)) {
    BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) {
      quit = true;
      state.result = mrCancel;
      break;
    }
    if (!IsDialogMessageW(dlg, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  for (HWND wnd : disabled)
    if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
  DestroyWindow(dlg);
  if (quit) PostQuitMessage(0);  // the loop that ends the program must still see it
  return state.result;
}

}  // namespace vrin
