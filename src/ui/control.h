#pragma once
// Controls: components with a window, a parent, bounds, alignment and a context menu; and
// graphic controls, which have no window and live on their parent's.
#include <functional>
#include <string>
#include <vector>

#include "ui/graphics.h"
#include "ui/pure/component.h"
#include "ui/win.h"

namespace vrin {

class PopupMenu;

enum class Align { None, Top, Bottom, Left, Right, Client };

// The framework's own messages: sent to a form when one of its menus changed (LPARAM the
// menu), and offered to a form for a character key nothing handled (WPARAM the character;
// a non-zero result means it was taken).
constexpr UINT CM_DIALOGCHAR = 0xB006;
constexpr UINT CM_MENUCHANGED = 0xB015;
// Sent to a control (its window, or a graphic control's window-procedure method) after its
// Enabled changed, and as the mouse enters and leaves it.
constexpr UINT CM_ENABLEDCHANGED = 0xB00C;
constexpr UINT CM_MOUSEENTER = 0xB013;
constexpr UINT CM_MOUSELEAVE = 0xB014;

class GraphicControl;

class WinControl : public Component {
 public:
  explicit WinControl(Component* owner);
  ~WinControl() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  WinControl* parent() const { return parent_; }
  void setParent(WinControl* parent);
  const std::vector<WinControl*>& children() const { return children_; }

  HWND handle();  // made on first use
  bool handleAllocated() const { return hwnd_ != nullptr; }

  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void setBounds(int left, int top, int width, int height);
  Align align() const { return align_; }
  void setAlign(Align a);
  bool visible() const { return visible_; }
  void setVisible(bool v);
  // Changing it tells the control with CM_ENABLEDCHANGED.
  bool enabled() const { return enabled_; }
  void setEnabled(bool on);
  Color color() const { return color_; }
  void setColor(Color c);
  Font& font() { return font_; }
  void setFont(const FontSpec& desc);
  const std::string& hint() const { return hint_; }
  void setHint(const std::string& h) { hint_ = h; }
  // Hints are off unless switched on here or on a parent (the parent's switch covers its
  // children).
  bool showHint() const { return showHint_; }
  void setShowHint(bool on) { showHint_ = on; }
  PopupMenu* popupMenu() const { return popupMenu_; }
  void setPopupMenu(PopupMenu* menu);
  // Asked for by skinners so that what they paint over the control does not flicker: a
  // control of a system class then erases and paints off screen, reaching the screen in one copy.
  bool doubleBuffered() const { return doubleBuffered_; }
  void setDoubleBuffered(bool on) { doubleBuffered_ = on; }
  // The graphic controls living on this window, and the topmost visible one at a client point.
  const std::vector<GraphicControl*>& graphicChildren() const { return graphics_; }
  GraphicControl* graphicAt(int x, int y) const;
  std::string text() const;
  void setText(const std::string& text);
  // Client area size, as the window reports it (or the bounds before the window exists).
  RECT clientRect();
  // Lays the aligned children out in the client area: top, bottom, left, right, then client.
  void realign();

  // The control a window belongs to, if it is one of ours.
  static WinControl* fromHandle(HWND hwnd);

  // Routed from the parent's window procedure.
  virtual void command(WORD code) { (void)code; }
  virtual bool drawItem(DRAWITEMSTRUCT&) { return false; }
  virtual bool measureItem(MEASUREITEMSTRUCT&) { return false; }

 protected:
  // Subclasses describe their window; the base makes it.
  struct CreateParams {
    const wchar_t* className = L"";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    std::wstring caption;
  };
  virtual CreateParams createParams() = 0;
  virtual void handleCreated() {}
  // A system class that leaves its inside unpainted (a group box) gets it filled in its colour.
  virtual bool fillsBackground() const { return false; }
  // The window of a system class changed its size.
  virtual void resized() {}
  // The window procedure of windows we registered ourselves; controls of system classes
  // get their parent's notifications through command().
  virtual LRESULT windowProc(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ownClassProc(HWND, UINT, WPARAM, LPARAM);
  // What ownClassProc calls: windowProc, unless a subclass puts handlers in front of it.
  virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) { return windowProc(msg, wp, lp); }
  // Registers a window class whose procedure dispatches to windowProc.
  static void registerOwnClass(const std::wstring& name, HBRUSH background, UINT style = 0, HICON icon = nullptr);
  void notification(Component* component, Operation operation) override;
  HBRUSH backgroundBrush();
  void destroyHandle();

  HWND hwnd_ = nullptr;
  bool ownClass_ = false;

 private:
  friend class GraphicControl;
  // What every window of ours passes through before its own procedure: the mouse enter and
  // leave notifications, graphic children (painting, mouse input) and double buffering.
  LRESULT frameworkMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT passOn(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT paintBuffered();
  void paintGraphics(HDC dc, const RECT& area);
  static LRESULT CALLBACK systemClassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void applyBounds();
  WinControl* parent_ = nullptr;
  std::vector<WinControl*> children_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  Align align_ = Align::None;
  bool visible_ = true;
  bool enabled_ = true;
  bool doubleBuffered_ = false;
  bool showHint_ = false;
  bool subclassed_ = false;
  std::vector<GraphicControl*> graphics_;
  GraphicControl* graphicCapture_ = nullptr;  // pressed on; gets the mouse until the release
  HDC bufferDC_ = nullptr;                    // the off-screen DC while a buffered paint runs
  Color color_ = clBtnFace;
  Font font_;
  std::string hint_;
  std::string text_;
  PopupMenu* popupMenu_ = nullptr;
  GdiObject<HBRUSH> brush_;
  Color brushColor_ = clNone;
};

// A control without a window: it paints on its parent's window and gets the mouse messages
// the parent receives over it (coordinates made its own). Every message reaches it through
// its window-procedure method, which others may replace (keeping the previous one to call).
class GraphicControl : public Component {
 public:
  using WindowProcMethod = std::function<LRESULT(UINT msg, WPARAM wp, LPARAM lp)>;
  explicit GraphicControl(Component* owner);
  ~GraphicControl() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  WinControl* parent() const { return parent_; }
  void setParent(WinControl* parent);
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void setBounds(int left, int top, int width, int height);
  RECT boundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  RECT clientRect() const { return {0, 0, width_, height_}; }
  bool visible() const { return visible_; }
  void setVisible(bool v);
  bool enabled() const { return enabled_; }
  void setEnabled(bool on);
  std::string caption() const { return caption_; }
  void setCaption(const std::string& text);
  Font& font() { return font_; }
  void setFont(const FontSpec& desc);

  // Hands a message to the current window-procedure method.
  LRESULT perform(UINT msg, WPARAM wp, LPARAM lp);
  const WindowProcMethod& windowProcMethod() const { return method_; }
  void setWindowProcMethod(WindowProcMethod method);
  // Marks the control's part of the parent for painting; repaint() paints it at once.
  void invalidate();
  void repaint();
  NotifyEvent onClick;

 protected:
  // The control's own handling: WM_PAINT (wParam a DC whose origin is the control's top-left)
  // calls paint(); a left press and release over it make click().
  virtual LRESULT windowProc(UINT msg, WPARAM wp, LPARAM lp);
  virtual void paint(Canvas& canvas) { (void)canvas; }
  // The pressed state changed (mousePressed_); the click, if any, comes after it.
  virtual void pressChanged() {}
  virtual void click() { onClick(this); }
  bool mousePressed_ = false;

 private:
  friend class WinControl;
  WinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  Font font_;
  WindowProcMethod method_;
};

// A device context of a graphic control: its parent's window DC, origin at the control's
// top-left, clipped to it. No handle while the parent has no window.
class GraphicDC {
 public:
  explicit GraphicDC(GraphicControl& control);
  ~GraphicDC();
  GraphicDC(const GraphicDC&) = delete;
  GraphicDC& operator=(const GraphicDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  int saved_ = 0;
};

}  // namespace vrin
