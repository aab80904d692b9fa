// Only web addresses from the history may reach the browser.
#include <gtest/gtest.h>

#include "app/pure/address.h"
#include "core/text.h"

using namespace vrin;

TEST(Address, WebAddressesAreNavigable) {
  EXPECT_TRUE(isNavigableAddress("http://ads.example.com/pop.html"));
  EXPECT_TRUE(isNavigableAddress("HTTPS://example.com"));
  EXPECT_TRUE(isNavigableAddress("ftp://files.example.com/x"));
}

TEST(Address, EverythingElseIsRefused) {
  for (const char* bad : {"file:///C:/Windows/system32/calc.exe", "javascript:alert(1)", "C:\\evil.exe",
                          "mailto:a@b", "http:/x", "http://", "", " http://lead.example", "res://x", "ms-its:x"})
    EXPECT_FALSE(isNavigableAddress(bad)) << bad;
}

TEST(Text, CaseRulesTrimAndTemplates) {
  EXPECT_TRUE(sameText("TForm1", "tform1"));
  EXPECT_FALSE(sameText("TForm1", "TForm"));
  EXPECT_EQ(trim("  \t 84 116 152 \r\n"), "84 116 152");
  EXPECT_EQ(trim("   "), "");
  EXPECT_EQ(formatText("Echec à la création de la clé %s", "Vrin\\TForm1"), "Echec à la création de la clé Vrin\\TForm1");
  EXPECT_EQ(formatText("Type de données incorrect pour '%s'", "x"), "Type de données incorrect pour 'x'");
  EXPECT_TRUE(endsWithText("vrinset.INI", ".ini"));
}
