#pragma once
// The stored settings of the tray icon's menu, applied while the history window is defined.
#include <string>

#include "menus/sidebar_menus.h"

namespace vrin {

class ImageList;

// A 32-pixel bar, blue at the top fading to white, framed in black, with `barCaption` in
// white bold italic Tahoma reading downwards, centred both ways; right-to-left where the
// system supports it; 16 x 16 images from `images`.
void applyTrayMenuSettings(SideBarPopupMenu& menu, ImageList* images, const std::string& barCaption);

}  // namespace vrin
