// Property values as stored texts, by type kind, and the naming rules of stored entries.
#include <gtest/gtest.h>

#include <cmath>

#include "state/pure/property_text.h"

using namespace vrin;

namespace {

PropInfo kindProp(TypeKind kind, StringList names = {}, FloatType ft = FloatType::Double) {
  PropInfo p;
  p.name = "P";
  p.kind = kind;
  p.names = std::move(names);
  p.floatType = ft;
  return p;
}

// Applies `text` to a value that starts as `start`; nullopt when the text changes nothing.
std::optional<PropValue> fromText(const PropInfo& p, const std::string& text, PropValue start = {}) {
  return propertyValueFromText(p, text, start);
}

const StringList kBool{"False", "True"};
const StringList kMembers{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

}  // namespace

TEST(PropertyText, IntegersAreDecimalAndNonNumbersGiveZero) {
  PropInfo p = kindProp(TypeKind::Integer);
  EXPECT_EQ(propertyText(p, PropValue::ofInt(5)), "5");
  EXPECT_EQ(propertyText(p, PropValue::ofInt(-1)), "-1");
  EXPECT_EQ(propertyText(p, PropValue::ofInt(2147483647)), "2147483647");

  EXPECT_EQ(fromText(p, "25")->integer, 25);
  EXPECT_EQ(fromText(p, "-7")->integer, -7);
  EXPECT_EQ(fromText(p, "+7")->integer, 7);
  EXPECT_EQ(fromText(p, "-2147483648")->integer, -2147483648LL);
  // Not a number: 0, never the old value.
  for (const char* bad : {"abc", "", "12abc", "1.5", "+-3", "--3", "+", "-", "2147483648", "99999999999999999999"})
    EXPECT_EQ(fromText(p, bad, PropValue::ofInt(9))->integer, 0) << bad;
}

TEST(PropertyText, CharactersKeepTheirFirstCharacterOrZero) {
  PropInfo c = kindProp(TypeKind::Char);
  PropInfo w = kindProp(TypeKind::WideChar);
  EXPECT_EQ(propertyText(c, PropValue::ofInt('F')), "F");
  EXPECT_EQ(propertyText(c, PropValue::ofInt(0)), "");
  EXPECT_EQ(propertyText(c, PropValue::ofInt(0xE9)), "é");  // Latin-1 code, UTF-8 text
  EXPECT_EQ(propertyText(w, PropValue::ofInt(0x20AC)), "€");
  EXPECT_EQ(propertyText(w, PropValue::ofInt(0xD800)), "");  // a lone surrogate has no text

  EXPECT_EQ(fromText(c, "Fx")->integer, 'F');
  EXPECT_EQ(fromText(c, "", PropValue::ofInt('Q'))->integer, 0);
  EXPECT_EQ(fromText(c, "é")->integer, 0xE9);
  EXPECT_FALSE(fromText(c, "€"));  // does not fit an 8-bit character: unchanged
  EXPECT_EQ(fromText(w, "€uro")->integer, 0x20AC);
  EXPECT_EQ(fromText(w, "\xFF")->integer, 0xFF);  // a stray byte stands for itself
  EXPECT_FALSE(fromText(w, "\xF0\x9F\x98\x80"));   // beyond one UTF-16 unit
  EXPECT_TRUE(isStringLike(TypeKind::WideChar));
  EXPECT_FALSE(isStringLike(TypeKind::Char));
}

TEST(PropertyText, EnumerationsAndBooleansByNameIgnoringCase) {
  PropInfo b = kindProp(TypeKind::Enumeration, kBool);
  PropInfo e = kindProp(TypeKind::Enumeration, {"rrCurrentUser", "rrLocalMachine"});
  EXPECT_EQ(propertyText(b, PropValue::ofInt(1)), "True");
  EXPECT_EQ(propertyText(b, PropValue::ofInt(0)), "False");
  EXPECT_EQ(propertyText(e, PropValue::ofInt(1)), "rrLocalMachine");
  EXPECT_EQ(propertyText(e, PropValue::ofInt(7)), "");  // no name, nothing to store

  EXPECT_EQ(fromText(b, "true")->integer, 1);
  EXPECT_EQ(fromText(b, "FALSE", PropValue::ofInt(1))->integer, 0);
  EXPECT_EQ(fromText(e, "RRLOCALMACHINE")->integer, 1);
  for (const char* bad : {"yes", "1", "", "Tru", "True "}) EXPECT_FALSE(fromText(b, bad)) << bad;
}

TEST(PropertyText, FloatsInGeneralFormatByPrecision) {
  EXPECT_EQ(floatPrecision(FloatType::Single), 7);
  EXPECT_EQ(floatPrecision(FloatType::Double), 15);
  EXPECT_EQ(floatPrecision(FloatType::Extended), 18);
  EXPECT_EQ(floatPrecision(FloatType::Comp), 18);
  EXPECT_EQ(floatPrecision(FloatType::Currency), 19);

  EXPECT_EQ(formatGeneral(0, 15), "0");
  EXPECT_EQ(formatGeneral(1.5, 15), "1.5");
  EXPECT_EQ(formatGeneral(-2.25, 15), "-2.25");
  EXPECT_EQ(formatGeneral(100, 15), "100");
  EXPECT_EQ(formatGeneral(0.1, 15), "0.1");
  EXPECT_EQ(formatGeneral(1.0 / 3, 15), "0.333333333333333");
  EXPECT_EQ(formatGeneral(1.0 / 3, 7), "0.3333333");
  EXPECT_EQ(formatGeneral(2.0 / 3, 7), "0.6666667");
  EXPECT_EQ(formatGeneral(0.00001, 15), "0.00001");      // smallest fixed magnitude
  EXPECT_EQ(formatGeneral(0.000001, 15), "1E-6");
  EXPECT_EQ(formatGeneral(-1.5e-7, 15), "-1.5E-7");
  EXPECT_EQ(formatGeneral(1234567, 7), "1234567");       // integer part fits
  EXPECT_EQ(formatGeneral(12345678, 7), "1.234568E7");   // it does not
  EXPECT_EQ(formatGeneral(1e20, 15), "1E20");
  EXPECT_EQ(formatGeneral(9.9999999, 7), "10");          // rounding carries into the integer part
  EXPECT_EQ(formatGeneral(0.1, 18), "0.100000000000000006");  // precision as asked
  EXPECT_EQ(formatGeneral(NAN, 15), "NAN");
  EXPECT_EQ(formatGeneral(-INFINITY, 15), "-INF");

  PropInfo single = kindProp(TypeKind::Float, {}, FloatType::Single);
  PropInfo dbl = kindProp(TypeKind::Float, {}, FloatType::Double);
  PropInfo ext = kindProp(TypeKind::Float, {}, FloatType::Extended);
  PropInfo cur = kindProp(TypeKind::Float, {}, FloatType::Currency);
  EXPECT_EQ(propertyText(single, PropValue::ofFloat(0.1)), "0.1");
  EXPECT_EQ(propertyText(dbl, PropValue::ofFloat(3.14159)), "3.14159");
  // The wider kinds arrive as doubles: no noise digits, yet the value reads back exactly.
  EXPECT_EQ(propertyText(ext, PropValue::ofFloat(0.1)), "0.1");
  EXPECT_EQ(propertyText(cur, PropValue::ofFloat(1.23)), "1.23");
  double third = 1.0 / 3;
  EXPECT_EQ(fromText(ext, propertyText(ext, PropValue::ofFloat(third)))->number, third);

  EXPECT_DOUBLE_EQ(fromText(dbl, "2.5")->number, 2.5);
  EXPECT_DOUBLE_EQ(fromText(dbl, "-1E3")->number, -1000);
  EXPECT_DOUBLE_EQ(fromText(dbl, ".5")->number, 0.5);
  EXPECT_DOUBLE_EQ(fromText(dbl, "+4.")->number, 4);
  EXPECT_EQ(fromText(single, "0.1")->number, double(0.1f));
  for (const char* bad : {"", "abc", "1,5", "1e", "e5", "1.2.3", "nan", "inf", "0x10", "1e999", " 1"})
    EXPECT_FALSE(fromText(dbl, bad)) << bad;
  EXPECT_FALSE(fromText(single, "1e39"));  // beyond a single
}

TEST(PropertyText, StringsAreTakenAsTheyAre) {
  PropInfo s = kindProp(TypeKind::String);
  EXPECT_EQ(propertyText(s, PropValue::ofText("Vrin alert")), "Vrin alert");
  EXPECT_EQ(fromText(s, "", PropValue::ofText("old"))->text, "");
  EXPECT_EQ(fromText(s, "clé")->text, "clé");
  EXPECT_TRUE(isStringLike(TypeKind::String));
}

TEST(PropertyText, SetsListTheirMembersAndReplaceTheWholeSet) {
  PropInfo p = kindProp(TypeKind::Set, kMembers);
  EXPECT_EQ(propertyText(p, PropValue::ofInt(0)), "[]");
  EXPECT_EQ(propertyText(p, PropValue::ofInt(0b101)), "[fsBold,fsUnderline]");
  EXPECT_EQ(propertyText(p, PropValue::ofInt(0xF0 | 0b10)), "[fsItalic]");  // unnamed bits have no text

  EXPECT_EQ(fromText(p, "[fsBold,fsUnderline]")->integer, 0b101);
  EXPECT_EQ(fromText(p, " [ FSITALIC  fsStrikeOut ] ")->integer, 0b1010);
  EXPECT_EQ(fromText(p, "[fsBold,fsWavy,,fsItalic]")->integer, 0b11);  // unknown member skipped
  EXPECT_EQ(fromText(p, "[]", PropValue::ofInt(0b1111))->integer, 0);  // replaces, never merges
  EXPECT_EQ(fromText(p, "nonsense", PropValue::ofInt(0b1))->integer, 0);
  // Round trip of every combination.
  for (std::uint32_t bits = 0; bits < 16; ++bits)
    EXPECT_EQ(setFromText(kMembers, setText(kMembers, bits)), bits);
}

TEST(PropertyText, StringListsAndMethodsHaveNoSingleText) {
  PropInfo l = kindProp(TypeKind::StringList);
  PropInfo m = kindProp(TypeKind::Method);
  EXPECT_EQ(propertyText(l, PropValue::ofList({"a", "b"})), "");
  EXPECT_FALSE(fromText(l, "a"));
  EXPECT_FALSE(fromText(m, "x"));
  EXPECT_EQ(listSectionName("TForm1", "Memo1.Lines"), "TForm1.Memo1.Lines");
  EXPECT_EQ(listItemName(0), "Item0");
  EXPECT_EQ(listItemName(12), "Item12");
  EXPECT_STREQ(kListCountName, "Count");
}

TEST(PropertyText, EntriesSplitAtTheFirstFullStopAndAreTrimmed) {
  std::string c, p;
  ASSERT_TRUE(splitPropertyEntry("Comp . Prop", c, p));
  EXPECT_EQ(c, "Comp");
  EXPECT_EQ(p, "Prop");
  ASSERT_TRUE(splitPropertyEntry("Memo1.Font.Name", c, p));
  EXPECT_EQ(c, "Memo1");
  EXPECT_EQ(p, "Font.Name");
  ASSERT_TRUE(splitPropertyEntry("\ttouche.ItemIndex  ", c, p));
  EXPECT_EQ(c, "touche");
  EXPECT_EQ(p, "ItemIndex");
  c = p = "kept";
  for (const char* bad : {"", "touche", ".ItemIndex", "touche.", " . ", "  .x", "x.  "}) {
    EXPECT_FALSE(splitPropertyEntry(bad, c, p)) << bad;
    EXPECT_EQ(c, "kept");
  }
}

TEST(PropertyText, KeyNamesLoseOuterBackslashesAndDefaultToTheProgramName) {
  EXPECT_EQ(trimKeyName("Vrin"), "Vrin");
  EXPECT_EQ(trimKeyName("\\\\Software\\Vrin\\\\"), "Software\\Vrin");
  EXPECT_EQ(trimKeyName("\\\\\\"), "");
  EXPECT_EQ(trimKeyName(""), "");

  EXPECT_EQ(defaultKeyName("C:\\Program Files\\Vrin\\Vrin.exe"), "Software\\Vrin");
  EXPECT_EQ(defaultKeyName("C:\\a.b\\state_test.exe"), "Software\\state_test");
  EXPECT_EQ(defaultKeyName("/usr/bin/my.tool.exe"), "Software\\my.tool");
  EXPECT_EQ(defaultKeyName("C:Vrin"), "Software\\Vrin");
  EXPECT_EQ(defaultKeyName("Vrin.exe"), "Software\\Vrin");
}
