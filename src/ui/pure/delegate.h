#pragma once
// Events as comparable delegates: an (object, member function) pair that can be tested for
// equality ("is this item's draw handler already this menu's?") and invoked. Dispatch
// catches exceptions and hands them to the application's error report.
#include <exception>
#include <functional>
#include <memory>
#include <utility>

namespace vrin {

// Set by the application object; called with the exception that left an event handler.
using ExceptionReporter = void (*)(std::exception_ptr);
ExceptionReporter& exceptionReporter();
// Reports the current exception through the reporter (or swallows it when none is set).
void reportCurrentException();

template <class Sig> class Event;

template <class... Args>
class Event<void(Args...)> {
 public:
  Event() = default;
  Event(std::nullptr_t) {}

  // Event::of<&Class::Method>(object)
  template <auto Method, class T>
  static Event of(T* object) {
    Event e;
    e.object_ = object;
    e.thunk_ = &thunk<T, Method>;
    return e;
  }
  // A free-standing handler (tests, tools); never equal to a member delegate.
  static Event fn(std::function<void(Args...)> f) {
    Event e;
    e.fn_ = std::make_shared<std::function<void(Args...)>>(std::move(f));
    e.object_ = e.fn_.get();
    e.thunk_ = &fnThunk;
    return e;
  }

  explicit operator bool() const { return thunk_ != nullptr; }
  bool operator==(const Event& o) const { return object_ == o.object_ && thunk_ == o.thunk_; }
  void* object() const { return object_; }

  // Invokes the handler directly; exceptions travel to the caller.
  void call(Args... args) const {
    if (thunk_) thunk_(object_, std::forward<Args>(args)...);
  }
  // Invokes the handler as an event: an exception is shown by the application's report.
  void operator()(Args... args) const {
    if (!thunk_) return;
    try {
      thunk_(object_, std::forward<Args>(args)...);
    } catch (...) {
      reportCurrentException();
    }
  }

 private:
  template <class T, auto Method>
  static void thunk(void* o, Args... args) { (static_cast<T*>(o)->*Method)(std::forward<Args>(args)...); }
  static void fnThunk(void* o, Args... args) {
    (*static_cast<std::function<void(Args...)>*>(o))(std::forward<Args>(args)...);
  }

  void* object_ = nullptr;
  void (*thunk_)(void*, Args...) = nullptr;
  std::shared_ptr<std::function<void(Args...)>> fn_;
};

class Component;
using NotifyEvent = Event<void(Component*)>;

}  // namespace vrin
