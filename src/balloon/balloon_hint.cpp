#include "balloon/balloon_hint.h"

#include <mmsystem.h>

#include <algorithm>
#include <utility>

#include "ui/window_hooks.h"
#include "ui/application.h"
#include "ui/imagelist.h"
#include "ui/registry.h"

namespace vrin {

static_assert(kAwHorPositive == AW_HOR_POSITIVE && kAwHorNegative == AW_HOR_NEGATIVE &&
              kAwVerPositive == AW_VER_POSITIVE && kAwVerNegative == AW_VER_NEGATIVE &&
              kAwCenter == AW_CENTER && kAwSlide == AW_SLIDE && kAwBlend == AW_BLEND);

namespace {

const char kBadValue[] = "Valeur de propriété incorrecte";

bool xpOrLater() {
  static const bool xp = [] {
    const DWORD v = GetVersion();
    const int major = LOBYTE(LOWORD(v)), minor = HIBYTE(LOWORD(v));
    return !(v & 0x80000000u) && (major > 5 || (major == 5 && minor >= 1));
  }();
  return xp;
}

RECT toRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Round-rect body plus stem, in window coordinates.
HRGN shapeRegion(const BalloonShape& s) {
  POINT pts[3];
  for (int i = 0; i < 3; ++i) pts[i] = POINT{s.stem[i].x, s.stem[i].y};
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
  static const ClassInfo info{"TBalloonWindow", &WinControl::staticClassInfo(), {}};
  return info;
}

BalloonWindow::BalloonWindow(Component* owner) : WinControl(owner) {
  setVisible(false);
  setColor(sysColor(COLOR_INFOBK));
}

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

void BalloonWindow::layoutAt(POINT screenPoint, HWND ownerWindow) {
  HWND h = handle();
  makeFonts();
  MemoryDC dc;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  auto measure = [&](HFONT font, const std::string& text) {
    SelectScope select(dc.get(), font);
    RECT r{0, 0, screenWidth, 0};
    DrawTextW(dc.get(), widen(text).c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    return BalloonSize{int(r.right - r.left), int(r.bottom - r.top)};
  };
  BalloonContent c;
  c.hasHeader = content_.showHeader;
  if (c.hasHeader) c.header = measure(boldFont_.get(), content_.header);
  c.hasIcon = content_.showIcon;
  c.icon = balloonIconSize(content_.icon, content_.imageIndex, imageInfo());
  c.hasText = !content_.text.empty();
  if (c.hasText) c.text = measure(font_.get(), content_.text);
  c.closeButton = content_.showCloseButton;
  c.stemLift = stemLift_;
  layout_ = measureBalloon(c);

  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
    work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  placement_ = placeBalloon(layout_, content_.position, {screenPoint.x, screenPoint.y},
                            Rect{work.left, work.top, work.right, work.bottom});
  const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const Rect screen{vx, vy, vx + GetSystemMetrics(SM_CXVIRTUALSCREEN), vy + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const Rect r = confineToScreen(placement_.rect, screen);

  if (IsWindowVisible(h)) ShowWindow(h, SW_HIDE);
  SetWindowLongPtrW(h, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
  HRGN region = shapeRegion(balloonShape(layout_, placement_.position));
  if (region && !SetWindowRgn(h, region, FALSE)) DeleteObject(region);  // stays rectangular
  SetWindowPos(h, HWND_TOPMOST, r.left, r.top, r.width(), r.height(), SWP_NOACTIVATE);
}

void BalloonWindow::ActivateHint(POINT screenPoint, const std::string& text) {
  BalloonHint* hint = BalloonController::instance().currentBalloon();
  const BalloonDefaults& d = hint->defaults();
  const ApplicationHintOptions& o = d.applicationHintOptions;
  content_ = ResolvedBalloon{};
  content_.header = o.has(ahShowHeaderInHint) ? d.defaultHeader : std::string();
  content_.text = text;
  content_.icon = o.has(ahShowIconInHint) && d.defaultIcon <= ikWarning ? d.defaultIcon : ikNone;
  content_.imageIndex = d.defaultImageIndex;
  content_.showHeader = !content_.header.empty();
  content_.showIcon = content_.icon != ikNone && !(content_.icon == ikCustom && content_.imageIndex < 0);
  content_.position = d.defaultPosition;
  stemLift_ = GetSystemMetrics(SM_CYCURSOR);  // the stem clears the cursor
  layoutAt(screenPoint, nullptr);
  if (o.has(ahPlaySound)) BalloonController::instance().playSound(d.defaultIcon);
  SetLayeredWindowAttributes(hwnd_, 0, 255, LWA_ALPHA);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

void BalloonWindow::HideWindow() {
  if (!hwnd_) return;
  if (GetCapture() == hwnd_) ReleaseCapture();
  ShowWindow(hwnd_, SW_HIDE);
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

  const BalloonPaintRects pr = balloonPaintRects(layout_, placement_.contentTop, content_.showCloseButton);
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

BalloonWindowEx::BalloonWindowEx(BalloonHint* owner) : BalloonWindow(owner), hint_(owner) {}

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
  const BalloonPoint at{short(LOWORD(lp)), short(HIWORD(lp))};
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

// ---- BalloonHint

const ClassInfo& BalloonHint::staticClassInfo() {
  static const ClassInfo info{
      "TBalloonHint",
      &Component::staticClassInfo(),
      {setProp<BalloonHint>("Options",
                            {"boUseDefaultHeader", "boUseDefaultIcon", "boUseDefaultImageIndex",
                             "boShowCloseBtn", "boCustomAnimation", "boPlaySound"},
                            &BalloonHint::optionBits, &BalloonHint::setOptionBits),
       stringProp<BalloonHint>("DefaultHeader", &BalloonHint::defaultHeader, &BalloonHint::setDefaultHeader),
       enumProp<BalloonHint, IconKind>("DefaultIcon",
                                       {"ikCustom", "ikNone", "ikApplication", "ikError", "ikInformation",
                                        "ikQuestion", "ikWarning"},
                                       &BalloonHint::defaultIcon, &BalloonHint::setDefaultIcon),
       intProp<BalloonHint>("DefaultImageIndex", &BalloonHint::defaultImageIndex,
                            &BalloonHint::setDefaultImageIndex),
       setProp<BalloonHint>("ApplicationHintOptions",
                            {"ahShowHeaderInHint", "ahShowIconInHint", "ahUseBalloonAsHint", "ahPlaySound"},
                            &BalloonHint::hintOptionBits, &BalloonHint::setHintOptionBits),
       enumProp<BalloonHint, BalloonPosition>("DefaultBalloonPosition",
                                              {"bpAuto", "bpLeftDown", "bpRightDown", "bpLeftUp", "bpRightUp"},
                                              &BalloonHint::defaultBalloonPosition,
                                              &BalloonHint::setDefaultBalloonPosition),
       intProp<BalloonHint>("CustomAnimationTime", &BalloonHint::customAnimationTime,
                            &BalloonHint::setCustomAnimationTime),
       enumProp<BalloonHint, AnimationStyle>(
           "CustomAnimationStyle",
           {"atNone", "atSlide", "atRoll", "atRollHorNeg", "atRollHorPos", "atRollVerNeg", "atRollVerPos",
            "atSlideHorNeg", "atSlideHorPos", "atSlideVerNeg", "atSlideVerPos", "atCenter", "atBlend"},
           &BalloonHint::customAnimationStyle, &BalloonHint::setCustomAnimationStyle)}};
  return info;
}

BalloonHint::BalloonHint(Component* owner) : Component(owner) {
  window_ = new BalloonWindowEx(this);
  BalloonController::instance().setCurrent(this);
}

BalloonHint::~BalloonHint() {
  HideBalloon();
  killTimer();
}

void BalloonHint::setOptionBits(std::uint32_t bits) {
  if (bits > 0x3F) throw Error(kBadValue);
  defaults_.options.bits = std::uint8_t(bits);
}

void BalloonHint::setHintOptionBits(std::uint32_t bits) {
  if (bits > 0x0F) throw Error(kBadValue);
  ApplicationHintOptions o;
  o.bits = std::uint8_t(bits);
  setApplicationHintOptions(o);
}

void BalloonHint::setApplicationHintOptions(ApplicationHintOptions options) {
  // Only the current balloon component may stand in for the application's hint. The
  // framework has no hint window class of its own to swap, so the flag is all there is;
  // a host shows the balloon as its hint through BalloonWindow::ActivateHint.
  BalloonController* c = BalloonController::existing();
  if (options.has(ahUseBalloonAsHint) && (!c || c->current() != this))
    options = options.without(ahUseBalloonAsHint);
  defaults_.applicationHintOptions = options;
}

void BalloonHint::setImages(ImageList* images) {
  if (images_ == images) return;
  if (images_) removeFreeNotification(images_);
  images_ = images;
  if (images_) freeNotification(images_);
}

void BalloonHint::setDefaultIcon(IconKind icon) {
  if (icon > ikWarning) throw Error(kBadValue);
  defaults_.defaultIcon = icon;
}

void BalloonHint::setDefaultBalloonPosition(BalloonPosition position) {
  if (position > bpRightUp) throw Error(kBadValue);
  defaults_.defaultPosition = position;
}

void BalloonHint::setCustomAnimationTime(int ms) {
  if (ms < 0) throw Error(kBadValue);
  defaults_.customAnimationTime = std::uint32_t(ms);
}

void BalloonHint::setCustomAnimationStyle(AnimationStyle style) {
  if (style > atBlend) throw Error(kBadValue);
  defaults_.customAnimationStyle = style;
}

void BalloonHint::ShowBalloon(WinControl* anchorControl, POINT anchorPoint, const std::string& header,
                              const std::string& text, int visibleTime, IconKind iconKind, int imageIndex) {
  HideBalloon();
  anchorPoint.x = std::clamp<LONG>(anchorPoint.x, -kMaxBalloonCoord, kMaxBalloonCoord);
  anchorPoint.y = std::clamp<LONG>(anchorPoint.y, -kMaxBalloonCoord, kMaxBalloonCoord);
  const ResolvedBalloon content =
      resolveBalloon(defaults_, BalloonRequest{header, text, iconKind, imageIndex, visibleTime});
  BOOL animation = FALSE, fade = FALSE;
  SystemParametersInfoW(SPI_GETTOOLTIPANIMATION, 0, &animation, 0);
  SystemParametersInfoW(SPI_GETTOOLTIPFADE, 0, &fade, 0);
  const BalloonAnimation anim = chooseBalloonAnimation(defaults_, xpOrLater(), animation, fade);

  data_ = HintData{};
  data_.anchorControl = anchorControl;
  data_.anchorPoint = anchorPoint;
  data_.header = content.header;
  data_.text = content.text;
  data_.iconKind = content.icon;
  data_.imageIndex = content.imageIndex;
  data_.visibleTime = visibleTime;
  data_.showCloseButton = content.showCloseButton;
  data_.animationStyle = anim.style;
  data_.animationTime = anim.timeMs;
  data_.stemLift = 0;

  if (anchorControl) anchorWnd_ = anchorControl->handle();
  active_ = true;
  if (anchorControl) {
    freeNotification(anchorControl);
    WndProcHook::instance().RegisterWndProcHook(anchorWnd_, HookPhase::Before, &BalloonHint::anchorHook, this);
  }
  window_->takeSettings(data_, content);
  POINT screen = anchorPoint;
  if (anchorWnd_) ClientToScreen(anchorWnd_, &screen);
  if (defaults_.options.has(boPlaySound)) BalloonController::instance().playSound(content.icon);

  const std::int64_t fadeMs = usesLayeredFade(anim.style) ? anim.timeMs : 0;
  const BalloonStep first = timeline_.show(GetTickCount(), fadeMs, visibleTime);
  window_->showAt(screen, first.alpha);

  // Where the balloon went, in the anchor's terms, for following it later.
  RECT placed;
  GetWindowRect(window_->handle(), &placed);
  recordedTopLeft_ = POINT{placed.left, placed.top};
  const BalloonPlacement& p = window_->placement();
  const BalloonPoint tip = stemTip(p.rect, p.position, window_->layout());
  data_.stemPoint = POINT{tip.x, tip.y};
  if (anchorWnd_) {
    ScreenToClient(anchorWnd_, &recordedTopLeft_);
    ScreenToClient(anchorWnd_, &data_.stemPoint);
  }

  applyStep(first);
  // Ends whatever hint tracking holds the mouse, without stealing a real capture.
  if (active_ && !GetCapture()) {
    SetCapture(window_->handle());
    ReleaseCapture();
  }
}

void BalloonHint::HideBalloon() {
  if (!active_) return;
  active_ = false;
  killTimer();
  timeline_.hide();
  if (anchorWnd_) {
    if (WndProcHook* hooks = WndProcHook::existing())
      hooks->UnregisterWndProcHook(anchorWnd_, HookPhase::Before, &BalloonHint::anchorHook, this);
    anchorWnd_ = nullptr;
  }
  if (data_.anchorControl) removeFreeNotification(data_.anchorControl);
  window_->HideWindow();
  window_->resetCloseButton();
}

void BalloonHint::applyStep(const BalloonStep& step) {
  if (!active_) return;
  window_->setAlpha(step.alpha);
  if (step.hideNow) {
    HideBalloon();
    return;
  }
  if (step.timerMs < 0) {
    killTimer();
    return;
  }
  // Same id on the same window: a new SetTimer replaces the old one, never adds one.
  timerId_ = SetTimer(window_->handle(), kTimerId, UINT(std::max<int>(step.timerMs, USER_TIMER_MINIMUM)), nullptr);
  if (!timerId_) HideBalloon();  // without a timer the balloon would never go
}

void BalloonHint::timerTick() {
  if (!active_) {
    killTimer();
    return;
  }
  applyStep(timeline_.tick(GetTickCount()));
}

void BalloonHint::killTimer() {
  if (!timerId_) return;
  KillTimer(window_->handle(), kTimerId);
  timerId_ = 0;
}

bool BalloonHint::anchorHook(void* self, HWND hwnd, UINT msg, WPARAM, LPARAM lp, LRESULT&) {
  auto* b = static_cast<BalloonHint*>(self);
  if (!b->active_) return false;
  if (msg == WM_DESTROY) {  // the anchor goes away: so does its balloon
    b->HideBalloon();
    return false;
  }
  const int width = msg == WM_SIZE ? LOWORD(lp) : 0, height = msg == WM_SIZE ? HIWORD(lp) : 0;
  switch (anchorReaction(msg, {b->data_.stemPoint.x, b->data_.stemPoint.y}, width, height)) {
    case AnchorReaction::Follow: {
      POINT p = b->recordedTopLeft_;
      ClientToScreen(hwnd, &p);
      SetWindowPos(b->window_->handle(), nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case AnchorReaction::Hide: b->HideBalloon(); break;
    case AnchorReaction::None: break;
  }
  return false;  // the control still gets every message
}

void BalloonHint::notification(Component* component, Operation operation) {
  Component::notification(component, operation);
  if (operation != Operation::Remove) return;
  if (component == images_) images_ = nullptr;
  if (component == data_.anchorControl) {
    data_.anchorControl = nullptr;
    HideBalloon();
  }
}

// ---- BalloonController

namespace {
BalloonController* g_controller = nullptr;
struct ReleaseControllerAtExit {
  ~ReleaseControllerAtExit() { delete std::exchange(g_controller, nullptr); }
};
}  // namespace

BalloonController& BalloonController::instance() {
  static ReleaseControllerAtExit releaseAtExit;
  if (!g_controller) g_controller = new BalloonController;
  return *g_controller;
}

BalloonController* BalloonController::existing() { return g_controller; }

BalloonController::BalloonController() : Component(nullptr) {
  icons_ = ImageList_Create(16, 16, xpOrLater() ? ILC_COLOR32 | ILC_MASK : ILC_COLOR, 4, 4);
  for (LPCSTR id : {IDI_APPLICATION, IDI_HAND, IDI_ASTERISK, IDI_QUESTION, IDI_EXCLAMATION}) {
    auto icon = static_cast<HICON>(LoadImageA(nullptr, id, IMAGE_ICON, 16, 16, LR_SHARED));
    // A missing picture must not shift the ones after it.
    if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
    ImageList_ReplaceIcon(icons_, -1, icon);
  }
  // Drawn transparently: the program runs with the version 6 common controls.
  ImageList_SetBkColor(icons_, CLR_NONE);
  readSounds();
}

void BalloonController::readSounds() {
  for (int kind = ikCustom; kind <= ikWarning; ++kind) {
    sounds_[kind].clear();
    Registry reg(HKEY_CURRENT_USER);
    if (!reg.openKeyReadOnly(balloonSoundKey(IconKind(kind)))) continue;
    std::string path;
    try {
      path = reg.readString("");
    } catch (const Error&) {
      continue;  // not a text: no sound, as for a missing key
    }
    std::wstring expanded(4096, L'\0');
    const DWORD n = ExpandEnvironmentStringsW(widen(path).c_str(), expanded.data(), DWORD(expanded.size()));
    if (n == 0 || n > expanded.size()) continue;  // longer than 4096: left silent
    expanded.resize(n - 1);
    sounds_[kind] = narrow(expanded);
  }
}

BalloonController::~BalloonController() {
  if (icons_) ImageList_Destroy(icons_);
}

BalloonHint* BalloonController::currentBalloon() {
  if (!current_) new BalloonHint(this);  // becomes the current one, owned by us
  return current_;
}

void BalloonController::setCurrent(BalloonHint* hint) {
  if (current_ == hint) return;
  BalloonHint* previous = std::exchange(current_, hint);
  if (previous) {
    removeFreeNotification(previous);
    previous->HideBalloon();
    previous->setApplicationHintOptions(previous->applicationHintOptions().without(ahUseBalloonAsHint));
  }
  if (hint) freeNotification(hint);
}

const std::string& BalloonController::soundFor(IconKind kind) const {
  return sounds_[std::min<unsigned>(kind, ikWarning)];
}

void BalloonController::playSound(IconKind kind) const {
  const std::string& path = soundFor(kind);
  if (!path.empty()) sndPlaySoundW(widen(path).c_str(), SND_ASYNC | SND_NODEFAULT);
}

void BalloonController::notification(Component* component, Operation operation) {
  Component::notification(component, operation);
  if (operation == Operation::Remove && component == current_) current_ = nullptr;
}

}  // namespace vrin
