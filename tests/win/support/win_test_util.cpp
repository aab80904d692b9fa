#include "support/win_test_util.h"

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

}  // namespace vrin::test
