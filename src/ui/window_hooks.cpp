#include "ui/window_hooks.h"

#include <algorithm>
#include <utility>

#include "ui/control.h"
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

namespace {
WndProcHook* g_hooks = nullptr;
struct ReleaseAtExit {
  ~ReleaseAtExit() { delete std::exchange(g_hooks, nullptr); }
};
}  // namespace

WndProcHook& WndProcHook::instance() {
  static ReleaseAtExit releaseAtExit;
  if (!g_hooks) g_hooks = new WndProcHook;
  return *g_hooks;
}

WndProcHook* WndProcHook::existing() { return g_hooks; }

WndProcHook::~WndProcHook() {
  for (auto& [hwnd, infos] : records_)
    if (infos.hook) infos.hook->remove();
}

bool WndProcHook::RegisterWndProcHook(WinControl* control, HookPhase phase, WndProcHookProc proc, void* data) {
  return control && RegisterWndProcHook(control->handle(), phase, proc, data);
}

bool WndProcHook::RegisterWndProcHook(HWND hwnd, HookPhase phase, WndProcHookProc proc, void* data) {
  if (!hwnd || !proc || !IsWindow(hwnd)) return false;
  releaseRetired();
  HookInfos& infos = records_[hwnd];
  auto& list = phase == HookPhase::Before ? infos.before : infos.after;
  list.push_back({proc, data});
  if (!infos.hook) {
    auto hook = std::make_unique<WindowHook>();
    if (!hook->install(hwnd, [this](HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
          return dispatch(h, msg, wp, lp, result);
        })) {
      list.pop_back();
      if (infos.before.empty() && infos.after.empty()) records_.erase(hwnd);
      return false;
    }
    infos.hook = std::move(hook);
  }
  return true;
}

bool WndProcHook::UnregisterWndProcHook(HWND hwnd, HookPhase phase, WndProcHookProc proc, void* data) {
  if (!hwnd || !proc) return false;
  releaseRetired();
  auto it = records_.find(hwnd);
  if (it == records_.end()) return false;
  HookInfos& infos = it->second;
  auto& list = phase == HookPhase::Before ? infos.before : infos.after;
  auto found = std::find(list.begin(), list.end(), Entry{proc, data});
  if (found == list.end()) return false;
  list.erase(found);
  if (infos.before.empty() && infos.after.empty() && infos.hook) retire(std::move(infos.hook));
  return true;
}

bool WndProcHook::hooked(HWND hwnd) const {
  auto it = records_.find(hwnd);
  return it != records_.end() && it->second.hook && it->second.hook->installed();
}

int WndProcHook::handlerCount(HWND hwnd) const {
  auto it = records_.find(hwnd);
  return it == records_.end() ? 0 : int(it->second.before.size() + it->second.after.size());
}

// Handlers may register, unregister or destroy the window while we run: nothing is held
// across a call, every step looks the record up again.
bool WndProcHook::dispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  struct Depth {
    int& d;
    explicit Depth(int& depth) : d(depth) { ++d; }
    ~Depth() { --d; }
  } depth(depth_);
  result = 0;
  if (!runList(hwnd, HookPhase::Before, msg, wp, lp, result)) {
    result = DefSubclassProc(hwnd, msg, wp, lp);
    runList(hwnd, HookPhase::After, msg, wp, lp, result);
  }
  if (msg == WM_DESTROY) {
    // The window goes away: so does its record.
    auto it = records_.find(hwnd);
    if (it != records_.end()) {
      if (it->second.hook) retire(std::move(it->second.hook));
      records_.erase(it);
    }
  }
  return true;
}

bool WndProcHook::runList(HWND hwnd, HookPhase phase, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  auto it = records_.find(hwnd);
  if (it == records_.end()) return false;
  const std::vector<Entry> snapshot = phase == HookPhase::Before ? it->second.before : it->second.after;
  for (const Entry& e : snapshot) {
    it = records_.find(hwnd);
    if (it == records_.end()) return false;
    const auto& now = phase == HookPhase::Before ? it->second.before : it->second.after;
    if (std::find(now.begin(), now.end(), e) == now.end()) continue;  // taken off meanwhile
    if (e.proc(e.data, hwnd, msg, wp, lp, result)) return true;
  }
  return false;
}

void WndProcHook::retire(std::unique_ptr<WindowHook> hook) {
  hook->remove();
  retired_.push_back(std::move(hook));
}

void WndProcHook::releaseRetired() {
  if (depth_ == 0) retired_.clear();
}

}  // namespace vrin
