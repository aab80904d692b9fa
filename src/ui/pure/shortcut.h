#pragma once
// Key combinations as 16-bit values: the virtual-key code in the low bits, 0x2000 Shift,
// 0x4000 Ctrl, 0x8000 Alt; 0 means none. The text form is "Ctrl+" and the key's name.
#include <cstdint>
#include <string>
#include <string_view>

namespace vrin {

using ShortCut = std::uint16_t;

constexpr ShortCut scShift = 0x2000;
constexpr ShortCut scCtrl = 0x4000;
constexpr ShortCut scAlt = 0x8000;
constexpr ShortCut scKeyMask = 0x1FFF;

// The name of a virtual-key code ("A", "F5", "Del", ...); empty for a code without one.
std::string keyName(unsigned vk);
std::string ShortCutToText(ShortCut shortCut);
// Unknown text gives 0.
ShortCut TextToShortCut(std::string_view text);

}  // namespace vrin
