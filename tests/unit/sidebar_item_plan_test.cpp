#include "menus/pure/sidebar_item_plan.h"

#include <gtest/gtest.h>

#include <vector>

#include "classic_colours.h"

namespace vrin {
namespace {

using test::classic;
using test::kClassic;

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
