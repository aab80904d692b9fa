#include "skin/pure/skin_settings.h"

#include <algorithm>

#include "core/bmp.h"
#include "core/ini_text.h"

namespace vrin {
namespace {

constexpr std::string_view kPersonality = "Personality";
constexpr std::string_view kColours = "Colours";

std::string lowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

class Reader {
 public:
  Reader(std::string_view text, const SkinPictureLookup& pictures) : ini_(text), pictures_(pictures) {}

  const IniText& ini() const { return ini_; }

  std::int32_t integer(std::string_view section, std::string_view key, std::int32_t fallback) const {
    return ini_.readInteger(section, key, fallback);
  }
  std::string text(std::string_view section, std::string_view key) const {
    return ini_.readString(section, key, "");
  }
  Colour colour(std::string_view section, std::string_view key, Colour fallback) const {
    return parseColourText(text(section, key), fallback);
  }

  // A bad or missing picture leaves the picture empty; the skin still loads.
  Image picture(std::string_view value) const {
    const std::optional<std::string> name = skinPictureName(value);
    if (!name || !pictures_) return {};
    const std::vector<std::uint8_t> bytes = pictures_(*name);
    if (bytes.empty()) return {};
    try {
      return decodeBmp(bytes.data(), bytes.size());
    } catch (const BmpError&) {
      return {};
    }
  }
  Image picture(std::string_view section, std::string_view key) const {
    return picture(text(section, key));
  }

  void margins(SkinElement& e, std::string_view section) const {
    e.LeftWidth = integer(section, "LeftWidth", 0);
    e.RightWidth = integer(section, "RightWidth", 0);
    e.TopHeight = integer(section, "TopHeight", 0);
    e.BottomHeight = integer(section, "BottomHeight", 0);
    e.Trans = integer(section, "Trans", 0);
  }
  void stateColours(SkinElement& e, std::string_view section) const {
    e.NormalColour = Colour(integer(section, "NormalColour", -1));
    e.MouseOverColour = Colour(integer(section, "MouseOverColour", -1));
    e.PressedColour = Colour(integer(section, "PressedColour", -1));
    e.NormalColour2 = colour(section, "NormalColour2", sysColour(8));
    e.MouseOverColour2 = colour(section, "MouseOverColour2", sysColour(8));
    e.PressedColour2 = colour(section, "PressedColour2", sysColour(8));
  }

 private:
  IniText ini_;
  const SkinPictureLookup& pictures_;
};

void readBorders(const Reader& r, SkinSettings& s) {
  struct Border {
    const char* name;
    SkinBorderElement* element;
    bool vertical;  // Left and Right: the two heights are top and bottom margins
  };
  const Border borders[] = {{"Left", &s.BorderLeft, true},
                            {"Right", &s.BorderRight, true},
                            {"Top", &s.BorderTop, false},
                            {"Bottom", &s.BorderBottom, false}};
  for (const Border& b : borders) {
    const std::string name = b.name;
    SkinBorderElement& e = *b.element;
    e = SkinBorderElement{};
    e.ElementName = name;
    const std::int32_t first = r.integer(kPersonality, name + "TopHeight", 0);
    const std::int32_t second = r.integer(kPersonality, name + "BotHeight", 0);
    if (b.vertical) {
      e.TopHeight = first;
      e.BottomHeight = second;
    } else {
      e.LeftWidth = first;
      e.RightWidth = second;
    }
    e.FrameCount = r.integer(kPersonality, name + "Frame", 1);
    e.Tile = r.integer(kPersonality, name + "Stretch", 1);
    e.Trans = r.integer(kPersonality, name + "Trans", 1);
    e.Image = r.picture(kPersonality, name);
  }
}

void readSysButtons(const Reader& r, SkinSettings& s, const std::vector<std::string>& sections) {
  s.SysButtons.clear();
  for (const std::string& section : sections) {
    const std::string upper = toUpperAscii(section);
    if (!startsWith(upper, "BUTTON") || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
        upper == "BUTTON.CHECKBOX")
      continue;
    SkinSysButtonElement b;
    b.ElementName = upper;
    b.Action = r.integer(section, "Action", 0);
    b.Align = r.integer(section, "Align", 0);
    b.XCoord = r.integer(section, "Xcoord", 0);
    b.YCoord = r.integer(section, "Ycoord", 0);
    b.Visibility = r.integer(section, "Visibility", 0);
    b.Visibility1 = r.integer(section, "Visibility1", 0);
    b.FrameCount = r.integer(section, "frame", 0);
    b.Image = r.picture(section, "ButtonImage");
    if (b.FrameCount == 0) {
      b.FrameCount = 6;
      if (!b.Image.empty()) {
        const double ratio = double(b.Image.width) / double(b.Image.height);
        b.FrameCount = ratio <= 3.8 ? 3 : 6;
        if (b.Action < 0) b.FrameCount = 6;
      }
      // The window icon stands in for the picture of these buttons.
      if (b.Action == 3 || b.Action == 11) b.Image = {};
    }
    s.SysButtons.push_back(std::move(b));
  }

  const Image mdi = r.picture("MDICONTROLS", "Image");
  const int a = mdi.width / 12;
  for (int i = 0; i < 3; ++i) {
    SkinSysButtonElement b;
    b.Action = 7 + i;
    b.Align = 100;
    b.Visibility = 100;
    b.Visibility1 = 0;
    b.FrameCount = 4;
    if (!mdi.empty()) {
      // Four frames side by side per button, cut from the one picture.
      const int x0 = 4 * a * i;
      const int w = std::max(0, std::min(4 * a, mdi.width - x0));
      if (w > 0) {
        b.Image = Image(w, mdi.height);
        for (int y = 0; y < mdi.height; ++y)
          for (int x = 0; x < w; ++x) b.Image.at(x, y) = mdi.at(x0 + x, y);
      }
      b.XCoord = (a + 4) * (3 - i);
    }
    s.SysButtons.push_back(std::move(b));
  }
}

void readButtons(const Reader& r, SkinSettings& s) {
  SkinButtonElement& b = s.Buttons;
  b = SkinButtonElement{};
  b.ElementName = "Buttons";
  r.margins(b, "Buttons");
  b.Image = r.picture("Buttons", "Bitmap");
  b.CheckImage = r.picture("Buttons", "CheckButton");
  b.RadioImage = r.picture("Buttons", "RadioButton");
  b.NormalColour = Colour(r.integer("Buttons", "NormalColour", -1));
  b.MouseOverColour = Colour(r.integer("Buttons", "MouseOverColour", -1));
  b.PressedColour = Colour(r.integer("Buttons", "PressedColour", -1));
  b.RadioFrames = r.integer("Buttons", "RadioButtonFrame", 0);
  b.CheckFrames = r.integer("Buttons", "CheckButtonFrame", 0);
  b.NormalColour2 = r.colour("Buttons", "NormalColour2", sysColour(8));
  b.MouseOverColour2 = r.colour("Buttons", "MouseOverColour2", sysColour(8));
  b.PressedColour2 = r.colour("Buttons", "PressedColour2", sysColour(8));
}

void readColours(const Reader& r, SkinSettings& s, const std::vector<std::string>& sections) {
  SkinColors& c = s.SkinColors;
  c.WindowTextColor = r.colour(kColours, "WindowText", sysColour(8));
  c.ButtonFaceColor = r.colour(kColours, "ButtonFace", sysColour(15));
  c.ScrollbarColor = r.colour(kColours, "Scrollbar", sysColour(0));
  c.HilightTextColor = r.colour(kColours, "HilightText", sysColour(14));
  c.HilightColor = r.colour(kColours, "Hilight", sysColour(13));
  c.MenuBarColor = r.colour(kColours, "Menubar", c.ButtonFaceColor);
  c.MenuColor = r.colour(kColours, "Menu", sysColour(4));
  // Without its own key the menu text takes the ButtonFace text.
  c.MenuTextColor = parseColourText(
      r.ini().readString(kColours, "MenuText", r.text(kColours, "ButtonFace")), sysColour(7));
  c.ButtonTextColor = r.colour(kColours, "ButtonText", sysColour(18));
  c.ButtonHilightColor = r.colour(kColours, "ButtonHilight", sysColour(20));
  c.ButtonLightColor = r.colour(kColours, "Buttonlight", sysColour(20));
  c.ButtonShadowColor = r.colour(kColours, "ButtonShadow", sysColour(16));
  c.ButtonDkShadowColor = r.colour(kColours, "ButtonDkShadow", sysColour(16));
  c.MenuBarTextColor = r.colour(kColours, "MenuBarText", sysColour(4));
  // One key serves both captions, active and inactive.
  c.TitleTextColor = r.colour(kColours, "TitleTextActive", sysColour(9));
  c.InactiveTitleTextColor = r.colour(kColours, "TitleTextActive", sysColour(19));

  s.CustomColours.clear();
  for (const std::string& section : sections) {
    const std::string upper = toUpperAscii(section);
    if (startsWith(upper, "COLOUR") && upper != "COLOURS")
      s.CustomColours.push_back(r.colour(section, "color", sysColour(8)));
  }
}

void readTitle(const Reader& r, SkinSettings& s) {
  SkinTitleElement& t = s.Title;
  t = SkinTitleElement{};
  t.ElementName = "Title";
  t.Image = r.picture(kPersonality, "TextBack");
  t.LeftWidth = r.integer(kPersonality, "TextShift", 0);
  t.TopHeight = r.integer(kPersonality, "TextShiftVert", 0);
  t.RightWidth = r.integer(kPersonality, "TextRightClip", 0);
  t.BottomHeight = 0;
  t.TextAlignment = r.integer(kPersonality, "TextAlignment", 0);
  t.TextBackLeft = r.integer(kPersonality, "TXTBackleft", 0);
  t.TextBackRight = r.integer(kPersonality, "TXTBackRight", 0);
}

void readProgress(const Reader& r, SkinSettings& s) {
  const std::string value = r.text("Progress", "Bitmap");
  s.Progress.reset();
  if (value.empty()) return;
  SkinElement e;
  e.ElementName = "Progress";
  e.Image = r.picture(value);
  r.margins(e, "Progress");
  e.Tile = r.integer("Progress", "Tile", 0);
  s.Progress = std::move(e);
}

void readMenuBar(const Reader& r, SkinSettings& s) {
  const std::string value = r.text(kPersonality, "menuBar");
  s.MenuBar.reset();
  if (value.empty()) return;
  SkinElement e;
  e.ElementName = "MenuBar";
  e.Image = r.picture(value);
  e.TopHeight = 0;
  e.BottomHeight = 0;
  e.Tile = r.integer(kPersonality, "TileMenu", 0);
  e.LeftWidth = r.integer(kPersonality, "TileLeftMenu", 1);
  e.RightWidth = r.integer(kPersonality, "TileRightMenu", 1);
  s.MenuBar = std::move(e);
}

// A section element is present when its "Image" key names something, readable or not.
template <typename Element>
void readSection(const Reader& r, std::string_view name, std::optional<Element>& slot) {
  slot.reset();
  const std::string value = r.text(name, "Image");
  if (value.empty()) return;
  Element e;
  e.ElementName = std::string(name);
  e.Image = r.picture(value);
  r.margins(e, name);
  e.Tile = r.integer(name, "Tile", 0);
  r.stateColours(e, name);
  slot = std::move(e);
}

void setFrameCount(std::optional<SkinElement>& e, std::int32_t count) {
  if (e) e->FrameCount = count;
}

// Check and radio strips hold 13-pixel frames when low, 16-pixel ones otherwise.
std::int32_t markFrames(std::int32_t frames, const Image& picture) {
  // A negative count is as unusable as 0, so it is worked out the same way.
  if (frames > 0) return frames;
  const int divisor = picture.height < 16 ? 13 : 16;
  return std::max(4, picture.width / divisor);
}

}  // namespace

bool SkinSettings::customColour(std::int32_t index, Colour& colour) const {
  if (index < 0 || std::size_t(index) >= CustomColours.size()) return false;
  colour = CustomColours[std::size_t(index)];
  return true;
}

std::optional<std::string> skinPictureName(std::string_view value) {
  const std::size_t slash = value.find_last_of("\\:");
  const std::string_view name = slash == std::string_view::npos ? value : value.substr(slash + 1);
  if (name.empty()) return std::nullopt;
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.substr(dot) != ".bmp") return std::nullopt;
  return lowerAscii(name);
}

SkinSettings parseSkinSettings(std::string_view iniText, const SkinPictureLookup& pictures) {
  const Reader r(iniText, pictures);
  SkinSettings s;
  const std::vector<std::string> sections = r.ini().sectionNames();

  readBorders(r, s);
  readSysButtons(r, s, sections);
  readButtons(r, s);
  readColours(r, s, sections);
  readTitle(r, s);
  readProgress(r, s);
  readMenuBar(r, s);

  readSection(r, "GroupBoxEdge", s.GroupBoxEdge);
  readSection(r, "Toolbars", s.Toolbars);
  readSection(r, "Tabs", s.Tabs);
  if (s.Tabs) s.Tabs->SecondImage = r.picture("Tabs", "Border");
  readSection(r, "StatusBarEdges", s.StatusBarEdges);
  readSection(r, "ComboButton", s.ComboButton);
  readSection(r, "SunkEdge", s.SunkEdge);
  readSection(r, "ExtraImages", s.ExtraImages);
  readSection(r, "Headerbar", s.Headerbar);
  readSection(r, "MenuItem", s.MenuItem);
  readSection(r, "MenuBackground", s.MenuBackground);
  readSection(r, "Scrollbar", s.Scrollbar);
  readSection(r, "HorzScroll", s.HorzScroll);
  readSection(r, "VertScroll", s.VertScroll);
  readSection(r, "HorzScrollThumb", s.HorzScrollThumb);
  readSection(r, "VertScrollThumb", s.VertScrollThumb);

  s.Buttons.FrameCount = 5;
  s.Buttons.RadioFrames = markFrames(s.Buttons.RadioFrames, s.Buttons.RadioImage);
  s.Buttons.CheckFrames = markFrames(s.Buttons.CheckFrames, s.Buttons.CheckImage);
  s.Title.FrameCount = 2;
  setFrameCount(s.Progress, 2);
  setFrameCount(s.MenuBar, 2);
  setFrameCount(s.GroupBoxEdge, 2);
  setFrameCount(s.Toolbars, 5);
  if (s.Tabs) s.Tabs->FrameCount = 5;
  setFrameCount(s.StatusBarEdges, 3);
  setFrameCount(s.ComboButton, 4);
  setFrameCount(s.SunkEdge, 4);
  setFrameCount(s.ExtraImages, 5);
  setFrameCount(s.Headerbar, 5);
  setFrameCount(s.MenuItem, 5);
  setFrameCount(s.MenuBackground, 1);
  setFrameCount(s.Scrollbar, 23);
  setFrameCount(s.HorzScroll, 4);
  setFrameCount(s.VertScroll, 4);
  setFrameCount(s.HorzScrollThumb, r.integer("HorzScrollThumb", "FrameCount", 3));
  setFrameCount(s.VertScrollThumb, r.integer("VertScrollThumb", "FrameCount", 3));
  return s;
}

}  // namespace vrin
