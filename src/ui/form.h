#pragma once
// Top-level windows. The window class name is the form's class name; close requests ask
// OnCloseQuery, then OnClose decides what happens (hide, nothing, or end the program).
#include "ui/control.h"

namespace vrin {

enum class BorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
enum class FormStyle { Normal, StayOnTop };
enum class Position { Designed, ScreenCenter };
enum class CloseAction { None, Hide, Free, Minimize };

using CloseEvent = Event<void(Component*, CloseAction&)>;
using CloseQueryEvent = Event<void(Component*, bool&)>;

class Form : public WinControl {
 public:
  explicit Form(Component* owner);
  ~Form() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  std::string caption() const { return text(); }
  void setCaption(const std::string& c) { setText(c); }
  BorderStyle borderStyle = BorderStyle::Sizeable;
  FormStyle formStyle = FormStyle::Normal;
  Position position = Position::Designed;
  void setClientSize(int width, int height);
  int clientWidth();
  int clientHeight();
  Icon& icon() { return icon_; }

  void show();
  void hide();
  void close();
  bool closeQuery();
  bool showing() const { return hwnd_ && IsWindowVisible(hwnd_); }

  // Runs OnCreate as the framework does after a form's definition is applied; an error
  // gets the standard report.
  void doCreate();

  NotifyEvent onCreate;
  CloseEvent onClose;
  CloseQueryEvent onCloseQuery;
  NotifyEvent onDestroy;
  NotifyEvent onShow;
  NotifyEvent onHide;

 protected:
  CreateParams createParams() override;
  void handleCreated() override;
  LRESULT windowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  int clientWidth_ = 0, clientHeight_ = 0;
  bool centred_ = false;
  bool destroyFired_ = false;
  std::wstring classNameW_;
  Icon icon_;
};

}  // namespace vrin
