#include "support/win_test_util.h"

#include <map>

namespace vrin::test {

namespace {
std::map<UINT_PTR, std::function<void()>>& pending() {
  static std::map<UINT_PTR, std::function<void()>> p;
  return p;
}
void CALLBACK fire(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto it = pending().find(id);
  if (it == pending().end()) return;
  auto action = std::move(it->second);
  pending().erase(it);
  action();
}
}  // namespace

std::wstring fixtureProgram(const std::wstring& name) {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path = exe;
  path.resize(path.find_last_of(L'\\'));  // bin
  path.resize(path.find_last_of(L'\\'));  // the build folder
  return path + L"\\fixtures\\" + name;
}

void runSoon(std::function<void()> action, UINT delayMs) {
  UINT_PTR id = SetTimer(nullptr, 0, delayMs, &fire);
  pending()[id] = std::move(action);
}

}  // namespace vrin::test
