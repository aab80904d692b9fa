#include "menus/sidebar_menus.h"

#include <cstdio>

#include "ui/control.h"
#include "ui/imagelist.h"

namespace vrin {

// ---- Errors ----

std::string requireOwnerMessage(const std::string& className) {
  return "Tried to create " + className + " with no owner.";
}

std::string invalidPropertyIndexMessage(int index) {
  return "Invalid property index " + std::to_string(index) + ".";
}

namespace {

Menu* requireMenu(Menu* menu, const char* className) {
  if (!menu) throw ERequireOwner(requireOwnerMessage(className));
  return menu;
}

// A font size in points as a height in pixels at the screen's resolution (negative: the
// character height without the internal leading).
int pointsToHeight(int points) {
  WindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return -MulDiv(points, dpi > 0 ? dpi : 96, 72);
}

void copyBitmap(Bitmap& target, const Bitmap& source) {
  if (source.empty()) {
    target.setSize(0, 0);
    return;
  }
  target.fromImage(source.toImage());
}

OsVersion readOsVersion() {
  OsVersion os;
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExA(&info)) {
#pragma GCC diagnostic pop
    os.ntFamily = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    os.major = int(info.dwMajorVersion);
    os.minor = int(info.dwMinorVersion);
  }
  return os;
}

// Evaluated when the program's modules start, as the menus expect.
const OsVersion gOsVersion = readOsVersion();

}  // namespace

const OsVersion& sideBarOsVersion() { return gOsVersion; }

// ---- GradientBar ----

GradientBar::GradientBar(Menu* menu) : GradientBar(menu, "TGradientBar") {}
GradientBar::GradientBar(Menu* menu, const char* className) : menu_(requireMenu(menu, className)) {}

MenuColour GradientBar::gradientColour(int index) const {
  if (index != 0 && index != 1) throw EInvalidPropertyIndex(invalidPropertyIndexMessage(index));
  return colours_[index];
}

void GradientBar::setGradientColour(int index, MenuColour c) {
  if (index != 0 && index != 1) throw EInvalidPropertyIndex(invalidPropertyIndexMessage(index));
  colours_[index] = c;
}

void GradientBar::assign(const GradientBar& source) {
  if (&source == this) return;
  colours_[0] = source.colours_[0];
  colours_[1] = source.colours_[1];
  gradientStyle_ = source.gradientStyle_;
  border_ = source.border_;
}

// ---- Pictures and caption ----

BarPicture::BarPicture(Menu* menu) : BarPicture(menu, "TBarPicture", VertAlignment::vaBottom, HorzAlignment::haCenter) {}
BarPicture::BarPicture(Menu* menu, const char* className, VertAlignment vert, HorzAlignment horz)
    : menu_(requireMenu(menu, className)), vert_(vert), horz_(horz) {}
BarPicture::~BarPicture() = default;

Bitmap& BarPicture::picture() {
  if (!picture_) picture_ = std::make_unique<Bitmap>();
  return *picture_;
}

void BarPicture::setPicture(const Bitmap* source) {
  if (!source) {
    picture_.reset();
    return;
  }
  if (source == picture_.get()) return;
  copyBitmap(picture(), *source);
}

void BarPicture::assign(const BarPicture& source) {
  if (&source == this) return;
  setPicture(source.picture_.get());
  transparent_ = source.transparent_;
  offsetX_ = source.offsetX_;
  offsetY_ = source.offsetY_;
  vert_ = source.vert_;
  horz_ = source.horz_;
}

BarBackPicture::BarBackPicture(Menu* menu)
    : BarPicture(menu, "TBarBackPicture", VertAlignment::vaTop, HorzAlignment::haLeft) {}

BarCaption::BarCaption(Menu* menu) : menu_(menu) {
  font_.name = "Tahoma";
  font_.height = pointsToHeight(14);
  font_.color = clWhite;
  font_.style = fsBold | fsItalic;
}

void BarCaption::assign(const BarCaption& source) {
  if (&source == this) return;
  font_ = source.font_;
  caption_ = source.caption_;
  offsetY_ = source.offsetY_;
  alignment_ = source.alignment_;
  depth_ = source.depth_;
  shadow_ = source.shadow_;
  highlight_ = source.highlight_;
  direction_ = source.direction_;
}

// ---- SideBar and Separators ----

SideBar::SideBar(Menu* menu)
    : GradientBar(menu, "TSideBar"),
      backPicture_(std::make_unique<BarBackPicture>(menu)),
      picture_(std::make_unique<BarPicture>(menu)),
      caption_(std::make_unique<BarCaption>(menu)) {}

void SideBar::setVisible(bool v) {
  if (!v) {
    if (ISideBarMenu* m = sideBarMenuOf(this->menu())) {
      BarState& state = m->getBarState();
      state.reset();
      state.core.barValid = false;
    }
  }
  visible_ = v;
  if (auto* main = dynamic_cast<CustomSideBarMainMenu*>(this->menu()); main && main->hostWindow())
    main->refreshMenu(false, true);
}

void SideBar::assign(const GradientBar& source) {
  if (&source == this) return;
  if (auto* s = dynamic_cast<const SideBar*>(&source)) {
    width_ = s->width_;
    setVisible(s->visible_);
    side_ = s->side_;
    space_ = s->space_;
    picture_->assign(*s->picture_);
    backPicture_->assign(*s->backPicture_);
    caption_->assign(*s->caption_);
  }
  GradientBar::assign(source);
}

Separators::Separators(Menu* menu) : GradientBar(menu, "TSeparators") {
  setGradientStart(cl::Gray);
  setGradientEnd(cl::Silver);
  setGradientStyle(GradientStyle::gsHorizontal);
}

void Separators::assign(const GradientBar& source) {
  if (&source == this) return;
  if (auto* s = dynamic_cast<const Separators*>(&source)) {
    font_ = s->font_;
    alignment_ = s->alignment_;
    style_ = s->style_;
    useSystemFont_ = s->useSystemFont_;
  }
  GradientBar::assign(source);
}

// ---- BarState ----

BarState::BarState(Menu* menu) : menu_(requireMenu(menu, "TBarState")) {}

Bitmap& BarState::barBitmap() {
  if (!bitmap_) bitmap_ = std::make_unique<Bitmap>();
  return *bitmap_;
}

void BarState::reset() {
  bitmap_.reset();
  core.markHeightPending();
}

ISideBarMenu* sideBarMenuOf(Menu* menu) { return dynamic_cast<ISideBarMenu*>(menu); }

// ---- Draw module ----

const ClassInfo& SideBarDrawModule::staticClassInfo() {
  static const ClassInfo info{
      "TSideBarDrawModule",
      &Component::staticClassInfo(),
      {stringProp<SideBarDrawModule>("Description", &SideBarDrawModule::description,
                                     &SideBarDrawModule::setDescription)}};
  return info;
}

SideBarDrawModule::SideBarDrawModule(Component* owner) : Component(owner) {}

// The menu hears of the end through the free notification and drops its reference.
SideBarDrawModule::~SideBarDrawModule() { menu_ = nullptr; }

void SideBarDrawModule::linkMenu(Menu* menu) {
  menu_ = menu;
  // Either side may go first; the notification makes the other drop its pointer.
  if (menu_) freeNotification(menu_);
}

void SideBarDrawModule::setMenu(Menu* menu) {
  // The menu it leaves must not keep drawing through it.
  if (ISideBarMenu* old = sideBarMenuOf(menu_); old && menu_ != menu && old->getDrawModule() == this)
    old->setDrawModule(nullptr);
  linkMenu(menu);
  attachToMenu();
}

void SideBarDrawModule::attachToMenu() {
  if (ISideBarMenu* m = sideBarMenuOf(menu_)) m->setDrawModule(this);
}

void SideBarDrawModule::notification(Component* component, Operation operation) {
  Component::notification(component, operation);
  if (operation == Operation::Remove && component == menu_) menu_ = nullptr;
}

// ---- Shared routines: which items carry the bar, measuring ----

bool isMainMenuTopLevel(ISideBarMenu& menu, const MenuItem& item) {
  Menu* m = menu.getMenuObject();
  return !m->isPopup() && item.parent() == &m->items();
}

bool itemBarVisible(ISideBarMenu& menu, const MenuItem& item) {
  Menu* m = menu.getMenuObject();
  const MenuItem* parent = item.parent();
  if (!parent) return false;
  bool carries = false;
  if (m->isPopup()) {
    carries = parent == &m->items();
  } else {
    std::vector<bool> visible;
    for (const MenuItem* top : m->items().items()) visible.push_back(top->visible());
    const int first = firstVisibleIndex(visible);
    carries = first >= 0 && parent == m->items().item(first);
  }
  return barVisibleFor(menu.getBar().visible(), carries);
}

bool itemInLaterColumn(const MenuItem& item) {
  const MenuItem* parent = item.parent();
  if (!parent) return false;
  std::vector<SiblingBreak> siblings;
  for (const MenuItem* sib : parent->items()) {
    ItemBreak brk = ItemBreak::mbNone;
    if (sib->menuBreak() == MenuBreak::Break) brk = ItemBreak::mbBreak;
    if (sib->menuBreak() == MenuBreak::BarBreak) brk = ItemBreak::mbBarBreak;
    siblings.push_back({sib->visible(), brk});
  }
  return isInLaterColumn(siblings, parent->indexOf(&item));
}

void measureSideBarMenuItem(ISideBarMenu& menu, MenuItem& item, Canvas& canvas, int& width, int& height) {
  Menu* m = menu.getMenuObject();
  SideBar& bar = menu.getBar();
  SideBarItemMeasure in;
  in.separator = item.isLine();
  in.enabled = item.enabled();
  const std::string hint = item.hint();
  in.hint = hint;
  in.mainMenuTopLevel = isMainMenuTopLevel(menu, item);
  in.menuHasImages = m->images() != nullptr;
  in.itemHasBitmap = !item.bitmap().empty();
  in.style = menu.getEffectiveMenuStyle();
  in.separatorStyle = menu.getSeparators().separatorStyle();
  in.barVisible = itemBarVisible(menu, item);
  in.inLaterColumn = itemInLaterColumn(item);
  in.barWidth = bar.width();
  in.barSpace = bar.space();
  in.itemVisible = item.visible();

  SideBarMeasureHooks hooks;
  if (OnMeasureMenuItemEvent e = menu.getOnMeasureMenuItem())
    hooks.onMeasureMenuItem = [&, e](int& w, int& h, bool barVisible, bool& defaultMeasure) {
      e.call(m, &item, canvas, w, h, barVisible, defaultMeasure);
    };
  if (SideBarDrawModule* module = menu.getDrawModule())
    hooks.drawModule = [&, module](int& w, int& h, bool barVisible, bool& defaultMeasure) {
      module->measureBarMenuItem(&item, canvas, w, h, barVisible, defaultMeasure);
    };
  const Size size = measureSideBarItem(in, {width, height}, menu.getBarState().core, hooks);
  width = size.width;
  height = size.height;
}

// ---- The menus' shared part ----

template <class Host>
SideBarMenuBase<Host>::SideBarMenuBase(Component* owner) : Host(owner) {
  barState_ = std::make_unique<BarState>(this);
  bar_ = std::make_unique<SideBar>(this);
  separators_ = std::make_unique<Separators>(this);
  menuFont_ = std::make_unique<Font>();
  this->setOwnerDraw(true);
}

template <class Host>
SideBarMenuBase<Host>::~SideBarMenuBase() {
  if (drawModule_ && drawModule_->menu() == this) drawModule_->linkMenu(nullptr);
  drawModule_ = nullptr;
  // Freed in the order they were made, before the host menu goes.
  barState_.reset();
  bar_.reset();
  separators_.reset();
  menuFont_.reset();
}

template <class Host>
void SideBarMenuBase<Host>::sideBarMeasureItem(Component* sender, Canvas& canvas, int& width, int& height) {
  if (auto* item = dynamic_cast<MenuItem*>(sender)) measureSideBarMenuItem(*this, *item, canvas, width, height);
}

template <class Host>
void SideBarMenuBase<Host>::sideBarDrawItem(Component* sender, Canvas& canvas, const RECT& rect, UINT state) {
  if (auto* item = dynamic_cast<MenuItem*>(sender)) {
    const RECT copy = rect;  // the item's rectangle may live in what the drawing changes
    drawSideBarMenuItem(*this, *item, canvas, copy, state);
  }
}

template <class Host>
void SideBarMenuBase<Host>::takeOverOne(MenuItem& item, bool keep) {
  const MenuAdvancedDrawEvent draw = drawHandler();
  if (item.onAdvancedDrawItem == draw) return;
  if (!(item.onMeasureItem && keep)) item.onMeasureItem = measureHandler();
  if (!((item.onAdvancedDrawItem || item.onDrawItem) && keep)) item.onAdvancedDrawItem = draw;
}

template <class Host>
void SideBarMenuBase<Host>::takeOverItems(MenuItem* start, bool recurse, bool keep) {
  if (this->loading()) return;
  MenuItem* root = &this->items();
  // One item alone: its sub-items are left as they are.
  if (start && start != root) {
    takeOverOne(*start, keep);
    return;
  }
  takeOverLevel(*root, recurse, keep);
}

template <class Host>
void SideBarMenuBase<Host>::takeOverLevel(MenuItem& parent, bool recurse, bool keep) {
  // Depth first, in index order, over a copy: a handler may change the items.
  const std::vector<MenuItem*> level = parent.items();
  for (MenuItem* item : level) {
    takeOverOne(*item, keep);
    if (recurse && item->count() > 0) takeOverLevel(*item, recurse, keep);
  }
}

template <class Host>
void SideBarMenuBase<Host>::rebuildItems() {
  takeOverItems(nullptr, true, true);
  this->rebuildHandle();
}

template <class Host>
SideBarMenuStyle SideBarMenuBase<Host>::getEffectiveMenuStyle() const {
  return effectiveMenuStyle(menuStyle_, sideBarOsVersion());
}

template <class Host>
void SideBarMenuBase<Host>::setMenuFont(const FontSpec& font) {
  menuFont_->assign(font);
}

template <class Host>
void SideBarMenuBase<Host>::swapDrawModule(SideBarDrawModule* module) {
  if (drawModule_ && drawModule_ != module && drawModule_->menu() == this) drawModule_->linkMenu(nullptr);
  drawModule_ = module;
  if (drawModule_) {
    drawModule_->linkMenu(this);
    this->freeNotification(drawModule_);
  }
}

template <class Host>
void SideBarMenuBase<Host>::setDrawModule(SideBarDrawModule* module) {
  swapDrawModule(module);
  resetBar();
}

template <class Host>
void SideBarMenuBase<Host>::notification(Component* component, Operation operation) {
  if (operation == Operation::Remove && component && component == drawModule_) drawModule_ = nullptr;
  Host::notification(component, operation);
}

template class SideBarMenuBase<PopupMenu>;
template class SideBarMenuBase<MainMenu>;

// ---- Popup ----

const ClassInfo& CustomSideBarPopupMenu::staticClassInfo() {
  static const ClassInfo info{"TCustomSideBarPopupMenu", &PopupMenu::staticClassInfo(), {}};
  return info;
}

CustomSideBarPopupMenu::CustomSideBarPopupMenu(Component* owner) : SideBarMenuBase<PopupMenu>(owner) {}

void CustomSideBarPopupMenu::loaded() {
  PopupMenu::loaded();
  setOwnerDraw(true);
  takeOverItems(nullptr, true, true);
}

void CustomSideBarPopupMenu::menuChanged(MenuItem* source, bool rebuild) {
  MenuItem* root = &items();
  const bool whole = !source || source == root;
  takeOverItems(whole ? nullptr : source, true, true);
  // A changed top-level item changes the bar's height.
  if (source && source->parent() == root) barState().core.invalidate();
  PopupMenu::menuChanged(source, rebuild);
}

void CustomSideBarPopupMenu::popup(int x, int y) {
  barState().markHeightPending();
  PopupMenu::popup(x, y);
}

void CustomSideBarPopupMenu::refreshMenu(bool invalidateBar, bool rebuild) {
  if (invalidateBar) barState().core.invalidate();
  if (invalidateBar || rebuild) rebuildHandle();
}

void CustomSideBarPopupMenu::resetBar() { barState().reset(); }

namespace {
using PopupMenuBase = SideBarMenuBase<PopupMenu>;
}  // namespace

const ClassInfo& SideBarPopupMenu::staticClassInfo() {
  static const ClassInfo info{
      "TSideBarPopupMenu",
      &CustomSideBarPopupMenu::staticClassInfo(),
      {classProp<SideBarPopupMenu, SideBar>("Bar", [](SideBarPopupMenu& m) { return &m.bar(); },
                                            [](SideBarPopupMenu& m, SideBar* b) { if (b) m.setBar(*b); }),
       classProp<SideBarPopupMenu, Separators>(
           "Separators", [](SideBarPopupMenu& m) { return &m.separators(); },
           [](SideBarPopupMenu& m, Separators* s) { if (s) m.setSeparators(*s); }),
       classProp<SideBarPopupMenu, const FontSpec>(
           "MenuFont", [](SideBarPopupMenu& m) { return &m.getMenuFont(); },
           [](SideBarPopupMenu& m, const FontSpec* f) { if (f) m.setMenuFont(*f); }),
       enumProp<SideBarPopupMenu, SideBarMenuStyle>("MenuStyle", {"msAuto", "msStandard", "msWindowsXP"},
                                                    &SideBarPopupMenu::menuStyle, &SideBarPopupMenu::setMenuStyle),
       boolProp<SideBarPopupMenu>("UseSystemFont", &SideBarPopupMenu::useSystemFont,
                                  &SideBarPopupMenu::setUseSystemFont),
       classProp<SideBarPopupMenu, SideBarDrawModule>(
           "DrawModule", [](SideBarPopupMenu& m) { return m.getDrawModule(); },
           [](SideBarPopupMenu& m, SideBarDrawModule* d) { m.setDrawModule(d); }),
       eventProp<PopupMenuBase>("OnBeforeDrawBar", &PopupMenuBase::onBeforeDrawBar),
       eventProp<PopupMenuBase>("OnAdvancedBeforeDrawBar", &PopupMenuBase::onAdvancedBeforeDrawBar),
       eventProp<PopupMenuBase>("OnAfterDrawBar", &PopupMenuBase::onAfterDrawBar),
       eventProp<PopupMenuBase>("OnMeasureMenuItem", &PopupMenuBase::onMeasureMenuItem)}};
  return info;
}

// ---- Main menu ----

const ClassInfo& CustomSideBarMainMenu::staticClassInfo() {
  static const ClassInfo info{"TCustomSideBarMainMenu", &MainMenu::staticClassInfo(), {}};
  return info;
}

CustomSideBarMainMenu::CustomSideBarMainMenu(Component* owner) : SideBarMenuBase<MainMenu>(owner) {}

HWND CustomSideBarMainMenu::hostWindow() const {
  auto* control = dynamic_cast<WinControl*>(owner());
  return control && control->handleAllocated() ? control->handle() : nullptr;
}

void CustomSideBarMainMenu::toggleFirstItem() {
  if (items().count() == 0) return;
  MenuItem* first = items().item(0);
  first->setVisible(false);
  first->setVisible(true);
}

void CustomSideBarMainMenu::loaded() {
  MainMenu::loaded();
  setOwnerDraw(true);
  takeOverItems(nullptr, true, true);
  toggleFirstItem();
  refreshMenu(false, false);
}

void CustomSideBarMainMenu::refreshMenu(bool invalidateBar, bool rebuild) {
  if (invalidateBar) barState().core.invalidate();
  if (invalidateBar || rebuild) {
    rebuildHandle();
  } else if (HWND window = hostWindow()) {
    DrawMenuBar(window);
  }
}

void CustomSideBarMainMenu::resetBar() {
  barState().reset();
  rebuildItems();
}

void CustomSideBarMainMenu::setMenuFont(const FontSpec& font) {
  const bool changed = font != getMenuFont();
  SideBarMenuBase<MainMenu>::setMenuFont(font);
  if (changed) refreshMenu(false, false);
}

void CustomSideBarMainMenu::setMenuStyle(SideBarMenuStyle style) {
  if (style == menuStyle_) return;
  menuStyle_ = style;
  refreshMenu(false, false);
  refreshMenu(true, true);
}

void CustomSideBarMainMenu::setUseSystemFont(bool value) {
  useSystemFont_ = value;
  refreshMenu(false, false);
}

void CustomSideBarMainMenu::setDrawModule(SideBarDrawModule* module) {
  swapDrawModule(module);
  takeOverItems(nullptr, true, true);
  toggleFirstItem();
  refreshMenu(true, true);
}

}  // namespace vrin
