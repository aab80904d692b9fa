#include "skin/pure/scroll_paint.h"

#include "skin/pure/skin_draw.h"

namespace vrin {
namespace {

bool hasPicture(const SkinElement* e) { return e && !e->Image.empty(); }
Margins marginsOf(const SkinElement& e) { return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }

}  // namespace

Image composeScrollBar(const ScrollBarPictures& pictures, int length, const BarMetrics& metrics, bool horizontal,
                       int pressed) {
  if (!hasPicture(pictures.arrows) || length <= 0 || !imageSizeAllowed(length, kBarThickness)) return {};
  const int w = horizontal ? length : kBarThickness, h = horizontal ? kBarThickness : length;
  Image bar(w, h, pictures.background);
  const BarPieces pieces = barPieces(length, metrics, horizontal);
  if (const SkinElement* track = pictures.track; hasPicture(track))
    drawGrid(bar, pieces.track, track->Image, false, track->Tile != 0, track->Trans != 0, kTrackFrames, 1,
             marginsOf(*track));
  const Image& arrows = pictures.arrows->Image;
  const auto arrow = [&](const Rect& r, bool second) {
    const int part = horizontal ? (second ? kPartRightArrow : kPartLeftArrow) : (second ? kPartDownArrow : kPartUpArrow);
    const Rect source = frameRect(arrows, kScrollbarFrames, arrowFrame(horizontal, second, pressed == part), false);
    if (r.empty() || source.empty()) return;
    Image scaled(r.width(), r.height());
    stretchCopy(scaled, {0, 0, r.width(), r.height()}, arrows, source);
    drawTransparent(bar, r, scaled);
  };
  arrow(pieces.firstArrow, false);
  arrow(pieces.secondArrow, true);
  if (const SkinElement* thumb = pictures.thumb; pieces.thumbShown && hasPicture(thumb)) {
    const int frame = pressed == (horizontal ? kPartHorzThumb : kPartVertThumb) ? 2 : 1;
    drawGrid(bar, pieces.thumb, thumb->Image, false, false, thumb->Trans != 0, thumb->FrameCount, frame,
             marginsOf(*thumb));
  }
  return bar;
}

Image stretchAcross(const Image& bar, bool horizontal, int thickness) {
  if (bar.empty() || thickness <= 0) return {};
  const int w = horizontal ? bar.width : thickness, h = horizontal ? thickness : bar.height;
  if (!imageSizeAllowed(w, h)) return {};
  Image out(w, h);
  stretchCopy(out, {0, 0, w, h}, bar, {0, 0, bar.width, bar.height});
  return out;
}

}  // namespace vrin
