#pragma once
// The skin settings file turned into plain data: the skin elements, the colour palette and
// the custom colours. Pictures are decoded here (vrin::Image, 0x00RRGGBB pixels); colours
// stay skin colour values (0x00BBGGRR or system colours, see colour_text.h).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/colour_text.h"
#include "core/image.h"

namespace vrin {

// One skin element: a strip of FrameCount frames with four fixed margins.
struct SkinElement {
  std::int32_t LeftWidth = 0;
  std::int32_t TopHeight = 0;
  std::int32_t RightWidth = 0;
  std::int32_t BottomHeight = 0;
  vrin::Image Image;  // empty when the settings name no readable picture
  std::int32_t Trans = 0;
  std::int32_t Tile = 0;
  std::string ElementName;
  std::int32_t FrameCount = 0;
  Colour NormalColour = kColourUnset;
  Colour MouseOverColour = kColourUnset;
  Colour PressedColour = kColourUnset;
  Colour NormalColour2 = sysColour(8);
  Colour MouseOverColour2 = sysColour(8);
  Colour PressedColour2 = sysColour(8);
};

// The four window borders and the tab element carry a second picture.
struct SkinBorderElement : SkinElement {
  vrin::Image SecondImage;
};

// Caption settings: LeftWidth, TopHeight and RightWidth hold TextShift, TextShiftVert and
// TextRightClip; Image is the picture behind the caption text.
struct SkinTitleElement : SkinElement {
  std::int32_t TextAlignment = 0;  // 0 left, 1 centre, 2 right
  std::int32_t TextBackLeft = 0;
  std::int32_t TextBackRight = 0;
};

struct SkinButtonElement : SkinElement {
  vrin::Image CheckImage;
  vrin::Image RadioImage;
  std::int32_t RadioFrames = 0;
  std::int32_t CheckFrames = 0;
};

struct SkinSysButtonElement : SkinElement {
  std::int32_t Action = 0;
  std::int32_t Align = 0;
  std::int32_t XCoord = 0;
  std::int32_t YCoord = 0;
  std::int32_t Visibility = 0;
  std::int32_t Visibility1 = 0;
};

// The [Colours] palette; every field starts at its default.
struct SkinColors {
  Colour WindowTextColor = sysColour(8);
  Colour ButtonFaceColor = sysColour(15);
  Colour ScrollbarColor = sysColour(0);
  Colour HilightTextColor = sysColour(14);
  Colour HilightColor = sysColour(13);
  Colour MenuBarColor = sysColour(15);
  Colour MenuColor = sysColour(4);
  Colour MenuTextColor = sysColour(7);
  Colour ButtonTextColor = sysColour(18);
  Colour ButtonHilightColor = sysColour(20);
  Colour ButtonLightColor = sysColour(20);
  Colour ButtonShadowColor = sysColour(16);
  Colour ButtonDkShadowColor = sysColour(16);
  Colour MenuBarTextColor = sysColour(4);
  Colour TitleTextColor = sysColour(9);
  Colour InactiveTitleTextColor = sysColour(19);
};

struct SkinSettings {
  vrin::SkinColors SkinColors;
  std::vector<Colour> CustomColours;
  SkinBorderElement BorderLeft, BorderRight, BorderTop, BorderBottom;
  SkinTitleElement Title;
  SkinButtonElement Buttons;
  // The title-bar buttons in file order, then the three MDI child buttons.
  std::vector<SkinSysButtonElement> SysButtons;
  std::optional<SkinElement> MenuBar;
  std::optional<SkinBorderElement> Tabs;
  std::optional<SkinElement> Progress, GroupBoxEdge, Toolbars, StatusBarEdges, ComboButton,
      SunkEdge, ExtraImages, Headerbar, MenuItem, MenuBackground, Scrollbar, HorzScroll,
      VertScroll, HorzScrollThumb, VertScrollThumb;

  // False when the index is outside CustomColours.
  bool customColour(std::int32_t index, Colour& colour) const;
};

// Gives the bytes of the skin entry of that (lower-case) name; empty when there is none.
using SkinPictureLookup = std::function<std::vector<std::uint8_t>(const std::string& name)>;

// Parses the settings text. Never throws for bad content: missing keys take their defaults
// and a picture that is absent, empty or not a readable bitmap is left empty.
SkinSettings parseSkinSettings(std::string_view iniText, const SkinPictureLookup& pictures);

// The entry name a picture value designates (the part after the last '\' or ':'), or
// nothing when that name is empty or its extension is not exactly ".bmp".
std::optional<std::string> skinPictureName(std::string_view value);

}  // namespace vrin
