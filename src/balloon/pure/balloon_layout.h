#pragma once
// The balloon hint's arithmetic and state, kept free of the window system: settings
// resolution, measuring, placement near the screen edges, the window shape, the paint
// rectangles, the close button's mouse handling and the fade / visible-time timeline.
// The Win32 balloon window measures its texts with DrawText, feeds the sizes in here and
// applies what comes back (SetWindowPos, CreateRoundRectRgn/CreatePolygonRgn, alpha).
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "core/geometry.h"

namespace vrin {

// ---- Enumerations (ordinals are stored in the settings, keep them) ----

enum IconKind : std::uint8_t {
  ikCustom = 0, ikNone, ikApplication, ikError, ikInformation, ikQuestion, ikWarning
};
enum BalloonOption : std::uint8_t {
  boUseDefaultHeader = 0, boUseDefaultIcon, boUseDefaultImageIndex, boShowCloseBtn,
  boCustomAnimation, boPlaySound
};
enum ApplicationHintOption : std::uint8_t {
  ahShowHeaderInHint = 0, ahShowIconInHint, ahUseBalloonAsHint, ahPlaySound
};
// Where the body lies seen from the stem tip (bpLeftDown: body below-left, stem top right).
enum BalloonPosition : std::uint8_t { bpAuto = 0, bpLeftDown, bpRightDown, bpLeftUp, bpRightUp };
enum AnimationStyle : std::uint8_t {
  atNone = 0, atSlide, atRoll, atRollHorNeg, atRollHorPos, atRollVerNeg, atRollVerPos,
  atSlideHorNeg, atSlideHorPos, atSlideVerNeg, atSlideVerPos, atCenter, atBlend
};

// A one-byte set of a small enumeration (bit n = ordinal n), as the settings store keeps it.
template <class E>
struct EnumSet8 {
  std::uint8_t bits = 0;
  constexpr EnumSet8() = default;
  constexpr EnumSet8(std::initializer_list<E> items) {
    for (E e : items) bits = std::uint8_t(bits | (1u << unsigned(e)));
  }
  constexpr bool has(E e) const { return (bits >> unsigned(e)) & 1u; }
  constexpr EnumSet8 with(E e) const { EnumSet8 s; s.bits = std::uint8_t(bits | (1u << unsigned(e))); return s; }
  constexpr EnumSet8 without(E e) const { EnumSet8 s; s.bits = std::uint8_t(bits & ~(1u << unsigned(e))); return s; }
  constexpr bool operator==(const EnumSet8&) const = default;
};
using BalloonOptions = EnumSet8<BalloonOption>;
using ApplicationHintOptions = EnumSet8<ApplicationHintOption>;

// ---- Settings of one balloon ----

// The component's published settings, with their defaults.
struct BalloonDefaults {
  BalloonOptions options{boShowCloseBtn};
  std::string defaultHeader;
  IconKind defaultIcon = ikInformation;
  int defaultImageIndex = -1;
  ApplicationHintOptions applicationHintOptions{ahShowHeaderInHint, ahShowIconInHint};
  BalloonPosition defaultPosition = bpAuto;
  std::uint32_t customAnimationTime = 100;
  AnimationStyle customAnimationStyle = atBlend;
};

// The arguments of one ShowBalloon call.
struct BalloonRequest {
  std::string header;
  std::string text;
  IconKind icon = ikInformation;
  int imageIndex = -1;
  int visibleMs = 0;
};

// The image list given for ikCustom (assigned = false when there is none).
struct BalloonImages {
  bool assigned = false;
  int count = 0;
  int width = 16, height = 16;
};

struct ResolvedBalloon {
  std::string header;
  std::string text;
  IconKind icon = ikInformation;
  int imageIndex = -1;
  int visibleMs = 0;
  bool showHeader = false;
  bool showIcon = false;
  bool showCloseButton = false;
  BalloonPosition position = bpAuto;
};

// The options override the arguments; the show flags follow from what remains.
ResolvedBalloon resolveBalloon(const BalloonDefaults& defaults, const BalloonRequest& request);

// Measured icon size: the list's picture size for a valid custom index, 0 x 0 for ikNone,
// 16 x 16 otherwise.
Size balloonIconSize(IconKind icon, int imageIndex, const BalloonImages& images);

// What to draw for the icon: a picture of the custom list, one of the five standard icons
// (0 application, 1 error, 2 information, 3 question, 4 warning), or nothing.
struct BalloonIconSource {
  enum Kind { None, Standard, Custom } kind = None;
  int index = 0;
  bool operator==(const BalloonIconSource&) const = default;
};
BalloonIconSource balloonIconSource(IconKind icon, int imageIndex, const BalloonImages& images);

// Sound scheme event of an icon kind ("SystemNotification", "SystemHand", ...) and its key
// as the framework's registry accessor takes it (leading backslash = from the root).
const char* balloonSoundEvent(IconKind icon);
std::string balloonSoundKey(IconKind icon);

// ---- Animation ----

struct BalloonAnimation {
  AnimationStyle style = atNone;
  int timeMs = 0;
  bool operator==(const BalloonAnimation&) const = default;
};
// Before XP there is no animation; boCustomAnimation takes the component's style and time;
// otherwise the system's tooltip settings pick blend, slide or none over 100 ms.
BalloonAnimation chooseBalloonAnimation(const BalloonDefaults& defaults, bool xpOrLater,
                                        bool tooltipAnimation, bool tooltipFade);

// AnimateWindow flag values (named apart from the <windows.h> macros on purpose).
constexpr unsigned kAwHorPositive = 0x1, kAwHorNegative = 0x2, kAwVerPositive = 0x4,
                   kAwVerNegative = 0x8, kAwCenter = 0x10, kAwSlide = 0x40000,
                   kAwBlend = 0x80000;
// Flags for a style; atSlide and atRoll get a vertical direction away from the stem.
// atNone gives 0; callers skip AnimateWindow for it.
unsigned animateWindowFlags(AnimationStyle style, BalloonPosition position);
// atBlend is done by our own layered fade (AnimateWindow's blend blocks the message loop).
constexpr bool usesLayeredFade(AnimationStyle style) { return style == atBlend; }

// ---- Measuring ----

struct BalloonContent {
  bool hasHeader = false;
  Size header;  // measured in bold (DT_CALCRECT, screen-wide box)
  bool hasIcon = false;
  Size icon;
  bool hasText = false;
  Size text;    // measured in regular weight
  bool closeButton = false;
  int stemLift = 0;    // extra distance between point and stem when the body is above
};

struct BalloonLayout {
  int width = 0, height = 0;
  Rect headerBlock;  // after the margins (right and bottom carry the sizes)
  Rect textBlock;
  int headerHeight = 0;
  int sizeClass = 0;  // 0: no header block (small stem), 1: header block
  int stemHeight = 0, stemWidth = 0, stemOffset = 0;
  int stemLift = 0;
  int iconWidth = 0, iconHeight = 0;
  bool showIcon = false;
};

// Sizes are clamped to [0, kMaxBalloonExtent]; a body too narrow to carry its stem is widened.
constexpr int kMaxBalloonExtent = 1 << 16;
constexpr int kMaxBalloonCoord = 1 << 28;  // anchor points are clamped to +-this
BalloonLayout measureBalloon(const BalloonContent& content);

// ---- Position and placement ----

constexpr bool stemOnTop(BalloonPosition p) { return p == bpAuto || p == bpLeftDown || p == bpRightDown; }
constexpr bool bodyExtendsLeft(BalloonPosition p) { return p == bpAuto || p == bpLeftDown || p == bpLeftUp; }
int contentTop(BalloonPosition p, const BalloonLayout& layout);

// Top-left of the window relative to the point its stem should touch.
Point balloonOffset(BalloonPosition p, const BalloonLayout& layout);
// The window rectangle whose stem touches the point.
Rect balloonRectAt(Point point, BalloonPosition p, const BalloonLayout& layout);
// Where the stem tip of a placed rectangle is (the stem lift not included).
Point stemTip(const Rect& r, BalloonPosition p, const BalloonLayout& layout);

// bpAuto's choice from the point against the work area's centre.
BalloonPosition autoPosition(Point point, const Rect& workArea);

struct BalloonPlacement {
  BalloonPosition position = bpLeftDown;
  Rect rect;
  int contentTop = 0;
  bool operator==(const BalloonPlacement&) const = default;
};
// The auto choice, then the flips away from the work area's edges; the stem keeps
// touching the point.
BalloonPlacement placeBalloon(const BalloonLayout& layout, BalloonPosition requested,
                              Point point, const Rect& workArea);
// Keeps the rectangle on the virtual screen (the stem may then miss its point).
Rect confineToScreen(const Rect& r, const Rect& virtualScreen);
// The flips alone, on a rectangle already placed for `position` (bpAuto counts as
// bpLeftDown): away from each work-area edge it crosses, the stem tip staying put.
BalloonPlacement flipBalloon(const BalloonLayout& layout, BalloonPosition position,
                             const Rect& placed, const Rect& workArea);

// ---- The balloon as the application's hint ----

// Every hint window is this much taller than the rectangle it is shown over.
constexpr int kHintExtraHeight = 4;
struct HintBalloonFrame {
  BalloonPlacement placement;  // after the flips
  Rect bounds;                 // the window: the flipped rectangle, kHintExtraHeight taller
  BalloonLayout layout;        // the layout at that height (shape and painting)
};
// `hintRect` is the hint's rectangle at the cursor, placed for `position`.
HintBalloonFrame hintBalloonFrame(const BalloonLayout& layout, BalloonPosition position,
                                  const Rect& hintRect, const Rect& workArea);

// ---- Shape and painting ----

struct BalloonShape {
  std::array<Point, 3> stem;  // CreatePolygonRgn, WINDING
  Rect body;                         // CreateRoundRectRgn(body..., corner, corner)
  int corner = 11;
};
BalloonShape balloonShape(const BalloonLayout& layout, BalloonPosition p);

struct BalloonPaintRects {
  Point icon;  // top-left of the icon (drawn only when shown)
  Rect header;        // DrawText box of the header
  Rect text;          // DrawText box of the message
  Rect closeButton;   // empty without a close button
};
// As the application's hint the icon sits one pixel lower, level with the header.
BalloonPaintRects balloonPaintRects(const BalloonLayout& layout, int contentTop, bool closeButton,
                                    bool asHint = false);
Rect closeButtonRect(int clientWidth, int contentTop);

// ---- The close button under the mouse ----

enum class CloseButtonLook { Flat, Hot, HotPushed };

struct CloseButtonEffect {
  bool captureMouse = false;
  bool releaseCapture = false;
  bool redraw = false;       // the look changed (or a release needs the button repainted)
  bool hideBalloon = false;
};

// Press inside marks it pressed and takes the capture; leaving clears the mark; the next
// release gives the capture back and closes the balloon only when still pressed and inside.
class CloseButtonTracker {
 public:
  void reset(const Rect& button, bool shown);
  CloseButtonEffect leftDown(Point p);
  CloseButtonEffect mouseMove(Point p);
  CloseButtonEffect leftUp(Point p);

  CloseButtonLook look() const { return look_; }
  bool pressed() const { return pressed_; }
  bool captured() const { return captured_; }
  const Rect& rect() const { return rect_; }

 private:
  bool setLook(CloseButtonLook look);
  Rect rect_;
  bool shown_ = false;
  bool pressed_ = false;
  bool captured_ = false;
  CloseButtonLook look_ = CloseButtonLook::Flat;
};

// ---- The anchor control's messages ----

enum class AnchorReaction { None, Follow, Hide };
// What a message to the anchor control means for the balloon: WM_MOVE follows, WM_SIZE
// hides when the recorded stem tip leaves the new client area, WM_CLOSE/WM_SHOWWINDOW hide.
AnchorReaction anchorReaction(unsigned message, Point recordedTip, int clientWidth,
                              int clientHeight);

// ---- Fade-in and visible time ----

enum class BalloonPhase { Idle, FadingIn, Visible, Hidden };

// Alpha of a layered window elapsed ms into a fade of the given length (0 .. 255, linear).
int fadeAlpha(std::int64_t elapsedMs, std::int64_t durationMs);

struct BalloonStep {
  BalloonPhase phase = BalloonPhase::Idle;
  int alpha = 0;          // apply to the layered window now
  bool hideNow = false;   // the visible time ran out: hide the balloon
  bool replaced = false;  // show() took over from a balloon still on screen
  int timerMs = -1;       // call tick() again after this long; -1: no timer needed
};

// One balloon's life on a millisecond clock (GetTickCount; wrap-around is handled).
// show() fades in over fadeMs, then the balloon stays visibleMs (forever when <= 0).
// A second show() replaces the first at once, whatever its phase; ticks are tolerant of
// lateness (a late tick jumps straight to the right phase).
class BalloonTimeline {
 public:
  static constexpr int kFrameMs = 15;
  static constexpr std::int64_t kMaxDurationMs = std::int64_t(1) << 29;  // ~6 days each

  BalloonStep show(std::uint32_t nowMs, std::int64_t fadeMs, std::int64_t visibleMs);
  BalloonStep tick(std::uint32_t nowMs);
  void hide();

  BalloonPhase phase() const { return phase_; }
  int alpha() const { return alpha_; }
  // Changes with every show(): lets the window layer drop a tick meant for a replaced balloon.
  std::uint32_t serial() const { return serial_; }

 private:
  BalloonStep stepAt(std::uint32_t nowMs);
  BalloonPhase phase_ = BalloonPhase::Idle;
  int alpha_ = 0;
  std::uint32_t start_ = 0;
  std::int64_t fadeMs_ = 0;
  std::int64_t visibleMs_ = 0;
  std::uint32_t serial_ = 0;
};

}  // namespace vrin
