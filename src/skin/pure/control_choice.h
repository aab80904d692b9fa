#pragma once
// Which skinner a control gets. On an application form the decision follows the control's
// kind, its Tag and the skin's SkinControls and DisableTag; among the children of a bare
// window (a system dialog box) only the window class and style count.
#include <cstdint>
#include <string_view>

#include "skin/pure/skin_control_types.h"

namespace vrin {

// The kinds of control the rules tell apart. A kind also counts as its family: a bit button
// is a push button, a memo an edit, a radio group a group box.
enum class ControlKind {
  Other, TabControl, PageControl, CheckBox, RadioGroup, Panel, GroupBox, RadioButton, ToolBar,
  StatusBar, ProgressBar, ScrollBar, ComboBox, BitButton, SpeedButton, ListView, Memo, PushButton,
  Edit, ListBox, TreeView, Grid, ScrollBox, Frame, Form,
};
bool isKind(ControlKind kind, ControlKind family);

// The kind of a control the framework does not wrap, from its window class (any case) and style.
ControlKind controlKindFromClass(std::string_view className, std::uint32_t style);

// The control skinner classes.
enum class Skinner {
  None, SkinButton, SkinBitButton, SkinSpeedButton, SkinCheckBox, SkinRadioButton, SkinComBox,
  SkinEdit, SkinStatusBar, SkinProgress, SkinBox, SkinSizer, SkinTab, SkinHeader, SkinScrollBar,
  SkinListView, SkinScControl,
};

// How a skinner is attached: to the framework control (AttachControl), to its window handle
// (AttachWindow), to a speed button (which has no window), or as a scroll-bar skinner.
enum class AttachBy { None, Control, Window, SpeedButton, ScrollBar };

enum class FormAction {
  Leave,           // no skinner
  Attach,          // the skinner below
  RadioGroup,      // the skinner below for the group, then kRadioGroupChild for each child control
  FlatToolBar,     // no skinner: the tool bar is switched to its flat style
  SkinChildren,    // a frame: its own components go through the same rules
  RecolourAndSkinChildren,  // a form inside the form: ButtonFaceColor, then its components
};

struct ControlChoice {
  FormAction action = FormAction::Leave;
  Skinner skinner = Skinner::None;
  AttachBy attach = AttachBy::None;
  bool recolour = false;     // the control's Color becomes the skin's ButtonFaceColor
  bool ownTracking = false;  // the scroll-bar skinner drags the thumbs itself
  bool sizeGripOff = false;  // a status bar loses its size grip
  bool operator==(const ControlChoice&) const = default;
};
inline constexpr ControlChoice kRadioGroupChild{FormAction::Attach, Skinner::SkinRadioButton, AttachBy::Control, true};

// A component of a form as the rules see it.
struct FormComponent {
  ControlKind kind = ControlKind::Other;
  std::int32_t Tag = 0;
  bool windowed = false;     // a control with a window handle
  std::uint32_t style = 0;   // its window style
};

struct FormSkinRules {
  SkinControlTypes SkinControls = kAllSkinControls;
  std::int32_t DisableTag = 99;
  bool hasTabs = false;  // the skin has a Tabs element
};

// True when the Tag modulo 100 (remainder with the Tag's sign) equals DisableTag.
bool tagDisablesSkin(std::int32_t tag, std::int32_t disableTag);

// The first rule that fits the component, or Leave. Components the caller has already
// skinned are the caller's to skip. The Tag rules (55 scrollable, 56 combo box, 57 edit)
// apply only to controls with a window, the only ones a skinner can be attached to.
ControlChoice chooseFormControl(const FormComponent& component, const FormSkinRules& rules);

// A child window of a bare window: the skinner by class name (any case) and style, attached
// with AttachWindow, to the window or, for an extended combo box, to its first child window.
// Windows without WS_CHILD get none.
struct BareChildChoice {
  Skinner skinner = Skinner::None;
  bool onFirstChild = false;
  bool operator==(const BareChildChoice&) const = default;
};
BareChildChoice chooseBareChild(std::string_view className, std::uint32_t style);

}  // namespace vrin
