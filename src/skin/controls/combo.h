#pragma once
// Combo boxes: the skin's combo button at the right, the sunken-edge picture on the border
// left of it.
#include "skin/controls/skin_control.h"

namespace vrin {

class SkinComBox : public SkinControl {
 public:
  using SkinControl::SkinControl;
  void AfterMessage(SkinMessage& msg) override;
  void PaintSkin(HDC dc, const Rect& rect) override;
};

}  // namespace vrin
