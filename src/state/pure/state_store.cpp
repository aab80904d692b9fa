#include "state/pure/state_store.h"

#include <algorithm>
#include <map>

#include "core/text.h"
#include "state/pure/property_text.h"

namespace vrin {

namespace {
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const { return lowerCase(a) < lowerCase(b); }
};
}  // namespace

// ---- Components

const ClassInfo& StateComponent::staticClassInfo() {
  static const ClassInfo info{"TStateComponent", &Component::staticClassInfo(), {}};
  return info;
}

const ClassInfo& AbstractStore::staticClassInfo() {
  static const ClassInfo info{"TAbstractStore", &StateComponent::staticClassInfo(), {}};
  return info;
}

void AbstractStore::openStore() {
  if (openCount_++ > 0) return;
  try {
    doOpenStore();
  } catch (...) {
    // A failed open must not leave the store counted as open.
    openCount_ = 0;
    throw;
  }
}

void AbstractStore::closeStore() {
  if (openCount_ <= 0) return;
  if (--openCount_ == 0) doCloseStore();
}

// ---- Stored entries

StoredEntries makeStoredEntries(const StringList& lines) {
  StoredEntries out;
  out.reserve(lines.size());
  for (const auto& line : lines) out.push_back({line, nullptr});
  return out;
}

StringList storedEntryLines(const StoredEntries& entries) {
  StringList out;
  out.reserve(entries.size());
  for (const auto& e : entries) out.push_back(e.text);
  return out;
}

void resolveStoredEntries(const Component& owner, StoredEntries& entries) {
  for (std::size_t i = entries.size(); i-- > 0;) {
    std::string component, property;
    Component* found = nullptr;
    if (splitPropertyEntry(entries[i].text, component, property)) found = owner.findComponent(component);
    if (found) entries[i].component = found;
    else entries.erase(entries.begin() + std::ptrdiff_t(i));
  }
}

void refreshStoredEntries(StoredEntries& entries) {
  for (std::size_t i = entries.size(); i-- > 0;) {
    std::string component, property;
    if (entries[i].component && splitPropertyEntry(entries[i].text, component, property))
      entries[i].text = entries[i].component->name() + "." + property;
    else
      entries.erase(entries.begin() + std::ptrdiff_t(i));
  }
}

void forgetStoredComponent(StoredEntries& entries, const Component* component) {
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [component](const StoredEntry& e) { return e.component == component; }),
                entries.end());
}

// ---- Property lists

PropertyList::PropertyList(Component& object) {
  for (const PropInfo* p : object.classInfo().allProperties())
    if (p->kind != TypeKind::Method) entries_.push_back({*p, &object});
}

const PropertyList::Entry* PropertyList::find(const std::string& name) const {
  // The most derived declaration wins, as in the class's own lookup.
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
    if (sameText(it->info.name, name)) return &*it;
  return nullptr;
}

// ---- Filer

void DataFiler::eraseSection(const std::string& section) {
  if (store_) store_->eraseStoreSection(section);
}

std::string DataFiler::readString(const std::string& section, const std::string& item, const std::string& defaultValue) {
  return store_ ? store_->readStoreString(section, item, defaultValue) : std::string();
}

void DataFiler::writeString(const std::string& section, const std::string& item, const std::string& value) {
  if (store_) store_->writeStoreString(section, item, value);
}

void DataFiler::saveProperty(const PropertyList::Entry& prop) {
  const PropInfo& info = prop.info;
  if (!info.get || !prop.object) return;
  if (info.kind == TypeKind::StringList) return saveStringList(prop);
  if (info.kind == TypeKind::Method) return;
  std::string text = propertyText(info, info.get(*prop.object));
  if (text.empty() && !isStringLike(info.kind)) return;
  writeString(section_, itemName(info.name), trim(text));
}

void DataFiler::restoreProperty(const PropertyList::Entry& prop) {
  const PropInfo& info = prop.info;
  if (!info.get || !info.set || !prop.object) return;
  if (info.kind == TypeKind::StringList) return restoreStringList(prop);
  if (info.kind == TypeKind::Method) return;
  PropValue current = info.get(*prop.object);
  std::string currentText = propertyText(info, current);
  if (currentText.empty() && !isStringLike(info.kind)) return;
  std::string text = readString(section_, itemName(info.name), currentText);
  // Nothing stored (or the very same text): the property keeps its exact value, rather than
  // coming back trimmed or rounded to the stored precision.
  if (text == currentText) return;
  if (auto value = propertyValueFromText(info, trim(text), current)) info.set(*prop.object, *value);
}

void DataFiler::saveStringList(const PropertyList::Entry& prop) {
  std::string section = listSectionName(section_, itemName(prop.info.name));
  eraseSection(section);
  StringList lines = prop.info.get(*prop.object).list;
  if (lines.empty()) return;
  writeString(section, kListCountName, integerText(std::int64_t(lines.size())));
  for (std::size_t i = 0; i < lines.size(); ++i) writeString(section, listItemName(int(i)), lines[i]);
}

void DataFiler::restoreStringList(const PropertyList::Entry& prop) {
  std::string section = listSectionName(section_, itemName(prop.info.name));
  int count = integerFromText(trim(readString(section, kListCountName, "0")));
  if (count <= 0 || count > kMaxStoredListLines) return;
  StringList lines;
  lines.reserve(std::size_t(count));
  for (int i = 0; i < count; ++i) lines.push_back(readString(section, listItemName(i), ""));
  prop.info.set(*prop.object, PropValue::ofList(std::move(lines)));
}

void DataFiler::forEachProperty(StoredEntries& entries, bool saving) {
  refreshStoredEntries(entries);
  std::map<std::string, PropertyList, NameLess> lists;
  for (const auto& e : entries)
    if (!lists.count(e.component->name())) lists.emplace(e.component->name(), PropertyList(*e.component));
  for (const auto& e : entries) {
    std::string component, property;
    if (!splitPropertyEntry(e.text, component, property)) continue;
    auto list = lists.find(component);
    if (list == lists.end()) continue;
    setItemPrefix(component + ".");
    const PropertyList::Entry* prop = list->second.find(property);
    if (!prop) continue;
    if (saving) {
      saveProperty(*prop);
    } else {
      // One unreadable property must not stop the others from coming back.
      try {
        restoreProperty(*prop);
      } catch (...) {
      }
    }
  }
}

void DataFiler::saveProperties(StoredEntries& entries) { forEachProperty(entries, true); }
void DataFiler::restoreProperties(StoredEntries& entries) { forEachProperty(entries, false); }

}  // namespace vrin
