// Start-up to the tray icon: starts a program and waits until a new icon shows in the tray,
// for Vrin.exe and for a bare Win32 program that only adds an icon, alternately (which of the
// two goes first alternates too). Prints every time and the medians in milliseconds.
//
//   WINEPREFIX=$PWD/build/wineprefix wine build/win64/bin/startup_bench.exe [pairs] [program] [bare]
//
// Under Wine without a desktop tray, icons are child windows of Wine's stand-alone tray
// window. Each program is ended with WM_QUIT to its main thread (so it removes its icon), and
// the next start waits until the icon is gone and the machine has settled.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int trayIconCount() {
  HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
  int count = 0;
  for (HWND c = tray ? FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr) : nullptr; c;
       c = FindWindowExA(tray, c, "__winex11_tray_icon", nullptr))
    if (IsWindowVisible(c)) ++count;
  return count;
}

double nowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

template <class Fn>
bool waitFor(double ms, Fn done) {
  const double end = nowMs() + ms;
  while (!done()) {
    if (nowMs() > end) return false;
    Sleep(1);
  }
  return true;
}

// Milliseconds from CreateProcess to the new tray icon, or a negative value on failure.
double timeToTrayIcon(const std::string& path) {
  const int before = trayIconCount();
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string commandLine = "\"" + path + "\"";
  const double start = nowMs();
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", path.c_str(), GetLastError());
    return -1;
  }
  const bool shown = waitFor(20000, [&] { return trayIconCount() > before; });
  const double elapsed = nowMs() - start;

  PostThreadMessageA(pi.dwThreadId, WM_QUIT, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "%s did not end on WM_QUIT; terminated\n", path.c_str());
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  waitFor(5000, [&] { return trayIconCount() <= before; });
  Sleep(700);  // helpers the program started (REGSVR32.EXE) end before the next start
  if (!shown) {
    std::fprintf(stderr, "no tray icon from %s within 20 s\n", path.c_str());
    return -1;
  }
  return elapsed;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string besideThisProgram(const char* name) {
  char self[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string dir(self, n);
  dir.resize(dir.find_last_of("\\/") + 1);
  return dir + name;
}

}  // namespace

int main(int argc, char** argv) {
  const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string program = argc > 2 ? argv[2] : besideThisProgram("Vrin.exe");
  const std::string bare = argc > 3 ? argv[3] : besideThisProgram("bare_tray.exe");

  // One start of each first: the first start of a prefix also warms Wine's own caches.
  if (timeToTrayIcon(program) < 0 || timeToTrayIcon(bare) < 0) return 1;

  std::vector<double> programTimes, bareTimes;
  for (int i = 0; i < pairs; ++i) {
    const bool programFirst = i % 2 == 0;
    for (int k = 0; k < 2; ++k) {
      const bool isProgram = (k == 0) == programFirst;
      const double ms = timeToTrayIcon(isProgram ? program : bare);
      if (ms < 0) return 1;
      (isProgram ? programTimes : bareTimes).push_back(ms);
      std::printf("pair %d  %-8s %7.1f ms\n", i + 1, isProgram ? "program" : "bare", ms);
    }
  }
  const double p = median(programTimes), b = median(bareTimes);
  std::printf("median over %d pairs: program %.1f ms, bare %.1f ms, ratio %.2f\n", pairs, p, b, p / b);
  return 0;
}
