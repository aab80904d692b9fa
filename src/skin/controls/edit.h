#pragma once
// Edits: the sunken 3-D border replaced by a flat one in the skin's shadow colour.
#include "skin/controls/skin_control.h"

namespace vrin {

class SkinEdit : public SkinControl {
 public:
  using SkinControl::SkinControl;
  void AfterMessage(SkinMessage& msg) override;
  void PaintSkin(HDC dc, const Rect& rect) override;
};

}  // namespace vrin
