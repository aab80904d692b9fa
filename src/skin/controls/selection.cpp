#include "skin/controls/selection.h"

#include <cctype>
#include <string>
#include <vector>

#include "skin/controls/boxes.h"
#include "skin/controls/buttons.h"
#include "skin/controls/check_radio.h"
#include "skin/controls/combo.h"
#include "skin/controls/edit.h"
#include "skin/controls/scroll_bars.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/status_progress.h"
#include "skin/controls/tabs_header.h"
#include "skin/form/skin_form.h"
#include "skin/skin_data.h"
#include "skin/skin_manager.h"
#include "ui/buttons.h"
#include "ui/commonctrls.h"
#include "ui/form.h"
#include "ui/scrollctrls.h"
#include "ui/stdctrls.h"

namespace vrin {
namespace {

std::string windowClass(HWND window) {
  char name[101] = {};
  GetClassNameA(window, name, int(sizeof name));
  return name;
}

std::uint32_t styleOf(HWND window) { return std::uint32_t(GetWindowLongPtrW(window, GWL_STYLE)); }

// The skinner goes into the list before it attaches, so that a skinner making skinners of
// its own (a list view's header) finds the list in the order they were made.
SkinControl* addSkinner(SkinForm& owner, Skinner which) {
  std::unique_ptr<SkinControl> skinner = makeControlSkinner(which, &owner);
  if (!skinner) return nullptr;
  owner.SkinnedControls.push_back(std::move(skinner));
  return owner.SkinnedControls.back().get();
}

void attachTo(SkinForm& owner, const ControlChoice& choice, Component& component) {
  SkinData& skin = *owner.skinData();
  SkinControl* s = addSkinner(owner, choice.skinner);
  if (!s) return;
  if (choice.attach == AttachBy::SpeedButton) {
    // Made by makeControlSkinner for this choice, so the casts hold.
    static_cast<SkinSpeedButton*>(s)->AttachSpeedButton(static_cast<SpeedButton&>(component), skin,
                                                        owner.ControlCanvas);
    return;
  }
  auto& control = static_cast<WinControl&>(component);
  switch (choice.attach) {
    case AttachBy::Window: s->AttachWindow(control.handle(), skin, owner.ControlCanvas); break;
    // The scroll-bar skinners take the own-tracking flag where the others take recolour.
    case AttachBy::ScrollBar: s->AttachControl(control, skin, choice.ownTracking, owner.ControlCanvas); break;
    default: s->AttachControl(control, skin, choice.recolour, owner.ControlCanvas); break;
  }
}

void switchOffSizeGrip(WinControl& control) {
  if (auto* bar = dynamic_cast<StatusBar*>(&control)) bar->sizeGrip = false;
  const HWND h = control.handle();
  const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  if (style & SBARS_SIZEGRIP) {
    SetWindowLongPtrW(h, GWL_STYLE, style & ~LONG_PTR(SBARS_SIZEGRIP));
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(h, nullptr, TRUE);
  }
}

void makeFlat(WinControl& control) {
  if (auto* bar = dynamic_cast<ToolBar*>(&control)) {
    bar->SetFlat(true);
    return;
  }
  const HWND h = control.handle();
  SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) | TBSTYLE_FLAT);
  InvalidateRect(h, nullptr, TRUE);
}

}  // namespace

ControlKind controlKindOf(Component& c) {
  // Most derived classes first.
  if (auto* form = dynamic_cast<Form*>(&c)) {
    // Only a form living inside another window is part of this form; a top-level form gets a
    // form skinner of its own.
    return form->parent() ? ControlKind::Form : ControlKind::Other;
  }
  if (dynamic_cast<SpeedButton*>(&c)) return ControlKind::SpeedButton;
  if (dynamic_cast<BitButton*>(&c)) return ControlKind::BitButton;
  if (dynamic_cast<Button*>(&c)) return ControlKind::PushButton;
  if (dynamic_cast<CheckBox*>(&c)) return ControlKind::CheckBox;
  if (dynamic_cast<RadioButton*>(&c)) return ControlKind::RadioButton;
  if (dynamic_cast<RadioGroup*>(&c)) return ControlKind::RadioGroup;
  if (dynamic_cast<GroupBox*>(&c)) return ControlKind::GroupBox;
  if (dynamic_cast<ScrollBar*>(&c)) return ControlKind::ScrollBar;
  if (dynamic_cast<ListView*>(&c)) return ControlKind::ListView;
  if (dynamic_cast<TreeView*>(&c)) return ControlKind::TreeView;
  if (dynamic_cast<Memo*>(&c)) return ControlKind::Memo;
  if (dynamic_cast<TabControl*>(&c)) return ControlKind::TabControl;
  if (dynamic_cast<ComboBox*>(&c)) return ControlKind::ComboBox;
  if (dynamic_cast<StatusBar*>(&c)) return ControlKind::StatusBar;
  if (dynamic_cast<ProgressBar*>(&c)) return ControlKind::ProgressBar;
  if (dynamic_cast<ToolBar*>(&c)) return ControlKind::ToolBar;
  if (dynamic_cast<ListBox*>(&c)) return ControlKind::ListBox;
  if (dynamic_cast<Panel*>(&c)) return ControlKind::Panel;
  // Wrappers that draw nothing the skin replaces: a label, a size grip, a free header.
  if (dynamic_cast<Label*>(&c) || dynamic_cast<SizeGrip*>(&c) || dynamic_cast<Header*>(&c))
    return ControlKind::Other;
  auto* control = dynamic_cast<WinControl*>(&c);
  if (!control || !control->handleAllocated()) return ControlKind::Other;
  // An edit may be multi-line, and any other control is known by its window class.
  return controlKindFromClass(windowClass(control->handle()), styleOf(control->handle()));
}

std::unique_ptr<SkinControl> makeControlSkinner(Skinner which, SkinForm* owner) {
  switch (which) {
    case Skinner::SkinButton: return std::make_unique<SkinButton>(owner);
    case Skinner::SkinBitButton: return std::make_unique<SkinBitButton>(owner);
    case Skinner::SkinSpeedButton: return std::make_unique<SkinSpeedButton>(owner);
    case Skinner::SkinCheckBox: return std::make_unique<SkinCheckBox>(owner);
    case Skinner::SkinRadioButton: return std::make_unique<SkinRadioButton>(owner);
    case Skinner::SkinScrollBar: return std::make_unique<SkinScrollBar>(owner);
    case Skinner::SkinListView: return std::make_unique<SkinListView>(owner);
    case Skinner::SkinScControl: return std::make_unique<SkinScControl>(owner);
    case Skinner::SkinComBox: return std::make_unique<SkinComBox>(owner);
    case Skinner::SkinEdit: return std::make_unique<SkinEdit>(owner);
    case Skinner::SkinStatusBar: return std::make_unique<SkinStatusBar>(owner);
    case Skinner::SkinProgress: return std::make_unique<SkinProgress>(owner);
    case Skinner::SkinBox: return std::make_unique<SkinBox>(owner);
    case Skinner::SkinSizer: return std::make_unique<SkinSizer>(owner);
    case Skinner::SkinTab: return std::make_unique<SkinTab>(owner);
    case Skinner::SkinHeader: return std::make_unique<SkinHeader>(owner);
    default: return nullptr;
  }
}

void skinControls(SkinForm& owner) {
  if (Form* form = owner.form())
    skinFormControls(owner, *form);
  else
    skinWindowChildren(owner, owner.window());
}

void skinFormControls(SkinForm& owner, Component& container) {
  SkinData& skin = *owner.skinData();
  const FormSkinRules rules{skin.SkinControls(), skin.DisableTag(), skin.Tabs() != nullptr};
  // A copy: a skinner may make components while the walk goes on.
  const std::vector<Component*> components = container.components();
  for (Component* c : components) {
    if (tagDisablesSkin(c->tag(), rules.DisableTag) || isSkinnedControl(owner, *c)) continue;
    FormComponent facts;
    facts.Tag = c->tag();
    auto* control = dynamic_cast<WinControl*>(c);
    if (control) {
      try {
        control->handle();
      } catch (...) {
        continue;  // a control without a parent window has nothing to skin
      }
      facts.windowed = true;
      facts.style = styleOf(control->handle());
    }
    facts.kind = controlKindOf(*c);
    ControlChoice choice = chooseFormControl(facts, rules);
    // A simple combo box has no drop-down button: one painted over its list would hide items.
    // Dialog boxes leave them alone for the same reason.
    if (choice.skinner == Skinner::SkinComBox && control && (facts.style & 3) == CBS_SIMPLE &&
        lstrcmpiA(windowClass(control->handle()).c_str(), "ComboBox") == 0)
      choice = {};
    switch (choice.action) {
      case FormAction::Leave: break;
      case FormAction::Attach:
        if (choice.sizeGripOff) switchOffSizeGrip(*control);
        attachTo(owner, choice, *c);
        break;
      case FormAction::RadioGroup:
        attachTo(owner, choice, *c);
        for (WinControl* button : control->children()) {
          if (isSkinnedControl(owner, *button)) continue;
          try {
            button->handle();
          } catch (...) {
            continue;
          }
          attachTo(owner, kRadioGroupChild, *button);
        }
        break;
      case FormAction::FlatToolBar: makeFlat(*control); break;
      case FormAction::SkinChildren: skinFormControls(owner, *c); break;
      case FormAction::RecolourAndSkinChildren:
        control->setColor(skin.SkinColors().ButtonFaceColor);
        skinFormControls(owner, *c);
        break;
    }
  }
}

void skinWindowChildren(SkinForm& owner, HWND window) {
  SkinData& skin = *owner.skinData();
  for (HWND child = GetTopWindow(window); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::uint32_t style = styleOf(child);
    if (!(style & WS_CHILD) || findControlSkinner(owner, child)) continue;
    const BareChildChoice choice = chooseBareChild(windowClass(child), style);
    const HWND target = choice.onFirstChild ? GetWindow(child, GW_CHILD) : child;
    if (!target || choice.skinner == Skinner::None) continue;
    if (SkinControl* s = addSkinner(owner, choice.skinner)) s->AttachWindow(target, skin, owner.ControlCanvas);
  }
}

bool isSkinnedControl(const SkinForm& owner, Component& component) {
  // A speed button has no window: its skinner knows the button itself.
  if (auto* button = dynamic_cast<SpeedButton*>(&component)) {
    for (const auto& s : owner.SkinnedControls)
      if (auto* skinner = dynamic_cast<SkinSpeedButton*>(s.get()); skinner && skinner->speedButton() == button)
        return true;
    return false;
  }
  auto* control = dynamic_cast<WinControl*>(&component);
  if (!control || !control->handleAllocated()) return false;
  return findControlSkinner(owner, control->handle()) != nullptr;
}

SkinControl* findControlSkinner(const SkinForm& owner, HWND window) {
  if (!window) return nullptr;
  for (const auto& s : owner.SkinnedControls)
    if (s->window() == window) return s.get();
  return nullptr;
}

void releaseControlSkinners(SkinForm& owner) {
  const bool repaint = owner.Phase != phClosing && owner.manager().hookState() != 4;
  // Taken out first: nothing may find a skinner that is half released.
  std::vector<std::unique_ptr<SkinControl>> skinners = std::move(owner.SkinnedControls);
  owner.SkinnedControls.clear();
  owner.HotControl = nullptr;
  for (auto& s : skinners) {
    if (auto* speed = dynamic_cast<SkinSpeedButton*>(s.get())) {
      SpeedButton* button = speed->speedButton();  // forgotten by Detach
      speed->Detach();
      if (repaint && button) button->repaint();
      s.reset();
      continue;
    }
    s->Detach();
    const HWND h = s->window();
    // The frame too: combo and edit borders were painted over in the non-client area.
    if (repaint && h && IsWindow(h))
      RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    s.reset();
  }
}

}  // namespace vrin
