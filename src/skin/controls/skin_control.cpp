#include "skin/controls/skin_control.h"

#include <algorithm>
#include <cstring>

#include "skin/controls/control_paint.h"
#include "skin/form/skin_form.h"
#include "skin/pure/control_layout.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_gdi.h"
#include "skin/skin_data.h"
#include "ui/control.h"
#include "ui/geometry_win.h"

namespace vrin {

Bitmap& sharedWorkBitmap() {
  static Bitmap bitmap;
  return bitmap;
}

Pixel pixelOf(Color colour) {
  const COLORREF c = colorToRGB(colour);
  return rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

void sizeWorkBitmap(int width, int height) {
  Bitmap& work = sharedWorkBitmap();
  if (work.width() != width || work.height() != height) work.setSize(width, height);
}

void fillBitmap(Bitmap& bitmap, const Rect& rect, Pixel colour) {
  std::uint32_t* bits = bitmap.pixels();
  if (!bits) return;
  GdiFlush();
  const int left = std::max(rect.left, 0), right = std::min(rect.right, bitmap.width());
  const int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, bitmap.height());
  for (int y = top; y < bottom; ++y)
    std::fill(bits + std::size_t(y) * bitmap.width() + left, bits + std::size_t(y) * bitmap.width() + right, colour);
}

void putImage(Bitmap& bitmap, int x, int y, const Image& image, bool transparent) {
  std::uint32_t* bits = bitmap.pixels();
  if (!bits || image.empty()) return;
  GdiFlush();
  for (int row = 0; row < image.height; ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= bitmap.height()) continue;
    for (int col = 0; col < image.width; ++col) {
      const int tx = x + col;
      if (tx < 0 || tx >= bitmap.width()) continue;
      const Pixel p = image.at(col, row);
      if (transparent && ((p ^ kKeyColour) & 0xFFFFFFu) == 0) continue;
      bits[std::size_t(ty) * bitmap.width() + tx] = p & 0xFFFFFFu;
    }
  }
}

void setFontColour(Canvas& canvas, Color colour) {
  FontSpec desc = canvas.font.desc();
  desc.color = colour;
  canvas.font.assign(desc);
}

void setFontStyle(Canvas& canvas, unsigned style) {
  FontSpec desc = canvas.font.desc();
  desc.style = style;
  canvas.font.assign(desc);
}

SkinControl::SkinControl(SkinForm* owner) : owner_(owner) {}

SkinControl::~SkinControl() {
  if (owner_ && owner_->HotControl == this) owner_->HotControl = nullptr;
  Detach();
}

bool SkinControl::subclass() {
  if (!window_ || !IsWindow(window_)) return false;
  subclassed_ = SetWindowSubclass(window_, &SkinControl::router, reinterpret_cast<UINT_PTR>(this),
                                  reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  return subclassed_;
}

void SkinControl::AttachControl(WinControl& control, SkinData& skin, bool recolour, Canvas& canvas) {
  control_ = &control;
  skin_ = &skin;
  workCanvas_ = &canvas;
  recolour_ = recolour;
  window_ = control.handle();
  control.setDoubleBuffered(true);
  subclass();
  readWindowState();
  if (recolour) {
    savedColour_ = control.color();
    control.setColor(skin.SkinColors().ButtonFaceColor);
  }
}

void SkinControl::AttachWindow(HWND window, SkinData& skin, Canvas& canvas) {
  skin_ = &skin;
  workCanvas_ = &canvas;
  window_ = window;
  subclass();
  readWindowState();
  enabled_ = true;
}

void SkinControl::Detach() {
  if (control_ && recolour_ && savedColour_ != clNone) {
    if (!owner_ || owner_->Phase != phClosing) control_->setColor(savedColour_);
    savedColour_ = clNone;
  }
  if (subclassed_) {
    if (window_ && IsWindow(window_))
      RemoveWindowSubclass(window_, &SkinControl::router, reinterpret_cast<UINT_PTR>(this));
    subclassed_ = false;
  }
}

LRESULT CALLBACK SkinControl::router(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<SkinControl*>(data);
  SkinMessage m{msg, wp, lp};
  if (msg == WM_NCDESTROY) {
    // The window goes: its procedure is given back before the system's own clean-up runs.
    self->destroyed_ = true;
    self->Detach();
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  bool pass = true;
  try {
    pass = self->BeforeMessage(m);
  } catch (...) {
    // Skinning must never break the control: on an error the control handles the message.
    pass = true;
  }
  if (!pass) return m.result;
  m.result = DefSubclassProc(hwnd, msg, wp, lp);
  try {
    if (!self->destroyed_) self->AfterMessage(m);
  } catch (...) {
    // Absorbed: a paint error must neither unwind through the window system nor open a
    // message box from inside a paint.
  }
  return m.result;
}

LRESULT SkinControl::callOriginal(SkinMessage& msg) {
  if (!subclassed_) return msg.result = DefWindowProcW(window_, msg.msg, msg.wParam, msg.lParam);
  return msg.result = DefSubclassProc(window_, msg.msg, msg.wParam, msg.lParam);
}

void SkinControl::readWindowState() {
  if (!window_) return;
  enabled_ = (GetWindowLongPtrW(window_, GWL_STYLE) & WS_DISABLED) == 0;
  focused_ = GetFocus() == window_;
  char text[1000] = {};
  GetWindowTextA(window_, text, int(sizeof text));
  caption_ = text;
}

bool SkinControl::BeforeMessage(SkinMessage&) { return true; }

void SkinControl::AfterMessage(SkinMessage& msg) {
  switch (msg.msg) {
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_ENABLE: case CM_ENABLEDCHANGED: case WM_PAINT:
      RepaintSkin();
      break;
    case WM_SETTEXT:
      caption_ = msg.lParam ? reinterpret_cast<const char*>(msg.lParam) : "";
      RepaintSkin();
      break;
  }
}

void SkinControl::RepaintSkin() {
  if (!window_ || destroyed_ || !IsWindow(window_)) return;
  RECT r{};
  GetWindowRect(window_, &r);
  windowRect_ = toRect(r);
  // The whole window: combo and edit borders lie outside the client area.
  WindowDC dc(window_, WindowDC::Area::Window);
  if (!dc.get()) return;
  PaintSkin(dc.get(), offsetRect(windowRect_, -windowRect_.left, -windowRect_.top));
}

void SkinControl::PaintSkin(HDC, const Rect&) {}

void SkinControl::leaveHot() {
  if (window_) PostMessageW(window_, CM_MOUSELEAVE, 0, 0);
  if (owner_ && owner_->HotControl == this) owner_->HotControl = nullptr;
}

void SkinControl::becomeHot() {
  if (!owner_) return;
  if (owner_->HotControl && owner_->HotControl != this) owner_->HotControl->leaveHot();
  owner_->HotControl = this;
}

void SkinControl::fill(HDC dc, const Rect& rect) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(colorToRGB(skin_->SkinColors().ButtonFaceColor)));
  RECT r = toRECT(rect);
  FillRect(dc, &r, brush.get());
}

void SkinControl::drawElementFrame(const Rect& rect, const SkinElement& element, bool transparent, int frameCount,
                                   int frame) {
  if (rect.right < rect.left || rect.bottom < rect.top) return;
  Bitmap& work = sharedWorkBitmap();
  const Margins margins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
  Image composed = composeGrid(rect.width(), rect.height(), element.Image, margins, false, element.Tile != 0,
                               frameCount, frame);
  fillBitmap(work, rect, pixelOf(skin_->SkinColors().ButtonFaceColor));
  putImage(work, 0, 0, composed, transparent);
}

void SkinControl::drawStripFrame(Image& target, const Rect& rect, int frameCount, int frame, const Image& strip) {
  if (rect.right < rect.left || rect.bottom < rect.top || strip.empty()) return;
  const Rect source = frameRect(strip, frameCount, frame, false);
  if (source.empty()) return;
  Image scaled(rect.width(), rect.height());
  stretchCopy(scaled, Rect{0, 0, rect.width(), rect.height()}, strip, source);
  drawTransparent(target, rect, scaled);
}

void SkinControl::drawStripFrame(HDC dc, const Rect& rect, int frameCount, int frame, const Image& strip) {
  if (rect.right < rect.left || rect.bottom < rect.top || strip.empty()) return;
  const Rect source = frameRect(strip, frameCount, frame, false);
  if (source.empty() || rect.empty()) return;
  Image scaled(rect.width(), rect.height());
  stretchCopy(scaled, Rect{0, 0, rect.width(), rect.height()}, strip, source);
  drawImageTransparent(dc, rect.left, rect.top, scaled);
}

void SkinControl::drawCaption(Canvas& canvas, const Rect& rect, UINT alignment, bool enabled, const std::string& text) {
  canvas.brushClear = true;
  setFontStyle(canvas, 0);
  SetBkMode(canvas.handle(), TRANSPARENT);
  RECT measured = toRECT(rect);
  canvas.drawText(text, measured, alignment | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
  const Rect placed = placeCaption(rect, toRect(measured), (alignment & (DT_CENTER | DT_RIGHT)) == DT_CENTER);
  if (!enabled) setFontColour(canvas, sysColor(COLOR_BTNSHADOW));
  RECT out = toRECT(placed);
  canvas.drawText(text, out, alignment | DT_EXPANDTABS);
}

void SkinControl::drawGlyph(Canvas& canvas, Point at, int glyphCount, int glyph, const Image& strip) {
  if (strip.empty() || glyphCount < 1) return;
  const int width = strip.width / glyphCount;
  if (width <= 0 || glyph < 1 || glyph > glyphCount) return;
  Image cut(width, strip.height);
  stretchCopy(cut, Rect{0, 0, width, strip.height}, strip, Rect{(glyph - 1) * width, 0, glyph * width, strip.height});
  drawImageTransparent(canvas.handle(), at.x, at.y, cut, cut.at(0, cut.height - 1));
}

void SkinControl::putWorkBitmap(HDC dc, const Rect& rect) {
  Bitmap& work = sharedWorkBitmap();
  if (work.empty() || !dc) return;
  HDC previous = workCanvas_ ? workCanvas_->handle() : nullptr;
  if (workCanvas_) workCanvas_->setHandle(dc);
  BitBlt(dc, rect.left, rect.top, work.width(), work.height(), work.dc(), 0, 0, SRCCOPY);
  if (workCanvas_) workCanvas_->setHandle(previous);
}

}  // namespace vrin
