// Control skinner arithmetic: states, text colours, glyph layout, check boxes, progress, combo.
#include <gtest/gtest.h>

#include <climits>

#include "skin/pure/control_layout.h"

namespace vrin {
namespace {

TEST(ControlLayoutTest, ButtonStates) {
  //                    pressed focused hot  enabled
  EXPECT_EQ(buttonState(false, false, false, true), 1);
  EXPECT_EQ(buttonState(false, true, false, true), 4);
  EXPECT_EQ(buttonState(false, false, true, true), 4);
  EXPECT_EQ(buttonState(true, true, true, true), 2);
  // Disabled wins over a hot flag left behind and over a press.
  EXPECT_EQ(buttonState(true, false, true, false), 3);

  //                         pressed hot   enabled down
  EXPECT_EQ(speedButtonState(false, true, true, false), 4);
  EXPECT_EQ(speedButtonState(true, true, false, false), 3);
  EXPECT_EQ(speedButtonState(false, false, false, true), 2);  // down shows even when disabled

  EXPECT_EQ(speedButtonGlyph(2, 4), 3);
  EXPECT_EQ(speedButtonGlyph(3, 4), 2);
  EXPECT_EQ(speedButtonGlyph(4, 4), 1);
  EXPECT_EQ(speedButtonGlyph(2, 2), 1);  // too few glyphs for the pressed one
  EXPECT_EQ(speedButtonGlyph(3, 2), 2);
  EXPECT_EQ(speedButtonGlyph(3, 1), 1);
}

TEST(ControlLayoutTest, TextColoursByState) {
  SkinSettings skin;
  skin.SkinColors.ButtonTextColor = 0x111111;
  skin.Buttons.NormalColour2 = 0xA1, skin.Buttons.MouseOverColour2 = 0xA4, skin.Buttons.PressedColour2 = 0xA2;
  EXPECT_EQ(pushButtonTextColour(skin.Buttons, 0x111111, 1), 0xA1u);
  EXPECT_EQ(pushButtonTextColour(skin.Buttons, 0x111111, 4), 0xA4u);
  EXPECT_EQ(pushButtonTextColour(skin.Buttons, 0x111111, 2), 0xA2u);
  EXPECT_EQ(pushButtonTextColour(skin.Buttons, 0x111111, 3), 0x111111u);

  skin.CustomColours = {0xC0, 0xC1};
  skin.Buttons.NormalColour = 1;
  skin.Buttons.MouseOverColour = 2;  // past the end
  EXPECT_EQ(bitButtonTextColour(skin, 1), 0xC1u);
  EXPECT_EQ(bitButtonTextColour(skin, 4), 0x111111u);
  EXPECT_EQ(bitButtonTextColour(skin, 2), 0x111111u);  // PressedColour unset (-1)
  EXPECT_EQ(bitButtonTextColour(skin, 3), 0x111111u);

  EXPECT_EQ(stripFrameWidth(100, 4), 25);
  EXPECT_EQ(stripFrameWidth(100, 0), 100);
}

GlyphButton button(GlyphLayout layout, int margin, int spacing) {
  GlyphButton b;
  b.width = 100, b.height = 30;
  b.glyphWidth = 16, b.glyphHeight = 16;
  b.captionWidth = 40, b.captionHeight = 13;
  b.Layout = layout, b.Margin = margin, b.Spacing = spacing;
  return b;
}

TEST(ControlLayoutTest, GlyphAndCaptionSpreadEvenly) {
  // (100 - 56) div 3 = 14: margin and spacing 14, glyph at 14, caption at 14 + 16 + 14.
  GlyphPlacement p = layoutGlyphButton(button(GlyphLayout::Left, -1, -1));
  EXPECT_EQ(p.glyph, (Rect{14, 7, 30, 23}));  // (30 - 16 + 1) div 2
  EXPECT_EQ(p.caption, (Rect{44, 9, 84, 22}));

  p = layoutGlyphButton(button(GlyphLayout::Right, -1, -1));
  EXPECT_EQ(p.glyph.left, 100 - 14 - 16);
  EXPECT_EQ(p.caption.left, 70 - 14 - 40);

  GlyphButton tall = button(GlyphLayout::Top, -1, -1);
  tall.height = 80;  // (80 - 29) div 3 = 17
  p = layoutGlyphButton(tall);
  EXPECT_EQ(p.glyph, (Rect{42, 17, 58, 33}));  // across: (100 - 16 + 1) div 2
  EXPECT_EQ(p.caption, (Rect{30, 50, 70, 63}));
  tall.Layout = GlyphLayout::Bottom;
  p = layoutGlyphButton(tall);
  EXPECT_EQ(p.glyph.top, 80 - 17 - 16);
  EXPECT_EQ(p.caption.top, 47 - 17 - 13);
}

TEST(ControlLayoutTest, GlyphMarginOrSpacingAlone) {
  // Margin -1 only: (100 - (16 + 4 + 40)) div 2 = 20, one more for a speed button.
  GlyphButton b = button(GlyphLayout::Left, -1, 4);
  EXPECT_EQ(layoutGlyphButton(b).glyph.left, 20);
  EXPECT_EQ(layoutGlyphButton(b).caption.left, 40);
  b.speedButton = true;
  EXPECT_EQ(layoutGlyphButton(b).glyph.left, 21);

  // Spacing -1 only: ((100 - 5 - 16) - 40) div 2 = 19.
  b = button(GlyphLayout::Left, 5, -1);
  EXPECT_EQ(layoutGlyphButton(b).caption.left, 5 + 16 + 19);

  // Without a caption the spacing is 0 and a centred glyph is centred alone.
  b = button(GlyphLayout::Left, -1, -1);
  b.captionWidth = b.captionHeight = 0;
  EXPECT_EQ(layoutGlyphButton(b).glyph.left, 42);
  b = button(GlyphLayout::Left, 3, 10);
  b.glyphWidth = b.glyphHeight = 0;
  EXPECT_EQ(layoutGlyphButton(b).caption.left, 3);

  // Properties at the ends of their range stay inside the 32-bit range.
  EXPECT_EQ(layoutGlyphButton(button(GlyphLayout::Left, INT_MAX, INT_MAX)).caption.left, INT_MAX);
  EXPECT_EQ(layoutGlyphButton(button(GlyphLayout::Right, INT_MAX, INT_MAX)).caption.left, INT_MIN);
}

TEST(ControlLayoutTest, CheckBoxPlacement) {
  // 13 wide: (14 - 13) div 2 = 0 from the left; 20 wide: at the left edge.
  EXPECT_EQ(checkBoxRect(100, 21, 13, 13, false), (Rect{0, 4, 13, 17}));
  EXPECT_EQ(checkBoxRect(100, 21, 20, 13, false), (Rect{0, 4, 20, 17}));
  EXPECT_EQ(checkBoxRect(100, 20, 10, 10, false), (Rect{2, 5, 12, 15}));
  // BS_RIGHTBUTTON: the 14-pixel column at the right edge; wider frames end 1 pixel inside.
  EXPECT_EQ(checkBoxRect(100, 21, 20, 13, true), (Rect{79, 4, 99, 17}));
  EXPECT_EQ(checkBoxRect(100, 21, 10, 13, true), (Rect{88, 4, 98, 17}));
  EXPECT_EQ(checkBoxRect(100, 21, 14, 13, true).right, 100);
  EXPECT_EQ(checkBoxRect(100, 21, 15, 13, true).right, 99);
}

TEST(ControlLayoutTest, CheckAndRadioFrames) {
  constexpr std::uint32_t checked = 1, indeterminate = 2, focusPushed = 0xC;
  EXPECT_EQ(checkBoxFrame(false, 0), 1);
  EXPECT_EQ(checkBoxFrame(false, checked | focusPushed), 2);
  EXPECT_EQ(checkBoxFrame(false, indeterminate | focusPushed), 4);
  EXPECT_EQ(checkBoxFrame(true, checked), 3);
  EXPECT_EQ(radioButtonFrame(false, false), 1);
  EXPECT_EQ(radioButtonFrame(false, true), 2);
  EXPECT_EQ(radioButtonFrame(true, false), 3);
  EXPECT_EQ(radioButtonFrame(true, true), 4);
}

TEST(ControlLayoutTest, ProgressFill) {
  const Rect bar{10, 0, 110, 12};
  EXPECT_EQ(progressFill(bar, 50, 200), (Rect{10, 0, 35, 12}));
  EXPECT_TRUE(progressFill(bar, 50, 0).empty());  // only the track is drawn
  EXPECT_TRUE(progressFill(bar, 50, -5).empty());
  EXPECT_TRUE(progressFill(bar, -50, 200).empty());
  EXPECT_EQ(progressFill(bar, 300, 200).right, 110);
  EXPECT_EQ(progressFill(bar, INT_MAX, INT_MAX).right, 110);  // no 32-bit product
  EXPECT_EQ(progressFill(bar, INT_MAX - 1, INT_MAX).right, 109);
}

TEST(ControlLayoutTest, CaptionCentredInItsBox) {
  const Rect area{0, 0, 101, 30};
  EXPECT_EQ(placeCaption(area, {0, 0, 40, 13}, false), (Rect{0, 8, 40, 21}));
  EXPECT_EQ(placeCaption(area, {0, 0, 40, 13}, true), (Rect{30, 8, 70, 21}));
  EXPECT_EQ(placeCaption({5, 5, 15, 10}, {5, 5, 35, 16}, true), (Rect{-5, 2, 25, 13}));  // rounds toward zero
}

TEST(ControlLayoutTest, ComboButtonAndSunkenEdge) {
  // 120 x 21 combo, 17-pixel arrows; edge frame 10 x 8 with margins L 2, T 1, R 2, B 3.
  const ComboPieces p = comboBoxPieces(120, 21, 17, 10, 8, {2, 1, 2, 3});
  EXPECT_EQ(p.button, (Rect{101, 0, 120, 21}));
  ASSERT_EQ(p.edge.size(), 5u);
  EXPECT_EQ(p.edge[0].target, (Rect{0, 0, 2, 21}));  // left strip, 2 wide as L > 1
  EXPECT_EQ(p.edge[0].source, (Rect{0, 1, 2, 5}));
  EXPECT_EQ(p.edge[1].target, (Rect{0, 0, 101, 1}));  // top strip, 1 high as T = 1
  EXPECT_EQ(p.edge[1].source, (Rect{2, 0, 8, 1}));
  EXPECT_EQ(p.edge[2].target, (Rect{0, 0, 1, 1}));
  EXPECT_EQ(p.edge[2].source, (Rect{0, 0, 2, 1}));
  EXPECT_EQ(p.edge[3].target, (Rect{0, 19, 101, 21}));  // bottom strip, 2 high as B > 1
  EXPECT_EQ(p.edge[3].source, (Rect{2, 5, 8, 8}));
  EXPECT_EQ(p.edge[4].target, (Rect{0, 19, 2, 21}));
  EXPECT_EQ(p.edge[4].source, (Rect{0, 5, 2, 8}));
}

}  // namespace
}  // namespace vrin
