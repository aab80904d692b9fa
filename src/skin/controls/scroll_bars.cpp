#include "skin/controls/scroll_bars.h"

#include <windowsx.h>

#include "skin/controls/control_paint.h"
#include "skin/controls/panel_paint.h"
#include "skin/controls/tabs_header.h"
#include "skin/pure/scroll_paint.h"
#include "skin/skin_data.h"
#include "ui/geometry_win.h"
#include "ui/scrollctrls.h"

namespace vrin {
namespace {

bool windows95Family() { return (GetVersion() & 0x80000000u) != 0; }

ScrollValues valuesOf(const SCROLLINFO& si) {
  return {si.nMin, si.nMax, si.nPage, si.nPos};
}

// Where the track or the thumb element is missing while the arrows are there, the arrows are
// drawn and the track is left in ScrollbarColor.
Image composeBar(const SkinData& skin, int length, const BarMetrics& metrics, bool horizontal, int pressed) {
  ScrollBarPictures pictures;
  pictures.arrows = skin.Scrollbar();
  pictures.track = horizontal ? skin.HorzScroll() : skin.VertScroll();
  pictures.thumb = horizontal ? skin.HorzScrollThumb() : skin.VertScrollThumb();
  pictures.background = pixelOf(skin.SkinColors().ScrollbarColor);
  return composeScrollBar(pictures, length, metrics, horizontal, pressed);
}

// The composed bar stretched across onto the bar's rectangle, one copy.
void putBar(HDC dc, const Rect& target, const Image& bar) {
  if (target.empty() || bar.empty()) return;
  SavedDC saved(dc);
  SetStretchBltMode(dc, COLORONCOLOR);
  const BITMAPINFO bi = topDownBitmapInfo(bar.width, bar.height);
  StretchDIBits(dc, target.left, target.top, target.width(), target.height(), 0, 0, bar.width, bar.height,
                bar.pixels.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
}

bool barFits(int length) { return length > 0 && imageSizeAllowed(length, kBarThickness); }

}  // namespace

// ---- SkinScrollBar

SkinScrollBar::~SkinScrollBar() {
  if (trackingAlive_) *trackingAlive_ = false;
  // Freed during a drag: the window gets its bar and the mouse back.
  if (tracking_ && window_ && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWL_STYLE, GetWindowLongPtrW(window_, GWL_STYLE) | trackedBit_);
    if (GetCapture() == window_) ReleaseCapture();
  }
}

void SkinScrollBar::attachScrolling(HWND window, SkinData& skin, bool ownTracking, Canvas& canvas) {
  SkinControl::AttachWindow(window, skin, canvas);
  ownTracking_ = ownTracking;
  tracking_ = forceVertical_ = forceHorizontal_ = false;
  hInfo_.cbSize = vInfo_.cbSize = sizeof(SCROLLINFO);
  hMetrics_ = vMetrics_ = {};
}

void SkinScrollBar::AttachControl(WinControl& control, SkinData& skin, bool ownTracking, Canvas& canvas) {
  attachScrolling(control.handle(), skin, ownTracking, canvas);
  control_ = &control;
}

void SkinScrollBar::AttachWindow(HWND window, SkinData& skin, Canvas& canvas) {
  attachScrolling(window, skin, true, canvas);
}

bool SkinScrollBar::BeforeMessage(SkinMessage& msg) {
  const bool drawn = hasPicture(skin_->Scrollbar());
  switch (msg.msg) {
    case WM_NCMOUSEMOVE:
      // The system would light its own arrows over ours.
      return !(drawn && (msg.wParam == HTHSCROLL || msg.wParam == HTVSCROLL));
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK:
      return !(drawn && ownTracking_ && !tracking_ && pressOnBar(msg));
    case WM_HSCROLL: case WM_VSCROLL: {
      if (msg.lParam) return true;  // from a scroll bar control inside, not from our bars
      const bool horizontal = msg.msg == WM_HSCROLL;
      pressedPart_ = pressedPartForScroll(horizontal, LOWORD(msg.wParam));
      (horizontal ? forceHorizontal_ : forceVertical_) = true;
      callOriginal(msg);
      RepaintSkin();
      (horizontal ? forceHorizontal_ : forceVertical_) = tracking_;
      return false;
    }
  }
  return true;
}

void SkinScrollBar::AfterMessage(SkinMessage& msg) {
  switch (msg.msg) {
    // Over what the system drew: its frame, and its bar as a press on an arrow or the track
    // left it (the system's own scroll loop ran inside the press and draws as it ends).
    case WM_NCPAINT: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: case WM_NCMOUSELEAVE:
      RepaintSkin();
      break;
    default: SkinControl::AfterMessage(msg);
  }
}

bool SkinScrollBar::pressOnBar(SkinMessage& msg) {
  if (msg.wParam != HTHSCROLL && msg.wParam != HTVSCROLL) return false;
  const bool horizontal = msg.wParam == HTHSCROLL;
  RECT wr{};
  GetWindowRect(window_, &wr);
  readBars(wr.right - wr.left, wr.bottom - wr.top);
  const Rect& bar = horizontal ? layout_.horizontal : layout_.vertical;
  if (bar.empty()) return false;
  const int along = horizontal ? GET_X_LPARAM(msg.lParam) - wr.left - bar.left
                               : GET_Y_LPARAM(msg.lParam) - wr.top - bar.top;
  const BarMetrics& m = horizontal ? hMetrics_ : vMetrics_;
  if (barPartAt(along, m) != BarPart::Thumb || m.thumbSize <= 0 || m.thumbSize > m.track) return false;
  pressedPart_ = horizontal ? kPartHorzThumb : kPartVertThumb;
  RepaintSkin();
  trackThumb(horizontal);
  msg.result = 0;
  return true;
}

void SkinScrollBar::trackThumb(bool horizontal) {
  const HWND hwnd = window_;
  const int bar = horizontal ? SB_HORZ : SB_VERT;
  const UINT scrollMsg = horizontal ? WM_HSCROLL : WM_VSCROLL;
  const LONG_PTR bit = horizontal ? WS_HSCROLL : WS_VSCROLL;
  BarMetrics& m = horizontal ? hMetrics_ : vMetrics_;
  SCROLLINFO& info = horizontal ? hInfo_ : vInfo_;
  const ScrollValues values = valuesOf(info);
  const int startOffset = m.thumbOffset;
  POINT start{};
  GetCursorPos(&start);

  tracking_ = true;
  trackedBit_ = bit;
  (horizontal ? forceHorizontal_ : forceVertical_) = true;
  // The system stops drawing that bar while the skin's thumb moves.
  SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) & ~bit);
  // With the capture the release reaches us even outside the program's windows.
  SetCapture(hwnd);
  bool alive = true;
  trackingAlive_ = &alive;
  std::int32_t last = values.position;
  bool released = false;
  for (;;) {
    MSG m2;
    if (!PeekMessageW(&m2, nullptr, 0, 0, PM_REMOVE)) {
      if (GetCapture() != hwnd) break;  // taken away (another window, a system dialog)
      WaitMessage();
      continue;
    }
    if (m2.message == WM_QUIT) {
      PostQuitMessage(int(m2.wParam));  // for the loop outside
      break;
    }
    released = m2.message == WM_LBUTTONUP || m2.message == WM_NCLBUTTONUP;
    if (!released) {
      TranslateMessage(&m2);
      DispatchMessageW(&m2);
    }
    if (!alive) return;  // the skinner itself was freed by what ran
    if (destroyed_ || !IsWindow(hwnd)) {
      tracking_ = false;
      trackingAlive_ = nullptr;
      return;  // the window went: nothing left to scroll or to give back
    }
    if (released) break;
    if (m2.message != WM_MOUSEMOVE && m2.message != WM_NCMOUSEMOVE) {
      if (GetCapture() != hwnd) break;
      continue;
    }
    POINT now{};
    GetCursorPos(&now);
    const ThumbDrag drag = dragThumb(startOffset, horizontal ? now.x - start.x : now.y - start.y, m, values);
    if (drag.position == last) continue;
    SCROLLINFO pos{sizeof pos, SIF_POS, 0, 0, 0, 0, 0};
    pos.nPos = drag.position;
    SetScrollInfo(hwnd, bar, &pos, FALSE);
    m.thumbOffset = drag.offset;
    PostMessageW(hwnd, scrollMsg, MAKEWPARAM(SB_THUMBTRACK, WORD(drag.position)), 0);
    last = drag.position;
  }
  trackingAlive_ = nullptr;
  SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | bit);
  if (GetCapture() == hwnd) ReleaseCapture();
  PostMessageW(hwnd, scrollMsg, MAKEWPARAM(SB_THUMBPOSITION, WORD(last)), 0);
  tracking_ = false;
}

void SkinScrollBar::readBars(int width, int height) {
  style_ = DWORD(GetWindowLongPtrW(window_, GWL_STYLE));
  exStyle_ = DWORD(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  if (forceHorizontal_) style_ |= WS_HSCROLL;
  if (forceVertical_) style_ |= WS_VSCROLL;
  RECT client{};
  GetClientRect(window_, &client);
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  layout_ = layoutBars(width, height, client.right, client.bottom, a, GetSystemMetrics(SM_CXEDGE),
                       (style_ & WS_HSCROLL) != 0, (style_ & WS_VSCROLL) != 0);
  if (tracking_) return;  // the drag owns the thumb until it ends
  const int minimum = minimumThumbSize(a, windows95Family()), standard = GetSystemMetrics(SM_CXHTHUMB);
  const auto update = [&](bool horizontal) {
    SCROLLINFO& info = horizontal ? hInfo_ : vInfo_;
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(window_, horizontal ? SB_HORZ : SB_VERT, &info)) return;
    const Rect& bar = horizontal ? layout_.horizontal : layout_.vertical;
    updateThumbMetrics(horizontal ? hMetrics_ : vMetrics_, horizontal ? bar.width() : bar.height(), a,
                       valuesOf(info), minimum, standard);
  };
  if (layout_.hasHorizontal) update(true);
  if (layout_.hasVertical) update(false);
}

void SkinScrollBar::PaintSkin(HDC dc, const Rect& rect) {
  if (!hasPicture(skin_->Scrollbar()) || !dc || rect.empty()) return;
  readBars(rect.width(), rect.height());
  if (!layout_.hasHorizontal && !layout_.hasVertical) return;
  if (layout_.hasHorizontal) paintBar(dc, true);
  if (layout_.hasVertical) paintBar(dc, false);
  if (layout_.hasHorizontal && layout_.hasVertical) fill(dc, layout_.corner);
}

void SkinScrollBar::paintBar(HDC dc, bool horizontal) {
  const Rect& bar = horizontal ? layout_.horizontal : layout_.vertical;
  const int length = horizontal ? bar.width() : bar.height();
  if (bar.empty() || !barFits(length)) return;
  putBar(dc, bar, composeBar(*skin_, length, horizontal ? hMetrics_ : vMetrics_, horizontal, pressedPart_));
}

// ---- SkinListView

SkinListView::~SkinListView() { header_.reset(); }

void SkinListView::AttachControl(WinControl& control, SkinData& skin, bool ownTracking, Canvas& canvas) {
  SkinScrollBar::AttachControl(control, skin, ownTracking, canvas);
  attachHeader(skin, canvas);
}

void SkinListView::AttachWindow(HWND window, SkinData& skin, Canvas& canvas) {
  SkinScrollBar::AttachWindow(window, skin, canvas);
  attachHeader(skin, canvas);
}

void SkinListView::attachHeader(SkinData& skin, Canvas& canvas) {
  const HWND header = reinterpret_cast<HWND>(SendMessageW(window_, LVM_GETHEADER, 0, 0));
  if (!header) return;
  header_ = std::make_unique<SkinHeader>(owner());
  header_->AttachWindow(header, skin, canvas);
}

void SkinListView::Detach() {
  if (header_) header_->Detach();
  SkinScrollBar::Detach();
}

// ---- SkinScControl

bool SkinScControl::BeforeMessage(SkinMessage& msg) {
  switch (msg.msg) {
    case WM_NCMOUSEMOVE:
      return !(msg.wParam == HTHSCROLL || msg.wParam == HTVSCROLL);
    case CN_HSCROLL: case CN_VSCROLL:
      pressedPart_ = pressedPartForScroll(msg.msg == CN_HSCROLL, LOWORD(msg.wParam));
      callOriginal(msg);
      RepaintSkin();
      return false;
  }
  return true;
}

void SkinScControl::AfterMessage(SkinMessage& msg) {
  switch (msg.msg) {
    // The system's own scroll loop runs inside a press and draws the bar as it ends; the
    // mouse moving over the bar or leaving it has the system light or unlight its arrows.
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_MOUSEMOVE: case WM_MOUSELEAVE:
      RepaintSkin();
      break;
    default: SkinControl::AfterMessage(msg);
  }
}

void SkinScControl::PaintSkin(HDC dc, const Rect& rect) {
  if (!hasPicture(skin_->Scrollbar()) || !dc || rect.empty()) return;
  const bool horizontal = (GetWindowLongPtrW(window_, GWL_STYLE) & SBS_VERT) == 0;
  ScrollValues values;
  if (auto* bar = dynamic_cast<ScrollBar*>(control_)) {
    values = {bar->Min(), bar->Max(), std::uint32_t(bar->PageSize()), bar->Position()};
  } else {
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(window_, SB_CTL, &si)) return;
    values = valuesOf(si);
  }
  const int length = horizontal ? rect.width() : rect.height();
  if (!barFits(length)) return;
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  updateThumbMetrics(metrics_, length, a, values, minimumThumbSize(a, windows95Family()),
                     GetSystemMetrics(SM_CXHTHUMB));
  putBar(dc, rect, composeBar(*skin_, length, metrics_, horizontal, pressedPart_));
}

}  // namespace vrin
