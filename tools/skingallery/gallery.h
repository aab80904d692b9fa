#pragma once
// The skin gallery: one form with one of each kind of control the skin engine draws, in the
// states that matter, and a button opening a system dialog box with its own controls.
#include <windows.h>

namespace vrin {

class Form;

// A new gallery form (owned by nothing, so the caller frees it), its window made, not shown.
Form* makeGalleryForm();

// The modal system dialog box ("#32770") with buttons, check boxes, radio buttons, a group
// box, a combo box, an edit and a size grip; returns when it is closed.
INT_PTR showGalleryDialog(HWND owner);

}  // namespace vrin
