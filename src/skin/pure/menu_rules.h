#pragma once
// The decisions of menu skinning: which popup menu components and items the skin takes over
// and how, which drawing an owner-drawn item gets, what a popup menu window does with a
// message, and the tracking of a menu-bar item's menu (which bar item the arrow keys and the
// mouse switch to, the first key posted, when tracking ends).
#include <cstdint>

#include "core/image.h"
#include "skin/pure/skin_control_types.h"

namespace vrin {

// ---- Popup menu components of a skinned form ----

// A popup menu component is skinned when xcPopupMenu is on and its Tag modulo 100 is not DisableTag.
bool skinsPopupMenu(SkinControlTypes skinControls, std::int32_t tag, std::int32_t disableTag);

// Items with this Tag never keep a draw handler while the skin is on.
constexpr std::int32_t kUnskinnedItemTag = 999;

// What an item's handler slot holds, as comparing its delegate with the skin's tells.
enum class HandlerHeld { None, Skin, Other };

enum class DrawChange { Keep, SetSkin, Clear };
enum class MeasureChange { Keep, SetTopLevel, SetFull, Clear };
struct ItemHandlerChange {
  DrawChange draw = DrawChange::Keep;
  MeasureChange measure = MeasureChange::Keep;
  bool operator==(const ItemHandlerChange&) const = default;
};

struct SkinItemFacts {
  std::int32_t Tag = 0;
  bool topLevel = false;                     // an item of the menu's root
  HandlerHeld draw = HandlerHeld::None;      // its OnDrawItem
  HandlerHeld measure = HandlerHeld::None;   // its OnMeasureItem
};

// Switching on: a Tag of 999 loses its draw handler; a draw handler of its own is left with
// its measure handler; a top-level item gets the skin's drawing and the top-level measure; a
// deeper one the full measure, and the skin's drawing only with xcMainMenu (a side-bar
// measure handler is replaced either way). Switching off takes the skin's own handlers away
// and leaves everyone else's, so no item keeps a handler of a skinner that is gone. Every
// item is visited, sub-items included, whatever its parent got.
ItemHandlerChange itemHandlerChange(bool switchingOn, const SkinItemFacts& item, SkinControlTypes skinControls);

// ---- Owner-drawn items of a skinned window ----

// The drawing an owner-drawn item gets: skinned with a readable MenuItem picture, else plain;
// a temporary item is read from the menu when no application item has the command.
enum class ItemDrawing { Skinned, SkinnedTemporary, Plain, PlainTemporary };
ItemDrawing chooseItemDrawing(bool applicationItem, bool skinnedItems);

// ---- Popup menu windows ----

enum class PopupAction {
  Pass,             // to the window's own procedure
  ReleaseThenPass,  // WM_DESTROY: give the procedure back first
  Swallow,          // nothing drawn, nothing passed on
  DrawFrame,        // compose the background and copy its frame strips to the window
  Print,            // background, then the system prints the items inside the clip
};
// background: the skin has a MenuBackground element with a picture. Without one the system
// keeps drawing the window, its frame included.
PopupAction popupMessageAction(unsigned message, bool skinActive, bool windows95, bool background);

// ---- Tracking a menu-bar item's menu ----

// Platform values of the messages and keys the tracking reads.
namespace menumsg {
constexpr unsigned KeyDown = 0x100, KeyUp = 0x101, SysKeyDown = 0x104, SysKeyUp = 0x105;
constexpr unsigned MenuSelect = 0x11F, MouseMove = 0x200;
}  // namespace menumsg
namespace vk {
constexpr unsigned Return = 0x0D, Menu = 0x12, Escape = 0x1B, Left = 0x25, Right = 0x27, Down = 0x28;
}  // namespace vk

// The item last selected in the open menu, as WM_MENUSELECT reports it.
struct MenuSelection {
  bool known = false;             // an item is selected
  bool inTrackedMenu = false;     // it is an item of the bar item's own menu
  bool opensTrackedMenu = false;  // its submenu is the bar item's menu
  bool hasSubItems = false;
  bool rightToLeft = false;       // its menu reads right to left
};

// One message of the menu's loop, after the next hook let it through (code MSGF_MENU).
struct MenuLoopMessage {
  unsigned message = 0;
  std::uintptr_t wParam = 0;   // the key code, as translateKey left it
  Point cursor;                // WM_MOUSEMOVE: the cursor on the screen
  int barItemUnderCursor = -1; // WM_MOUSEMOVE: the bar item there, -1 when none
};

struct MenuLoopReaction {
  bool postKeyDown = false;  // post WM_KEYDOWN VK_DOWN to the message's window: the first item is selected
  bool endTracking = false;  // MenuTracking := false
  int press = -1;            // press this bar item: its menu replaces the open one
  bool operator==(const MenuLoopReaction&) const = default;
};

// One menu is tracked at a time; the window layer keeps one tracker for the thread and
// runs the hook, TrackPopupMenu and the posting.
class MenuTracker {
 public:
  // The bar item `index` of a bar of `itemCount` items opens; the hook starts.
  void start(int index, int itemCount, Point cursor);
  // The hook stops.
  void stop();
  int TrackingIndex() const { return trackingIndex_; }
  const MenuSelection& CurrentItem() const { return current_; }
  bool KeySwitch() const { return keySwitch_; }

  // What an arrow key should be read as: in a right-to-left menu left and right swap. Only
  // key messages carry key codes; others keep their WPARAM.
  std::uintptr_t translateKey(unsigned message, std::uintptr_t wParam) const;
  MenuLoopReaction onMessage(const MenuLoopMessage& m);
  // WM_MENUSELECT, from the hook or from the owner window: closing (flags 0xFFFF and no menu)
  // ends the tracking unless a switch to another bar item closed the menu; otherwise the
  // selection becomes CurrentItem. Only endTracking is ever set.
  MenuLoopReaction onMenuSelect(bool closing, const MenuSelection& selection);

 private:
  int target(const MenuLoopMessage& m);
  int trackingIndex_ = -1;
  int itemCount_ = 0;
  MenuSelection current_;
  bool firstMessageSeen_ = false;
  bool keySwitch_ = false;
  Point lastMousePos_;
};

}  // namespace vrin
