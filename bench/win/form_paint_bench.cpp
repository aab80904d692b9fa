// Under Wine: the whole WM_NCPAINT of a 1920-pixel-wide skinned window over 200 repaints, the
// non-client repaints of an idle active window over 10 s (the hover timer must cause none),
// and, given the two programs, start-up until the first wait for input with the skin on and
// off, alternating.
// Usage: form_paint_bench.exe [runs [ON.exe OFF.exe]]; the programs default to Vrin.exe and
// VrinSkinOff.exe beside this one.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "skin/form/skin_form.h"
#include "skin/pure/skin_container.h"
#include "skin/skin_data.h"
#include "skin/skin_manager.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/window_hooks.h"

using namespace vrin;

namespace {

void pump(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
}

double seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

double startUp(const std::string& exe) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string cmd = "\"" + exe + "\"";
  LARGE_INTEGER a, b;
  QueryPerformanceCounter(&a);
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  WaitForInputIdle(pi.hProcess, 30000);
  QueryPerformanceCounter(&b);
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return seconds(a, b);
}

}  // namespace

int main(int argc, char** argv) {
  auto* skin = new SkinData(nullptr);
  skin->beginLoading();
  skin->SetActive(true);
  skin->ReadSkinStream(skinStreamResource("VRINSKIN"));
  skin->endLoading();
  auto* form = new Form(nullptr);
  form->setCaption("Benchmark window");
  form->setBounds(0, 0, 1920, 600);
  form->handle();
  form->show();
  pump(500);
  SkinForm* skinner = SkinManager::instance()->skinnedForm(form->handle());
  if (!skinner || skinner->Phase != phApplied) {
    std::printf("the window was not skinned\n");
    return 1;
  }
  int ncPaints = 0;
  WindowHook counter;
  counter.install(form->handle(), [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_NCPAINT) ++ncPaints;
    return false;
  });
  LARGE_INTEGER a, b;
  QueryPerformanceCounter(&a);
  for (int i = 0; i < 200; ++i) SendMessageW(form->handle(), WM_NCPAINT, 1, 0);
  QueryPerformanceCounter(&b);
  std::printf("WM_NCPAINT 1920 wide: %.3f ms per paint over 200 paints\n", seconds(a, b) * 1000.0 / 200);

  ncPaints = 0;
  RECT r{};
  GetWindowRect(form->handle(), &r);
  SetCursorPos(r.left + 400, r.top + 300);  // over the client area, away from every button
  pump(10000);
  std::printf("idle active window, 10 s: %d non-client repaints, hot object %s\n", ncPaints,
              skinner->HotObject ? "set" : "none");

  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string folder = self;
  folder.resize(folder.find_last_of('\\') + 1);
  const std::string onExe = argc >= 4 ? argv[2] : folder + "Vrin.exe";
  const std::string offExe = argc >= 4 ? argv[3] : folder + "VrinSkinOff.exe";
  if (GetFileAttributesA(onExe.c_str()) != INVALID_FILE_ATTRIBUTES &&
      GetFileAttributesA(offExe.c_str()) != INVALID_FILE_ATTRIBUTES) {
    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 5;
    double on = 0, off = 0;
    for (int i = 0; i < runs; ++i) {
      on += startUp(onExe);
      off += startUp(offExe);
    }
    std::printf("start-up to first input wait: skin on %.0f ms, off %.0f ms (mean of %d), +%.1f %%\n",
                on * 1000 / runs, off * 1000 / runs, runs, (on / off - 1) * 100);
  }
  counter.remove();
  delete form;
  delete skin;
  return 0;
}
