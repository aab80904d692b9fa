#pragma once
// The base of every control skinner. A skinner sits in front of one control's window
// procedure: BeforeMessage may take a message away from the control, the control then
// paints itself as usual, and AfterMessage paints the skinned parts over it.
//
// Framework controls of system classes have no window procedure of their own in our
// framework, so the insertion point is the same for a framework control and for a bare
// window: a subclass of the window. For a framework control the skinner also knows the
// control (its colour, font and text).
#include <cstdint>
#include <string>

#include "core/geometry.h"
#include "ui/control.h"
#include "ui/graphics.h"
#include "ui/win.h"

namespace vrin {

class SkinData;
class SkinForm;
class WinControl;
struct SkinElement;
struct Image;

// The framework's notifications a skinner listens to (CM_ENABLEDCHANGED, CM_MOUSEENTER and
// CM_MOUSELEAVE come from ui/control.h).
constexpr UINT CN_HSCROLL = 0xBD14;
constexpr UINT CN_VSCROLL = 0xBD15;

// Skin states, the frame numbers every control picture uses.
enum SkinState { ssNormal = 1, ssPressed = 2, ssDisabled = 3, ssHot = 4 };

// One message on its way through a skinner; `result` is the answer once it is handled.
struct SkinMessage {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
};

// The bitmap most skinners compose into before one copy to the screen; one per process.
Bitmap& sharedWorkBitmap();

class SkinControl {
 public:
  explicit SkinControl(SkinForm* owner);
  virtual ~SkinControl();
  SkinControl(const SkinControl&) = delete;
  SkinControl& operator=(const SkinControl&) = delete;

  // For a framework control: its window is subclassed, it joins the owner's list (when the
  // caller did not put it there), and with `recolour` its Color becomes ButtonFaceColor.
  virtual void AttachControl(WinControl& control, SkinData& skin, bool recolour, Canvas& canvas);
  // For a window the framework does not know.
  virtual void AttachWindow(HWND window, SkinData& skin, Canvas& canvas);
  // Gives the window its own procedure (and a recoloured control its colour) back.
  virtual void Detach();
  // False ends the message here, answered with msg.result.
  virtual bool BeforeMessage(SkinMessage& msg);
  virtual void AfterMessage(SkinMessage& msg);
  // The whole window drawn again through PaintSkin on its window DC.
  virtual void RepaintSkin();
  // Draws the skinned parts; the base draws nothing.
  virtual void PaintSkin(HDC dc, const Rect& rect);

  // The owner's hover check found the cursor outside: CM_MOUSELEAVE is posted and the owner
  // forgets this control.
  virtual void leaveHot();

  HWND window() const { return window_; }
  WinControl* control() const { return control_; }
  SkinForm* owner() const { return owner_; }
  SkinData* skin() const { return skin_; }
  // Screen rectangle as of the last repaint.
  const Rect& windowRect() const { return windowRect_; }
  bool attached() const { return subclassed_; }
  bool hot() const { return (stateFlags_ & kHot) != 0; }
  bool pressed() const { return (stateFlags_ & kPressed) != 0; }

 protected:
  static constexpr std::uint8_t kHot = 1, kPressed = 2;
  void setHot(bool on) { stateFlags_ = on ? (stateFlags_ | kHot) : (stateFlags_ & ~kHot); }
  void setPressed(bool on) { stateFlags_ = on ? (stateFlags_ | kPressed) : (stateFlags_ & ~kPressed); }
  // The window's own procedure (the one behind this skinner).
  LRESULT callOriginal(SkinMessage& msg);
  // Enabled, focused and caption as the window has them now.
  void readWindowState();
  // Becomes the owner's hot control (the previous one leaves first).
  void becomeHot();

  // Shared drawing.
  void fill(HDC dc, const Rect& rect);
  // The element's frame composed at the rectangle's size into the work bitmap (sized by the
  // caller), over ButtonFaceColor, key colour left out when transparent.
  void drawElementFrame(const Rect& rect, const SkinElement& element, bool transparent, int frameCount, int frame);
  // Frame k of n of a side-by-side strip, scaled to the rectangle, key colour left out.
  void drawStripFrame(Image& target, const Rect& rect, int frameCount, int frame, const Image& strip);
  void drawStripFrame(HDC dc, const Rect& rect, int frameCount, int frame, const Image& strip);
  // Centred vertically (and horizontally for DT_CENTER); disabled text in the shadow colour.
  void drawCaption(Canvas& canvas, const Rect& rect, UINT alignment, bool enabled, const std::string& text);
  // Glyph k of n, its bottom-left pixel's colour left out, at the position.
  void drawGlyph(Canvas& canvas, Point at, int glyphCount, int glyph, const Image& strip);
  // The work bitmap onto the DC at the rectangle's top-left.
  void putWorkBitmap(HDC dc, const Rect& rect);

  SkinData* skin_ = nullptr;
  Canvas* workCanvas_ = nullptr;
  bool enabled_ = true;
  bool focused_ = false;
  std::string caption_;
  HWND window_ = nullptr;
  WinControl* control_ = nullptr;
  Rect windowRect_;
  bool recolour_ = false;
  Color savedColour_ = clNone;
  // Set once the window is being destroyed: loops of our own end and nothing repaints.
  bool destroyed_ = false;

 private:
  bool subclass();
  static LRESULT CALLBACK router(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  SkinForm* owner_;
  std::uint8_t stateFlags_ = 0;
  bool subclassed_ = false;
};

}  // namespace vrin
