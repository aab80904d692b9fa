#pragma once
// The process-wide skin manager: keeps the skin data components, watches windows being
// created, activated and destroyed through a CBT hook on the user-interface thread, and
// attaches a form skinner to each top-level window (and, through the popup seam, a skinner to
// each popup menu window) while skinning is on.
#include <functional>
#include <memory>
#include <vector>

#include "skin/pure/manager_rules.h"
#include "ui/graphics.h"
#include "ui/win.h"

namespace vrin {

class SkinData;
class SkinForm;

// The skinner of one popup menu window. The menu skinning provides it; the manager keeps
// the list, asks for one per "#32768" window and releases it when the window goes.
class PopupSkinner {
 public:
  virtual ~PopupSkinner() = default;
  virtual HWND window() const = 0;
  // Gives the window its own procedure back; called before the skinner is freed.
  virtual void release() = 0;
  // The background picture of the popup window showing `menu`, or nullptr.
  virtual HBITMAP background(HMENU menu) const {
    (void)menu;
    return nullptr;
  }
};
using PopupSkinnerFactory = std::function<std::unique_ptr<PopupSkinner>(HWND window, SkinData& skin)>;

class SkinManager {
 public:
  // The manager, or nullptr before the first skin data made it.
  static SkinManager* instance();
  static SkinManager& create();
  // Frees the manager (at the end of the program): hook, timer, every skinner.
  static void destroy();
  ~SkinManager();
  SkinManager(const SkinManager&) = delete;
  SkinManager& operator=(const SkinManager&) = delete;

  void registerSkinData(SkinData* skin);
  // Also releases every skinner drawing with that skin data.
  void unregisterSkinData(SkinData* skin);
  const std::vector<SkinData*>& skinDataList() const { return skinData_; }
  // A skin data replaced its elements: its skinners drop what pointed into the old ones now,
  // before the deferred skin change re-applies it.
  void skinReloaded(SkinData* skin);

  // 1 switch on, 2 switch off, 3 skin changed: at once before the first activation, else
  // 250 ms later from the action timer.
  void request(int action);
  bool skinActive() const { return switch_.SkinActive; }
  int hookState() const { return switch_.HookState; }
  int pendingAction() const { return switch_.PendingAction; }
  bool actionTimerRunning() const { return timerRunning_; }

  // Attaches a form skinner when every condition holds.
  bool skinWindow(HWND window);
  SkinData* skinDataFor(HWND window) const;
  void skinPopup(HWND window);
  void releasePopup(HWND window);
  void releaseForm(HWND window);
  bool isSkinnedForm(HWND window) const { return skinnedForm(window) != nullptr; }
  bool isSkinnedPopup(HWND window) const;
  SkinForm* skinnedForm(HWND window) const;
  const std::vector<std::unique_ptr<SkinForm>>& skinnedForms() const { return forms_; }
  std::size_t skinnedPopupCount() const { return popups_.size(); }
  HBITMAP popupBackground(HMENU menu) const;

  bool mdiMaximized() const { return mdiMaximized_; }
  void setMdiMaximized(bool value);

  bool MenuOpen = false;
  SkinData* ChangedSkinData = nullptr;
  // Set by the menu skinning; without it popup menu windows stay as they are.
  PopupSkinnerFactory popupSkinnerFactory;

  // The shared work surface the title bars are composed on.
  Bitmap& workBitmap() { return work_; }

 private:
  SkinManager();
  static LRESULT CALLBACK cbtProc(int code, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void runPendingAction();
  void switchOffAll();
  void applySkinChange();
  // Detached skinners are freed from the manager's own window, never inside their hooks.
  void retire(std::unique_ptr<SkinForm> form);
  void freeRetired();

  SkinSwitch switch_;
  std::vector<SkinData*> skinData_;
  std::vector<std::unique_ptr<SkinForm>> forms_;
  std::vector<std::unique_ptr<SkinForm>> retired_;
  std::vector<std::unique_ptr<PopupSkinner>> popups_;
  bool mdiMaximized_ = false;
  HHOOK hook_ = nullptr;
  HWND window_ = nullptr;
  bool timerRunning_ = false;
  Bitmap work_;
};

}  // namespace vrin
