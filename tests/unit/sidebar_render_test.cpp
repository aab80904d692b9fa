#include "menus/pure/sidebar_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace vrin {
namespace {

// Classic system colours (0x00BBGGRR), enough for the menus.
MenuColour classic(int index) {
  switch (index) {
    case 4: case 15: return menuColour(192, 192, 192);  // menu, button face
    case 7: case 8: case 18: return menuColour(0, 0, 0);
    case 13: return menuColour(0, 0, 128);               // highlight
    case 14: case 20: return menuColour(255, 255, 255);
    case 16: case 17: return menuColour(128, 128, 128);
    default: return menuColour(1, 2, 3);
  }
}
const SystemColourLookup kClassic = classic;

TEST(SideBarColour, ConversionsKeepTheTwoLayoutsApart) {
  EXPECT_EQ(toPixel(cl::Blue), rgb(0, 0, 255));
  EXPECT_EQ(toPixel(menuColour(1, 2, 3)), rgb(1, 2, 3));
  EXPECT_EQ(fromPixel(rgb(1, 2, 3)), menuColour(1, 2, 3));
  EXPECT_EQ(value(fromPixel(rgb(0xD8, 0xBD, 0xAF))), 0xAFBDD8u);
  EXPECT_EQ(colourToRgb(cl::Highlight, kClassic), menuColour(0, 0, 128));
  EXPECT_EQ(resolvePixel(cl::Highlight, kClassic), rgb(0, 0, 128));
  EXPECT_EQ(colourToRgb(cl::None, kClassic), cl::None);
  EXPECT_EQ(colourToRgb(cl::BtnFace, nullptr), cl::Black);
  EXPECT_EQ(colourToRgb(cl::BtnFace, [](int) { return MenuColour(0xFFFFFFFF); }), MenuColour(0xFFFFFF));
}

TEST(SideBarGradient, VerticalBlueToWhiteOverHundredRows) {
  Image img(3, 100);
  fillGradient(img, {0, 0, 3, 100}, GradientStyle::gsVertical, cl::Blue, cl::White, kClassic);
  EXPECT_EQ(img.at(0, 0), rgb(0, 0, 255));
  EXPECT_EQ(img.at(1, 50), rgb(127, 127, 255));
  EXPECT_EQ(img.at(2, 99), rgb(252, 252, 255));
  for (int y = 0; y < 100; ++y) EXPECT_EQ(img.at(0, y), img.at(2, y));

  fillGradient(img, {0, 0, 3, 100}, GradientStyle::gsVertical, cl::White, cl::Black, kClassic);
  EXPECT_EQ(img.at(0, 1), rgb(253, 253, 253));  // 255 - 255 / 100, truncated toward zero
}

TEST(SideBarGradient, HorizontalAndDiagonals) {
  Image h(100, 4);
  fillGradient(h, {0, 0, 100, 4}, GradientStyle::gsHorizontal, cl::Black, cl::White, kClassic);
  EXPECT_EQ(h.at(0, 3), rgb(0, 0, 0));
  EXPECT_EQ(h.at(50, 2), rgb(127, 127, 127));
  EXPECT_EQ(h.at(99, 0), rgb(252, 252, 252));
  EXPECT_TRUE(std::equal(&h.at(0, 0), &h.at(0, 0) + 100, &h.at(0, 3)));

  Image lr(10, 10), rl(10, 10);
  fillGradient(lr, {0, 0, 10, 10}, GradientStyle::gsDiagonalLeftRight, cl::Black, cl::White, kClassic);
  fillGradient(rl, {0, 0, 10, 10}, GradientStyle::gsDiagonalRightLeft, cl::Black, cl::White, kClassic);
  EXPECT_EQ(lr.at(0, 0), rgb(0, 0, 0));
  EXPECT_EQ(lr.at(9, 9), rgb(229, 229, 229));  // v = trunc(1.8 * 512) = 921; 255 * 921 / 1024
  EXPECT_EQ(lr.at(5, 0), rgb(63, 63, 63));     // v = 256
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(rl.at(9 - x, y), lr.at(x, y));
}

TEST(SideBarGradient, SolidFillsEmptyRectsAndClipping) {
  Image img(4, 4, rgb(9, 9, 9));
  fillGradient(img, {0, 0, 4, 4}, GradientStyle::gsVertical, cl::BtnShadow, cl::BtnShadow, kClassic);
  EXPECT_TRUE(std::all_of(img.pixels.begin(), img.pixels.end(), [](Pixel p) { return p == rgb(128, 128, 128); }));

  Image untouched(4, 4, rgb(9, 9, 9));
  fillGradient(untouched, {0, 2, 4, 2}, GradientStyle::gsVertical, cl::Blue, cl::White, kClassic);
  fillGradient(untouched, {0, 3, 4, 1}, GradientStyle::gsHorizontal, cl::Blue, cl::White, kClassic);
  EXPECT_EQ(untouched, Image(4, 4, rgb(9, 9, 9)));

  // Colours follow the rectangle, not the image: row 0 of the image is row 10 of the gradient.
  Image part(2, 2, 0);
  fillGradient(part, {-3, -10, 1, 90}, GradientStyle::gsVertical, cl::Blue, cl::White, kClassic);
  EXPECT_EQ(part.at(0, 0), rgb(25, 25, 255));
  EXPECT_EQ(part.at(1, 0), 0u);
  fillGradient(part, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, GradientStyle::gsDiagonalRightLeft, cl::Blue, cl::White,
               kClassic);
}

TEST(SideBarPictures, PositionsByAlignment) {
  const Size bar{32, 200};
  auto at = [&](VertAlignment v, HorzAlignment h, Size p = {10, 20}) {
    return picturePosition({1, 2, v, h}, p, bar);
  };
  EXPECT_EQ(at(VertAlignment::vaTop, HorzAlignment::haLeft), (Point{1, 2}));
  EXPECT_EQ(at(VertAlignment::vaBottom, HorzAlignment::haRight), (Point{32 + 1 - 10, 200 + 2 - 20}));
  EXPECT_EQ(at(VertAlignment::vaMiddle, HorzAlignment::haCenter), (Point{11 + 1, 90 + 2}));
  EXPECT_EQ(at(VertAlignment::vaMiddle, HorzAlignment::haCenter, {11, 21}), (Point{10 + 1, 89 + 2}));
  EXPECT_EQ(at(VertAlignment::vaMiddle, HorzAlignment::haCenter, {41, 1}), (Point{-4 + 1, 99 + 2}));
}

std::vector<int> columnsOf(const std::vector<Point>& tiles) {
  std::vector<int> xs;
  for (const Point& p : tiles)
    if (p.y == tiles.front().y) xs.push_back(p.x);
  return xs;
}

TEST(SideBarPictures, TilingOrigins) {
  const Size bar{32, 200}, pic{10, 20};
  auto tiles = [&](HorzAlignment h, int offsetX = 0, VertAlignment v = VertAlignment::vaTop, int offsetY = 0) {
    return tilePositions({offsetX, offsetY, v, h}, pic, bar);
  };
  const auto left = tiles(HorzAlignment::haLeft);
  EXPECT_EQ(columnsOf(left), (std::vector<int>{0, 10, 20, 30}));
  EXPECT_EQ(left.size(), 4u * 11u);  // rows 0, 20, ... 200
  EXPECT_EQ(left.back(), (Point{30, 200}));
  EXPECT_EQ(columnsOf(tiles(HorzAlignment::haRight)), (std::vector<int>{-8, 2, 12, 22, 32}));
  EXPECT_EQ(columnsOf(tiles(HorzAlignment::haCenter)), (std::vector<int>{-4, 6, 16, 26}));
  EXPECT_EQ(columnsOf(tiles(HorzAlignment::haLeft, 15)), (std::vector<int>{-5, 5, 15, 25}));
  // vaBottom: 200 mod 20 - 20 = -20; that row paints nothing and is left out.
  EXPECT_EQ(tiles(HorzAlignment::haLeft, 0, VertAlignment::vaBottom).front().y, 0);
  EXPECT_EQ(tilePositions({0, 0, VertAlignment::vaBottom, HorzAlignment::haLeft}, pic, {32, 190}).front().y, -10);
  EXPECT_EQ(tiles(HorzAlignment::haLeft, 0, VertAlignment::vaMiddle, 7).front().y, -3);  // -10 + 7

  // A far-off offset paints the same as a near one and does not loop for ever.
  EXPECT_EQ(tiles(HorzAlignment::haLeft, -1000005), tiles(HorzAlignment::haLeft, -5));
  EXPECT_EQ(tiles(HorzAlignment::haLeft, INT_MAX).size(), 4u * 11u);
  EXPECT_TRUE(tilePositions({}, {0, 5}, bar).empty());
}

Image twoTone() {  // 2 x 2, bottom-left is the transparent colour
  Image p(2, 2, rgb(1, 1, 1));
  p.at(0, 0) = rgb(200, 0, 0);
  return p;
}

TEST(SideBarPictures, TransparentDrawingStretchAndClipping) {
  Image img(4, 4, rgb(7, 7, 7));
  drawPicture(img, twoTone(), {-1, -1}, true);
  EXPECT_EQ(img.at(0, 0), rgb(7, 7, 7));  // (1,1) of the picture is the key colour
  drawPicture(img, twoTone(), {3, 3}, true);
  EXPECT_EQ(img.at(3, 3), rgb(200, 0, 0));
  drawPicture(img, twoTone(), {0, 0}, false);
  EXPECT_EQ(img.at(1, 1), rgb(1, 1, 1));

  Image big(4, 4, rgb(7, 7, 7));
  stretchPicture(big, twoTone(), {0, 0, 4, 4}, true);
  EXPECT_EQ(big.at(1, 1), rgb(200, 0, 0));
  EXPECT_EQ(big.at(2, 2), rgb(7, 7, 7));
  stretchPicture(big, twoTone(), {0, 0, 4, 4}, false);
  EXPECT_EQ(big.at(3, 3), rgb(1, 1, 1));

  Image broken;  // inconsistent sizes are ignored
  broken.width = 5;
  broken.height = 5;
  drawPicture(img, broken, {0, 0}, true);
  drawPicture(broken, twoTone(), {0, 0}, true);
  frameRect(broken, {0, 0, 5, 5}, 0);
}

TEST(SideBarRender, TrayBarWithFrameAndPartsLeftOut) {
  BarRenderSettings s;
  s.gradientStart = cl::Blue;
  s.gradientEnd = cl::White;
  s.border = cl::Black;
  s.backPicture.placement.horz = HorzAlignment::haCenter;
  Image bar(32, 100, rgb(9, 9, 9));
  renderBarParts(bar, s, defaultBarParts(s, true), kClassic);
  EXPECT_EQ(bar.at(0, 50), rgb(0, 0, 0));
  EXPECT_EQ(bar.at(31, 50), rgb(0, 0, 0));
  EXPECT_EQ(bar.at(5, 0), rgb(0, 0, 0));
  EXPECT_EQ(bar.at(5, 99), rgb(0, 0, 0));
  EXPECT_EQ(bar.at(5, 50), rgb(127, 127, 255));

  s.backPicture.visible = false;  // no background part: no frame
  Image plain(32, 100);
  renderBarParts(plain, s, defaultBarParts(s, true), kClassic);
  EXPECT_EQ(plain.at(0, 0), rgb(0, 0, 255));

  Image keep(32, 100, rgb(9, 9, 9));  // without the gradient part nothing clears the bitmap
  renderBarParts(keep, s, bpPicture | bpCaption, kClassic);
  EXPECT_EQ(keep, Image(32, 100, rgb(9, 9, 9)));
}

TEST(SideBarRender, PicturesOverTheGradient) {
  const Image tile = twoTone();
  Image fore(3, 3, rgb(0, 200, 0));
  BarRenderSettings s;
  s.gradientStart = s.gradientEnd = cl::Blue;
  s.backPicture.picture = &tile;
  s.backPicture.transparent = false;
  s.backPicture.drawStyle = DrawStyle::dsTile;
  s.picture.picture = &fore;
  s.picture.transparent = false;
  EXPECT_TRUE(backPictureCoversBar(s.backPicture));

  Image bar(8, 8, rgb(9, 9, 9));
  renderBarParts(bar, s, bpGradient | bpBackPicture | bpPicture, kClassic);
  EXPECT_EQ(std::count(bar.pixels.begin(), bar.pixels.end(), toPixel(cl::Blue)), 0);
  Image under(8, 8, rgb(9, 9, 9));  // the gradient is skipped under such a picture, drawn or not
  renderBarParts(under, s, bpGradient, kClassic);
  EXPECT_EQ(under, Image(8, 8, rgb(9, 9, 9)));
  EXPECT_EQ(bar.at(0, 0), rgb(200, 0, 0));
  EXPECT_EQ(bar.at(2, 0), rgb(200, 0, 0));
  EXPECT_EQ(bar.at(1, 1), rgb(1, 1, 1));
  EXPECT_EQ(bar.at(2, 5), rgb(0, 200, 0));  // foreground: bottom, centred ((8-3)/2 = 2)
  EXPECT_EQ(bar.at(4, 7), rgb(0, 200, 0));
  EXPECT_NE(bar.at(5, 7), rgb(0, 200, 0));

  s.backPicture.transparent = true;  // a see-through tile lets the gradient show
  Image bar2(8, 8);
  renderBarParts(bar2, s, bpGradient | bpBackPicture, kClassic);
  EXPECT_EQ(bar2.at(1, 1), toPixel(cl::Blue));
}

TEST(SideBarRender, SettlingAndCopyingTheBar) {
  BarStateCore st;
  st.barHeight = 57;  // collected while measuring
  Size size = settleBar(st, 60, {0, 0}, 32);
  EXPECT_EQ(size, (Size{32, 60}));
  EXPECT_FALSE(st.heightPending);
  EXPECT_FALSE(st.barValid);

  st.barValid = true;
  st.markHeightPending();  // next popup, same window height: stays valid
  EXPECT_EQ(settleBar(st, 60, size, 32), size);
  EXPECT_TRUE(st.barValid);
  st.barHeight = 38;  // no client rectangle: the collected sum stands
  st.heightPending = true;
  EXPECT_EQ(settleBar(st, std::nullopt, size, 32), (Size{32, 38}));
  EXPECT_FALSE(st.barValid);
  EXPECT_EQ(settleBar(st, 99, {32, 38}, 32), (Size{32, 38}));  // not pending: untouched

  const Rect item{0, 19, 150, 38};
  BarCopy c = barCopyFor(st, item, 32, {32, 100}, Side::sLeft);
  EXPECT_TRUE(c.render);
  EXPECT_EQ(c.dest, (Rect{0, 0, 32, 100}));
  st.barValid = true;
  c = barCopyFor(st, item, 32, {32, 100}, Side::sLeft);
  EXPECT_FALSE(c.render);
  EXPECT_EQ(c.source, (Rect{0, 19, 32, 38}));
  EXPECT_EQ(c.dest, c.source);
  c = barCopyFor(st, item, 32, {32, 100}, Side::sRight);
  EXPECT_EQ(c.source, (Rect{0, 19, 32, 38}));
  EXPECT_EQ(c.dest, (Rect{118, 19, 150, 38}));
}

TEST(SideBarCaption, BothDirectionsCoverTheSameRowsOneColumnApart) {
  BarCaptionInput in;
  in.caption = "vrin.example";
  in.extent = {100, 23};
  in.bar = {32, 200};
  in.alignment = VertAlignment::vaMiddle;
  in.direction = Direction::dDownToUp;
  const BarCaptionLayout up = layoutBarCaption(in, kClassic);
  ASSERT_EQ(up.draws.size(), 1u);
  EXPECT_EQ(up.escapement, 900);
  EXPECT_EQ(up.draws[0].origin, (Point{4, 150}));  // round(4.0), round(149.5) -> 150
  EXPECT_EQ(up.clip, (Rect{0, 0, 32, 201}));

  in.direction = Direction::dUpToDown;
  const BarCaptionLayout down = layoutBarCaption(in, kClassic);
  EXPECT_EQ(down.escapement, -900);
  EXPECT_EQ(down.draws[0].origin, (Point{4 + 23 + 1, 50}));
  const Rect a = captionTextBox(up.draws[0].origin, Direction::dDownToUp, in.extent);
  const Rect b = captionTextBox(down.draws[0].origin, Direction::dUpToDown, in.extent);
  EXPECT_EQ(a, (Rect{4, 50, 27, 150}));
  EXPECT_EQ(b, (Rect{5, 50, 28, 150}));

  in.extent = {100, 22};  // (32 - 22) / 2 - 0.5 = 4.5 -> 4; 20 wide: 5.5 -> 6
  EXPECT_EQ(layoutBarCaption(in, kClassic).draws[0].origin.x, 4 + 22 + 1);
  in.extent = {101, 20};
  in.direction = Direction::dDownToUp;
  EXPECT_EQ(layoutBarCaption(in, kClassic).draws[0].origin, (Point{6, 150}));  // 150.0
}

TEST(SideBarCaption, EndsCopiesAndColours) {
  BarCaptionInput in;
  in.caption = "x";
  in.extent = {40, 10};
  in.bar = {32, 200};
  in.alignment = VertAlignment::vaTop;
  EXPECT_EQ(layoutBarCaption(in, kClassic).draws[0].origin.y, 6 + 40);
  in.alignment = VertAlignment::vaBottom;
  in.forePictureHeight = 30;
  EXPECT_EQ(layoutBarCaption(in, kClassic).draws[0].origin.y, 200 - 6 - 30);
  in.forePictureAlignment = VertAlignment::vaTop;
  EXPECT_EQ(layoutBarCaption(in, kClassic).draws[0].origin.y, 200 - 6);

  in.depth = 2;  // no shadow, no highlight: one copy whatever the depth
  EXPECT_EQ(layoutBarCaption(in, kClassic).draws.size(), 1u);
  in.highlightColour = cl::BtnHighlight;
  in.shadowColour = cl::Gray;
  in.fontColour = cl::Highlight;
  const auto draws = layoutBarCaption(in, kClassic).draws;
  ASSERT_EQ(draws.size(), 3u);
  const Point o = draws[2].origin;
  EXPECT_EQ(draws[0], (CaptionDraw{{o.x - 2, o.y + 2}, menuColour(255, 255, 255)}));
  EXPECT_EQ(draws[1], (CaptionDraw{{o.x + 2, o.y - 2}, cl::Gray}));
  EXPECT_EQ(draws[2].colour, menuColour(0, 0, 128));

  in.caption = "";
  EXPECT_TRUE(layoutBarCaption(in, kClassic).draws.empty());
}

TEST(SideBarCaption, RotatedFontFields) {
  FontDescription f{"Tahoma", -19, true, true, false, false, FontPitch::fpVariable};
  RotatedFontFields want{-19, 0, -900, 0, 700, true, false, false, 1, 2, "Tahoma"};
  EXPECT_EQ(rotatedFontFields(f, -90), want);
  f = {std::string(40, 'a'), 8, false, false, true, true, FontPitch::fpFixed};
  want = {8, 0, 900, 0, 400, false, true, true, 1, 1, std::string(31, 'a')};
  EXPECT_EQ(rotatedFontFields(f, 90), want);
}

TEST(SideBarFadedLine, FadesBothEndsAndSkipsTheGap) {
  Image img(100, 10, rgb(255, 255, 255));
  drawFadedLine(img, {10, 5, 90, 6}, std::nullopt, 32, rgb(0, 0, 0));
  EXPECT_EQ(img.at(10, 5), rgb(255, 255, 255));  // both ends keep their colour
  EXPECT_EQ(img.at(11, 5), rgb(248, 248, 248));  // 255 - 255 * 1 / 32
  EXPECT_EQ(img.at(41, 5), rgb(8, 8, 8));
  EXPECT_EQ(img.at(42, 5), rgb(0, 0, 0));
  EXPECT_EQ(img.at(58, 5), rgb(0, 0, 0));
  EXPECT_EQ(img.at(89, 5), rgb(248, 248, 248));
  EXPECT_EQ(img.at(90, 5), rgb(255, 255, 255));
  EXPECT_EQ(img.at(50, 4), rgb(255, 255, 255));

  Image gap(100, 10, rgb(255, 255, 255));
  drawFadedLine(gap, {10, 5, 90, 6}, Rect{40, 2, 60, 9}, 32, rgb(0, 0, 0));
  EXPECT_EQ(gap.at(39, 5), rgb(24, 24, 24));  // 255 - 255 * 29 / 32
  for (int x = 40; x < 60; ++x) EXPECT_EQ(gap.at(x, 5), rgb(255, 255, 255)) << x;
  EXPECT_EQ(gap.at(60, 5), rgb(16, 16, 16));  // 255 - 255 * 30 / 32, the right fade starts at 59

  Image clipped(20, 3, rgb(255, 255, 255));  // lines outside the picture are cut, not a crash
  drawFadedLine(clipped, {-50, 1, 500, 2}, std::nullopt, 0, rgb(0, 0, 0));
  EXPECT_EQ(clipped.at(19, 1), rgb(0, 0, 0));
  Image noFade(20, 3, rgb(255, 255, 255));  // without a fade even the end columns take the colour
  drawFadedLine(noFade, {2, 1, 10, 2}, std::nullopt, 0, rgb(0, 0, 0));
  EXPECT_EQ(noFade.at(2, 1), rgb(0, 0, 0));
  EXPECT_EQ(noFade.at(10, 1), rgb(0, 0, 0));
  EXPECT_EQ(noFade.at(11, 1), rgb(255, 255, 255));
  drawFadedLine(clipped, {INT_MIN, INT_MAX, INT_MAX, INT_MAX}, std::nullopt, INT_MAX, rgb(0, 0, 0));
}

TEST(SideBarRadioGlyph, DotShape) {
  const Image g = radioGlyphImage();
  ASSERT_EQ(g.width, 16);
  ASSERT_EQ(g.height, 16);
  EXPECT_EQ(std::count(g.pixels.begin(), g.pixels.end(), rgb(0, 0, 0)), 4 + 4 * 6 + 4);
  EXPECT_EQ(g.at(5, 5), kRadioGlyphBackground);
  EXPECT_EQ(g.at(10, 10), kRadioGlyphBackground);
  EXPECT_EQ(g.at(6, 5), rgb(0, 0, 0));
  EXPECT_EQ(g.at(5, 6), rgb(0, 0, 0));
  EXPECT_EQ(g.at(11, 7), kRadioGlyphBackground);
  EXPECT_EQ(g.at(0, 15), kRadioGlyphBackground);  // the transparent corner
}

// ---- Item bodies ----

ItemDrawInput trayItem() {
  ItemDrawInput in;
  in.itemRect = {0, 0, 200, 19};
  in.barHere = true;
  in.hasImageList = true;
  in.imageCount = 7;
  in.imageIndex = 4;
  in.checkGlyphSize = {12, 12};
  in.captionExtent = {40, 13};
  return in;
}

std::vector<PaintOp> opsOf(const ItemDrawPlan& plan, PaintKind kind) {
  std::vector<PaintOp> out;
  for (const PaintOp& op : plan.ops)
    if (op.kind == kind) out.push_back(op);
  return out;
}

TEST(SideBarItem, StandardItemWithImage) {
  const ItemDrawPlan plan = planItemBody(trayItem(), kClassic);
  EXPECT_EQ(plan.body, (Rect{33, 0, 200, 19}));
  ASSERT_EQ(plan.ops.size(), 3u);
  EXPECT_EQ(plan.ops[0], (PaintOp{.kind = PaintKind::Fill, .rect = {33, 0, 200, 19}, .colour = cl::Menu}));
  EXPECT_EQ(plan.ops[1].kind, PaintKind::ListImage);
  EXPECT_EQ(plan.ops[1].at, (Point{34, 1}));
  EXPECT_FALSE(plan.ops[1].disabled);
  EXPECT_EQ(plan.glyphBox, (Rect{33, 0, 52, 19}));
  EXPECT_EQ(plan.ops[2].kind, PaintKind::Caption);
  EXPECT_EQ(plan.ops[2].rect, (Rect{55, 3, 95, 16}));
  EXPECT_EQ(plan.ops[2].flags, dt::Left | dt::ExpandTabs | dt::SingleLine);
  EXPECT_EQ(plan.ops[2].colour, cl::MenuText);

  ItemDrawInput rtl = trayItem();  // right to left: same glyph, text flags only
  rtl.rightToLeft = true;
  const ItemDrawPlan r = planItemBody(rtl, kClassic);
  EXPECT_EQ(r.ops[1], plan.ops[1]);
  EXPECT_EQ(r.ops[2].flags, plan.ops[2].flags | dt::Right | dt::RtlReading);

  ItemDrawInput later = trayItem();  // after a column break the body takes the whole rectangle
  later.barHere = false;
  EXPECT_EQ(planItemBody(later, kClassic).body, later.itemRect);
  later.barHere = true;
  later.barSide = Side::sRight;
  EXPECT_EQ(itemBodyRect(later), (Rect{0, 0, 167, 19}));
}

TEST(SideBarItem, CheckAndRadioGlyphs) {
  ItemDrawInput in = trayItem();
  in.imageIndex = -1;
  in.checked = true;
  ItemDrawPlan plan = planItemBody(in, kClassic);
  ASSERT_EQ(opsOf(plan, PaintKind::Checker).size(), 1u);
  EXPECT_EQ(opsOf(plan, PaintKind::Checker)[0].rect, (Rect{34, 1, 51, 18}));
  ASSERT_EQ(opsOf(plan, PaintKind::CheckGlyph).size(), 1u);
  EXPECT_EQ(opsOf(plan, PaintKind::CheckGlyph)[0].at, (Point{35 + 2 + 1, 2 + 2 + 1}));
  ASSERT_EQ(opsOf(plan, PaintKind::Edge).size(), 1u);
  EXPECT_EQ(opsOf(plan, PaintKind::Edge)[0].rect, (Rect{34, 1, 52, 19}));
  EXPECT_EQ(opsOf(plan, PaintKind::Edge)[0].flags, edge::SunkenOuter);

  in.radioItem = true;
  EXPECT_EQ(opsOf(planItemBody(in, kClassic), PaintKind::RadioGlyph)[0].at, (Point{36, 3}));
  in.style = SideBarMenuStyle::msWindowsXP;  // XP: framed box, +1 on X for the check only
  plan = planItemBody(in, kClassic);
  EXPECT_EQ(opsOf(plan, PaintKind::RadioGlyph)[0].at, (Point{35, 1}));
  ASSERT_EQ(opsOf(plan, PaintKind::Frame).size(), 1u);
  EXPECT_EQ(opsOf(plan, PaintKind::Frame)[0].rect, (Rect{34, 0, 52, 18}));
  EXPECT_TRUE(opsOf(plan, PaintKind::Edge).empty());
  in.radioItem = false;
  EXPECT_EQ(opsOf(planItemBody(in, kClassic), PaintKind::CheckGlyph)[0].at, (Point{35 + 2 + 1, 1 + 2}));

  ItemDrawInput own = trayItem();  // own 8 x 8 bitmap, no list image: centred in the 16 box
  own.hasImageList = false;
  own.bitmapSize = {8, 8};
  EXPECT_EQ(opsOf(planItemBody(own, kClassic), PaintKind::Bitmap)[0].rect, (Rect{34 + 5, 1 + 5, 47, 14}));
}

TEST(SideBarItem, SelectionPerStyle) {
  ItemDrawInput in = trayItem();
  in.state = ods::Selected;
  ItemDrawPlan plan = planItemBody(in, kClassic);
  EXPECT_EQ(plan.ops[0].kind, PaintKind::ListImage);  // a selected item is not pre-filled
  EXPECT_EQ(plan.ops[1], (PaintOp{.kind = PaintKind::Edge, .rect = {33, 0, 52, 19}, .flags = edge::RaisedInner,
                                  .sides = edge::RectSides}));
  EXPECT_EQ(plan.ops[2], (PaintOp{.kind = PaintKind::Fill, .rect = {53, 0, 200, 19}, .colour = cl::Highlight}));
  EXPECT_EQ(plan.ops[3].colour, cl::HighlightText);
  EXPECT_EQ(plan.ops[3].rect.left, 55);

  in.style = SideBarMenuStyle::msWindowsXP;
  plan = planItemBody(in, kClassic);
  const auto fills = opsOf(plan, PaintKind::Fill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].rect, (Rect{33, 0, 55, 19}));  // the glyph column in the current brush
  EXPECT_EQ(fills[1], (PaintOp{.kind = PaintKind::Fill, .rect = {52, 0, 200, 19}, .colour = cl::Highlight}));
  EXPECT_EQ(opsOf(plan, PaintKind::Caption)[0].rect.left, 54 + 4);

  ItemDrawInput top = trayItem();  // main-menu bar item, XP, hot
  top.barHere = false;
  top.mainMenuTopLevel = true;
  top.hasImageList = false;
  top.style = SideBarMenuStyle::msWindowsXP;
  top.state = ods::HotLight;
  top.itemRect = {0, 0, 60, 20};
  plan = planItemBody(top, kClassic);
  EXPECT_EQ(plan.ops[0].colour, cl::BtnFace);
  EXPECT_EQ(plan.ops[1].colour, cl::Highlight);
  EXPECT_EQ(plan.ops[2].colour, cl::HighlightText);
  EXPECT_EQ(plan.ops[2].rect, (Rect{6, 2, 46, 16}));  // empty box (0..3), +1, +2; centred, one up
}

TEST(SideBarItem, DisabledTextAndFlags) {
  ItemDrawInput in = trayItem();
  in.enabled = false;
  in.hasShortcut = true;
  in.state = ods::NoAccel | ods::Default;
  ItemDrawPlan plan = planItemBody(in, kClassic);
  EXPECT_TRUE(plan.bold);
  EXPECT_TRUE(opsOf(plan, PaintKind::ListImage)[0].disabled);
  const auto captions = opsOf(plan, PaintKind::Caption);
  ASSERT_EQ(captions.size(), 2u);
  EXPECT_EQ(captions[0].rect, (Rect{56, 4, 96, 17}));
  EXPECT_EQ(captions[0].colour, cl::BtnHighlight);
  EXPECT_EQ(captions[1].colour, cl::BtnShadow);
  EXPECT_TRUE(captions[1].flags & dt::HidePrefix);
  const auto shortcuts = opsOf(plan, PaintKind::Shortcut);
  ASSERT_EQ(shortcuts.size(), 2u);
  EXPECT_EQ(shortcuts[1].rect, (Rect{95, 3, 199 - 10, 16}));
  EXPECT_TRUE(shortcuts[1].flags & dt::Right);

  in.windows2000Test = false;
  EXPECT_FALSE(opsOf(planItemBody(in, kClassic), PaintKind::Caption)[1].flags & dt::HidePrefix);

  in.state = ods::Selected;  // selected and disabled: no embossed copy
  EXPECT_EQ(opsOf(planItemBody(in, kClassic), PaintKind::Caption).size(), 1u);
  const SystemColourLookup sameGrey = [](int i) { return i == 13 ? menuColour(128, 128, 128) : classic(i); };
  EXPECT_EQ(opsOf(planItemBody(in, sameGrey), PaintKind::Caption)[0].colour, cl::BtnHighlight);
}

TEST(SideBarItem, ShortLineMargins) {
  ItemDrawInput in = trayItem();
  in.separators.style = SeparatorStyle::ssShortLine;
  in.state = ods::Selected;
  ItemDrawPlan plan = planItemBody(in, kClassic);
  EXPECT_EQ(plan.body, (Rect{33, 0, 190, 19}));
  EXPECT_EQ(plan.ops[0], (PaintOp{.kind = PaintKind::Fill, .rect = {190, 0, 200, 19}, .colour = cl::Highlight}));

  in.separator = true;  // separator lines keep 12 pixels from both ends of the full width
  plan = planItemBody(in, kClassic);
  ASSERT_EQ(plan.ops.size(), 1u);
  EXPECT_EQ(plan.ops[0], (PaintOp{.kind = PaintKind::Edge, .rect = {45, 5, 188, 19}, .flags = edge::Etched,
                                  .sides = edge::Top}));
}

TEST(SideBarItem, Separators) {
  ItemDrawInput in = trayItem();
  in.separator = true;
  in.itemRect = {0, 0, 200, 14};
  in.hint = "Tools";
  in.separatorTextExtent = {37, 13};
  ItemDrawPlan plan = planItemBody(in, kClassic);
  EXPECT_EQ(plan.separatorText, " Tools ");
  ASSERT_EQ(plan.ops.size(), 3u);
  // F = (33, 0, 200, 14): 167 wide; the 37-wide box moves round(64.5) = 64 to the right.
  EXPECT_EQ(plan.ops[0].rect, (Rect{33, 6, 97, 14}));
  EXPECT_EQ(plan.ops[1].rect, (Rect{134, 6, 200, 14}));
  EXPECT_EQ(plan.ops[1].flags, edge::Etched);
  EXPECT_EQ(plan.ops[2].kind, PaintKind::SeparatorText);
  EXPECT_EQ(plan.ops[2].rect, (Rect{97, 0, 134, 13}));
  EXPECT_EQ(plan.ops[2].flags, dt::Center | dt::SingleLine | dt::VCenter | dt::NoPrefix);

  in.separators.alignment = Alignment::taRightJustify;
  EXPECT_EQ(planItemBody(in, kClassic).ops[2].rect, (Rect{163, 0, 200, 13}));

  in.separators.fade = true;  // faded lines, FadeColor one row above the highlight
  plan = planItemBody(in, kClassic);
  ASSERT_EQ(opsOf(plan, PaintKind::FadedLine).size(), 2u);
  EXPECT_EQ(plan.ops[0].rect.top, 7);
  EXPECT_EQ(plan.ops[0].colour, cl::BtnShadow);
  EXPECT_EQ(plan.ops[0].gap, (Rect{163, 0, 200, 13}));
  EXPECT_EQ(plan.ops[1].rect.top, 8);
  EXPECT_EQ(plan.ops[1].colour, cl::BtnHighlight);

  in.enabled = false;  // disabled: no text; with fade, highlight at +5 and FadeColor at +4
  plan = planItemBody(in, kClassic);
  ASSERT_EQ(plan.ops.size(), 2u);
  EXPECT_EQ(plan.ops[0].rect.top, 5);
  EXPECT_EQ(plan.ops[0].colour, cl::BtnHighlight);
  EXPECT_EQ(plan.ops[1].rect.top, 4);
  in.separators.flatLines = true;
  EXPECT_EQ(planItemBody(in, kClassic).ops.size(), 1u);
  in.separators.fade = false;
  EXPECT_EQ(planItemBody(in, kClassic).ops[0],
            (PaintOp{.kind = PaintKind::Edge, .rect = {33, 5, 200, 14}, .flags = edge::RaisedOuter,
                     .sides = edge::Top | edge::Flat}));

  ItemDrawInput cap = trayItem();
  cap.separator = true;
  cap.hint = "Tools";
  cap.separators.style = SeparatorStyle::ssCaption;
  cap.separators.useSystemFont = false;
  plan = planItemBody(cap, kClassic);
  EXPECT_TRUE(plan.separatorFont);
  ASSERT_EQ(plan.ops.size(), 2u);
  EXPECT_EQ(plan.ops[0], (PaintOp{.kind = PaintKind::Gradient, .rect = {33, 0, 200, 19}, .colour = cl::Gray,
                                  .colour2 = cl::Silver, .gradientStyle = GradientStyle::gsHorizontal}));
  EXPECT_EQ(plan.ops[1].flags, dt::SingleLine | dt::VCenter | dt::NoPrefix | dt::Center);
}

}  // namespace
}  // namespace vrin
