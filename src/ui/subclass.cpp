#include "ui/subclass.h"

#include "ui/pure/delegate.h"

namespace vrin {

bool WindowHook::install(HWND hwnd, Handler handler) {
  remove();
  if (!hwnd) return false;
  handler_ = std::move(handler);
  if (!SetWindowSubclass(hwnd, &WindowHook::proc, reinterpret_cast<UINT_PTR>(this),
                         reinterpret_cast<DWORD_PTR>(this)))
    return false;
  hwnd_ = hwnd;
  return true;
}

void WindowHook::remove() {
  if (!hwnd_) return;
  RemoveWindowSubclass(hwnd_, &WindowHook::proc, reinterpret_cast<UINT_PTR>(this));
  hwnd_ = nullptr;
}

LRESULT CALLBACK WindowHook::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<WindowHook*>(data);
  if (msg == WM_NCDESTROY) {
    // The window goes away: the hook dies with it, whoever removes it later.
    RemoveWindowSubclass(hwnd, &WindowHook::proc, reinterpret_cast<UINT_PTR>(self));
    self->hwnd_ = nullptr;
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  LRESULT result = 0;
  try {
    if (self->handler_ && self->handler_(hwnd, msg, wp, lp, result)) return result;
  } catch (...) {
    // An error must not unwind through the window system: report it and go on.
    reportCurrentException();
    return 0;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace vrin
