#pragma once
// The application object: title, main form, message loop, the hidden "TApplication"
// window that owns the taskbar button, and the standard error report.
#include <exception>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/pure/component.h"
#include "ui/win.h"

namespace vrin {

class Form;

// The window that shows a control's hint near the mouse: a bordered, topmost popup in the
// hint colours that lets the mouse through. Subclasses replace its look through the
// application's hint window class.
class HintWindow : public WinControl {
 public:
  explicit HintWindow(Component* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  static HintWindow* create(Component* owner) { return new HintWindow(owner); }

  // The hint's rectangle for `hint`, its top-left at the origin, text no wider than maxWidth.
  virtual RECT calcHintRect(int maxWidth, const std::string& hint);
  // Shows the hint over `rect` (screen), made 4 pixels taller (the frame's padding) and kept
  // on the desktop, without taking the activation.
  virtual void activateHint(const RECT& rect, const std::string& hint);
  void hideWindow();
  const std::string& hintText() const { return hintText_; }

 protected:
  CreateParams createParams() override;
  LRESULT windowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  HFONT hintFont();

 private:
  std::string hintText_;
  std::wstring classNameW_;
  GdiObject<HFONT> font_;
};

// A hint window class: makes the hint window the application shows hints with.
using HintWindowClass = HintWindow* (*)(Component* owner);

class Application : public Component {
 public:
  Application();
  ~Application() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  const std::string& title() const { return title_; }
  void setTitle(const std::string& title);
  HWND handle();  // the hidden application window, made on first use
  Form* mainForm() const { return mainForm_; }
  void setMainForm(Form* form) { mainForm_ = form; }
  bool showMainForm = true;
  // Every live form, in creation order.
  const std::vector<Form*>& forms() const { return forms_; }
  void addForm(Form* form);
  void removeForm(Form* form);

  void run();
  void terminate();
  bool terminated() const { return terminated_; }
  // Handles every pending message, then returns (long operations call it between steps).
  void processMessages();
  // Handles one message if there is one; false when the queue was empty.
  bool handleOneMessage();

  // The standard error report: a message box with the title, the error text, OK, stop icon.
  void handleException(std::exception_ptr error);
  void showErrorText(const std::string& text);
  void minimize();
  void restore();

  // Hints: when the mouse rests on a control with a hint (and hints switched on for it),
  // the hint shows after hintPause ms through the current hint window class and goes
  // after hintHidePause ms, when the mouse leaves the control or at a click or key.
  HintWindowClass hintWindowClass() const { return hintWindowClass_; }
  // The hint window made by the previous class goes; the next hint makes one of the new.
  void setHintWindowClass(HintWindowClass windowClass);
  HintWindow* hintWindow() const { return hintWindow_; }
  int hintPause = 500;
  int hintHidePause = 2500;
  // Shows `hint` for the cursor at `cursor` (screen): the hint's rectangle goes below the
  // cursor, at most the screen's width wide.
  void activateHint(POINT cursor, const std::string& hint);
  void cancelHint();
  WinControl* hintControl() const { return hintControl_; }
  // What the message loop does with a message before dispatching it (hint tracking).
  void preprocessMessage(const MSG& msg);

  NotifyEvent onMinimize;
  NotifyEvent onRestore;
  NotifyEvent onDeactivate;

 private:
  static LRESULT CALLBACK wndProc(HWND, UINT, WPARAM, LPARAM);
  void notification(Component* component, Operation operation) override;
  void hintMouseMove(HWND target);
  void hintTimer(UINT_PTR id);
  void setHintControl(WinControl* control);
  std::string title_;
  HintWindowClass hintWindowClass_ = &HintWindow::create;
  HintWindow* hintWindow_ = nullptr;
  WinControl* hintControl_ = nullptr;
  HWND handle_ = nullptr;
  Form* mainForm_ = nullptr;
  std::vector<Form*> forms_;
  bool terminated_ = false;
};

Application& application();

// The text an exception carries (its message, or a generic one).
std::string exceptionText(std::exception_ptr error);

}  // namespace vrin
