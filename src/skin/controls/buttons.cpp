#include "skin/controls/buttons.h"

#include <windowsx.h>

#include <algorithm>

#include "skin/controls/control_paint.h"
#include "skin/controls/panel_paint.h"
#include "skin/form/skin_form.h"
#include "skin/pure/control_layout.h"
#include "skin/skin_data.h"
#include "ui/buttons.h"
#include "ui/geometry_win.h"

namespace vrin {

// ---- SkinButton

bool SkinButton::BeforeMessage(SkinMessage& msg) {
  switch (msg.msg) {
    case WM_ERASEBKGND:
      msg.result = 1;
      return false;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
      if (GetFocus() != window_) SetFocus(window_);
      setPressed(true);
      RepaintSkin();
      msg.result = 0;
      return false;
  }
  return true;
}

void SkinButton::AfterMessage(SkinMessage& msg) {
  switch (msg.msg) {
    case WM_PAINT:
      RepaintSkin();
      break;
    case WM_KEYDOWN: case WM_KEYUP:
      if (msg.wParam != VK_SPACE) return SkinControl::AfterMessage(msg);
      setPressed(msg.msg == WM_KEYDOWN);
      RepaintSkin();
      break;
    case WM_MOUSEMOVE:
      if (hot()) break;
      setHot(true);
      RepaintSkin();
      becomeHot();
      break;
    case WM_LBUTTONUP: {
      // Only a release that ends our own press is a click: a press that began elsewhere
      // and ends over the button clicks nothing, as with the button's own handling.
      const bool wasPressed = pressed();
      setPressed(false);
      RepaintSkin();
      if (!wasPressed) break;
      const HWND parent = GetParent(window_);
      if (parent) PostMessageA(parent, WM_COMMAND, control_ ? 0 : WPARAM(GetDlgCtrlID(window_)), LPARAM(window_));
      break;
    }
    case CM_MOUSEENTER:
      if (!enabled_) break;
      setHot(true);
      RepaintSkin();
      break;
    case CM_MOUSELEAVE:
      if (!enabled_) break;
      setHot(false);
      setPressed(false);
      RepaintSkin();
      break;
    default:
      SkinControl::AfterMessage(msg);
  }
}

bool SkinButton::canPaint() const { return skin_ && !skin_->Buttons().Image.empty(); }

void SkinButton::PaintSkin(HDC dc, const Rect& rect) {
  if (!canPaint() || !drawableSize(rect)) return;
  readWindowState();
  if (caption_.empty() && control_) caption_ = control_->text();
  const int state = buttonState(pressed(), focused_, hot(), enabled_);
  const SkinButtonElement& buttons = skin_->Buttons();
  const Rect area{0, 0, rect.width(), rect.height()};
  sizeWorkBitmap(area.right, area.bottom);
  if (sharedWorkBitmap().empty()) return;
  drawElementFrame(area, buttons, buttons.Trans != 0, 5, state);
  Canvas& canvas = sharedWorkBitmap().canvas();
  useButtonFont(canvas);
  setFontColour(canvas, pushButtonTextColour(buttons, skin_->SkinColors().ButtonTextColor, state));
  drawCaption(canvas, area, DT_CENTER, enabled_, caption_);
  putWorkBitmap(dc, rect);
}

void SkinButton::drawGlyphAndCaption(const GlyphSettings* glyph, int number, int state, const Rect& area,
                                     bool speedButton) {
  Canvas& canvas = sharedWorkBitmap().canvas();
  useButtonFont(canvas);
  setFontColour(canvas, bitButtonTextColour(skin_->Settings(), state));

  const Image* strip = glyph && !glyph->Glyph.empty() ? &glyph->Glyph : nullptr;
  const int count = glyph ? std::max(glyph->NumGlyphs, 1) : 1;
  if (!strip && speedButton) {
    drawCaption(canvas, area, DT_CENTER, enabled_, caption_);
    return;
  }
  RECT measured{0, 0, 0, 0};
  if (!caption_.empty()) canvas.drawText(caption_, measured, DT_CALCRECT | DT_SINGLELINE);
  GlyphButton b;
  b.width = area.width();
  b.height = area.height();
  if (strip) {
    b.glyphWidth = stripFrameWidth(strip->width, count);
    b.glyphHeight = strip->height;
  }
  b.captionWidth = measured.right - measured.left;
  b.captionHeight = measured.bottom - measured.top;
  b.Layout = glyph ? GlyphLayout(int(glyph->Layout)) : GlyphLayout::Left;
  b.Margin = glyph ? glyph->Margin : -1;
  b.Spacing = glyph ? glyph->Spacing : 4;
  b.speedButton = speedButton;
  const GlyphPlacement at = layoutGlyphButton(b);
  if (strip) drawGlyph(canvas, {at.glyph.left, at.glyph.top}, count, number, *strip);
  if (caption_.empty()) return;
  canvas.brushClear = true;
  setFontStyle(canvas, 0);
  SetBkMode(canvas.handle(), TRANSPARENT);
  if (!enabled_) setFontColour(canvas, sysColor(COLOR_BTNSHADOW));
  const UINT alignment = b.Layout == GlyphLayout::Left ? DT_LEFT : b.Layout == GlyphLayout::Right ? DT_RIGHT : DT_CENTER;
  RECT box = toRECT(at.caption);
  canvas.drawText(caption_, box, alignment | DT_SINGLELINE | DT_NOCLIP);
}

void SkinButton::useButtonFont(Canvas& canvas) {
  // A window that never got a font draws in the system font, not in whatever the shared
  // canvas last held.
  if (!control_ && !SendMessageW(window_, WM_GETFONT, 0, 0))
    canvas.font.assignHandle(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  useControlFont(canvas, window_, control_);
}

// ---- SkinBitButton

void SkinBitButton::PaintSkin(HDC dc, const Rect& rect) {
  if (!canPaint() || !drawableSize(rect)) return;
  readWindowState();
  if (caption_.empty() && control_) caption_ = control_->text();
  auto* bit = dynamic_cast<BitButton*>(control_);
  if (bit) focused_ = bit->focused();
  const int state = buttonState(pressed(), focused_, hot(), enabled_);
  const SkinButtonElement& buttons = skin_->Buttons();
  const Rect area{0, 0, rect.width(), rect.height()};
  sizeWorkBitmap(area.right, area.bottom);
  if (sharedWorkBitmap().empty()) return;
  drawElementFrame(area, buttons, buttons.Trans != 0, buttons.FrameCount, state);
  drawGlyphAndCaption(bit ? &bit->glyph() : nullptr, 1, state, area, false);
  putWorkBitmap(dc, rect);
}

// ---- SkinSpeedButton

SkinSpeedButton::~SkinSpeedButton() { Detach(); }

void SkinSpeedButton::AttachSpeedButton(SpeedButton& button, SkinData& skin, Canvas& canvas) {
  Detach();
  button_ = &button;
  skin_ = &skin;
  workCanvas_ = &canvas;
  enabled_ = button.enabled();
  caption_ = button.caption();
  saved_ = button.windowProcMethod();
  button.setWindowProcMethod([this](UINT msg, WPARAM wp, LPARAM lp) { return route(msg, wp, lp); });
  button.invalidate();
}

void SkinSpeedButton::Detach() {
  if (button_) {
    button_->setWindowProcMethod(saved_);
    button_->invalidate();
    button_ = nullptr;
  }
  saved_ = nullptr;
  SkinControl::Detach();
}

void SkinSpeedButton::useButtonFont(Canvas& canvas) {
  if (!button_) return;
  canvas.font = button_->font();
  setFontStyle(canvas, 0);
}

LRESULT SkinSpeedButton::callSaved(UINT msg, WPARAM wp, LPARAM lp) { return saved_ ? saved_(msg, wp, lp) : 0; }

LRESULT SkinSpeedButton::route(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCDESTROY) {
    // The button goes: its own method is put back and hears the message too.
    const GraphicControl::WindowProcMethod saved = saved_;
    destroyed_ = true;
    if (button_) button_->setWindowProcMethod(saved);
    button_ = nullptr;
    saved_ = nullptr;
    if (owner() && owner()->HotControl == this) owner()->HotControl = nullptr;
    return saved ? saved(msg, wp, lp) : 0;
  }
  SkinMessage m{msg, wp, lp};
  bool pass = true;
  try {
    pass = BeforeMessage(m);
  } catch (...) {
    // Skinning must never break the button: on an error the button handles the message.
    pass = true;
  }
  if (!pass) return m.result;
  m.result = callSaved(msg, wp, lp);
  try {
    if (!destroyed_ && button_) AfterMessage(m);
  } catch (...) {
    // Absorbed: a paint error must not unwind through the parent's window procedure.
  }
  return m.result;
}

bool SkinSpeedButton::BeforeMessage(SkinMessage& msg) {
  switch (msg.msg) {
    case WM_PAINT: {
      // Without the Buttons picture the button paints itself.
      if (!canPaint() || !msg.wParam || !button_) return true;
      const RECT r = button_->clientRect();
      PaintSkin(reinterpret_cast<HDC>(msg.wParam), toRect(r));
      msg.result = 1;
      return false;
    }
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
      msg.result = callSaved(msg.msg, msg.wParam, msg.lParam);
      setPressed(true);
      RepaintSkin();
      return false;
    case WM_ERASEBKGND:
      msg.result = 1;
      return false;
  }
  return true;
}

void SkinSpeedButton::AfterMessage(SkinMessage& msg) {
  switch (msg.msg) {
    case WM_KEYDOWN:
      if (msg.wParam != VK_SPACE) return;
      setPressed(true);
      break;
    case WM_KEYUP:
      if (msg.wParam != VK_SPACE) return;
      setPressed(false);
      break;
    case WM_LBUTTONUP: case WM_CAPTURECHANGED:
      setPressed(false);
      break;
    case WM_MOUSEMOVE:
      if (hot()) return;
      setHot(true);
      RepaintSkin();
      becomeHot();
      return;
    case CM_MOUSEENTER:
      setHot(true);
      break;
    case CM_MOUSELEAVE:
      setHot(false);
      setPressed(false);
      break;
    case CM_ENABLEDCHANGED:
      break;
    default:
      return;
  }
  RepaintSkin();
}

void SkinSpeedButton::RepaintSkin() {
  if (!button_ || destroyed_ || !button_->visible()) return;
  WinControl* parent = button_->parent();
  if (!parent || !parent->handleAllocated()) return;
  RECT bounds = button_->boundsRect();
  MapWindowPoints(parent->handle(), nullptr, reinterpret_cast<POINT*>(&bounds), 2);
  windowRect_ = toRect(bounds);
  GraphicDC dc(*button_);
  if (!dc.get()) return;
  PaintSkin(dc.get(), toRect(button_->clientRect()));
}

void SkinSpeedButton::PaintSkin(HDC dc, const Rect& rect) {
  if (!button_ || !canPaint() || !drawableSize(rect)) return;
  enabled_ = button_->enabled();
  caption_ = button_->caption();
  const int state = speedButtonState(pressed(), hot(), enabled_, button_->Down());
  const GlyphSettings& glyph = button_->glyph();
  const int number = speedButtonGlyph(state, glyph.NumGlyphs);
  const SkinButtonElement& buttons = skin_->Buttons();
  const Rect area{0, 0, rect.width(), rect.height()};
  sizeWorkBitmap(area.right, area.bottom);
  if (sharedWorkBitmap().empty()) return;
  drawElementFrame(area, buttons, buttons.Trans != 0, buttons.FrameCount, state);
  drawGlyphAndCaption(&glyph, number, state, area, true);
  putWorkBitmap(dc, rect);
}

void SkinSpeedButton::leaveHot() {
  if (button_) button_->perform(CM_MOUSELEAVE, 0, 0);
  if (owner() && owner()->HotControl == this) owner()->HotControl = nullptr;
}

}  // namespace vrin
