#pragma once
// The store-independent half of the settings components: the base component, the abstract
// store with its counted open, the stored-property entries, the per-object property lists
// and the filer that moves property values between components and a store.
#include <string>
#include <vector>

#include "ui/pure/component.h"

namespace vrin {

// Base of the settings components (the store and the state).
class StateComponent : public Component {
 public:
  explicit StateComponent(Component* owner) : Component(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

// Somewhere to keep texts by section and item. Opening is counted so that nested users
// share one open.
class AbstractStore : public StateComponent {
 public:
  explicit AbstractStore(Component* owner) : StateComponent(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  void openStore();
  void closeStore();
  int openCount() const { return openCount_; }

  virtual std::string readStoreString(const std::string& section, const std::string& item,
                                      const std::string& defaultValue) = 0;
  virtual void writeStoreString(const std::string& section, const std::string& item, const std::string& value) = 0;
  virtual void eraseStoreSection(const std::string& section) { (void)section; }

 protected:
  virtual void doOpenStore() = 0;
  virtual void doCloseStore() = 0;

 private:
  std::int32_t openCount_ = 0;
};

// Keeps a store open for a scope.
class StoreOpenScope {
 public:
  explicit StoreOpenScope(AbstractStore* store) : store_(store) {
    if (store_) store_->openStore();
  }
  ~StoreOpenScope() {
    if (store_) store_->closeStore();
  }
  StoreOpenScope(const StoreOpenScope&) = delete;
  StoreOpenScope& operator=(const StoreOpenScope&) = delete;

 private:
  AbstractStore* store_;
};

// One "Component.Property" line of the stored properties, with the component it names once
// resolved.
struct StoredEntry {
  std::string text;
  Component* component = nullptr;
};
using StoredEntries = std::vector<StoredEntry>;

StoredEntries makeStoredEntries(const StringList& lines);
StringList storedEntryLines(const StoredEntries& entries);
// From the last entry to the first: attach the named component among the owner's
// components; an entry that does not split or names no such component is deleted.
void resolveStoredEntries(const Component& owner, StoredEntries& entries);
// Rewrites each entry with its component's current name; entries without one are deleted.
void refreshStoredEntries(StoredEntries& entries);
// Drops the entries of a component that goes away.
void forgetStoredComponent(StoredEntries& entries, const Component* component);

// The published properties of one object (every kind but methods), each with the object.
class PropertyList {
 public:
  struct Entry {
    PropInfo info;
    Component* object = nullptr;
  };
  explicit PropertyList(Component& object);
  const Entry* find(const std::string& name) const;  // ignoring case
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

// Moves property values between components and a store, one section at a time.
class DataFiler {
 public:
  DataFiler(AbstractStore* store, std::string section) : store_(store), section_(std::move(section)) {}
  virtual ~DataFiler() = default;

  const std::string& section() const { return section_; }
  AbstractStore* store() const { return store_; }
  const std::string& itemPrefix() const { return itemPrefix_; }
  void setItemPrefix(std::string prefix) { itemPrefix_ = std::move(prefix); }

  virtual void eraseSection(const std::string& section);
  virtual std::string itemName(const std::string& propertyName) const { return itemPrefix_ + propertyName; }
  // Empty text when there is no store.
  virtual std::string readString(const std::string& section, const std::string& item, const std::string& defaultValue);
  // Nothing when there is no store.
  virtual void writeString(const std::string& section, const std::string& item, const std::string& value);

  // One property, under the current item prefix. Restoring leaves the property as it is
  // when nothing usable is stored; errors travel to the caller.
  void saveProperty(const PropertyList::Entry& prop);
  void restoreProperty(const PropertyList::Entry& prop);

  // Every entry, in list order. Restoring absorbs each property's error and goes on;
  // saving stops at the first error and passes it on.
  void saveProperties(StoredEntries& entries);
  void restoreProperties(StoredEntries& entries);

 private:
  void forEachProperty(StoredEntries& entries, bool saving);
  void saveStringList(const PropertyList::Entry& prop);
  void restoreStringList(const PropertyList::Entry& prop);

  AbstractStore* store_;
  std::string section_;
  std::string itemPrefix_;
};

}  // namespace vrin
