// The skin manager's decisions: the skin data a window gets, the conditions for skinning a
// window, and when switching takes effect.
#include <gtest/gtest.h>

#include "skin/pure/manager_rules.h"

namespace vrin {
namespace {

TEST(ManagerRules, SkinDataChoice) {
  int form = 0, other = 0;
  std::vector<SkinDataFacts> list{{sfMainform, &other}, {sfDialog, &other}, {sfOnlyThisForm, &form},
                                  {sfMainform, &other}, {sfDialog, &other}};
  EXPECT_EQ(chooseSkinData(list, &form, "TSomething"), 2);
  EXPECT_EQ(chooseSkinData(list, &other, "TSomething"), 3);
  // Dialogs take the last sfDialog one, whatever case the class name has.
  EXPECT_EQ(chooseSkinData(list, nullptr, "#32770"), 4);
  EXPECT_EQ(chooseSkinData(list, nullptr, "TMessageForm"), 4);
  // With no sfDialog one a dialog takes the sfMainform one; with neither, the first.
  EXPECT_EQ(chooseSkinData({{sfOnlyThisForm, &other}, {sfMainform, &other}}, nullptr, "#32770"), 1);
  EXPECT_EQ(chooseSkinData({{sfOnlyThisForm, &other}, {sfOnlyThisForm, &form}}, nullptr, "#32770"), 0);
  EXPECT_EQ(chooseSkinData({}, nullptr, "#32770"), -1);
}

TEST(ManagerRules, ConditionsInOrder) {
  WindowFacts w;
  w.width = 300;
  w.height = 200;
  w.className = "THelperForm";
  w.isForm = true;
  int asked = 0;
  auto yes = [&] { ++asked; return true; };
  auto no = [&] { ++asked; return false; };
  EXPECT_EQ(skinRefusal(true, w, yes, yes), SkinRefusal::None);
  EXPECT_EQ(skinRefusal(false, w, yes, yes), SkinRefusal::Inactive);
  w.formTag = kNeverSkinTag;  // 99 whatever DisableTag says
  asked = 0;
  EXPECT_EQ(skinRefusal(true, w, yes, yes), SkinRefusal::FixedTag);
  EXPECT_EQ(asked, 0);  // OnFormSkin is not asked for a refused window
  w.formTag = 5;
  EXPECT_EQ(skinRefusal(true, w, no, yes), SkinRefusal::Declined);
  EXPECT_EQ(skinRefusal(true, w, yes, no), SkinRefusal::NoSkin);
  w.child = true;
  w.parentClass = "MDIClient";
  EXPECT_EQ(skinRefusal(true, w, yes, yes), SkinRefusal::None);
  w.parentClass = "TPanel";
  EXPECT_EQ(skinRefusal(true, w, yes, yes), SkinRefusal::ChildWindow);
  w.child = false;
  w.height = 0;
  EXPECT_EQ(skinRefusal(true, w, yes, yes), SkinRefusal::EmptyWindow);
  w.height = 1;
  w.className = "TApplication";
  EXPECT_EQ(skinRefusal(true, w, yes, yes), SkinRefusal::ApplicationWindow);
  w.alreadySkinned = true;
  EXPECT_EQ(skinRefusal(true, w, yes, yes), SkinRefusal::AlreadySkinned);
}

TEST(ManagerRules, SwitchingBeforeAndAfterTheFirstActivation) {
  SkinSwitch s;
  EXPECT_FALSE(s.request(saSwitchOn));  // before any activation: at once
  EXPECT_TRUE(s.SkinActive);
  EXPECT_FALSE(s.request(saSkinChanged));  // dropped
  EXPECT_EQ(s.takePending(), saNone);
  s.firstActivation();
  EXPECT_EQ(s.HookState, 1);
  EXPECT_TRUE(s.request(saSwitchOff));  // afterwards: by the timer
  EXPECT_TRUE(s.SkinActive);
  EXPECT_EQ(s.takePending(), saSwitchOff);
  EXPECT_FALSE(s.SkinActive);
  EXPECT_TRUE(s.request(saSwitchOn));
  EXPECT_TRUE(s.request(saSkinChanged));  // the last request wins
  EXPECT_EQ(s.takePending(), saSkinChanged);
  EXPECT_FALSE(s.SkinActive);
  s.HookState = 4;
  EXPECT_FALSE(s.request(saSwitchOn));
  EXPECT_EQ(s.PendingAction, saNone);
}

}  // namespace
}  // namespace vrin
