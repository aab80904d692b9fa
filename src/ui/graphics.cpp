#include "ui/graphics.h"

#include <cstring>

namespace vrin {

COLORREF colorToRGB(Color c) {
  if (c == clNone || c == clDefault) return RGB(0, 0, 0);
  if (c & 0x80000000u) return GetSysColor(int(c & 0xFF));
  return COLORREF(c & 0xFFFFFF);
}

BITMAPINFO topDownBitmapInfo(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

void Font::assign(const FontSpec& desc) {
  if (desc == spec_) return;
  FontSpec sameColour = desc;
  sameColour.color = spec_.color;
  bool sameFont = sameColour == spec_;
  spec_ = desc;
  if (!sameFont) font_.reset();  // a canvas that still has the old font selected keeps it alive
}

void Font::assignHandle(HFONT font) {
  LOGFONTW lf{};
  if (!font || !GetObjectW(font, sizeof lf, &lf)) return;
  FontSpec s = spec_;
  s.name = narrow(lf.lfFaceName);
  s.height = lf.lfHeight;
  s.style = (lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0) |
            (lf.lfUnderline ? fsUnderline : 0) | (lf.lfStrikeOut ? fsStrikeOut : 0);
  s.charset = lf.lfCharSet;
  s.escapement = lf.lfEscapement;
  assign(s);
}

Font::Shared Font::shared() const {
  if (!font_) {
    LOGFONTW lf{};
    lf.lfHeight = spec_.height;
    lf.lfWeight = (spec_.style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (spec_.style & fsItalic) ? 1 : 0;
    lf.lfUnderline = (spec_.style & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (spec_.style & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = BYTE(spec_.charset);
    lf.lfEscapement = lf.lfOrientation = spec_.escapement;
    lf.lfQuality = DEFAULT_QUALITY;
    std::wstring face = widen(spec_.name);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    font_ = std::make_shared<GdiObject<HFONT>>(CreateFontIndirectW(&lf));
  }
  return font_;
}

Canvas::~Canvas() { setHandle(nullptr); }

void Canvas::setHandle(HDC dc) {
  if (dc_ == dc) return;
  if (dc_) {
    if (oldFont_) SelectObject(dc_, oldFont_);
    if (oldPen_) SelectObject(dc_, oldPen_);
    if (oldBrush_) SelectObject(dc_, oldBrush_);
  }
  oldFont_ = oldPen_ = oldBrush_ = nullptr;
  selectedFont_.reset();  // deselected above, so it may go now
  dc_ = dc;
}

void Canvas::apply() {
  if (!dc_) return;
  // The new font is selected before the canvas lets go of the old one.
  Font::Shared wantFont = font.shared();
  HGDIOBJ f = SelectObject(dc_, wantFont->get());
  if (!oldFont_) oldFont_ = f;
  selectedFont_ = std::move(wantFont);
  SetTextColor(dc_, colorToRGB(font.desc().color));
  if (!pen_ || madePen_ != penColor) {
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colorToRGB(penColor)));
    HGDIOBJ p = SelectObject(dc_, pen.get());
    if (!oldPen_) oldPen_ = p;
    pen_ = std::move(pen);
    madePen_ = penColor;
  }
  // A new brush is selected before the old one is deleted: a selected object cannot go.
  GdiObject<HBRUSH> made;
  if (!brushClear && (!brush_ || madeBrush_ != brushColor)) {
    made.reset(CreateSolidBrush(colorToRGB(brushColor)));
    madeBrush_ = brushColor;
  }
  HBRUSH want = brushClear ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)) : (made ? made.get() : brush_.get());
  HGDIOBJ b = SelectObject(dc_, want);
  if (!oldBrush_) oldBrush_ = b;
  if (made) brush_ = std::move(made);
  SetBkColor(dc_, colorToRGB(brushColor));
  SetBkMode(dc_, brushClear ? TRANSPARENT : OPAQUE);
}

void Canvas::fillRect(const RECT& r) {
  apply();
  if (!brushClear) FillRect(dc_, &r, brush_.get());
}

void Canvas::frameRect(const RECT& r) {
  apply();
  GdiObject<HBRUSH> b(CreateSolidBrush(colorToRGB(brushColor)));
  FrameRect(dc_, &r, b.get());
}

void Canvas::rectangle(const RECT& r) {
  apply();
  Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void Canvas::line(int x1, int y1, int x2, int y2) {
  apply();
  MoveToEx(dc_, x1, y1, nullptr);
  LineTo(dc_, x2, y2);
}

void Canvas::textOut(int x, int y, const std::string& text) {
  apply();
  std::wstring w = widen(text);
  TextOutW(dc_, x, y, w.c_str(), int(w.size()));
}

void Canvas::textRect(const RECT& r, int x, int y, const std::string& text) {
  apply();
  std::wstring w = widen(text);
  ExtTextOutW(dc_, x, y, ETO_CLIPPED | (brushClear ? 0 : ETO_OPAQUE), &r, w.c_str(), UINT(w.size()), nullptr);
}

int Canvas::drawText(const std::string& text, RECT& r, UINT format) {
  apply();
  std::wstring w = widen(text);
  return DrawTextW(dc_, w.c_str(), int(w.size()), &r, format);
}

SIZE Canvas::textExtent(const std::string& text) {
  apply();
  std::wstring w = widen(text);
  SIZE s{};
  GetTextExtentPoint32W(dc_, w.c_str(), int(w.size()), &s);
  return s;
}

void Canvas::setPixel(int x, int y, Color c) { SetPixel(dc_, x, y, colorToRGB(c)); }

Bitmap::~Bitmap() { releaseDC(); }

void Bitmap::releaseDC() {
  canvas_.reset();
  if (dc_) {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    dc_ = nullptr;
  }
}

void Bitmap::setSize(int width, int height) {
  releaseDC();
  bitmap_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
  if (width <= 0 || height <= 0) return;
  BITMAPINFO bi = topDownBitmapInfo(width, height);
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) return;
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
}

HDC Bitmap::dc() {
  if (!dc_ && bitmap_) {
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_.get());
  }
  return dc_;
}

Canvas& Bitmap::canvas() {
  if (!canvas_) canvas_ = std::make_unique<Canvas>(dc());
  return *canvas_;
}

Image Bitmap::toImage() const {
  Image img(width_, height_);
  if (bits_) {
    GdiFlush();
    for (std::size_t i = 0; i < img.pixels.size(); ++i) img.pixels[i] = bits_[i] & 0xFFFFFF;
  }
  return img;
}

void Bitmap::fromImage(const Image& image) {
  setSize(image.width, image.height);
  if (bits_) {
    GdiFlush();
    std::memcpy(bits_, image.pixels.data(), image.pixels.size() * sizeof(Pixel));
  }
}

void Bitmap::loadFromResource(const char* name) {
  HBITMAP src = static_cast<HBITMAP>(LoadImageA(moduleInstance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!src) throw std::runtime_error(std::string("Ressource ") + name + " introuvable");
  BITMAP bm{};
  GetObjectW(src, sizeof bm, &bm);
  setSize(bm.bmWidth, bm.bmHeight);
  MemoryDC mem;
  SelectScope sel(mem.get(), src);
  BitBlt(dc(), 0, 0, bm.bmWidth, bm.bmHeight, mem.get(), 0, 0, SRCCOPY);
  DeleteObject(src);
}

void Icon::reset(HICON icon, bool owned) {
  if (icon_ && owned_) DestroyIcon(icon_);
  icon_ = icon;
  owned_ = owned;
}

void Icon::loadFromResource(const char* name, int size) {
  reset(static_cast<HICON>(LoadImageA(moduleInstance(), name, IMAGE_ICON, size, size, 0)));
}

}  // namespace vrin
