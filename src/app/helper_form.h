#pragma once
// The history window: the program's one window and the owner of every component.
#include <string>

#include "ui/form.h"
#include "ui/imagelist.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"

#include "balloon/balloon_hint.h"
#include "cleaner/browser_stores.h"
#include "cleaner/hot_key.h"
#include "cleaner/trace_cleaner.h"
#include "menus/sidebar_menus.h"
#include "skin/skin_data.h"
#include "state/component_state.h"
#include "state/registry_store.h"
#include "tray/tray_icon.h"

namespace vrin {

// The killed-popup notification of the browser helper: lParam is a global atom.
constexpr UINT WM_KILLEDPOPUP = WM_USER + 321;

class HelperForm : public Form {
 public:
  explicit HelperForm(Component* owner);
  ~HelperForm() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // Controls, top to bottom.
  Panel* Panel1 = nullptr;
  Label* Label1 = nullptr;
  ComboBox* touche = nullptr;
  ListBox* ListBox1 = nullptr;
  StatusBar* StatusBar1 = nullptr;

  // Non-visual components.
  ImageList* ImageList1 = nullptr;
  SideBarPopupMenu* SideBarPopupMenu1 = nullptr;
  PopupMenu* PopupMenu1 = nullptr;
  TrayIcon* PlaceTray1 = nullptr;
  HotKey* HotKey1 = nullptr;
  BrowserCache* BrowserCache1 = nullptr;
  BrowserHistory* BrowserHistory1 = nullptr;
  BalloonHint* pop = nullptr;
  ComponentState* ComponentState1 = nullptr;
  RegistryStore* RegistryStore1 = nullptr;
  SkinData* SkinData1 = nullptr;

  // The tray menu's items.
  MenuItem* submenu2 = nullptr;
  MenuItem* Clear1 = nullptr;
  MenuItem* submenu1 = nullptr;
  MenuItem* N1 = nullptr;  // the unnamed, empty item
  MenuItem* Beep1 = nullptr;
  MenuItem* Clearoptions1 = nullptr;
  MenuItem* option1 = nullptr;
  MenuItem* option2 = nullptr;
  MenuItem* option3 = nullptr;
  MenuItem* option4 = nullptr;
  MenuItem* option6 = nullptr;
  MenuItem* option5 = nullptr;
  MenuItem* submenu3 = nullptr;
  MenuItem* submenu4 = nullptr;

  // The history list's context menu.
  MenuItem* Gotothislink1 = nullptr;
  MenuItem* Clearall1 = nullptr;
  MenuItem* HideVrin1 = nullptr;

  // Filled by FormCreate, used to register the browser helper.
  std::string SystemFolder;
  std::string CurrentFolder;

  // Handlers.
  void FormCreate(Component* sender);
  void FormClose(Component* sender, CloseAction& action);
  void submenu2Click(Component* sender);
  void PlaceTray1Click(Component* sender);
  void HideVrin1Click(Component* sender);
  void submenu3Click(Component* sender);
  void submenu4Click(Component* sender);
  // Killed popups and the history list.
  void KilledPopup(LPARAM atom);
  void ListBox1DblClick(Component* sender);
  void Gotothislink1Click(Component* sender);
  void PopupMenu1Popup(Component* sender);
  void Clearall1Click(Component* sender);
  void Beep1Click(Component* sender);
  // Trace cleaning and the panic key.
  void Clear1Click(Component* sender);
  void HotKey1HotKey(Component* sender);
  CleanOptions CleanChoices() const;
  // The blocking switch.
  void submenu1Click(Component* sender);
  void ApplyBlockingState();

  // The balloon anchor: near the bottom-right corner of the screen, in client coordinates.
  POINT BalloonAnchor();

 protected:
  LRESULT windowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void define();
  void ShowAlert(const std::string& text);
  void QueueAlert(const std::string& text);
  static constexpr UINT kShowPendingAlert = WM_APP + 1;
  MenuItem* addItem(MenuItem& parent, const char* name, const std::string& caption, int image);
  UINT showHistoryMessage_ = 0;
  // The balloon of a killed popup is shown once the queue holds no older notification, so
  // a burst shows the last address instead of rebuilding a window per popup.
  std::string pendingAlert_;
  bool alertPosted_ = false;
};

// The one instance, while it exists.
extern HelperForm* HelperFormInstance;

}  // namespace vrin
