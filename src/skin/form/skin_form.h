#pragma once
// The skinner of one window: takes over its non-client area (borders, title bar, caption,
// title buttons), its non-client mouse input and its shape, with the skin's sizes in place of
// the system frame metrics.
#include <memory>
#include <string>
#include <vector>

#include "skin/pure/form_metrics.h"
#include "skin/pure/nc_object.h"
#include "skin/pure/title_buttons.h"
#include "ui/graphics.h"
#include "ui/window_hooks.h"
#include "ui/win.h"

namespace vrin {

class Form;
class SkinData;
class SkinManager;
class SkinTitleButton;
class SkinControl;
class SkinMenuBar;
class MenuBtn;

// Private messages of the skinned windows.
constexpr UINT kSkinRepaintFrame = 0x3502;  // to an MDI frame after a new child was skinned
constexpr UINT kSkinFinishAttach = 0x3503;  // posted by the manager after attaching
constexpr UINT kSkinButtonAction = 0x3504;  // a title button's action nobody handles (WPARAM)
constexpr UINT kSkinReapply = 0x3401;       // re-apply the skin to a skinned form

enum SkinPhase { phNew = 0, phApplied = 1, phReapplying = 3, phClosing = 4, phApplying = 5 };
enum SkinWindowState { wsNormal = 0, wsMaximized = 1, wsMinimized = 2 };

class SkinForm : public NcHost {
 public:
  SkinForm(SkinManager& manager, HWND window, SkinData& skin);
  ~SkinForm();
  SkinForm(const SkinForm&) = delete;
  SkinForm& operator=(const SkinForm&) = delete;

  void attachToWindow();
  void attachToForm(Form& form);
  // Gives the window back its system frame, procedure, styles and colour.
  void detach();
  void readMetrics();
  // The title buttons anew from the skin data's elements (after it loaded another skin).
  void rebuildButtons();
  // Before a skin change: the client size and borders the change must keep and replace.
  void prepareSkinChange();
  void dropRegion();
  void reapply();
  void updateRegion();
  void markClosing() { Phase = phClosing; }
  // The menu bar (form_menu.cpp): the skinned bar, or nullptr when the window has no menu.
  SkinMenuBar* menuBar() const { return menuBar_.get(); }
  // Tracks the item's menu; false when it opens nothing (no submenu).
  bool openMenuItem(MenuBtn& item);
  MenuBtn* itemForAccelerator(char32_t character) const;
  // Presses a bar item as a click would: WM_NCLBUTTONDOWN posted inside it.
  void pressMenuItem(const MenuBtn& item);
  // A button of a maximized MDI child drawn in its state in the bar.
  void paintBarButton(const SkinTitleButton& button);

  // The manager's MDI maximized state reaching one MDI child.
  void mdiMaximizedChanged(bool maximized);

  HWND window() const { return window_; }
  Form* form() const { return form_; }
  SkinData* skinData() const { return skin_; }
  SkinManager& manager() const { return manager_; }
  const BorderSizes& borders() const { return nc_; }
  int menuBarHeight() const { return MenuBarHeight; }
  bool attached() const { return hook_.installed(); }
  bool hoverTimerRunning() const { return hoverTimer_; }
  bool regionOwned() const { return RegionOwned; }
  const std::vector<std::unique_ptr<SkinTitleButton>>& titleButtons() const { return buttons_; }
  const Image& iconImage() const { return iconImage_; }
  // Repaints the non-client area (the title buttons' Paint uses what it last composed).
  void paintNonClient();
  // What the title bar looked like under the buttons at the last paint.
  const Image& titleBase() const { return titleBase_; }
  bool applies() const;  // the skin draws this window's frame now

  bool WindowActive = true;
  int WindowState = wsNormal;
  int Phase = phNew;
  int MdiKind = 0;  // 0 plain, 1 MDI frame, 2 MDI child
  bool Borderless = false;
  unsigned CaptionButtons = 0;  // bit 0 maximize box, bit 1 minimize box, bit 3 system menu
  bool StylesShown = true;
  Rect CaptionTextRect;
  Rect WindowBounds;
  HMENU WindowMenu = nullptr;
  HMENU SystemMenu = nullptr;
  bool MenuTracking = false;

  // The skinners of the window's controls, in the order they were made, the one under the
  // mouse, and the canvas they all draw through.
  std::vector<std::unique_ptr<SkinControl>> SkinnedControls;
  SkinControl* HotControl = nullptr;
  Canvas ControlCanvas;

  // Title-button actions need these.
  void showCaptionStyles();
  void hideCaptionStyles();
  void stopHoverTimer();
  void startHoverTimer();
  void restore();
  HWND activeMdiChild(bool* maximized = nullptr) const;
  TitleWindow titleWindow() const;

 private:
  bool windowHandler(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool appliedHandler(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  LRESULT formHandler(UINT msg, WPARAM wp, LPARAM lp, const std::function<LRESULT(UINT, WPARAM, LPARAM)>& next);
  bool mdiClientHandler(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  LRESULT next(UINT msg, WPARAM wp, LPARAM lp) { return hook_.callNext(window_, msg, wp, lp); }
  void finishAttach();
  void resizeFrame(bool withMenuBar, const RECT* keptClient = nullptr);
  void refreshFrame();
  void buildIconBitmap();
  void refreshWindowState();
  void hoverTick();
  NcObject* objectAt(int x, int y);
  // Menu-bar pieces (form_menu.cpp).
  void attachMenuBar();
  void detachMenuBar();
  void rebuildMenuBar();
  void paintMenuBar(HDC dc, int width);
  MenuBtn* menuItemAt(int x, int y) const;
  bool menuBarMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool keyMenu(WPARAM wp, LPARAM lp, LRESULT& result);
  bool menuBarMouse(UINT msg, NcObject* object, LPARAM lp);
  void screenToWindow(POINT& p) const;
  // Painting pieces (form_paint.cpp).
  void paintTitleBar(HDC dc, int width);
  void drawCaption(Bitmap& surface, const Rect& area);
  Image composeBorder(const SkinElement& border, int width, int height, bool stacked) const;
  HRGN regionPart(const SkinElement& border, const struct RegionPart& part, bool stacked, bool fromCache) const;

  SkinManager& manager_;
  HWND window_;
  Form* form_ = nullptr;
  SkinData* skin_;
  WindowHook hook_;
  WindowHook mdiHook_;
  HWND mdiClient_ = nullptr;
  HWND lastMdiChild_ = nullptr;
  int formHandlerId_ = 0;
  std::uint32_t savedColor_ = 0;
  BorderSizes nc_;
  int MenuBarHeight = 0;
  std::vector<std::unique_ptr<SkinTitleButton>> buttons_;
  Bitmap iconBitmap_;
  Image iconImage_;
  Image titleCache_;
  Image titleBase_;
  bool RegionOwned = false;
  int regionWidth_ = -1, regionHeight_ = -1;
  GdiObject<HFONT> captionFont_;
  bool hoverTimer_ = false;
  BorderSizes oldNc_;
  RECT keptClient_{};
  std::unique_ptr<SkinMenuBar> menuBar_;
};

}  // namespace vrin
