#include "skin.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "raster.h"

namespace picgen {
namespace {

// The skin's palette (the [Colours] section) and the frame's own tints.
const Colour kFace = grey(235);
const Colour kHilite{55, 100, 175};
const Colour kWhite = grey(255);
const Colour kScrollbar = grey(245);

struct FrameLook {
  Colour outer;       // the one-pixel outline of the window
  Colour titleTop;    // caption gradient
  Colour titleBottom;
  Colour border;      // the border band beside and below the client area
  Colour clientEdge;  // the line that rings the client area
};
const FrameLook kActive{{70, 104, 160}, {247, 250, 254}, {211, 223, 242}, {211, 223, 242}, {160, 180, 214}};
const FrameLook kInactive{grey(150), grey(250), grey(229), grey(229), grey(192)};

constexpr int kBorder = 3;      // left, right and bottom border width (pictures are 2 frames of 3)
constexpr int kTitle = 23;      // caption height (top.bmp is 2 frames of 23)
constexpr int kCorner = 6;      // radius of the rounded top corners

Colour titleAt(const FrameLook& look, double y) {
  return mix(look.titleTop, look.titleBottom, std::clamp((y - 1) / (kTitle - 2), 0.0, 1.0));
}

// Frames side by side, or stacked.
vrin::Image strip(const std::vector<vrin::Image>& frames, bool stacked) {
  const vrin::Image& first = frames.at(0);
  vrin::Image out(stacked ? first.width : first.width * int(frames.size()),
                  stacked ? first.height * int(frames.size()) : first.height);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (frames[i].width != first.width || frames[i].height != first.height)
      throw std::logic_error("frames of a strip differ in size");
    blit(out, frames[i], stacked ? 0 : int(i) * first.width, stacked ? int(i) * first.height : 0);
  }
  return out;
}

// A whole window frame, W x H, in window coordinates. The border pictures are cut from it, so
// they meet without seams. Outside the rounded top corners lies the key colour.
vrin::Image windowFrame(const FrameLook& look, int w, int h) {
  Layer layer(w, h);
  layer.fill(topRoundedBox(0, 0, w, h, kCorner), look.outer);
  const Paint inside = [&look](double, double y) { return y < kTitle - 1 ? titleAt(look, y) : look.border; };
  layer.fill(topRoundedBox(1, 1, w - 1, h - 1, kCorner - 1), inside);
  for (int x = 2; x < w - 2; ++x) {
    layer.set(x, kTitle - 1, look.clientEdge);
    layer.set(x, h - kBorder, look.clientEdge);
  }
  for (int y = kTitle - 1; y <= h - kBorder; ++y) {
    layer.set(2, y, look.clientEdge);
    layer.set(w - kBorder, y, look.clientEdge);
  }
  for (int y = kTitle; y < h - kBorder; ++y)
    for (int x = kBorder; x < w - kBorder; ++x) layer.set(x, y, kFace);
  return layer.flattenKeyedCrisp(0.5);
}

std::vector<NamedPicture> borders() {
  // top.bmp is 294 wide; the left and right pictures 50 high with fixed parts of 45 and 4.
  const int w = 294 + 2 * kBorder, h = 50;
  const vrin::Image active = windowFrame(kActive, w, h), inactive = windowFrame(kInactive, w, h);
  auto cut = [&](int x, int y, int cw, int ch) {
    return std::vector<vrin::Image>{crop(active, x, y, cw, ch), crop(inactive, x, y, cw, ch)};
  };
  return {
      {"top.bmp", strip(cut(kBorder, 0, 294, kTitle), true)},
      {"bottom.bmp", strip(cut(kBorder, h - kBorder, 10, kBorder), true)},
      {"left.bmp", strip(cut(0, 0, kBorder, h), false)},
      {"right.bmp", strip(cut(w - kBorder, 0, kBorder, h), false)},
  };
}

// ---- Title-bar buttons --------------------------------------------------------------------

enum class TitleGlyph { RollUp, RollDown, Minimize, Maximize, Close };

struct ButtonLook {
  bool filled;  // a face, or only an outline over the caption
  Colour border, top, bottom, glyph;
  double shift;  // pressed glyphs move one pixel down and right
};

Shape titleGlyph(TitleGlyph g, double cx) {
  switch (g) {
    case TitleGlyph::Minimize: return box(cx - 3.5, 13, cx + 3.5, 15);
    case TitleGlyph::Maximize: return subtract(box(cx - 3.5, 8, cx + 3.5, 15), box(cx - 2.5, 10, cx + 2.5, 14));
    case TitleGlyph::Close:
      return unite(segment(cx - 2.9, 8.6, cx + 2.9, 14.4, 0.9), segment(cx + 2.9, 8.6, cx - 2.9, 14.4, 0.9));
    case TitleGlyph::RollUp:
      return unite(box(cx - 3.5, 8, cx + 3.5, 10), polyline({{cx - 3, 14.5}, {cx, 11.5}, {cx + 3, 14.5}}, 0.9));
    case TitleGlyph::RollDown:
      return unite(box(cx - 3.5, 13, cx + 3.5, 15), polyline({{cx - 3, 8.5}, {cx, 11.5}, {cx + 3, 8.5}}, 0.9));
  }
  return box(0, 0, 0, 0);
}

vrin::Image titleButton(TitleGlyph g, int fw, const ButtonLook& look, const FrameLook& caption) {
  Layer layer(fw, kTitle);
  const Shape face = box(0, 4, fw, 19, 3);
  if (look.filled) {
    layer.fill(face, look.border);
    layer.fill(grow(face, -1), vertical(4, look.top, 19, look.bottom));
  } else {
    // Over the caption the face simply continues the caption's own gradient.
    layer.fill(face, look.border);
    layer.fill(grow(face, -1), [&caption](double, double y) { return titleAt(caption, y); });
  }
  layer.fill(translate(titleGlyph(g, fw / 2.0), look.shift, look.shift), look.glyph);
  return layer.flattenKeyed(titleAt(caption, 11.5), 0.2);
}

// Six frames: 1 normal, 2 pressed, 3 hot (the states a click walks through), 4 inactive
// window, 5 disabled, 6 normal again (a spare).
vrin::Image titleButtonStrip(TitleGlyph g, int fw) {
  const bool close = g == TitleGlyph::Close;
  const ButtonLook normal{true, {128, 150, 190}, kWhite, {226, 234, 246}, {44, 62, 96}, 0};
  const ButtonLook pressed = close ? ButtonLook{true, {128, 30, 20}, {178, 44, 30}, {214, 82, 66}, kWhite, 1}
                                   : ButtonLook{true, kHilite, {172, 193, 228}, {204, 218, 240}, {30, 52, 96}, 1};
  const ButtonLook hot = close ? ButtonLook{true, {160, 40, 30}, {238, 116, 98}, {200, 56, 40}, kWhite, 0}
                               : ButtonLook{true, kHilite, kWhite, {212, 227, 250}, kHilite, 0};
  const ButtonLook inactive{false, grey(176), grey(0), grey(0), grey(138), 0};
  const ButtonLook disabled{false, grey(204), grey(0), grey(0), grey(188), 0};
  return strip({titleButton(g, fw, normal, kActive), titleButton(g, fw, pressed, kActive),
                titleButton(g, fw, hot, kActive), titleButton(g, fw, inactive, kInactive),
                titleButton(g, fw, disabled, kInactive), titleButton(g, fw, normal, kActive)},
               false);
}

// The three buttons of a maximised MDI child, drawn in the menu bar: 4 frames each of 15 x 14
// (1 normal, 2 pressed, 3 inactive, 4 hot).
vrin::Image mdiButtons() {
  const Shape minimize = box(4, 8, 11, 10);
  const Shape front = box(4, 5, 9, 10), back = box(6, 3, 11, 8);
  const Shape restore = unite(subtract(front, box(5, 6, 8, 9)),
                              subtract(subtract(back, box(7, 4, 10, 7)), front));
  const Shape close = unite(segment(4.6, 4.1, 10.4, 9.9, 0.85), segment(10.4, 4.1, 4.6, 9.9, 0.85));
  std::vector<vrin::Image> frames;
  for (const Shape& glyph : {minimize, restore, close}) {
    for (int state = 1; state <= 4; ++state) {
      Layer layer(15, 14);
      const Shape face = box(1, 1, 14, 13, 2);
      Colour glyphColour{44, 62, 96};
      double shift = 0;
      if (state == 1) {
        layer.fill(face, Colour{150, 166, 196});
        layer.fill(grow(face, -1), vertical(1, kWhite, 13, Colour{228, 235, 246}));
      } else if (state == 2) {
        layer.fill(face, kHilite);
        layer.fill(grow(face, -1), vertical(1, Colour{172, 193, 228}, 13, Colour{204, 218, 240}));
        shift = 1;
      } else if (state == 3) {
        layer.fill(face, grey(184));
        layer.fill(grow(face, -1), vertical(0, grey(250), 17, grey(237)));  // the inactive menu bar
        glyphColour = grey(150);
      } else {
        layer.fill(face, kHilite);
        layer.fill(grow(face, -1), vertical(1, kWhite, 13, Colour{212, 227, 250}));
        glyphColour = kHilite;
      }
      layer.fill(translate(glyph, shift, shift), glyphColour);
      frames.push_back(layer.flattenKeyed(grey(242), 0.2));
    }
  }
  return strip(frames, false);
}

// ---- Menu bar and dialog ------------------------------------------------------------------

// 2 frames stacked (active, inactive), 15 x 18 each, drawn as a three-slice.
vrin::Image menuBar() {
  std::vector<vrin::Image> frames;
  for (const bool active : {true, false}) {
    Layer layer(15, 18);
    layer.fill(box(0, 0, 15, 18), active ? vertical(0, Colour{251, 252, 254}, 17, Colour{236, 240, 247})
                                         : vertical(0, grey(250), 17, grey(237)));
    for (int x = 0; x < 15; ++x) layer.set(x, 17, active ? Colour{206, 215, 230} : grey(214));
    frames.push_back(layer.flatten(kFace));
  }
  return strip(frames, true);
}

// A calm, tileable dialog background: the face colour with a faint, even grain.
vrin::Image dialogBackground() {
  vrin::Image out(128, 128);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      std::uint32_t h = std::uint32_t(x) * 73856093u ^ std::uint32_t(y) * 19349663u;
      h ^= h >> 13;
      h *= 0x5bd1e995u;
      h ^= h >> 15;
      const int v = 235 + int(h % 3) - 1;
      out.at(x, y) = vrin::rgb(unsigned(v), unsigned(v), unsigned(v + (h % 7 == 0 ? 1 : 0)));
    }
  return out;
}

// ---- Push buttons, check boxes, radio buttons, progress -----------------------------------

struct FaceLook {
  Colour border, top, bottom;
};

// 5 frames of 46 x 22: 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default.
vrin::Image pushButtons() {
  const FaceLook looks[5] = {
      {{150, 158, 172}, grey(253), {224, 227, 233}},
      {kHilite, {186, 203, 231}, {214, 226, 244}},
      {grey(198), grey(243), grey(236)},
      {kHilite, kWhite, {218, 230, 250}},
      {{96, 130, 190}, grey(253), {224, 227, 233}},
  };
  std::vector<vrin::Image> frames;
  for (const FaceLook& look : looks) {
    Layer layer(46, 22);
    const Shape face = box(0, 0, 46, 22, 3.5);
    layer.fill(face, look.border);
    layer.fill(grow(face, -1), vertical(1, look.top, 21, look.bottom));
    frames.push_back(layer.flattenKeyed(kFace));
  }
  return strip(frames, false);
}

// 4 frames of 17 x 18: 1 unchecked, 2 checked, 3 disabled, 4 indeterminate.
vrin::Image checkBoxes() {
  std::vector<vrin::Image> frames;
  const Shape boxShape = box(2, 3, 15, 16, 2);
  const Shape tick = polyline({{5.0, 9.6}, {7.5, 12.1}, {12.0, 6.6}}, 1.0);
  for (int state = 1; state <= 4; ++state) {
    Layer layer(17, 18);
    if (state == 3) {
      layer.fill(boxShape, grey(186));
      layer.fill(grow(boxShape, -1), grey(244));
    } else {
      layer.fill(boxShape, Colour{118, 128, 146});
      layer.fill(grow(boxShape, -1), vertical(4, kWhite, 15, Colour{234, 238, 245}));
    }
    if (state == 2) layer.fill(tick, kHilite);
    if (state == 4) layer.fill(box(5, 6, 12, 13, 1), vertical(6, Colour{124, 158, 216}, 13, kHilite));
    frames.push_back(layer.flattenKeyed(kFace));
  }
  return strip(frames, false);
}

// 4 frames of 17 x 18: 1 off, 2 on, 3 disabled off, 4 disabled on.
vrin::Image radioButtons() {
  std::vector<vrin::Image> frames;
  const Shape disc = circle(8.5, 9.5, 6.5);
  const Shape dot = circle(8.5, 9.5, 2.9);
  for (int state = 1; state <= 4; ++state) {
    const bool disabled = state >= 3, on = state % 2 == 0;
    Layer layer(17, 18);
    layer.fill(disc, disabled ? grey(186) : Colour{118, 128, 146});
    layer.fill(grow(disc, -1), disabled ? solid(grey(244)) : vertical(4, kWhite, 15, Colour{234, 238, 245}));
    if (on) layer.fill(dot, disabled ? solid(grey(172)) : vertical(6.5, Colour{118, 156, 220}, 12.5, Colour{44, 88, 164}));
    frames.push_back(layer.flattenKeyed(kFace));
  }
  return strip(frames, false);
}

// 2 frames of 40 x 14: 1 the empty trough, 2 the filled part.
vrin::Image progressBars() {
  const Shape bar = box(0, 0, 40, 14, 3);
  Layer trough(40, 14);
  trough.fill(bar, grey(156));
  trough.fill(grow(bar, -1), vertical(1, grey(226), 13, grey(249)));
  Layer fill(40, 14);
  fill.fill(bar, Colour{38, 76, 146});
  fill.fill(grow(bar, -1), vertical(1, Colour{150, 188, 240}, 13, Colour{52, 98, 176}));
  fill.fill(box(1, 1, 39, 5, 2), kWhite, 0.18);
  return strip({trough.flattenKeyed(kFace), fill.flattenKeyed(kFace)}, false);
}

// ---- Tabs ---------------------------------------------------------------------------------

// The page's border (drawn as the eight outer cells of a 12 x 12 grid).
vrin::Image tabBorder() {
  Layer layer(12, 12);
  layer.fill(box(0, 0, 12, 12), grey(156));
  layer.fill(box(1, 1, 11, 11), grey(250));
  layer.fill(box(2, 2, 11, 11), kFace);
  return layer.flatten(kFace);
}

// 5 frames of 22 x 18 (the strip is 114 wide; the last 4 columns are spare face colour):
// 1 tab, 2 selected tab, 3 disabled, 4 hot, 5 selected (focused). Drawn opaque.
vrin::Image tabs() {
  std::vector<vrin::Image> frames;
  for (int state = 1; state <= 5; ++state) {
    const bool selected = state == 2 || state == 5;
    Layer layer(22, 18);
    const Shape tab = topRoundedBox(0, selected ? 0 : 2, 22, selected ? 19 : 18, 3);
    Colour border = state == 3 ? grey(190) : grey(156);
    layer.fill(tab, border);
    Paint inside = vertical(2, grey(240), 17, grey(225));
    if (selected) inside = vertical(0, kWhite, 17, grey(246));
    if (state == 3) inside = solid(grey(240));
    if (state == 4) inside = vertical(2, kWhite, 17, Colour{230, 236, 246});
    layer.fill(grow(tab, -1), inside);
    if (selected) layer.fill(intersect(grow(tab, -1), box(0, 0, 22, 3)), kHilite);
    if (state == 4) layer.fill(intersect(grow(tab, -1), box(0, 0, 22, 4)), Colour{124, 158, 216});
    if (!selected)
      for (int x = 0; x < 22; ++x) layer.set(x, 17, grey(156));
    frames.push_back(layer.flatten(kFace));
  }
  vrin::Image out(114, 18, toPixel(kFace));
  blit(out, strip(frames, false), 0, 0);
  return out;
}

// ---- Scroll bars --------------------------------------------------------------------------

enum class Arrow { None, Left, Right, Up, Down, Grip };

struct ArrowLook {
  Colour border, top, bottom, glyph;
  double shift;
};

vrin::Image arrowButton(Arrow arrow, const ArrowLook& look) {
  Layer layer(16, 16);
  const Shape face = box(0, 0, 16, 16, 2.5);
  layer.fill(face, look.border);
  layer.fill(grow(face, -1), vertical(1, look.top, 15, look.bottom));
  Shape glyph = box(0, 0, 0, 0);
  switch (arrow) {
    case Arrow::Left: glyph = polygon({{5.5, 8}, {9.5, 4}, {9.5, 12}}); break;
    case Arrow::Right: glyph = polygon({{10.5, 8}, {6.5, 4}, {6.5, 12}}); break;
    case Arrow::Up: glyph = polygon({{8, 5.5}, {4, 9.5}, {12, 9.5}}); break;
    case Arrow::Down: glyph = polygon({{8, 10.5}, {4, 6.5}, {12, 6.5}}); break;
    case Arrow::Grip:
      for (const auto& d : {std::pair{11.0, 11.0}, {8.0, 11.0}, {11.0, 8.0}, {5.0, 11.0}, {8.0, 8.0}, {11.0, 5.0}})
        glyph = unite(glyph, box(d.first - 1, d.second - 1, d.first + 1, d.second + 1));
      break;
    case Arrow::None: break;
  }
  layer.fill(translate(glyph, look.shift, look.shift), look.glyph);
  return layer.flatten(kScrollbar);
}

// 23 frames of 16 x 16. Per arrow (left, right, up, down, then a blank button) four states:
// normal, pressed, hot, disabled; then 21 size grip, 22 corner, 23 bare track colour.
vrin::Image scrollArrows() {
  const ArrowLook looks[4] = {
      {{190, 198, 210}, grey(252), {232, 235, 240}, {76, 86, 104}, 0},
      {kHilite, {186, 203, 231}, {212, 224, 243}, {30, 52, 96}, 1},
      {{112, 144, 198}, kWhite, {220, 231, 249}, kHilite, 0},
      {grey(214), grey(247), grey(240), grey(188), 0},
  };
  std::vector<vrin::Image> frames;
  for (Arrow a : {Arrow::Left, Arrow::Right, Arrow::Up, Arrow::Down, Arrow::None})
    for (const ArrowLook& look : looks) frames.push_back(arrowButton(a, look));
  frames.push_back(arrowButton(Arrow::Grip, {kFace, kFace, kFace, grey(170), 0}));
  frames.push_back(vrin::Image(16, 16, toPixel(kFace)));
  frames.push_back(vrin::Image(16, 16, toPixel(kScrollbar)));
  return strip(frames, false);
}

// The track: 4 frames of 16 x 16 (1 track, 2 pressed, 3 hot, 4 disabled); lines along both
// long edges. `vertical` turns it for the vertical bar.
vrin::Image tracks(bool verticalBar) {
  const Colour fills[4] = {grey(241), {224, 230, 240}, grey(246), grey(247)};
  const Colour lines[4] = {grey(224), {200, 212, 230}, grey(228), grey(236)};
  std::vector<vrin::Image> frames;
  for (int i = 0; i < 4; ++i) {
    vrin::Image f(16, 16, toPixel(fills[i]));
    for (int t = 0; t < 16; ++t) {
      if (verticalBar) {
        f.at(0, t) = f.at(15, t) = toPixel(lines[i]);
      } else {
        f.at(t, 0) = f.at(t, 15) = toPixel(lines[i]);
      }
    }
    frames.push_back(f);
  }
  return strip(frames, false);
}

// The thumb: 3 frames (1 normal, 2 pressed, 3 hot), 48 long and 16 thick, over the track.
vrin::Image thumbs(bool verticalBar) {
  const FaceLook looks[3] = {
      {{138, 156, 190}, {226, 233, 245}, {188, 203, 228}},
      {{44, 86, 160}, {146, 176, 224}, {96, 134, 200}},
      {{78, 118, 188}, {238, 244, 253}, {196, 213, 242}},
  };
  const vrin::Image track = crop(tracks(verticalBar), 0, 0, 16, 16);
  std::vector<vrin::Image> frames;
  for (const FaceLook& look : looks) {
    const int w = verticalBar ? 16 : 48, h = verticalBar ? 48 : 16;
    Layer layer(w, h);
    const Shape thumb = verticalBar ? box(2, 1, 14, 47, 4) : box(1, 2, 47, 14, 4);
    layer.fill(thumb, look.border);
    layer.fill(grow(thumb, -1), verticalBar ? horizontal(3, look.top, 13, look.bottom)
                                            : vertical(3, look.top, 13, look.bottom));
    // Corners show the track behind the thumb.
    vrin::Image back(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) back.at(x, y) = track.at(x % 16, y % 16);
    vrin::Image f = layer.flattenKeyed(fromPixel(track.at(5, 5)), 0.5);
    for (std::size_t i = 0; i < f.pixels.size(); ++i)
      if (f.pixels[i] == vrin::kKeyColour) f.pixels[i] = back.pixels[i];
    frames.push_back(f);
  }
  return strip(frames, false);
}

// ---- Tool bars ----------------------------------------------------------------------------

// 5 frames of 38 x 27: 1 normal (flat), 2 pressed, 3 disabled, 4 hot, 5 checked.
vrin::Image toolbarButtons() {
  std::vector<vrin::Image> frames;
  for (int state = 1; state <= 5; ++state) {
    Layer layer(38, 27);
    const Shape face = box(0, 0, 38, 27, 3);
    switch (state) {
      case 1: layer.fill(face, vertical(0, grey(240), 27, grey(232))); break;
      case 3: layer.fill(face, grey(238)); break;
      case 2:
        layer.fill(face, kHilite);
        layer.fill(grow(face, -1), vertical(1, Colour{186, 203, 231}, 26, Colour{214, 226, 244}));
        break;
      case 4:
        layer.fill(face, Colour{120, 150, 200});
        layer.fill(grow(face, -1), vertical(1, kWhite, 26, Colour{222, 232, 249}));
        break;
      case 5:
        layer.fill(face, Colour{120, 150, 200});
        layer.fill(grow(face, -1), Colour{212, 224, 243});
        break;
    }
    frames.push_back(layer.flatten(kFace));
  }
  return strip(frames, false);
}

}  // namespace

std::vector<NamedPicture> skinPictures() {
  std::vector<NamedPicture> b = borders();
  return {
      b[0],
      b[1],
      b[2],
      b[3],
      {"menu.bmp", menuBar()},
      {"dialog.bmp", dialogBackground()},
      {"buttons.bmp", pushButtons()},
      {"check.bmp", checkBoxes()},
      {"radio.bmp", radioButtons()},
      {"pbars.bmp", progressBars()},
      {"taborder.bmp", tabBorder()},
      {"tabs.bmp", tabs()},
      {"arrows.bmp", scrollArrows()},
      {"hscroll.bmp", tracks(false)},
      {"vscroll.bmp", tracks(true)},
      {"hscroll2.bmp", thumbs(false)},
      {"vscroll2.bmp", thumbs(true)},
      {"toolbars.bmp", toolbarButtons()},
      {"rollup2.bmp", titleButtonStrip(TitleGlyph::RollUp, 15)},
      {"min.bmp", titleButtonStrip(TitleGlyph::Minimize, 15)},
      {"max.bmp", titleButtonStrip(TitleGlyph::Maximize, 15)},
      {"close.bmp", titleButtonStrip(TitleGlyph::Close, 16)},
      {"rollup3.bmp", titleButtonStrip(TitleGlyph::RollDown, 15)},
      {"mac-mdi.bmp", mdiButtons()},
  };
}

}  // namespace picgen
