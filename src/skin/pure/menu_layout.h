#pragma once
// Where skinned menus put things, as plain arithmetic: the menu bar's background, item cells
// and hit test, the accelerator of a caption, the sizes the skin measures items at, the parts
// of a skinned separator, the placement of an item's check mark, image, caption and shortcut,
// the text routine's flags and colours, and the frame of a popup menu window. The Win32 side
// measures texts, reads menus and hands the values here.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/colour_text.h"
#include "core/image.h"
#include "skin/pure/control_layout.h"
#include "skin/pure/skin_settings.h"

namespace vrin {

// ---- The menu bar ----

// A bar cell is its caption's width plus this.
constexpr int kBarItemPadding = 10;
// Without a MenuBar picture the first item starts here.
constexpr int kPlainBarStart = 6;

// How the bar's background is painted and where its first item starts.
struct MenuBarBackground {
  bool fromElement = false;  // the MenuBar element; else a fill with MenuBarColor
  bool grid = false;         // the element's Tile is 1: a grid over the bar; else a three-slice
  int frame = 1;             // 1 while the window is active, 2 otherwise
  int firstItemX = kPlainBarStart;
};
// An element whose picture could not be read counts as absent, as everywhere a picture is missing.
MenuBarBackground menuBarBackground(const std::optional<SkinElement>& menuBar, int barWidth, bool active);

// The cells of the items, in bar coordinates: item i is captionWidths[i] + 10 wide and
// (x, 0, x + width, barHeight - 1), x starting at firstItemX and advancing by the width.
std::vector<Rect> menuBarCells(const std::vector<int>& captionWidths, int firstItemX, int barHeight);
// An item's Bounds: its cell moved by the bar's top-left (window coordinates), one pixel
// lower at the bottom, and cut to the bar, so a cell past the bar's end cannot be hit.
Rect menuBarItemBounds(const Rect& cell, const Rect& bar);

// A bar caption is measured with these DrawText flags and drawn with the second set, centred
// in its cell both ways (placeCaption).
unsigned barCaptionFlags(bool measuring);

// What a menu's own item state and type say (MENUITEMINFO's fState and fType): enabled unless
// grayed or disabled; plain text unless owner-drawn, a bitmap, a separator and the like (its
// caption then comes from the application's item with the same command).
bool menuItemEnabled(unsigned state);
bool menuItemChecked(unsigned state);
bool menuItemIsText(unsigned type);

// A top-level item of the bar as the rules see it.
struct MenuBarItem {
  std::string Caption;
  bool Enabled = true;
  Rect Bounds;  // window coordinates, from the last paint
};
// The first item with a non-empty caption whose Bounds holds the point; -1 when none.
int menuBarItemAt(const std::vector<MenuBarItem>& items, int x, int y);

// The accelerator of a caption: the character after the first "&" that is not part of a
// doubled "&&" (which shows a plain "&"), as a code point of the UTF-8 caption; 0 when none.
char32_t acceleratorOf(std::string_view caption);
// The first enabled item whose accelerator is the character, compared without regard to case
// (ASCII and Latin-1 letters); -1 when none. A character of 0 matches nothing.
int menuBarItemForAccelerator(const std::vector<MenuBarItem>& items, char32_t character);

// Keyboard menu (SC_KEYMENU with the key typed after Alt): swallowed while no bar menu is
// open and no window has the capture, when the key is 0 or the accelerator of an enabled bar
// item; a space (the system menu) and "-" (an MDI child's system menu) always pass.
bool swallowKeyMenu(const std::vector<MenuBarItem>& items, bool menuOpen, bool captured, char32_t key);

// A bar item is pressed by a WM_NCLBUTTONDOWN posted at its top-left + (1, 1), and its menu is
// tracked from its bottom-left corner; both in screen coordinates, the window's top-left given.
Point menuBarPressPoint(const Rect& bounds, Point windowOrigin);
Point menuBarMenuPoint(const Rect& bounds, Point windowOrigin);

// An item is framed in ButtonHilightColor while pressed (2) or hot (3).
bool menuBarItemFramed(int state);
// Enabled captions in MenuBarTextColor, disabled ones in the button shadow system colour.
Colour menuBarTextColour(const SkinColors& colours, bool enabled);

// ---- Measuring ----

// Width added to the measured text of an item, and the height of a separator.
constexpr int kSkinItemExtraWidth = 26;
constexpr int kSkinSeparatorHeight = 8;
constexpr int kTopLevelExtraWidth = 28;
// The Windows 95 family draws its menus 4 pixels taller.
constexpr int kWindows95ExtraHeight = 4;

// The full measure. textWidth: an application item's caption followed directly by its
// shortcut text, or a bare menu's string for the identifier, in the screen's menu font.
// separator: the caption "-" for an application item, an empty string for a bare menu.
Size skinItemSize(int textWidth, int proposedHeight, bool separator, bool windows95);
// The top-level measure of a popup menu component's items: the proposed width + 28; on the
// Windows 95 family items other than "-" are 4 higher.
Size skinTopLevelItemSize(Size proposed, bool separator, bool windows95);

// ---- Skinned item drawing ----

// Popup menu windows keep this frame; item rectangles sit inside it.
constexpr int kPopupFrame = 3;

// True when items get the skinned drawing: a MenuItem element with a readable picture.
bool skinnedMenuItems(const std::optional<SkinElement>& menuItem);

struct SkinnedItemPlan {
  int frame = 1;               // of the MenuItem strip: 4 selected, 1 otherwise
  bool drawElement = false;    // the element as a grid, then the content
  bool drawSeparator = false;  // the separator cut from frame 2 over the background
  bool operator==(const SkinnedItemPlan&) const = default;
};
// A "-" of an application item is a separator; a temporary item (read from a bare menu) is
// always drawn with the element.
SkinnedItemPlan skinnedItemPlan(bool separator, bool temporary, bool selected);
// The part of the popup's composed background behind an item at itemRect.
Rect itemBackgroundSource(const Rect& itemRect);

// A skinned separator item of itemWidth x itemHeight from frame 2 of the MenuItem strip
// (five frames side by side): the left part, the middle part and the right part, in that
// order, each a copy from the picture to the item's bitmap. Margins are kept within a frame.
std::array<PictureCopy, 3> separatorParts(int pictureWidth, int pictureHeight, int leftWidth, int rightWidth,
                                          int itemWidth, int itemHeight);

// An item read from a bare menu, drawn without an application item behind it: an empty
// string is a separator.
struct TemporaryItem {
  std::string Caption;
  bool Enabled = true;
  bool Checked = false;
  bool operator==(const TemporaryItem&) const = default;
};
TemporaryItem temporaryItem(std::string_view text, unsigned state);

// ---- Item content ----

// The alignment of a popup menu component.
enum class PopupAlignment { paLeft, paRight, paCenter };
// DT_LEFT, DT_RIGHT or DT_CENTER: a popup menu component's alignment; DT_LEFT for any other menu.
unsigned itemAlignmentFlags(bool popupComponent, PopupAlignment alignment);

constexpr int kGlyphBox = 16;

struct ItemContentInput {
  Rect rect;                 // R
  bool separator = false;    // caption "-"
  bool checked = false;
  int imageIndex = -1;
  int imageCount = 0;        // of the item's image list; 0 without one
  Size checkMark;            // the system check-mark bitmap
  Size captionExtent;        // the caption measured by the text routine (DT_CALCRECT)
  bool hasShortcut = false;
};

struct ItemContentLayout {
  Rect glyphBox;             // 16 x 16 at R's top-left + (1, 1); no width for "-"
  bool drawImage = false;    // the list's image at the box's top-left
  bool drawCheck = false;    // the check mark, transparent, at checkAt
  Point checkAt;
  Rect textRect;             // from the box's right + 3 to R.right - 1
  Rect caption;              // the measured caption centred vertically, kept in textRect
  Rect shortcut;             // DT_RIGHT, from the caption's right end to R.right - 11; empty without
};
ItemContentLayout layoutItemContent(const ItemContentInput& in);
// The caption's DrawText flags with the item's alignment: measured (DT_CALCRECT, DT_NOCLIP,
// DT_EXPANDTABS, DT_SINGLELINE) or drawn (DT_EXPANDTABS, DT_SINGLELINE). The text routine adds
// its right-to-left flags; the text it measures is measuredItemText's (a blank for "" and "&").
unsigned itemCaptionFlags(unsigned alignment, bool measuring);

// ---- The text routine ----

// Right-to-left menus add DT_RIGHT and DT_RTLREADING.
unsigned menuTextFlags(unsigned flags, bool rightToLeft);

struct MenuTextLook {
  Colour colour = 0;
  bool bold = false;
};
// Disabled: ButtonShadowColor, or the button shadow system colour when that equals MenuTextColor
// (the text would not look disabled); else HilightTextColor when selected, MenuTextColor otherwise.
MenuTextLook menuTextLook(const SkinColors& colours, bool selected, bool enabled, bool isDefault);
// A "-" draws an etched line (EDGE_ETCHED, BF_TOP) along this rectangle's top.
Rect menuSeparatorLine(const Rect& textRect);

// ---- Popup menu windows ----

// The window at 0, 0 shrunk by the frame on every side: the clip the items are printed in.
// Empty (at the centre) when the window is too small.
Rect popupClipRect(int width, int height);
// The frame's strips, top, bottom, left, right, each at most the window.
std::array<Rect, 4> popupFrameStrips(int width, int height);

}  // namespace vrin
