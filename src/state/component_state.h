#pragma once
// Keeps named published properties of a form's components across runs. The state component
// hooks its owner form: it restores after the form's creation handler, saves on every close
// request the form lets through, and saves at destruction when nothing was saved since the
// last restore.
#include <string>

#include "state/pure/state_store.h"
#include "ui/form.h"

namespace vrin {

class AbstractState : public StateComponent {
 public:
  // The owner must be a form; anything else raises an Error.
  explicit AbstractState(Component* owner);
  ~AbstractState() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  bool active() const { return active_; }
  void setActive(bool active) { active_ = active; }
  // The stored text, or the owner form's class name when it is empty.
  std::string section() const;
  void setSection(const std::string& section) { section_ = section; }
  AbstractStore* storage() const { return storage_; }
  void setStorage(AbstractStore* store);

  void restoreState();
  // Does nothing while active and not yet restored, so defaults never overwrite what the
  // user stored before.
  void saveState();
  bool restored() const { return restored_; }
  bool saved() const { return saved_; }

  NotifyEvent onSaveState;
  NotifyEvent onRestoreState;

 protected:
  virtual void doRestoreState() = 0;
  virtual void doSaveState() = 0;
  void loaded() override;
  void notification(Component* component, Operation operation) override;

  bool restored_ = false;
  bool saved_ = false;

 private:
  void formCreate(Component* sender);
  void formCloseQuery(Component* sender, bool& canClose);
  void formDestroy(Component* sender);

  Form* form_ = nullptr;
  bool active_ = true;
  std::string section_;
  AbstractStore* storage_ = nullptr;
  bool hooked_ = false;
  NotifyEvent formOnCreate_;
  CloseQueryEvent formOnCloseQuery_;
  NotifyEvent formOnDestroy_;
};

class ComponentState : public AbstractState {
 public:
  explicit ComponentState(Component* owner) : AbstractState(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // "Component.Property" lines, stored in this order. Components are looked up among the
  // owner's components when loading completes (or at once, once it has); lines that name
  // nothing are dropped then.
  StringList storedProperties() const { return storedEntryLines(entries_); }
  void setStoredProperties(const StringList& lines);

 protected:
  void doRestoreState() override;
  void doSaveState() override;
  void loaded() override;
  void notification(Component* component, Operation operation) override;

 private:
  StoredEntries entries_;
  bool resolved_ = false;
};

}  // namespace vrin
