#pragma once
// Push buttons, buttons with a glyph and speed buttons drawn from the skin's Buttons picture,
// with hot tracking and a pressed state of their own.
#include "skin/controls/skin_control.h"
#include "ui/control.h"

namespace vrin {

class SpeedButton;
struct GlyphSettings;

// The press is the skinner's: the button's own procedure never sees it, and the release
// makes the click.
class SkinButton : public SkinControl {
 public:
  using SkinControl::SkinControl;
  bool BeforeMessage(SkinMessage& msg) override;
  void AfterMessage(SkinMessage& msg) override;
  void PaintSkin(HDC dc, const Rect& rect) override;

 protected:
  // The skin has a Buttons picture to draw with.
  bool canPaint() const;
  // The font captions are drawn in, regular: the control's (WM_GETFONT for a bare window).
  virtual void useButtonFont(Canvas& canvas);
  // Glyph strip, its picture number and layout, and the caption composed into the work
  // bitmap (already holding the button's frame) over a client area of that size.
  void drawGlyphAndCaption(const GlyphSettings* glyph, int number, int state, const Rect& area, bool speedButton);
};

class SkinBitButton : public SkinButton {
 public:
  using SkinButton::SkinButton;
  void PaintSkin(HDC dc, const Rect& rect) override;
};

// Speed buttons have no window: the skinner takes the button's window-procedure method
// instead of subclassing, and paints on the parent through the button's own device context.
class SkinSpeedButton : public SkinBitButton {
 public:
  using SkinBitButton::SkinBitButton;
  ~SkinSpeedButton() override;
  void AttachSpeedButton(SpeedButton& button, SkinData& skin, Canvas& canvas);
  void Detach() override;
  bool BeforeMessage(SkinMessage& msg) override;
  void AfterMessage(SkinMessage& msg) override;
  void RepaintSkin() override;
  void PaintSkin(HDC dc, const Rect& rect) override;
  void leaveHot() override;
  SpeedButton* speedButton() const { return button_; }

 private:
  void useButtonFont(Canvas& canvas) override;
  LRESULT route(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT callSaved(UINT msg, WPARAM wp, LPARAM lp);
  SpeedButton* button_ = nullptr;
  GraphicControl::WindowProcMethod saved_;
};

}  // namespace vrin
