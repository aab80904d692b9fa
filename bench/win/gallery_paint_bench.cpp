// Under Wine: the whole skin gallery repainted at once (frame, every control, every skinner),
// timed, with the number of copies the program's own code makes onto window device contexts,
// the copies that reach the screen. Copies the system's controls make inside the system's
// libraries are not counted.
// Then every control skinner repaints itself N times on its own, and the process's GDI object
// count before and after is printed: the two must be equal.
// Usage: gallery_paint_bench.exe [repaints [skinner repaints [plain]]]; with "plain" the
// controls keep their own painting (only the frame is skinned), for comparison.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "gallery.h"
#include "support/win_test_util.h"
#include "skin/controls/skin_control.h"
#include "skin/form/skin_form.h"
#include "skin/skin_data.h"
#include "skin/skin_manager.h"
#include "ui/form.h"

using namespace vrin;

namespace {

int screenCopies = 0, offscreenCopies = 0;

void count(HDC dc) { ++(WindowFromDC(dc) ? screenCopies : offscreenCopies); }

decltype(&BitBlt) realBitBlt;
decltype(&StretchBlt) realStretchBlt;
decltype(&SetDIBitsToDevice) realSetDIBitsToDevice;
decltype(&StretchDIBits) realStretchDIBits;

BOOL WINAPI countBitBlt(HDC d, int x, int y, int w, int h, HDC s, int sx, int sy, DWORD rop) {
  count(d);
  return realBitBlt(d, x, y, w, h, s, sx, sy, rop);
}
BOOL WINAPI countStretchBlt(HDC d, int x, int y, int w, int h, HDC s, int sx, int sy, int sw, int sh, DWORD rop) {
  count(d);
  return realStretchBlt(d, x, y, w, h, s, sx, sy, sw, sh, rop);
}
int WINAPI countSetDIBitsToDevice(HDC d, int x, int y, DWORD w, DWORD h, int sx, int sy, UINT start, UINT lines,
                                  const VOID* bits, const BITMAPINFO* info, UINT use) {
  count(d);
  return realSetDIBitsToDevice(d, x, y, w, h, sx, sy, start, lines, bits, info, use);
}
int WINAPI countStretchDIBits(HDC d, int x, int y, int w, int h, int sx, int sy, int sw, int sh, const VOID* bits,
                              const BITMAPINFO* info, UINT use, DWORD rop) {
  count(d);
  return realStretchDIBits(d, x, y, w, h, sx, sy, sw, sh, bits, info, use, rop);
}

// Points this program's imports of `name` from gdi32 at `hook`; returns the real function.
template <class F>
F patchImport(const char* name, F hook) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  const auto real = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), name)));
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + d->Name), "gdi32.dll") != 0) continue;
    for (auto* t = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); t->u1.Function; ++t) {
      if (reinterpret_cast<F>(t->u1.Function) != real) continue;
      DWORD old = 0;
      VirtualProtect(&t->u1.Function, sizeof t->u1.Function, PAGE_READWRITE, &old);
      t->u1.Function = reinterpret_cast<ULONG_PTR>(hook);
      VirtualProtect(&t->u1.Function, sizeof t->u1.Function, old, &old);
    }
  }
  return real;
}

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

double milliseconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return double(b.QuadPart - a.QuadPart) * 1000.0 / double(f.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  const int repaints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  auto* skin = new SkinData(nullptr);
  skin->beginLoading();
  skin->SetActive(true);
  skin->ReadSkinStream(skinStreamResource("VRINSKIN"));
  if (argc > 3 && std::strcmp(argv[3], "plain") == 0) skin->SetSkinControls(0);
  skin->endLoading();
  Form* form = makeGalleryForm();
  form->show();
  pump(1500);
  SkinForm* skinner = SkinManager::instance()->skinnedForm(form->handle());
  if (!skinner || skinner->Phase != phApplied) {
    std::printf("the gallery was not skinned\n");
    return 1;
  }
  realBitBlt = patchImport("BitBlt", &countBitBlt);
  realStretchBlt = patchImport("StretchBlt", &countStretchBlt);
  realSetDIBitsToDevice = patchImport("SetDIBitsToDevice", &countSetDIBitsToDevice);
  realStretchDIBits = patchImport("StretchDIBits", &countStretchDIBits);

  std::vector<double> times;
  int copies = 0, composed = 0;
  for (int i = 0; i < repaints; ++i) {
    screenCopies = offscreenCopies = 0;
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    RedrawWindow(form->handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    QueryPerformanceCounter(&b);
    times.push_back(milliseconds(a, b));
    copies += screenCopies;
    composed += offscreenCopies;
    pump(20);
  }
  std::sort(times.begin(), times.end());
  double sum = 0;
  for (double t : times) sum += t;
  std::printf("gallery repaint (%zu control skinners): mean %.2f ms, median %.2f ms, min %.2f ms over %d repaints\n",
              skinner->SkinnedControls.size(), sum / repaints, times[times.size() / 2], times.front(), repaints);
  std::printf("copies onto the screen per repaint: %.1f (off-screen copies: %.1f)\n", double(copies) / repaints,
              double(composed) / repaints);

  const int each = argc > 2 ? std::max(0, std::atoi(argv[2])) : 0;
  if (each > 0) {
    const DWORD before = vrin::test::gdiObjects();
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    for (int i = 0; i < each; ++i) {
      for (const auto& s : skinner->SkinnedControls) s->RepaintSkin();
      if (i % 100 == 0) pump(0);
    }
    QueryPerformanceCounter(&b);
    pump(100);
    const DWORD after = vrin::test::gdiObjects();
    std::printf("%d repaints of each of the %zu skinners in %.1f s: GDI objects %lu before, %lu after%s\n", each,
                skinner->SkinnedControls.size(), milliseconds(a, b) / 1000.0, before, after,
                before == 0 ? " (no count could be read)" : "");
  }
  delete form;
  delete skin;
  return 0;
}
