// Non-client painting of a skinned window: borders, title bar with caption and buttons.
#include <algorithm>
#include <cstring>

#include "skin/form/nc_objects.h"
#include "skin/form/skin_form.h"
#include "skin/pure/caption_layout.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_data.h"
#include "skin/skin_gdi.h"
#include "skin/skin_manager.h"

namespace vrin {

namespace {

// The work surface at the image's size holding its pixels.
bool loadSurface(Bitmap& surface, const Image& image) {
  if (surface.width() != image.width || surface.height() != image.height) surface.setSize(image.width, image.height);
  if (surface.empty() || !surface.pixels()) return false;
  GdiFlush();
  std::memcpy(surface.pixels(), image.pixels.data(), image.pixels.size() * sizeof(Pixel));
  return true;
}

void readSurface(Bitmap& surface, Image& image) {
  GdiFlush();
  const std::uint32_t* bits = surface.pixels();
  for (std::size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = bits[i] & 0xFFFFFF;
}

}  // namespace

Image SkinForm::composeBorder(const SkinElement& border, int width, int height, bool stacked) const {
  if (width <= 0 || height <= 0) return {};
  const Margins m{border.LeftWidth, border.TopHeight, border.RightWidth, border.BottomHeight};
  const int count = std::max(border.FrameCount, 1);
  return composeGrid(width, height, border.Image, m, stacked, border.Tile != 1, count,
                     borderFrame(WindowActive, count));
}

void SkinForm::paintNonClient() {
  if (skin_->NoSkin() || !IsWindow(window_)) return;
  WindowDC windowDC(window_, WindowDC::Area::Window);
  HDC dc = windowDC.get();
  if (!dc) return;
  try {
    RECT r{};
    GetWindowRect(window_, &r);
    WindowBounds = {r.left, r.top, r.right, r.bottom};
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w > 0 && h > 0) {
      const SkinSettings& s = skin_->Settings();
      drawImage(dc, 0, 0, composeBorder(s.BorderLeft, nc_.left, h, false));
      drawImage(dc, w - nc_.right, 0, composeBorder(s.BorderRight, nc_.right, h, false));
      drawImage(dc, nc_.left, h - nc_.bottom, composeBorder(s.BorderBottom, w - nc_.left - nc_.right, nc_.bottom, true));
      paintTitleBar(dc, w);
      paintMenuBar(dc, w);
      // The menu skinning marks the MDI maximized state from the frame's menu bar; without a
      // menu bar the frame's paint does it.
      if (MdiKind == 1) {
        bool maximized = false;
        activeMdiChild(&maximized);
        if (maximized && !manager_.mdiMaximized()) manager_.setMdiMaximized(true);
      }
    }
  } catch (...) {
    // Absorbed on purpose: an error must not leave the window procedure during a paint, and a
    // message box from here would be painted over and asked for again.
  }
  HotObject = nullptr;
}

void SkinForm::paintTitleBar(HDC dc, int width) {
  const int height = nc_.top;
  if (height <= 0) return;
  Bitmap& surface = manager_.workBitmap();
  titleCache_ = Image(width, height);
  if (surface.width() != width || surface.height() != height) surface.setSize(width, height);
  if (surface.empty()) return;
  BitBlt(surface.dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
  readSurface(surface, titleCache_);

  const Rect area{nc_.left, 0, width - nc_.right, height};
  drawOpaque(titleCache_, area, composeBorder(skin_->BorderTop(), area.width(), height, true));
  drawCaption(surface, area);
  titleBase_ = titleCache_;

  TitleLayout layout{width, CaptionTextRect, nc_, MenuBarHeight, skin_->MenuBar() ? skin_->MenuBar()->LeftWidth : 0};
  const TitleWindow state = titleWindow();
  for (auto& b : buttons_) {
    b->layout(state, layout);
    if (!b->inTitleBar()) continue;
    drawTransparent(titleCache_, b->Bounds, b->frameOver(Image(), cacheFrame(WindowActive, b->frameCount)));
  }
  drawImage(dc, 0, 0, titleCache_);

  const int systemTop = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
  if (height + MenuBarHeight < systemTop && skin_->FaceBrush()) {
    RECT fill{nc_.left, height, width - nc_.right, systemTop - MenuBarHeight};
    FillRect(dc, &fill, skin_->FaceBrush());
  }
}

void SkinForm::drawCaption(Bitmap& surface, const Rect& area) {
  std::wstring text(1001, L'\0');
  text.resize(std::size_t(std::max(0, GetWindowTextW(window_, text.data(), 1001))));
  const std::wstring padded = widen(paddedCaption(narrow(text)));
  HDC sdc = surface.dc();
  SelectScope font(sdc, captionFont_.get());
  RECT measured{area.left, area.top, area.left, area.top};
  DrawTextW(sdc, padded.c_str(), int(padded.size()), &measured, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
  const SkinTitleElement& title = skin_->Title();
  const CaptionPlacement place =
      placeCaption(area, measured.right - measured.left, measured.bottom - measured.top, title);
  CaptionTextRect = place.text;
  if (!title.Image.empty())
    drawThreeSlice(titleCache_, place.background, title.Image, true, true, 2, WindowActive ? 1 : 2,
                   title.TextBackLeft, title.TextBackRight);
  if (place.draw.empty() || !loadSurface(surface, titleCache_)) return;
  const SkinColors& colours = skin_->SkinColors();
  SetBkMode(sdc, TRANSPARENT);
  SetTextColor(sdc, colorToRGB(WindowActive ? colours.TitleTextColor : colours.InactiveTitleTextColor));
  RECT r{place.draw.left, place.draw.top, place.draw.right, place.draw.bottom};
  DrawTextW(sdc, padded.c_str(), int(padded.size()), &r, DT_SINGLELINE | DT_END_ELLIPSIS);
  readSurface(surface, titleCache_);
}

}  // namespace vrin
