// The choice of control skinner: the rule table for form components and the class-and-style
// table for the children of a bare window.
#include <gtest/gtest.h>

#include "skin/pure/control_choice.h"

namespace vrin {
namespace {

constexpr std::uint32_t kChild = 0x40000000, kVScroll = 0x200000;

FormComponent control(ControlKind kind, std::int32_t tag = 0, std::uint32_t style = 0) {
  return {kind, tag, kind != ControlKind::SpeedButton && kind != ControlKind::Other, style};
}
FormSkinRules without(SkinControlType off) { return {kAllSkinControls & ~skinControl(off), 99, true}; }
Skinner skinnerOf(const FormComponent& c, const FormSkinRules& rules = {kAllSkinControls, 99, true}) {
  const ControlChoice choice = chooseFormControl(c, rules);
  return choice.action == FormAction::Attach ? choice.skinner : Skinner::None;
}

TEST(ControlChoiceTest, DisableTagByRemainder) {
  EXPECT_TRUE(tagDisablesSkin(199, 99));
  EXPECT_TRUE(tagDisablesSkin(-199, -99));  // the remainder keeps the Tag's sign
  EXPECT_FALSE(tagDisablesSkin(-1, 99));
  EXPECT_FALSE(tagDisablesSkin(-199, 99));
  EXPECT_FALSE(tagDisablesSkin(INT32_MIN, 99));
  EXPECT_EQ(skinnerOf(control(ControlKind::PushButton, 199)), Skinner::None);
  EXPECT_EQ(skinnerOf(control(ControlKind::PushButton, -1)), Skinner::SkinButton);
  EXPECT_EQ(chooseFormControl(control(ControlKind::Frame, 99), {}).action, FormAction::Leave);
}

TEST(ControlChoiceTest, EachKindItsSkinner) {
  const FormSkinRules all{kAllSkinControls, 99, true};
  EXPECT_EQ(chooseFormControl(control(ControlKind::TabControl), all),
            (ControlChoice{FormAction::Attach, Skinner::SkinTab, AttachBy::Window}));
  EXPECT_EQ(chooseFormControl(control(ControlKind::CheckBox), all),
            (ControlChoice{FormAction::Attach, Skinner::SkinCheckBox, AttachBy::Control, true}));
  EXPECT_EQ(chooseFormControl(control(ControlKind::RadioGroup), all),
            (ControlChoice{FormAction::RadioGroup, Skinner::SkinBox, AttachBy::Control, true}));
  EXPECT_EQ(chooseFormControl(control(ControlKind::StatusBar), all),
            (ControlChoice{FormAction::Attach, Skinner::SkinStatusBar, AttachBy::Control, false, false, true}));
  EXPECT_EQ(chooseFormControl(control(ControlKind::ListBox), all),
            (ControlChoice{FormAction::Attach, Skinner::SkinScrollBar, AttachBy::ScrollBar, false, true}));
  EXPECT_EQ(chooseFormControl(control(ControlKind::ListView), all),
            (ControlChoice{FormAction::Attach, Skinner::SkinListView, AttachBy::ScrollBar}));
  EXPECT_EQ(chooseFormControl(control(ControlKind::SpeedButton), all),
            (ControlChoice{FormAction::Attach, Skinner::SkinSpeedButton, AttachBy::SpeedButton}));
  EXPECT_EQ(chooseFormControl(control(ControlKind::Frame), all).action, FormAction::SkinChildren);
  EXPECT_EQ(chooseFormControl(control(ControlKind::Form), all).action, FormAction::RecolourAndSkinChildren);
  EXPECT_EQ(skinnerOf(control(ControlKind::Memo)), Skinner::SkinScrollBar);
  EXPECT_EQ(skinnerOf(control(ControlKind::Edit, 0, kVScroll)), Skinner::SkinScrollBar);
}

TEST(ControlChoiceTest, KindsSwitchedOffOrMissing) {
  // No Tabs element: the tab control is left alone even with xcTab set.
  EXPECT_EQ(skinnerOf(control(ControlKind::TabControl), {kAllSkinControls, 99, false}), Skinner::None);
  // Group boxes follow xcPanel, not xcGroupBox.
  EXPECT_EQ(skinnerOf(control(ControlKind::Panel), without(xcPanel)), Skinner::None);
  EXPECT_EQ(skinnerOf(control(ControlKind::GroupBox), without(xcPanel)), Skinner::None);
  EXPECT_EQ(skinnerOf(control(ControlKind::GroupBox), without(xcGroupBox)), Skinner::SkinBox);
  // A kind switched off falls to its family's rule.
  EXPECT_EQ(skinnerOf(control(ControlKind::RadioGroup), without(xcRadioButton)), Skinner::SkinBox);
  EXPECT_EQ(skinnerOf(control(ControlKind::BitButton), without(xcBitBtn)), Skinner::SkinButton);
  EXPECT_EQ(skinnerOf(control(ControlKind::Memo), without(xcScrollbar)), Skinner::SkinEdit);
  EXPECT_EQ(skinnerOf(control(ControlKind::ListView), without(xcScrollbar)), Skinner::None);
  EXPECT_EQ(chooseFormControl(control(ControlKind::ToolBar), without(xcToolbar)).action, FormAction::Leave);
}

TEST(ControlChoiceTest, TagsPickTheirSkinner) {
  EXPECT_EQ(skinnerOf(control(ControlKind::PushButton, 56)), Skinner::SkinComBox);
  EXPECT_EQ(skinnerOf(control(ControlKind::Edit, 56)), Skinner::SkinComBox);
  EXPECT_EQ(skinnerOf(control(ControlKind::PushButton, 56), without(xcCombo)), Skinner::SkinButton);
  EXPECT_EQ(skinnerOf(control(ControlKind::Panel, 56), without(xcPanel)), Skinner::SkinComBox);
  EXPECT_EQ(skinnerOf(control(ControlKind::PushButton, 55)), Skinner::SkinScrollBar);
  EXPECT_EQ(skinnerOf(control(ControlKind::PushButton, 57), without(xcButton)), Skinner::SkinEdit);
  // A component without a window has nothing to attach to, whatever its Tag.
  for (std::int32_t tag : {55, 56, 57}) EXPECT_EQ(skinnerOf(control(ControlKind::Other, tag)), Skinner::None);
  EXPECT_EQ(skinnerOf({ControlKind::Other, 56, true, 0}), Skinner::SkinComBox);
}

TEST(ControlChoiceTest, KindsOfUnwrappedControls) {
  EXPECT_EQ(controlKindFromClass("Button", 0x50010000), ControlKind::PushButton);
  EXPECT_EQ(controlKindFromClass("BUTTON", 3), ControlKind::CheckBox);
  EXPECT_EQ(controlKindFromClass("button", 7), ControlKind::GroupBox);
  EXPECT_EQ(controlKindFromClass("button", 11), ControlKind::Other);
  EXPECT_EQ(controlKindFromClass("EDIT", 4), ControlKind::Memo);
  EXPECT_EQ(controlKindFromClass("ScrollBar", 0x10), ControlKind::Other);
  EXPECT_EQ(controlKindFromClass("ScrollBar", 1), ControlKind::ScrollBar);
}

TEST(ControlChoiceTest, ChildrenOfABareWindow) {
  auto bare = [](const char* name, std::uint32_t style) { return chooseBareChild(name, kChild | style).skinner; };
  EXPECT_EQ(bare("Button", 7), Skinner::None);            // group box
  EXPECT_EQ(bare("Button", 5), Skinner::SkinCheckBox);    // three-state
  EXPECT_EQ(bare("Button", 11), Skinner::SkinCheckBox);   // owner-drawn, by its bits
  EXPECT_EQ(bare("Button", 9), Skinner::SkinRadioButton);
  EXPECT_EQ(bare("Button", 4), Skinner::SkinRadioButton);
  EXPECT_EQ(bare("Button", 1), Skinner::SkinButton);
  EXPECT_EQ(bare("Button", 0x10000 | 0x20), Skinner::SkinButton);  // only the low bits count
  EXPECT_EQ(bare("ComboBox", 1), Skinner::None);  // simple
  EXPECT_EQ(bare("ComboBox", 3), Skinner::SkinComBox);
  EXPECT_EQ(chooseBareChild("ComboBoxEx32", kChild), (BareChildChoice{Skinner::SkinComBox, true}));
  EXPECT_EQ(bare("SysTabControl32", 0), Skinner::SkinTab);
  EXPECT_EQ(bare("SysTabControl32", 0x2000), Skinner::None);
  EXPECT_EQ(bare("ScrollBar", 0x10), Skinner::SkinSizer);  // size grip
  EXPECT_EQ(bare("ScrollBar", 0x1), Skinner::None);        // a real bar keeps its painting
  EXPECT_EQ(chooseBareChild("Button", 0).skinner, Skinner::None);  // not a child window
}

}  // namespace
}  // namespace vrin
