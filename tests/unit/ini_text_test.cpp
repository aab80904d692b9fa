// Settings text read from memory: the lookups must answer as the Windows profile functions do.
#include <gtest/gtest.h>

#include "core/ini_text.h"

namespace vrin {
namespace {

TEST(IniTextTest, SectionsAndKeysMatchWithoutCaseFirstOneWins) {
  const IniText ini(
      "top=ignored\r\n"
      "[Personality]\r\n"
      "Top=top.bmp\r\n"
      "TOP=second.bmp\r\n"
      "[Colours]\n"
      "ButtonFace=235 235 235\n"
      "[personality]\r"
      "Top=third.bmp\r"
      "Left=left.bmp\r");
  EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"Personality", "Colours", "personality"}));
  EXPECT_EQ(ini.value("PERSONALITY", "top"), "top.bmp");
  EXPECT_EQ(ini.value("colours", "BUTTONFACE"), "235 235 235");
  // Only the first section of a name is searched, as the profile functions do.
  EXPECT_EQ(ini.value("Personality", "Left"), std::nullopt);
  EXPECT_EQ(ini.value("", "top"), std::nullopt);
  EXPECT_TRUE(ini.hasSection("COLOURS"));
  EXPECT_FALSE(ini.hasSection("Colour"));
  EXPECT_EQ(ini.value("Missing", "Top"), std::nullopt);
}

TEST(IniTextTest, TrimmingQuotesCommentsAndOddLines) {
  const IniText ini(
      "\xEF\xBB\xBF[ First ]\n"
      "  Key  =   spaced value \t\n"
      "; Hidden=1\n"
      "   ;Also=2\n"
      "Quoted=\"  kept inside  \"\n"
      "Single='x'\n"
      "Half=\"open\n"
      "Mixed=\"a'\n"
      "Bare line\n"
      "Empty=\n"
      "Equals=a=b\n"
      "Inline=5 ; not a comment\n"
      "[Unclosed\n"
      "K=v\n"
      "\n\n[Last]");
  EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"First", "Unclosed", "Last"}));
  EXPECT_EQ(ini.value("First", "Key"), "spaced value");
  EXPECT_EQ(ini.value("First", "Hidden"), std::nullopt);
  EXPECT_EQ(ini.value("First", ";Also"), std::nullopt);
  EXPECT_EQ(ini.value("First", "Quoted"), "  kept inside  ");
  EXPECT_EQ(ini.value("First", "Single"), "x");
  EXPECT_EQ(ini.value("First", "Half"), "\"open");
  EXPECT_EQ(ini.value("First", "Mixed"), "\"a'");
  EXPECT_EQ(ini.value("First", "Bare line"), "");
  EXPECT_EQ(ini.value("First", "Empty"), "");
  EXPECT_EQ(ini.value("First", "Equals"), "a=b");
  EXPECT_EQ(ini.value("First", "Inline"), "5 ; not a comment");
  EXPECT_EQ(ini.value("Unclosed", "K"), "v");
  EXPECT_TRUE(ini.hasSection("Last"));
}

TEST(IniTextTest, ReadStringAndIntegerFallbacks) {
  const IniText ini(
      "[S]\nEmpty=\nDec=45\nNeg=-1\nHex=$FF\nHexC=0x80000008\nBad=12px\n"
      "Big=2147483648\nLow=-2147483648\nPlus=+7\nSpace= 3 \nSign=-\nLongHex=$123456789\n");
  EXPECT_EQ(ini.readString("S", "Empty", "def"), "");  // present but empty is not absent
  EXPECT_EQ(ini.readString("S", "Nope", "def"), "def");
  EXPECT_EQ(ini.readInteger("S", "Dec", 0), 45);
  EXPECT_EQ(ini.readInteger("S", "Neg", 0), -1);
  EXPECT_EQ(ini.readInteger("S", "Hex", 0), 255);
  EXPECT_EQ(std::uint32_t(ini.readInteger("S", "HexC", 0)), 0x80000008u);
  EXPECT_EQ(ini.readInteger("S", "Bad", 9), 9);
  EXPECT_EQ(ini.readInteger("S", "Empty", 9), 9);
  EXPECT_EQ(ini.readInteger("S", "Nope", 9), 9);
  EXPECT_EQ(ini.readInteger("S", "Big", 9), 9);
  EXPECT_EQ(ini.readInteger("S", "Low", 9), INT32_MIN);
  EXPECT_EQ(ini.readInteger("S", "Plus", 9), 7);
  EXPECT_EQ(ini.readInteger("S", "Space", 9), 3);
  EXPECT_EQ(ini.readInteger("S", "Sign", 9), 9);
  EXPECT_EQ(ini.readInteger("S", "LongHex", 9), 9);
  EXPECT_EQ(parseInteger("99999999999999999999999"), std::nullopt);
}

TEST(IniTextTest, EmptyAndBinaryText) {
  EXPECT_TRUE(IniText("").sectionNames().empty());
  EXPECT_TRUE(IniText("\r\n\r\n").sectionNames().empty());
  const IniText ini(std::string_view("[A\0B]\nk\0=v\0w\n", 14));
  ASSERT_EQ(ini.sectionNames().size(), 1u);
  EXPECT_EQ(ini.sectionNames()[0].size(), 3u);
}

}  // namespace
}  // namespace vrin
