// The frame arithmetic of skinned windows with the program's own skin: border sizes, the
// non-client client rectangle, the caption's place, the title buttons' visibility, layout,
// hit testing and actions, the region's parts.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "skin/pure/caption_layout.h"
#include "skin/pure/form_metrics.h"
#include "skin/pure/skin_load.h"
#include "skin/pure/title_buttons.h"

namespace vrin {
namespace {

const SkinSettings& ourSkin() {
  static const SkinSettings settings = [] {
    std::ifstream in(std::string(VRIN_SOURCE_DIR) + "/resources/skin/vrin.skn", std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SkinLoadResult r = loadSkin(bytes);
    EXPECT_EQ(r.status, SkinLoadStatus::Loaded) << r.error;
    return r.settings;
  }();
  return settings;
}

constexpr std::uint32_t kOverlapped = 0x00CF0000u;  // caption, system menu, thick frame, both boxes

TEST(FormMetrics, BordersAndClientAreaWithOurSkin) {
  const BorderSizes b = borderSizes(ourSkin(), isBorderless(kOverlapped, 0));
  EXPECT_EQ(b, (BorderSizes{3, 23, 3, 3}));
  // 300 x 200 client -> 306 x 226 frame, and the history window's 495 x 272 -> 501 x 298.
  EXPECT_EQ(framedSize(300, 200, b, 0), (Rect{0, 0, 306, 226}));
  EXPECT_EQ(framedSize(495, 272, b, 0), (Rect{0, 0, 501, 298}));
  EXPECT_EQ(framedSize(300, 200, b, 19), (Rect{0, 0, 306, 245}));
  // WM_NCCALCSIZE for a window at (100, 50) of 306 x 226.
  EXPECT_EQ(nonClientClientRect({100, 50, 406, 276}, b, 0), (Rect{103, 73, 403, 273}));
  EXPECT_EQ(nonClientClientRect({100, 50, 406, 276}, b, 19), (Rect{103, 92, 403, 273}));
  // A window smaller than its borders gets an empty client area, never an inverted one.
  EXPECT_EQ(nonClientClientRect({10, 10, 10, 10}, b, 0), (Rect{13, 33, 13, 33}));
  EXPECT_EQ(framedSize(INT_MAX, INT_MAX, b, 0), (Rect{0, 0, INT_MAX, INT_MAX}));
  int x = 5, y = 7;
  clientToWindow(x, y, b, 0, false);
  EXPECT_EQ(x, 8);
  EXPECT_EQ(y, 30);
}

TEST(FormMetrics, BorderlessAndOddBorderPictures) {
  // WS_POPUP without caption bits, thick frame or window edge: no skinned frame.
  EXPECT_TRUE(isBorderless(wstyle::Popup, 0));
  EXPECT_FALSE(isBorderless(wstyle::Popup | wstyle::Border, 0));
  EXPECT_FALSE(isBorderless(wstyle::Popup | wstyle::DlgFrame, 0));
  EXPECT_FALSE(isBorderless(wstyle::Popup | wstyle::ThickFrame, 0));
  EXPECT_FALSE(isBorderless(wstyle::Popup, wstyle::ExWindowEdge));
  EXPECT_FALSE(isBorderless(kOverlapped, 0));
  EXPECT_EQ(borderSizes(ourSkin(), true), BorderSizes{});
  // Empty pictures give 0, a frame count of 0 or less counts as 1.
  SkinSettings odd;
  odd.BorderTop.Image = Image(1, 1);
  odd.BorderTop.FrameCount = 0;
  odd.BorderLeft.Image = Image(7, 1);
  odd.BorderLeft.FrameCount = -3;
  EXPECT_EQ(borderSizes(odd, false), (BorderSizes{7, 1, 0, 0}));
}

// Pictures sized from a window are checked before they are allocated.
TEST(FormMetrics, WindowSizedPicturesAreBounded) {
  EXPECT_THROW(Image(20000, 20000), std::length_error);
  EXPECT_THROW(Image(INT_MAX, INT_MAX), std::length_error);
  EXPECT_TRUE(Image(-5, 10).empty());
  EXPECT_EQ(Image(-5, 10).pixels.size(), 0u);
  EXPECT_EQ(Image(20000, 23).pixels.size(), 460000u);
}

TEST(FormMetrics, RegionParts) {
  const BorderSizes b{3, 23, 3, 3};
  RegionPlan p = regionPlan(400, 300, b, false, ourSkin());
  ASSERT_TRUE(p.shaped);  // the borders' Trans defaults to 1
  EXPECT_EQ(p.inner, (Rect{3, 23, 397, 297}));
  EXPECT_TRUE(p.left.present && p.left.picture);
  EXPECT_EQ((std::vector<int>{p.left.width, p.left.height, p.left.x, p.left.y}), (std::vector<int>{3, 300, 0, 0}));
  EXPECT_EQ((std::vector<int>{p.right.width, p.right.height, p.right.x, p.right.y}), (std::vector<int>{3, 300, 397, 0}));
  EXPECT_EQ((std::vector<int>{p.bottom.width, p.bottom.height, p.bottom.x, p.bottom.y}),
            (std::vector<int>{394, 3, 3, 297}));
  EXPECT_EQ((std::vector<int>{p.top.width, p.top.height, p.top.x, p.top.y}), (std::vector<int>{394, 23, 3, 0}));
  EXPECT_TRUE(p.bottom.picture && p.top.picture);
  // One pixel high: the side pictures are not used; thin bottom and top borders.
  p = regionPlan(400, 1, BorderSizes{3, 1, 3, 1}, false, ourSkin());
  EXPECT_FALSE(p.left.picture || p.right.picture || p.bottom.picture);
  EXPECT_FALSE(p.top.present);
  EXPECT_FALSE(regionPlan(400, 300, b, true, ourSkin()).left.present);
  SkinSettings plain = ourSkin();
  plain.BorderLeft.Trans = plain.BorderRight.Trans = plain.BorderTop.Trans = plain.BorderBottom.Trans = 0;
  p = regionPlan(400, 300, b, false, plain);
  EXPECT_FALSE(p.shaped);
  EXPECT_EQ(p.inner, (Rect{0, 0, 400, 300}));
}

TEST(CaptionLayout, CentredAndCutBeforeTheRightEnd) {
  EXPECT_EQ(paddedCaption("Vrin"), "  Vrin   ");
  const SkinTitleElement& t = ourSkin().Title;
  const Rect area{3, 0, 397, 23};  // a 400-wide window
  CaptionPlacement p = placeCaption(area, 100, 13, t);
  EXPECT_EQ(p.text, (Rect{3 + 147, 5, 250, 18}));
  EXPECT_EQ(p.background, (Rect{150, 0, 250, 23}));
  EXPECT_EQ(p.draw, p.text);  // no caption picture ends in our skin
  // A text wider than the area is cut 60 pixels before the area's right end.
  p = placeCaption(area, 600, 13, t);
  EXPECT_EQ(p.text.right, 337);
  EXPECT_EQ(p.text.left, 3 + (394 - 600) / 2);

  SkinTitleElement other = t;
  other.TextAlignment = 0;
  other.LeftWidth = 45;  // TextShift
  other.TopHeight = 5;   // TextShiftVert
  other.TextBackLeft = 4;
  other.TextBackRight = 6;
  p = placeCaption(area, 100, 13, other);
  EXPECT_EQ(p.text, (Rect{48, 7, 158, 20}));
  EXPECT_EQ(p.draw, (Rect{52, 7, 152, 20}));
  other.TextAlignment = 2;
  EXPECT_EQ(placeCaption(area, 100, 13, other).text.left, 3 + 394 + 60 - 110);
  other.TextAlignment = 7;
  EXPECT_EQ(placeCaption(area, 100, 13, other).text.left, 3);
}

struct Buttons {
  NcHost host;
  std::vector<std::unique_ptr<TitleButton>> owned;
  std::vector<TitleButton*> all;
  // The form gives icon buttons the 16 x 16 window icon, one frame.
  explicit Buttons(const SkinSettings& s) {
    for (const SkinSysButtonElement& e : s.SysButtons) {
      owned.push_back(std::make_unique<TitleButton>(host, e));
      TitleButton& b = *owned.back();
      b.pictureWidth = isIconAction(e.Action) ? 16 : e.Image.width;
      b.pictureHeight = isIconAction(e.Action) ? 16 : e.Image.height;
      b.frameCount = isIconAction(e.Action) ? 1 : e.FrameCount;
      all.push_back(&b);
    }
  }
  void layout(const TitleWindow& w, const TitleLayout& l) {
    for (TitleButton* b : all) b->layout(w, l);
  }
  std::vector<int> shown() const {
    std::vector<int> v;
    for (std::size_t i = 0; i < all.size(); ++i)
      if (all[i]->inTitleBar()) v.push_back(int(i));
    return v;
  }
};

TEST(TitleButtons, LayoutOnA400PixelWindow) {
  Buttons bs(ourSkin());
  ASSERT_EQ(bs.all.size(), 9u);
  TitleWindow w{true, false, true, true, true, false};
  TitleLayout l{400, Rect{150, 5, 250, 18}, BorderSizes{3, 23, 3, 3}, 0, 0};
  bs.layout(w, l);
  EXPECT_EQ(bs.shown(), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(bs.all[3]->Bounds, (Rect{376, 0, 392, 23}));  // close: 6 frames of 16 x 23
  EXPECT_EQ(bs.all[2]->Bounds, (Rect{354, 0, 369, 23}));  // maximise: 15 x 23
  EXPECT_EQ(bs.all[1]->Bounds, (Rect{332, 0, 347, 23}));  // minimise
  EXPECT_EQ(bs.all[0]->Bounds.left, 9);                   // roll-up picture
  EXPECT_EQ(bs.all[4]->Bounds, (Rect{150 - 16 - 3, 3, 150 - 3, 19}));  // icon left of the text

  // The object under a point: the roll-up picture at x 9 is drawn but cannot be clicked.
  EXPECT_EQ(titleButtonAt(bs.all, 10, 5), nullptr);
  EXPECT_EQ(titleButtonAt(bs.all, 380, 5), bs.all[3]);
  EXPECT_EQ(titleButtonAt(bs.all, 392, 5), nullptr);
  EXPECT_EQ(titleButtonAt(bs.all, 360, 22), bs.all[2]);
  EXPECT_EQ(titleButtonAt(bs.all, 140, 10), bs.all[4]);

  // Inactive: no icon. A tool window without boxes keeps close, roll-up and icon.
  w.active = false;
  bs.layout(w, l);
  EXPECT_EQ(bs.shown(), (std::vector<int>{0, 1, 2, 3}));
  bs.layout(TitleWindow{true, false, true, false, false, false}, l);
  EXPECT_EQ(bs.shown(), (std::vector<int>{0, 3, 4}));
  // Without a system menu the close button (Action 0, Visibility 0) goes too.
  bs.layout(TitleWindow{true, false, false, false, false, false}, l);
  EXPECT_EQ(bs.shown(), (std::vector<int>{0, 4}));
  // The MDI buttons show only over a maximised child, in the menu bar (not the title bar).
  bs.layout(TitleWindow{true, false, true, true, true, true}, TitleLayout{400, l.captionText, l.borders, 19, 6});
  EXPECT_TRUE(bs.all[6]->Visible && !bs.all[6]->inTitleBar());
  const int a = ourSkin().SysButtons[6].Image.width / 4;
  EXPECT_EQ(bs.all[6]->Bounds.left, 400 - ourSkin().SysButtons[6].XCoord - 3 - 6);
  EXPECT_EQ(bs.all[6]->Bounds.top, 23 + (19 - ourSkin().SysButtons[6].Image.height) / 2);
  EXPECT_EQ(bs.all[6]->Bounds.width(), a);
}

TEST(TitleButtons, AlignmentsAndOddButtons) {
  SkinSysButtonElement e;
  const TitleLayout l{500, Rect{100, 4, 300, 19}, BorderSizes{3, 23, 3, 3}, 20, 6};
  auto at = [&](int align) {
    e.Align = align;
    e.XCoord = 5;
    e.YCoord = 2;
    return titleButtonBounds(e, 10, 12, l);
  };
  EXPECT_EQ(at(0), (Rect{5, 2, 15, 14}));
  EXPECT_EQ(at(1), (Rect{495, 2, 505, 14}));
  EXPECT_EQ(at(2), (Rect{85, 2, 95, 14}));
  EXPECT_EQ(at(8), at(2));
  EXPECT_EQ(at(3), (Rect{305, 2, 315, 14}));
  EXPECT_EQ(at(9), at(3));
  EXPECT_EQ(at(100), (Rect{486, 27, 496, 39}));
  EXPECT_EQ(at(4), (Rect{0, 0, 10, 12}));
  // Visibility -1 never shows; Action -1 shows but is not clickable.
  NcHost host;
  e.Align = 0;
  e.Visibility = -1;
  TitleButton hidden(host, e);
  hidden.pictureWidth = hidden.pictureHeight = 10;
  hidden.layout(TitleWindow{}, l);
  EXPECT_FALSE(hidden.Visible);
  SkinSysButtonElement e2 = e;
  e2.Visibility = 0;
  e2.Action = -1;
  TitleButton inert(host, e2);
  inert.pictureWidth = inert.pictureHeight = 10;
  inert.layout(TitleWindow{}, l);
  EXPECT_TRUE(inert.inTitleBar());
  EXPECT_EQ(titleButtonAt({&hidden, &inert}, 6, 3), nullptr);
  // Frames: cache 1 active / 4 inactive unless fewer than 4 frames; hot is frame 4 in the menu bar.
  EXPECT_EQ(cacheFrame(true, 6), 1);
  EXPECT_EQ(cacheFrame(false, 6), 4);
  EXPECT_EQ(cacheFrame(false, 3), 1);
  EXPECT_EQ(paintFrame(ncHot, 0), 3);
  EXPECT_EQ(paintFrame(ncHot, 100), 4);
  EXPECT_EQ(paintFrame(ncPressed, 100), 2);
}

// The whole table: for each value 0..2000 and every window state, conditions A and B.
TEST(TitleButtons, VisibilityTable) {
  for (int bits = 0; bits < 64; ++bits) {
    const TitleWindow w{bool(bits & 1), bool(bits & 2), bool(bits & 4), bool(bits & 8), bool(bits & 16), bool(bits & 32)};
    for (int v = -2; v <= 2001; ++v) {
      bool a = false, b = false;
      switch (v) {
        case 0: a = w.systemMenu; b = true; break;
        case 1: a = b = w.maximized; break;
        case 2: a = b = !w.maximized; break;
        case 3: a = b = w.active; break;
        case 4: a = b = !w.active; break;
        case 6: a = w.maximizeBox && w.systemMenu; b = w.maximizeBox; break;
        case 7: a = b = !w.maximizeBox; break;
        case 8: a = w.minimizeBox && w.systemMenu; b = w.minimizeBox; break;
        case 9: a = b = !w.minimizeBox; break;
        case 100: a = b = w.mdiChildMaximized; break;
        default: a = b = v >= 200 && v <= 2000; break;
      }
      ASSERT_EQ(visibilityA(v, 0, w), a) << v << " " << bits;
      ASSERT_EQ(visibilityB(v, w), b) << v << " " << bits;
    }
    EXPECT_TRUE(visibilityA(0, 5, w));  // a button that does not close shows without a system menu
  }
  SkinSysButtonElement max;
  max.Action = 1;
  EXPECT_FALSE(titleButtonVisible(max, TitleWindow{true, false, true, false, true, false}));
  EXPECT_TRUE(titleButtonVisible(max, TitleWindow{true, false, true, true, false, false}));
  max.Action = 2;
  EXPECT_FALSE(titleButtonVisible(max, TitleWindow{true, false, true, true, false, false}));
}

TEST(TitleButtons, ActionsAndMouseStates) {
  EXPECT_EQ(titleEffect(0, 0), TitleEffect::Close);
  EXPECT_EQ(titleEffect(1, 0), TitleEffect::Maximize);
  EXPECT_EQ(titleEffect(22, 1), TitleEffect::Restore);
  EXPECT_EQ(titleEffect(2, 0), TitleEffect::Minimize);
  EXPECT_EQ(titleEffect(23, 2), TitleEffect::Restore);
  for (int a : {3, 11, 12}) EXPECT_EQ(titleEffect(a, 0), TitleEffect::SystemMenu);
  EXPECT_EQ(titleEffect(60, 0), TitleEffect::MdiMinimize);
  EXPECT_EQ(titleEffect(8, 0), TitleEffect::MdiRestore);
  EXPECT_EQ(titleEffect(62, 0), TitleEffect::MdiClose);
  EXPECT_EQ(titleEffect(5, 0), TitleEffect::Notify);
  EXPECT_EQ(titleEffect(-1, 0), TitleEffect::Notify);

  struct Counted : NcObject {
    using NcObject::NcObject;
    int paints = 0;
    void Paint() override { ++paints; }
  };
  NcHost host;
  Counted a(host), b(host);
  a.MouseEnter();
  EXPECT_EQ(host.HotObject, &a);
  EXPECT_EQ(a.State, ncHot);
  a.MouseEnter();  // already hot: no repaint
  EXPECT_EQ(a.paints, 1);
  b.MouseDown();  // the hot one leaves first
  EXPECT_EQ(a.State, ncNormal);
  EXPECT_EQ(host.HotObject, &b);
  EXPECT_EQ(b.State, ncPressed);
  b.MouseUp();
  EXPECT_EQ(b.State, ncHot);
  b.Visible = false;
  b.MouseLeave();  // an invisible object changes nothing
  EXPECT_EQ(host.HotObject, &b);
  {
    Counted gone(host);
    gone.MouseEnter();  // b is invisible: it stays as it is
    EXPECT_EQ(host.HotObject, &gone);
  }
  EXPECT_EQ(host.HotObject, nullptr);  // a freed object is not left hot
}

}  // namespace
}  // namespace vrin
