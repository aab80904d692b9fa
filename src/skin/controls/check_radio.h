#pragma once
// Check boxes and radio buttons: the control draws itself and its text; the skin draws the
// box over it, from the CheckImage or RadioImage strip of the Buttons element.
#include "skin/controls/skin_control.h"

namespace vrin {

class SkinCheckBox : public SkinControl {
 public:
  using SkinControl::SkinControl;
  void AfterMessage(SkinMessage& msg) override;
  void PaintSkin(HDC dc, const Rect& rect) override;

 protected:
  virtual const Image& picture() const;
  virtual int frameCount() const;
  // The frame for the window's current state.
  virtual int frame() const;
};

class SkinRadioButton : public SkinCheckBox {
 public:
  using SkinCheckBox::SkinCheckBox;

 protected:
  const Image& picture() const override;
  int frameCount() const override;
  int frame() const override;
};

}  // namespace vrin
