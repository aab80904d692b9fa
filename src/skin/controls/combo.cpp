#include "skin/controls/combo.h"

#include "skin/controls/control_paint.h"
#include "skin/controls/panel_paint.h"
#include "skin/pure/control_layout.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_data.h"
#include "skin/skin_gdi.h"
#include "ui/geometry_win.h"

namespace vrin {

void SkinComBox::AfterMessage(SkinMessage& msg) {
  switch (msg.msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: setPressed(true); break;
    case WM_LBUTTONUP: setPressed(false); break;
    case CM_MOUSEENTER: if (enabled_) setHot(true); break;
    case CM_MOUSELEAVE: if (enabled_) setHot(false); break;
    default: SkinControl::AfterMessage(msg); return;
  }
  RepaintSkin();
}

void SkinComBox::PaintSkin(HDC dc, const Rect& rect) {
  const SkinElement* button = skin_->ComboButton();
  const SkinElement* edge = skin_->SunkEdge();
  if (!hasPicture(button) || !hasPicture(edge) || !drawableSize(rect)) return;
  readWindowState();
  // The focus of an editable combo box is in its edit child.
  const HWND focus = GetFocus();
  const bool focused = focus && (focus == window_ || IsChild(window_, focus));
  const int state = buttonState(pressed(), focused, hot(), enabled_);

  // The system's 3-D border is hidden under a frame in the context's own brush.
  RECT inner = toRECT(rect);
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));

  const int edgeWidth = stripFrameWidth(edge->Image.width, edge->FrameCount);
  const Margins margins{edge->LeftWidth, edge->TopHeight, edge->RightWidth, edge->BottomHeight};
  const ComboPieces pieces =
      comboBoxPieces(rect.width(), rect.height(), GetSystemMetrics(SM_CXHSCROLL), edgeWidth, edge->Image.height, margins);

  // The button composed off screen and put on in one copy.
  const Rect buttonRect = pieces.button;
  if (!buttonRect.empty()) {
    Image face(buttonRect.width(), buttonRect.height(), pixelOf(skin_->SkinColors().ButtonFaceColor));
    const Rect whole{0, 0, face.width, face.height};
    drawStripFrame(face, whole, button->FrameCount, state, button->Image);
    if (const SkinElement* extra = skin_->ExtraImages(); hasPicture(extra)) {
      const Image glyph = cutFrame(extra->Image, extra->FrameCount, state, false);
      const int x = (face.width - glyph.width) / 2, y = (face.height - glyph.height) / 2;
      drawTransparent(face, {x, y, x + glyph.width, y + glyph.height}, glyph);
    }
    drawImage(dc, rect.left + buttonRect.left, rect.top + buttonRect.top, face);
  }

  const Image edgeFrame = cutFrame(edge->Image, edge->FrameCount, 1, false);
  for (const PictureCopy& copy : pieces.edge) {
    if (copy.target.empty() || copy.source.empty()) continue;
    Image piece(copy.target.width(), copy.target.height());
    stretchCopy(piece, {0, 0, piece.width, piece.height}, edgeFrame, copy.source);
    drawImage(dc, rect.left + copy.target.left, rect.top + copy.target.top, piece);
  }
}

}  // namespace vrin
