#include "support/win_test_util.h"

#include <winternl.h>

#include <cstddef>
#include <cstdint>

#include <map>

#include "ui/pure/component.h"

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

ThreadOutcome onThreadWithoutCom(std::function<void()> work) {
  struct Job {
    std::function<void()> work;
    ThreadOutcome outcome;
    static DWORD WINAPI run(void* p) {
      auto* job = static_cast<Job*>(p);
      try {
        job->work();
      } catch (const Error& e) {
        job->outcome.threw = true;
        job->outcome.error = e.what();
      }
      return 0;
    }
  } job{std::move(work), {}};
  HANDLE t = CreateThread(nullptr, 0, &Job::run, &job, 0, nullptr);
  if (!t) return job.outcome;
  WaitForSingleObject(t, 30000);
  CloseHandle(t);
  return job.outcome;
}

// The process's GDI objects. Wine answers GetGuiResources with 0, so there the used entries
// of the GDI handle table the process environment block points to are counted (entries of
// 24 bytes: object, owner, unique, type, flags, user pointer; type 0 is a free entry).
DWORD gdiObjects() {
  if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION info{};
  if (!query || query(GetCurrentProcess(), 0, &info, sizeof info, nullptr) != 0) return 0;
  const auto* peb = reinterpret_cast<const std::uint8_t*>(info.PebBaseAddress);
  const std::size_t tableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
  const auto* table = *reinterpret_cast<const std::uint8_t* const*>(peb + tableOffset);
  if (!table) return 0;
  DWORD used = 0;
  for (std::size_t i = 0; i < 0x10000; ++i) used += table[i * 24 + 14] != 0;
  return used;
}

}  // namespace vrin::test
