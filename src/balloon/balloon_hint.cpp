#include "balloon/balloon_hint.h"

#include <mmsystem.h>

#include <algorithm>
#include <utility>

#include "ui/geometry_win.h"
#include "ui/imagelist.h"
#include "ui/registry.h"
#include "ui/window_hooks.h"

namespace vrin {

namespace {
const char kBadValue[] = "Valeur de propriété incorrecte";
}  // namespace

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
  setApplicationHintOptions({});  // gives the application its own hint window back
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
  if (options == defaults_.applicationHintOptions) return;
  const bool wasOn = defaults_.applicationHintOptions.has(ahUseBalloonAsHint);
  defaults_.applicationHintOptions = options;
  if (options.has(ahUseBalloonAsHint) == wasOn) return;
  if (options.has(ahUseBalloonAsHint)) {
    // Only the current balloon component may stand in for the application's hint.
    BalloonController* c = BalloonController::existing();
    if (!c || c->current() != this) {
      defaults_.applicationHintOptions = options.without(ahUseBalloonAsHint);
      return;
    }
    savedHintClass_ = application().hintWindowClass();
    hintClassInstalled_ = true;
    application().setHintWindowClass(&BalloonWindow::create);
  } else if (hintClassInstalled_) {
    hintClassInstalled_ = false;
    application().setHintWindowClass(std::exchange(savedHintClass_, nullptr));
  }
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
  const Point tip = stemTip(p.rect, p.position, window_->layout());
  data_.stemPoint = toPOINT(tip);
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
  window_->hideWindow();
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
  switch (anchorReaction(msg, toPoint(b->data_.stemPoint), width, height)) {
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
