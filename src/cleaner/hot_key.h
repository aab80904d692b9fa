#pragma once
// A global hot key: one key combination registered with the system (identifier 0) for a
// private window, whose WM_HOTKEY becomes the OnHotKey event wherever the user is.
#include "ui/pure/component.h"
#include "ui/pure/shortcut.h"
#include "ui/window_hooks.h"
#include "ui/win.h"

namespace vrin {

class HotKey : public Component {
 public:
  explicit HotKey(Component* owner);
  ~HotKey() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  ShortCut key() const { return key_; }
  // Moves the registration to the new combination; the same value changes nothing.
  void SetKey(ShortCut key);
  // Whether the system accepted the combination (a taken one leaves the key dead).
  bool registered() const { return registered_; }
  // The private window that receives WM_HOTKEY (made on first registration).
  HWND window() const { return window_; }

  NotifyEvent onHotKey;

 protected:
  void loaded() override;

 private:
  void RegisterKey();
  void UnregisterKey();
  HWND ensureWindow();
  int keyProp() const { return key_; }
  void setKeyProp(int v) { SetKey(ShortCut(v)); }

  bool enabled_ = true;
  bool registered_ = false;
  ShortCut key_ = 0;
  HWND window_ = nullptr;
  WindowHook hook_;
};

}  // namespace vrin
