#pragma once
// The classic system colours the side-bar suites resolve against.
#include "menus/pure/menu_colour.h"

namespace vrin::test {

// Classic system colours (0x00BBGGRR), enough for the menus.
inline MenuColour classic(int index) {
  switch (index) {
    case 4: case 15: return menuColour(192, 192, 192);  // menu, button face
    case 7: case 8: case 18: return menuColour(0, 0, 0);
    case 13: return menuColour(0, 0, 128);               // highlight
    case 14: case 20: return menuColour(255, 255, 255);
    case 16: case 17: return menuColour(128, 128, 128);
    default: return menuColour(1, 2, 3);
  }
}
inline const SystemColourLookup kClassic = classic;

}  // namespace vrin::test
