#pragma once
// The title-bar buttons of a skinned window: when each shows, where it sits, which frame
// it draws, which one is under a point and what a click on it does.
#include <vector>

#include "core/image.h"
#include "skin/pure/form_metrics.h"
#include "skin/pure/nc_object.h"
#include "skin/pure/skin_settings.h"

namespace vrin {

// What the visibility conditions look at.
struct TitleWindow {
  bool active = true;
  bool maximized = false;
  bool systemMenu = false;
  bool maximizeBox = false;
  bool minimizeBox = false;
  bool mdiChildMaximized = false;  // an MDI frame whose active child is maximized
};

// Condition A (from Visibility, which also looks at the action) and condition B (from
// Visibility1).
bool visibilityA(int value, int action, const TitleWindow& w);
bool visibilityB(int value, const TitleWindow& w);
// Both conditions, then a maximise button needs a maximize box and a minimise button a
// minimize box.
bool titleButtonVisible(const SkinSysButtonElement& b, const TitleWindow& w);

// Buttons that show the window icon instead of a picture.
inline bool isIconAction(int action) { return action == 3 || action == 11; }

struct TitleLayout {
  int windowWidth = 0;
  Rect captionText;  // CaptionTextRect
  BorderSizes borders;
  int menuBarHeight = 0;
  int menuBarLeftWidth = 0;  // LeftWidth of the skin's MenuBar element, 0 without one
};

// One title button as the form shows it: its element, the picture it draws (the window
// icon for icon buttons) and that picture's frame count.
class TitleButton : public NcObject {
 public:
  TitleButton(NcHost& owner, const SkinSysButtonElement& data) : NcObject(owner), Data(&data) {}
  const SkinSysButtonElement* Data;
  int pictureWidth = 0, pictureHeight = 0;
  int frameCount = 1;

  // Visible, and Bounds for a visible button with a picture.
  void layout(const TitleWindow& w, const TitleLayout& l);
  bool hasPicture() const { return pictureWidth > 0 && pictureHeight > 0; }
  // Whether it is drawn in the title bar (buttons of Visibility 100 go in the menu bar).
  bool inTitleBar() const { return Visible && hasPicture() && Data->Visibility != 100; }
};

// Bounds of a button with a w x h frame (Align 0, 1, 2/8, 3/9, 100; others stay at 0, 0).
Rect titleButtonBounds(const SkinSysButtonElement& b, int w, int h, const TitleLayout& l);

// The first visible, clickable (Action >= 0) button containing the point, or nullptr.
TitleButton* titleButtonAt(const std::vector<TitleButton*>& buttons, int x, int y);

// The frame drawn into the title cache: 1 while active, 4 when not, 1 below 4 frames.
int cacheFrame(bool active, int frameCount);
// The frame a state change draws: the state itself, except hot is frame 4 in the menu bar.
int paintFrame(int state, int visibility);

enum class TitleEffect { Close, Restore, Maximize, Minimize, SystemMenu, MdiMinimize, MdiRestore, MdiClose, Notify };
// windowState: 0 normal, 1 maximized, 2 minimized.
TitleEffect titleEffect(int action, int windowState);

}  // namespace vrin
