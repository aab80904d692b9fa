#include "menus/tray_menu_settings.h"

#include "ui/imagelist.h"

namespace vrin {

void applyTrayMenuSettings(SideBarPopupMenu& menu, ImageList* images, const std::string& barCaption) {
  menu.biDiMode = BiDiMode::RightToLeft;
  menu.parentBiDiMode = false;
  menu.setImages(images);
  menu.setOwnerDraw(true);

  SideBar& bar = menu.bar();
  bar.setBorder(cl::Black);
  bar.setGradientStart(cl::Blue);
  bar.setGradientEnd(cl::White);
  bar.barBackPicture().setHorzAlignment(HorzAlignment::haCenter);
  BarCaption& caption = bar.barCaption();
  caption.setFont(FontSpec{"Tahoma", -19, clWhite, fsBold | fsItalic, DEFAULT_CHARSET, 0});
  caption.setDepth(2);
  caption.setCaption(barCaption);
  caption.setAlignment(VertAlignment::vaMiddle);
  caption.setDirection(Direction::dUpToDown);

  const FontSpec itemFont{"MS Sans Serif", -11, clWindowText, 0, DEFAULT_CHARSET, 0};
  menu.separators().setFont(itemFont);
  menu.setMenuFont(itemFont);
}

}  // namespace vrin
