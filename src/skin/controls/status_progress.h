#pragma once
// Status bars and progress bars: painted by the skin alone, in place of the control's own
// painting, each into the work bitmap and on screen in one copy.
#include "skin/controls/skin_control.h"

namespace vrin {

// Controls the skin paints alone: WM_PAINT and WM_ERASEBKGND are the skinner's.
class SkinOwnPaint : public SkinControl {
 public:
  using SkinControl::SkinControl;
  bool BeforeMessage(SkinMessage& msg) override;
  void AfterMessage(SkinMessage& msg) override;

 protected:
  // False leaves the painting to the control (the skin lacks what this skinner draws from).
  virtual bool paintsItself() const { return true; }
};

class SkinStatusBar : public SkinOwnPaint {
 public:
  using SkinOwnPaint::SkinOwnPaint;
  void PaintSkin(HDC dc, const Rect& rect) override;
};

class SkinProgress : public SkinOwnPaint {
 public:
  using SkinOwnPaint::SkinOwnPaint;
  void PaintSkin(HDC dc, const Rect& rect) override;

 protected:
  bool paintsItself() const override;
};

}  // namespace vrin
