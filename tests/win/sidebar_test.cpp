// The side-bar menus against the real window system: item take-over, measuring through
// WM_MEASUREITEM, item bodies and the bar painted through WM_DRAWITEM into a DIB, and a real
// popup of the tray menu (its picture is kept under build/artifacts).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "menus/sidebar_menus.h"
#include "menus/tray_menu_settings.h"
#include "support/menu_capture.h"
#include "support/win_test_util.h"
#include "ui/imagelist.h"
#include "ui/window_hooks.h"

using namespace vrin;
using vrin::test::pumpUntil;
using vrin::test::captureWindow;
using vrin::test::menuTextWidth;
using vrin::test::runSoon;

namespace {

Pixel sys(int index) { return toPixel(MenuColour(GetSysColor(index) & 0xFFFFFF)); }
constexpr Pixel kMarker = rgb(1, 2, 3);  // what the target held before the menu painted

std::string errorText(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no error)";
}


// A menu like the tray's, built the way the history window defines its components.
struct TrayLike {
  Component owner{nullptr};
  ImageList* images = nullptr;
  SideBarPopupMenu* menu = nullptr;
  MenuItem *history, *clear, *switcher, *sep, *beep, *options, *option1, *visit, *exit;

  explicit TrayLike(bool load = true) {
    images = new ImageList(&owner, 16, 16);
    images->addStrip("IMAGELIST", RGB(255, 0, 255));
    menu = new SideBarPopupMenu(&owner);
    menu->beginLoading();
    applyTrayMenuSettings(*menu, images, "vrin.example.org");
    history = add(menu->items(), "Show &History", 4);
    clear = add(menu->items(), "&Clear traces now !", 5);
    switcher = add(menu->items(), "&Desactivate Vrin ", 0);
    sep = add(menu->items(), "-", -1);
    beep = add(menu->items(), "Beep on killed popup", -1);
    beep->setChecked(true);
    options = add(menu->items(), "Clear options", 6);
    option1 = add(*options, "Delete cookies", -1);
    visit = add(menu->items(), "&Visit vrin.example.org", 2);
    exit = add(menu->items(), "E&xit", 3);
    if (load) menu->endLoading();
  }
  MenuItem* add(MenuItem& parent, const std::string& caption, int image) {
    auto* item = new MenuItem(&owner);
    item->setCaption(caption);
    item->setImageIndex(image);
    parent.add(item);
    return item;
  }
  std::vector<MenuItem*> top() const { return menu->items().items(); }
};

Size measure(MenuItem* item) { return vrin::test::measureMenuItem(item); }

void draw(MenuItem* item, Bitmap& target, const RECT& rect, UINT state = 0) {
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = item->command();
  dis.itemAction = ODA_DRAWENTIRE;
  dis.itemState = state;
  dis.hDC = target.dc();
  dis.rcItem = rect;
  dis.itemData = reinterpret_cast<ULONG_PTR>(item);
  SendMessageW(PopupMenu::ownerWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  GdiFlush();
}

// Measures the visible top-level items, then draws them stacked as the window system would.
struct Painted {
  Image image;
  std::vector<RECT> rects;
};
Painted paintMenu(TrayLike& t, int width = 220, const std::function<UINT(MenuItem*)>& stateOf = nullptr) {
  t.menu->barState().core.invalidate();
  std::vector<int> heights;
  for (MenuItem* item : t.top()) heights.push_back(measure(item).height);
  int total = 0;
  for (int h : heights) total += h;
  Bitmap target(width, total);
  target.fromImage(Image(width, total, kMarker));
  Painted out;
  int y = 0;
  for (std::size_t i = 0; i < heights.size(); ++i) {
    RECT r{0, y, width, y + heights[i]};
    draw(t.top()[i], target, r, stateOf ? stateOf(t.top()[i]) : 0);
    out.rects.push_back(r);
    y += heights[i];
  }
  out.image = target.toImage();
  return out;
}

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  void add(int x, int y) {
    left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
  }
  bool empty() const { return right < 0; }
};
Box boxOf(const Image& img, const RECT& area, const std::function<bool(Pixel)>& pick) {
  Box b;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (pick(img.at(x, y))) b.add(x, y);
  return b;
}

// Sets one system colour for a test (Wine's menus are white like the highlight) and puts it back.
struct SysColourScope {
  int index;
  COLORREF saved;
  SysColourScope(int i, COLORREF c) : index(i), saved(GetSysColor(i)) { SetSysColors(1, &index, &c); }
  ~SysColourScope() { SetSysColors(1, &index, &saved); }
};

class BodyModule : public SideBarDrawModule {
 public:
  using SideBarDrawModule::SideBarDrawModule;
  int measured = 0, drawn = 0;
  void drawBarMenuItem(MenuItem*, Canvas& canvas, const RECT& rect, UINT, bool, bool& defaultDraw) override {
    ++drawn;
    canvas.brushColor = 0x00FF00;  // green
    canvas.fillRect(rect);
    defaultDraw = false;
  }
  void measureBarMenuItem(MenuItem*, Canvas&, int& width, int&, bool, bool&) override {
    ++measured;
    width += 100;
  }
};

struct BarProbe {
  int before = 0, advanced = 0, after = 0;
  bool clearDefault = false;
  BarParts keep = 0xFF;
  void onBefore(Component*, Canvas& c, const RECT& r, bool& defaultDraw) {
    ++before;
    c.brushColor = 0xFF00FF;  // magenta
    c.fillRect(r);
    if (clearDefault) defaultDraw = false;
  }
  void onAdvanced(Component*, Canvas&, const RECT&, BarParts& parts) {
    ++advanced;
    parts &= keep;
  }
  void onAfter(Component*, Canvas&, const RECT&) { ++after; }
};

struct Handlers {
  int drawn = 0, measured = 0;
  void draw(Component*, Canvas&, const RECT&, bool) { ++drawn; }
  void measure(Component*, Canvas&, int&, int&) { ++measured; }
};

}  // namespace

TEST(SideBarSettings, DefaultsErrorsAndAssignRules) {
  Component owner(nullptr);
  auto* menu = new SideBarPopupMenu(&owner);
  EXPECT_TRUE(menu->ownerDraw());
  EXPECT_EQ(menu->bar().width(), 32);
  EXPECT_EQ(menu->bar().space(), 1);
  EXPECT_EQ(menu->bar().gradientStart(), MenuColour(0xD8BDAF));
  EXPECT_EQ(menu->bar().gradientEnd(), cl::Black);
  EXPECT_EQ(menu->bar().border(), cl::None);
  EXPECT_EQ(menu->bar().barBackPicture().vertAlignment(), VertAlignment::vaTop);
  EXPECT_EQ(menu->bar().barPicture().vertAlignment(), VertAlignment::vaBottom);
  EXPECT_EQ(menu->bar().barCaption().font().name, "Tahoma");
  EXPECT_EQ(menu->separators().gradientStart(), cl::Gray);
  EXPECT_EQ(menu->separators().gradientStyle(), GradientStyle::gsHorizontal);
  EXPECT_EQ(menu->getAlphaBlendValue(), 255);
  EXPECT_TRUE(menu->barState().heightPending());
  EXPECT_EQ(sideBarMenuOf(menu), static_cast<ISideBarMenu*>(menu));
  EXPECT_EQ(sideBarMenuOf(new PopupMenu(&owner)), nullptr);

  EXPECT_EQ(errorText([] { GradientBar bar(nullptr); }), "Tried to create TGradientBar with no owner.");
  EXPECT_EQ(errorText([] { SideBar bar(nullptr); }), "Tried to create TSideBar with no owner.");
  EXPECT_EQ(errorText([] { Separators s(nullptr); }), "Tried to create TSeparators with no owner.");
  EXPECT_EQ(errorText([] { BarBackPicture p(nullptr); }), "Tried to create TBarBackPicture with no owner.");
  EXPECT_EQ(errorText([] { BarState s(nullptr); }), "Tried to create TBarState with no owner.");
  EXPECT_EQ(errorText([&] { menu->bar().gradientColour(2); }), "Invalid property index 2.");
  EXPECT_EQ(errorText([&] { menu->bar().setGradientColour(-1, cl::Blue); }), "Invalid property index -1.");

  // Separators: the fade settings stay the menu's own.
  auto* other = new SideBarPopupMenu(&owner);
  other->separators().setFade(true);
  other->separators().setFadeWidth(5);
  other->separators().setSeparatorStyle(SeparatorStyle::ssCaption);
  other->separators().setGradientStart(cl::Blue);
  menu->setSeparators(other->separators());
  EXPECT_FALSE(menu->separators().fade());
  EXPECT_EQ(menu->separators().fadeWidth(), 32);
  EXPECT_EQ(menu->separators().separatorStyle(), SeparatorStyle::ssCaption);
  EXPECT_EQ(menu->separators().gradientStart(), cl::Blue);

  // SideBar: width, parts and gradient travel; a picture is copied, the part's Visible is not.
  other->bar().setWidth(40);
  other->bar().setBorder(cl::Black);
  other->bar().barPicture().setVisible(false);
  other->bar().barPicture().picture().fromImage(Image(3, 2, rgb(9, 8, 7)));
  other->bar().barCaption().setCaption("Hello");
  other->bar().barCaption().setVisible(false);
  menu->setBar(other->bar());
  EXPECT_EQ(menu->bar().width(), 40);
  EXPECT_EQ(menu->bar().border(), cl::Black);
  EXPECT_TRUE(menu->bar().barPicture().visible());
  ASSERT_TRUE(menu->bar().barPicture().hasPicture());
  EXPECT_EQ(menu->bar().barPicture().picture().toImage(), Image(3, 2, rgb(9, 8, 7)));
  EXPECT_NE(&menu->bar().barPicture().picture(), &other->bar().barPicture().picture());
  EXPECT_EQ(menu->bar().barCaption().caption(), "Hello");
  EXPECT_TRUE(menu->bar().barCaption().visible());
  menu->bar().barPicture().setPicture(nullptr);
  EXPECT_FALSE(menu->bar().barPicture().hasPicture());

  // Hiding the bar drops the cached bitmap.
  menu->barState().barBitmap().setSize(4, 4);
  menu->barState().core.barValid = true;
  menu->bar().setVisible(false);
  EXPECT_FALSE(menu->barState().hasBarBitmap());
  EXPECT_FALSE(menu->barState().barValid());
  EXPECT_TRUE(menu->barState().heightPending());
}

TEST(SideBarSettings, TrayMenuSettings) {
  TrayLike t;
  SideBarPopupMenu& m = *t.menu;
  EXPECT_EQ(m.biDiMode, BiDiMode::RightToLeft);
  EXPECT_FALSE(m.parentBiDiMode);
  EXPECT_EQ(m.images(), t.images);
  EXPECT_EQ(m.bar().border(), cl::Black);
  EXPECT_EQ(m.bar().gradientStart(), cl::Blue);
  EXPECT_EQ(m.bar().gradientEnd(), cl::White);
  EXPECT_EQ(m.bar().barBackPicture().horzAlignment(), HorzAlignment::haCenter);
  const BarCaption& c = m.bar().barCaption();
  EXPECT_EQ(c.caption(), "vrin.example.org");
  EXPECT_EQ(c.font(), (FontSpec{"Tahoma", -19, clWhite, fsBold | fsItalic, DEFAULT_CHARSET, 0}));
  EXPECT_EQ(c.depth(), 2);
  EXPECT_EQ(c.alignment(), VertAlignment::vaMiddle);
  EXPECT_EQ(c.direction(), Direction::dUpToDown);
  EXPECT_EQ(m.getMenuFont().name, "MS Sans Serif");
  EXPECT_EQ(m.separators().font().height, -11);
  EXPECT_EQ(m.getMenuStyle(), SideBarMenuStyle::msAuto);
  // Published properties reach the menu by name.
  m.setProperty("MenuStyle", PropValue::ofInt(1));
  EXPECT_EQ(m.getMenuStyle(), SideBarMenuStyle::msStandard);
  EXPECT_EQ(m.getProperty("UseSystemFont").integer, 1);
}

TEST(SideBarSettings, OwnedSettingsReferencesAndEventsAreReachedByName) {
  TrayLike t;
  SideBarPopupMenu* menu = t.menu;
  // Reading an owned object gives the menu's own; setting one copies into it.
  EXPECT_EQ(objectValue<SideBar*>(menu->getProperty("Bar"), "Bar"), &menu->bar());
  TrayLike other(false);
  other.menu->bar().setWidth(50);
  other.menu->separators().setAlignment(Alignment::taLeftJustify);
  menu->setProperty("Bar", PropValue::ofObject(&other.menu->bar()));
  menu->setProperty("Separators", PropValue::ofObject(&other.menu->separators()));
  EXPECT_EQ(menu->bar().width(), 50);
  EXPECT_EQ(menu->separators().alignment(), Alignment::taLeftJustify);
  EXPECT_EQ(objectValue<SideBar*>(menu->getProperty("Bar"), "Bar"), &menu->bar());
  FontSpec font = menu->getMenuFont();
  font.height = -20;
  menu->setProperty("MenuFont", PropValue::ofObject(static_cast<const FontSpec*>(&font)));
  EXPECT_EQ(menu->getMenuFont().height, -20);

  auto* module = new BodyModule(&t.owner);
  menu->setProperty("DrawModule", PropValue::ofObject(static_cast<SideBarDrawModule*>(module)));
  EXPECT_EQ(menu->getDrawModule(), module);
  EXPECT_THROW(menu->setProperty("DrawModule", PropValue::ofObject(module)), Error);  // not the declared type

  auto after = OnAfterDrawBarEvent::fn([](Component*, Canvas&, const RECT&) {});
  menu->setProperty("OnAfterDrawBar", PropValue::ofObject(after));
  EXPECT_TRUE(menu->getOnAfterDrawBar() == after);
  for (const char* name : {"OnBeforeDrawBar", "OnAdvancedBeforeDrawBar", "OnMeasureMenuItem"})
    EXPECT_EQ(menu->classInfo().findProperty(name)->kind, TypeKind::Method) << name;
  menu->setProperty("OnAfterDrawBar", PropValue{});
  EXPECT_FALSE(menu->getOnAfterDrawBar());
}

TEST(SideBarTakeOver, KeepsForeignHandlersAndNeverRetakesAnItem) {
  Handlers h;
  TrayLike t(false);
  MenuItem* own = t.clear;
  own->onDrawItem = MenuDrawEvent::of<&Handlers::draw>(&h);
  t.exit->onMeasureItem = MenuMeasureEvent::of<&Handlers::measure>(&h);
  // Nothing happens while the menu loads.
  t.menu->menuChanged(nullptr, false);
  EXPECT_FALSE(t.history->onMeasureItem);
  t.menu->endLoading();

  const auto sideMeasure = t.menu->measureHandler();
  const auto sideDraw = t.menu->drawHandler();
  EXPECT_EQ(t.history->onMeasureItem, sideMeasure);
  EXPECT_EQ(t.history->onAdvancedDrawItem, sideDraw);
  EXPECT_EQ(t.option1->onAdvancedDrawItem, sideDraw);  // submenus too
  EXPECT_EQ(own->onMeasureItem, sideMeasure);          // measure handler given...
  EXPECT_FALSE(own->onAdvancedDrawItem);               // ...its own drawing kept
  EXPECT_EQ(t.exit->onMeasureItem, MenuMeasureEvent::of<&Handlers::measure>(&h));
  EXPECT_EQ(t.exit->onAdvancedDrawItem, sideDraw);

  // Another component replaces the measure handler: a later change does not put it back.
  t.history->onMeasureItem = nullptr;
  t.history->setCaption("Show history");
  t.menu->menuChanged(nullptr, true);
  EXPECT_FALSE(t.history->onMeasureItem);

  // Items added later are taken over when the menu hears of them.
  MenuItem* late = t.add(t.menu->items(), "Late", 1);
  EXPECT_EQ(late->onAdvancedDrawItem, sideDraw);
  // A change of a top-level item makes the bar invalid.
  t.menu->barState().core = BarStateCore{40, true, false};
  late->setChecked(true);
  EXPECT_TRUE(t.menu->barState().heightPending());
  EXPECT_FALSE(t.menu->barState().barValid());
}

TEST(SideBarMeasure, TopLevelItemsCarryTheBarAndCollectItsHeight) {
  TrayLike t;
  t.menu->setMenuStyle(SideBarMenuStyle::msStandard);
  t.menu->barState().core.invalidate();
  const Size history = measure(t.history);
  EXPECT_EQ(history.height, 19);
  EXPECT_EQ(history.width, 16 + 15 + 7 + menuTextWidth("Show &History") + 33);
  // No image: the image list still applies, so the same column.
  EXPECT_EQ(measure(t.beep).width, 16 + 15 + 7 + menuTextWidth("Beep on killed popup") + 33);
  EXPECT_EQ(measure(t.sep).height, 12);
  // A submenu item gets no bar.
  EXPECT_EQ(measure(t.option1).width, 16 + 15 + 7 + menuTextWidth("Delete cookies"));
  EXPECT_EQ(t.menu->barState().barHeight(), 19 + 19 + 12);

  t.menu->setMenuStyle(SideBarMenuStyle::msWindowsXP);
  EXPECT_EQ(measure(t.history).height, 20);
  EXPECT_EQ(measure(t.history).width, history.width + 2);
  EXPECT_EQ(measure(t.sep).height, 9);
  t.sep->setHint("Tools");
  EXPECT_EQ(measure(t.sep).height, 14);
  t.sep->setEnabled(false);
  EXPECT_EQ(measure(t.sep).height, 9);
  t.menu->setMenuStyle(SideBarMenuStyle::msStandard);

  // A column break: that item and the ones after it lose the bar.
  t.beep->setBreak(MenuBreak::Break);
  EXPECT_EQ(measure(t.clear).width, 16 + 15 + 7 + menuTextWidth("&Clear traces now !") + 33);
  EXPECT_EQ(measure(t.beep).width, 16 + 15 + 7 + menuTextWidth("Beep on killed popup"));
  EXPECT_EQ(measure(t.exit).width, 16 + 15 + 7 + menuTextWidth("E&xit"));
  t.beep->setBreak(MenuBreak::None);

  // No bar: no width, no height collected.
  t.menu->bar().setVisible(false);
  EXPECT_EQ(measure(t.history).width, history.width - 33);
  EXPECT_EQ(t.menu->barState().barHeight(), 0);
}

TEST(SideBarMeasure, MeasureEventAndDrawModule) {
  TrayLike t;
  t.menu->setMenuStyle(SideBarMenuStyle::msStandard);
  const int plain = measure(t.history).width;
  auto* module = new BodyModule(&t.owner);
  module->setMenu(t.menu);
  EXPECT_EQ(t.menu->getDrawModule(), module);
  EXPECT_EQ(measure(t.history).width, plain + 100);
  EXPECT_EQ(module->measured, 1);

  // A measure event that clears DefaultMeasure keeps the module out, not the bar.
  int calls = 0;
  t.menu->onMeasureMenuItem = OnMeasureMenuItemEvent::fn(
      [&](Component* sender, MenuItem* item, Canvas&, int& w, int& h, bool barVisible, bool& defaultMeasure) {
        ++calls;
        EXPECT_EQ(sender, t.menu);
        EXPECT_EQ(item, t.history);
        EXPECT_TRUE(barVisible);
        w = 10;
        h = 30;
        defaultMeasure = false;
      });
  EXPECT_EQ(measure(t.history).width, 10 + 33);
  EXPECT_EQ(measure(t.history).height, 30);
  EXPECT_EQ(module->measured, 1);
  EXPECT_EQ(calls, 2);

  // The module goes away: the menu forgets it.
  delete module;
  EXPECT_EQ(t.menu->getDrawModule(), nullptr);
}

TEST(SideBarDraw, BarColumnGapAndItemBodies) {
  TrayLike t;
  t.menu->setMenuStyle(SideBarMenuStyle::msStandard);
  t.clear->setEnabled(false);
  SysColourScope menuColour(COLOR_MENU, RGB(212, 208, 200));
  ASSERT_NE(sys(COLOR_MENU), sys(COLOR_BTNHIGHLIGHT));
  const Painted p = paintMenu(t);
  const Image& img = p.image;
  const int h = img.height;
  ASSERT_GT(h, 60);

  // The bar: black frame, blue at the top fading to (almost) white at the bottom.
  for (int y = 0; y < h; y += 7) {
    EXPECT_EQ(img.at(0, y), rgb(0, 0, 0)) << y;
    EXPECT_EQ(img.at(31, y), rgb(0, 0, 0)) << y;
  }
  EXPECT_EQ(img.at(3, 1), rgb(255 / h, 255 / h, 255));
  EXPECT_EQ(img.at(3, h / 2), rgb(255 * (h / 2) / h, 255 * (h / 2) / h, 255));
  EXPECT_GT(red(img.at(3, h - 2)), 240u);
  // The one-pixel gap keeps what was there.
  for (int y = 0; y < h; ++y) EXPECT_EQ(img.at(32, y), kMarker) << y;
  // The body starts right after it.
  EXPECT_NE(img.at(33, p.rects[0].top + 1), kMarker);

  // The caption: white (the gradient never reaches its end colour), centred along the bar.
  const Box caption = boxOf(img, RECT{1, 1, 31, h - 1}, [](Pixel px) { return px == rgb(255, 255, 255); });
  ASSERT_FALSE(caption.empty());
  EXPECT_LE(std::abs((caption.top + caption.bottom) / 2 - h / 2), 3);
  EXPECT_LE(std::abs((caption.left + caption.right) / 2 - 16), 3);

  // The checked item without an image: a sunken box with the checkerboard and the check mark.
  const RECT beep = p.rects[4];
  const int gl = 34, gt = beep.top + 1;  // glyph box: right of the gap, one pixel in
  EXPECT_EQ(img.at(gl, gt + 8), sys(COLOR_BTNSHADOW));
  EXPECT_EQ(img.at(gl + 17, gt + 8), sys(COLOR_BTNHIGHLIGHT));
  const Pixel a = img.at(gl + 2, gt + 2), b = img.at(gl + 3, gt + 2), c = img.at(gl + 2, gt + 3);
  EXPECT_TRUE((a == sys(COLOR_BTNFACE) && b == sys(COLOR_BTNHIGHLIGHT)) ||
              (a == sys(COLOR_BTNHIGHLIGHT) && b == sys(COLOR_BTNFACE)));
  EXPECT_EQ(c, b);
  EXPECT_FALSE(boxOf(img, RECT{gl + 4, gt + 3, gl + 14, gt + 14}, [](Pixel px) { return px == sys(COLOR_BTNTEXT); })
                   .empty());

  // The disabled caption is embossed: highlight copy one pixel right and down of the shadow.
  const RECT clear = p.rects[1];
  const RECT text{55, int(clear.top), int(clear.right), int(clear.bottom)};
  const Box shadow = boxOf(img, text, [](Pixel px) { return px == sys(COLOR_BTNSHADOW); });
  const Box light = boxOf(img, text, [](Pixel px) { return px == sys(COLOR_BTNHIGHLIGHT); });
  ASSERT_FALSE(shadow.empty());
  ASSERT_FALSE(light.empty());
  EXPECT_EQ(light.right, shadow.right + 1);
  EXPECT_EQ(light.bottom, shadow.bottom + 1);
  // The enabled caption beside it is in the menu text colour.
  const RECT exit = p.rects.back();
  EXPECT_FALSE(boxOf(img, RECT{55, exit.top, exit.right, exit.bottom}, [](Pixel px) {
                 return px == sys(COLOR_MENUTEXT);
               }).empty());
}

TEST(SideBarDraw, SelectionSeparatorAndLaterColumn) {
  TrayLike t;
  t.menu->setMenuStyle(SideBarMenuStyle::msStandard);
  const Painted p = paintMenu(t, 220, [&](MenuItem* i) { return i == t.history ? UINT(ODS_SELECTED) : 0u; });
  const RECT sel = p.rects[0];
  // The selected body right of its raised glyph box is highlighted.
  EXPECT_EQ(p.image.at(200, sel.top + 2), sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(p.image.at(53, sel.top + 2), sys(COLOR_HIGHLIGHT));
  // The separator: an etched line 5 pixels below its top, the bar beside it.
  const RECT sep = p.rects[3];
  EXPECT_EQ(p.image.at(100, sep.top + 5), sys(COLOR_BTNSHADOW));
  EXPECT_EQ(p.image.at(100, sep.top + 6), sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(p.image.at(0, sep.top + 5), rgb(0, 0, 0));

  // A checked radio item without an image shows the round dot, centred in the sunken box.
  t.beep->setRadioItem(true);
  Bitmap radio(150, 19);
  draw(t.beep, radio, RECT{0, 0, 150, 19});
  const Image dot = radio.toImage();
  const int gx = 36, gy = 3;  // the glyph's corner: box at (34, 1), one in, plus one (standard style)
  EXPECT_EQ(dot.at(gx + 7, gy + 7), rgb(0, 0, 0));
  EXPECT_EQ(dot.at(gx + 5, gy + 6), rgb(0, 0, 0));
  EXPECT_NE(dot.at(gx + 5, gy + 5), rgb(0, 0, 0));  // the dot's corners are left out
  EXPECT_NE(dot.at(gx + 11, gy + 7), rgb(0, 0, 0));
  t.beep->setRadioItem(false);

  // After a column break the item has no bar and its body takes the whole rectangle.
  t.beep->setBreak(MenuBreak::Break);
  Bitmap target(150, 19);
  target.fromImage(Image(150, 19, kMarker));
  draw(t.exit, target, RECT{0, 0, 150, 19});
  const Image col = target.toImage();
  EXPECT_EQ(col.at(0, 5), sys(COLOR_MENU));
  EXPECT_EQ(col.at(140, 5), sys(COLOR_MENU));
}

TEST(SideBarBar, EventsCachingAndLeftOutParts) {
  TrayLike t;
  BarProbe probe;
  t.menu->onBeforeDrawBar = OnBeforeDrawBarEvent::of<&BarProbe::onBefore>(&probe);
  t.menu->onAdvancedBeforeDrawBar = OnAdvancedBeforeDrawBarEvent::of<&BarProbe::onAdvanced>(&probe);
  t.menu->onAfterDrawBar = OnAfterDrawBarEvent::of<&BarProbe::onAfter>(&probe);

  Painted p = paintMenu(t);
  EXPECT_EQ(probe.before, 1);  // once per rendering, not per item
  EXPECT_EQ(probe.advanced, 1);
  EXPECT_EQ(probe.after, 1);
  EXPECT_TRUE(t.menu->barState().barValid());
  EXPECT_EQ(t.menu->barState().barBitmap().height(), p.image.height);

  // Valid and the same height: the next popup only copies rows.
  t.menu->barState().markHeightPending();
  for (MenuItem* item : t.top()) measure(item);
  Bitmap target(220, p.image.height);
  draw(t.history, target, p.rects[0]);
  EXPECT_EQ(probe.before, 1);
  EXPECT_EQ(target.toImage().at(0, 3), rgb(0, 0, 0));

  // Leaving out the gradient and the background part: the handler's paint shows, no frame.
  probe.keep = bpCaption | bpPicture;
  p = paintMenu(t);
  EXPECT_EQ(probe.before, 2);
  EXPECT_EQ(p.image.at(0, 10), rgb(255, 0, 255));
  EXPECT_EQ(p.image.at(1, 3), rgb(255, 0, 255));

  // Clearing DefaultDraw: no built-in part at all, the after event still fires.
  probe.clearDefault = true;
  p = paintMenu(t);
  EXPECT_EQ(probe.advanced, 2);
  EXPECT_EQ(probe.after, 3);
  EXPECT_EQ(boxOf(p.image, RECT{0, 0, 32, p.image.height}, [](Pixel px) { return px != rgb(255, 0, 255); }).empty(),
            true);

  // No background part, no frame.
  t.menu->onBeforeDrawBar = nullptr;
  t.menu->onAdvancedBeforeDrawBar = nullptr;
  t.menu->bar().barBackPicture().setVisible(false);
  p = paintMenu(t);
  EXPECT_EQ(p.image.at(0, 1), p.image.at(5, 1));
  EXPECT_EQ(p.image.at(5, 1), rgb(255 / p.image.height, 255 / p.image.height, 255));
}

TEST(SideBarBar, CaptionDirectionsCoverTheSameRows) {
  TrayLike t;
  t.menu->bar().setGradientStart(cl::Black);
  t.menu->bar().setGradientEnd(cl::Black);
  t.menu->bar().setBorder(cl::None);
  t.menu->bar().barCaption().setCaption("Vrin");
  auto captionBox = [&](Direction d) {
    t.menu->bar().barCaption().setDirection(d);
    t.menu->resetBar();
    const Painted p = paintMenu(t);
    return boxOf(p.image, RECT{0, 0, 32, p.image.height}, [](Pixel px) { return px != rgb(0, 0, 0); });
  };
  const Box down = captionBox(Direction::dUpToDown);
  const Box up = captionBox(Direction::dDownToUp);
  ASSERT_FALSE(down.empty());
  ASSERT_FALSE(up.empty());
  EXPECT_LE(std::abs(down.top - up.top), 2);
  EXPECT_LE(std::abs(down.bottom - up.bottom), 2);
  EXPECT_LE(std::abs(down.left - up.left - 1), 2);
  // A long caption is cut at the bar's ends, never painted outside it.
  t.menu->bar().barCaption().setCaption(std::string(80, 'W'));
  t.menu->resetBar();
  const Painted p = paintMenu(t);
  for (int y = 0; y < p.image.height; ++y) EXPECT_EQ(p.image.at(32, y), kMarker);
}

TEST(SideBarDraw, ModuleTakesTheBodyTheBarStays) {
  TrayLike t;
  auto* module = new BodyModule(&t.owner);
  t.menu->setDrawModule(module);
  EXPECT_EQ(module->menu(), t.menu);
  const Painted p = paintMenu(t);
  EXPECT_EQ(module->drawn, int(t.top().size()));
  EXPECT_EQ(p.image.at(100, p.rects[0].top + 5), rgb(0, 255, 0));
  EXPECT_EQ(p.image.at(33, p.rects[0].top + 5), rgb(0, 255, 0));
  EXPECT_EQ(p.image.at(32, p.rects[0].top + 5), kMarker);
  EXPECT_EQ(p.image.at(0, p.rects[0].top + 5), rgb(0, 0, 0));
  // The item's own advanced handler is back after each drawing.
  EXPECT_EQ(t.history->onAdvancedDrawItem, t.menu->drawHandler());
}

TEST(SideBarMainMenu, FirstDropDownCarriesTheBarAndLoadingAloneTakesOver) {
  Component owner(nullptr);
  auto* images = new ImageList(&owner, 16, 16);
  images->addStrip("IMAGELIST", RGB(255, 0, 255));
  auto* menu = new CustomSideBarMainMenu(&owner);
  menu->beginLoading();
  menu->setImages(images);
  menu->setMenuStyle(SideBarMenuStyle::msStandard);
  auto add = [&](MenuItem& parent, const std::string& caption) {
    auto* item = new MenuItem(&owner);
    item->setCaption(caption);
    parent.add(item);
    return item;
  };
  MenuItem* file = add(menu->items(), "&File");
  MenuItem* open = add(*file, "&Open");
  MenuItem* edit = add(menu->items(), "&Edit");
  MenuItem* copy = add(*edit, "&Copy");
  menu->endLoading();
  EXPECT_TRUE(menu->ownerDraw());
  EXPECT_EQ(copy->onAdvancedDrawItem, menu->drawHandler());
  EXPECT_EQ(file->onMeasureItem, menu->measureHandler());
  EXPECT_TRUE(file->visible());  // hidden and shown again while loading completed

  const int openWidth = 16 + 15 + 7 + menuTextWidth("&Open");
  EXPECT_EQ(measure(open).width, openWidth + 33);
  EXPECT_EQ(measure(copy).width, 16 + 15 + 7 + menuTextWidth("&Copy"));
  // A top-level item keeps the menu-bar size: no glyph column, no bar.
  EXPECT_EQ(measure(file), (Size{GetSystemMetrics(SM_CXMENUSIZE) + 7 + menuTextWidth("&File"),
                                     GetSystemMetrics(SM_CYMENUSIZE)}));
  file->setVisible(false);
  EXPECT_EQ(measure(copy).width, 16 + 15 + 7 + menuTextWidth("&Copy") + 33);

  // Unlike the popup, a main menu takes over only when loading completes.
  MenuItem* late = add(*edit, "&Paste");
  EXPECT_FALSE(late->onAdvancedDrawItem);
  menu->rebuildItems();
  EXPECT_EQ(late->onAdvancedDrawItem, menu->drawHandler());
}

namespace {

// Pops the menu up for real; `look` runs while it is open, then the menu is closed.
void popUp(SideBarPopupMenu& menu, const std::function<void(HWND)>& look) {
  SetForegroundWindow(PopupMenu::ownerWindow());
  EXPECT_TRUE(vrin::test::lookWhileMenuOpen([&] { menu.popup(100, 100); }, look));
}

}  // namespace

TEST(SideBarPopup, RealPopupTakesTheBarFromTheMenuWindow) {
  TrayLike t;
  Image shot;
  RECT column{};  // the items carrying the bar, in window coordinates
  LONG_PTR exStyle = 0;
  popUp(*t.menu, [&](HWND w) {
    HMENU shown = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
    RECT first{}, last{}, wr{};
    GetMenuItemRect(nullptr, shown, 0, &first);
    GetMenuItemRect(nullptr, shown, UINT(GetMenuItemCount(shown) - 1), &last);
    GetWindowRect(w, &wr);
    column = RECT{first.left - wr.left, first.top - wr.top, first.right - wr.left, last.bottom - wr.top};
    exStyle = GetWindowLongPtrW(w, GWL_EXSTYLE);
    shot = captureWindow(w);
  });
  ASSERT_FALSE(shot.empty());
  // The bar spans the item column, whatever margin the window system keeps around it.
  const int height = column.bottom - column.top;
  ASSERT_GT(height, 100);
  EXPECT_EQ(t.menu->barState().barHeight(), height);
  EXPECT_TRUE(t.menu->barState().barValid());
  EXPECT_FALSE(exStyle & WS_EX_LAYERED);  // fully opaque

  // Keep the picture for people to look at.
  const auto bytes = encodeBmp24(shot);
  std::ofstream("Z:" VRIN_SOURCE_DIR "/build/artifacts/sidebar-menu.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

  // On the screen: framed in black, blue at the top, light at the bottom, then the gap.
  const int x = column.left, top = column.top;
  for (int y = top; y < top + height; y += 5) {
    EXPECT_EQ(shot.at(x, y), rgb(0, 0, 0)) << y;
    EXPECT_EQ(shot.at(x + 31, y), rgb(0, 0, 0)) << y;
  }
  // (the caption, written last, may run over the frame's middle columns)
  EXPECT_EQ(shot.at(x + 1, top), rgb(0, 0, 0));
  EXPECT_EQ(shot.at(x + 1, top + height - 1), rgb(0, 0, 0));
  EXPECT_EQ(shot.at(x + 3, top + 1), rgb(255 / height, 255 / height, 255));
  EXPECT_GT(red(shot.at(x + 3, top + height - 3)), 235u);
  EXPECT_NE(shot.at(x + 32, top + height / 2), rgb(0, 0, 0));
}

TEST(SideBarPopup, TranslucencyAndFlatFrame) {
  TrayLike t;
  t.menu->setAlphaBlendValue(200);
  t.menu->setFlatBorder(true);
  LONG_PTR exStyle = 0, userData = 0;
  HANDLE regionMark = nullptr;
  HWND window = nullptr;
  int handlersWhileOpen = 0;
  popUp(*t.menu, [&](HWND w) {
    window = w;
    exStyle = GetWindowLongPtrW(w, GWL_EXSTYLE);
    userData = GetWindowLongPtrW(w, GWLP_USERDATA);
    regionMark = GetPropA(w, kFlatFrameRegionProp);
    handlersWhileOpen = WndProcHook::instance().handlerCount(w);
  });
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  // The region's mark is a property of ours; the system's user data is left alone, and the
  // mark's remover goes with the window.
  EXPECT_NE(regionMark, nullptr);
  EXPECT_FALSE(userData & 1);
  EXPECT_EQ(handlersWhileOpen, 1);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(WndProcHook::instance().handlerCount(window), 0);
}
