#include "skin/controls/status_progress.h"

#include <cstring>
#include <string>
#include <vector>

#include "skin/controls/control_paint.h"
#include "skin/controls/panel_paint.h"
#include "skin/pure/control_layout.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_data.h"
#include "ui/commonctrls.h"
#include "ui/geometry_win.h"
#include "ui/stdctrls.h"

namespace vrin {

bool SkinOwnPaint::BeforeMessage(SkinMessage& msg) {
  if (!paintsItself()) return true;
  switch (msg.msg) {
    case WM_PAINT:
      if (msg.wParam) {
        RECT r{};
        GetWindowRect(window_, &r);
        PaintSkin(reinterpret_cast<HDC>(msg.wParam), {0, 0, int(r.right - r.left), int(r.bottom - r.top)});
      } else {
        // BeginPaint marks the area painted; the picture goes over the whole window, border
        // included, since some of these controls give themselves a thin edge.
        { PaintDC paint(window_); }
        RepaintSkin();
      }
      msg.result = 0;
      return false;
    case WM_ERASEBKGND:
      msg.result = 1;
      return false;
  }
  return true;
}

void SkinOwnPaint::AfterMessage(SkinMessage& msg) {
  if (msg.msg == WM_PAINT) return;  // only reaches here when the control paints itself
  SkinControl::AfterMessage(msg);
  // The control's edge drawn again by the system is covered again.
  if (msg.msg == WM_NCPAINT && paintsItself()) RepaintSkin();
}

namespace {

enum PanelFrame { kLowered = 1, kRaised = 2, kFlat = 3 };

struct PanelDrawing {
  Rect rect;
  int frame = kLowered;
  UINT alignment = DT_LEFT;
  std::string text;
};

// The text of part `index` (SB_SIMPLEID for the simple text), its drawing type in `type`.
std::string partText(HWND bar, int index, UINT& type) {
  const LRESULT info = SendMessageA(bar, SB_GETTEXTLENGTHA, WPARAM(index), 0);
  type = HIWORD(info);
  std::string text(std::size_t(LOWORD(info)) + 1, '\0');
  SendMessageA(bar, SB_GETTEXTA, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::strlen(text.c_str()));
  return fromAnsi(text);
}

// Leading tabs are the control's alignment: one centres, two right-align.
UINT takeAlignment(std::string& text) {
  std::size_t tabs = 0;
  while (tabs < 2 && tabs < text.size() && text[tabs] == '\t') ++tabs;
  text.erase(0, tabs);
  return tabs == 1 ? DT_CENTER : tabs == 2 ? DT_RIGHT : DT_LEFT;
}

int bevelFrame(UINT type) { return (type & SBT_NOBORDERS) ? kFlat : (type & SBT_POPOUT) ? kRaised : kLowered; }

std::vector<PanelDrawing> statusPanels(HWND bar, WinControl* control, const Rect& whole) {
  auto* framework = dynamic_cast<StatusBar*>(control);
  const bool simple = framework ? (framework->SimplePanel() || framework->panels().empty())
                                : SendMessageA(bar, SB_ISSIMPLE, 0, 0) != 0;
  if (simple) {
    UINT type = 0;
    std::string text = framework ? framework->SimpleText() : partText(bar, SB_SIMPLEID, type);
    return {{whole, kLowered, DT_LEFT, std::move(text)}};
  }
  std::vector<PanelDrawing> panels;
  const int count = int(SendMessageA(bar, SB_GETPARTS, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!SendMessageA(bar, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r))) continue;
    PanelDrawing p;
    p.rect = toRect(r);
    UINT type = 0;
    p.text = partText(bar, i, type);
    p.alignment = takeAlignment(p.text);
    p.frame = bevelFrame(type);
    panels.push_back(std::move(p));
  }
  return panels;
}

}  // namespace

void SkinStatusBar::PaintSkin(HDC dc, const Rect& rect) {
  if (!drawableSize(rect)) return;
  const SkinColors& colours = skin_->SkinColors();
  sizeWorkBitmap(rect.width(), rect.height());
  Bitmap& work = sharedWorkBitmap();
  if (work.empty()) return;
  fillBitmap(work, {0, 0, work.width(), work.height()}, pixelOf(colours.ButtonFaceColor));
  Canvas& canvas = work.canvas();
  useControlFont(canvas, window_, control_);
  const SkinElement* edges = skin_->StatusBarEdges();
  if (edges) setFontColour(canvas, edges->NormalColour2);
  const bool pictured = hasPicture(edges);

  for (const PanelDrawing& panel : statusPanels(window_, control_, {0, 0, rect.width(), rect.height()})) {
    const Rect& r = panel.rect;
    if (r.empty()) continue;
    if (pictured) {
      const Margins margins{edges->LeftWidth, edges->TopHeight, edges->RightWidth, edges->BottomHeight};
      putImage(work, r.left, r.top,
               composeGrid(r.width(), r.height(), edges->Image, margins, false, edges->Tile != 0, 3, panel.frame),
               false);
    } else if (panel.frame != kFlat) {
      const Pixel shadow = pixelOf(colours.ButtonShadowColor), light = pixelOf(colours.ButtonHilightColor);
      const Pixel topLeft = panel.frame == kLowered ? shadow : light;
      const Pixel bottomRight = panel.frame == kLowered ? light : shadow;
      fillBitmap(work, {r.left, r.top, r.right, r.top + 1}, topLeft);
      fillBitmap(work, {r.left, r.top, r.left + 1, r.bottom}, topLeft);
      fillBitmap(work, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
      fillBitmap(work, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    }
    // An empty panel still gets its text call, as a single space.
    drawCaption(canvas, r, panel.alignment, true, panel.text.empty() ? std::string(" ") : panel.text);
  }
  GdiFlush();
  putWorkBitmap(dc, rect);
}

bool SkinProgress::paintsItself() const { return hasPicture(skin_->Progress()); }

void SkinProgress::PaintSkin(HDC dc, const Rect& rect) {
  const SkinElement* picture = skin_->Progress();
  if (!hasPicture(picture) || !drawableSize(rect)) return;
  int position = int(SendMessageW(window_, PBM_GETPOS, 0, 0));
  int max = int(SendMessageW(window_, PBM_GETRANGE, FALSE, 0));
  // The framework's values where there is one: the control may refuse an empty range.
  if (auto* bar = dynamic_cast<ProgressBar*>(control_)) {
    position = bar->Position();
    max = bar->Max();
  }
  sizeWorkBitmap(rect.width(), rect.height());
  Bitmap& work = sharedWorkBitmap();
  if (work.empty()) return;
  fillBitmap(work, {0, 0, work.width(), work.height()}, pixelOf(skin_->SkinColors().ButtonFaceColor));
  const Margins margins{picture->LeftWidth, picture->TopHeight, picture->RightWidth, picture->BottomHeight};
  const bool tile = picture->Tile != 0;
  putImage(work, 0, 0, composeGrid(work.width(), work.height(), picture->Image, margins, false, tile, 2, 1), true);
  const Rect filled = progressFill({0, 0, work.width(), work.height()}, position, max);
  if (!filled.empty())
    putImage(work, 0, 0, composeGrid(filled.width(), filled.height(), picture->Image, margins, false, tile, 2, 2),
             true);
  putWorkBitmap(dc, rect);
}

}  // namespace vrin
