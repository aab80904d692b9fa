#include "cleaner/pure/cleaner_rules.h"

namespace vrin {

HotKeyCombination hotKeyCombination(ShortCut key) {
  HotKeyCombination c;
  // The low byte of the key part is the virtual-key code; a key part of 0 means none.
  if ((key & scKeyMask) == 0) return c;
  c.virtualKey = key & 0xFF;
  if (key & scShift) c.modifiers |= kModShift;
  if (key & scAlt) c.modifiers |= kModAlt;
  if (key & scCtrl) c.modifiers |= kModControl;
  return c;
}

ShortCut panicShortCut(std::string_view letter) {
  std::string text = "Ctrl+";
  text += letter;
  return TextToShortCut(text);
}

std::wstring usableCookieFolder(std::wstring_view value) {
  std::wstring folder(value);
  while (!folder.empty() && (folder.back() == L' ' || folder.back() == L'\0')) folder.pop_back();
  if (folder.find_first_of(L"*?\"<>|") != std::wstring::npos) return {};
  auto isSep = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  bool drive = folder.size() >= 3 &&
               ((folder[0] >= L'A' && folder[0] <= L'Z') || (folder[0] >= L'a' && folder[0] <= L'z')) &&
               folder[1] == L':' && isSep(folder[2]);
  bool unc = folder.size() >= 3 && isSep(folder[0]) && isSep(folder[1]) && !isSep(folder[2]);
  if (!drive && !unc) return {};
  // "\\.\" and "\\?\" name devices and raw namespaces, never a plain folder.
  if (unc && (folder[2] == L'.' || folder[2] == L'?')) return {};
  // A colon anywhere past the drive would name a stream or a device, not a folder.
  if (folder.find(L':', 2) != std::wstring::npos) return {};
  while (folder.size() > 2 && isSep(folder.back())) folder.pop_back();
  if (unc && folder.size() <= 2) return {};
  return folder;
}

bool isDeletableEntry(std::wstring_view name, std::uint32_t attributes) {
  if (name.empty() || name == L"." || name == L"..") return false;
  return (attributes & (kAttributeDirectory | kAttributeReadOnly)) == 0;
}

}  // namespace vrin
