#pragma once
// The application object: title, main form, message loop, the hidden "TApplication"
// window that owns the taskbar button, and the standard error report.
#include <exception>
#include <string>
#include <vector>

#include "ui/pure/component.h"
#include "ui/win.h"

namespace vrin {

class Form;

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

  NotifyEvent onMinimize;
  NotifyEvent onRestore;
  NotifyEvent onDeactivate;

 private:
  static LRESULT CALLBACK wndProc(HWND, UINT, WPARAM, LPARAM);
  std::string title_;
  HWND handle_ = nullptr;
  Form* mainForm_ = nullptr;
  std::vector<Form*> forms_;
  bool terminated_ = false;
};

Application& application();

// The text an exception carries (its message, or a generic one).
std::string exceptionText(std::exception_ptr error);

}  // namespace vrin
