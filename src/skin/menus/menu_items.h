#pragma once
// Menu items under the skin: their sizes and their drawing, for the owner-drawn items of a
// skinned window's menus (WM_MEASUREITEM / WM_DRAWITEM) and, through handlers put on the
// items, for the popup menu components of a skinned form (the tray menu among them).
#include "ui/menus.h"
#include "ui/win.h"

namespace vrin {

class SkinForm;

// WM_MEASUREITEM and WM_DRAWITEM of a skinned window. False when the message is not about an
// owner-drawn menu item (the caller passes it on).
bool measureSkinnedMenuItem(SkinForm& form, MEASUREITEMSTRUCT& mis);
bool drawSkinnedMenuItem(SkinForm& form, const DRAWITEMSTRUCT& dis);

// The menu whose strings name the items of a bare window (the open bar item's); when none,
// the window's own menu is read.
HMENU& trackedMenu();

// The popup menu components of the form get (on) or lose (off) the skin's item handlers.
void skinPopupMenus(SkinForm& form, bool on);

// The skin's handlers, as an item holds them (delegates compare equal to these).
MenuDrawEvent skinDrawHandler();
MenuMeasureEvent skinTopLevelMeasure();
MenuMeasureEvent skinFullMeasure();

}  // namespace vrin
