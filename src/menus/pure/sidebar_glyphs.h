#pragma once
// Small pieces of the item drawing that the Win32 layer needs beside the paint plan: the text
// flags a caption is measured with, and how a glyph is put down transparently.
#include <vector>

#include "core/image.h"

namespace vrin {

// The DrawText flags of an item's caption (without DT_CALCRECT): left, tabs expanded, one
// line; the prefix hidden when the system hides accelerators; right-aligned right-to-left
// reading in a right-to-left menu. The caption must be measured with the flags it is drawn with.
unsigned itemTextFlags(unsigned state, bool windows2000Test, bool rightToLeft);

struct GlyphDot {
  int x = 0, y = 0;
  Pixel colour = 0;
  bool operator==(const GlyphDot&) const = default;
};

// The pixels a glyph leaves when drawn transparently: those of the bottom-left pixel's colour
// are left out. A monochrome glyph (the system check mark) is drawn in `ink`, a coloured one
// (the radio dot) in its own colours.
std::vector<GlyphDot> transparentGlyphDots(const Image& glyph, bool monochrome, Pixel ink);

// The checkerboard of a checked glyph box: alternating face and highlight pixels, aligned to
// the canvas origin so neighbouring boxes match.
Pixel checkerPixel(int x, int y, Pixel face, Pixel highlight);

}  // namespace vrin
