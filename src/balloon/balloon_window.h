#pragma once
// The two balloon windows: the shaped, layered popup with its layout (alone it is the
// application's hint) and the window a balloon component shows, with its close button.
#include <string>

#include "balloon/pure/balloon_layout.h"
#include "ui/application.h"

namespace vrin {

class BalloonHint;
class ImageList;

// True on Windows XP and later (drop shadow, 32-bit icons, the fade).
bool xpOrLater();

// One balloon's settings, handed from the component to its window.
struct HintData {
  WinControl* anchorControl = nullptr;
  POINT anchorPoint{};  // the anchor control's client coordinates (screen without a control)
  POINT stemPoint{};    // where the stem tip went, same coordinates
  std::string header;
  std::string text;
  IconKind iconKind = ikInformation;
  int imageIndex = -1;
  int visibleTime = 0;
  bool showCloseButton = false;
  AnimationStyle animationStyle = atNone;
  int animationTime = 0;
  int stemLift = 0;
};

// The balloon window with its layout. By itself it is a hint window class of the
// application: the current balloon component's defaults, no close button, no animation.
class BalloonWindow : public HintWindow {
 public:
  explicit BalloonWindow(Component* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  static HintWindow* create(Component* owner) { return new BalloonWindow(owner); }

  // As the application's hint: the balloon laid out for `hint` with its stem tip at the
  // origin, clear of the cursor's picture when the body is above.
  RECT calcHintRect(int maxWidth, const std::string& hint) override;
  // Turns away from the work area's edges, then shows 4 pixels taller than `rect`, as every
  // hint, shaped for that height.
  void activateHint(const RECT& rect, const std::string& hint) override;

  const BalloonLayout& layout() const { return layout_; }
  // Position and rectangle (screen) as placed, before keeping it on the screen.
  const BalloonPlacement& placement() const { return placement_; }

 protected:
  CreateParams createParams() override;
  LRESULT windowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual ImageList* images() const;
  virtual void paintCloseButton(HDC) {}
  // Measures the texts (hint font, header in bold) into the layout.
  void measure(int maxWidth);
  // Lays the balloon out, places its stem on the screen point and gives the window its
  // shape and bounds; it stays hidden.
  void layoutAt(POINT screenPoint, HWND ownerWindow);
  // Window region, bounds and owner for a placed rectangle; hides a visible window first.
  void applyFrame(const Rect& bounds, const BalloonLayout& shapeLayout, HWND ownerWindow);
  BalloonImages imageInfo() const;

  ResolvedBalloon content_;
  int stemLift_ = 0;
  bool asHint_ = true;  // the application's hint (icon one pixel lower)
  BalloonLayout layout_;
  BalloonLayout measured_;
  BalloonPlacement placement_;

 private:
  void makeFonts();
  void paint(HDC dc);
  GdiObject<HFONT> font_, boldFont_;
  std::wstring classNameW_;
};

// The window of a BalloonHint: settings from the balloon data, the close button, the
// anchor, and application deactivation.
class BalloonWindowEx : public BalloonWindow {
 public:
  explicit BalloonWindowEx(BalloonHint* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  void takeSettings(const HintData& data, const ResolvedBalloon& content);
  // Places the stem at the screen point and shows the window without activating it, at
  // `alpha` (the fade raises it later).
  void showAt(POINT screenPoint, int alpha);
  void setAlpha(int alpha);
  void resetCloseButton();

  const Rect& closeButtonRect() const { return closeButton_.rect(); }
  CloseButtonLook closeButtonLook() const { return closeButton_.look(); }

 protected:
  LRESULT windowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  ImageList* images() const override;
  void paintCloseButton(HDC dc) override;

 private:
  void apply(const CloseButtonEffect& effect);
  BalloonHint* hint_;
  CloseButtonTracker closeButton_;
  bool anchored_ = false;
  AnimationStyle animationStyle_ = atNone;
  int animationTime_ = 0;
};

}  // namespace vrin
