// The program's own skin: the committed resources/skin/vrin.skn read layer by layer, checked
// against its sources (so it cannot drift from them), and loaded through the same road the
// skin data component takes; then damaged and older skins on that road.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "core/lzhuf.h"
#include "skin/pure/skin_container.h"
#include "skin/pure/skin_load.h"

namespace vrin {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kSkinDir = std::string(VRIN_SOURCE_DIR) + "/resources/skin/";

Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::uint32_t u32(const Bytes& b, std::size_t at) {
  return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
         std::uint32_t(b[at + 3]) << 24;
}

const std::vector<std::string> kEntryOrder = {
    "top.bmp",     "bottom.bmp",   "left.bmp",     "right.bmp",    "menu.bmp",    "dialog.bmp",  "buttons.bmp",
    "check.bmp",   "radio.bmp",    "pbars.bmp",    "taborder.bmp", "tabs.bmp",    "arrows.bmp",  "hscroll.bmp",
    "vscroll.bmp", "hscroll2.bmp", "vscroll2.bmp", "toolbars.bmp", "rollup2.bmp", "min.bmp",     "max.bmp",
    "close.bmp",   "rollup3.bmp",  "vrinset.ini",  "mac-mdi.bmp"};

// The names index.txt lists, one a line.
std::vector<std::string> indexNames() {
  const Bytes raw = readFile(kSkinDir + "index.txt");
  std::vector<std::string> names;
  std::string line;
  for (std::uint8_t c : raw) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) names.push_back(line);
      line.clear();
    } else {
      line.push_back(char(c));
    }
  }
  if (!line.empty()) names.push_back(line);
  return names;
}

TEST(VrinSkin, CommittedFileLayerByLayer) {
  const Bytes skin = readFile(kSkinDir + "vrin.skn");
  ASSERT_GT(skin.size(), 4u);
  const std::uint32_t n = u32(skin, 0);

  const Bytes container = decompressSkin(skin.data(), skin.size());
  ASSERT_GE(container.size(), n);
  SkinReader reader;
  ASSERT_TRUE(reader.loadContainer(container));
  EXPECT_EQ(reader.version(), 20000u);
  EXPECT_EQ(reader.nameListLength(), 295u);
  EXPECT_EQ(reader.names(), kEntryOrder);

  std::size_t sum = 0;
  for (std::uint32_t s : reader.sizes()) sum += s;
  EXPECT_EQ(sum, reader.dataBlock().size());
  EXPECT_EQ(16 + 295 + 4 * 25 + sum, n);

  // Every entry is its source file; the bitmaps are 24-bit.
  for (const std::string& name : kEntryOrder) {
    const Bytes entry = reader.entry(name);
    EXPECT_EQ(entry, readFile(kSkinDir + name)) << name;
    if (name.ends_with(".bmp")) {
      EXPECT_EQ(peekBmp(entry.data(), entry.size()).bitsPerPixel, 24) << name;
    }
  }

  // Exact names ignore case; a name without its extension finds nothing.
  EXPECT_EQ(reader.entry("TOP.BMP"), reader.entry("top.bmp"));
  EXPECT_FALSE(reader.entry("top.bmp").empty());
  Bytes out{1, 2, 3};
  EXPECT_FALSE(reader.getEntry("top", out));
  EXPECT_TRUE(out.empty());
  std::string name;
  ASSERT_TRUE(reader.findEntry(".ini", out, name));
  EXPECT_EQ(name, "vrinset.ini");
  EXPECT_EQ(out, readFile(kSkinDir + "vrinset.ini"));
}

TEST(VrinSkin, CommittedFileIsItsSourcesPacked) {
  EXPECT_EQ(indexNames(), kEntryOrder);
  std::vector<SkinEntry> entries;
  for (const std::string& name : indexNames()) entries.push_back({name, readFile(kSkinDir + name)});
  EXPECT_EQ(packSkin(entries), readFile(kSkinDir + "vrin.skn"))
      << "resources/skin/vrin.skn is stale: run tools/skintool/pack-skin.sh";
}

TEST(VrinSkin, LoadsAsTheProgramsSkin) {
  const SkinLoadResult r = loadSkin(readFile(kSkinDir + "vrin.skn"));
  ASSERT_EQ(r.status, SkinLoadStatus::Loaded) << r.error;
  EXPECT_EQ(r.settingsName, "vrinset.ini");
  const SkinSettings& s = r.settings;

  // Six title-bar buttons in file order, then the three MDI buttons cut from mac-mdi.bmp.
  ASSERT_EQ(s.SysButtons.size(), 9u);
  const int actions[] = {-1, 2, 1, 0, 3, -1, 7, 8, 9};
  const int frames[] = {6, 6, 6, 6, 6, 6, 4, 4, 4};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(s.SysButtons[i].Action, actions[i]) << i;
    EXPECT_EQ(s.SysButtons[i].FrameCount, frames[i]) << i;
  }
  EXPECT_EQ(s.SysButtons[0].ElementName, "BUTTON0");
  EXPECT_EQ(s.SysButtons[3].Image.width, 96);
  EXPECT_TRUE(s.SysButtons[4].Image.empty());  // the window icon is drawn instead
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(s.SysButtons[6 + i].XCoord, (15 + 4) * (3 - i));
    EXPECT_EQ(s.SysButtons[6 + i].Image.width, 60);
    EXPECT_EQ(s.SysButtons[6 + i].Image.height, 14);
  }

  // The window frame: 3 / 23 / 3 / 3.
  EXPECT_EQ(s.BorderLeft.Image.width / s.BorderLeft.FrameCount, 3);
  EXPECT_EQ(s.BorderTop.Image.height / s.BorderTop.FrameCount, 23);
  EXPECT_EQ(s.BorderRight.Image.width / s.BorderRight.FrameCount, 3);
  EXPECT_EQ(s.BorderBottom.Image.height / s.BorderBottom.FrameCount, 3);
  EXPECT_EQ(s.BorderTop.LeftWidth, 37);
  EXPECT_EQ(s.BorderTop.RightWidth, 71);
  EXPECT_EQ(s.BorderLeft.TopHeight, 45);

  EXPECT_EQ(s.Buttons.FrameCount, 5);
  EXPECT_EQ(s.Buttons.Trans, 1);
  EXPECT_FALSE(s.Buttons.CheckImage.empty());
  ASSERT_TRUE(s.Tabs && s.Progress && s.Toolbars && s.Scrollbar && s.MenuBar);
  EXPECT_EQ(s.Tabs->SecondImage.width, 12);
  EXPECT_EQ(s.Scrollbar->FrameCount, 23);
  EXPECT_FALSE(s.MenuItem || s.MenuBackground || s.GroupBoxEdge || s.Headerbar);
  EXPECT_EQ(s.SkinColors.ButtonFaceColor, colourRgb(235, 235, 235));
  EXPECT_EQ(s.SkinColors.HilightColor, colourRgb(55, 100, 175));
}

TEST(VrinSkin, DamagedAndOlderSkinsAreRefused) {
  const Bytes good = readFile(kSkinDir + "vrin.skn");
  ASSERT_GT(good.size(), 100u);

  // A stream cut anywhere, even by one byte, is refused rather than padded with made-up data.
  for (std::size_t cut : {std::size_t(1), std::size_t(2), std::size_t(64), good.size() / 3, good.size() - 4,
                          good.size() - 3, good.size()}) {
    const Bytes shorter(good.begin(), good.end() - std::ptrdiff_t(cut));
    const SkinLoadResult r = loadSkin(shorter);
    EXPECT_EQ(r.status, SkinLoadStatus::Damaged) << cut;
    EXPECT_FALSE(r.error.empty()) << cut;
  }
  // Extra bytes after a complete stream are not read.
  Bytes longer = good;
  longer.insert(longer.end(), 100, 0xEE);
  EXPECT_EQ(loadSkin(longer).status, SkinLoadStatus::Loaded);

  // A size header past the limit is refused before anything is decoded.
  Bytes huge = good;
  huge[3] = 0x10;
  EXPECT_THROW(decompressSkin(huge.data(), huge.size()), LzhError);
  EXPECT_EQ(loadSkin(huge).status, SkinLoadStatus::Damaged);

  // Another container version.
  const Bytes ini = readFile(kSkinDir + "vrinset.ini");
  Bytes container = writeSkinContainer({{"vrinset.ini", ini}});
  container[0] = 0x1F;  // 19999
  const SkinLoadResult older = loadSkin(lzhCompress(container));
  EXPECT_EQ(older.status, SkinLoadStatus::OlderVersion);
  EXPECT_TRUE(older.settings.SysButtons.empty());

  // A container the reader refuses, and one without settings.
  container[0] = 0x20;
  container[4] = 0xFF, container[5] = 0xFF, container[6] = 0xFF;  // name list past the end
  EXPECT_EQ(loadSkin(lzhCompress(container)).status, SkinLoadStatus::Damaged);
  const SkinLoadResult bare = loadSkin(packSkin({{"top.bmp", readFile(kSkinDir + "bottom.bmp")}}));
  EXPECT_EQ(bare.status, SkinLoadStatus::Damaged);
  EXPECT_NE(bare.error.find(".ini"), std::string::npos);

  // Settings alone load, with every picture empty.
  const SkinLoadResult alone = loadSkin(packSkin({{"Skin.INI", ini}}));
  ASSERT_EQ(alone.status, SkinLoadStatus::Loaded) << alone.error;
  EXPECT_EQ(alone.settingsName, "skin.ini");
  EXPECT_TRUE(alone.settings.BorderTop.Image.empty());
  EXPECT_EQ(alone.settings.SysButtons.size(), 6u + 3u);

  // Flipped bytes anywhere in the stream never bring the load down.
  for (std::size_t at = 4; at < good.size(); at += good.size() / 3) {
    Bytes bent = good;
    bent[at] ^= 0x5A;
    const SkinLoadResult r = loadSkin(bent);
    if (r.status == SkinLoadStatus::Damaged) EXPECT_FALSE(r.error.empty()) << at;
  }
}

}  // namespace
}  // namespace vrin
