// Skin container and stored-property layers. Reader cases are built byte by byte here, so the
// writer is checked against the same layout rather than trusted to match the reader.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/lzhuf.h"
#include "skin/pure/skin_container.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Builder {
  Bytes b;
  Builder& u32(std::uint32_t v) {
    for (int k = 0; k < 4; ++k) b.push_back(std::uint8_t(v >> (8 * k)));
    return *this;
  }
  Builder& str(const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
};

// version, T, reserved words, names, sizes, data.
Bytes container(std::uint32_t version, const std::string& names, const std::vector<std::uint32_t>& sizes,
                const std::string& data, std::uint32_t reserved1 = 0xDEADBEEF, std::uint32_t reserved2 = 0x12345678) {
  Builder w;
  w.u32(version).u32(std::uint32_t(names.size())).u32(reserved1).u32(reserved2).str(names);
  for (auto s : sizes) w.u32(s);
  w.str(data);
  return w.b;
}

std::string asText(const Bytes& b) { return std::string(b.begin(), b.end()); }

TEST(SkinReader, ReadsHeaderNamesSizesAndEntries) {
  const Bytes c = container(20000, "Top.BMP\r\nSKIN.INI\r\nmenu.bmp\r\n", {3, 5, 2}, "BM1[ini]BM");
  vrin::SkinReader reader;
  ASSERT_TRUE(reader.loadContainer(c));
  EXPECT_EQ(reader.version(), 20000u);
  EXPECT_EQ(reader.nameListLength(), 29u);
  EXPECT_EQ(reader.reserved1(), 0xDEADBEEFu);
  EXPECT_EQ(reader.reserved2(), 0x12345678u);
  EXPECT_EQ(reader.names(), (std::vector<std::string>{"top.bmp", "skin.ini", "menu.bmp"}));
  EXPECT_EQ(reader.sizes(), (std::vector<std::uint32_t>{3, 5, 2}));
  EXPECT_EQ(asText(reader.dataBlock()), "BM1[ini]BM");
  // Each entry sits after the sum of the sizes before it.
  EXPECT_EQ(asText(reader.entry("top.bmp")), "BM1");
  EXPECT_EQ(asText(reader.entry("skin.ini")), "[ini]");
  EXPECT_EQ(asText(reader.entry("menu.bmp")), "BM");
}

TEST(SkinReader, LooksUpByNameIgnoringCaseAndByFragment) {
  const Bytes c = container(20000, "top.bmp\r\nMySkin.INI\r\ntop.bmp\r\nbottom.bmp\r\n", {2, 3, 4, 1}, "t1inixxxxb");
  vrin::SkinReader reader;
  ASSERT_TRUE(reader.loadContainer(c));

  Bytes out{9, 9, 9};
  EXPECT_TRUE(reader.getEntry("TOP.BMP", out));
  EXPECT_EQ(asText(out), "t1");  // the first of two equal names
  EXPECT_EQ(reader.entry("top.bmp"), reader.entry("Top.Bmp"));
  EXPECT_FALSE(reader.getEntry("top", out));  // exact names only
  EXPECT_TRUE(out.empty());

  std::string name = "unchanged";
  out = {1, 2};
  EXPECT_TRUE(reader.findEntry(".ini", out, name));
  EXPECT_EQ(name, "myskin.ini");
  EXPECT_EQ(asText(out), "ini");
  EXPECT_TRUE(reader.findEntry("bmp", out, name));
  EXPECT_EQ(name, "top.bmp");  // the first name containing the fragment
  EXPECT_TRUE(reader.findEntry("tom", out, name));
  EXPECT_EQ(asText(out), "b");
  // The fragment is taken as given: upper case never matches the lower-cased names.
  name = "unchanged";
  EXPECT_FALSE(reader.findEntry(".INI", out, name));
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(name, "unchanged");
}

TEST(SkinReader, SplitsTheNameListAtCrLfOnly) {
  vrin::SkinReader reader;
  // No final CR LF: the last name still counts.
  ASSERT_TRUE(reader.loadContainer(container(20000, "a.bmp\r\nb.bmp", {1, 1}, "ab")));
  EXPECT_EQ(reader.names(), (std::vector<std::string>{"a.bmp", "b.bmp"}));
  // An empty line in the middle is an (empty) name of its own; a bare LF or CR is part of a name.
  ASSERT_TRUE(reader.loadContainer(container(20000, "a\r\n\r\nb\nc\rd\r\n", {1, 1, 1}, "xyz")));
  EXPECT_EQ(reader.names(), (std::vector<std::string>{"a", "", "b\nc\rd"}));
  EXPECT_EQ(asText(reader.entry("")), "y");
  // An empty list means no entries; whatever follows the header is data.
  ASSERT_TRUE(reader.loadContainer(container(20000, "", {}, "spare")));
  EXPECT_EQ(reader.count(), 0u);
  EXPECT_EQ(asText(reader.dataBlock()), "spare");
  // A lone CR LF is one empty name.
  ASSERT_TRUE(reader.loadContainer(container(20000, "\r\n", {0}, "")));
  EXPECT_EQ(reader.names(), (std::vector<std::string>{""}));
}

TEST(SkinReader, OtherVersionsLoadNothing) {
  EXPECT_STREQ(vrin::kOlderSkinMessage, "This is Older Skin File\rPlease update to new version !");
  vrin::SkinReader reader;
  ASSERT_TRUE(reader.loadContainer(container(20000, "a\r\n", {1}, "x")));
  for (std::uint32_t version : {19999u, 20001u, 0u}) {
    SCOPED_TRACE(version);
    EXPECT_FALSE(reader.loadContainer(container(version, "a\r\n", {1}, "x")));
    EXPECT_EQ(reader.count(), 0u);
    EXPECT_TRUE(reader.dataBlock().empty());
    EXPECT_TRUE(reader.entry("a").empty());
  }
  // The version decides before anything else is looked at.
  EXPECT_FALSE(reader.loadContainer(Builder().u32(19999).b));
}

TEST(SkinReader, RejectsDamagedContainersAndKeepsNothing) {
  vrin::SkinReader reader;
  auto rejects = [&](const Bytes& c, const char* why) {
    SCOPED_TRACE(why);
    ASSERT_TRUE(reader.loadContainer(container(20000, "keep\r\n", {1}, "k")));
    try {
      reader.loadContainer(c);
      ADD_FAILURE() << "accepted";
    } catch (const vrin::SkinError& e) {
      EXPECT_GT(std::string(e.what()).size(), 10u);
    }
    EXPECT_EQ(reader.count(), 0u);
    EXPECT_TRUE(reader.entry("keep").empty());
  };
  rejects(Bytes{0x20, 0x4E}, "shorter than the version");
  rejects(Builder().u32(20000).u32(0).b, "header cut short");
  rejects(container(20000, "a\r\nb\r\n", {1, 2}, "xy"), "sizes run past the data");
  rejects(container(20000, "a\r\nb\r\n", {0xFFFFFFFF, 0xFFFFFFFF}, "xy"), "sizes whose sum wraps 32 bits");
  rejects(container(20000, "a\r\nb\r\n", {1}, ""), "size table cut short");
  Bytes longList = container(20000, "a\r\n", {1}, "x");
  longList[4] = 200;  // T now points far past the end
  rejects(longList, "name list runs past the end");

  std::string many;
  for (int i = 0; i < 1002; ++i) many += "e" + std::to_string(i) + "\r\n";
  rejects(container(20000, many, std::vector<std::uint32_t>(1002, 0), ""), "1002 entries");
  // 1001 is still fine.
  std::string most;
  for (int i = 0; i < 1001; ++i) most += "e" + std::to_string(i) + "\r\n";
  ASSERT_TRUE(reader.loadContainer(container(20000, most, std::vector<std::uint32_t>(1001, 1), std::string(1001, 'z'))));
  EXPECT_EQ(reader.count(), 1001u);
  EXPECT_EQ(asText(reader.entry("e1000")), "z");
  // Extra bytes after the last entry are harmless.
  ASSERT_TRUE(reader.loadContainer(container(20000, "a\r\n", {1}, "xtrailing")));
  EXPECT_EQ(asText(reader.entry("a")), "x");
}

TEST(SkinWriter, LaysOutTheContainerAndRoundTrips) {
  const std::vector<vrin::SkinEntry> entries = {
      {"Top.bmp", {'B', 'M', 1}}, {"skin.ini", {'[', ']'}}, {"empty.bmp", {}}};
  const Bytes c = vrin::writeSkinContainer(entries, 7, 8);
  EXPECT_EQ(c, container(20000, "Top.bmp\r\nskin.ini\r\nempty.bmp\r\n", {3, 2, 0}, "BM\x01[]", 7, 8));

  vrin::SkinReader reader;
  ASSERT_TRUE(reader.load(vrin::packSkin(entries)));
  EXPECT_EQ(reader.names(), (std::vector<std::string>{"top.bmp", "skin.ini", "empty.bmp"}));
  EXPECT_EQ(reader.entry("TOP.BMP"), entries[0].bytes);
  Bytes out{1};
  EXPECT_TRUE(reader.getEntry("empty.bmp", out));  // present, but empty
  EXPECT_TRUE(out.empty());

  EXPECT_THROW(vrin::writeSkinContainer({{"bad\r\nname", {}}}), vrin::SkinError);
  // Lone CR and LF survive the trip, even next to the separator.
  vrin::SkinReader odd;
  ASSERT_TRUE(odd.loadContainer(vrin::writeSkinContainer({{"a\r", {1}}, {"\nb", {2}}, {"", {3}}})));
  EXPECT_EQ(odd.names(), (std::vector<std::string>{"a\r", "\nb", ""}));
  EXPECT_EQ(odd.entry(""), Bytes{3});
  EXPECT_THROW(vrin::writeSkinContainer(std::vector<vrin::SkinEntry>(1002, {"x", {}})), vrin::SkinError);
  EXPECT_NO_THROW(vrin::writeSkinContainer(std::vector<vrin::SkinEntry>(1001, {"x", {}})));
}

TEST(SkinReader, LoadsACompressedSkinOfTwentyFiveEntries) {
  std::vector<vrin::SkinEntry> entries;
  const char* names[] = {"top.bmp",     "bottom.bmp",  "left.bmp",     "right.bmp",   "menu.bmp",
                         "dialog.bmp",  "buttons.bmp", "check.bmp",    "radio.bmp",   "pbars.bmp",
                         "taborder.bmp", "tabs.bmp",   "arrows.bmp",   "hscroll.bmp", "vscroll.bmp",
                         "hscroll2.bmp", "vscroll2.bmp", "toolbars.bmp", "rollup2.bmp", "min.bmp",
                         "max.bmp",     "close.bmp",   "rollup3.bmp",  "skin.ini",    "mac-mdi.bmp"};
  std::size_t total = 0;
  for (std::size_t i = 0; i < 25; ++i) {
    Bytes bytes(500 + i * 997, std::uint8_t(i));
    for (std::size_t k = 0; k < bytes.size(); k += 7) bytes[k] = std::uint8_t(k * i);
    total += bytes.size();
    entries.push_back({names[i], bytes});
  }
  const Bytes packed = vrin::packSkin(entries);
  vrin::SkinReader reader;
  ASSERT_TRUE(reader.load(packed));
  EXPECT_EQ(reader.count(), 25u);
  std::size_t sum = 0;
  for (auto s : reader.sizes()) sum += s;
  EXPECT_EQ(sum, total);
  EXPECT_EQ(reader.dataBlock().size(), total);
  for (const auto& e : entries) EXPECT_EQ(reader.entry(e.name), e.bytes) << e.name;
  std::string name;
  Bytes ini;
  ASSERT_TRUE(reader.findEntry(".ini", ini, name));
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(ini, entries[23].bytes);

  // A compressed skin whose container has another version loads nothing.
  Bytes old = vrin::writeSkinContainer(entries);
  old[0] = 0x1F;  // 19999
  EXPECT_FALSE(reader.load(vrin::lzhCompress(old)));
  EXPECT_EQ(reader.count(), 0u);
  // Stream-level damage surfaces as LzhError.
  EXPECT_THROW(reader.load(Bytes{1, 2}), vrin::LzhError);
  EXPECT_THROW(reader.load(Bytes{0xFF, 0xFF, 0xFF, 0x7F}), vrin::LzhError);
}

TEST(SkinStream, LengthThenBytes) {
  const Bytes compressed = vrin::lzhCompress(Bytes{'h', 'i'});
  const Bytes stored = vrin::writeSkinStream(compressed);
  ASSERT_EQ(stored.size(), compressed.size() + 4);
  EXPECT_EQ(stored[0], compressed.size());
  std::size_t used = 0;
  Bytes withTail = stored;
  withTail.push_back(0xAA);
  EXPECT_EQ(vrin::readSkinStream(withTail.data(), withTail.size(), &used), compressed);
  EXPECT_EQ(used, stored.size());

  EXPECT_EQ(vrin::writeSkinStream({}), (Bytes{0, 0, 0, 0}));
  // L = 0 and negative L both mean "no skin" and use only the length field.
  for (const Bytes& v : {Bytes{0, 0, 0, 0, 9}, Bytes{0xFF, 0xFF, 0xFF, 0xFF, 9}, Bytes{0, 0, 0, 0x80}}) {
    used = 99;
    EXPECT_TRUE(vrin::readSkinStream(v.data(), v.size(), &used).empty());
    EXPECT_EQ(used, 4u);
  }
  const Bytes shortOne{5, 0, 0, 0, 1, 2, 3, 4};
  EXPECT_THROW(vrin::readSkinStream(shortOne.data(), shortOne.size()), vrin::SkinError);
  EXPECT_THROW(vrin::readSkinStream(shortOne.data(), 3), vrin::SkinError);
}

}  // namespace
