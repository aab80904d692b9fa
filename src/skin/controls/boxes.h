#pragma once
// Group boxes, panels and radio groups take the skin's face colour; size grips are hidden.
#include "skin/controls/skin_control.h"

namespace vrin {

// Attached with recolour; a group box's caption is kept in the skin's button text colour.
class SkinBox : public SkinControl {
 public:
  using SkinControl::SkinControl;
  void AttachControl(WinControl& control, SkinData& skin, bool recolour, Canvas& canvas) override;
  bool BeforeMessage(SkinMessage& msg) override;

 private:
  void keepCaptionColour();
};

class SkinSizer : public SkinControl {
 public:
  using SkinControl::SkinControl;
  bool BeforeMessage(SkinMessage& msg) override;
};

}  // namespace vrin
