#pragma once
// Canvas over a device context, fonts, DIB-section bitmaps, icons and image lists.
#include <cstdint>
#include <memory>
#include <string>

#include "core/image.h"
#include "ui/win.h"

namespace vrin {

// Colour values: 0x00BBGGRR plain, 0x80000000 + n system colour n, 0x1FFFFFFF none.
using Color = std::uint32_t;
constexpr Color clBlack = 0x000000, clWhite = 0xFFFFFF, clBlue = 0xFF0000, clGray = 0x808080,
                clSilver = 0xC0C0C0, clNone = 0x1FFFFFFF, clDefault = 0x20000000;
constexpr Color sysColor(int index) { return 0x80000000u + Color(index); }
const Color clBtnFace = sysColor(COLOR_BTNFACE), clWindow = sysColor(COLOR_WINDOW),
            clWindowText = sysColor(COLOR_WINDOWTEXT), clHighlight = sysColor(COLOR_HIGHLIGHT),
            clHighlightText = sysColor(COLOR_HIGHLIGHTTEXT), clMenu = sysColor(COLOR_MENU),
            clMenuText = sysColor(COLOR_MENUTEXT), clGrayText = sysColor(COLOR_GRAYTEXT),
            clBtnShadow = sysColor(COLOR_BTNSHADOW), clBtnHighlight = sysColor(COLOR_BTNHIGHLIGHT);
// The header of a 32-bit top-down DIB, the layout of vrin::Image's pixels.
BITMAPINFO topDownBitmapInfo(int width, int height);

// Resolves system colours; clNone and clDefault give black.
COLORREF colorToRGB(Color c);

constexpr unsigned fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8;  // font style bits

struct FontSpec {
  std::string name = "MS Sans Serif";
  int height = -11;
  Color color = clWindowText;
  unsigned style = 0;
  int charset = DEFAULT_CHARSET;
  int escapement = 0;  // tenths of a degree, for rotated text
  bool operator==(const FontSpec&) const = default;
};

// A font description with its GDI font made on demand. The colour is no part of the GDI
// font: changing only the colour keeps the font.
class Font {
 public:
  using Shared = std::shared_ptr<const GdiObject<HFONT>>;
  Font() = default;
  explicit Font(FontSpec desc) : spec_(std::move(desc)) {}
  const FontSpec& desc() const { return spec_; }
  void assign(const FontSpec& desc);
  void assignHandle(HFONT font);  // takes the description of an existing font
  HFONT handle() const { return shared()->get(); }
  // The GDI font, kept alive by whoever holds it: a canvas that has it selected.
  Shared shared() const;

 private:
  FontSpec spec_;
  mutable std::shared_ptr<GdiObject<HFONT>> font_;
};

class Canvas {
 public:
  explicit Canvas(HDC dc = nullptr) : dc_(dc) {}
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC handle() const { return dc_; }
  void setHandle(HDC dc);

  Color brushColor = clWhite;
  bool brushClear = false;
  Color penColor = clBlack;
  Font font;

  void fillRect(const RECT& r);
  void frameRect(const RECT& r);
  void rectangle(const RECT& r);
  void line(int x1, int y1, int x2, int y2);
  void textOut(int x, int y, const std::string& text);
  void textRect(const RECT& r, int x, int y, const std::string& text);
  int drawText(const std::string& text, RECT& r, UINT format);  // wide DrawText, font and colour applied
  SIZE textExtent(const std::string& text);
  int textWidth(const std::string& text) { return textExtent(text).cx; }
  int textHeight(const std::string& text) { return textExtent(text).cy; }
  void setPixel(int x, int y, Color c);
  // Makes the canvas' font, pen and brush current in the DC.
  void apply();

 private:
  HDC dc_ = nullptr;
  HGDIOBJ oldFont_ = nullptr;
  HGDIOBJ oldPen_ = nullptr;
  HGDIOBJ oldBrush_ = nullptr;
  Font::Shared selectedFont_;  // the font selected in the DC lives until it is deselected
  GdiObject<HPEN> pen_;
  GdiObject<HBRUSH> brush_;
  Color madePen_ = clNone, madeBrush_ = clNone;
};

// A 32-bit top-down DIB section with direct pixel access and its own canvas.
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height) { setSize(width, height); }
  ~Bitmap();
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  void setSize(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return !bitmap_; }
  HBITMAP handle() const { return bitmap_.get(); }
  HDC dc();  // a memory DC with the bitmap selected, made on demand
  Canvas& canvas();
  // Pixels as 0x00RRGGBB, top-down (the DIB layout).
  std::uint32_t* pixels() { return bits_; }
  Image toImage() const;
  void fromImage(const Image& image);
  void loadFromResource(const char* name);

 private:
  void releaseDC();
  int width_ = 0, height_ = 0;
  GdiObject<HBITMAP> bitmap_;
  std::uint32_t* bits_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::unique_ptr<Canvas> canvas_;
};

class Icon {
 public:
  Icon() = default;
  ~Icon() { reset(); }
  Icon(const Icon&) = delete;
  Icon& operator=(const Icon&) = delete;
  HICON handle() const { return icon_; }
  void reset(HICON icon = nullptr, bool owned = true);
  void loadFromResource(const char* name, int size);
  bool empty() const { return !icon_; }

 private:
  HICON icon_ = nullptr;
  bool owned_ = false;
};

}  // namespace vrin
