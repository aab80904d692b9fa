#pragma once
// Colours as the menus store them: 0x00BBGGRR for a plain colour, 0x80000000 + n for system
// colour n (resolved only when painting), 0x1FFFFFFF for "no colour". A distinct type so they
// never mix silently with vrin::Image pixels, which are 0x00RRGGBB.
#include <cstdint>
#include <functional>

#include "core/image.h"

namespace vrin {

enum class MenuColour : std::uint32_t {};

constexpr std::uint32_t value(MenuColour c) { return static_cast<std::uint32_t>(c); }
constexpr MenuColour menuColour(unsigned r, unsigned g, unsigned b) {
  return MenuColour((std::uint32_t(b & 0xFF) << 16) | (std::uint32_t(g & 0xFF) << 8) | std::uint32_t(r & 0xFF));
}
constexpr MenuColour systemColour(int index) { return MenuColour(0x80000000u | (std::uint32_t(index) & 0xFF)); }

namespace cl {
constexpr MenuColour None = MenuColour(0x1FFFFFFF);
constexpr MenuColour Black = MenuColour(0x000000);
constexpr MenuColour White = MenuColour(0xFFFFFF);
constexpr MenuColour Blue = MenuColour(0xFF0000);
constexpr MenuColour Gray = MenuColour(0x808080);
constexpr MenuColour Silver = MenuColour(0xC0C0C0);
// System colours, by their GetSysColor index.
constexpr MenuColour Menu = systemColour(4);
constexpr MenuColour MenuText = systemColour(7);
constexpr MenuColour WindowText = systemColour(8);
constexpr MenuColour Highlight = systemColour(13);
constexpr MenuColour HighlightText = systemColour(14);
constexpr MenuColour BtnFace = systemColour(15);
constexpr MenuColour BtnShadow = systemColour(16);
constexpr MenuColour GrayText = systemColour(17);
constexpr MenuColour BtnText = systemColour(18);
constexpr MenuColour BtnHighlight = systemColour(20);
}  // namespace cl

constexpr bool isSystemColour(MenuColour c) { return (value(c) & 0x80000000u) != 0; }
constexpr int systemColourIndex(MenuColour c) { return int(value(c) & 0xFF); }

// Current value of a system colour, 0x00BBGGRR (the Win32 layer hands GetSysColor in).
using SystemColourLookup = std::function<MenuColour(int index)>;

// A system colour becomes its current value; anything else (clNone included) stays as it is.
// Without a lookup, system colours resolve to black.
MenuColour colourToRgb(MenuColour c, const SystemColourLookup& lookup);

// 0x00BBGGRR -> 0x00RRGGBB of the low 24 bits; resolve system colours first.
constexpr Pixel toPixel(MenuColour c) {
  const std::uint32_t v = value(c);
  return rgb(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}
constexpr MenuColour fromPixel(Pixel p) { return menuColour(red(p), green(p), blue(p)); }

// colourToRgb followed by toPixel.
Pixel resolvePixel(MenuColour c, const SystemColourLookup& lookup);

}  // namespace vrin
