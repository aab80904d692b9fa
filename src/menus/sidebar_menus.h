#pragma once
// Side-bar menus: owner-drawn popup and main menus that paint a vertical bar (gradient,
// pictures, frame, rotated caption) along the first column, and draw their item bodies
// themselves. The settings live in small owned objects reached through ISideBarMenu, so one
// measuring, one item drawing and one bar rendering routine serve both kinds of menu. The
// arithmetic is in menus/pure; this layer holds the state and talks to GDI.
#include <cstdint>
#include <memory>
#include <string>

#include "menus/pure/menu_colour.h"
#include "menus/pure/sidebar_measure.h"
#include "menus/pure/sidebar_types.h"
#include "ui/graphics.h"
#include "ui/menus.h"

namespace vrin {

class SideBarDrawModule;

// ---- Errors ----

struct ERequireOwner : Error {
  using Error::Error;
};
struct EInvalidPropertyIndex : Error {
  using Error::Error;
};

// The texts of the program's string table, with %s / %d filled in.
std::string requireOwnerMessage(const std::string& className);
std::string invalidPropertyIndexMessage(int index);

// ---- Events ----

using OnBeforeDrawBarEvent = Event<void(Component* sender, Canvas& canvas, const RECT& rect, bool& defaultDraw)>;
using OnAdvancedBeforeDrawBarEvent = Event<void(Component* sender, Canvas& canvas, const RECT& rect, BarParts& parts)>;
using OnAfterDrawBarEvent = Event<void(Component* sender, Canvas& canvas, const RECT& rect)>;
using OnMeasureMenuItemEvent = Event<void(Component* sender, MenuItem* item, Canvas& canvas, int& width, int& height,
                                          bool barVisible, bool& defaultMeasure)>;

// ---- Settings objects ----

// A gradient with an optional frame colour; base of the bar and of the separator look.
class GradientBar {
 public:
  explicit GradientBar(Menu* menu);
  virtual ~GradientBar() = default;
  GradientBar(const GradientBar&) = delete;
  GradientBar& operator=(const GradientBar&) = delete;

  Menu* menu() const { return menu_; }
  MenuColour border() const { return border_; }
  void setBorder(MenuColour c) { border_ = c; }
  GradientStyle gradientStyle() const { return gradientStyle_; }
  void setGradientStyle(GradientStyle s) { gradientStyle_ = s; }
  // The start (0) and end (1) colours; any other index raises EInvalidPropertyIndex.
  MenuColour gradientColour(int index) const;
  void setGradientColour(int index, MenuColour c);
  MenuColour gradientStart() const { return gradientColour(0); }
  void setGradientStart(MenuColour c) { setGradientColour(0, c); }
  MenuColour gradientEnd() const { return gradientColour(1); }
  void setGradientEnd(MenuColour c) { setGradientColour(1, c); }

  // Copies GradientStart, GradientEnd, GradientStyle and Border.
  virtual void assign(const GradientBar& source);

 protected:
  GradientBar(Menu* menu, const char* className);

 private:
  Menu* menu_;
  MenuColour border_ = cl::None;
  GradientStyle gradientStyle_ = GradientStyle::gsVertical;
  MenuColour colours_[2] = {MenuColour(0xD8BDAF), cl::Black};
};

// A picture drawn on the bar (the foreground one; BarBackPicture adds the tiling styles).
class BarPicture {
 public:
  explicit BarPicture(Menu* menu);
  virtual ~BarPicture();
  BarPicture(const BarPicture&) = delete;
  BarPicture& operator=(const BarPicture&) = delete;

  Menu* menu() const { return menu_; }
  bool transparent() const { return transparent_; }
  void setTransparent(bool v) { transparent_ = v; }
  // Made empty on first use.
  Bitmap& picture();
  // None or empty: nothing is drawn.
  bool hasPicture() const { return picture_ && !picture_->empty(); }
  const Bitmap* pictureIfAny() const { return picture_.get(); }
  // Copies the given picture; none frees it.
  void setPicture(const Bitmap* source);
  int offsetX() const { return offsetX_; }
  void setOffsetX(int v) { offsetX_ = v; }
  int offsetY() const { return offsetY_; }
  void setOffsetY(int v) { offsetY_ = v; }
  VertAlignment vertAlignment() const { return vert_; }
  void setVertAlignment(VertAlignment v) { vert_ = v; }
  HorzAlignment horzAlignment() const { return horz_; }
  void setHorzAlignment(HorzAlignment h) { horz_ = h; }
  bool visible() const { return visible_; }
  void setVisible(bool v) { visible_ = v; }

  // Copies Picture, Transparent, the offsets and the alignments (not Visible, not DrawStyle).
  void assign(const BarPicture& source);

 protected:
  BarPicture(Menu* menu, const char* className, VertAlignment vert, HorzAlignment horz);

 private:
  Menu* menu_;
  bool transparent_ = true;
  std::unique_ptr<Bitmap> picture_;
  int offsetX_ = 0, offsetY_ = 0;
  VertAlignment vert_;
  HorzAlignment horz_;
  bool visible_ = true;
};

class BarBackPicture : public BarPicture {
 public:
  explicit BarBackPicture(Menu* menu);
  DrawStyle drawStyle() const { return drawStyle_; }
  void setDrawStyle(DrawStyle s) { drawStyle_ = s; }

 private:
  DrawStyle drawStyle_ = DrawStyle::dsNormal;
};

// The caption written along the bar.
class BarCaption {
 public:
  explicit BarCaption(Menu* menu);
  BarCaption(const BarCaption&) = delete;
  BarCaption& operator=(const BarCaption&) = delete;

  Menu* menu() const { return menu_; }
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c) { caption_ = c; }
  const FontSpec& font() const { return font_; }
  void setFont(const FontSpec& f) { font_ = f; }
  int offsetY() const { return offsetY_; }
  void setOffsetY(int v) { offsetY_ = v; }
  VertAlignment alignment() const { return alignment_; }
  void setAlignment(VertAlignment a) { alignment_ = a; }
  Direction direction() const { return direction_; }
  void setDirection(Direction d) { direction_ = d; }
  MenuColour shadowColor() const { return shadow_; }
  void setShadowColor(MenuColour c) { shadow_ = c; }
  MenuColour highlightColor() const { return highlight_; }
  void setHighlightColor(MenuColour c) { highlight_ = c; }
  int depth() const { return depth_; }
  void setDepth(int d) { depth_ = d; }
  bool visible() const { return visible_; }
  void setVisible(bool v) { visible_ = v; }

  // Copies Font, Caption, OffsetY, Alignment, Depth, ShadowColor, HighlightColor, Direction.
  void assign(const BarCaption& source);

 private:
  Menu* menu_;
  std::string caption_;
  FontSpec font_;
  int offsetY_ = 6;
  VertAlignment alignment_ = VertAlignment::vaBottom;
  Direction direction_ = Direction::dDownToUp;
  MenuColour shadow_ = cl::None;
  MenuColour highlight_ = cl::None;
  int depth_ = 1;
  bool visible_ = true;
};

class SideBar : public GradientBar {
 public:
  explicit SideBar(Menu* menu);

  int width() const { return width_; }
  void setWidth(int w) { width_ = w; }
  int space() const { return space_; }
  void setSpace(int s) { space_ = s; }
  bool visible() const { return visible_; }
  // Going invisible drops the cached bar first.
  void setVisible(bool v);
  Side side() const { return side_; }
  void setSide(Side s) { side_ = s; }
  BarPicture& barPicture() { return *picture_; }
  const BarPicture& barPicture() const { return *picture_; }
  void setBarPicture(const BarPicture& p) { picture_->assign(p); }
  BarBackPicture& barBackPicture() { return *backPicture_; }
  const BarBackPicture& barBackPicture() const { return *backPicture_; }
  void setBarBackPicture(const BarBackPicture& p) { backPicture_->assign(p); }
  BarCaption& barCaption() { return *caption_; }
  const BarCaption& barCaption() const { return *caption_; }
  void setBarCaption(const BarCaption& c) { caption_->assign(c); }

  // From another SideBar: Width, Visible, Side, Space and the three parts; then the gradient.
  void assign(const GradientBar& source) override;

 private:
  int width_ = 32;
  bool visible_ = true;
  std::unique_ptr<BarBackPicture> backPicture_;
  std::unique_ptr<BarPicture> picture_;
  std::unique_ptr<BarCaption> caption_;
  int space_ = 1;
  Side side_ = Side::sLeft;
};

// The look of separator items.
class Separators : public GradientBar {
 public:
  explicit Separators(Menu* menu);

  const FontSpec& font() const { return font_; }
  void setFont(const FontSpec& f) { font_ = f; }
  bool useSystemFont() const { return useSystemFont_; }
  void setUseSystemFont(bool v) { useSystemFont_ = v; }
  Alignment alignment() const { return alignment_; }
  void setAlignment(Alignment a) { alignment_ = a; }
  SeparatorStyle separatorStyle() const { return style_; }
  void setSeparatorStyle(SeparatorStyle s) { style_ = s; }
  bool fade() const { return fade_; }
  void setFade(bool v) { fade_ = v; }
  int fadeWidth() const { return fadeWidth_; }
  void setFadeWidth(int w) { fadeWidth_ = w; }
  MenuColour fadeColor() const { return fadeColour_; }
  void setFadeColor(MenuColour c) { fadeColour_ = c; }
  bool flatLines() const { return flatLines_; }
  void setFlatLines(bool v) { flatLines_ = v; }

  // From other Separators: Font, Alignment, SeparatorStyle, UseSystemFont (not the fade or
  // line settings); then the gradient.
  void assign(const GradientBar& source) override;

 private:
  FontSpec font_;
  bool useSystemFont_ = true;
  Alignment alignment_ = Alignment::taCenter;
  SeparatorStyle style_ = SeparatorStyle::ssNormal;
  bool fade_ = false;
  int fadeWidth_ = 32;
  MenuColour fadeColour_ = cl::BtnShadow;
  bool flatLines_ = false;
};

// The cached bar of one menu.
class BarState {
 public:
  explicit BarState(Menu* menu);
  BarState(const BarState&) = delete;
  BarState& operator=(const BarState&) = delete;

  Menu* menu() const { return menu_; }
  BarStateCore core;
  // The menu window's row where the bar starts (the window system's margin above the items).
  int barTop = 0;
  int barHeight() const { return core.barHeight; }
  bool barValid() const { return core.barValid; }
  bool heightPending() const { return core.heightPending; }
  // Made (empty) on first use.
  Bitmap& barBitmap();
  bool hasBarBitmap() const { return bitmap_ != nullptr; }
  void markHeightPending() { core.markHeightPending(); }
  // Frees the bitmap and marks the height pending.
  void reset();

 private:
  Menu* menu_;
  std::unique_ptr<Bitmap> bitmap_;
};

// ---- The interface both menus offer to the shared routines ----

class ISideBarMenu {
 public:
  virtual void rebuildItems() = 0;
  virtual void resetBar() = 0;
  virtual SideBarMenuStyle getEffectiveMenuStyle() const = 0;
  virtual Menu* getMenuObject() = 0;
  virtual SideBar& getBar() = 0;
  virtual Separators& getSeparators() = 0;
  virtual BarState& getBarState() = 0;
  virtual void setMenuWindow(HWND window) = 0;
  virtual std::uint8_t getAlphaBlendValue() const = 0;
  virtual void setAlphaBlendValue(std::uint8_t value) = 0;
  virtual bool getFlatBorder() const = 0;
  virtual void setFlatBorder(bool value) = 0;
  virtual const FontSpec& getMenuFont() const = 0;
  virtual void setMenuFont(const FontSpec& font) = 0;
  virtual SideBarMenuStyle getMenuStyle() const = 0;
  virtual void setMenuStyle(SideBarMenuStyle style) = 0;
  virtual bool getUseSystemFont() const = 0;
  virtual void setUseSystemFont(bool value) = 0;
  virtual OnBeforeDrawBarEvent getOnBeforeDrawBar() const = 0;
  virtual void setOnBeforeDrawBar(const OnBeforeDrawBarEvent& e) = 0;
  virtual OnAdvancedBeforeDrawBarEvent getOnAdvancedBeforeDrawBar() const = 0;
  virtual void setOnAdvancedBeforeDrawBar(const OnAdvancedBeforeDrawBarEvent& e) = 0;
  virtual OnAfterDrawBarEvent getOnAfterDrawBar() const = 0;
  virtual void setOnAfterDrawBar(const OnAfterDrawBarEvent& e) = 0;
  virtual OnMeasureMenuItemEvent getOnMeasureMenuItem() const = 0;
  virtual void setOnMeasureMenuItem(const OnMeasureMenuItemEvent& e) = 0;
  virtual SideBarDrawModule* getDrawModule() const = 0;
  virtual void setDrawModule(SideBarDrawModule* module) = 0;

 protected:
  // The menu's lifetime is its owner's business, never the interface holder's.
  ~ISideBarMenu() = default;
};

// The interface of a side-bar menu; none for any other menu.
ISideBarMenu* sideBarMenuOf(Menu* menu);

// ---- Draw module ----

// A component that can take over the measuring and drawing of item bodies.
class SideBarDrawModule : public Component {
 public:
  explicit SideBarDrawModule(Component* owner);
  ~SideBarDrawModule() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  std::string description() const { return description_; }
  void setDescription(const std::string& d) { description_ = d; }
  Menu* menu() const { return menu_; }
  // Sets the menu; attachToMenu then makes this the menu's DrawModule.
  void setMenu(Menu* menu);

  // rect: the item rectangle without the bar. Clearing defaultDraw keeps the menu's own drawing out.
  virtual void drawBarMenuItem(MenuItem* item, Canvas& canvas, const RECT& rect, UINT state, bool barVisible,
                               bool& defaultDraw) = 0;
  virtual void measureBarMenuItem(MenuItem* item, Canvas& canvas, int& width, int& height, bool barVisible,
                                  bool& defaultMeasure) = 0;
  virtual void attachToMenu();

 protected:
  void notification(Component* component, Operation operation) override;

 private:
  template <class Host>
  friend class SideBarMenuBase;
  // Set by the menu itself when it takes or drops this module.
  void linkMenu(Menu* menu);
  std::string description_;
  Menu* menu_ = nullptr;
};

// ---- The shared routines ----

// ABarVisible: the bar is visible and the item belongs to the column that carries it (the root
// of a popup, the first visible drop-down of a main menu). The column rule is separate.
bool itemBarVisible(ISideBarMenu& menu, const MenuItem& item);
// True when a visible item at or before this one under the same parent starts a new column.
bool itemInLaterColumn(const MenuItem& item);
// A top-level item of a main menu.
bool isMainMenuTopLevel(ISideBarMenu& menu, const MenuItem& item);

// The side-bar measure handler's work: Width and Height hold the host's default size.
void measureSideBarMenuItem(ISideBarMenu& menu, MenuItem& item, Canvas& canvas, int& width, int& height);
// The side-bar draw handler's work.
void drawSideBarMenuItem(ISideBarMenu& menu, MenuItem& item, Canvas& canvas, const RECT& rect, UINT state);
// The bar beside one item: renders the cached bar when needed and copies the item's rows.
void drawBarBeside(ISideBarMenu& menu, Canvas& canvas, const RECT& itemRect, HWND menuWindow);
// The property a menu window carries once the flat frame has set its region; it comes off
// when the window is destroyed.
inline constexpr char kFlatFrameRegionProp[] = "Vrin.SideBarFlatRegion";
// Paints a gradient over r on a canvas (separators in the caption style).
void fillGradientOnCanvas(Canvas& canvas, const RECT& r, GradientStyle style, MenuColour start, MenuColour end);

// The operating-system tests, evaluated once when the program starts.
const OsVersion& sideBarOsVersion();

// ---- The menus ----

// What the popup and the main menu share: the settings, the interface and the two handlers
// they put on their items.
template <class Host>
class SideBarMenuBase : public Host, public ISideBarMenu {
 public:
  explicit SideBarMenuBase(Component* owner);
  ~SideBarMenuBase() override;

  SideBar& bar() { return *bar_; }
  void setBar(const SideBar& b) { bar_->assign(b); }
  Separators& separators() { return *separators_; }
  void setSeparators(const Separators& s) { separators_->assign(s); }
  BarState& barState() { return *barState_; }

  OnBeforeDrawBarEvent onBeforeDrawBar;
  OnAdvancedBeforeDrawBarEvent onAdvancedBeforeDrawBar;
  OnAfterDrawBarEvent onAfterDrawBar;
  OnMeasureMenuItemEvent onMeasureMenuItem;

  // The handlers put on the items (OnMeasureItem and OnAdvancedDrawItem).
  void sideBarMeasureItem(Component* sender, Canvas& canvas, int& width, int& height);
  void sideBarDrawItem(Component* sender, Canvas& canvas, const RECT& rect, UINT state);
  MenuMeasureEvent measureHandler() { return MenuMeasureEvent::template of<&SideBarMenuBase::sideBarMeasureItem>(this); }
  MenuAdvancedDrawEvent drawHandler() {
    return MenuAdvancedDrawEvent::template of<&SideBarMenuBase::sideBarDrawItem>(this);
  }
  // Gives the side-bar handlers to `start` alone, or with none to every item (into the
  // submenus with `recurse`); with `keep`, handlers already there stay. An item that carries
  // the side-bar draw handler is never touched again.
  void takeOverItems(MenuItem* start, bool recurse, bool keep);

  virtual void refreshMenu(bool invalidateBar, bool rebuild) = 0;
  HWND menuWindow() const { return menuWindow_; }

  // ISideBarMenu
  void rebuildItems() override;
  SideBarMenuStyle getEffectiveMenuStyle() const override;
  Menu* getMenuObject() override { return this; }
  SideBar& getBar() override { return *bar_; }
  Separators& getSeparators() override { return *separators_; }
  BarState& getBarState() override { return *barState_; }
  void setMenuWindow(HWND window) override { menuWindow_ = window; }
  std::uint8_t getAlphaBlendValue() const override { return alphaBlend_; }
  void setAlphaBlendValue(std::uint8_t v) override { alphaBlend_ = v; }
  bool getFlatBorder() const override { return flatBorder_; }
  void setFlatBorder(bool v) override { flatBorder_ = v; }
  const FontSpec& getMenuFont() const override { return menuFont_->desc(); }
  void setMenuFont(const FontSpec& font) override;
  SideBarMenuStyle getMenuStyle() const override { return menuStyle_; }
  void setMenuStyle(SideBarMenuStyle style) override { menuStyle_ = style; }
  bool getUseSystemFont() const override { return useSystemFont_; }
  void setUseSystemFont(bool v) override { useSystemFont_ = v; }
  OnBeforeDrawBarEvent getOnBeforeDrawBar() const override { return onBeforeDrawBar; }
  void setOnBeforeDrawBar(const OnBeforeDrawBarEvent& e) override { onBeforeDrawBar = e; }
  OnAdvancedBeforeDrawBarEvent getOnAdvancedBeforeDrawBar() const override { return onAdvancedBeforeDrawBar; }
  void setOnAdvancedBeforeDrawBar(const OnAdvancedBeforeDrawBarEvent& e) override { onAdvancedBeforeDrawBar = e; }
  OnAfterDrawBarEvent getOnAfterDrawBar() const override { return onAfterDrawBar; }
  void setOnAfterDrawBar(const OnAfterDrawBarEvent& e) override { onAfterDrawBar = e; }
  OnMeasureMenuItemEvent getOnMeasureMenuItem() const override { return onMeasureMenuItem; }
  void setOnMeasureMenuItem(const OnMeasureMenuItemEvent& e) override { onMeasureMenuItem = e; }
  SideBarDrawModule* getDrawModule() const override { return drawModule_; }
  void setDrawModule(SideBarDrawModule* module) override;

  // Published-property style accessors.
  SideBarMenuStyle menuStyle() const { return menuStyle_; }
  bool useSystemFont() const { return useSystemFont_; }

 protected:
  void notification(Component* component, Operation operation) override;
  // Detaches the old module and attaches the new one.
  void swapDrawModule(SideBarDrawModule* module);
  SideBarMenuStyle menuStyle_ = SideBarMenuStyle::msAuto;
  bool useSystemFont_ = true;

 private:
  void takeOverOne(MenuItem& item, bool keep);
  void takeOverLevel(MenuItem& parent, bool recurse, bool keep);
  std::unique_ptr<BarState> barState_;
  std::unique_ptr<SideBar> bar_;
  std::unique_ptr<Separators> separators_;
  std::unique_ptr<Font> menuFont_;
  SideBarDrawModule* drawModule_ = nullptr;
  bool flatBorder_ = false;
  std::uint8_t alphaBlend_ = 255;
  HWND menuWindow_ = nullptr;
};

extern template class SideBarMenuBase<PopupMenu>;
extern template class SideBarMenuBase<MainMenu>;

class CustomSideBarPopupMenu : public SideBarMenuBase<PopupMenu> {
 public:
  explicit CustomSideBarPopupMenu(Component* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  void loaded() override;
  void menuChanged(MenuItem* source, bool rebuild) override;
  // Marks the bar height pending, then shows the menu (returns when it closes).
  void popup(int x, int y) override;
  virtual void popupAtPoint(POINT p) { popup(p.x, p.y); }
  void refreshMenu(bool invalidateBar, bool rebuild) override;
  void resetBar() override;
};

// The tray menu's class: the popup with its settings published.
class SideBarPopupMenu : public CustomSideBarPopupMenu {
 public:
  explicit SideBarPopupMenu(Component* owner) : CustomSideBarPopupMenu(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

class CustomSideBarMainMenu : public SideBarMenuBase<MainMenu> {
 public:
  explicit CustomSideBarMainMenu(Component* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  void loaded() override;
  void refreshMenu(bool invalidateBar, bool rebuild) override;
  void resetBar() override;
  void setMenuFont(const FontSpec& font) override;
  void setMenuStyle(SideBarMenuStyle style) override;
  void setUseSystemFont(bool value) override;
  void setDrawModule(SideBarDrawModule* module) override;
  // The window whose menu bar this is: the owning form's, once it exists.
  HWND hostWindow() const;

 private:
  // Hiding and showing the first drop-down makes the window system rebuild the bar.
  void toggleFirstItem();
};

}  // namespace vrin
