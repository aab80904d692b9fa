#include "balloon/pure/balloon_layout.h"

#include <algorithm>
#include <cstdint>

namespace vrin {

namespace {

int clampExtent(int v) { return std::clamp(v, 0, kMaxBalloonExtent); }

Size clampSize(Size s) { return {clampExtent(s.width), clampExtent(s.height)}; }

bool validCustomIndex(int imageIndex, const BalloonImages& images) {
  return images.assigned && imageIndex >= 0 && imageIndex < images.count;
}

// Window message numbers we react to (named apart from the <windows.h> macros).
constexpr unsigned kMsgMove = 0x0003, kMsgSize = 0x0005, kMsgClose = 0x0010,
                   kMsgShowWindow = 0x0018;

constexpr int kInformationIcon = 2;

}  // namespace

// ---- Settings ----

ResolvedBalloon resolveBalloon(const BalloonDefaults& defaults, const BalloonRequest& request) {
  ResolvedBalloon b;
  const BalloonOptions& o = defaults.options;
  b.header = o.has(boUseDefaultHeader) ? defaults.defaultHeader : request.header;
  b.text = request.text;
  b.icon = o.has(boUseDefaultIcon) ? defaults.defaultIcon : request.icon;
  if (b.icon > ikWarning) b.icon = ikInformation;  // an ordinal out of range from outside
  b.imageIndex = o.has(boUseDefaultImageIndex) ? defaults.defaultImageIndex : request.imageIndex;
  b.visibleMs = request.visibleMs;
  b.showCloseButton = o.has(boShowCloseBtn);
  b.showHeader = !b.header.empty();
  // -1 exactly is "no picture"; other bad custom indexes still show the fallback icon.
  b.showIcon = !(b.icon == ikNone || (b.icon == ikCustom && b.imageIndex == -1));
  b.position = defaults.defaultPosition > bpRightUp ? bpAuto : defaults.defaultPosition;
  return b;
}

Size balloonIconSize(IconKind icon, int imageIndex, const BalloonImages& images) {
  if (icon == ikCustom && validCustomIndex(imageIndex, images))
    return clampSize({images.width, images.height});
  if (icon == ikNone) return {0, 0};
  return {16, 16};
}

BalloonIconSource balloonIconSource(IconKind icon, int imageIndex, const BalloonImages& images) {
  switch (icon) {
    case ikNone: return {BalloonIconSource::None, 0};
    case ikCustom:
      if (validCustomIndex(imageIndex, images)) return {BalloonIconSource::Custom, imageIndex};
      return {BalloonIconSource::Standard, kInformationIcon};
    case ikApplication: case ikError: case ikInformation: case ikQuestion: case ikWarning:
      return {BalloonIconSource::Standard, int(icon) - int(ikApplication)};
  }
  return {BalloonIconSource::Standard, kInformationIcon};
}

const char* balloonSoundEvent(IconKind icon) {
  switch (icon) {
    case ikError: return "SystemHand";
    case ikInformation: return "SystemAsterisk";
    case ikQuestion: return "SystemQuestion";
    case ikWarning: return "SystemExclamation";
    default: return "SystemNotification";
  }
}

std::string balloonSoundKey(IconKind icon) {
  return std::string("\\AppEvents\\Schemes\\Apps\\.Default\\") + balloonSoundEvent(icon) +
         "\\.Current";
}

// ---- Animation ----

BalloonAnimation chooseBalloonAnimation(const BalloonDefaults& defaults, bool xpOrLater,
                                        bool tooltipAnimation, bool tooltipFade) {
  if (!xpOrLater) return {atNone, 0};
  if (defaults.options.has(boCustomAnimation)) {
    AnimationStyle style = defaults.customAnimationStyle > atBlend ? atNone : defaults.customAnimationStyle;
    return {style, int(std::min<std::uint32_t>(defaults.customAnimationTime, 0x7FFFFFFF))};
  }
  if (!tooltipAnimation) return {atNone, 100};
  return {tooltipFade ? atBlend : atSlide, 100};
}

unsigned animateWindowFlags(AnimationStyle style, BalloonPosition position) {
  const unsigned away = stemOnTop(position) ? kAwVerPositive : kAwVerNegative;
  switch (style) {
    case atNone: return 0;
    case atSlide: return kAwSlide | away;
    case atRoll: return away;
    case atRollHorNeg: return kAwHorNegative;
    case atRollHorPos: return kAwHorPositive;
    case atRollVerNeg: return kAwVerNegative;
    case atRollVerPos: return kAwVerPositive;
    case atSlideHorNeg: return kAwSlide | kAwHorNegative;
    case atSlideHorPos: return kAwSlide | kAwHorPositive;
    case atSlideVerNeg: return kAwSlide | kAwVerNegative;
    case atSlideVerPos: return kAwSlide | kAwVerPositive;
    case atCenter: return kAwCenter;
    case atBlend: return kAwBlend;
  }
  return 0;
}

// ---- Measuring ----

BalloonLayout measureBalloon(const BalloonContent& c) {
  BalloonLayout l;
  const Size header = clampSize(c.header);
  const Size icon = clampSize(c.icon);
  const Size text = clampSize(c.text);

  Rect& hb = l.headerBlock;
  if (c.hasHeader) {
    hb.right = header.width + 13;
    hb.bottom = header.height + 11;
    if (c.hasIcon) {
      hb.right += icon.width + 8;
      hb.bottom = std::max(hb.bottom, icon.height + 11);
    }
  } else if (c.hasIcon) {
    hb.right = icon.width + 11;
    hb.bottom = icon.height + 11;
  }
  if (c.closeButton) {
    hb.right += 20;
    hb.bottom = std::max(hb.bottom, 20);
  }

  if (c.hasText) l.textBlock = {0, 0, text.width + 27, text.height};

  if (hb.empty()) {
    hb.bottom = 9;
    l.headerHeight = 7;
    l.sizeClass = 0;
    l.stemHeight = 8, l.stemWidth = 8, l.stemOffset = 16;
  } else {
    hb.right += 12;
    l.headerHeight = hb.bottom + 1;
    l.sizeClass = 1;
    l.stemHeight = 16, l.stemWidth = 16, l.stemOffset = 15;
  }

  // A nearly empty balloon would put its stem past the body's far edge: widen it so the
  // stem's base stays on the body.
  l.width = std::max({l.textBlock.right, hb.right, l.stemOffset + l.stemWidth + 3});
  l.height = hb.bottom + l.textBlock.bottom + l.stemHeight + 13;
  l.stemLift = clampExtent(c.stemLift);
  l.showIcon = c.hasIcon;
  l.iconWidth = c.hasIcon ? icon.width : 0;
  l.iconHeight = c.hasIcon ? icon.height : 0;
  return l;
}

// ---- Position and placement ----

int contentTop(BalloonPosition p, const BalloonLayout& layout) {
  return stemOnTop(p) ? layout.stemHeight : 0;
}

Point balloonOffset(BalloonPosition p, const BalloonLayout& l) {
  const int leftX = -(l.width - l.stemOffset);
  const int rightX = -l.stemOffset;
  const int upY = -(l.height + l.stemLift);
  switch (p) {
    case bpRightDown: return {rightX, 0};
    case bpLeftUp: return {leftX, upY};
    case bpRightUp: return {rightX, upY};
    default: return {leftX, 0};  // bpAuto, bpLeftDown
  }
}

Rect balloonRectAt(Point point, BalloonPosition p, const BalloonLayout& l) {
  const Point o = balloonOffset(p, l);
  // Screen coordinates are far smaller; the clamp only keeps nonsense from overflowing.
  const int left = std::clamp(point.x, -kMaxBalloonCoord, kMaxBalloonCoord) + o.x;
  const int top = std::clamp(point.y, -kMaxBalloonCoord, kMaxBalloonCoord) + o.y;
  return {left, top, left + l.width, top + l.height};
}

Point stemTip(const Rect& r, BalloonPosition p, const BalloonLayout& l) {
  switch (p) {
    case bpRightDown: return {r.left + l.stemOffset, r.top};
    case bpLeftUp: return {r.right - l.stemOffset, r.bottom};
    case bpRightUp: return {r.left + l.stemOffset, r.bottom};
    default: return {r.right - l.stemOffset, r.top};
  }
}

BalloonPosition autoPosition(Point point, const Rect& workArea) {
  const bool leftHalf = 2 * std::int64_t(point.x) < std::int64_t(workArea.left) + workArea.right;
  const bool upperHalf = 2 * std::int64_t(point.y) < std::int64_t(workArea.top) + workArea.bottom;
  if (upperHalf) return leftHalf ? bpLeftUp : bpRightUp;
  return leftHalf ? bpLeftDown : bpRightDown;
}

BalloonPlacement placeBalloon(const BalloonLayout& l, BalloonPosition requested,
                              Point point, const Rect& work) {
  BalloonPosition pos = requested > bpRightUp ? bpAuto : requested;
  Rect r = balloonRectAt(point, pos, l);
  if (pos == bpAuto) {
    pos = autoPosition(point, work);
    r = balloonRectAt(point, pos, l);
  }
  return flipBalloon(l, pos, r, work);
}

BalloonPlacement flipBalloon(const BalloonLayout& l, BalloonPosition position, const Rect& placed,
                             const Rect& work) {
  // bpAuto's rectangle is bpLeftDown's; the flips need a side to turn from.
  BalloonPosition pos = position == bpAuto || position > bpRightUp ? bpLeftDown : position;
  Rect r = placed;
  // Each test looks at the rectangle as placed; the move comes once, at the end.
  const BalloonPosition before = pos;
  if (r.bottom > work.bottom && stemOnTop(pos)) pos = pos == bpLeftDown ? bpLeftUp : bpRightUp;
  if (r.right > work.right && !bodyExtendsLeft(pos)) pos = pos == bpRightDown ? bpLeftDown : bpLeftUp;
  if (r.left < work.left && bodyExtendsLeft(pos)) pos = pos == bpLeftDown ? bpRightDown : bpRightUp;
  if (r.top < work.top && !stemOnTop(pos)) pos = pos == bpLeftUp ? bpLeftDown : bpRightDown;
  if (pos != before) {
    const Point a = balloonOffset(before, l), b = balloonOffset(pos, l);
    r = offsetRect(r, b.x - a.x, b.y - a.y);
  }
  return {pos, r, contentTop(pos, l)};
}

HintBalloonFrame hintBalloonFrame(const BalloonLayout& l, BalloonPosition position, const Rect& hintRect,
                                  const Rect& work) {
  HintBalloonFrame f;
  f.placement = flipBalloon(l, position, hintRect, work);
  f.bounds = f.placement.rect;
  f.bounds.bottom += kHintExtraHeight;
  f.layout = l;
  f.layout.height += kHintExtraHeight;
  return f;
}

Rect confineToScreen(const Rect& r, const Rect& screen) {
  const std::int64_t w = std::int64_t(r.right) - r.left, h = std::int64_t(r.bottom) - r.top;
  std::int64_t left = r.left, top = r.top;
  if (top + h > screen.bottom) top = screen.bottom - h;
  if (left + w > screen.right) left = screen.right - w;
  // Left and top win when the balloon is larger than the screen: its start stays readable.
  if (left < screen.left) left = screen.left;
  if (top < screen.top) top = screen.top;
  return {int(left), int(top), int(left + w), int(top + h)};
}

// ---- Shape and painting ----

BalloonShape balloonShape(const BalloonLayout& l, BalloonPosition p) {
  const int W = l.width, H = l.height, h = l.stemHeight, w = l.stemWidth, o = l.stemOffset;
  BalloonShape s;
  switch (p) {
    case bpRightDown: s.stem = {{{o + 1, 0}, {o + 1, h + 1}, {o + w + 2, h + 1}}}; break;
    case bpLeftUp:
      s.stem = {{{W - o - 1, H + 1}, {W - o - 1, H - h - 1}, {W - o - w - 2, H - h - 1}}};
      break;
    case bpRightUp: s.stem = {{{o + 1, H}, {o + 1, H - h - 1}, {o + w + 2, H - h - 1}}}; break;
    default: s.stem = {{{W - o - 1, 0}, {W - o - 1, h + 1}, {W - o - w - 2, h + 1}}}; break;
  }
  s.body = stemOnTop(p) ? Rect{1, h + 1, W, H - 3} : Rect{1, 1, W, H - h};
  return s;
}

Rect closeButtonRect(int clientWidth, int top) {
  return {clientWidth - 22, top + 5, clientWidth - 6, top + 21};
}

BalloonPaintRects balloonPaintRects(const BalloonLayout& l, int top, bool closeButton, bool asHint) {
  BalloonPaintRects r;
  r.icon = {12, top + (asHint ? 8 : 7)};
  r.header = {l.showIcon ? l.iconWidth + 20 : 12, top + 8, l.width, l.height};
  r.text = {12, top + l.headerHeight, l.width, l.height};
  if (closeButton) r.closeButton = closeButtonRect(l.width, top);
  return r;
}

// ---- Close button ----

void CloseButtonTracker::reset(const Rect& button, bool shown) {
  rect_ = button;
  shown_ = shown;
  pressed_ = false;
  captured_ = false;
  look_ = CloseButtonLook::Flat;
}

bool CloseButtonTracker::setLook(CloseButtonLook look) {
  if (look == look_) return false;
  look_ = look;
  return true;
}

CloseButtonEffect CloseButtonTracker::leftDown(Point p) {
  CloseButtonEffect e;
  if (!shown_ || !rectContains(rect_, p)) return e;
  pressed_ = true;
  e.captureMouse = !captured_;
  captured_ = true;
  e.redraw = setLook(CloseButtonLook::HotPushed);
  return e;
}

CloseButtonEffect CloseButtonTracker::mouseMove(Point p) {
  CloseButtonEffect e;
  if (!shown_) return e;
  if (rectContains(rect_, p)) {
    e.redraw = setLook(pressed_ ? CloseButtonLook::HotPushed : CloseButtonLook::Hot);
  } else {
    pressed_ = false;  // leaving cancels the press, even if the mouse comes back
    e.redraw = setLook(CloseButtonLook::Flat);
  }
  return e;
}

CloseButtonEffect CloseButtonTracker::leftUp(Point p) {
  CloseButtonEffect e;
  if (!captured_) return e;  // not our press: the release belongs to someone else
  captured_ = false;
  e.releaseCapture = true;
  if (pressed_) {
    pressed_ = false;
    const bool inside = rectContains(rect_, p);
    setLook(inside ? CloseButtonLook::Hot : CloseButtonLook::Flat);
    e.redraw = true;
    e.hideBalloon = inside;
  }
  return e;
}

// ---- Anchor control ----

AnchorReaction anchorReaction(unsigned message, Point tip, int clientWidth, int clientHeight) {
  switch (message) {
    case kMsgMove: return AnchorReaction::Follow;
    case kMsgSize:
      return rectContains(Rect{0, 0, clientWidth, clientHeight}, tip) ? AnchorReaction::None
                                                                      : AnchorReaction::Hide;
    case kMsgClose:
    case kMsgShowWindow: return AnchorReaction::Hide;
    default: return AnchorReaction::None;
  }
}

// ---- Fade and visible time ----

int fadeAlpha(std::int64_t elapsedMs, std::int64_t durationMs) {
  if (durationMs <= 0 || elapsedMs >= durationMs) return 255;
  if (elapsedMs <= 0) return 0;
  if (elapsedMs <= INT64_MAX / 255) return int(255 * elapsedMs / durationMs);
  return int(255.0L * elapsedMs / durationMs);  // too long for exact integers; rounding is moot
}

BalloonStep BalloonTimeline::show(std::uint32_t nowMs, std::int64_t fadeMs, std::int64_t visibleMs) {
  const bool replaced = phase_ == BalloonPhase::FadingIn || phase_ == BalloonPhase::Visible;
  ++serial_;
  start_ = nowMs;
  fadeMs_ = std::clamp<std::int64_t>(fadeMs, 0, kMaxDurationMs);
  visibleMs_ = std::clamp<std::int64_t>(visibleMs, 0, kMaxDurationMs);
  phase_ = fadeMs_ > 0 ? BalloonPhase::FadingIn : BalloonPhase::Visible;
  alpha_ = 0;
  BalloonStep s = stepAt(nowMs);
  s.replaced = replaced;
  return s;
}

BalloonStep BalloonTimeline::tick(std::uint32_t nowMs) { return stepAt(nowMs); }

void BalloonTimeline::hide() {
  if (phase_ == BalloonPhase::FadingIn || phase_ == BalloonPhase::Visible) {
    phase_ = BalloonPhase::Hidden;
    alpha_ = 0;
  }
}

BalloonStep BalloonTimeline::stepAt(std::uint32_t nowMs) {
  BalloonStep s;
  if (phase_ != BalloonPhase::FadingIn && phase_ != BalloonPhase::Visible) {
    s.phase = phase_;
    s.alpha = alpha_;
    return s;
  }
  // Unsigned difference survives the clock's wrap; a stamp from before show() reads as 0.
  std::int64_t elapsed = std::uint32_t(nowMs - start_);
  if (elapsed >= (std::int64_t(1) << 31)) elapsed = 0;

  if (elapsed < fadeMs_) {
    phase_ = BalloonPhase::FadingIn;
    alpha_ = fadeAlpha(elapsed, fadeMs_);
    s.timerMs = int(std::min<std::int64_t>(kFrameMs, fadeMs_ - elapsed));
  } else if (visibleMs_ > 0 && elapsed >= fadeMs_ + visibleMs_) {
    phase_ = BalloonPhase::Hidden;
    alpha_ = 0;
    s.hideNow = true;
  } else {
    phase_ = BalloonPhase::Visible;
    alpha_ = 255;
    if (visibleMs_ > 0) s.timerMs = int(fadeMs_ + visibleMs_ - elapsed);
  }
  s.phase = phase_;
  s.alpha = alpha_;
  return s;
}

}  // namespace vrin
