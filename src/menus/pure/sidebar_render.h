#pragma once
// Side-bar rendering without a device context. The bar (gradient, pictures, frame) is painted
// on a vrin::Image whose pixels match a 32-bit top-down DIB; the caption comes out as positions
// that the Win32 layer draws with GDI (it alone owns fonts and text measuring).
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"
#include "menus/pure/menu_colour.h"
#include "menus/pure/sidebar_measure.h"
#include "menus/pure/sidebar_types.h"

namespace vrin {

// ---- Gradient fill ----

// The gradient's colour at (x, y) of rectangle r (start and end already as pixels). Each channel
// is start + (end - start) * step / span with truncating division; the end itself is never reached.
Pixel gradientPixelAt(const Rect& r, GradientStyle style, Pixel start, Pixel end, int x, int y);

// Fills r on the image; pixels outside the image are skipped. start == end (the same value,
// system colours included) is a solid fill; otherwise nothing is painted when r has no height.
void fillGradient(Image& target, const Rect& r, GradientStyle style, MenuColour start, MenuColour end,
                  const SystemColourLookup& lookup);

// ---- Pictures of the bar ----

struct PicturePlacement {
  int offsetX = 0;
  int offsetY = 0;
  VertAlignment vert = VertAlignment::vaBottom;
  HorzAlignment horz = HorzAlignment::haCenter;
};

// Top-left corner of a picture in the bar; the offsets are always added.
Point picturePosition(const PicturePlacement& p, Size picture, Size bar);

// Top-left corners of the tiled copies of a background picture, row by row. Rows (and columns)
// lying wholly before the bar are left out, which paints the same as starting further up.
// Empty when the picture has no area.
std::vector<Point> tilePositions(const PicturePlacement& p, Size picture, Size bar);

// Copies picture at `at`, cut to the target. Transparent: pixels of the picture's bottom-left
// colour are left out.
void drawPicture(Image& target, const Image& picture, Point at, bool transparent);
// Nearest-neighbour stretch into dest, cut to the target, with the same transparency rule.
void stretchPicture(Image& target, const Image& picture, const Rect& dest, bool transparent);
// One-pixel frame along the inside of r, cut to the target.
void frameRect(Image& target, const Rect& r, Pixel colour);

struct BarPictureSettings {
  const Image* picture = nullptr;  // none or empty: the part paints nothing
  bool transparent = true;
  PicturePlacement placement;      // foreground defaults: vaBottom, haCenter
  bool visible = true;
  DrawStyle drawStyle = DrawStyle::dsNormal;  // read for the background picture only
};

// The background picture's defaults differ: vaTop, haLeft.
BarPictureSettings backPictureDefaults();

struct BarRenderSettings {
  GradientStyle gradientStyle = GradientStyle::gsVertical;
  MenuColour gradientStart = MenuColour(0xD8BDAF);
  MenuColour gradientEnd = cl::Black;
  MenuColour border = cl::None;
  BarPictureSettings backPicture = backPictureDefaults();
  BarPictureSettings picture;
};

// bpGradient, plus each part whose Visible is set.
BarParts defaultBarParts(const BarRenderSettings& s, bool captionVisible);

// True when an opaque tiled or stretched background picture covers the whole bar, so the
// gradient is not painted under it.
bool backPictureCoversBar(const BarPictureSettings& back);

// Paints the gradient, background picture with the frame, and foreground picture that `parts`
// holds, in that order, over the whole image (Bar.Width x BarHeight). The caption is separate.
void renderBarParts(Image& bar, const BarRenderSettings& s, BarParts parts, const SystemColourLookup& lookup);

// ---- The bar beside an item ----

// Settles the collected height before drawing: takes the menu window's client height when known,
// clears the pending mark and gives the size the bar bitmap must have; a size change makes the
// bar invalid. Negative sizes are treated as 0.
Size settleBar(BarStateCore& state, std::optional<int> clientHeight, Size bitmapSize, int barWidth);

struct BarCopy {
  bool render = false;  // the bitmap must be rendered first, then copied whole
  Rect source;          // in the bar bitmap
  Rect dest;            // on the menu canvas
};

// What to copy for one item: its rows when the bar is valid, else the whole bitmap. With the
// bar on the right the destination moves to the item's right edge.
BarCopy barCopyFor(const BarStateCore& state, const Rect& itemRect, int barWidth, Size bitmapSize, Side side);

// ---- The rotated caption ----

struct BarCaptionInput {
  std::string_view caption;
  Size extent;                   // text extent in the unrotated sense: width along, height across
  Size bar;                      // Bar.Width x BarHeight
  VertAlignment alignment = VertAlignment::vaBottom;
  Direction direction = Direction::dDownToUp;
  int offsetY = 6;
  int depth = 1;
  MenuColour fontColour = cl::White;
  MenuColour shadowColour = cl::None;
  MenuColour highlightColour = cl::None;
  int forePictureHeight = 0;         // 0 when the foreground picture is empty
  VertAlignment forePictureAlignment = VertAlignment::vaBottom;
};

struct CaptionDraw {
  Point origin;  // ExtTextOut reference point
  MenuColour colour; // already converted to RGB
  bool operator==(const CaptionDraw&) const = default;
};

struct BarCaptionLayout {
  int escapement = 0;              // tenths of a degree: 900 reads upwards, -900 downwards
  Rect clip;                       // the bar, one row lower at the bottom
  std::vector<CaptionDraw> draws;  // highlight, shadow, then the caption itself; empty caption: none
};

BarCaptionLayout layoutBarCaption(const BarCaptionInput& in, const SystemColourLookup& lookup);

// The pixels a rotated caption covers, drawn from `origin` in `direction`.
Rect captionTextBox(Point origin, Direction direction, Size extent);

enum class FontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };

struct FontDescription {
  std::string name;
  int height = 0;
  bool bold = false, italic = false, underline = false, strikeOut = false;
  FontPitch pitch = FontPitch::fpDefault;
};

// LOGFONT fields of the rotated caption font.
struct RotatedFontFields {
  int height = 0;
  int width = 0;
  int escapement = 0;
  int orientation = 0;
  int weight = 400;
  bool italic = false, underline = false, strikeOut = false;
  int charSet = 1;         // DEFAULT_CHARSET, whatever the font's own
  int pitchAndFamily = 0;  // DEFAULT_PITCH 0, FIXED_PITCH 1, VARIABLE_PITCH 2
  std::string faceName;    // at most 31 bytes
  bool operator==(const RotatedFontFields&) const = default;
};

RotatedFontFields rotatedFontFields(const FontDescription& font, int angleDegrees);

// ---- Faded separator line ----

using PixelGetter = std::function<Pixel(int x, int y)>;
using PixelSetter = std::function<void(int x, int y, Pixel p)>;

// A line at row max(line.Top, gap.Top) fading from the present pixels into `colour` over
// fadeWidth pixels at each end; the gap (a separator's caption box) is left untouched. Both end
// columns, line.Left and line.Right, are visited and keep their colour. Only pixels inside
// `bounds` (those that exist, e.g. the menu window's client area) are read or written.
void drawFadedLine(const PixelGetter& get, const PixelSetter& set, const Rect& bounds, const Rect& line,
                   const std::optional<Rect>& gap, int fadeWidth, Pixel colour);
void drawFadedLine(Image& target, const Rect& line, const std::optional<Rect>& gap, int fadeWidth, Pixel colour);

// ---- The radio glyph ----

constexpr const char* kRadioGlyphName = "SIDEBARRADIO";
constexpr Pixel kRadioGlyphBackground = rgb(0, 128, 128);  // drawn transparent
// 16 x 16, the background colour with a black dot six pixels across.
Image radioGlyphImage();

}  // namespace vrin
