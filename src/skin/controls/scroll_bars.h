#pragma once
// Scroll bars drawn from the skin: the bars in the frame of a scrollable control (list box,
// memo, tree view, list view), whose thumbs the skinner drags itself, and the stand-alone
// scroll bar control.
#include <memory>

#include "skin/controls/skin_control.h"
#include "skin/pure/scroll_geometry.h"

namespace vrin {

class SkinHeader;

class SkinScrollBar : public SkinControl {
 public:
  using SkinControl::SkinControl;
  ~SkinScrollBar() override;

  // The attach of a scrollable control. For the scroll-bar skinners the flag of the common
  // attach is "own tracking": the skinner drags the thumbs itself. No recolouring, no double
  // buffering.
  void AttachControl(WinControl& control, SkinData& skin, bool ownTracking, Canvas& canvas) override;
  // A window the framework does not know; the skinner drags its thumbs.
  void AttachWindow(HWND window, SkinData& skin, Canvas& canvas) override;
  bool BeforeMessage(SkinMessage& msg) override;
  void AfterMessage(SkinMessage& msg) override;
  void PaintSkin(HDC dc, const Rect& rect) override;

  int pressedPart() const { return pressedPart_; }
  bool thumbTracking() const { return tracking_; }
  bool ownTracking() const { return ownTracking_; }
  const BarLayout& layout() const { return layout_; }
  const BarMetrics& metrics(bool horizontal) const { return horizontal ? hMetrics_ : vMetrics_; }

 protected:
  void attachScrolling(HWND window, SkinData& skin, bool ownTracking, Canvas& canvas);

 private:
  // A press in the frame: the thumb under it is dragged here, anything else is the control's.
  bool pressOnBar(SkinMessage& msg);
  void trackThumb(bool horizontal);
  // The bars as the window has them now (forced bars included) and their thumbs.
  void readBars(int width, int height);
  void paintBar(HDC dc, bool horizontal);

  int pressedPart_ = kPartNone;
  DWORD style_ = 0, exStyle_ = 0;
  bool tracking_ = false;
  bool ownTracking_ = false;
  bool forceVertical_ = false, forceHorizontal_ = false;
  SCROLLINFO hInfo_{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
  SCROLLINFO vInfo_{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
  BarLayout layout_;
  BarMetrics hMetrics_, vMetrics_;
  // Set by the destructor when the skinner goes while its drag loop still runs.
  bool* trackingAlive_ = nullptr;
  LONG_PTR trackedBit_ = 0;
};

// A list view: its bars as above, and its header through the header skinner.
class SkinListView : public SkinScrollBar {
 public:
  using SkinScrollBar::SkinScrollBar;
  ~SkinListView() override;
  void AttachControl(WinControl& control, SkinData& skin, bool ownTracking, Canvas& canvas) override;
  void AttachWindow(HWND window, SkinData& skin, Canvas& canvas) override;
  void Detach() override;
  SkinHeader* header() const { return header_.get(); }

 private:
  void attachHeader(SkinData& skin, Canvas& canvas);
  std::unique_ptr<SkinHeader> header_;
};

// A stand-alone scroll bar control, drawn over its whole window; the system drags its thumb.
class SkinScControl : public SkinControl {
 public:
  using SkinControl::SkinControl;
  bool BeforeMessage(SkinMessage& msg) override;
  void AfterMessage(SkinMessage& msg) override;
  void PaintSkin(HDC dc, const Rect& rect) override;
  int pressedPart() const { return pressedPart_; }
  const BarMetrics& metrics() const { return metrics_; }

 private:
  int pressedPart_ = kPartNone;
  BarMetrics metrics_;
};

}  // namespace vrin
