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

namespace {

bool isSep(wchar_t c) { return c == L'\\' || c == L'/'; }

bool isDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

std::wstring_view withoutTrailingSeparators(std::wstring_view path) {
  while (!path.empty() && isSep(path.back())) path.remove_suffix(1);
  return path;
}

}  // namespace

std::wstring usableCookieFolder(std::wstring_view value) {
  std::wstring folder(value);
  while (!folder.empty() && (folder.back() == L' ' || folder.back() == L'\0')) folder.pop_back();
  if (folder.find_first_of(L"*?\"<>|") != std::wstring::npos) return {};
  bool drive = folder.size() >= 3 && isDriveLetter(folder[0]) && folder[1] == L':' && isSep(folder[2]);
  bool unc = folder.size() >= 3 && isSep(folder[0]) && isSep(folder[1]) && !isSep(folder[2]);
  if (!drive && !unc) return {};
  // "\\.\" and "\\?\" name devices and raw namespaces, never a plain folder.
  if (unc && (folder[2] == L'.' || folder[2] == L'?')) return {};
  // A colon anywhere past the drive would name a stream or a device, not a folder.
  if (folder.find(L':', 2) != std::wstring::npos) return {};
  while (folder.size() > 2 && isSep(folder.back())) folder.pop_back();
  if (isRootFolder(folder)) return {};  // a whole drive or share is never a cookie folder
  return folder;
}

bool isRootFolder(std::wstring_view path) {
  path = withoutTrailingSeparators(path);
  if (path.size() == 2 && isDriveLetter(path[0]) && path[1] == L':') return true;
  if (path.size() < 2 || !isSep(path[0]) || !isSep(path[1])) return path.empty();
  // "\\server\share": at most two named parts after the leading pair.
  int parts = 0;
  bool inPart = false;
  for (wchar_t c : path.substr(2)) {
    if (isSep(c)) {
      inPart = false;
    } else if (!inPart) {
      inPart = true;
      ++parts;
    }
  }
  return parts <= 2;
}

std::wstring withoutLongPathPrefix(std::wstring_view path) {
  constexpr std::wstring_view kUnc = L"\\\\?\\UNC\\", kLong = L"\\\\?\\";
  if (path.substr(0, kUnc.size()) == kUnc) return L"\\\\" + std::wstring(path.substr(kUnc.size()));
  if (path.substr(0, kLong.size()) == kLong) return std::wstring(path.substr(kLong.size()));
  return std::wstring(path);
}

std::wstring_view parentFolder(std::wstring_view path) {
  std::size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring_view::npos ? std::wstring_view{} : path.substr(0, cut);
}

bool isDeletableEntry(std::wstring_view name, std::uint32_t attributes) {
  if (name.empty() || name == L"." || name == L"..") return false;
  return (attributes & (kAttributeDirectory | kAttributeReparsePoint | kAttributeReadOnly)) == 0;
}

}  // namespace vrin
