// Under Wine: the skinned vertical bar of a list box holding 10,000 entries, repainted at each
// step of a drag through the whole list (compose, stretch, one copy to the window), as the
// skinner repaints it after every scroll message; then whole drag steps, the list box's own
// scrolling included. Prints the time per repaint and the repaints per second.
// Usage: scroll_bar_bench.exe [steps]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "skin/controls/scroll_bars.h"
#include "skin/skin_data.h"
#include "ui/form.h"
#include "ui/stdctrls.h"

using namespace vrin;

namespace {

// Drag steps as the skinner makes them: the position set, SB_THUMBTRACK to the list box (its
// own scrolling and painting, and the skinner's repaint when one is attached), pending paints
// done. Seconds for `steps` steps.
double dragSteps(HWND h, int steps) {
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  for (int i = 0; i < steps; ++i) {
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    si.nPos = int(static_cast<long long>(i) * 9980 / steps);
    SetScrollInfo(h, SB_VERT, &si, FALSE);
    SendMessageW(h, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, WORD(si.nPos)), 0);
    UpdateWindow(h);
  }
  GdiFlush();
  QueryPerformanceCounter(&b);
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  const int steps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  SkinData skin(nullptr);
  skin.ReadSkinStream(skinStreamResource("VRINSKIN"));
  if (skin.NoSkin()) {
    std::printf("the program's skin did not load: %s\n", skin.LoadError().c_str());
    return 1;
  }
  Form form(nullptr);
  form.setCaption("Scroll bar bench");
  form.setBounds(20, 20, 320, 280);
  auto* list = new ListBox(&form);
  list->setParent(&form);
  list->setBounds(10, 10, 260, 220);
  form.show();
  const HWND h = list->handle();
  SendMessageW(h, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < 10000; ++i) list->add("http://entry" + std::to_string(i) + ".example/");
  SendMessageW(h, WM_SETREDRAW, TRUE, 0);
  const int dragCount = std::max(1, steps / 20);
  const double bare = dragSteps(h, dragCount);
  Canvas canvas;
  SkinScrollBar skinner(nullptr);
  skinner.AttachControl(*list, skin, true, canvas);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);

  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  for (int i = 0; i < steps; ++i) {
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    si.nPos = int(static_cast<long long>(i) * 10000 / steps);
    SetScrollInfo(h, SB_VERT, &si, FALSE);
    skinner.RepaintSkin();
  }
  GdiFlush();
  QueryPerformanceCounter(&b);
  const double s = double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
  std::printf("scroll-bar repaints: %d in %.3f s, %.1f us per repaint, %.0f repaints/s (bar %d x %d)\n", steps, s,
              s * 1e6 / steps, steps / s, skinner.layout().vertical.width(), skinner.layout().vertical.height());

  const double skinned = dragSteps(h, dragCount);
  std::printf("drag steps with the list box's own scrolling and painting: %.2f ms each unskinned, %.2f ms skinned\n",
              bare * 1e3 / dragCount, skinned * 1e3 / dragCount);
  return 0;
}
