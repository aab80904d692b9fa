#pragma once
// Which control skinner each control of a skinned window gets, and their release.
//
// On an application form the components the form owns are walked (frames and embedded forms
// through their own components), each recognised by its framework class or, for a control
// the framework does not wrap, by its window class and style; the skin's SkinControls and
// DisableTag decide. Among the children of a bare window (a system dialog box) only the
// window class and style count. The skinners live in the form skinner's SkinnedControls.
#include <memory>

#include "skin/pure/control_choice.h"
#include "ui/win.h"

namespace vrin {

class Component;
class SkinControl;
class SkinForm;

// The kind the selection rules see in a component.
ControlKind controlKindOf(Component& component);

// A new skinner of that class owned by `owner`, or nullptr for None.
std::unique_ptr<SkinControl> makeControlSkinner(Skinner which, SkinForm* owner);

// The controls of the form skinner's window: the form's components when it has a form, else
// the bare window's children.
void skinControls(SkinForm& owner);
void skinFormControls(SkinForm& owner, Component& container);
void skinWindowChildren(SkinForm& owner, HWND window);

// A component already served by one of the owner's skinners.
bool isSkinnedControl(const SkinForm& owner, Component& component);
SkinControl* findControlSkinner(const SkinForm& owner, HWND window);

// Detaches and frees every skinner, first to last. Unless the window is closing or the
// skin manager is going away, each control is repainted as its own class draws it.
void releaseControlSkinners(SkinForm& owner);

}  // namespace vrin
