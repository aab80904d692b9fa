// The faces the program asks for exist in the prefix: without them Wine draws the menus in
// stand-ins and DrawFrameControl's glyphs as letters.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "menus/sidebar_menus.h"
#include "menus/tray_menu_settings.h"

using namespace vrin;

namespace {

struct Resolved {
  std::string face;      // what GDI picked for the request
  std::string fullName;  // the file's own full name ("Tahoma Bold"); empty for bitmap fonts
  bool bold = false, italic = false;
};

Resolved resolve(const FontSpec& wanted) {
  Font font(wanted);
  HDC dc = CreateCompatibleDC(nullptr);
  Resolved r;
  {
    SelectScope selected(dc, font.handle());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    r.face = narrow(face);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    r.bold = tm.tmWeight >= FW_BOLD;
    r.italic = tm.tmItalic != 0;
    if (UINT size = GetOutlineTextMetricsW(dc, 0, nullptr)) {
      std::vector<std::uint64_t> buf((size + 7) / 8);  // aligned for the structure
      auto* otm = reinterpret_cast<OUTLINETEXTMETRICW*>(buf.data());
      // The name's offset is counted from the start of the structure.
      if (GetOutlineTextMetricsW(dc, size, otm))
        r.fullName = narrow(reinterpret_cast<const wchar_t*>(reinterpret_cast<const char*>(otm) +
                                                             reinterpret_cast<UINT_PTR>(otm->otmpFullName)));
    }
  }
  DeleteDC(dc);
  return r;
}

bool familyExists(const wchar_t* name) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, name, LF_FACESIZE - 1);
  HDC dc = GetDC(nullptr);
  bool found = false;
  EnumFontFamiliesExW(
      dc, &lf, [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
        *reinterpret_cast<bool*>(p) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

}  // namespace

TEST(Fonts, TheTrayMenuFacesResolveToThemselves) {
  Component owner(nullptr);
  auto* menu = new SideBarPopupMenu(&owner);
  applyTrayMenuSettings(*menu, nullptr, "Vrin");

  const Resolved caption = resolve(menu->bar().barCaption().font());
  EXPECT_EQ(caption.face, "Tahoma");
  // The bold file itself, not the regular face made heavier.
  EXPECT_NE(caption.fullName.find("Tahoma Bold"), std::string::npos) << caption.fullName;
  EXPECT_TRUE(caption.bold);
  EXPECT_TRUE(caption.italic);

  // The item font, also the history window's.
  EXPECT_EQ(resolve(menu->getMenuFont()).face, "MS Sans Serif");
}

TEST(Fonts, MarlettExistsForTheCaptionButtonGlyphs) {
  EXPECT_TRUE(familyExists(L"Marlett"));
  EXPECT_EQ(resolve(FontSpec{"Marlett", -13, clBlack, 0, SYMBOL_CHARSET, 0}).face, "Marlett");
}
