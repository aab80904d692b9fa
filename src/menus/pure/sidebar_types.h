#pragma once
// Plain types shared by the side-bar menu arithmetic (measuring, item layout, bar rendering).
// The enumerations keep their stored ordinal order, which is not always the obvious one.
#include <cstdint>

#include "core/geometry.h"

namespace vrin {

enum class GradientStyle : std::uint8_t { gsHorizontal, gsVertical, gsDiagonalLeftRight, gsDiagonalRightLeft };
enum class Side : std::uint8_t { sLeft, sRight };
enum class VertAlignment : std::uint8_t { vaTop, vaBottom, vaMiddle };
enum class HorzAlignment : std::uint8_t { haLeft, haRight, haCenter };
enum class DrawStyle : std::uint8_t { dsNormal, dsTile, dsStretch };
enum class Direction : std::uint8_t { dDownToUp, dUpToDown };
enum class SeparatorStyle : std::uint8_t { ssNormal, ssShortLine, ssCaption };
enum class SideBarMenuStyle : std::uint8_t { msAuto, msStandard, msWindowsXP };
// The host's text alignment (separator captions).
enum class Alignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
// An item's break: none, column break, column break with a line. (Not MenuBreak: the
// framework's menus use that name for their own enumeration.)
enum class ItemBreak : std::uint8_t { mbNone, mbBreak, mbBarBreak };

// The parts of a bar that the default rendering paints, as bits.
using BarParts = std::uint8_t;
constexpr BarParts bpGradient = 1;
constexpr BarParts bpPicture = 2;
constexpr BarParts bpBackPicture = 4;
constexpr BarParts bpCaption = 8;

// DrawText flags, with the platform's values so the Win32 layer passes them straight on.
namespace dt {
constexpr unsigned Left = 0x0;
constexpr unsigned Center = 0x1;
constexpr unsigned Right = 0x2;
constexpr unsigned VCenter = 0x4;
constexpr unsigned SingleLine = 0x20;
constexpr unsigned ExpandTabs = 0x40;
constexpr unsigned NoClip = 0x100;
constexpr unsigned CalcRect = 0x400;
constexpr unsigned NoPrefix = 0x800;
constexpr unsigned RtlReading = 0x20000;
constexpr unsigned HidePrefix = 0x100000;
}  // namespace dt

// Owner-draw item state bits (ODS_...), platform values.
namespace ods {
constexpr unsigned Selected = 0x1;
constexpr unsigned Grayed = 0x2;
constexpr unsigned Disabled = 0x4;
constexpr unsigned Checked = 0x8;
constexpr unsigned Focus = 0x10;
constexpr unsigned Default = 0x20;
constexpr unsigned HotLight = 0x40;
constexpr unsigned Inactive = 0x80;
constexpr unsigned NoAccel = 0x100;
}  // namespace ods

// DrawEdge edges and border flags, platform values.
namespace edge {
constexpr unsigned RaisedOuter = 0x1;
constexpr unsigned SunkenOuter = 0x2;
constexpr unsigned RaisedInner = 0x4;
constexpr unsigned SunkenInner = 0x8;
constexpr unsigned Etched = SunkenOuter | RaisedInner;
constexpr unsigned Top = 0x2;
constexpr unsigned RectSides = 0xF;
constexpr unsigned Flat = 0x4000;
}  // namespace edge

}  // namespace vrin
