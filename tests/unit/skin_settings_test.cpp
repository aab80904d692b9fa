// The skin settings file turned into skin elements: our own settings file with pictures of the
// stored skin's sizes, then the frame-count, default and colour-text rules one by one.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "core/bmp.h"
#include "core/colour_text.h"
#include "skin/pure/skin_settings.h"

namespace vrin {
namespace {

// Picture entries made on the fly: every pixel tells where it came from.
struct Pictures {
  std::map<std::string, std::pair<int, int>> sizes;
  std::map<std::string, std::vector<std::uint8_t>> raw;
  mutable std::vector<std::string> asked;

  SkinPictureLookup lookup() const {
    return [this](const std::string& name) -> std::vector<std::uint8_t> {
      asked.push_back(name);
      if (auto r = raw.find(name); r != raw.end()) return r->second;
      auto it = sizes.find(name);
      if (it == sizes.end()) return {};
      Image img(it->second.first, it->second.second);
      for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) img.at(x, y) = rgb(x, y, 7);
      return encodeBmp24(img);
    };
  }
};

Pictures storedSkinPictures() {
  Pictures p;
  p.sizes = {{"top.bmp", {294, 46}},     {"bottom.bmp", {10, 6}},    {"left.bmp", {6, 50}},
             {"right.bmp", {6, 50}},     {"menu.bmp", {15, 36}},     {"dialog.bmp", {128, 128}},
             {"buttons.bmp", {230, 22}}, {"check.bmp", {68, 18}},    {"radio.bmp", {68, 18}},
             {"pbars.bmp", {80, 14}},    {"taborder.bmp", {12, 12}}, {"tabs.bmp", {114, 18}},
             {"arrows.bmp", {368, 16}},  {"hscroll.bmp", {64, 16}},  {"vscroll.bmp", {64, 16}},
             {"hscroll2.bmp", {144, 16}}, {"vscroll2.bmp", {48, 48}}, {"toolbars.bmp", {190, 27}},
             {"rollup2.bmp", {90, 23}},  {"min.bmp", {90, 23}},      {"max.bmp", {90, 23}},
             {"close.bmp", {96, 23}},    {"rollup3.bmp", {90, 23}},  {"mac-mdi.bmp", {180, 14}}};
  return p;
}

std::string readOurSettingsFile() {
  std::ifstream in(std::string(VRIN_SOURCE_DIR) + "/resources/skin/vrinset.ini", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SkinSettingsTest, OurSettingsFileUsesCrLf) {
  const std::string text = readOurSettingsFile();
  ASSERT_FALSE(text.empty());
  // Every line ends with CR LF.
  std::size_t lf = 0, crlf = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') {
      ++lf;
      crlf += i > 0 && text[i - 1] == '\r';
    }
  EXPECT_EQ(lf, crlf);
  EXPECT_EQ(text.back(), '\n');
}

TEST(SkinSettingsTest, OurSettingsFileBordersTitleAndButtons) {
  const Pictures pics = storedSkinPictures();
  const SkinSettings s = parseSkinSettings(readOurSettingsFile(), pics.lookup());

  EXPECT_EQ(s.BorderLeft.ElementName, "Left");
  EXPECT_EQ(s.BorderLeft.Image.width, 6);
  EXPECT_EQ(s.BorderLeft.Image.height, 50);
  EXPECT_EQ(s.BorderLeft.FrameCount, 2);
  EXPECT_EQ(s.BorderLeft.TopHeight, 45);
  EXPECT_EQ(s.BorderLeft.BottomHeight, 4);
  EXPECT_EQ(s.BorderLeft.LeftWidth, 0);
  EXPECT_EQ(s.BorderLeft.RightWidth, 0);
  EXPECT_EQ(s.BorderRight.TopHeight, 45);
  EXPECT_EQ(s.BorderTop.Image.width, 294);
  EXPECT_EQ(s.BorderTop.Image.height, 46);
  EXPECT_EQ(s.BorderTop.FrameCount, 2);
  EXPECT_EQ(s.BorderTop.LeftWidth, 37);
  EXPECT_EQ(s.BorderTop.RightWidth, 71);
  EXPECT_EQ(s.BorderTop.TopHeight, 0);
  EXPECT_EQ(s.BorderTop.BottomHeight, 0);
  EXPECT_EQ(s.BorderBottom.LeftWidth, 4);
  EXPECT_EQ(s.BorderBottom.Image.width, 10);
  for (const SkinBorderElement* b : {&s.BorderLeft, &s.BorderRight, &s.BorderTop, &s.BorderBottom}) {
    EXPECT_EQ(b->Tile, 1) << b->ElementName;
    EXPECT_EQ(b->Trans, 1) << b->ElementName;  // no Trans keys: the default
  }

  EXPECT_TRUE(s.Title.Image.empty());
  EXPECT_EQ(s.Title.LeftWidth, 45);
  EXPECT_EQ(s.Title.TopHeight, 0);
  EXPECT_EQ(s.Title.RightWidth, 60);
  EXPECT_EQ(s.Title.TextAlignment, 1);
  EXPECT_EQ(s.Title.FrameCount, 2);

  EXPECT_EQ(s.Buttons.Image.width, 230);
  EXPECT_EQ(s.Buttons.LeftWidth, 10);
  EXPECT_EQ(s.Buttons.TopHeight, 10);
  EXPECT_EQ(s.Buttons.RightWidth, 10);
  EXPECT_EQ(s.Buttons.BottomHeight, 10);
  EXPECT_EQ(s.Buttons.Trans, 1);
  EXPECT_EQ(s.Buttons.FrameCount, 5);
  EXPECT_EQ(s.Buttons.CheckFrames, 4);  // 68 / 16
  EXPECT_EQ(s.Buttons.RadioFrames, 4);
  EXPECT_EQ(s.Buttons.NormalColour, kColourUnset);
  EXPECT_EQ(s.Buttons.NormalColour2, sysColour(8));

  ASSERT_TRUE(s.MenuBar);
  EXPECT_EQ(s.MenuBar->Image.width, 15);
  EXPECT_EQ(s.MenuBar->LeftWidth, 6);
  EXPECT_EQ(s.MenuBar->RightWidth, 3);
  EXPECT_EQ(s.MenuBar->Tile, 0);
  EXPECT_EQ(s.MenuBar->FrameCount, 2);
}

TEST(SkinSettingsTest, OurSettingsFileTitleButtonsAndMdiButtons) {
  const Pictures pics = storedSkinPictures();
  const SkinSettings s = parseSkinSettings(readOurSettingsFile(), pics.lookup());
  ASSERT_EQ(s.SysButtons.size(), 9u);
  const char* names[] = {"BUTTON0", "BUTTON1", "BUTTON2", "BUTTON3", "BUTTON4", "BUTTON5"};
  const int actions[] = {-1, 2, 1, 0, 3, -1, 7, 8, 9};
  const int aligns[] = {0, 1, 1, 1, 2, 0, 100, 100, 100};
  const int xs[] = {9, 68, 46, 24, 3, 9, 57, 38, 19};
  const int visibility[] = {0, 0, 0, 0, 3, -1, 100, 100, 100};
  const int frames[] = {6, 6, 6, 6, 6, 6, 4, 4, 4};
  for (int i = 0; i < 9; ++i) {
    const SkinSysButtonElement& b = s.SysButtons[std::size_t(i)];
    if (i < 6) EXPECT_EQ(b.ElementName, names[i]);
    EXPECT_EQ(b.Action, actions[i]) << i;
    EXPECT_EQ(b.Align, aligns[i]) << i;
    EXPECT_EQ(b.XCoord, xs[i]) << i;
    EXPECT_EQ(b.Visibility, visibility[i]) << i;
    EXPECT_EQ(b.FrameCount, frames[i]) << i;
  }
  EXPECT_EQ(s.SysButtons[3].Image.width, 96);
  EXPECT_EQ(s.SysButtons[4].YCoord, 3);
  EXPECT_TRUE(s.SysButtons[4].Image.empty());  // "0" names no picture
  // mac-mdi.bmp is 180 wide: a = 15, each button 60 wide from x = 60 * i.
  for (int i = 0; i < 3; ++i) {
    const Image& img = s.SysButtons[std::size_t(6 + i)].Image;
    ASSERT_EQ(img.width, 60);
    ASSERT_EQ(img.height, 14);
    EXPECT_EQ(img.at(0, 0), rgb(60 * i, 0, 7));
    EXPECT_EQ(img.at(59, 13), rgb(60 * i + 59, 13, 7));
  }
  for (const std::string& name : pics.asked) EXPECT_NE(name, "0");
}

TEST(SkinSettingsTest, OurSettingsFileSectionElementsAndColours) {
  const Pictures pics = storedSkinPictures();
  const SkinSettings s = parseSkinSettings(readOurSettingsFile(), pics.lookup());

  ASSERT_TRUE(s.Progress);
  EXPECT_EQ(s.Progress->LeftWidth, 3);
  EXPECT_EQ(s.Progress->RightWidth, 5);
  EXPECT_EQ(s.Progress->FrameCount, 2);
  ASSERT_TRUE(s.Tabs);
  EXPECT_EQ(s.Tabs->Image.width, 114);
  EXPECT_EQ(s.Tabs->SecondImage.width, 12);
  EXPECT_EQ(s.Tabs->RightWidth, 6);
  EXPECT_EQ(s.Tabs->FrameCount, 5);
  ASSERT_TRUE(s.Toolbars);  // the file spells the section "ToolBars"
  EXPECT_EQ(s.Toolbars->ElementName, "Toolbars");
  EXPECT_EQ(s.Toolbars->BottomHeight, 7);
  EXPECT_EQ(s.Toolbars->FrameCount, 5);
  ASSERT_TRUE(s.Scrollbar);
  EXPECT_EQ(s.Scrollbar->FrameCount, 23);
  EXPECT_EQ(s.Scrollbar->Image.width, 368);
  ASSERT_TRUE(s.HorzScroll && s.VertScroll && s.HorzScrollThumb && s.VertScrollThumb);
  EXPECT_EQ(s.HorzScroll->FrameCount, 4);
  EXPECT_EQ(s.HorzScroll->LeftWidth, 7);
  EXPECT_EQ(s.VertScroll->TopHeight, 7);
  EXPECT_EQ(s.HorzScrollThumb->FrameCount, 3);
  EXPECT_EQ(s.HorzScrollThumb->Tile, 1);
  EXPECT_EQ(s.VertScrollThumb->BottomHeight, 10);
  EXPECT_EQ(s.VertScrollThumb->FrameCount, 3);
  EXPECT_FALSE(s.MenuItem || s.MenuBackground || s.GroupBoxEdge || s.StatusBarEdges ||
               s.ComboButton || s.SunkEdge || s.ExtraImages || s.Headerbar);
  EXPECT_TRUE(s.CustomColours.empty());

  const SkinColors& c = s.SkinColors;
  EXPECT_EQ(c.ButtonFaceColor, 0x00EBEBEBu);
  EXPECT_EQ(c.MenuBarColor, 0x00EBEBEBu);  // no Menubar key: the ButtonFace colour
  EXPECT_EQ(c.HilightColor, 0x00AF6437u);  // 55 100 175
  EXPECT_EQ(c.ScrollbarColor, 0x00F5F5F5u);
  EXPECT_EQ(c.ButtonLightColor, 0x00FFFFFFu);  // "ButtonLight" answers "Buttonlight"
  EXPECT_EQ(c.ButtonShadowColor, 0x009C9C9Cu);
  EXPECT_EQ(c.ButtonDkShadowColor, 0x00777777u);
  EXPECT_EQ(c.MenuBarTextColor, 0x00323232u);
  EXPECT_EQ(c.MenuTextColor, 0u);
  EXPECT_EQ(c.TitleTextColor, 0u);
  EXPECT_EQ(c.InactiveTitleTextColor, 0u);
}

TEST(SkinSettingsTest, EmptyTextGivesEveryDefault) {
  const SkinSettings s = parseSkinSettings("", nullptr);
  EXPECT_EQ(s.BorderTop.FrameCount, 1);
  EXPECT_EQ(s.BorderTop.Tile, 1);
  EXPECT_EQ(s.BorderTop.Trans, 1);
  EXPECT_TRUE(s.BorderTop.Image.empty());
  ASSERT_EQ(s.SysButtons.size(), 3u);
  for (const SkinSysButtonElement& b : s.SysButtons) {
    EXPECT_EQ(b.XCoord, 0);
    EXPECT_TRUE(b.Image.empty());
    EXPECT_EQ(b.FrameCount, 4);
    EXPECT_EQ(b.Visibility1, 0);
  }
  EXPECT_EQ(s.Buttons.FrameCount, 5);
  EXPECT_EQ(s.Buttons.Trans, 0);
  EXPECT_EQ(s.Buttons.CheckFrames, 4);
  EXPECT_EQ(s.Buttons.PressedColour2, sysColour(8));
  EXPECT_EQ(s.Title.FrameCount, 2);
  EXPECT_FALSE(s.MenuBar || s.Tabs || s.Progress || s.Scrollbar || s.VertScrollThumb);
  const SkinColors& c = s.SkinColors;
  EXPECT_EQ(c.WindowTextColor, 0x80000008u);
  EXPECT_EQ(c.ButtonFaceColor, 0x8000000Fu);
  EXPECT_EQ(c.ScrollbarColor, 0x80000000u);
  EXPECT_EQ(c.HilightTextColor, 0x8000000Eu);
  EXPECT_EQ(c.HilightColor, 0x8000000Du);
  EXPECT_EQ(c.MenuBarColor, 0x8000000Fu);
  EXPECT_EQ(c.MenuColor, 0x80000004u);
  EXPECT_EQ(c.MenuTextColor, 0x80000007u);
  EXPECT_EQ(c.ButtonTextColor, 0x80000012u);
  EXPECT_EQ(c.ButtonHilightColor, 0x80000014u);
  EXPECT_EQ(c.ButtonLightColor, 0x80000014u);
  EXPECT_EQ(c.ButtonShadowColor, 0x80000010u);
  EXPECT_EQ(c.ButtonDkShadowColor, 0x80000010u);
  EXPECT_EQ(c.MenuBarTextColor, 0x80000004u);
  EXPECT_EQ(c.TitleTextColor, 0x80000009u);
  EXPECT_EQ(c.InactiveTitleTextColor, 0x80000013u);
}

TEST(SkinSettingsTest, ColourKeysFallBackOnOneAnother) {
  SkinSettings s = parseSkinSettings("[Colours]\nButtonFace=1 2 3\nTitleTextActive=9 9 9\n", nullptr);
  EXPECT_EQ(s.SkinColors.MenuTextColor, 0x030201u);  // the ButtonFace text
  EXPECT_EQ(s.SkinColors.MenuBarColor, 0x030201u);
  EXPECT_EQ(s.SkinColors.TitleTextColor, 0x090909u);
  EXPECT_EQ(s.SkinColors.InactiveTitleTextColor, 0x090909u);
  s = parseSkinSettings("[Colours]\nMenuText=4 5 6\nMenubar=7 7 7\n", nullptr);
  EXPECT_EQ(s.SkinColors.MenuTextColor, 0x060504u);
  EXPECT_EQ(s.SkinColors.MenuBarColor, 0x070707u);
  EXPECT_EQ(s.SkinColors.ButtonFaceColor, sysColour(15));
}

TEST(SkinSettingsTest, CustomColourSections) {
  const SkinSettings s = parseSkinSettings(
      "[Colour1]\ncolor=1 2 3\n[Colours]\nMenu=1 1 1\n[colourRed]\nColor=255 0 0\n"
      "[COLOUR]\n[MyColour]\ncolor=5 5 5\n",
      nullptr);
  ASSERT_EQ(s.CustomColours.size(), 3u);
  EXPECT_EQ(s.CustomColours[0], 0x030201u);
  EXPECT_EQ(s.CustomColours[1], 0x0000FFu);
  EXPECT_EQ(s.CustomColours[2], sysColour(8));
  Colour c = 0;
  EXPECT_TRUE(s.customColour(1, c));
  EXPECT_EQ(c, 0x0000FFu);
  EXPECT_FALSE(s.customColour(3, c));
  EXPECT_FALSE(s.customColour(-1, c));
}

// One title button section with the given keys, over a picture of the given size.
SkinSysButtonElement oneButton(const std::string& keys, int w, int h) {
  Pictures pics;
  pics.sizes["b.bmp"] = {w, h};
  const SkinSettings s = parseSkinSettings("[Button7]\nButtonImage=b.bmp\n" + keys, pics.lookup());
  EXPECT_EQ(s.SysButtons.size(), 4u);
  return s.SysButtons.at(0);
}

TEST(SkinSettingsTest, TitleButtonFrameCounts) {
  EXPECT_EQ(oneButton("", 90, 23).FrameCount, 6);  // 3.91
  EXPECT_EQ(oneButton("", 69, 23).FrameCount, 3);  // 3.0
  EXPECT_EQ(oneButton("", 38, 10).FrameCount, 3);  // exactly 3.8
  EXPECT_EQ(oneButton("", 39, 10).FrameCount, 6);
  EXPECT_EQ(oneButton("Action=-1\n", 69, 23).FrameCount, 6);
  EXPECT_EQ(oneButton("frame=2\n", 90, 23).FrameCount, 2);
  EXPECT_EQ(oneButton("ButtonImage=none\n", 69, 23).FrameCount, 3) << "first key wins";

  // Buttons that show the window icon lose their picture, unless a frame count was given.
  for (const char* action : {"Action=3\n", "Action=11\n"}) {
    const SkinSysButtonElement b = oneButton(action, 69, 23);
    EXPECT_TRUE(b.Image.empty()) << action;
    EXPECT_EQ(b.FrameCount, 3) << action;
  }
  EXPECT_EQ(oneButton("Action=3\nframe=1\n", 69, 23).Image.width, 69);

  const SkinSettings none = parseSkinSettings("[Button1]\nAction=2\n", nullptr);
  EXPECT_EQ(none.SysButtons.at(0).FrameCount, 6);
}

TEST(SkinSettingsTest, WhichSectionsAreTitleButtons) {
  const SkinSettings s = parseSkinSettings(
      "[Buttons]\n[Button.Radio]\n[button.checkbox]\n[buttonZ]\nAction=5\n[MyButton]\n"
      "[BUTTON]\nAction=6\n[Button.Other]\nAction=4\n",
      nullptr);
  ASSERT_EQ(s.SysButtons.size(), 6u);
  EXPECT_EQ(s.SysButtons[0].ElementName, "BUTTONZ");
  EXPECT_EQ(s.SysButtons[0].Action, 5);
  EXPECT_EQ(s.SysButtons[1].ElementName, "BUTTON");
  EXPECT_EQ(s.SysButtons[2].ElementName, "BUTTON.OTHER");
  EXPECT_EQ(s.SysButtons[3].Action, 7);
}

TEST(SkinSettingsTest, MdiPictureNarrowerThanTwelve) {
  Pictures pics;
  pics.sizes["m.bmp"] = {11, 5};
  const SkinSettings s = parseSkinSettings("[mdicontrols]\nImage=m.bmp\n", pics.lookup());
  ASSERT_EQ(s.SysButtons.size(), 3u);
  EXPECT_TRUE(s.SysButtons[0].Image.empty());
  EXPECT_EQ(s.SysButtons[0].XCoord, 12);
  EXPECT_EQ(s.SysButtons[2].XCoord, 4);
}

TEST(SkinSettingsTest, MarkFramesFromPictureSize) {
  auto frames = [](int w, int h, const std::string& extra) {
    Pictures pics;
    pics.sizes["c.bmp"] = {w, h};
    return parseSkinSettings("[Buttons]\nCheckButton=c.bmp\n" + extra, pics.lookup()).Buttons.CheckFrames;
  };
  EXPECT_EQ(frames(100, 15, ""), 7);  // low picture: 13-pixel frames
  EXPECT_EQ(frames(100, 16, ""), 6);
  EXPECT_EQ(frames(30, 20, ""), 4);  // at least 4
  EXPECT_EQ(frames(100, 16, "CheckButtonFrame=9\n"), 9);
  EXPECT_EQ(frames(100, 16, "CheckButtonFrame=-2\n"), 6);
}

TEST(SkinSettingsTest, PictureNamesAndUnreadablePictures) {
  EXPECT_EQ(skinPictureName("top.bmp"), "top.bmp");
  EXPECT_EQ(skinPictureName("C:\\Skins\\Mac\\TOP.bmp"), "top.bmp");
  EXPECT_EQ(skinPictureName("skin:top.bmp"), "top.bmp");
  EXPECT_EQ(skinPictureName("a.b/top.bmp"), "a.b/top.bmp");
  EXPECT_EQ(skinPictureName("top.BMP"), std::nullopt);  // the extension's case matters
  EXPECT_EQ(skinPictureName("top.bmp.old"), std::nullopt);
  EXPECT_EQ(skinPictureName("0"), std::nullopt);
  EXPECT_EQ(skinPictureName("C:\\Skins\\"), std::nullopt);
  EXPECT_EQ(skinPictureName(""), std::nullopt);

  Pictures pics;
  pics.sizes["p.bmp"] = {4, 2};
  pics.raw["bad.bmp"] = {'B', 'M', 1, 2, 3};
  const SkinSettings s = parseSkinSettings(
      "[Progress]\nBitmap=bad.bmp\n[Toolbars]\nImage=0\n[Headerbar]\nImage=\n"
      "[MenuItem]\nImage=D:\\x\\P.bmp\nNormalColour=$FF\nMouseOverColour2=1 2 3\n"
      "[Tabs]\nImage=p.bmp\n",
      pics.lookup());
  // An element whose key names something is there even when its picture is not readable.
  ASSERT_TRUE(s.Progress);
  EXPECT_TRUE(s.Progress->Image.empty());
  ASSERT_TRUE(s.Toolbars);
  EXPECT_TRUE(s.Toolbars->Image.empty());
  EXPECT_FALSE(s.Headerbar);
  ASSERT_TRUE(s.MenuItem);
  EXPECT_EQ(s.MenuItem->Image.width, 4);
  EXPECT_EQ(s.MenuItem->NormalColour, 0xFFu);
  EXPECT_EQ(s.MenuItem->MouseOverColour2, 0x030201u);
  EXPECT_EQ(s.MenuItem->PressedColour, kColourUnset);
  ASSERT_TRUE(s.Tabs);
  EXPECT_TRUE(s.Tabs->SecondImage.empty());
}

TEST(SkinSettingsTest, ColourTextWalk) {
  EXPECT_EQ(parseColourText("84 116 152", 7), 0x00987454u);
  EXPECT_EQ(parseColourText("  84 116 152  ", 7), 0x00987454u);
  EXPECT_EQ(parseColourText("255,255", 7), 0x000000FFu);
  EXPECT_EQ(parseColourText("65 110 170", 7), 0x00AA6E41u);
  EXPECT_EQ(parseColourText("", 7), 7u);
  EXPECT_EQ(parseColourText("1  2 3", 7), 0x00020001u);  // the double blank skips green
  EXPECT_EQ(parseColourText("300 256 511", 7), 0x00FF002Cu);
  EXPECT_EQ(parseColourText("99999999999 5 5", 7), 0x00050500u);
  EXPECT_EQ(parseColourText("1 2 3 4", 7), 0x00030201u);
  EXPECT_EQ(parseColourText("1,2,3,", 7), 0x00030201u);
  EXPECT_EQ(parseColourText("1 2 3 4 5 6 7 8 9", 7), 0x00030201u);
  EXPECT_EQ(parseColourText("abc", 7), 0u);
  EXPECT_EQ(parseColourText("  ", 7), 0u);  // not empty, so no fallback
  EXPECT_EQ(parseColourText("\t10 20 30", 7), 0x001E140Au);
  EXPECT_EQ(parseColourText("-5 6 7", 7), 0x00060500u);  // "-" ends an empty first field

  EXPECT_EQ(pixelFromColour(0x00987454u), rgb(0x54, 0x74, 0x98));
  EXPECT_EQ(colourFromPixel(kKeyColour), 0x00FF00FFu);
}

}  // namespace
}  // namespace vrin
