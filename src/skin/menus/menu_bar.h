#pragma once
// The menu bar of a skinned window: the window's menu is taken away from the system and drawn
// by the skin in the window's non-client area, one button per top-level item. A bar item's menu
// is tracked with the skin's owner-drawn items, and while it is open a message filter moves
// between bar items on the arrow keys and the mouse.
#include <memory>
#include <string>
#include <vector>

#include "core/image.h"
#include "skin/pure/menu_layout.h"
#include "skin/pure/menu_rules.h"
#include "skin/pure/nc_object.h"
#include "ui/win.h"

namespace vrin {

class MainMenu;
class SkinForm;
class SkinMenuBar;

// One top-level item of the bar.
class MenuBtn : public NcObject {
 public:
  MenuBtn(SkinMenuBar& bar, int index);
  int Index;
  std::string Caption;
  bool Enabled = true;
  HMENU SubMenu = nullptr;
  UINT CommandId = 0;
  // Where the item sits in the bar's picture (bar coordinates), from the last paint.
  Rect cell;
  // Redraws the item in its State straight on the window, over the bar as last painted.
  void Paint() override;

 private:
  SkinMenuBar& bar_;
};

class SkinMenuBar {
 public:
  explicit SkinMenuBar(SkinForm& owner);
  ~SkinMenuBar();
  SkinMenuBar(const SkinMenuBar&) = delete;
  SkinMenuBar& operator=(const SkinMenuBar&) = delete;

  // Reads the window's menu anew. A menu with items is taken away from the window, so the
  // system draws no bar of its own; an empty one leaves the bar empty.
  void buildItems();
  // Gives the window back the menu the bar took (when it still exists).
  void restoreMenu();
  // Paints the bar into `bar` (window coordinates) of the window's device context.
  void paint(HDC dc, const Rect& bar);
  // The first item with a caption whose Bounds holds the point (window coordinates).
  MenuBtn* itemAt(int x, int y) const;
  // The first enabled item whose caption has that accelerator, compared without case.
  MenuBtn* itemForAccelerator(char32_t character) const;
  MenuBtn* item(int index) const;
  int ItemCount() const { return int(items_.size()); }
  const std::vector<std::unique_ptr<MenuBtn>>& Items() const { return items_; }
  SkinForm& owner() const { return owner_; }
  std::vector<MenuBarItem> ruleItems() const;

  MainMenu* FormMenu = nullptr;
  HMENU MenuHandle = nullptr;
  bool taken = false;  // MenuHandle was taken away from the window
  Rect BarRect;
  Image BarCache;

 private:
  SkinForm& owner_;
  std::vector<std::unique_ptr<MenuBtn>> items_;
};

// Draws a bar caption centred in its cell, in the colour of an enabled or disabled item.
void drawBarCaption(HDC dc, const std::string& caption, bool enabled, const RECT& cell, const SkinForm& form);

// ---- Tracking a bar item's menu (one at a time, on the user-interface thread) ----

// Tracks the item's submenu from below the item; returns when the menu closed. False when
// the item has no submenu or another bar menu is open.
bool trackMenuBarItem(SkinForm& form, MenuBtn& item);
// WM_MENUSELECT reaching the window whose bar item is open.
void menuBarItemSelected(SkinForm& form, WPARAM wp, LPARAM lp);
// The window releasing its skinner: a tracking that points at it forgets it.
void forgetMenuTracking(const SkinForm& form);

SkinForm* TrackingForm();
int TrackingIndex();
bool menuFilterHookInstalled();
const MenuTracker& menuTracker();

}  // namespace vrin
