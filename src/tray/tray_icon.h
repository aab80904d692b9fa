#pragma once
// The notification-area icon: its picture and tip, mouse reports turned into events, the
// popup menu at the cursor, and folding the application into the tray.
#include <string>

#include "tray/pure/tray_logic.h"
#include "ui/graphics.h"
#include "ui/pure/component.h"
#include "ui/window_hooks.h"
#include "ui/win.h"

#include <shellapi.h>

namespace vrin {

class ImageList;
class PopupMenu;

using TrayMouseEvent = Event<void(Component*, TrayButton, unsigned shift, int x, int y)>;
using TrayMouseMoveEvent = Event<void(Component*, unsigned shift, int x, int y)>;
using CycleEvent = Event<void(Component*, int nextIndex)>;

class TrayIcon : public Component {
 public:
  explicit TrayIcon(Component* owner);
  ~TrayIcon() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  bool enabled() const { return enabled_; }
  void setEnabled(bool v) { enabled_ = v; }
  Icon& icon() { return icon_; }
  void SetIcon(HICON icon);  // takes a copy
  bool iconVisible() const { return iconVisible_; }
  void SetIconVisible(bool v);
  std::string hint() const { return hint_; }
  void SetHint(const std::string& text);
  bool showHint() const { return showHint_; }
  void SetShowHint(bool v);
  PopupMenu* popupMenu() const { return popupMenu_; }
  void setPopupMenu(PopupMenu* menu);
  bool leftPopup = false;
  bool getLeftPopup() const { return leftPopup; }
  void setLeftPopup(bool v) { leftPopup = v; }
  // Design time only: stored, no effect in the running program.
  bool designPreview() const { return designPreview_; }
  void SetDesignPreview(bool v) { designPreview_ = v; }
  bool startMinimized() const { return startMinimized_; }
  void setStartMinimized(bool v) { startMinimized_ = v; }
  bool minimizeToTray() const { return minimizeToTray_; }
  void setMinimizeToTray(bool v) { minimizeToTray_ = v; }
  int iconIndex() const { return iconIndex_; }
  void SetIconIndex(int index);
  ImageList* iconList() const { return iconList_; }
  void SetIconList(ImageList* list);
  bool cycleIcons() const { return cycleIcons_; }
  void SetCycleIcons(bool v);
  unsigned cycleInterval() const { return cycleInterval_; }
  void SetCycleInterval(unsigned ms);

  virtual bool AddToTray();
  virtual bool RemoveFromTray();
  virtual bool UpdateTray();
  void RefreshTray() { UpdateTray(); }
  void ShowMenuAtCursor();
  HWND messageWindow() const { return window_; }
  // The tray record as last filled (for inspection).
  const NOTIFYICONDATAA& trayRecord() const { return data_; }

  NotifyEvent onClick;
  NotifyEvent onDblClick;
  TrayMouseEvent onMouseDown;
  TrayMouseEvent onMouseUp;
  TrayMouseMoveEvent onMouseMove;
  CycleEvent onCycle;

 protected:
  void loaded() override;
  void notification(Component* component, Operation operation) override;
  virtual void MinimizeIntoTray();

 private:
  static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
  void trayMessage(unsigned mouseMessage);
  TrayMenuInfo menuInfo() const;
  void ownerMessage(HWND owner, UINT msg, WPARAM wp, LPARAM lp);
  void rememberFocus(HWND owner, HWND focus);
  void cycleTick();
  void updateTimer();
  bool FillTrayData();
  // CycleInterval as a published integer (kept within 0 .. INT_MAX).
  int cycleIntervalSetting() const;
  void setCycleIntervalSetting(int ms);
  void HideApplicationWindows();

  bool enabled_ = true;
  Icon icon_;
  bool iconVisible_ = true;
  std::string hint_;
  bool showHint_ = false;
  PopupMenu* popupMenu_ = nullptr;
  bool startMinimized_ = false;
  bool minimizeToTray_ = false;
  int iconIndex_ = 0;
  ImageList* iconList_ = nullptr;
  bool cycleIcons_ = false;
  unsigned cycleInterval_ = 0;
  bool designPreview_ = false;
  // The owner's active control: the last of its controls seen holding the focus.
  HWND activeControl_ = nullptr;
  TrayClickTracker clicks_;
  NOTIFYICONDATAA data_{};
  // Whether our entry is in the tray: a modify before the first add cannot succeed, and
  // each call is a round trip to the shell, so start-up skips them.
  bool inTray_ = false;
  HWND window_ = nullptr;
  WindowHook appHook_;
  WindowHook ownerHook_;
};

}  // namespace vrin
