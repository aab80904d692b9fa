#include "balloon/pure/balloon_layout.h"

#include <gtest/gtest.h>

#include <climits>

using namespace vrin;

namespace {

// Header "Vrin alert" (60 x 13 in bold), information icon, close button, one line of text.
BalloonLayout alertLayout() {
  BalloonContent c;
  c.hasHeader = true, c.header = {60, 13};
  c.hasIcon = true, c.icon = {16, 16};
  c.closeButton = true;
  c.hasText = true, c.text = {150, 13};
  return measureBalloon(c);
}

const Rect kWork{0, 0, 1024, 738};  // 1024 x 768 screen, taskbar at the bottom

}  // namespace

TEST(BalloonLayoutMeasure, EmptyHeaderNoIconNoCloseUsesTheSmallStem) {
  BalloonContent c;
  c.hasText = true, c.text = {100, 13};
  BalloonLayout l = measureBalloon(c);
  EXPECT_EQ(l.sizeClass, 0);
  EXPECT_EQ(l.stemHeight, 8);
  EXPECT_EQ(l.stemWidth, 8);
  EXPECT_EQ(l.stemOffset, 16);
  EXPECT_EQ(l.headerHeight, 7);
  EXPECT_EQ(l.width, 127);
  EXPECT_EQ(l.height, 9 + 13 + 8 + 13);
  EXPECT_EQ(contentTop(bpLeftDown, l), 8);
  EXPECT_EQ(contentTop(bpRightUp, l), 0);
}

TEST(BalloonLayoutMeasure, HeaderIconAndCloseButton) {
  BalloonLayout l = alertLayout();
  // 60 + 13, + 16 + 8 for the icon, + 20 for the button, + 12.
  EXPECT_EQ(l.headerBlock.right, 129);
  EXPECT_EQ(l.headerBlock.bottom, 27);  // icon 16 + 11 beats text 13 + 11
  EXPECT_EQ(l.headerHeight, 28);
  EXPECT_EQ(l.sizeClass, 1);
  EXPECT_EQ(l.stemHeight, 16);
  EXPECT_EQ(l.stemWidth, 16);
  EXPECT_EQ(l.stemOffset, 15);
  EXPECT_EQ(l.width, 177);  // the text block (150 + 27) is wider
  EXPECT_EQ(l.height, 27 + 13 + 16 + 13);

  const int t = contentTop(bpLeftDown, l);
  BalloonPaintRects r = balloonPaintRects(l, t, true);
  EXPECT_EQ(r.header.left, 36);
  EXPECT_EQ(r.header.top, t + 8);
  EXPECT_EQ(r.icon, (Point{12, t + 7}));
  EXPECT_EQ(r.text, (Rect{12, t + 28, 177, 69}));
  EXPECT_EQ(r.closeButton.width(), 16);
  EXPECT_EQ(r.closeButton.height(), 16);
  EXPECT_EQ(l.width - r.closeButton.right, 6);
  EXPECT_EQ(r.closeButton.top, t + 5);
  EXPECT_TRUE(balloonPaintRects(l, t, false).closeButton.empty());
}

TEST(BalloonLayoutMeasure, HeaderBlockVariants) {
  BalloonContent headerOnly;
  headerOnly.hasHeader = true, headerOnly.header = {40, 13};
  BalloonLayout l = measureBalloon(headerOnly);
  EXPECT_EQ(l.headerBlock.right, 40 + 13 + 12);
  EXPECT_EQ(l.headerHeight, 13 + 11 + 1);
  EXPECT_EQ(balloonPaintRects(l, 16, false).header.left, 12);

  BalloonContent iconOnly;
  iconOnly.hasIcon = true, iconOnly.icon = {16, 16};
  l = measureBalloon(iconOnly);
  EXPECT_EQ(l.headerBlock.right, 27 + 12);
  EXPECT_EQ(l.headerBlock.bottom, 27);
  EXPECT_EQ(l.sizeClass, 1);

  BalloonContent tallIcon = headerOnly;
  tallIcon.hasIcon = true, tallIcon.icon = {32, 40};
  l = measureBalloon(tallIcon);
  EXPECT_EQ(l.headerBlock.bottom, 51);
  EXPECT_EQ(balloonPaintRects(l, 16, false).header.left, 52);

  // A close button alone still makes a header block (button square is at least 20 high).
  BalloonContent closeOnly;
  closeOnly.closeButton = true;
  l = measureBalloon(closeOnly);
  EXPECT_EQ(l.sizeClass, 1);
  EXPECT_EQ(l.headerHeight, 21);
  EXPECT_EQ(l.height, 20 + 0 + 16 + 13);
}

TEST(BalloonLayoutMeasure, DegenerateAndHostileSizesStaySane) {
  BalloonLayout empty = measureBalloon({});
  EXPECT_EQ(empty.height, 9 + 8 + 13);
  EXPECT_EQ(empty.width, 27);

  BalloonContent closeOnly;
  closeOnly.closeButton = true;
  // 32 would leave the 16-wide stem hanging off the left of the body.
  EXPECT_EQ(measureBalloon(closeOnly).width, 34);

  BalloonContent hostile;
  hostile.hasHeader = true, hostile.header = {INT_MIN, INT_MIN};
  hostile.hasText = true, hostile.text = {INT_MAX, INT_MAX};
  hostile.hasIcon = true, hostile.icon = {INT_MAX, -5};
  hostile.stemLift = INT_MAX;
  BalloonLayout l = measureBalloon(hostile);
  EXPECT_EQ(l.width, 13 + kMaxBalloonExtent + 8 + 12);  // the clamped icon makes the header widest
  EXPECT_GT(l.height, 0);
  // Placement and shape of such a balloon must not overflow either.
  BalloonPlacement p = placeBalloon(l, bpAuto, {INT_MAX / 4, INT_MAX / 4}, kWork);
  EXPECT_EQ(p.rect.width(), l.width);
  Rect c = confineToScreen(p.rect, Rect{0, 0, 1024, 768});
  EXPECT_EQ(c.left, 0);
  EXPECT_EQ(c.top, 0);
}

TEST(BalloonLayoutPosition, OffsetsPutTheStemOnThePoint) {
  BalloonLayout l = alertLayout();
  const Point pt{500, 400};
  EXPECT_EQ(balloonRectAt(pt, bpLeftDown, l), (Rect{338, 400, 515, 469}));
  EXPECT_EQ(balloonRectAt(pt, bpAuto, l), (Rect{338, 400, 515, 469}));
  EXPECT_EQ(balloonRectAt(pt, bpRightDown, l), (Rect{485, 400, 662, 469}));
  EXPECT_EQ(balloonRectAt(pt, bpLeftUp, l), (Rect{338, 331, 515, 400}));
  EXPECT_EQ(balloonRectAt(pt, bpRightUp, l), (Rect{485, 331, 662, 400}));
  for (BalloonPosition p : {bpLeftDown, bpRightDown, bpLeftUp, bpRightUp})
    EXPECT_EQ(stemTip(balloonRectAt(pt, p, l), p, l), pt) << int(p);

  // The stem lift keeps an upper body further above the point.
  l.stemLift = 10;
  Rect up = balloonRectAt(pt, bpLeftUp, l);
  EXPECT_EQ(up.bottom, 390);
  EXPECT_EQ(stemTip(up, bpLeftUp, l), (Point{500, 390}));
}

TEST(BalloonLayoutPosition, AutoChoiceByQuadrant) {
  EXPECT_EQ(autoPosition({100, 100}, kWork), bpLeftUp);
  EXPECT_EQ(autoPosition({900, 100}, kWork), bpRightUp);
  EXPECT_EQ(autoPosition({100, 600}, kWork), bpLeftDown);
  EXPECT_EQ(autoPosition({900, 600}, kWork), bpRightDown);
  // The centre lines count as lower and right.
  EXPECT_EQ(autoPosition({512, 369}, kWork), bpRightDown);
  EXPECT_EQ(autoPosition({511, 368}, kWork), bpLeftUp);
}

TEST(BalloonLayoutPosition, FlipsNearEachCorner) {
  BalloonLayout l = alertLayout();
  struct Case { Point pt; BalloonPosition want; };
  const Case cases[] = {
      {{924, 688}, bpLeftUp},    // lower right: above and left, stem at its bottom right
      {{20, 20}, bpRightDown},   // upper left
      {{1000, 20}, bpLeftDown},  // upper right
      {{20, 700}, bpRightUp},    // lower left
  };
  for (const Case& c : cases) {
    BalloonPlacement p = placeBalloon(l, bpAuto, c.pt, kWork);
    EXPECT_EQ(p.position, c.want) << c.pt.x << "," << c.pt.y;
    EXPECT_EQ(stemTip(p.rect, p.position, l), c.pt);
    EXPECT_EQ(p.contentTop, stemOnTop(p.position) ? 16 : 0);
    EXPECT_GE(p.rect.left, kWork.left);
    EXPECT_GE(p.rect.top, kWork.top);
    EXPECT_LE(p.rect.right, kWork.right);
    EXPECT_LE(p.rect.bottom, kWork.bottom);
  }
  BalloonPlacement corner = placeBalloon(l, bpAuto, {924, 688}, kWork);
  EXPECT_EQ(corner.rect, (Rect{924 + 15 - 177, 688 - 69, 924 + 15, 688}));
}

TEST(BalloonLayoutPosition, NoFlipAwayFromEdgesAndExplicitPositionsFlipToo) {
  BalloonLayout l = alertLayout();
  EXPECT_EQ(placeBalloon(l, bpAuto, {300, 500}, kWork).position, bpLeftDown);
  EXPECT_EQ(placeBalloon(l, bpAuto, {700, 200}, kWork).position, bpRightUp);
  EXPECT_EQ(placeBalloon(l, bpRightUp, {300, 500}, kWork).position, bpRightUp);

  BalloonPlacement p = placeBalloon(l, bpRightDown, {1000, 300}, kWork);
  EXPECT_EQ(p.position, bpLeftDown);
  EXPECT_EQ(stemTip(p.rect, p.position, l), (Point{1000, 300}));
  EXPECT_EQ(placeBalloon(l, bpLeftUp, {100, 30}, kWork).position, bpRightDown);

  // An ordinal out of range behaves as bpAuto.
  EXPECT_EQ(placeBalloon(l, BalloonPosition(9), {924, 688}, kWork).position, bpLeftUp);
}

TEST(BalloonLayoutPosition, AsTheHintFlipsAtTheCursorAndIsFourPixelsTaller) {
  BalloonContent c;
  c.hasHeader = true, c.header = {60, 13};
  c.hasIcon = true, c.icon = {16, 16};
  c.hasText = true, c.text = {150, 13};
  c.stemLift = 32;
  const BalloonLayout l = measureBalloon(c);
  // Below a cursor at (300, 300): the stem tip 32 pixels lower, the body below and left.
  const Rect below = balloonRectAt({300, 332}, bpAuto, l);
  HintBalloonFrame f = hintBalloonFrame(l, bpAuto, below, kWork);
  EXPECT_EQ(f.placement.position, bpLeftDown);
  EXPECT_EQ(f.placement.rect, below);
  EXPECT_EQ(f.bounds, (Rect{below.left, below.top, below.right, below.bottom + 4}));
  EXPECT_EQ(f.layout.height, l.height + 4);
  EXPECT_EQ(f.layout.width, l.width);
  EXPECT_EQ(balloonShape(f.layout, bpLeftDown).body.bottom, l.height + 1);

  // Near the bottom it turns above the cursor: the lift takes the body clear of its picture.
  f = hintBalloonFrame(l, bpAuto, balloonRectAt({300, 732}, bpAuto, l), kWork);
  EXPECT_EQ(f.placement.position, bpLeftUp);
  EXPECT_EQ(f.placement.rect.bottom, 700);
  EXPECT_EQ(f.placement.contentTop, 0);
  EXPECT_EQ(f.bounds.bottom, 704);
  // Near the right edge an explicit bpRightDown turns left.
  f = hintBalloonFrame(l, bpRightDown, balloonRectAt({1010, 100}, bpRightDown, l), kWork);
  EXPECT_EQ(f.placement.position, bpLeftDown);
  EXPECT_EQ(stemTip(f.placement.rect, f.placement.position, l), (Point{1010, 100}));

  // The icon sits level with the header in the hint, a pixel above it in a balloon.
  EXPECT_EQ(balloonPaintRects(l, 16, false, true).icon, (Point{12, 24}));
  EXPECT_EQ(balloonPaintRects(l, 16, false).icon, (Point{12, 23}));
}

TEST(BalloonLayoutPosition, WorkAreaNotAtTheOriginComparesEdgesNotSizes) {
  BalloonLayout l = alertLayout();
  // Taskbar at the top: work area 30..768. A body ending at 749 fits.
  const Rect topBar{0, 30, 1024, 768};
  EXPECT_EQ(placeBalloon(l, bpAuto, {300, 680}, topBar).position, bpLeftDown);
  EXPECT_EQ(placeBalloon(l, bpAuto, {300, 720}, topBar).position, bpLeftUp);
  // Taskbar on the left: work area 100..1124. A body ending at 1062 fits.
  const Rect leftBar{100, 0, 1124, 768};
  EXPECT_EQ(placeBalloon(l, bpAuto, {900, 500}, leftBar).position, bpRightDown);
  EXPECT_EQ(placeBalloon(l, bpAuto, {1000, 500}, leftBar).position, bpLeftDown);
  // A point left of a monitor at negative coordinates.
  const Rect second{-1280, 0, 0, 1024};
  BalloonPlacement p = placeBalloon(l, bpAuto, {-1260, 900}, second);
  EXPECT_EQ(p.position, bpRightDown);
  EXPECT_EQ(p.rect.left, -1275);
}

TEST(BalloonLayoutPosition, ConfinementToTheVirtualScreen) {
  const Rect screen{0, 0, 1024, 768};
  EXPECT_EQ(confineToScreen({950, 700, 1127, 769}, screen), (Rect{847, 699, 1024, 768}));
  EXPECT_EQ(confineToScreen({-20, -5, 157, 64}, screen), (Rect{0, 0, 177, 69}));
  EXPECT_EQ(confineToScreen({100, 100, 277, 169}, screen), (Rect{100, 100, 277, 169}));
  // Bigger than the screen: the top-left corner wins.
  EXPECT_EQ(confineToScreen({500, 500, 1700, 1400}, screen), (Rect{0, 0, 1200, 900}));
  // Monitors left of the primary one give a negative left edge.
  const Rect wide{-1280, 0, 1024, 768};
  EXPECT_EQ(confineToScreen({-1300, 10, -1123, 79}, wide), (Rect{-1280, 10, -1103, 79}));
  EXPECT_EQ(confineToScreen({-600, 10, -423, 79}, wide), (Rect{-600, 10, -423, 79}));
  EXPECT_EQ(confineToScreen({900, 10, 1077, 79}, wide), (Rect{847, 10, 1024, 79}));
}

TEST(BalloonLayoutShape, StemAndBodyPerPosition) {
  BalloonLayout l = alertLayout();  // 177 x 69, stem 16 x 16 at 15
  BalloonShape s = balloonShape(l, bpLeftDown);
  EXPECT_EQ(s.stem[0], (Point{161, 0}));
  EXPECT_EQ(s.stem[1], (Point{161, 17}));
  EXPECT_EQ(s.stem[2], (Point{144, 17}));
  EXPECT_EQ(s.body, (Rect{1, 17, 177, 66}));
  EXPECT_EQ(s.corner, 11);
  EXPECT_EQ(balloonShape(l, bpAuto).stem, s.stem);

  s = balloonShape(l, bpRightDown);
  EXPECT_EQ(s.stem[0], (Point{16, 0}));
  EXPECT_EQ(s.stem[2], (Point{33, 17}));

  s = balloonShape(l, bpLeftUp);
  EXPECT_EQ(s.stem[0], (Point{161, 70}));
  EXPECT_EQ(s.stem[1], (Point{161, 52}));
  EXPECT_EQ(s.stem[2], (Point{144, 52}));
  EXPECT_EQ(s.body, (Rect{1, 1, 177, 53}));

  s = balloonShape(l, bpRightUp);
  EXPECT_EQ(s.stem[0], (Point{16, 69}));
  EXPECT_EQ(s.stem[2], (Point{33, 52}));
}

TEST(BalloonLayoutShape, StemBaseAlwaysMeetsTheBody) {
  BalloonContent closeOnly;
  closeOnly.closeButton = true;
  BalloonContent textOnly;
  textOnly.hasText = true, textOnly.text = {0, 13};
  for (const BalloonContent& c : {BalloonContent{}, closeOnly, textOnly}) {
    BalloonLayout l = measureBalloon(c);
    for (BalloonPosition p : {bpLeftDown, bpRightDown, bpLeftUp, bpRightUp}) {
      BalloonShape s = balloonShape(l, p);
      for (const Point& pt : s.stem) {
        EXPECT_GE(pt.x, s.body.left) << int(p);
        EXPECT_LE(pt.x, s.body.right) << int(p);
      }
      const int baseY = s.stem[2].y;
      EXPECT_GE(baseY, s.body.top) << int(p);
      EXPECT_LE(baseY, s.body.bottom) << int(p);
    }
  }
}

TEST(BalloonSettings, ProgramBalloonAndOptionOverrides) {
  BalloonDefaults pop;
  pop.options = {boShowCloseBtn, boCustomAnimation};
  pop.defaultHeader = "Vrin killed popup";
  pop.customAnimationTime = 300;
  BalloonRequest req{"Vrin alert", "Pop killed:http://x/", ikInformation, -1, 2000};
  ResolvedBalloon b = resolveBalloon(pop, req);
  EXPECT_EQ(b.header, "Vrin alert");
  EXPECT_TRUE(b.showHeader);
  EXPECT_TRUE(b.showIcon);
  EXPECT_TRUE(b.showCloseButton);
  EXPECT_EQ(b.position, bpAuto);
  EXPECT_EQ(b.visibleMs, 2000);
  EXPECT_EQ(chooseBalloonAnimation(pop, true, false, false), (BalloonAnimation{atBlend, 300}));
  EXPECT_TRUE(usesLayeredFade(atBlend));

  BalloonDefaults d;
  d.options = {boUseDefaultHeader, boUseDefaultIcon, boUseDefaultImageIndex};
  d.defaultHeader = "Vrin killed popup";
  d.defaultIcon = ikNone;
  d.defaultImageIndex = 4;
  b = resolveBalloon(d, req);
  EXPECT_EQ(b.header, "Vrin killed popup");
  EXPECT_EQ(b.icon, ikNone);
  EXPECT_EQ(b.imageIndex, 4);
  EXPECT_FALSE(b.showIcon);
  EXPECT_FALSE(b.showCloseButton);

  BalloonRequest custom{"", "x", ikCustom, -1, 0};
  b = resolveBalloon(BalloonDefaults{}, custom);
  EXPECT_FALSE(b.showHeader);
  EXPECT_FALSE(b.showIcon);
  custom.imageIndex = -2;  // only -1 means "no picture"
  EXPECT_TRUE(resolveBalloon(BalloonDefaults{}, custom).showIcon);
  custom.icon = IconKind(9);
  EXPECT_EQ(resolveBalloon(BalloonDefaults{}, custom).icon, ikInformation);
}

TEST(BalloonSettings, IconSizeSourceAndSound) {
  const BalloonImages list{true, 3, 24, 20};
  EXPECT_EQ(balloonIconSize(ikCustom, 1, list), (Size{24, 20}));
  EXPECT_EQ(balloonIconSize(ikCustom, 3, list), (Size{16, 16}));
  EXPECT_EQ(balloonIconSize(ikCustom, 0, BalloonImages{}), (Size{16, 16}));
  EXPECT_EQ(balloonIconSize(ikNone, 0, list), (Size{0, 0}));
  EXPECT_EQ(balloonIconSize(ikWarning, 1, list), (Size{16, 16}));

  using S = BalloonIconSource;
  EXPECT_EQ(balloonIconSource(ikCustom, 2, list), (S{S::Custom, 2}));
  EXPECT_EQ(balloonIconSource(ikCustom, 3, list), (S{S::Standard, 2}));
  EXPECT_EQ(balloonIconSource(ikCustom, -1, list), (S{S::Standard, 2}));
  EXPECT_EQ(balloonIconSource(ikNone, 0, list).kind, S::None);
  EXPECT_EQ(balloonIconSource(ikApplication, 0, list), (S{S::Standard, 0}));
  EXPECT_EQ(balloonIconSource(ikWarning, 0, list), (S{S::Standard, 4}));

  EXPECT_EQ(balloonSoundKey(ikError), "\\AppEvents\\Schemes\\Apps\\.Default\\SystemHand\\.Current");
  EXPECT_STREQ(balloonSoundEvent(ikCustom), "SystemNotification");
}

TEST(BalloonSettings, AnimationChoiceAndFlags) {
  BalloonDefaults d;  // no custom animation
  EXPECT_EQ(chooseBalloonAnimation(d, false, true, true), (BalloonAnimation{atNone, 0}));
  EXPECT_EQ(chooseBalloonAnimation(d, true, true, true), (BalloonAnimation{atBlend, 100}));
  EXPECT_EQ(chooseBalloonAnimation(d, true, true, false), (BalloonAnimation{atSlide, 100}));
  EXPECT_EQ(chooseBalloonAnimation(d, true, false, true).style, atNone);
  d.options = {boCustomAnimation};
  d.customAnimationStyle = atCenter;
  d.customAnimationTime = 0xFFFFFFFFu;
  EXPECT_EQ(chooseBalloonAnimation(d, true, false, false), (BalloonAnimation{atCenter, 0x7FFFFFFF}));
  EXPECT_EQ(chooseBalloonAnimation(d, false, false, false).style, atNone);

  EXPECT_EQ(animateWindowFlags(atSlide, bpLeftDown), kAwSlide | kAwVerPositive);
  EXPECT_EQ(animateWindowFlags(atSlide, bpRightUp), kAwSlide | kAwVerNegative);
  EXPECT_EQ(animateWindowFlags(atRoll, bpRightDown), kAwVerPositive);
  EXPECT_EQ(animateWindowFlags(atRoll, bpLeftUp), kAwVerNegative);
  // Explicit directions ignore the stem.
  EXPECT_EQ(animateWindowFlags(atSlideVerPos, bpLeftUp), kAwSlide | kAwVerPositive);
  EXPECT_EQ(animateWindowFlags(atNone, bpLeftUp), 0u);
  EXPECT_EQ(animateWindowFlags(AnimationStyle(40), bpLeftUp), 0u);
  EXPECT_EQ(BalloonOptions({boShowCloseBtn, boCustomAnimation}).bits, 0x18);
}

TEST(BalloonCloseButton, PressAndReleaseInsideCloses) {
  CloseButtonTracker t;
  t.reset(closeButtonRect(177, 16), true);  // 155,21 .. 171,37
  CloseButtonEffect e = t.mouseMove({160, 25});
  EXPECT_TRUE(e.redraw);
  EXPECT_EQ(t.look(), CloseButtonLook::Hot);
  EXPECT_FALSE(t.mouseMove({161, 26}).redraw);  // same look, no repaint
  e = t.leftDown({160, 25});
  EXPECT_TRUE(e.captureMouse);
  EXPECT_TRUE(e.redraw);
  EXPECT_EQ(t.look(), CloseButtonLook::HotPushed);
  e = t.leftUp({162, 30});
  EXPECT_TRUE(e.releaseCapture);
  EXPECT_TRUE(e.hideBalloon);
  EXPECT_TRUE(e.redraw);
  EXPECT_FALSE(t.captured());
  EXPECT_FALSE(t.pressed());
}

TEST(BalloonCloseButton, ReleaseOutsideOrAfterLeavingDoesNotClose) {
  CloseButtonTracker t;
  t.reset(closeButtonRect(177, 16), true);
  // Released outside with no move in between.
  t.leftDown({160, 25});
  CloseButtonEffect e = t.leftUp({100, 50});
  EXPECT_TRUE(e.releaseCapture);
  EXPECT_TRUE(e.redraw);
  EXPECT_FALSE(e.hideBalloon);
  EXPECT_EQ(t.look(), CloseButtonLook::Flat);

  // Leaving clears the press; coming back only hovers.
  t.leftDown({160, 25});
  e = t.mouseMove({171, 25});  // the right edge is outside
  EXPECT_TRUE(e.redraw);
  EXPECT_FALSE(t.pressed());
  EXPECT_EQ(t.look(), CloseButtonLook::Flat);
  t.mouseMove({165, 30});
  EXPECT_EQ(t.look(), CloseButtonLook::Hot);
  e = t.leftUp({165, 30});
  EXPECT_TRUE(e.releaseCapture);  // the press's capture is still given back
  EXPECT_FALSE(e.hideBalloon);

  // Presses elsewhere on the body and stray releases do nothing.
  e = t.leftDown({40, 40});
  EXPECT_FALSE(e.captureMouse || e.redraw);
  e = t.leftUp({160, 25});
  EXPECT_FALSE(e.releaseCapture || e.hideBalloon);

  // Without a close button nothing reacts.
  t.reset(closeButtonRect(177, 16), false);
  EXPECT_FALSE(t.leftDown({160, 25}).captureMouse);
  EXPECT_FALSE(t.leftUp({160, 25}).hideBalloon);
}

TEST(BalloonAnchor, ReactionsToTheAnchorControl) {
  const Point tip{100, 50};
  EXPECT_EQ(anchorReaction(0x0003, tip, 0, 0), AnchorReaction::Follow);
  EXPECT_EQ(anchorReaction(0x0005, tip, 200, 100), AnchorReaction::None);
  EXPECT_EQ(anchorReaction(0x0005, tip, 100, 100), AnchorReaction::Hide);
  EXPECT_EQ(anchorReaction(0x0005, tip, 200, 50), AnchorReaction::Hide);
  EXPECT_EQ(anchorReaction(0x0005, {-1, 10}, 200, 100), AnchorReaction::Hide);
  EXPECT_EQ(anchorReaction(0x0010, tip, 200, 100), AnchorReaction::Hide);
  EXPECT_EQ(anchorReaction(0x0018, tip, 200, 100), AnchorReaction::Hide);
  EXPECT_EQ(anchorReaction(0x000F, tip, 200, 100), AnchorReaction::None);
}

TEST(BalloonFade, AlphaRisesLinearlyOverTheFade) {
  EXPECT_EQ(fadeAlpha(0, 300), 0);
  EXPECT_EQ(fadeAlpha(150, 300), 127);
  EXPECT_EQ(fadeAlpha(299, 300), 254);
  EXPECT_EQ(fadeAlpha(300, 300), 255);
  EXPECT_EQ(fadeAlpha(5000, 300), 255);
  EXPECT_EQ(fadeAlpha(-20, 300), 0);
  EXPECT_EQ(fadeAlpha(10, 0), 255);
  EXPECT_EQ(fadeAlpha(std::int64_t(1) << 62, INT64_MAX), 127);
}

TEST(BalloonFade, FadeThenVisibleTimeThenHide) {
  BalloonTimeline tl;
  BalloonStep s = tl.show(1000, 300, 2000);
  EXPECT_EQ(s.phase, BalloonPhase::FadingIn);
  EXPECT_EQ(s.alpha, 0);
  EXPECT_EQ(s.timerMs, BalloonTimeline::kFrameMs);
  EXPECT_FALSE(s.replaced);

  int last = 0;
  std::uint32_t now = 1000;
  while (tl.phase() == BalloonPhase::FadingIn) {
    now += std::uint32_t(s.timerMs);
    s = tl.tick(now);
    EXPECT_GE(s.alpha, last);
    last = s.alpha;
  }
  EXPECT_EQ(now, 1300u);  // the last frame lands on the end of the fade
  EXPECT_EQ(s.phase, BalloonPhase::Visible);
  EXPECT_EQ(s.alpha, 255);
  EXPECT_EQ(s.timerMs, 2000);

  EXPECT_EQ(tl.tick(3299).timerMs, 1);
  s = tl.tick(3300);
  EXPECT_TRUE(s.hideNow);
  EXPECT_EQ(s.phase, BalloonPhase::Hidden);
  s = tl.tick(3400);  // a stray tick after the end
  EXPECT_FALSE(s.hideNow);
  EXPECT_EQ(s.timerMs, -1);

  // A tick that comes very late goes straight to the end.
  tl.show(0, 300, 2000);
  EXPECT_TRUE(tl.tick(5000).hideNow);
}

TEST(BalloonFade, NewBalloonReplacesTheCurrentOneMidFade) {
  BalloonTimeline tl;
  tl.show(0, 300, 2000);
  EXPECT_EQ(tl.tick(150).alpha, 127);
  const std::uint32_t first = tl.serial();
  BalloonStep s = tl.show(150, 300, 2000);
  EXPECT_TRUE(s.replaced);
  EXPECT_NE(tl.serial(), first);
  EXPECT_EQ(s.phase, BalloonPhase::FadingIn);
  EXPECT_EQ(s.alpha, 0);
  EXPECT_EQ(tl.tick(450).phase, BalloonPhase::Visible);
  // The visible time counts from the second balloon: the first would have ended at 2300.
  EXPECT_FALSE(tl.tick(2300).hideNow);
  EXPECT_TRUE(tl.tick(2450).hideNow);

  // Replacing a fully visible one is a replacement too; one shown after hiding is not.
  tl.show(10000, 300, 2000);
  tl.tick(10400);
  EXPECT_TRUE(tl.show(10500, 300, 2000).replaced);
  tl.hide();
  EXPECT_EQ(tl.phase(), BalloonPhase::Hidden);
  EXPECT_EQ(tl.tick(10600).timerMs, -1);
  EXPECT_FALSE(tl.show(10700, 300, 2000).replaced);
}

TEST(BalloonFade, NoTimeoutNoFadeClockWrapAndHugeValues) {
  BalloonTimeline tl;
  BalloonStep s = tl.show(0, 300, 0);  // 0 or below: stays until closed
  s = tl.tick(300);
  EXPECT_EQ(s.phase, BalloonPhase::Visible);
  EXPECT_EQ(s.timerMs, -1);
  EXPECT_FALSE(tl.tick(0x7FFFFFF0u).hideNow);
  tl.show(0, 300, -5);
  EXPECT_FALSE(tl.tick(100000).hideNow);

  s = tl.show(0, 0, 2000);  // no fade: fully visible at once
  EXPECT_EQ(s.phase, BalloonPhase::Visible);
  EXPECT_EQ(s.alpha, 255);
  EXPECT_EQ(s.timerMs, 2000);

  tl.show(0xFFFFFF00u, 300, 2000);
  s = tl.tick(0x10u);  // 272 ms later, across the wrap
  EXPECT_EQ(s.phase, BalloonPhase::FadingIn);
  EXPECT_EQ(s.alpha, 255 * 272 / 300);
  EXPECT_TRUE(tl.tick(0xFFFFFF00u + 2300u).hideNow);

  tl.show(1000, 300, 2000);
  EXPECT_EQ(tl.tick(990).alpha, 0);  // a stamp from just before the show

  s = tl.show(0, INT64_MAX, INT64_MAX);
  EXPECT_EQ(s.timerMs, BalloonTimeline::kFrameMs);
  s = tl.tick(0x30000000u);  // past the (clamped) fade, inside the visible time
  EXPECT_EQ(s.phase, BalloonPhase::Visible);
  EXPECT_EQ(s.timerMs, (1 << 30) - 0x30000000);
  EXPECT_FALSE(s.hideNow);
}
