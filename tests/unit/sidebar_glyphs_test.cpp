#include "menus/pure/sidebar_glyphs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "core/bmp.h"
#include "menus/pure/sidebar_item_plan.h"
#include "menus/pure/sidebar_render.h"

namespace vrin {
namespace {

PaintOp captionOp(const ItemDrawPlan& plan) {
  for (const PaintOp& op : plan.ops)
    if (op.kind == PaintKind::Caption) return op;
  ADD_FAILURE() << "no caption drawn";
  return {};
}

TEST(SideBarGlyphs, CaptionIsMeasuredWithTheFlagsItIsDrawnWith) {
  const SystemColourLookup none;
  for (unsigned state : {0u, ods::NoAccel, ods::NoAccel | ods::Selected, ods::Default})
    for (bool w2k : {false, true})
      for (bool rtl : {false, true}) {
        ItemDrawInput in;
        in.itemRect = {0, 0, 200, 19};
        in.state = state;
        in.windows2000Test = w2k;
        in.rightToLeft = rtl;
        in.captionExtent = {60, 13};
        EXPECT_EQ(itemTextFlags(state, w2k, rtl), captionOp(planItemBody(in, none)).flags)
            << state << ' ' << w2k << ' ' << rtl;
      }
  EXPECT_EQ(itemTextFlags(ods::NoAccel, true, true),
            dt::Left | dt::ExpandTabs | dt::SingleLine | dt::HidePrefix | dt::Right | dt::RtlReading);
  EXPECT_EQ(itemTextFlags(ods::NoAccel, false, false), dt::Left | dt::ExpandTabs | dt::SingleLine);
}

TEST(SideBarGlyphs, TransparentDotsLeaveTheBottomLeftColourOut) {
  const std::vector<GlyphDot> dots = transparentGlyphDots(radioGlyphImage(), false, rgb(9, 9, 9));
  ASSERT_EQ(dots.size(), 4u + 4u + 4u * 6u);  // rows 5 and 10 lose their corners
  for (const GlyphDot& d : dots) {
    EXPECT_EQ(d.colour, rgb(0, 0, 0));
    EXPECT_TRUE(d.y >= 5 && d.y <= 10 && d.x >= 5 && d.x <= 10);
    EXPECT_FALSE((d.y == 5 || d.y == 10) && (d.x == 5 || d.x == 10));
  }

  // A monochrome glyph takes the ink; the key is whatever the bottom-left pixel holds.
  Image check(3, 2, rgb(255, 255, 255));
  check.at(1, 0) = rgb(0, 0, 0);
  check.at(2, 1) = rgb(0, 0, 0);
  EXPECT_EQ(transparentGlyphDots(check, true, rgb(1, 2, 3)),
            (std::vector<GlyphDot>{{1, 0, rgb(1, 2, 3)}, {2, 1, rgb(1, 2, 3)}}));
  check.at(0, 1) = rgb(0, 0, 0);  // now black is the transparent colour
  EXPECT_EQ(transparentGlyphDots(check, false, 0).size(), 3u);

  EXPECT_TRUE(transparentGlyphDots(Image(), true, 0).empty());
  Image broken(4, 4);
  broken.pixels.resize(3);  // sizes that disagree with the storage are ignored
  EXPECT_TRUE(transparentGlyphDots(broken, true, 0).empty());
}

TEST(SideBarGlyphs, CheckerboardAlternatesFromTheOrigin) {
  const Pixel face = rgb(192, 192, 192), light = rgb(255, 255, 255);
  EXPECT_EQ(checkerPixel(0, 0, face, light), face);
  EXPECT_EQ(checkerPixel(1, 0, face, light), light);
  EXPECT_EQ(checkerPixel(0, 1, face, light), light);
  EXPECT_EQ(checkerPixel(7, 5, face, light), face);
  EXPECT_EQ(checkerPixel(-1, 0, face, light), light);
}

// The bitmap resource matches the glyph the program makes when the resource is not linked in.
TEST(SideBarGlyphs, RadioResourceFileIsTheGlyph) {
  std::ifstream in(std::string(VRIN_SOURCE_DIR) + "/resources/images/sidebarradio.bmp", std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(bytes.empty());
  const BmpInfo info = peekBmp(bytes.data(), bytes.size());
  EXPECT_EQ(info.width, 16);
  EXPECT_EQ(info.height, 16);
  EXPECT_EQ(info.bitsPerPixel, 4);
  EXPECT_EQ(decodeBmp(bytes.data(), bytes.size()), radioGlyphImage());
}

}  // namespace
}  // namespace vrin
