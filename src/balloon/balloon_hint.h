#pragma once
// The balloon hint: a rounded, topmost popup with a stem whose tip touches a point, an
// icon, a bold header, the message and a close button. It never takes the activation,
// follows its anchor control, fades in on a timer (a layered window, so the message loop
// keeps running) and hides after its visible time.
#include <array>
#include <cstdint>
#include <string>

#include "balloon/balloon_window.h"

namespace vrin {

class BalloonHint : public Component {
 public:
  explicit BalloonHint(Component* owner);
  ~BalloonHint() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // Shows a balloon whose stem touches `anchorPoint` (client coordinates of the anchor
  // control, or the screen without one); the balloon already showing is hidden first.
  // A visible time of 0 or less keeps it until closed.
  void ShowBalloon(WinControl* anchorControl, POINT anchorPoint, const std::string& header,
                   const std::string& text, int visibleTime, IconKind iconKind, int imageIndex);
  void HideBalloon();

  bool active() const { return active_; }
  BalloonWindowEx& window() const { return *window_; }
  UINT_PTR timerId() const { return timerId_; }
  const HintData& balloonData() const { return data_; }
  const BalloonDefaults& defaults() const { return defaults_; }

  // Published settings.
  BalloonOptions options() const { return defaults_.options; }
  void setOptions(BalloonOptions options) { defaults_.options = options; }
  ImageList* images() const { return images_; }
  void setImages(ImageList* images);
  std::string defaultHeader() const { return defaults_.defaultHeader; }
  void setDefaultHeader(const std::string& header) { defaults_.defaultHeader = header; }
  IconKind defaultIcon() const { return defaults_.defaultIcon; }
  void setDefaultIcon(IconKind icon);
  int defaultImageIndex() const { return defaults_.defaultImageIndex; }
  void setDefaultImageIndex(int index) { defaults_.defaultImageIndex = index; }
  ApplicationHintOptions applicationHintOptions() const { return defaults_.applicationHintOptions; }
  void setApplicationHintOptions(ApplicationHintOptions options);
  BalloonPosition defaultBalloonPosition() const { return defaults_.defaultPosition; }
  void setDefaultBalloonPosition(BalloonPosition position);
  int customAnimationTime() const { return int(defaults_.customAnimationTime); }
  void setCustomAnimationTime(int ms);
  AnimationStyle customAnimationStyle() const { return defaults_.customAnimationStyle; }
  void setCustomAnimationStyle(AnimationStyle style);

  // The balloon window's timer (WM_TIMER with this id).
  static constexpr UINT_PTR kTimerId = 1;
  void timerTick();

 protected:
  void notification(Component* component, Operation operation) override;

 private:
  std::uint32_t optionBits() const { return defaults_.options.bits; }
  void setOptionBits(std::uint32_t bits);
  std::uint32_t hintOptionBits() const { return defaults_.applicationHintOptions.bits; }
  void setHintOptionBits(std::uint32_t bits);
  void applyStep(const BalloonStep& step);
  void killTimer();
  static bool anchorHook(void* self, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  bool active_ = false;
  BalloonWindowEx* window_ = nullptr;
  UINT_PTR timerId_ = 0;
  ImageList* images_ = nullptr;
  BalloonDefaults defaults_;
  HintData data_;
  HWND anchorWnd_ = nullptr;
  POINT recordedTopLeft_{};  // anchor client coordinates
  // The application's hint window class while this component's balloon stands in for it.
  HintWindowClass savedHintClass_ = nullptr;
  bool hintClassInstalled_ = false;
  BalloonTimeline timeline_;
};

// One per process, made on first use: the current balloon component, the standard icons
// and the sound table.
class BalloonController : public Component {
 public:
  static BalloonController& instance();
  static BalloonController* existing();
  ~BalloonController() override;

  // The most recently created balloon component (a default one is made when there is none).
  BalloonHint* currentBalloon();
  BalloonHint* current() const { return current_; }
  void setCurrent(BalloonHint* hint);

  // 16 x 16: application, error, information, question, warning.
  HIMAGELIST standardIcons() const { return icons_; }
  // Reads the sound scheme's files (done at creation; again when the scheme changed).
  void readSounds();
  const std::string& soundFor(IconKind kind) const;
  void playSound(IconKind kind) const;

 protected:
  void notification(Component* component, Operation operation) override;

 private:
  BalloonController();
  BalloonHint* current_ = nullptr;
  HIMAGELIST icons_ = nullptr;
  std::array<std::string, 7> sounds_;
};

}  // namespace vrin
