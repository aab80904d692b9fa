#pragma once
// The tray icon's rules that need no window system: what each tray mouse report turns
// into, the icon index and cycling arithmetic, the tip bytes, and the decisions of the
// application and owner window hooks. The Win32 tray icon feeds messages in and performs
// the actions that come back, in order.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vrin {

// The tray record's fixed values.
constexpr unsigned kTrayIconId = 1;
constexpr unsigned kTrayCallbackMessage = 0x0800;  // WM_USER + 0x400
constexpr unsigned kTrayIconFlags = 7;              // NIF_MESSAGE | NIF_ICON | NIF_TIP
constexpr std::size_t kTrayTipBytes = 64;           // szTip of the first NOTIFYICONDATA form

// Mouse message numbers as the shell reports them in lParam (named apart from <windows.h>).
constexpr unsigned kTrayMouseMove = 0x0200, kTrayLButtonDown = 0x0201, kTrayLButtonUp = 0x0202,
                   kTrayLButtonDblClk = 0x0203, kTrayRButtonDown = 0x0204,
                   kTrayRButtonUp = 0x0205, kTrayRButtonDblClk = 0x0206,
                   kTrayMButtonDown = 0x0207, kTrayMButtonUp = 0x0208,
                   kTrayMButtonDblClk = 0x0209;

enum class TrayButton { Left, Right, Middle };

// Shift state bits, ordinal order of the framework's shift-state set.
enum TrayShift : unsigned {
  kTrayShiftShift = 1u << 0, kTrayShiftAlt = 1u << 1, kTrayShiftCtrl = 1u << 2,
  kTrayShiftLeft = 1u << 3, kTrayShiftRight = 1u << 4, kTrayShiftMiddle = 1u << 5
};
// Modifier bits from GetKeyState results (a key is down when the high bit is set).
unsigned trayModifierShift(std::int16_t shiftKey, std::int16_t altKey, std::int16_t ctrlKey);
unsigned trayButtonShift(TrayButton button);

enum class TrayEvent {
  MouseMove,        // OnMouseMove(shift, cursor)
  MouseDown,        // OnMouseDown(button, shift, cursor)
  MouseUp,          // OnMouseUp(button, shift, cursor)
  Click,            // OnClick
  DblClick,         // OnDblClick
  ShowMenu,         // ShowMenuAtCursor (still needs the cursor position)
  ClickDefaultItem  // click top-level item `item` of the popup menu
};

struct TrayAction {
  TrayEvent event = TrayEvent::MouseMove;
  TrayButton button = TrayButton::Left;  // MouseDown / MouseUp
  unsigned shift = 0;                    // MouseMove / MouseDown / MouseUp
  int item = -1;                         // ClickDefaultItem
  bool operator==(const TrayAction&) const = default;
};

// What the component knows about its popup menu when a report arrives.
struct TrayMenuInfo {
  bool assigned = false;
  bool autoPopup = true;
  int defaultItem = -1;  // see defaultMenuItem()
};

struct TraySettings {
  bool enabled = true;
  bool leftPopup = false;
};

// The lowest top-level item index whose default flag is set, -1 when none.
int defaultMenuItem(const std::vector<bool>& defaultFlags);

// Click and double click are told apart by the click-pending flag alone: the shell reports
// a double click as press, release, double-click, release, which yields one Click then one
// DblClick.
class TrayClickTracker {
 public:
  // modifiers: trayModifierShift() at the time of the report.
  std::vector<TrayAction> onTrayMessage(unsigned mouseMessage, unsigned modifiers,
                                        const TraySettings& settings, const TrayMenuInfo& menu);
  bool clickPending() const { return clickPending_; }

 private:
  bool clickPending_ = false;
};

// ---- Icon index ----

struct TrayIconChoice {
  int index = 0;
  bool copyImage = false;  // copy that picture of the list into the icon
  bool operator==(const TrayIconChoice&) const = default;
};
// With a list: lowered to count - 1 above it, raised to 0 below 0; without a list (or an
// empty one) the index is 0 and the icon is left alone.
TrayIconChoice chooseTrayIconIndex(int requested, bool hasList, int count);

// One cycle tick from the current index: the picture to copy first, the index OnCycle
// reports and that is set next (wrapping to 0 after the last).
struct TrayCycleStep {
  bool copyCurrent = false;
  int current = 0;
  int next = 0;
  bool operator==(const TrayCycleStep&) const = default;
};
TrayCycleStep trayCycleStep(int iconIndex, int count);

// ---- Tip ----

// The szTip bytes: the first 63 characters of the hint, zero-filled, when the hint is
// shown and non-empty; 64 zero bytes otherwise.
std::array<char, kTrayTipBytes> trayTip(std::string_view hint, bool showHint);

// ---- Window hooks ----

// Application window: WM_SIZE with SIZE_MINIMIZED folds into the tray when asked to.
bool trayMinimizesIntoTray(unsigned message, std::uintptr_t wParam, bool minimizeToTray);

enum class TrayOwnerAction { None, RestoreTaskbarButton, FocusActiveControl };
// Owner form: shown by a direct call (WM_SHOWWINDOW 1, 0) brings the taskbar button back;
// WM_WINDOWPOSCHANGED gives the focus back to the active control.
TrayOwnerAction trayOwnerAction(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace vrin
