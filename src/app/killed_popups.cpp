// Killed-popup notifications and the history list's commands.
#include <urlmon.h>

#include <algorithm>

#include "app/helper_form.h"
#include "app/pure/address.h"

namespace vrin {

void HelperForm::KilledPopup(LPARAM lp) {
  // A browser helper only ever sends string atoms. An integer atom (1 to 0xBFFF) reads back
  // as "#1234", and a value beyond 16 bits is no atom at all: neither adds anything.
  constexpr LPARAM kFirstStringAtom = 0xC000, kLastAtom = 0xFFFF;
  if (lp < kFirstStringAtom || lp > kLastAtom) return;
  const ATOM atom = ATOM(lp);
  // Room for the longest atom name: some systems refuse to cut a name that does not fit,
  // so the cut to 254 characters is made here.
  char name[256];
  // An lParam that names no readable atom adds nothing: there is no text to trust.
  UINT n = GlobalGetAtomNameA(atom, name, sizeof name);
  if (n == 0) return;
  n = std::min(n, 254u);
  GlobalDeleteAtom(atom);
  std::string address = fromAnsi(std::string_view(name, n));
  int index = ListBox1->add(address);
  // The newest entry scrolls into view; the selection stays.
  RECT r = ListBox1->clientRect();
  int visible = std::max(1, int(r.bottom / std::max(1, ListBox1->itemHeight)));
  if (index >= visible) ListBox1->setTopIndex(index - visible + 1);
  QueueAlert("Pop killed:" + address);
}

void HelperForm::ListBox1DblClick(Component*) {
  int index = ListBox1->itemIndex();
  if (index < 0) return;
  std::string address = ListBox1->item(index);
  // Only web addresses reach the browser; anything else is left alone.
  if (!isNavigableAddress(address)) return;
  int remembered = submenu1->imageIndex();
  submenu1->setImageIndex(1);
  // The list holds the text converted from the ANSI code page already.
  std::wstring target = widen(address + "#");
  HlinkNavigateString(nullptr, target.c_str());
  submenu1->setImageIndex(remembered);
}

void HelperForm::Gotothislink1Click(Component* sender) { ListBox1DblClick(sender); }

void HelperForm::PopupMenu1Popup(Component*) {
  // Offered exactly when the selected entry would be opened (see ListBox1DblClick).
  const int index = ListBox1->itemIndex();
  Gotothislink1->setEnabled(index >= 0 && isNavigableAddress(ListBox1->item(index)));
  Clearall1->setEnabled(true);
  HideVrin1->setEnabled(true);
}

void HelperForm::Clearall1Click(Component*) { ListBox1->clear(); }

void HelperForm::Beep1Click(Component*) { Beep1->setChecked(!Beep1->checked()); }

}  // namespace vrin
