#include "menus/pure/sidebar_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "classic_colours.h"

namespace vrin {
namespace {

using test::kClassic;

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

}  // namespace
}  // namespace vrin
