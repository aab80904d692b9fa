#include "skin/pure/control_layout.h"

#include <algorithm>
#include <limits>

namespace vrin {
namespace {

// Sizes and properties come from outside (a window, a skin, a published property); the sums
// are made in 64 bits and the results kept inside the 32-bit range.
using Wide = std::int64_t;
int narrow(Wide v) {
  return int(std::clamp<Wide>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
Rect box(Wide x, Wide y, Wide w, Wide h) { return {narrow(x), narrow(y), narrow(x + w), narrow(y + h)}; }

constexpr std::uint32_t kBstChecked = 1, kBstIndeterminate = 2, kBstCheckMask = 3;
constexpr int kCheckColumn = 14;

}  // namespace

int buttonState(bool pressed, bool focused, bool hot, bool enabled) {
  if (!enabled) return kFrameDisabled;
  if (pressed) return kFramePressed;
  return focused || hot ? kFrameHot : kFrameNormal;
}

int speedButtonState(bool pressed, bool hot, bool enabled, bool down) {
  int state = pressed ? kFramePressed : hot ? kFrameHot : kFrameNormal;
  if (!enabled) state = kFrameDisabled;
  if (down) state = kFramePressed;
  return state;
}

int speedButtonGlyph(int state, int glyphCount) {
  const int glyph = state == kFramePressed ? 3 : state == kFrameDisabled ? 2 : 1;
  return glyphCount < glyph ? 1 : glyph;
}

Colour pushButtonTextColour(const SkinElement& buttons, Colour buttonTextColour, int state) {
  switch (state) {
    case kFrameNormal: return buttons.NormalColour2;
    case kFrameHot: return buttons.MouseOverColour2;
    case kFramePressed: return buttons.PressedColour2;
    default: return buttonTextColour;
  }
}

Colour bitButtonTextColour(const SkinSettings& skin, int state) {
  const SkinElement& buttons = skin.Buttons;
  Colour index = kColourUnset;
  if (state == kFrameNormal) index = buttons.NormalColour;
  if (state == kFrameHot) index = buttons.MouseOverColour;
  if (state == kFramePressed) index = buttons.PressedColour;
  Colour colour = skin.SkinColors.ButtonTextColor;
  skin.customColour(std::int32_t(index), colour);  // unset (-1) names no entry
  return colour;
}

int stripFrameWidth(int stripWidth, int frameCount) { return stripWidth / std::max(frameCount, 1); }

GlyphPlacement layoutGlyphButton(const GlyphButton& b) {
  const bool across = b.Layout == GlyphLayout::Left || b.Layout == GlyphLayout::Right;
  // Along the layout axis: the extent, the glyph's and the caption's lengths.
  const Wide extent = across ? b.width : b.height;
  const Wide glyph = across ? b.glyphWidth : b.glyphHeight;
  const Wide caption = across ? b.captionWidth : b.captionHeight;
  const bool hasGlyph = b.glyphWidth != 0 || b.glyphHeight != 0;
  const bool hasCaption = b.captionWidth != 0 || b.captionHeight != 0;

  Wide margin = b.Margin;
  Wide spacing = hasGlyph && hasCaption ? b.Spacing : 0;
  if (margin == -1 && spacing == -1) {
    margin = (extent - (glyph + caption)) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (extent - (glyph + spacing + caption)) / 2 + (b.speedButton ? 1 : 0);
  } else if (spacing == -1) {
    spacing = ((extent - margin - glyph) - caption) / 2;
  }

  Wide glyphAt = margin, captionAt = margin + glyph + spacing;
  if (b.Layout == GlyphLayout::Right || b.Layout == GlyphLayout::Bottom) {
    glyphAt = extent - margin - glyph;
    captionAt = glyphAt - spacing - caption;
  }
  // Across the axis both are centred.
  const Wide crossExtent = across ? b.height : b.width;
  const Wide glyphCross = ((crossExtent - (across ? b.glyphHeight : b.glyphWidth)) + 1) / 2;
  const Wide captionCross = ((crossExtent - (across ? b.captionHeight : b.captionWidth)) + 1) / 2;

  GlyphPlacement p;
  if (across) {
    p.glyph = box(glyphAt, glyphCross, b.glyphWidth, b.glyphHeight);
    p.caption = box(captionAt, captionCross, b.captionWidth, b.captionHeight);
  } else {
    p.glyph = box(glyphCross, glyphAt, b.glyphWidth, b.glyphHeight);
    p.caption = box(captionCross, captionAt, b.captionWidth, b.captionHeight);
  }
  return p;
}

Rect checkBoxRect(int windowWidth, int windowHeight, int frameWidth, int frameHeight, bool rightButton) {
  const Wide top = (Wide(windowHeight) - frameHeight) / 2;
  Wide left;
  if (frameWidth < kCheckColumn + 1) {
    const Wide offset = (kCheckColumn - Wide(frameWidth)) / 2;
    left = rightButton ? Wide(windowWidth) - offset - frameWidth : offset;
  } else {
    left = rightButton ? Wide(windowWidth) - 1 - frameWidth : 0;
  }
  return box(left, top, frameWidth, frameHeight);
}

int checkBoxFrame(bool disabled, std::uint32_t buttonState) {
  if (disabled) return kFrameDisabled;
  switch (buttonState & kBstCheckMask) {
    case kBstChecked: return kFramePressed;
    case kBstIndeterminate: return kFrameHot;
    default: return kFrameNormal;
  }
}

int radioButtonFrame(bool disabled, bool checked) { return 1 + (disabled ? 2 : 0) + (checked ? 1 : 0); }

Rect progressFill(const Rect& bar, std::int32_t position, std::int32_t max) {
  if (max <= 0 || bar.empty()) return {bar.left, bar.top, bar.left, bar.bottom};
  const Wide width = Wide(bar.right) - bar.left;
  // A position outside 0..Max fills nothing or the whole bar, never past its ends.
  const Wide filled = std::clamp<Wide>(Wide(position) * width / max, 0, width);
  return {bar.left, bar.top, narrow(bar.left + filled), bar.bottom};
}

Rect placeCaption(const Rect& area, const Rect& measured, bool centreHorizontally) {
  const Wide dy = ((Wide(area.bottom) - area.top) - (Wide(measured.bottom) - measured.top)) / 2;
  const Wide dx =
      centreHorizontally ? ((Wide(area.right) - area.left) - (Wide(measured.right) - measured.left)) / 2 : 0;
  return {narrow(measured.left + dx), narrow(measured.top + dy), narrow(measured.right + dx),
          narrow(measured.bottom + dy)};
}

ComboPieces comboBoxPieces(int width, int height, int scrollArrowWidth, int edgeFrameWidth,
                           int edgePictureHeight, const Margins& m) {
  ComboPieces p;
  p.button = {narrow(Wide(width) - scrollArrowWidth - 2), 0, width, height};
  const int fw = edgeFrameWidth, h = edgePictureHeight;
  const int side = m.left > 1 ? 2 : 1, top = m.top > 1 ? 2 : 1, bottom = m.bottom > 1 ? 2 : 1;
  const int end = p.button.left;
  p.edge = {
      {{0, 0, side, height}, {0, m.top, m.left, h - m.bottom}},
      {{0, 0, end, top}, {m.left, 0, fw - m.right, m.top}},
      {{0, 0, top, top}, {0, 0, m.left, m.top}},
      {{0, height - bottom, end, height}, {m.left, h - m.bottom, fw - m.right, h}},
      {{0, height - bottom, bottom, height}, {0, h - m.bottom, m.left, h}},
  };
  return p;
}

}  // namespace vrin
