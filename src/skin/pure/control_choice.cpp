#include "skin/pure/control_choice.h"

namespace vrin {
namespace {

constexpr std::uint32_t kWsChild = 0x40000000, kWsVScroll = 0x200000, kWsHScroll = 0x100000;
constexpr std::uint32_t kEsMultiline = 0x4, kSbsSizeBox = 0x8, kSbsSizeGrip = 0x10;
constexpr std::uint32_t kTcsOwnerDrawFixed = 0x2000, kCbsTypeMask = 0x3, kCbsSimple = 0x1;

bool sameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

ControlChoice attach(Skinner skinner, AttachBy by, bool recolour = false) {
  return {FormAction::Attach, skinner, by, recolour};
}

bool scrollable(const FormComponent& c) {
  if (!c.windowed) return false;
  if (c.style & (kWsVScroll | kWsHScroll)) return true;
  for (ControlKind k : {ControlKind::ListBox, ControlKind::Memo, ControlKind::TreeView, ControlKind::Grid,
                        ControlKind::ScrollBox})
    if (isKind(c.kind, k)) return true;
  return false;
}

}  // namespace

bool isKind(ControlKind kind, ControlKind family) {
  if (kind == family) return true;
  switch (kind) {
    case ControlKind::BitButton: return family == ControlKind::PushButton;
    case ControlKind::Memo: return family == ControlKind::Edit;
    case ControlKind::RadioGroup: return family == ControlKind::GroupBox;
    default: return false;
  }
}

ControlKind controlKindFromClass(std::string_view name, std::uint32_t style) {
  if (sameText(name, "button")) {
    switch (style & 0xF) {
      case 0: case 1: return ControlKind::PushButton;
      case 2: case 3: case 5: case 6: return ControlKind::CheckBox;
      case 4: case 9: return ControlKind::RadioButton;
      case 7: return ControlKind::GroupBox;
      default: return ControlKind::Other;  // owner-drawn and user buttons draw themselves
    }
  }
  if (sameText(name, "edit")) return style & kEsMultiline ? ControlKind::Memo : ControlKind::Edit;
  if (sameText(name, "scrollbar"))
    return style & (kSbsSizeBox | kSbsSizeGrip) ? ControlKind::Other : ControlKind::ScrollBar;
  struct Named {
    std::string_view name;
    ControlKind kind;
  };
  static constexpr Named kClasses[] = {
      {"combobox", ControlKind::ComboBox},          {"comboboxex32", ControlKind::ComboBox},
      {"listbox", ControlKind::ListBox},            {"msctls_progress32", ControlKind::ProgressBar},
      {"msctls_statusbar32", ControlKind::StatusBar}, {"systabcontrol32", ControlKind::TabControl},
      {"syslistview32", ControlKind::ListView},     {"systreeview32", ControlKind::TreeView},
      {"toolbarwindow32", ControlKind::ToolBar},
  };
  for (const Named& c : kClasses)
    if (sameText(name, c.name)) return c.kind;
  return ControlKind::Other;
}

bool tagDisablesSkin(std::int32_t tag, std::int32_t disableTag) { return tag % 100 == disableTag; }

ControlChoice chooseFormControl(const FormComponent& c, const FormSkinRules& rules) {
  if (tagDisablesSkin(c.Tag, rules.DisableTag)) return {};
  auto on = [&](SkinControlType t) { return hasSkinControl(rules.SkinControls, t); };
  auto is = [&](ControlKind k) { return isKind(c.kind, k); };
  auto tagged = [&](std::int32_t tag) { return c.windowed && c.Tag == tag; };

  if ((is(ControlKind::TabControl) || is(ControlKind::PageControl)) && on(xcTab) && rules.hasTabs)
    return attach(Skinner::SkinTab, AttachBy::Window);
  if (is(ControlKind::CheckBox) && on(xcCheckBox)) return attach(Skinner::SkinCheckBox, AttachBy::Control, true);
  if (is(ControlKind::RadioGroup) && on(xcRadioButton))
    return {FormAction::RadioGroup, Skinner::SkinBox, AttachBy::Control, true};
  // Group boxes follow xcPanel; xcGroupBox decides nothing.
  if ((is(ControlKind::Panel) || is(ControlKind::GroupBox)) && on(xcPanel))
    return attach(Skinner::SkinBox, AttachBy::Control, true);
  if (is(ControlKind::RadioButton) && on(xcRadioButton))
    return attach(Skinner::SkinRadioButton, AttachBy::Control, true);
  if (is(ControlKind::ToolBar) && on(xcToolbar)) return {FormAction::FlatToolBar};
  if (is(ControlKind::StatusBar) && on(xcStatusBar)) {
    ControlChoice choice = attach(Skinner::SkinStatusBar, AttachBy::Control);
    choice.sizeGripOff = true;
    return choice;
  }
  if (is(ControlKind::ProgressBar) && on(xcProgress)) return attach(Skinner::SkinProgress, AttachBy::Control);
  if (is(ControlKind::ScrollBar) && on(xcScrollbar)) return attach(Skinner::SkinScControl, AttachBy::Control);
  if ((is(ControlKind::ComboBox) || tagged(56)) && on(xcCombo)) return attach(Skinner::SkinComBox, AttachBy::Control);
  if (is(ControlKind::BitButton) && on(xcBitBtn)) return attach(Skinner::SkinBitButton, AttachBy::Control);
  if (is(ControlKind::SpeedButton) && on(xcSpeedButton))
    return attach(Skinner::SkinSpeedButton, AttachBy::SpeedButton);
  if (is(ControlKind::ListView) && on(xcScrollbar)) return attach(Skinner::SkinListView, AttachBy::ScrollBar);
  if (on(xcScrollbar) && (is(ControlKind::Memo) || tagged(55) || scrollable(c))) {
    ControlChoice choice = attach(Skinner::SkinScrollBar, AttachBy::ScrollBar);
    choice.ownTracking = true;
    return choice;
  }
  if (is(ControlKind::PushButton) && on(xcButton)) return attach(Skinner::SkinButton, AttachBy::Control);
  if ((is(ControlKind::Edit) || tagged(57)) && on(xcEdit)) return attach(Skinner::SkinEdit, AttachBy::Control);
  if (is(ControlKind::Frame)) return {FormAction::SkinChildren};
  if (is(ControlKind::Form)) return {FormAction::RecolourAndSkinChildren};
  return {};
}

BareChildChoice chooseBareChild(std::string_view name, std::uint32_t style) {
  if (!(style & kWsChild)) return {};
  if (sameText(name, "button")) {
    // Read bit by bit, first match: group boxes are left alone.
    if ((style & 7) == 7) return {};
    if ((style & 3) == 3 || (style & 2) || (style & 5) == 5) return {Skinner::SkinCheckBox};
    if ((style & 9) == 9 || (style & 4)) return {Skinner::SkinRadioButton};
    return {Skinner::SkinButton};
  }
  if (sameText(name, "combobox"))
    return (style & kCbsTypeMask) == kCbsSimple ? BareChildChoice{} : BareChildChoice{Skinner::SkinComBox};
  if (sameText(name, "comboboxex32")) return {Skinner::SkinComBox, true};
  // The sizer paints nothing, which suits only a size box; a real scroll bar keeps its own look.
  if (sameText(name, "scrollbar"))
    return style & (kSbsSizeBox | kSbsSizeGrip) ? BareChildChoice{Skinner::SkinSizer} : BareChildChoice{};
  if (sameText(name, "systabcontrol32"))
    return style & kTcsOwnerDrawFixed ? BareChildChoice{} : BareChildChoice{Skinner::SkinTab};
  if (sameText(name, "edit")) return {Skinner::SkinEdit};
  return {};
}

}  // namespace vrin
