#include "skin/controls/edit.h"

#include "skin/skin_data.h"
#include "ui/geometry_win.h"

namespace vrin {

void SkinEdit::AfterMessage(SkinMessage& msg) {
  // The border lives in the non-client area: every frame paint of the control brings the
  // sunken edge back, so it is covered again.
  if (msg.msg == WM_NCPAINT) {
    RepaintSkin();
    return;
  }
  SkinControl::AfterMessage(msg);
}

void SkinEdit::PaintSkin(HDC dc, const Rect& rect) {
  if (rect.empty()) return;
  // The two rings inside the edge take the context's brush, the outer ring the shadow.
  const HBRUSH current = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  RECT r = toRECT(rect);
  for (int ring = 1; ring <= 2; ++ring) {
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, current);
  }
  GdiObject<HBRUSH> shadow(CreateSolidBrush(colorToRGB(skin_->SkinColors().ButtonShadowColor)));
  RECT outer = toRECT(rect);
  FrameRect(dc, &outer, shadow.get());
}

}  // namespace vrin
