#include "skin/controls/check_radio.h"

#include "skin/controls/control_paint.h"
#include "skin/controls/panel_paint.h"
#include "skin/pure/control_layout.h"
#include "skin/skin_data.h"

namespace vrin {

void SkinCheckBox::AfterMessage(SkinMessage& msg) {
  switch (msg.msg) {
    // BM_SETSTATE and the space bar: the control draws its box pushed or released at once.
    case BM_SETCHECK: case BM_SETSTATE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_KEYUP: case CM_MOUSEENTER: case CM_MOUSELEAVE:
      RepaintSkin();
      break;
    default:
      SkinControl::AfterMessage(msg);
  }
}

const Image& SkinCheckBox::picture() const { return skin_->Buttons().CheckImage; }
int SkinCheckBox::frameCount() const { return skin_->Buttons().CheckFrames; }
int SkinCheckBox::frame() const {
  const bool disabled = (GetWindowLongPtrW(window_, GWL_STYLE) & WS_DISABLED) != 0;
  return checkBoxFrame(disabled, std::uint32_t(SendMessageW(window_, BM_GETSTATE, 0, 0)));
}

const Image& SkinRadioButton::picture() const { return skin_->Buttons().RadioImage; }
int SkinRadioButton::frameCount() const { return skin_->Buttons().RadioFrames; }
int SkinRadioButton::frame() const {
  const bool disabled = (GetWindowLongPtrW(window_, GWL_STYLE) & WS_DISABLED) != 0;
  return radioButtonFrame(disabled, SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED);
}

void SkinCheckBox::PaintSkin(HDC dc, const Rect& rect) {
  if (!skin_ || !window_ || !drawableSize(rect)) return;
  const Image& strip = picture();
  if (strip.empty()) return;
  const int frames = frameCount();
  const int w = stripFrameWidth(strip.width, frames), h = strip.height;
  if (w <= 0 || h <= 0) return;
  const bool rightButton = (GetWindowLongPtrW(window_, GWL_STYLE) & BS_RIGHTBUTTON) != 0;
  const Rect box = checkBoxRect(rect.width(), rect.height(), w, h, rightButton);
  sizeWorkBitmap(w, h);
  Bitmap& work = sharedWorkBitmap();
  if (work.empty()) return;
  fillBitmap(work, {0, 0, w, h}, pixelOf(skin_->SkinColors().ButtonFaceColor));
  drawStripFrame(work.dc(), {0, 0, w, h}, frames, frame(), strip);
  putWorkBitmap(dc, offsetRect(box, rect.left, rect.top));
}

}  // namespace vrin
