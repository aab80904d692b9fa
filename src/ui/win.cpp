#include "ui/win.h"

namespace vrin {

namespace {
std::wstring toWide(UINT cp, std::string_view s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(cp, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(cp, 0, s.data(), int(s.size()), out.data(), n);
  return out;
}
std::string fromWide(UINT cp, std::wstring_view w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(cp, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(cp, 0, w.data(), int(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}
}  // namespace

std::wstring widen(std::string_view utf8) { return toWide(CP_UTF8, utf8); }
std::string narrow(std::wstring_view wide) { return fromWide(CP_UTF8, wide); }
std::string toAnsi(std::string_view utf8) { return fromWide(CP_ACP, toWide(CP_UTF8, utf8)); }
std::string fromAnsi(std::string_view ansi) { return fromWide(CP_UTF8, toWide(CP_ACP, ansi)); }

HINSTANCE moduleInstance() { return GetModuleHandleW(nullptr); }

}  // namespace vrin
