#include "skin/controls/boxes.h"

#include "skin/skin_data.h"
#include "ui/control.h"

namespace vrin {

void SkinBox::AttachControl(WinControl& control, SkinData& skin, bool recolour, Canvas& canvas) {
  SkinControl::AttachControl(control, skin, recolour, canvas);
  // Not every system paints a group box through WM_PAINT after an invalidation, so the
  // colour is right from the start too.
  keepCaptionColour();
}

bool SkinBox::BeforeMessage(SkinMessage& msg) {
  if (msg.msg == WM_PAINT) keepCaptionColour();
  return true;
}

void SkinBox::keepCaptionColour() {
  if (!control_ || !window_) return;
  char cls[16] = {};
  GetClassNameA(window_, cls, int(sizeof cls));
  const bool groupBox = (GetWindowLongPtrW(window_, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
  if (!groupBox || lstrcmpiA(cls, "Button") != 0) return;
  // Only the colour changes, so the GDI font stays and no WM_SETFONT (which would paint
  // again) is sent; the parent's WM_CTLCOLORSTATIC hands the colour to the control.
  FontSpec desc = control_->font().desc();
  desc.color = skin_->SkinColors().ButtonTextColor;
  control_->font().assign(desc);
}

}  // namespace vrin
