#pragma once
// The settings kept as string values in the registry: one key (KeyName below the chosen
// root), one subkey per section, one REG_SZ value per item.
#include <memory>
#include <string>

#include "state/pure/state_store.h"
#include "ui/registry.h"

namespace vrin {

enum RegistryRoot { rrCurrentUser = 0, rrLocalMachine = 1 };

class RegistryStore : public AbstractStore {
 public:
  explicit RegistryStore(Component* owner);
  ~RegistryStore() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // Leading and trailing backslashes are dropped. An empty name reads as
  // "Software\<program file name without extension>".
  std::string keyName() const;
  void setKeyName(const std::string& name);
  RegistryRoot registryRoot() const { return root_; }
  void setRegistryRoot(RegistryRoot root) { root_ = root; }

  // The default when the section or the value is missing; "Type de données incorrect pour
  // '%s'" for a value that is not a string.
  std::string readStoreString(const std::string& section, const std::string& item,
                              const std::string& defaultValue) override;
  // Creates the section when missing ("Echec à la création de la clé %s" when it cannot),
  // then writes REG_SZ ("Echec à la définition des données pour '%s'" when it cannot).
  void writeStoreString(const std::string& section, const std::string& item, const std::string& value) override;
  void eraseStoreSection(const std::string& section) override;

 protected:
  void doOpenStore() override;
  void doCloseStore() override;

 private:
  HKEY openKey() const { return registry_ ? registry_->currentKey() : nullptr; }
  std::string keyName_;
  RegistryRoot root_ = rrCurrentUser;
  std::unique_ptr<Registry> registry_;  // while open
};

}  // namespace vrin
