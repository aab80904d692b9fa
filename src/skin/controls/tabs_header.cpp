#include "skin/controls/tabs_header.h"

#include <algorithm>
#include <string>

#include "skin/controls/control_paint.h"
#include "skin/controls/panel_paint.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_data.h"
#include "skin/skin_gdi.h"
#include "ui/geometry_win.h"

namespace vrin {
namespace {

Margins marginsOf(const SkinElement& e) { return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }

// A part of an image copied as it is onto the DC.
void drawPart(HDC dc, int x, int y, const Image& image, const Rect& part) {
  if (part.empty()) return;
  Image piece(part.width(), part.height());
  stretchCopy(piece, {0, 0, piece.width, piece.height}, image, part);
  drawImage(dc, x + part.left, y + part.top, piece);
}

}  // namespace

void SkinTab::AttachControl(WinControl& control, SkinData& skin, bool recolour, Canvas& canvas) {
  SkinControl::AttachControl(control, skin, recolour, canvas);
  preparePictures();
}

void SkinTab::AttachWindow(HWND window, SkinData& skin, Canvas& canvas) {
  SkinControl::AttachWindow(window, skin, canvas);
  readWindowState();  // the real enabled state, which the base takes as on
  preparePictures();
}

void SkinTab::preparePictures() {
  side_ = tabSide(std::uint32_t(GetWindowLongPtrW(window_, GWL_STYLE)));
  tabPicture_ = {};
  pagePicture_ = {};
  const SkinBorderElement* tabs = skin_->Tabs();
  preparedFrom_ = tabs ? tabs->Image.pixels.data() : nullptr;
  if (!tabs) return;
  // Tabs at the bottom show the pictures upside down; a side strip is drawn lying down and
  // turned afterwards, so only the page border is turned beforehand.
  tabPicture_ = tabs->Image;
  pagePicture_ = tabs->SecondImage;
  switch (side_) {
    case TabSide::Top: break;
    case TabSide::Bottom:
      flipVertical(tabPicture_);
      flipVertical(pagePicture_);
      break;
    case TabSide::Left: rotateLeft(pagePicture_); break;
    case TabSide::Right: rotateRight(pagePicture_); break;
  }
}

void SkinTab::PaintSkin(HDC dc, const Rect& rect) {
  const SkinBorderElement* tabs = skin_->Tabs();
  if (!hasPicture(tabs) || !drawableSize(rect)) return;
  if (tabs->Image.pixels.data() != preparedFrom_ ||
      tabSide(std::uint32_t(GetWindowLongPtrW(window_, GWL_STYLE))) != side_)
    preparePictures();
  if (tabPicture_.empty()) return;
  readWindowState();
  RECT adjusted{0, 0, rect.width(), rect.height()};
  SendMessageW(window_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&adjusted));
  const Rect page = tabPageRect(toRect(adjusted), side_);
  paintStrip(dc, rect, page);

  if (pagePicture_.empty() || page.empty()) return;
  // Only the page's border: the control's own page painting stays inside it.
  Image border(page.width(), page.height());
  drawGridFrameOnly(border, {0, 0, border.width, border.height}, pagePicture_, false, 1, 1, kTabPageMargins);
  const Margins& m = kTabPageMargins;
  const int w = border.width, h = border.height, x = rect.left + page.left, y = rect.top + page.top;
  drawPart(dc, x, y, border, {0, 0, w, std::min(m.top, h)});
  drawPart(dc, x, y, border, {0, std::max(0, h - m.bottom), w, h});
  drawPart(dc, x, y, border, {0, m.top, std::min(m.left, w), h - m.bottom});
  drawPart(dc, x, y, border, {std::max(0, w - m.right), m.top, w, h - m.bottom});
}

void SkinTab::paintStrip(HDC dc, const Rect& rect, const Rect& page) {
  const SkinBorderElement& tabs = *skin_->Tabs();
  const Rect strip = tabStripRect(rect.width(), rect.height(), page, side_);
  const int bw = tabStripBitmapWidth(strip, side_), bh = tabStripBitmapHeight(strip, side_);
  if (bw <= 0 || bh <= 0 || !imageSizeAllowed(bw, bh)) return;
  if (strip_.width() != bw || strip_.height() != bh) strip_.setSize(bw, bh);
  if (strip_.empty()) return;
  fillBitmap(strip_, {0, 0, bw, bh}, pixelOf(skin_->SkinColors().ButtonFaceColor));
  Canvas& canvas = strip_.canvas();
  useControlFont(canvas, window_, control_);
  canvas.brushClear = true;
  SetBkMode(canvas.handle(), TRANSPARENT);

  const int count = int(SendMessageW(window_, TCM_GETITEMCOUNT, 0, 0));
  const int focus = int(SendMessageW(window_, TCM_GETCURFOCUS, 0, 0));
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(window_, TCM_GETIMAGELIST, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[80] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    item.pszText = text;
    item.cchTextMax = int(sizeof text);
    item.iImage = -1;
    RECT tabRect{};
    if (!SendMessageA(window_, TCM_GETITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item)) ||
        !SendMessageW(window_, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&tabRect)))
      continue;
    text[sizeof text - 1] = '\0';
    const std::string caption = fromAnsi(text);
    const Rect t = tabInStrip(toRect(tabRect), side_, page, bw, rect.width());
    const int frame = i == focus ? 2 : 1;
    putImage(strip_, t.left, t.top,
             composeGrid(t.width(), t.height(), tabPicture_, marginsOf(tabs), false, tabs.Tile != 0, tabs.FrameCount,
                         frame),
             tabs.Trans != 0);
    setFontColour(canvas, frame == 1 ? tabs.NormalColour2 : tabs.MouseOverColour2);
    if (!images) {
      drawCaption(canvas, t, DT_CENTER, enabled_, caption);
      continue;
    }
    const UINT flags = DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS;
    RECT measured{0, 0, 0, 0};
    canvas.drawText(caption, measured, flags | DT_CALCRECT);
    const bool hasImage = item.iImage != -1;
    const TabContent content = placeTabContent(t, hasImage, int(measured.right - measured.left),
                                               int(measured.bottom - measured.top));
    if (hasImage) ImageList_Draw(images, item.iImage, canvas.handle(), content.image.left, content.image.top, ILD_TRANSPARENT);
    if (!enabled_) setFontColour(canvas, sysColor(COLOR_BTNSHADOW));
    RECT out = toRECT(content.text);
    canvas.drawText(caption, out, flags);
  }
  GdiFlush();
  Image upright = strip_.toImage();
  if (side_ == TabSide::Left) rotateLeft(upright);
  if (side_ == TabSide::Right) rotateRight(upright);
  drawImage(dc, rect.left + strip.left, rect.top + strip.top, upright);
}

bool SkinHeader::BeforeMessage(SkinMessage& msg) {
  if (msg.msg == WM_ERASEBKGND && hasPicture(skin_->Headerbar())) {
    msg.result = 1;
    return false;
  }
  return true;
}

void SkinHeader::PaintSkin(HDC dc, const Rect& rect) {
  const SkinElement* bar = skin_->Headerbar();
  if (!hasPicture(bar) || !drawableSize(rect)) return;
  sizeWorkBitmap(rect.width(), rect.height());
  Bitmap& work = sharedWorkBitmap();
  if (work.empty()) return;
  Canvas& canvas = work.canvas();
  useControlFont(canvas, window_, control_);
  setFontColour(canvas, skin_->SkinColors().ButtonTextColor);
  canvas.brushClear = true;
  SetBkMode(canvas.handle(), TRANSPARENT);
  const auto piece = [&](const Rect& r) {
    if (!r.empty())
      putImage(work, r.left, r.top,
               composeGrid(r.width(), r.height(), bar->Image, marginsOf(*bar), false, bar->Tile != 0, bar->FrameCount, 1),
               false);
  };

  const int count = int(SendMessageW(window_, HDM_GETITEMCOUNT, 0, 0));
  int end = 0;
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!SendMessageW(window_, HDM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r))) continue;
    const Rect itemRect = toRect(r);
    end = std::max(end, itemRect.right);
    piece(itemRect);
    char text[201] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = int(sizeof text);
    if (!SendMessageA(window_, HDM_GETITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item))) continue;
    text[sizeof text - 1] = '\0';
    const std::string caption = fromAnsi(text);
    RECT measured{0, 0, 0, 0};
    canvas.drawText(caption, measured, DT_CALCRECT);
    const int justify = item.fmt & HDF_JUSTIFYMASK;
    const HeaderAlign align = justify == HDF_CENTER ? HeaderAlign::Centre : justify == HDF_RIGHT ? HeaderAlign::Right
                                                                                                 : HeaderAlign::Left;
    RECT out = toRECT(headerTextRect(itemRect, int(measured.right - measured.left),
                                     int(measured.bottom - measured.top), align));
    canvas.drawText(caption, out,
                    align == HeaderAlign::Centre ? DT_CENTER : align == HeaderAlign::Right ? DT_RIGHT : DT_LEFT);
    GdiFlush();
  }
  // The bar goes on past the last item.
  piece({end, 0, work.width(), work.height()});
  putWorkBitmap(dc, rect);
}

}  // namespace vrin
