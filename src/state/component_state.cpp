#include "state/component_state.h"

namespace vrin {

// ---- AbstractState

const ClassInfo& AbstractState::staticClassInfo() {
  static const ClassInfo info{"TAbstractState", &StateComponent::staticClassInfo(), {}};
  return info;
}

AbstractState::AbstractState(Component* owner) : StateComponent(owner) {
  form_ = dynamic_cast<Form*>(owner);
  if (!form_) throw Error("A settings state component must be owned by a form");
}

AbstractState::~AbstractState() {
  if (!hooked_) return;
  // Hand the form its own handlers back, unless someone hooked it after us.
  if (form_->onCreate == NotifyEvent::of<&AbstractState::formCreate>(this)) form_->onCreate = formOnCreate_;
  if (form_->onCloseQuery == CloseQueryEvent::of<&AbstractState::formCloseQuery>(this))
    form_->onCloseQuery = formOnCloseQuery_;
  if (form_->onDestroy == NotifyEvent::of<&AbstractState::formDestroy>(this)) form_->onDestroy = formOnDestroy_;
}

std::string AbstractState::section() const { return section_.empty() ? form_->className() : section_; }

void AbstractState::setStorage(AbstractStore* store) {
  if (store == storage_) return;
  if (storage_) removeFreeNotification(storage_);
  storage_ = store;
  if (storage_) freeNotification(storage_);
}

void AbstractState::loaded() {
  StateComponent::loaded();
  if (designing() || hooked_) return;
  formOnCreate_ = form_->onCreate;
  formOnCloseQuery_ = form_->onCloseQuery;
  formOnDestroy_ = form_->onDestroy;
  form_->onCreate = NotifyEvent::of<&AbstractState::formCreate>(this);
  form_->onCloseQuery = CloseQueryEvent::of<&AbstractState::formCloseQuery>(this);
  form_->onDestroy = NotifyEvent::of<&AbstractState::formDestroy>(this);
  hooked_ = true;
}

void AbstractState::notification(Component* component, Operation operation) {
  StateComponent::notification(component, operation);
  if (operation == Operation::Remove && component == storage_) {
    // Nowhere to keep the settings any more.
    storage_ = nullptr;
    active_ = false;
  }
}

void AbstractState::restoreState() {
  saved_ = false;
  doRestoreState();
  restored_ = true;
  onRestoreState(this);
}

void AbstractState::saveState() {
  if (!restored_ && active_) return;
  doSaveState();
  onSaveState(this);
  saved_ = true;
}

void AbstractState::formCreate(Component* sender) {
  // The form's own handler first; if it fails, its error goes up and nothing is restored.
  formOnCreate_.call(sender);
  if (!active_) return;
  try {
    restoreState();
  } catch (...) {
    reportCurrentException();
  }
}

void AbstractState::formCloseQuery(Component* sender, bool& canClose) {
  formOnCloseQuery_.call(sender, canClose);
  if (!canClose || !active_ || !form_->handleAllocated()) return;
  try {
    saveState();
  } catch (...) {
    reportCurrentException();
  }
}

void AbstractState::formDestroy(Component* sender) {
  if (active_ && !saved_) {
    try {
      saveState();
    } catch (...) {
      reportCurrentException();
    }
  }
  formOnDestroy_.call(sender);
}

// ---- ComponentState

const ClassInfo& ComponentState::staticClassInfo() {
  static const ClassInfo info{
      "TComponentState",
      &AbstractState::staticClassInfo(),
      {boolProp<AbstractState>("Active", &AbstractState::active, &AbstractState::setActive),
       stringProp<AbstractState>("Section", &AbstractState::section, &AbstractState::setSection),
       classProp<AbstractState, AbstractStore>("Storage", [](AbstractState& s) { return s.storage(); },
                                               [](AbstractState& s, AbstractStore* store) { s.setStorage(store); }),
       listProp<ComponentState>("StoredProperties", &ComponentState::storedProperties,
                                &ComponentState::setStoredProperties),
       eventProp<AbstractState>("OnSaveState", &AbstractState::onSaveState),
       eventProp<AbstractState>("OnRestoreState", &AbstractState::onRestoreState)}};
  return info;
}

void ComponentState::setStoredProperties(const StringList& lines) {
  entries_ = makeStoredEntries(lines);
  if (resolved_) resolveStoredEntries(*owner(), entries_);
}

void ComponentState::loaded() {
  AbstractState::loaded();
  resolveStoredEntries(*owner(), entries_);
  resolved_ = true;
}

void ComponentState::notification(Component* component, Operation operation) {
  AbstractState::notification(component, operation);
  if (operation == Operation::Remove) forgetStoredComponent(entries_, component);
}

void ComponentState::doRestoreState() {
  if (!storage()) return;
  restored_ = true;
  DataFiler filer(storage(), section());
  StoreOpenScope open(storage());
  // Restoring never troubles the user: whatever cannot be read keeps its current value.
  try {
    filer.restoreProperties(entries_);
  } catch (...) {
  }
}

void ComponentState::doSaveState() {
  if (!storage()) return;
  DataFiler filer(storage(), section());
  StoreOpenScope open(storage());
  filer.saveProperties(entries_);
}

}  // namespace vrin
