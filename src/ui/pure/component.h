#pragma once
// The unit of composition: components own components, carry a name and a tag, complete
// their loading after the stored settings were applied, notify each other of their
// destruction and publish properties that can be read and written by name.
#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/pure/delegate.h"

namespace vrin {

struct Error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

using StringList = std::vector<std::string>;

// Class: a component reference or an owned object; Method: an event.
enum class TypeKind { Integer, Char, WideChar, Enumeration, Float, String, Set, StringList, Class, Method };
enum class FloatType { Single, Double, Extended, Comp, Currency };

// A value passing through a published property. Integer, char (code), enumeration
// (ordinal) and set (bits 0..31) use `integer`; a class property carries a pointer to the
// object and an event its delegate, in `object`.
struct PropValue {
  std::int64_t integer = 0;
  double number = 0;
  std::string text;
  StringList list;
  std::any object;

  static PropValue ofInt(std::int64_t v) { PropValue p; p.integer = v; return p; }
  static PropValue ofFloat(double v) { PropValue p; p.number = v; return p; }
  static PropValue ofText(std::string v) { PropValue p; p.text = std::move(v); return p; }
  static PropValue ofList(StringList v) { PropValue p; p.list = std::move(v); return p; }
  static PropValue ofObject(std::any v) { PropValue p; p.object = std::move(v); return p; }
};

class Component;

struct PropInfo {
  std::string name;
  TypeKind kind = TypeKind::Integer;
  StringList names;  // enumeration values or set members, by ordinal
  FloatType floatType = FloatType::Double;
  std::function<PropValue(const Component&)> get;
  std::function<void(Component&, const PropValue&)> set;
};

// Run-time class information: the class name (as the window system and the settings
// see it) and the published properties, inherited from the parent class.
struct ClassInfo {
  std::string name;
  const ClassInfo* parent = nullptr;
  std::vector<PropInfo> properties;

  bool inheritsFrom(const ClassInfo& other) const;
  // Own and inherited properties, base class first.
  std::vector<const PropInfo*> allProperties() const;
  // Lookup ignoring case, most derived first.
  const PropInfo* findProperty(const std::string& name) const;
};

// Helpers to declare properties over typed getters and setters.
template <class C>
PropInfo intProp(std::string name, int (C::*get)() const, void (C::*set)(int)) {
  return {std::move(name), TypeKind::Integer, {}, FloatType::Double,
          [get](const Component& c) { return PropValue::ofInt((static_cast<const C&>(c).*get)()); },
          [set](Component& c, const PropValue& v) { (static_cast<C&>(c).*set)(static_cast<int>(v.integer)); }};
}
template <class C>
PropInfo boolProp(std::string name, bool (C::*get)() const, void (C::*set)(bool)) {
  return {std::move(name), TypeKind::Enumeration, {"False", "True"}, FloatType::Double,
          [get](const Component& c) { return PropValue::ofInt((static_cast<const C&>(c).*get)() ? 1 : 0); },
          [set](Component& c, const PropValue& v) { (static_cast<C&>(c).*set)(v.integer != 0); }};
}
template <class C>
PropInfo stringProp(std::string name, std::string (C::*get)() const, void (C::*set)(const std::string&)) {
  return {std::move(name), TypeKind::String, {}, FloatType::Double,
          [get](const Component& c) { return PropValue::ofText((static_cast<const C&>(c).*get)()); },
          [set](Component& c, const PropValue& v) { (static_cast<C&>(c).*set)(v.text); }};
}
template <class C, class E>
PropInfo enumProp(std::string name, StringList names, E (C::*get)() const, void (C::*set)(E)) {
  return {std::move(name), TypeKind::Enumeration, std::move(names), FloatType::Double,
          [get](const Component& c) { return PropValue::ofInt(static_cast<int>((static_cast<const C&>(c).*get)())); },
          [set](Component& c, const PropValue& v) { (static_cast<C&>(c).*set)(static_cast<E>(v.integer)); }};
}
template <class C>
PropInfo setProp(std::string name, StringList members, std::uint32_t (C::*get)() const, void (C::*set)(std::uint32_t)) {
  return {std::move(name), TypeKind::Set, std::move(members), FloatType::Double,
          [get](const Component& c) { return PropValue::ofInt((static_cast<const C&>(c).*get)()); },
          [set](Component& c, const PropValue& v) { (static_cast<C&>(c).*set)(static_cast<std::uint32_t>(v.integer)); }};
}
template <class C>
PropInfo listProp(std::string name, StringList (C::*get)() const, void (C::*set)(const StringList&)) {
  return {std::move(name), TypeKind::StringList, {}, FloatType::Double,
          [get](const Component& c) { return PropValue::ofList((static_cast<const C&>(c).*get)()); },
          [set](Component& c, const PropValue& v) { (static_cast<C&>(c).*set)(v.list); }};
}

// The object or delegate a value carries; an empty value gives none. A value of another type
// is refused with an Error rather than taken for something it is not.
template <class T>
T objectValue(const PropValue& v, const std::string& property) {
  if (!v.object.has_value()) return T{};
  if (const T* p = std::any_cast<T>(&v.object)) return *p;
  throw Error("Invalid value for property " + property);
}
// A component reference or an owned object, read and written as a T*. Reading an owned
// object gives the object itself, to be changed in place; setting one copies into it (the
// setter's business), so the caller's object is never taken over.
template <class C, class T, class Get, class Set>
PropInfo classProp(std::string name, Get get, Set set) {
  return {name, TypeKind::Class, {}, FloatType::Double,
          [get](const Component& c) {
            return PropValue::ofObject(static_cast<T*>(get(const_cast<C&>(static_cast<const C&>(c)))));
          },
          [set, name](Component& c, const PropValue& v) { set(static_cast<C&>(c), objectValue<T*>(v, name)); }};
}
// An event slot, read and written as its delegate.
template <class C, class E>
PropInfo eventProp(std::string name, E C::*slot) {
  return {name, TypeKind::Method, {}, FloatType::Double,
          [slot](const Component& c) { return PropValue::ofObject(static_cast<const C&>(c).*slot); },
          [slot, name](Component& c, const PropValue& v) { static_cast<C&>(c).*slot = objectValue<E>(v, name); }};
}

enum class Operation { Insert, Remove };

enum ComponentStateFlag : unsigned {
  csLoading = 1u << 0,
  csDestroying = 1u << 1,
  csDesigning = 1u << 2,  // never set in this program; design-time branches stay inert
};

class Component {
 public:
  explicit Component(Component* owner = nullptr);
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  static const ClassInfo& staticClassInfo();
  virtual const ClassInfo& classInfo() const { return staticClassInfo(); }
  const std::string& className() const { return classInfo().name; }

  Component* owner() const { return owner_; }
  const std::string& name() const { return name_; }
  std::string getName() const { return name_; }
  // Names are unique among the owner's components; a clash raises an Error.
  void setName(const std::string& name);
  std::int32_t tag() const { return tag_; }
  void setTag(std::int32_t tag) { tag_ = tag; }
  int getTag() const { return tag_; }
  void setTagInt(int tag) { tag_ = tag; }

  unsigned componentState() const { return state_; }
  bool loading() const { return state_ & csLoading; }
  bool destroying() const { return state_ & csDestroying; }
  bool designing() const { return state_ & csDesigning; }
  void beginLoading() { state_ |= csLoading; }
  // Ends the loading state and runs the load-completion step.
  void endLoading();

  const std::vector<Component*>& components() const { return components_; }
  int componentCount() const { return static_cast<int>(components_.size()); }
  Component* findComponent(const std::string& name) const;  // ignoring case

  // Frees the owned components, last created first.
  void destroyComponents();

  // Asks to be told (Notification(this-other, Remove)) when `other` is destroyed.
  void freeNotification(Component* other);
  void removeFreeNotification(Component* other);

  // Published properties by name (ignoring case). Throw Error for an unknown name.
  PropValue getProperty(const std::string& name) const;
  void setProperty(const std::string& name, const PropValue& value);

 protected:
  virtual void loaded() {}
  virtual void notification(Component* component, Operation operation);

 private:
  void insertComponent(Component* c);
  void removeComponent(Component* c);

  Component* owner_ = nullptr;
  std::string name_;
  std::int32_t tag_ = 0;
  unsigned state_ = 0;
  std::vector<Component*> components_;
  std::vector<Component*> freeNotifies_;
};

// Keeps a raw reference that clears itself when the referenced component is destroyed.
// The holder must be a component: it registers for free notification and calls reset()
// from its notification().

}  // namespace vrin
