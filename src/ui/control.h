#pragma once
// Controls: components with a window, a parent, bounds, alignment and a context menu.
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
  // Asked for by skinners so that what they paint over the control does not flicker.
  bool doubleBuffered() const { return doubleBuffered_; }
  void setDoubleBuffered(bool on) { doubleBuffered_ = on; }
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
  void applyBounds();
  WinControl* parent_ = nullptr;
  std::vector<WinControl*> children_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  Align align_ = Align::None;
  bool visible_ = true;
  bool doubleBuffered_ = false;
  bool showHint_ = false;
  Color color_ = clBtnFace;
  Font font_;
  std::string hint_;
  std::string text_;
  PopupMenu* popupMenu_ = nullptr;
  GdiObject<HBRUSH> brush_;
  Color brushColor_ = clNone;
};

}  // namespace vrin
