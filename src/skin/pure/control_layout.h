#pragma once
// What the control skinners draw where, as plain arithmetic: the skin state of a button,
// the frame of a check or radio box and where the box sits, the glyph and caption of bit
// and speed buttons, the filled part of a progress bar, a caption centred in its box, and
// the pieces of a combo box's button and sunken edge. The Win32 skinners read the window
// (sizes, styles, states, measured texts) and hand the values here.
#include <cstdint>
#include <vector>

#include "core/colour_text.h"
#include "core/image.h"
#include "skin/pure/skin_draw.h"
#include "skin/pure/skin_settings.h"

namespace vrin {

// Skin pictures show one frame per state, numbered alike everywhere.
enum SkinFrame : int { kFrameNormal = 1, kFramePressed = 2, kFrameDisabled = 3, kFrameHot = 4 };

// Push, bit and combo buttons: pressed 2, else focused or hot 4, else 1; disabled is 3
// whatever the mouse or the focus says (a control disabled under the mouse keeps its hot
// flag, since leaving is only heard while enabled).
int buttonState(bool pressed, bool focused, bool hot, bool enabled);
// Speed buttons have no focus; a down button shows 2 even when disabled.
int speedButtonState(bool pressed, bool hot, bool enabled, bool down);
// The glyph (from 1) a speed button shows: 3 pressed, 2 disabled, else 1; 1 when the strip
// has fewer glyphs than that.
int speedButtonGlyph(int state, int glyphCount);

// Push button text: ButtonTextColor, or the element's second colour of the state (normal,
// hot, pressed; a disabled button keeps ButtonTextColor).
Colour pushButtonTextColour(const SkinElement& buttons, Colour buttonTextColour, int state);
// Bit and speed button text: the element's state colour names an entry of CustomColours;
// ButtonTextColor when it names none.
Colour bitButtonTextColour(const SkinSettings& skin, int state);

// Width of one frame of a side-by-side strip; a count below 1 counts as 1.
int stripFrameWidth(int stripWidth, int frameCount);

// Bit and speed button layouts: where the glyph sits against the caption.
enum class GlyphLayout : int { Left = 0, Right = 1, Top = 2, Bottom = 3 };

struct GlyphButton {
  int width = 0, height = 0;              // client extent
  int glyphWidth = 0, glyphHeight = 0;    // one glyph; 0 x 0 without a glyph
  int captionWidth = 0, captionHeight = 0;  // the measured caption; 0 x 0 without one
  GlyphLayout Layout = GlyphLayout::Left;
  int Margin = -1;  // -1: centred
  int Spacing = 4;  // -1: spread evenly
  bool speedButton = false;
};
struct GlyphPlacement {
  Rect glyph;    // the glyph's box
  Rect caption;  // the caption's own box
};
GlyphPlacement layoutGlyphButton(const GlyphButton& button);

// The box of a check or radio picture frame (frameWidth x frameHeight) in a window of that
// size: centred vertically; narrow frames centred in a 14-pixel column at the left (or right,
// BS_RIGHTBUTTON) edge, wider ones at the left edge or ending 1 pixel inside the right edge.
Rect checkBoxRect(int windowWidth, int windowHeight, int frameWidth, int frameHeight, bool rightButton);
// Check box frame from the window's disabled style and its BM_GETSTATE answer: disabled 3,
// checked 2, indeterminate 4, else 1.
int checkBoxFrame(bool disabled, std::uint32_t buttonState);
// Radio button frame: 1, plus 2 when disabled, plus 1 when checked.
int radioButtonFrame(bool disabled, bool checked);

// The filled part of a progress bar: from the bar's left, Position x width div Max pixels,
// kept inside the bar. Empty when Max is not above 0 (only the track is drawn then).
Rect progressFill(const Rect& bar, std::int32_t position, std::int32_t max);

// A caption's measured box (as DrawText's DT_CALCRECT leaves it) moved to the vertical
// centre of the area and, for centred text, to its horizontal centre.
Rect placeCaption(const Rect& area, const Rect& measured, bool centreHorizontally);

// Copy of a source rectangle of a picture, scaled to a target rectangle.
struct PictureCopy {
  Rect target;
  Rect source;
};
// A combo box of width x height: its button (the scroll-arrow width plus 2 at the right,
// full height) and the sunken edge copied from the first frame of the SunkEdge picture
// (frame width x picture height, the element's margins) onto the border left of the button:
// the left strip, the top strip, the top-left corner, the bottom strip and the bottom-left
// corner, in that order, each 1 pixel thick or 2 when its margin is above 1.
struct ComboPieces {
  Rect button;
  std::vector<PictureCopy> edge;
};
ComboPieces comboBoxPieces(int width, int height, int scrollArrowWidth, int edgeFrameWidth,
                           int edgePictureHeight, const Margins& margins);

}  // namespace vrin
