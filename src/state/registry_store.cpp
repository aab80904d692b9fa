#include "state/registry_store.h"

#include "state/pure/property_text.h"

namespace vrin {

const ClassInfo& RegistryStore::staticClassInfo() {
  static const ClassInfo info{
      "TRegistryStore",
      &AbstractStore::staticClassInfo(),
      {stringProp<RegistryStore>("KeyName", &RegistryStore::keyName, &RegistryStore::setKeyName),
       enumProp<RegistryStore, RegistryRoot>("RegistryRoot", {"rrCurrentUser", "rrLocalMachine"},
                                             &RegistryStore::registryRoot, &RegistryStore::setRegistryRoot)}};
  return info;
}

RegistryStore::RegistryStore(Component* owner) : AbstractStore(owner) {}

RegistryStore::~RegistryStore() = default;

std::string RegistryStore::keyName() const {
  if (!keyName_.empty() || designing()) return keyName_;
  wchar_t path[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
  return defaultKeyName(narrow(path));
}

void RegistryStore::setKeyName(const std::string& name) { keyName_ = trimKeyName(name); }

void RegistryStore::doOpenStore() {
  std::string key = keyName();
  registry_ = std::make_unique<Registry>(HKEY_CURRENT_USER);
  // The key below the current user is made whatever the root, then the chosen root's is
  // opened (and made when missing). A key that cannot be opened is not reported: reads then
  // give their defaults and writes report the section they could not make.
  registry_->openKey(key, true);
  registry_->closeKey();
  registry_->setRootKey(root_ == rrLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
  registry_->openKey(key, true);
}

void RegistryStore::doCloseStore() { registry_.reset(); }

std::string RegistryStore::readStoreString(const std::string& section, const std::string& item,
                                           const std::string& defaultValue) {
  StoreOpenScope open(this);
  if (!openKey()) return defaultValue;
  Registry sectionKey(openKey());  // rooted at the open key; closes only what it opens
  if (!sectionKey.openKeyReadOnly(section) || !sectionKey.valueExists(item)) return defaultValue;
  return sectionKey.readString(item);
}

void RegistryStore::writeStoreString(const std::string& section, const std::string& item, const std::string& value) {
  StoreOpenScope open(this);
  Registry sectionKey(openKey());
  sectionKey.createKey(section);
  sectionKey.openKey(section, false);
  sectionKey.writeString(item, value);
}

void RegistryStore::eraseStoreSection(const std::string& section) {
  StoreOpenScope open(this);
  if (!openKey() || section.empty()) return;
  Registry sectionKey(openKey());
  sectionKey.deleteKey(section);
}

}  // namespace vrin
