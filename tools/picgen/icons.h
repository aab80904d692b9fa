#pragma once
// The program's own pictures: the seven image-list pictures and the icons.
#include "core/image.h"
#include "raster.h"

namespace picgen {

// In image-list order.
enum class Glyph { BlockingOff, BlockingOn, WebSite, Exit, History, Clean, CleanOptions };
constexpr int kGlyphCount = 7;

// The glyph drawn on a transparent size x size layer (the geometry is laid out on a
// 16-unit grid and scaled, so 16 and 32 pixels give the same picture).
Layer drawGlyph(Glyph glyph, int size);

// The image list: seven 16 x 16 pictures side by side on the magenta key.
vrin::Image imageListStrip();

// A glyph as an icon picture: magenta where the icon is transparent.
vrin::Image iconPicture(Glyph glyph, int size);

}  // namespace picgen
