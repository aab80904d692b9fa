#include "ui/pure/component.h"

#include <algorithm>

#include "core/text.h"

namespace vrin {

ExceptionReporter& exceptionReporter() {
  static ExceptionReporter reporter = nullptr;
  return reporter;
}

void reportCurrentException() {
  if (auto r = exceptionReporter()) r(std::current_exception());
}

bool ClassInfo::inheritsFrom(const ClassInfo& other) const {
  for (const ClassInfo* c = this; c; c = c->parent)
    if (c == &other) return true;
  return false;
}

std::vector<const PropInfo*> ClassInfo::allProperties() const {
  std::vector<const ClassInfo*> chain;
  for (const ClassInfo* c = this; c; c = c->parent) chain.push_back(c);
  std::vector<const PropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const auto& p : (*it)->properties) out.push_back(&p);
  return out;
}

const PropInfo* ClassInfo::findProperty(const std::string& name) const {
  for (const ClassInfo* c = this; c; c = c->parent)
    for (const auto& p : c->properties)
      if (sameText(p.name, name)) return &p;
  return nullptr;
}

const ClassInfo& Component::staticClassInfo() {
  static const ClassInfo info{"TComponent", nullptr,
                              {stringProp<Component>("Name", &Component::getName, &Component::setName),
                               intProp<Component>("Tag", &Component::getTag, &Component::setTagInt)}};
  return info;
}

Component::Component(Component* owner) {
  if (owner) owner->insertComponent(this);
}

Component::~Component() {
  state_ |= csDestroying;
  // Tell everyone who asked that this component goes away.
  auto notifies = std::move(freeNotifies_);
  for (Component* c : notifies) {
    auto& back = c->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    c->notification(this, Operation::Remove);
  }
  destroyComponents();
  if (owner_) owner_->removeComponent(this);
}

void Component::destroyComponents() {
  while (!components_.empty()) {
    Component* c = components_.back();
    removeComponent(c);
    delete c;
  }
}

void Component::setName(const std::string& name) {
  if (sameText(name, name_) && name.size() == name_.size()) {
    name_ = name;
    return;
  }
  if (owner_ && !name.empty() && owner_->findComponent(name))
    throw Error("Un composant nommé " + name + " existe déjà");
  name_ = name;
}

void Component::endLoading() {
  state_ &= ~csLoading;
  loaded();
}

Component* Component::findComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (Component* c : components_)
    if (sameText(c->name_, name)) return c;
  return nullptr;
}

void Component::freeNotification(Component* other) {
  if (!other || other == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
    freeNotifies_.push_back(other);
  if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) == other->freeNotifies_.end())
    other->freeNotifies_.push_back(this);
}

void Component::removeFreeNotification(Component* other) {
  if (!other) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
  other->freeNotifies_.erase(std::remove(other->freeNotifies_.begin(), other->freeNotifies_.end(), this),
                             other->freeNotifies_.end());
}

void Component::notification(Component* component, Operation operation) {
  // Owned components hear about insertions and removals among their siblings too.
  (void)component;
  (void)operation;
}

void Component::insertComponent(Component* c) {
  components_.push_back(c);
  c->owner_ = this;
}

void Component::removeComponent(Component* c) {
  components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
  for (Component* sibling : components_) sibling->notification(c, Operation::Remove);
  notification(c, Operation::Remove);
  c->owner_ = nullptr;
}

PropValue Component::getProperty(const std::string& name) const {
  const PropInfo* p = classInfo().findProperty(name);
  if (!p || !p->get) throw Error("Propriété " + name + " inexistante");
  return p->get(*this);
}

void Component::setProperty(const std::string& name, const PropValue& value) {
  const PropInfo* p = classInfo().findProperty(name);
  if (!p || !p->set) throw Error("Propriété " + name + " inexistante");
  p->set(*this, value);
}

}  // namespace vrin
