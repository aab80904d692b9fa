#include "ui/registry.h"

#include "core/text.h"

namespace vrin {

const char* const kErrCreateKey = "Echec à la création de la clé %s";
const char* const kErrSetData = "Echec à la définition des données pour '%s'";
const char* const kErrInvalidType = "Type de données incorrect pour '%s'";

void Registry::setRootKey(HKEY root) {
  closeKey();
  root_ = root;
}

HKEY Registry::baseFor(const std::string& key, std::string& relative) const {
  if (!key.empty() && key[0] == '\\') {
    relative = key.substr(1);
    return root_;
  }
  relative = key;
  return key_ ? key_ : root_;
}

bool Registry::openKey(const std::string& key, bool canCreate) {
  std::string rel;
  HKEY base = baseFor(key, rel);
  HKEY k = nullptr;
  LONG r = canCreate ? RegCreateKeyExW(base, widen(rel).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr)
                     : RegOpenKeyExW(base, widen(rel).c_str(), 0, KEY_ALL_ACCESS, &k);
  if (r != ERROR_SUCCESS) return false;
  std::string full = (base == root_ || key.empty() || key[0] == '\\') ? rel : path_ + "\\" + rel;
  closeKey();
  key_ = k;
  path_ = full;
  return true;
}

bool Registry::openKeyReadOnly(const std::string& key) {
  std::string rel;
  HKEY base = baseFor(key, rel);
  HKEY k = nullptr;
  if (RegOpenKeyExW(base, widen(rel).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  std::string full = (base == root_) ? rel : path_ + "\\" + rel;
  closeKey();
  key_ = k;
  path_ = full;
  return true;
}

void Registry::closeKey() {
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
  path_.clear();
}

void Registry::createKey(const std::string& key) {
  std::string rel;
  HKEY base = baseFor(key, rel);
  HKEY k = nullptr;
  if (RegCreateKeyExW(base, widen(rel).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) != ERROR_SUCCESS)
    throw Error(formatText(kErrCreateKey, key));
  RegCloseKey(k);
}

bool Registry::keyExists(const std::string& key) {
  std::string rel;
  HKEY base = baseFor(key, rel);
  HKEY k = nullptr;
  if (RegOpenKeyExW(base, widen(rel).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

bool Registry::deleteKey(const std::string& key) {
  std::string rel;
  HKEY base = baseFor(key, rel);
  if (rel.empty()) return false;  // never the open key or the root itself
  return RegDeleteTreeW(base, widen(rel).c_str()) == ERROR_SUCCESS;
}

bool Registry::valueExists(const std::string& name) const {
  if (!key_) return false;
  return RegQueryValueExW(key_, widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string Registry::readString(const std::string& name) const {
  if (!key_) return {};
  std::wstring wname = widen(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key_, wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw Error(formatText(kErrInvalidType, name));
  std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
  DWORD got = DWORD(buf.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key_, wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got) != ERROR_SUCCESS)
    return {};
  buf.resize(got / sizeof(wchar_t));
  while (!buf.empty() && buf.back() == L'\0') buf.pop_back();
  return narrow(buf);
}

void Registry::writeString(const std::string& name, const std::string& value) {
  std::wstring w = widen(value);
  if (!key_ || RegSetValueExW(key_, widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(w.c_str()),
                              DWORD((w.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
    throw Error(formatText(kErrSetData, name));
}

std::vector<std::string> Registry::valueNames() const {
  std::vector<std::string> out;
  if (!key_) return out;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD len = 16384;
    if (RegEnumValueW(key_, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    out.push_back(narrow(std::wstring_view(name, len)));
  }
  return out;
}

bool Registry::deleteValue(const std::string& name) {
  return key_ && RegDeleteValueW(key_, widen(name).c_str()) == ERROR_SUCCESS;
}

}  // namespace vrin
