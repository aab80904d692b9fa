#pragma once
// Top-level windows. The window class name is the form's class name; close requests ask
// OnCloseQuery, then OnClose decides what happens (hide, nothing, or end the program).
#include <functional>
#include <memory>
#include <vector>

#include "ui/control.h"

namespace vrin {

enum class BorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
enum class FormStyle { Normal, StayOnTop };
enum class Position { Designed, ScreenCenter };
enum class CloseAction { None, Hide, Free, Minimize };

using CloseEvent = Event<void(Component*, CloseAction&)>;
// Passes a message on to the handler behind (in the end, the form's own window procedure).
using MessageNext = std::function<LRESULT(UINT, WPARAM, LPARAM)>;
using MessageHandler = std::function<LRESULT(UINT, WPARAM, LPARAM, const MessageNext& next)>;
using CloseQueryEvent = Event<void(Component*, bool&)>;

class MainMenu;

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
  // The window's menu bar. A change to the menu puts its rebuilt handle on the window.
  MainMenu* menu() const { return menu_; }
  void setMenu(MainMenu* menu);

  // The replaceable message handler: a component puts its handler in front of the form's
  // (the last added runs first) and calls `next` for what it does not take. Handlers can be
  // removed in any order, even while a message passes through them.
  int addMessageHandler(MessageHandler handler);
  void removeMessageHandler(int id);

  // Automatic scroll bars; switched off, the form shows none.
  bool autoScroll() const { return autoScroll_; }
  void setAutoScroll(bool on);

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
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void notification(Component* component, Operation operation) override;

 private:
  struct HandlerEntry {
    int id;
    MessageHandler fn;
  };
  using HandlerChain = std::vector<std::shared_ptr<HandlerEntry>>;
  LRESULT dispatchFrom(const std::shared_ptr<const HandlerChain>& chain, std::size_t index, UINT msg, WPARAM wp,
                       LPARAM lp);
  std::shared_ptr<const HandlerChain> handlers_ = std::make_shared<HandlerChain>();
  int nextHandlerId_ = 1;
  bool autoScroll_ = true;
  int clientWidth_ = 0, clientHeight_ = 0;
  bool centred_ = false;
  bool destroyFired_ = false;
  std::wstring classNameW_;
  Icon icon_;
  MainMenu* menu_ = nullptr;
};

}  // namespace vrin
