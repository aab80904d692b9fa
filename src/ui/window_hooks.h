#pragma once
// The one window-hooking layer. WindowHook puts one handler in front of a window's
// procedure; WndProcHook is the process-wide registry of before and after handlers that
// several components keep on windows they do not own.
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ui/win.h"

namespace vrin {

class WinControl;

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

enum class HookPhase { Before, After };

// Answer true to end all processing of the message; `result` is then the answer.
using WndProcHookProc = bool (*)(void* data, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// Process-wide registry of handlers on other windows' procedures. Each hooked window gets
// one record with a before list and an after list; the window procedure itself is reached
// through WindowHook, so records of different components can come and go in any order.
class WndProcHook {
 public:
  // Made on first use, freed when the program ends.
  static WndProcHook& instance();
  // The registry if it still exists (destructors running at exit must not revive it).
  static WndProcHook* existing();
  ~WndProcHook();

  // Appends (proc, data) to the window's list and hooks the window when needed.
  // A missing window or handler is refused (false).
  bool RegisterWndProcHook(HWND hwnd, HookPhase phase, WndProcHookProc proc, void* data);
  bool RegisterWndProcHook(WinControl* control, HookPhase phase, WndProcHookProc proc, void* data);
  // Removes the first equal entry; the window is unhooked when both lists are empty.
  bool UnregisterWndProcHook(HWND hwnd, HookPhase phase, WndProcHookProc proc, void* data);

  // Introspection: is the window's procedure hooked, and how many handlers it has.
  bool hooked(HWND hwnd) const;
  int handlerCount(HWND hwnd) const;

 private:
  WndProcHook() = default;
  struct Entry {
    WndProcHookProc proc;
    void* data;
    bool operator==(const Entry&) const = default;
  };
  struct HookInfos {
    std::vector<Entry> before, after;
    std::unique_ptr<WindowHook> hook;
  };
  bool dispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool runList(HWND hwnd, HookPhase phase, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void retire(std::unique_ptr<WindowHook> hook);
  void releaseRetired();

  std::map<HWND, HookInfos> records_;
  // Hooks taken off while their own procedure may still be on the stack; freed once no
  // dispatch is running.
  std::vector<std::unique_ptr<WindowHook>> retired_;
  int depth_ = 0;
};

}  // namespace vrin
