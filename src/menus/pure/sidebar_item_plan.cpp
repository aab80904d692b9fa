#include "menus/pure/sidebar_item_plan.h"

#include <cstdint>

namespace vrin {

namespace {
using i64 = std::int64_t;
}  // namespace

// ---- Item drawing ----

HostItemColours hostItemColours(unsigned state, bool mainMenuTopLevel, bool windows98Test) {
  const bool selected = (state & ods::Selected) && !(mainMenuTopLevel && windows98Test);
  if (selected) return {cl::Highlight, cl::HighlightText};
  return {cl::Menu, (windows98Test && (state & ods::Inactive)) ? cl::GrayText : cl::MenuText};
}

Rect itemBodyRect(const ItemDrawInput& in) {
  Rect r = in.itemRect;
  if (!in.barHere) return r;
  const i64 take = i64(in.barWidth) + in.barSpace;
  r.right = clampInt(i64(r.right) - take);
  if (in.barSide == Side::sLeft) r = offsetRect(r, clampInt(take), 0);
  return r;
}

namespace {

struct Planner {
  const ItemDrawInput& in;
  const SystemColourLookup& lookup;
  ItemDrawPlan& plan;
  MenuColour brush = cl::Menu;
  MenuColour font = cl::MenuText;

  void fill(const Rect& r, MenuColour c) { plan.ops.push_back({.kind = PaintKind::Fill, .rect = r, .colour = c}); }
  void drawEdge(const Rect& r, unsigned kind, unsigned sides) {
    plan.ops.push_back({.kind = PaintKind::Edge, .rect = r, .flags = kind, .sides = sides});
  }

  // Captions and shortcuts: right-to-left flags, and the embossed look of disabled items.
  void text(PaintKind kind, const Rect& r, unsigned flags) {
    if (in.rightToLeft) flags |= dt::Right | dt::RtlReading;
    const bool selected = in.state & ods::Selected;
    if (!in.enabled) {
      if (!selected)
        plan.ops.push_back({.kind = kind, .rect = offsetRect(r, 1, 1), .colour = cl::BtnHighlight, .flags = flags});
      // A highlight the same as the shadow would hide the text; use the light colour then.
      const bool sameAsShadow = resolvePixel(cl::Highlight, lookup) == resolvePixel(cl::BtnShadow, lookup);
      font = (selected && sameAsShadow) ? cl::BtnHighlight : cl::BtnShadow;
    }
    plan.ops.push_back({.kind = kind, .rect = r, .colour = font, .flags = flags});
  }

  void separator(Rect r);
  void content(Rect r);
};

void Planner::separator(Rect r) {
  const SeparatorLook& look = in.separators;
  const std::string_view caption = separatorText(in.enabled, in.hint);
  Rect l = r;
  if (look.style == SeparatorStyle::ssShortLine) {
    l.right = clampInt(i64(l.right) + 10);
    l.left = clampInt(i64(l.left) + 12);
    l.right = clampInt(i64(l.right) - 12);
  }
  const Rect f = l;
  auto fadedOp = [&](const Rect& line, std::optional<Rect> gap, MenuColour c) {
    plan.ops.push_back({.kind = PaintKind::FadedLine, .rect = line, .colour = c, .gap = gap, .fadeWidth = look.fadeWidth});
  };
  auto lineEdge = [&](const Rect& line) {
    if (look.flatLines)
      drawEdge(line, edge::RaisedOuter, edge::Top | edge::Flat);
    else
      drawEdge(line, edge::Etched, edge::Top);
  };

  if (caption.empty()) {
    l.top = clampInt(i64(l.top) + 5);
    if (look.fade) {
      if (!look.flatLines) fadedOp(l, std::nullopt, cl::BtnHighlight);
      l = offsetRect(l, 0, -1);
      fadedOp(l, std::nullopt, look.fadeColour);
    } else {
      lineEdge(l);
    }
    return;
  }

  plan.separatorText = " " + std::string(caption) + " ";
  if (look.style == SeparatorStyle::ssCaption) {
    unsigned flags = dt::SingleLine | dt::VCenter | dt::NoPrefix;
    if (look.alignment == Alignment::taRightJustify) flags |= dt::Right;
    if (look.alignment == Alignment::taCenter) flags |= dt::Center;
    plan.separatorFont = !look.useSystemFont;
    plan.ops.push_back({.kind = PaintKind::Gradient, .rect = l, .colour = look.gradientStart,
                        .colour2 = look.gradientEnd, .gradientStyle = look.gradientStyle});
    plan.ops.push_back({.kind = PaintKind::SeparatorText, .rect = l, .colour = font, .flags = flags});
    return;
  }

  const unsigned flags = dt::Center | dt::SingleLine | dt::VCenter | dt::NoPrefix;
  // The caption box: measured from F's corner, then placed by the alignment.
  Rect t{f.left, f.top, clampInt(i64(f.left) + in.separatorTextExtent.width),
         clampInt(i64(f.top) + in.separatorTextExtent.height)};
  const i64 room = spanOf(f.left, f.right) - spanOf(t.left, t.right);
  if (look.alignment == Alignment::taRightJustify) t = offsetRect(t, clampInt(room), 0);
  if (look.alignment == Alignment::taCenter) t = offsetRect(t, centreOffset(clampInt(room)), 0);

  l.top = clampInt(i64(l.top) + 6);
  const int keptRight = l.right;
  if (look.fade) {
    l = offsetRect(l, 0, 1);
    fadedOp(l, t, look.fadeColour);
    if (!look.flatLines) {
      l = offsetRect(l, 0, 1);
      fadedOp(l, t, cl::BtnHighlight);
    }
  } else {
    l.right = t.left;
    if (look.flatLines) l = offsetRect(l, 0, 1);
    lineEdge(l);
    l.right = keptRight;
    l.left = t.right;
    lineEdge(l);
  }
  plan.ops.push_back({.kind = PaintKind::SeparatorText, .rect = t, .colour = font, .flags = flags});
}

void Planner::content(Rect r) {
  const bool selected = in.state & ods::Selected;
  const bool xp = in.style == SideBarMenuStyle::msWindowsXP;
  const bool topLevel = in.mainMenuTopLevel;
  const bool hasBitmap = in.bitmapSize.width > 0 && in.bitmapSize.height > 0;

  if (!selected) fill(r, brush);
  Rect g{clampInt(i64(r.left) + 1), clampInt(i64(r.top) + 1), 0, 0};
  Rect s = r;

  const bool validIndex = in.imageIndex >= 0 && in.imageIndex < in.imageCount;
  const bool drawImage = in.hasImageList && (validIndex || (in.checked && !hasBitmap));
  const bool glyph = drawImage || hasBitmap;
  if (glyph) {
    const Size box = drawImage ? in.imageSize : Size{16, 16};
    g.right = clampInt(i64(g.left) + box.width);
    g.bottom = clampInt(i64(g.top) + box.height);
    const int d = clampInt((spanOf(r.top, r.bottom) - spanOf(g.top, g.bottom)) / 2 - 1);
    g = {g.left, clampInt(i64(g.top) + d), g.right, clampInt(i64(g.bottom) + d)};

    if (xp) {
      s.right = clampInt(i64(g.right) + 5);  // the glyph column
      if (in.checked) {
        if (selected) fill(s, cl::Highlight);
        g = offsetRect(g, 1, 0);
        if (!selected)
          plan.ops.push_back({.kind = PaintKind::Frame,
                              .rect = {clampInt(i64(g.left) - 1), clampInt(i64(g.top) - 1),
                                       clampInt(i64(g.right) + 1), clampInt(i64(g.bottom) + 1)},
                              .colour = cl::Highlight});
        if (selected) fill(g, cl::Menu);
      } else {
        fill(s, brush);
        g = offsetRect(g, 1, 0);
      }
    } else if (in.checked) {
      g.right = clampInt(i64(g.right) + 1);
      g.bottom = clampInt(i64(g.bottom) + 1);
      if (!selected)
        plan.ops.push_back({.kind = PaintKind::Checker, .rect = g});
      else
        fill(g, cl::BtnFace);
      g.left = clampInt(i64(g.left) + 1);
      g.top = clampInt(i64(g.top) + 1);
    }

    if (drawImage && validIndex) {
      plan.ops.push_back({.kind = PaintKind::ListImage, .at = {g.left, g.top}, .disabled = !in.enabled});
    } else if (drawImage) {
      const bool radio = in.radioItem;
      const Size gs = radio ? in.radioGlyphSize : in.checkGlyphSize;
      i64 x = g.left + (spanOf(g.left, g.right) - gs.width) / 2;
      i64 y = g.top + (spanOf(g.top, g.bottom) - gs.height) / 2;
      if (!xp) {
        ++x;
        ++y;
      } else if (!radio) {
        ++x;
      }
      plan.ops.push_back({.kind = radio ? PaintKind::RadioGlyph : PaintKind::CheckGlyph,
                          .at = {clampInt(x), clampInt(y)}});
    } else {
      // The item's own bitmap, centred when smaller than the box, else stretched into it.
      Rect b = g;
      if (in.bitmapSize.width < spanOf(b.left, b.right)) {
        b.left = clampInt(b.left + (spanOf(b.left, b.right) - in.bitmapSize.width) / 2 + 1);
        b.right = clampInt(i64(b.left) + in.bitmapSize.width);
      }
      if (in.bitmapSize.height < spanOf(b.top, b.bottom)) {
        b.top = clampInt(b.top + (spanOf(b.top, b.bottom) - in.bitmapSize.height) / 2 + 1);
        b.bottom = clampInt(i64(b.top) + in.bitmapSize.height);
      }
      plan.ops.push_back({.kind = PaintKind::Bitmap, .rect = b});
    }
    if (in.checked) {
      g.right = clampInt(i64(g.right) - 1);
      g.bottom = clampInt(i64(g.bottom) - 1);
    }
  } else if (in.hasImageList && !topLevel) {
    g.right = clampInt(i64(g.left) + in.imageSize.width);
    g.bottom = clampInt(i64(g.top) + in.imageSize.height);
  } else {
    g.right = g.left;
    g.bottom = g.top;
  }
  g = {clampInt(i64(g.left) - 1), clampInt(i64(g.top) - 1), clampInt(i64(g.right) + 2), clampInt(i64(g.bottom) + 2)};
  plan.glyphBox = g;

  if (!xp && (in.checked || (selected && glyph)))
    drawEdge(g, in.checked ? edge::SunkenOuter : edge::RaisedInner, edge::RectSides);

  // Selection.
  if (selected) {
    if (xp) {
      s = r;
      if (glyph) {
        r.left = clampInt(i64(g.right) + 1);
        s.left = clampInt(i64(g.right) - 1);
      }
      brush = cl::Highlight;
      fill(s, brush);
    } else {
      if (glyph) r.left = clampInt(i64(g.right) + 1);
      if (!(in.windows98Test && topLevel)) brush = cl::Highlight;
      fill(r, brush);
    }
  }

  if (topLevel) {
    if (xp) {
      if (selected || (in.state & ods::HotLight)) brush = cl::Highlight;
      fill(r, brush);
    } else if (in.windows98Test) {
      if (selected)
        drawEdge(r, edge::SunkenOuter, edge::RectSides);
      else if (in.state & ods::HotLight)
        drawEdge(r, edge::RaisedInner, edge::RectSides);
      if (!selected) r = offsetRect(r, 0, -1);
    }
  }

  if (!(selected && glyph)) r.left = clampInt(i64(g.right) + 1);
  r.left = clampInt(i64(r.left) + ((xp && !topLevel) ? 4 : 2));
  r.right = clampInt(i64(r.right) - 1);

  unsigned flags = dt::Left | dt::ExpandTabs | dt::SingleLine;
  if (in.windows2000Test && (in.state & ods::NoAccel)) flags |= dt::HidePrefix;
  s = r;
  plan.bold = (in.state & ods::Default) || in.isDefault;

  // The single-line measure keeps the left and top and bounds the text; then centre vertically.
  r.right = clampInt(i64(r.left) + in.captionExtent.width);
  r.bottom = clampInt(i64(r.top) + in.captionExtent.height);
  r = offsetRect(r, 0, clampInt((spanOf(s.top, s.bottom) - spanOf(r.top, r.bottom)) / 2));

  if (topLevel) {
    if (xp) {
      if (!(in.state & ods::Inactive) && (selected || (in.state & ods::HotLight))) font = cl::HighlightText;
      r.top = clampInt(i64(r.top) - 1);
    } else if (in.windows98Test && selected) {
      r = offsetRect(r, 1, 0);
    }
  }
  text(PaintKind::Caption, r, flags);

  if (in.hasShortcut && !topLevel) {
    r.left = r.right;
    r.right = clampInt(i64(s.right) - 10);
    text(PaintKind::Shortcut, r, flags | dt::Right);
  }
}

}  // namespace

ItemDrawPlan planItemBody(const ItemDrawInput& in, const SystemColourLookup& lookup) {
  ItemDrawPlan plan;
  Planner p{in, lookup, plan};
  const HostItemColours host = hostItemColours(in.state, in.mainMenuTopLevel, in.windows98Test);
  p.brush = host.brush;
  p.font = host.font;

  Rect r = itemBodyRect(in);
  const bool shortLine = in.separators.style == SeparatorStyle::ssShortLine && !in.mainMenuTopLevel;
  if (shortLine) r.right = clampInt(i64(r.right) - 10);
  plan.body = r;

  if (in.separator) {
    p.separator(r);
    return plan;
  }
  // The short-line margin keeps the host's brush (highlight when selected).
  if (shortLine) p.fill({r.right, r.top, clampInt(i64(r.right) + 10), r.bottom}, host.brush);

  const bool selected = in.state & ods::Selected;
  if (selected && !(in.mainMenuTopLevel && in.windows98Test)) {
    p.brush = cl::Highlight;
    p.font = cl::HighlightText;
  } else {
    p.font = (in.windows98Test && (in.state & ods::Inactive)) ? cl::GrayText : cl::MenuText;
    p.brush = (in.mainMenuTopLevel && in.xpStyleDefault) ? cl::BtnFace : cl::Menu;
  }
  p.content(r);
  return plan;
}

}  // namespace vrin
