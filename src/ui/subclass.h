#pragma once
// The one window-hooking helper: a component that needs another window's messages puts a
// handler in front of that window's procedure. Built on SetWindowSubclass, so hooks can
// be removed in any order; the most recently installed runs first.
#include <functional>

#include "ui/win.h"

namespace vrin {

class WindowHook {
 public:
  // Return true when the message was handled; `result` is then the answer.
  // Return false to pass it on to the previous procedure.
  using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT& result)>;

  WindowHook() = default;
  ~WindowHook() { remove(); }
  WindowHook(const WindowHook&) = delete;
  WindowHook& operator=(const WindowHook&) = delete;

  bool install(HWND hwnd, Handler handler);
  void remove();
  bool installed() const { return hwnd_ != nullptr; }
  HWND window() const { return hwnd_; }
  // Calls the procedures behind this hook (for handlers that work after the default).
  LRESULT callNext(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefSubclassProc(hwnd, msg, wp, lp); }

 private:
  static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  HWND hwnd_ = nullptr;
  Handler handler_;
};

}  // namespace vrin
