#include "cleaner/hot_key.h"

#include "cleaner/pure/cleaner_rules.h"

namespace vrin {

namespace {
const wchar_t kHotKeyWindowClass[] = L"THotKeyWindow";
constexpr int kHotKeyId = 0;
}  // namespace

const ClassInfo& HotKey::staticClassInfo() {
  static const ClassInfo info{"THotKey",
                              &Component::staticClassInfo(),
                              {boolProp<HotKey>("Enabled", &HotKey::enabled, &HotKey::SetEnabled),
                               intProp<HotKey>("Key", &HotKey::keyProp, &HotKey::setKeyProp)}};
  return info;
}

HotKey::HotKey(Component* owner) : Component(owner) {}

HotKey::~HotKey() {
  UnregisterKey();
  hook_.remove();
  if (window_) DestroyWindow(window_);
}

HWND HotKey::ensureWindow() {
  if (window_) return window_;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(moduleInstance(), kHotKeyWindowClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &DefWindowProcW;
    wc.hInstance = moduleInstance();
    wc.lpszClassName = kHotKeyWindowClass;
    RegisterClassExW(&wc);
  }
  // Message-only: it needs no place on screen and stays out of window searches.
  window_ = CreateWindowExW(0, kHotKeyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, moduleInstance(),
                            nullptr);
  if (!window_) return nullptr;
  hook_.install(window_, [this](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_HOTKEY) onHotKey(this);
    return false;  // every message, WM_HOTKEY included, goes on
  });
  return window_;
}

void HotKey::RegisterKey() {
  if (registered_) return;
  HotKeyCombination combo = hotKeyCombination(key_);
  if (!combo.virtualKey) return;  // no combination, nothing to hold
  HWND w = ensureWindow();
  if (!w) return;
  // A combination another program holds fails here; the key then stays dead, silently.
  registered_ = RegisterHotKey(w, kHotKeyId, combo.modifiers, combo.virtualKey) != FALSE;
}

void HotKey::UnregisterKey() {
  if (!registered_) return;
  UnregisterHotKey(window_, kHotKeyId);
  registered_ = false;
}

void HotKey::SetKey(ShortCut key) {
  if (key == key_) return;
  key_ = key;
  if (designing()) return;
  UnregisterKey();
  if (enabled_) RegisterKey();
}

void HotKey::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (designing()) return;
  if (enabled) RegisterKey();
  else UnregisterKey();
}

void HotKey::loaded() {
  Component::loaded();
  if (enabled_) RegisterKey();
}

}  // namespace vrin
