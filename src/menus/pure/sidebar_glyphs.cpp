#include "menus/pure/sidebar_glyphs.h"

#include "menus/pure/sidebar_types.h"

namespace vrin {

unsigned itemTextFlags(unsigned state, bool windows2000Test, bool rightToLeft) {
  unsigned flags = dt::Left | dt::ExpandTabs | dt::SingleLine;
  if (windows2000Test && (state & ods::NoAccel)) flags |= dt::HidePrefix;
  if (rightToLeft) flags |= dt::Right | dt::RtlReading;
  return flags;
}

std::vector<GlyphDot> transparentGlyphDots(const Image& glyph, bool monochrome, Pixel ink) {
  std::vector<GlyphDot> dots;
  if (glyph.empty() || glyph.pixels.size() < std::size_t(glyph.width) * std::size_t(glyph.height)) return dots;
  const Pixel key = glyph.at(0, glyph.height - 1) & 0xFFFFFF;
  for (int y = 0; y < glyph.height; ++y)
    for (int x = 0; x < glyph.width; ++x) {
      const Pixel p = glyph.at(x, y) & 0xFFFFFF;
      if (p != key) dots.push_back({x, y, monochrome ? (ink & 0xFFFFFF) : p});
    }
  return dots;
}

Pixel checkerPixel(int x, int y, Pixel face, Pixel highlight) { return ((x ^ y) & 1) ? highlight : face; }

}  // namespace vrin
