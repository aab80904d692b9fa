#pragma once
// The kinds of control and menu a skin may draw: the bits of a skin's SkinControls set.
#include <cstdint>

namespace vrin {

// Bits 0 to 16 of SkinControls, in this order.
enum SkinControlType : int {
  xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
  xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox,
  xcStatusBar, xcTab
};
using SkinControlTypes = std::uint32_t;
constexpr SkinControlTypes skinControl(SkinControlType t) { return SkinControlTypes(1) << t; }
constexpr SkinControlTypes kAllSkinControls = (SkinControlTypes(1) << (xcTab + 1)) - 1;
constexpr bool hasSkinControl(SkinControlTypes set, SkinControlType t) { return (set & skinControl(t)) != 0; }

}  // namespace vrin
