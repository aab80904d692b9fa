#pragma once
// The title buttons of a skinned window as the window shows them: each redraws itself in its
// state straight on the window and performs its action when released over itself.
#include "skin/pure/title_buttons.h"
#include "ui/win.h"

namespace vrin {

class SkinForm;

class SkinTitleButton : public TitleButton {
 public:
  SkinTitleButton(SkinForm& form, const SkinSysButtonElement& data);
  void Paint() override;
  // The click's effect; `screen` is the mouse position.
  void perform(POINT screen);
  // The frame `frame` of its picture (the window icon for icon buttons), composed over what
  // the title bar shows under it.
  Image frameOver(const Image& background, int frame) const;

 private:
  SkinForm& form_;
};

// Opens a window's system menu at a screen point and carries out the chosen command.
void trackSystemMenu(HWND window, POINT screen);

}  // namespace vrin
