#include "skin/skin_gdi.h"

#include <cstring>
#include <stdexcept>

#include "skin/pure/skin_draw.h"
#include "ui/geometry_win.h"
#include "ui/graphics.h"

namespace vrin {

namespace {

BITMAPINFO topDownInfo(const Image& image) { return topDownBitmapInfo(image.width, image.height); }

// A 32-bit DIB section holding the image, selected into its own memory DC.
class ImageDC {
 public:
  explicit ImageDC(const Image& image) {
    const BITMAPINFO bi = topDownInfo(image);
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !dc_.get()) return;
    std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(Pixel));
    GdiFlush();
    old_ = SelectObject(dc_.get(), bitmap_.get());
  }
  ~ImageDC() {
    if (old_) SelectObject(dc_.get(), old_);
  }
  ImageDC(const ImageDC&) = delete;
  ImageDC& operator=(const ImageDC&) = delete;
  HDC get() const { return old_ ? dc_.get() : nullptr; }

 private:
  MemoryDC dc_;
  GdiObject<HBITMAP> bitmap_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

void drawImage(HDC dc, int x, int y, const Image& image) {
  if (!dc || image.empty() || image.pixels.size() != std::size_t(image.width) * image.height) return;
  const BITMAPINFO bi = topDownInfo(image);
  SetDIBitsToDevice(dc, x, y, DWORD(image.width), DWORD(image.height), 0, 0, 0, UINT(image.height),
                    image.pixels.data(), &bi, DIB_RGB_COLORS);
}

GdiObject<HBITMAP> keyColourMask(const Image& image, Pixel key) {
  if (image.empty() || image.pixels.size() != std::size_t(image.width) * image.height) return {};
  // Monochrome rows are padded to 16 bits; a set bit is the background colour (white).
  const std::size_t stride = ((std::size_t(image.width) + 15) / 16) * 2;
  std::vector<std::uint8_t> bits(stride * std::size_t(image.height), 0);
  key &= 0xFFFFFF;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if ((image.at(x, y) & 0xFFFFFF) == key) bits[std::size_t(y) * stride + std::size_t(x) / 8] |= std::uint8_t(0x80 >> (x % 8));
  return GdiObject<HBITMAP>(CreateBitmap(image.width, image.height, 1, 1, bits.data()));
}

void drawImageTransparent(HDC dc, int x, int y, const Image& image, Pixel key) {
  if (!dc || image.empty()) return;
  GdiObject<HBITMAP> mask = keyColourMask(image, key);
  ImageDC picture(image);
  MemoryDC maskDC;
  if (!mask || !picture.get() || !maskDC.get()) return;
  SelectScope selectMask(maskDC.get(), mask.get());
  // A monochrome source blits its 0 bits in the text colour and its 1 bits in the background.
  const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  BitBlt(dc, x, y, image.width, image.height, picture.get(), 0, 0, SRCINVERT);
  BitBlt(dc, x, y, image.width, image.height, maskDC.get(), 0, 0, SRCAND);
  BitBlt(dc, x, y, image.width, image.height, picture.get(), 0, 0, SRCINVERT);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
}

GdiObject<HRGN> regionFromRects(const std::vector<std::vector<Rect>>& batches) {
  GdiObject<HRGN> result;
  std::vector<std::uint8_t> buffer;
  for (const std::vector<Rect>& batch : batches) {
    buffer.assign(sizeof(RGNDATAHEADER) + batch.size() * sizeof(RECT), 0);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(batch.size());
    data->rdh.nRgnSize = DWORD(batch.size() * sizeof(RECT));
    const Rect bound = boundingRect(batch);
    data->rdh.rcBound = toRECT(bound);
    auto* rects = reinterpret_cast<RECT*>(buffer.data() + sizeof(RGNDATAHEADER));
    for (std::size_t i = 0; i < batch.size(); ++i)
      rects[i] = toRECT(batch[i]);
    GdiObject<HRGN> part(ExtCreateRegion(nullptr, DWORD(buffer.size()), data));
    if (!part) throw std::runtime_error("ExtCreateRegion failed");
    if (!result)
      result = std::move(part);
    else
      CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
  }
  if (!result) result.reset(CreateRectRgn(0, 0, 0, 0));
  return result;
}

GdiObject<HRGN> regionFromImage(const Image& picture, int xOffset, int yOffset, int redTolerance,
                                int greenTolerance, int blueTolerance, Pixel key) {
  return regionFromRects(regionRects(picture, xOffset, yOffset, redTolerance, greenTolerance, blueTolerance, key));
}

}  // namespace vrin
