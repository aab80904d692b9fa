#pragma once
// The default size the menu host gives an owner-drawn item before the item's measure handler.
#include <string>
#include <string_view>

#include "core/geometry.h"

namespace vrin {

struct HostItemMeasure {
  bool separator = false;        // caption "-"
  bool mainMenuTopLevel = false; // top-level item of a main menu
  Size menuBarItemSize;          // the system's menu-bar item size (main-menu top-level only)
  bool hasImageList = false;     // an image list applies to the item
  Size imageSize;                // its image size
  bool hasBitmap = false;        // the item's Bitmap is not empty
  int textWidth = 0;             // width of measuredItemText(...) in the canvas font
  int startHeight = 0;           // the height the measure message arrived with
};

// The text whose width goes into textWidth: the caption followed directly by the shortcut text;
// an empty text or a lone "&" gets a blank appended (DrawText would measure nothing).
std::string measuredItemText(std::string_view caption, std::string_view shortcutText = {});

Size hostDefaultItemSize(const HostItemMeasure& in);

}  // namespace vrin
