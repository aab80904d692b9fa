#include "menus/pure/menu_colour.h"

namespace vrin {

MenuColour colourToRgb(MenuColour c, const SystemColourLookup& lookup) {
  if (!isSystemColour(c)) return c;
  if (!lookup) return cl::Black;
  // Keep the answer a plain colour even if a lookup misbehaves.
  return MenuColour(value(lookup(systemColourIndex(c))) & 0x00FFFFFFu);
}

Pixel resolvePixel(MenuColour c, const SystemColourLookup& lookup) { return toPixel(colourToRgb(c, lookup)); }

}  // namespace vrin
