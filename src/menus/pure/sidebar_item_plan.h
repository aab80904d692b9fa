#pragma once
// The default drawing of a side-bar menu item's body, planned without a device context: the
// body's rectangle and the ordered paint operations that the Win32 layer replays with GDI.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/geometry.h"
#include "menus/pure/menu_colour.h"
#include "menus/pure/sidebar_measure.h"
#include "menus/pure/sidebar_types.h"

namespace vrin {

// ---- Item drawing geometry ----

struct SeparatorLook {
  SeparatorStyle style = SeparatorStyle::ssNormal;
  Alignment alignment = Alignment::taCenter;
  bool fade = false;
  int fadeWidth = 32;
  MenuColour fadeColour = cl::BtnShadow;
  bool flatLines = false;
  bool useSystemFont = true;
  GradientStyle gradientStyle = GradientStyle::gsHorizontal;
  MenuColour gradientStart = cl::Gray;
  MenuColour gradientEnd = cl::Silver;
};

struct ItemDrawInput {
  Rect itemRect;            // ARect, menu-window client coordinates
  unsigned state = 0;       // ods:: bits
  bool barHere = false;     // ABarVisible and not in a later column
  int barWidth = 32;
  int barSpace = 1;
  Side barSide = Side::sLeft;
  bool mainMenuTopLevel = false;
  SideBarMenuStyle style = SideBarMenuStyle::msStandard;  // effective style
  bool windows98Test = true;
  bool windows2000Test = true;
  bool xpStyleDefault = true;  // the OS test behind msAuto (top-level main-menu brush)
  bool rightToLeft = false;
  SeparatorLook separators;

  // The item.
  bool separator = false;
  bool enabled = true;
  bool checked = false;
  bool radioItem = false;
  bool isDefault = false;
  bool hasShortcut = false;
  std::string_view hint;    // separator caption when enabled

  // Its image list (the nearest SubMenuImages, else the menu's Images).
  bool hasImageList = false;
  Size imageSize{16, 16};
  int imageCount = 0;
  int imageIndex = -1;
  Size bitmapSize;      // the item's own Bitmap; 0 x 0 when empty

  Size checkGlyphSize{16, 16};  // the system check mark
  Size radioGlyphSize{16, 16};
  // Measured by the Win32 layer: the caption in the item's font (bold when default), as
  // measuredItemText gives it, and " <separator text> " in the canvas font.
  Size captionExtent;
  Size separatorTextExtent;
};

enum class PaintKind : std::uint8_t {
  Fill,           // rect with colour
  Checker,        // rect with a checkerboard of clBtnFace and clBtnHighlight pixels
  Frame,          // FrameRect of rect in colour
  Edge,           // DrawEdge(rect, flags, sides)
  ListImage,      // image list's imageIndex at `at` (disabled form when `disabled`)
  CheckGlyph,     // system check mark at `at`, transparent, text colour clBtnText
  RadioGlyph,     // radio glyph at `at`, transparent, text colour clBtnText
  Bitmap,         // the item's own bitmap stretched into rect
  Caption,        // DrawText(caption, rect, flags) in colour, clear background
  Shortcut,       // DrawText(shortcut text, rect, flags) in colour, clear background
  SeparatorText,  // DrawText(plan.separatorText, rect, flags), clear background, canvas colour
  FadedLine,      // drawFadedLine(rect, gap, fadeWidth, colour)
  Gradient,       // fillGradient(rect, gradientStyle, colour, colour2)
};

struct PaintOp {
  PaintKind kind = PaintKind::Fill;
  Rect rect{};
  MenuColour colour = cl::None;
  MenuColour colour2 = cl::None;
  unsigned flags = 0;   // DrawText flags, or the edge kind of DrawEdge
  unsigned sides = 0;   // DrawEdge border flags
  Point at{};
  bool disabled = false;
  std::optional<Rect> gap{};
  int fadeWidth = 0;
  GradientStyle gradientStyle = GradientStyle::gsHorizontal;
  bool operator==(const PaintOp&) const = default;
};

// The colours the host puts on the canvas before the draw handlers run.
struct HostItemColours {
  MenuColour brush;
  MenuColour font;
};
HostItemColours hostItemColours(unsigned state, bool mainMenuTopLevel, bool windows98Test);

// R of the item body before the draw module sees it: ARect less the bar and its gap.
Rect itemBodyRect(const ItemDrawInput& in);

struct ItemDrawPlan {
  Rect body;                    // the rectangle the body was laid out in
  Rect glyphBox;                // G after its final widening (non-separators)
  bool bold = false;            // captions in bold (default item)
  bool separatorFont = false;   // select Separators.Font for the separator text
  std::string separatorText;    // " <text> " when the separator shows a caption
  std::vector<PaintOp> ops;     // in painting order
};

// The default drawing of an item body (after a draw module left DefaultDraw set).
ItemDrawPlan planItemBody(const ItemDrawInput& in, const SystemColourLookup& lookup);

}  // namespace vrin
