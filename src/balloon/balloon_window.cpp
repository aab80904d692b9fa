#include "balloon/balloon_window.h"

#include <algorithm>

#include "balloon/balloon_hint.h"
#include "ui/application.h"
#include "ui/geometry_win.h"
#include "ui/imagelist.h"

namespace vrin {

static_assert(kAwHorPositive == AW_HOR_POSITIVE && kAwHorNegative == AW_HOR_NEGATIVE &&
              kAwVerPositive == AW_VER_POSITIVE && kAwVerNegative == AW_VER_NEGATIVE &&
              kAwCenter == AW_CENTER && kAwSlide == AW_SLIDE && kAwBlend == AW_BLEND);

bool xpOrLater() {
  static const bool xp = [] {
    const DWORD v = GetVersion();
    const int major = LOBYTE(LOWORD(v)), minor = HIBYTE(LOWORD(v));
    return !(v & 0x80000000u) && (major > 5 || (major == 5 && minor >= 1));
  }();
  return xp;
}

namespace {

// Round-rect body plus stem, in window coordinates.
HRGN shapeRegion(const BalloonShape& s) {
  POINT pts[3];
  for (int i = 0; i < 3; ++i) pts[i] = toPOINT(s.stem[i]);
  GdiObject<HRGN> stem(CreatePolygonRgn(pts, 3, WINDING));
  HRGN body = CreateRoundRectRgn(s.body.left, s.body.top, s.body.right, s.body.bottom, s.corner, s.corner);
  if (body && stem) CombineRgn(body, body, stem.get(), RGN_OR);
  return body;
}

void drawText(HDC dc, HFONT font, const std::string& text, const Rect& box) {
  SelectScope select(dc, font);
  RECT r = toRECT(box);
  DrawTextW(dc, widen(text).c_str(), -1, &r, DT_NOPREFIX | DT_WORDBREAK);
}

}  // namespace

// ---- BalloonWindow

const ClassInfo& BalloonWindow::staticClassInfo() {
  static const ClassInfo info{"TBalloonWindow", &HintWindow::staticClassInfo(), {}};
  return info;
}

BalloonWindow::BalloonWindow(Component* owner) : HintWindow(owner) {}

WinControl::CreateParams BalloonWindow::createParams() {
  classNameW_ = widen(className());
  registerOwnClass(classNameW_, nullptr, CS_SAVEBITS | (xpOrLater() ? CS_DROPSHADOW : 0));
  CreateParams cp;
  cp.className = classNameW_.c_str();
  cp.style = WS_POPUP;
  // Layered for the fade; never activated, no taskbar button.
  cp.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED;
  return cp;
}

ImageList* BalloonWindow::images() const {
  BalloonController* c = BalloonController::existing();
  return c && c->current() ? c->current()->images() : nullptr;
}

BalloonImages BalloonWindow::imageInfo() const {
  ImageList* list = images();
  if (!list) return {};
  return {true, list->count(), list->width(), list->height()};
}

void BalloonWindow::makeFonts() {
  // The screen's hint font is the status font of the non-client metrics.
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof ncm.lfStatusFont, &ncm.lfStatusFont);
  font_.reset(CreateFontIndirectW(&ncm.lfStatusFont));
  ncm.lfStatusFont.lfWeight = FW_BOLD;
  boldFont_.reset(CreateFontIndirectW(&ncm.lfStatusFont));
}

void BalloonWindow::measure(int maxWidth) {
  makeFonts();
  MemoryDC dc;
  auto measureText = [&](HFONT font, const std::string& text) {
    SelectScope select(dc.get(), font);
    RECT r{0, 0, std::max(maxWidth, 1), 0};
    DrawTextW(dc.get(), widen(text).c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    return Size{int(r.right - r.left), int(r.bottom - r.top)};
  };
  BalloonContent c;
  c.hasHeader = content_.showHeader;
  if (c.hasHeader) c.header = measureText(boldFont_.get(), content_.header);
  c.hasIcon = content_.showIcon;
  c.icon = balloonIconSize(content_.icon, content_.imageIndex, imageInfo());
  c.hasText = !content_.text.empty();
  if (c.hasText) c.text = measureText(font_.get(), content_.text);
  c.closeButton = content_.showCloseButton;
  c.stemLift = stemLift_;
  measured_ = layout_ = measureBalloon(c);
}

namespace {
Rect workArea() {
  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
    work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return toRect(work);
}
}  // namespace

void BalloonWindow::applyFrame(const Rect& r, const BalloonLayout& shapeLayout, HWND ownerWindow) {
  HWND h = handle();
  if (IsWindowVisible(h)) ShowWindow(h, SW_HIDE);
  SetWindowLongPtrW(h, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
  HRGN region = shapeRegion(balloonShape(shapeLayout, placement_.position));
  if (region && !SetWindowRgn(h, region, FALSE)) DeleteObject(region);  // stays rectangular
  SetWindowPos(h, HWND_TOPMOST, r.left, r.top, r.width(), r.height(), SWP_NOACTIVATE);
}

void BalloonWindow::layoutAt(POINT screenPoint, HWND ownerWindow) {
  measure(GetSystemMetrics(SM_CXSCREEN));
  placement_ = placeBalloon(layout_, content_.position, toPoint(screenPoint), workArea());
  const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const Rect screen{vx, vy, vx + GetSystemMetrics(SM_CXVIRTUALSCREEN), vy + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  applyFrame(confineToScreen(placement_.rect, screen), layout_, ownerWindow);
}

RECT BalloonWindow::calcHintRect(int maxWidth, const std::string& hint) {
  BalloonHint* balloon = BalloonController::instance().currentBalloon();
  const BalloonDefaults& d = balloon->defaults();
  const ApplicationHintOptions& o = d.applicationHintOptions;
  content_ = ResolvedBalloon{};
  content_.header = o.has(ahShowHeaderInHint) ? d.defaultHeader : std::string();
  content_.text = hint;
  content_.icon = o.has(ahShowIconInHint) && d.defaultIcon <= ikWarning ? d.defaultIcon : ikNone;
  content_.imageIndex = d.defaultImageIndex;
  content_.showHeader = !content_.header.empty();
  content_.showIcon = content_.icon != ikNone && !(content_.icon == ikCustom && content_.imageIndex < 0);
  content_.position = d.defaultPosition;
  stemLift_ = GetSystemMetrics(SM_CYCURSOR);  // the stem clears the cursor
  measure(maxWidth);
  return toRECT(balloonRectAt({0, 0}, content_.position, layout_));
}

void BalloonWindow::activateHint(const RECT& rect, const std::string& hint) {
  const HintBalloonFrame frame = hintBalloonFrame(measured_, content_.position, toRect(rect), workArea());
  placement_ = frame.placement;
  layout_ = frame.layout;
  applyFrame(frame.bounds, layout_, nullptr);
  BalloonController& controller = BalloonController::instance();
  if (controller.currentBalloon()->applicationHintOptions().has(ahPlaySound))
    controller.playSound(controller.currentBalloon()->defaultIcon());
  SetLayeredWindowAttributes(hwnd_, 0, 255, LWA_ALPHA);
  HintWindow::activateHint(toRECT(placement_.rect), hint);
}

void BalloonWindow::paint(HDC target) {
  const int w = layout_.width, h = layout_.height;
  if (w <= 0 || h <= 0) return;
  BufferedPaint buffer(target, RECT{0, 0, w, h});  // painted off screen: no flicker while the fade runs
  HDC dc = buffer.get();
  GdiObject<HBRUSH> back(CreateSolidBrush(GetSysColor(COLOR_INFOBK)));
  RECT all{0, 0, w, h};
  FillRect(dc, &all, back.get());
  // No border around the client area here, so the region is framed where it lies.
  GdiObject<HRGN> region(shapeRegion(balloonShape(layout_, placement_.position)));
  if (region) FrameRgn(dc, region.get(), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);

  const BalloonPaintRects pr =
      balloonPaintRects(layout_, placement_.contentTop, content_.showCloseButton, asHint_);
  if (content_.showIcon) {
    const BalloonIconSource src = balloonIconSource(content_.icon, content_.imageIndex, imageInfo());
    if (src.kind == BalloonIconSource::Custom) {
      images()->draw(dc, pr.icon.x, pr.icon.y, src.index);
    } else if (src.kind == BalloonIconSource::Standard) {
      if (BalloonController* c = BalloonController::existing())
        ImageList_Draw(c->standardIcons(), src.index, dc, pr.icon.x, pr.icon.y, ILD_TRANSPARENT);
    }
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  if (content_.showHeader) drawText(dc, boldFont_.get(), content_.header, pr.header);
  if (!content_.text.empty()) drawText(dc, font_.get(), content_.text, pr.text);
  paintCloseButton(dc);
}

LRESULT BalloonWindow::windowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers everything
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      paint(dc.get());
      return 0;
    }
    case WM_NCPAINT: return 0;
    case WM_NCHITTEST: return HTTRANSPARENT;  // a hint lets the mouse through
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
  }
  return defaultProc(msg, wp, lp);
}

// ---- BalloonWindowEx

const ClassInfo& BalloonWindowEx::staticClassInfo() {
  static const ClassInfo info{"TBalloonWindowEx", &BalloonWindow::staticClassInfo(), {}};
  return info;
}

BalloonWindowEx::BalloonWindowEx(BalloonHint* owner) : BalloonWindow(owner), hint_(owner) { asHint_ = false; }

ImageList* BalloonWindowEx::images() const { return hint_->images(); }

void BalloonWindowEx::takeSettings(const HintData& data, const ResolvedBalloon& content) {
  content_ = content;
  stemLift_ = data.stemLift;
  anchored_ = data.anchorControl != nullptr;
  animationStyle_ = data.animationStyle;
  animationTime_ = data.animationTime;
}

void BalloonWindowEx::showAt(POINT screenPoint, int alpha) {
  layoutAt(screenPoint, anchored_ ? application().handle() : nullptr);
  resetCloseButton();
  setAlpha(alpha);
  // Blend is our own fade (AnimateWindow's would hold the message loop); the other
  // styles, unused here, keep the system's animation.
  if (animationStyle_ != atNone && !usesLayeredFade(animationStyle_) && animationTime_ > 0)
    AnimateWindow(hwnd_, DWORD(animationTime_), animateWindowFlags(animationStyle_, placement_.position));
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

void BalloonWindowEx::setAlpha(int alpha) {
  SetLayeredWindowAttributes(handle(), 0, BYTE(std::clamp(alpha, 0, 255)), LWA_ALPHA);
}

void BalloonWindowEx::resetCloseButton() {
  const bool shown = content_.showCloseButton;
  closeButton_.reset(shown ? balloonPaintRects(layout_, placement_.contentTop, true).closeButton : Rect{}, shown);
}

void BalloonWindowEx::paintCloseButton(HDC dc) {
  if (!content_.showCloseButton) return;
  UINT state = DFCS_CAPTIONCLOSE | DFCS_FLAT | DFCS_TRANSPARENT;
  if (closeButton_.look() == CloseButtonLook::Hot) state |= DFCS_HOT;
  if (closeButton_.look() == CloseButtonLook::HotPushed) state |= DFCS_HOT | DFCS_PUSHED;
  RECT r = toRECT(closeButton_.rect());
  DrawFrameControl(dc, &r, DFC_CAPTION, state);
}

void BalloonWindowEx::apply(const CloseButtonEffect& e) {
  if (e.captureMouse) SetCapture(hwnd_);
  if (e.releaseCapture && GetCapture() == hwnd_) ReleaseCapture();
  if (e.redraw) {
    RECT r = toRECT(closeButton_.rect());
    InvalidateRect(hwnd_, &r, FALSE);
  }
  if (e.hideBalloon) hint_->HideBalloon();
}

LRESULT BalloonWindowEx::windowProc(UINT msg, WPARAM wp, LPARAM lp) {
  const Point at{short(LOWORD(lp)), short(HIWORD(lp))};
  switch (msg) {
    case WM_NCHITTEST:
      if (content_.showCloseButton) return HTCLIENT;  // the button needs the mouse
      break;
    case WM_LBUTTONDOWN:
      apply(closeButton_.leftDown(at));
      return 0;
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
      TrackMouseEvent(&tme);
      apply(closeButton_.mouseMove(at));
      return 0;
    }
    case WM_MOUSELEAVE:
      apply(closeButton_.mouseMove({-1, -1}));
      return 0;
    case WM_LBUTTONUP:
      apply(closeButton_.leftUp(at));
      return 0;
    case WM_CAPTURECHANGED:
      // Someone else took the mouse in the middle of a press: start over.
      if (closeButton_.captured() && reinterpret_cast<HWND>(lp) != hwnd_) {
        resetCloseButton();
        InvalidateRect(hwnd_, nullptr, FALSE);
      }
      break;
    case WM_ACTIVATEAPP:
      if (!wp && anchored_) hint_->HideBalloon();
      break;
    case WM_TIMER:
      if (wp == BalloonHint::kTimerId) {
        hint_->timerTick();
        return 0;
      }
      break;
  }
  return BalloonWindow::windowProc(msg, wp, lp);
}

}  // namespace vrin
