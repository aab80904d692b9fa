// The blocking switch: tray icon, tip, menu item and the Running flag the browser helper reads.
#include "app/helper_form.h"
#include "ui/registry.h"

namespace vrin {

namespace {
const char kRunningKey[] = "Software\\Vrin\\Running";
const char kRunningValue[] = "Vrin";

// A key that cannot be opened is skipped; a value that cannot be written raises.
void writeRunningFlag(const char* value) {
  Registry reg(HKEY_CURRENT_USER);
  if (reg.openKey(kRunningKey, true)) reg.writeString(kRunningValue, value);
}

void showOn(MenuItem* item, TrayIcon* tray) {
  item->setImageIndex(0);
  item->setCaption("&Disable Vrin");
  tray->SetHint("Vrin enable");
}

void showOff(MenuItem* item, TrayIcon* tray) {
  item->setImageIndex(1);
  item->setCaption("&Enable Vrin");
  tray->SetHint("Vrin disable");
}
}  // namespace

void HelperForm::ApplyBlockingState() {
  // Only 1 means on. Any other stored index is off in all five places, the tray picture
  // and the index saved next included.
  const bool on = PlaceTray1->iconIndex() == 1;
  if (!on && PlaceTray1->iconIndex() != 0) PlaceTray1->SetIconIndex(0);
  writeRunningFlag(on ? "1" : "0");
  if (on) showOn(submenu1, PlaceTray1);
  else showOff(submenu1, PlaceTray1);
}

void HelperForm::submenu1Click(Component*) {
  // The switch item's picture is the state the toggle reads.
  if (submenu1->imageIndex() != 0) {
    submenu1->setImageIndex(0);
    submenu1->setCaption("&Disable Vrin");
    PlaceTray1->SetIconIndex(1);
    PlaceTray1->SetHint("Vrin enable");
    writeRunningFlag("1");
  } else {
    submenu1->setImageIndex(1);
    submenu1->setCaption("&Enable Vrin");
    PlaceTray1->SetHint("Vrin disable");
    PlaceTray1->SetIconIndex(0);
    writeRunningFlag("0");
  }
}

}  // namespace vrin
