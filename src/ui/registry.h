#pragma once
// Registry accessor: open or create keys, read and write strings, list, delete.
// Failures to write raise the framework's errors with their exact texts.
#include <string>
#include <vector>

#include "ui/pure/component.h"
#include "ui/win.h"

namespace vrin {

extern const char* const kErrCreateKey;     // "Echec à la création de la clé %s"
extern const char* const kErrSetData;       // "Echec à la définition des données pour '%s'"
extern const char* const kErrInvalidType;   // "Type de données incorrect pour '%s'"

class Registry {
 public:
  explicit Registry(HKEY root = HKEY_CURRENT_USER) : root_(root) {}
  ~Registry() { closeKey(); }
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  HKEY rootKey() const { return root_; }
  void setRootKey(HKEY root);
  HKEY currentKey() const { return key_; }
  const std::string& currentPath() const { return path_; }

  // A path starting with "\" is below the root, otherwise below the open key.
  bool openKey(const std::string& key, bool canCreate);
  bool openKeyReadOnly(const std::string& key);
  void closeKey();
  // Raises "Echec à la création de la clé %s" when the key cannot be made.
  void createKey(const std::string& key);
  bool keyExists(const std::string& key);
  bool deleteKey(const std::string& key);  // the key with its subkeys

  bool valueExists(const std::string& name) const;
  // Empty when the value does not exist; raises "Type de données incorrect pour '%s'"
  // when it is not a string.
  std::string readString(const std::string& name) const;
  // Raises "Echec à la définition des données pour '%s'".
  void writeString(const std::string& name, const std::string& value);
  std::vector<std::string> valueNames() const;
  bool deleteValue(const std::string& name);

 private:
  HKEY baseFor(const std::string& key, std::string& relative) const;
  HKEY root_;
  HKEY key_ = nullptr;
  std::string path_;
};

}  // namespace vrin
