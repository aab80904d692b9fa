#pragma once
// Group boxes, panels and radio groups take the skin's face colour; size grips are hidden.
#include "skin/controls/skin_control.h"
#include "skin/controls/status_progress.h"

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

// The grip's paints are taken and nothing is drawn (PaintSkin stays the base's).
class SkinSizer : public SkinOwnPaint {
 public:
  using SkinOwnPaint::SkinOwnPaint;
};

}  // namespace vrin
