// The smallest Win32 program with a tray icon: one hidden window, one icon, a message loop.
// The start-up benchmark times it beside Vrin.exe; WM_QUIT ends it and removes the icon.
#include <windows.h>
#include <shellapi.h>

namespace {
LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.lpszClassName = "BareTrayWindow";
  if (!RegisterClassA(&wc)) return 1;
  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "Bare tray", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                              nullptr, instance, nullptr);
  if (!hwnd) return 1;
  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd;
  nid.uID = 1;
  nid.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  nid.uCallbackMessage = WM_APP;
  nid.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  lstrcpyA(nid.szTip, "Bare tray");
  if (!Shell_NotifyIconA(NIM_ADD, &nid)) return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  Shell_NotifyIconA(NIM_DELETE, &nid);
  DestroyWindow(hwnd);
  return 0;
}
