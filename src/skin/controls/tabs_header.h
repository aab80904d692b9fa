#pragma once
// Tab controls (the tab strip composed lying down for tabs on a side, then stood up, and the
// page framed by the tab element's second picture) and header controls.
#include "core/image.h"
#include "skin/controls/skin_control.h"
#include "skin/pure/tab_layout.h"

namespace vrin {

class SkinTab : public SkinControl {
 public:
  using SkinControl::SkinControl;
  void AttachControl(WinControl& control, SkinData& skin, bool recolour, Canvas& canvas) override;
  void AttachWindow(HWND window, SkinData& skin, Canvas& canvas) override;
  void PaintSkin(HDC dc, const Rect& rect) override;
  TabSide side() const { return side_; }

 private:
  // The side from the style, and the pictures turned the way that side needs.
  void preparePictures();
  void paintStrip(HDC dc, const Rect& rect, const Rect& page);
  TabSide side_ = TabSide::Top;
  // What the copies were made from, so that a new skin or style gets new copies.
  const Pixel* preparedFrom_ = nullptr;
  Image tabPicture_;
  Image pagePicture_;
  Bitmap strip_;
};

class SkinHeader : public SkinControl {
 public:
  using SkinControl::SkinControl;
  bool BeforeMessage(SkinMessage& msg) override;
  void PaintSkin(HDC dc, const Rect& rect) override;
};

}  // namespace vrin
