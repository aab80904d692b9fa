#pragma once
// A skinned scroll bar composed off screen: the track, the two arrows and the thumb from the
// skin's pictures over the scroll-bar colour, lying along its axis (standing for a vertical
// bar) and kBarThickness thick, ready to be stretched across onto the real bar.
#include "core/image.h"
#include "skin/pure/scroll_geometry.h"
#include "skin/pure/skin_settings.h"

namespace vrin {

// The elements a bar is drawn from; a missing track or thumb element is nullptr.
struct ScrollBarPictures {
  const SkinElement* arrows = nullptr;  // the arrow strip (Scrollbar)
  const SkinElement* track = nullptr;   // HorzScroll / VertScroll
  const SkinElement* thumb = nullptr;   // HorzScrollThumb / VertScrollThumb
  Pixel background = 0;                 // ScrollbarColor
};

// `pressed` is a ScrollPart: that arrow or thumb shows its pressed frame. Where the track or
// the thumb element is missing (or has no picture) the arrows are drawn and the track is left
// in the background colour. An empty image when there are no arrows or the length is not
// drawable.
Image composeScrollBar(const ScrollBarPictures& pictures, int length, const BarMetrics& metrics, bool horizontal,
                       int pressed);

// The bar stretched across to `thickness`, as it reaches the screen (nearest pixel).
Image stretchAcross(const Image& bar, bool horizontal, int thickness);

}  // namespace vrin
