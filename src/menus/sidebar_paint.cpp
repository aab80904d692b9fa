// The painting side of the side-bar menus: item bodies replayed from the pure paint plan,
// the bar rendered into its cached bitmap and copied beside each item, and the menu window
// effects (translucency, flat frame).
#include <cstring>
#include <optional>

#include "menus/pure/sidebar_glyphs.h"
#include "menus/pure/sidebar_render.h"
#include "menus/sidebar_menus.h"
#include "ui/imagelist.h"
#include "ui/window_hooks.h"

namespace vrin {

namespace {

const SystemColourLookup& systemColours() {
  static const SystemColourLookup lookup = [](int index) { return MenuColour(GetSysColor(index) & 0xFFFFFF); };
  return lookup;
}

Rect toRect(const RECT& r) { return {int(r.left), int(r.top), int(r.right), int(r.bottom)}; }
RECT toRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
Color toColor(MenuColour c) { return Color(value(c)); }
COLORREF toColorRef(Pixel p) { return COLORREF(value(fromPixel(p))); }
Pixel fromColorRef(COLORREF c) { return toPixel(MenuColour(c & 0xFFFFFF)); }

// ---- Run-time lookup of the layered-window functions (missing on old systems) ----

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

struct LayeredFunctions {
  SetLayeredWindowAttributesFn setLayeredWindowAttributes = nullptr;
  FARPROC updateLayeredWindow = nullptr;  // looked up with it; not used
};

LayeredFunctions lookUpLayeredFunctions() {
  LayeredFunctions f;
  if (HMODULE user32 = GetModuleHandleA("user32.dll")) {
    f.setLayeredWindowAttributes =
        reinterpret_cast<SetLayeredWindowAttributesFn>(
            reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
    f.updateLayeredWindow = GetProcAddress(user32, "UpdateLayeredWindow");
  }
  return f;
}

const LayeredFunctions gLayered = lookUpLayeredFunctions();

// ---- Glyphs ----

struct Glyph {
  Image image;
  bool monochrome = false;
};

Image imageOfBitmap(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};
  Image img(bm.bmWidth, bm.bmHeight);
  BITMAPINFO bi = topDownBitmapInfo(bm.bmWidth, bm.bmHeight);
  const int rows = GetDIBits(WindowDC(nullptr).get(), bitmap, 0, UINT(bm.bmHeight), img.pixels.data(), &bi,
                            DIB_RGB_COLORS);
  if (rows != bm.bmHeight) return {};
  for (Pixel& p : img.pixels) p &= 0xFFFFFF;
  return img;
}

// The system check mark; drawn by the system into a bitmap where the stock one is missing.
const Glyph& checkGlyph() {
  static const Glyph glyph = [] {
    Glyph g;
    constexpr int kObmCheck = 32760;
    if (HBITMAP check = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kObmCheck))) {
      BITMAP bm{};
      GetObjectW(check, sizeof bm, &bm);
      g.monochrome = bm.bmBitsPixel == 1;
      g.image = imageOfBitmap(check);
      DeleteObject(check);
    }
    if (g.image.empty()) {
      Bitmap drawn(16, 16);
      RECT box{0, 0, 16, 16};
      FillRect(drawn.dc(), &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      DrawFrameControl(drawn.dc(), &box, DFC_MENU, DFCS_MENUCHECK);
      g.image = drawn.toImage();
      g.monochrome = true;
    }
    return g;
  }();
  return glyph;
}

// The round dot of checked radio items: the program's bitmap resource when it is linked in,
// else the same picture made here.
const Glyph& radioGlyph() {
  static const Glyph glyph = [] {
    Glyph g;
    if (HANDLE res = LoadImageA(moduleInstance(), kRadioGlyphName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)) {
      g.image = imageOfBitmap(static_cast<HBITMAP>(res));
      DeleteObject(res);
    }
    if (g.image.empty()) g.image = radioGlyphImage();
    return g;
  }();
  return glyph;
}

void drawGlyph(HDC dc, const Glyph& glyph, MenuPoint at, Pixel ink) {
  for (const GlyphDot& d : transparentGlyphDots(glyph.image, glyph.monochrome, ink))
    SetPixel(dc, at.x + d.x, at.y + d.y, toColorRef(d.colour));
}

// ---- Item bodies ----

MenuSize measureText(Canvas& canvas, const std::string& text, unsigned flags) {
  RECT r{0, 0, 0, 0};
  canvas.drawText(text, r, flags | DT_CALCRECT | DT_NOCLIP);
  return {int(r.right - r.left), int(r.bottom - r.top)};
}

// The pixels that exist on the canvas: the menu window's client area, else the DC's clip box.
Rect paintableBounds(HDC dc, HWND window) {
  RECT r{};
  if (window && GetClientRect(window, &r)) return toRect(r);
  if (GetClipBox(dc, &r) == ERROR) return {};
  return toRect(r);
}

void replayPlan(const ItemDrawPlan& plan, ISideBarMenu& menu, MenuItem& item, Canvas& canvas, HWND window) {
  HDC dc = canvas.handle();
  const SystemColourLookup& lookup = systemColours();
  const FontSpec base = canvas.font.desc();
  auto text = [&](const std::string& s, const PaintOp& op) {
    FontSpec f = base;
    f.color = toColor(op.colour);
    if (plan.bold) f.style |= fsBold;
    canvas.font.assign(f);
    canvas.brushClear = true;
    RECT r = toRECT(op.rect);
    canvas.drawText(s, r, op.flags);
    canvas.brushClear = false;
  };

  for (const PaintOp& op : plan.ops) {
    RECT r = toRECT(op.rect);
    switch (op.kind) {
      case PaintKind::Fill:
        canvas.brushClear = false;
        canvas.brushColor = toColor(op.colour);
        canvas.fillRect(r);
        break;
      case PaintKind::Checker: {
        const Pixel face = resolvePixel(cl::BtnFace, lookup);
        const Pixel light = resolvePixel(cl::BtnHighlight, lookup);
        for (int y = op.rect.top; y < op.rect.bottom; ++y)
          for (int x = op.rect.left; x < op.rect.right; ++x) SetPixel(dc, x, y, toColorRef(checkerPixel(x, y, face, light)));
        break;
      }
      case PaintKind::Frame:
        canvas.brushClear = false;
        canvas.brushColor = toColor(op.colour);
        canvas.frameRect(r);
        break;
      case PaintKind::Edge:
        DrawEdge(dc, &r, op.flags, op.sides);
        break;
      case PaintKind::ListImage:
        if (ImageList* list = item.imageList()) list->draw(dc, op.at.x, op.at.y, item.imageIndex(), !op.disabled);
        break;
      case PaintKind::CheckGlyph:
        drawGlyph(dc, checkGlyph(), op.at, resolvePixel(cl::BtnText, lookup));
        break;
      case PaintKind::RadioGlyph:
        drawGlyph(dc, radioGlyph(), op.at, resolvePixel(cl::BtnText, lookup));
        break;
      case PaintKind::Bitmap: {
        Bitmap& own = item.bitmap();
        if (own.empty()) break;
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, own.dc(), 0, 0, own.width(), own.height(),
                   SRCCOPY);
        break;
      }
      case PaintKind::Caption:
        text(item.caption(), op);
        break;
      case PaintKind::Shortcut:
        text(ShortCutToText(item.shortCut()), op);
        break;
      case PaintKind::SeparatorText: {
        // In the canvas colour; the separator font only where the plan asks for it.
        if (plan.separatorFont) canvas.font.assign(menu.getSeparators().font());
        canvas.brushClear = true;
        canvas.drawText(plan.separatorText, r, op.flags);
        canvas.brushClear = false;
        break;
      }
      case PaintKind::FadedLine: {
        const Rect bounds = paintableBounds(dc, window);
        drawFadedLine([dc](int x, int y) { return fromColorRef(GetPixel(dc, x, y)); },
                      [dc](int x, int y, Pixel p) { SetPixel(dc, x, y, toColorRef(p)); }, bounds, op.rect, op.gap,
                      op.fadeWidth, resolvePixel(op.colour, lookup));
        break;
      }
      case PaintKind::Gradient:
        canvas.brushColor = toColor(op.colour);
        fillGradientOnCanvas(canvas, r, op.gradientStyle, op.colour, op.colour2);
        break;
    }
  }
}

ItemDrawInput itemDrawInput(ISideBarMenu& menu, MenuItem& item, const RECT& rect, UINT state, bool barHere) {
  const OsVersion& os = sideBarOsVersion();
  Menu* m = menu.getMenuObject();
  const SideBar& bar = menu.getBar();
  const Separators& sep = menu.getSeparators();
  ItemDrawInput in;
  in.itemRect = toRect(rect);
  in.state = state;
  in.barHere = barHere;
  in.barWidth = bar.width();
  in.barSpace = bar.space();
  in.barSide = bar.side();
  in.mainMenuTopLevel = isMainMenuTopLevel(menu, item);
  in.style = menu.getEffectiveMenuStyle();
  in.windows98Test = isWindows98Test(os);
  in.windows2000Test = isWindows2000Test(os);
  in.xpStyleDefault = isXpStyleDefault(os);
  in.rightToLeft = m->isRightToLeft();
  in.separators.style = sep.separatorStyle();
  in.separators.alignment = sep.alignment();
  in.separators.fade = sep.fade();
  in.separators.fadeWidth = sep.fadeWidth();
  in.separators.fadeColour = sep.fadeColor();
  in.separators.flatLines = sep.flatLines();
  in.separators.useSystemFont = sep.useSystemFont();
  in.separators.gradientStyle = sep.gradientStyle();
  in.separators.gradientStart = sep.gradientStart();
  in.separators.gradientEnd = sep.gradientEnd();
  in.separator = item.isLine();
  in.enabled = item.enabled();
  in.checked = item.checked();
  in.radioItem = item.radioItem();
  in.isDefault = item.isDefault();
  in.hasShortcut = item.shortCut() != 0;
  if (ImageList* list = item.imageList()) {
    in.hasImageList = true;
    in.imageSize = {list->width(), list->height()};
    in.imageCount = list->count();
  }
  in.imageIndex = item.imageIndex();
  if (!item.bitmap().empty()) in.bitmapSize = {item.bitmap().width(), item.bitmap().height()};
  in.checkGlyphSize = {checkGlyph().image.width, checkGlyph().image.height};
  in.radioGlyphSize = {radioGlyph().image.width, radioGlyph().image.height};
  return in;
}

// ---- Menu window effects ----

void applyTranslucency(ISideBarMenu& menu, HWND window) {
  if (!window || !gLayered.setLayeredWindowAttributes) return;
  const LONG_PTR ex = GetWindowLongPtrA(window, GWL_EXSTYLE);
  if (menu.getMenuObject()->isPopup()) {
    const std::uint8_t alpha = menu.getAlphaBlendValue();
    if (!(ex & WS_EX_LAYERED) && alpha < 255) {
      SetWindowLongPtrA(window, GWL_EXSTYLE, ex | WS_EX_LAYERED);
      gLayered.setLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
    }
  } else if (ex & WS_EX_LAYERED) {
    gLayered.setLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
    SetWindowLongPtrA(window, GWL_EXSTYLE, ex & ~LONG_PTR(WS_EX_LAYERED));
  }
}

HWND ownHostWindow(ISideBarMenu& menu) {
  Menu* m = menu.getMenuObject();
  if (m->isPopup()) return PopupMenu::ownerWindow();
  auto* main = dynamic_cast<CustomSideBarMainMenu*>(m);
  return main ? main->hostWindow() : nullptr;
}

bool forgetRegionMark(void*, HWND window, UINT msg, WPARAM, LPARAM, LRESULT&) {
  if (msg == WM_DESTROY) RemovePropA(window, kFlatFrameRegionProp);
  return false;
}

void paintFlatFrame(ISideBarMenu& menu, HWND window) {
  Menu* m = menu.getMenuObject();
  if (!menu.getFlatBorder() || !window || m->designing() || window == ownHostWindow(menu)) return;
  RECT wr{};
  if (!GetWindowRect(window, &wr)) return;
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  // The region is set once per window; a property remembers it. The menu window belongs to
  // the system, so its user data is not ours to use.
  if (!GetPropA(window, kFlatFrameRegionProp)) {
    HRGN region = nullptr;
    if (m->isPopup()) {
      RECT whole{0, 0, w, h};
      region = CreateRectRgnIndirect(&whole);
    }
    // On success the window owns the region.
    if (!SetWindowRgn(window, region, TRUE) && region) DeleteObject(region);
    if (SetPropA(window, kFlatFrameRegionProp, HANDLE(1)))
      WndProcHook::instance().RegisterWndProcHook(window, HookPhase::After, &forgetRegionMark, nullptr);
  }
  if (WindowDC wdc(window, WindowDC::Area::Window); wdc) {
    GdiObject<HBRUSH> shadow(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
    GdiObject<HBRUSH> face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    RECT outer{0, 0, w, h};
    RECT inner{1, 1, w - 1, h - 1};
    FrameRect(wdc.get(), &outer, shadow.get());
    FrameRect(wdc.get(), &inner, face.get());
  }
}

// ---- The bar ----

Image pictureImage(const BarPicture& p) {
  const Bitmap* bmp = p.pictureIfAny();
  return bmp && !bmp->empty() ? bmp->toImage() : Image();
}

void writeImage(Bitmap& bmp, const Image& img) {
  if (bmp.empty() || !bmp.pixels() || img.width != bmp.width() || img.height != bmp.height()) return;
  GdiFlush();
  std::memcpy(bmp.pixels(), img.pixels.data(), img.pixels.size() * sizeof(Pixel));
}

void drawBarCaption(const SideBar& bar, Bitmap& bmp, Canvas& canvas) {
  const BarCaption& cap = bar.barCaption();
  canvas.font.assign(cap.font());
  if (cap.caption().empty()) return;
  const FontSpec& captionFont = cap.font();
  FontDescription desc;
  desc.name = captionFont.name;
  desc.height = captionFont.height;
  desc.bold = captionFont.style & fsBold;
  desc.italic = captionFont.style & fsItalic;
  desc.underline = captionFont.style & fsUnderline;
  desc.strikeOut = captionFont.style & fsStrikeOut;
  const bool down = cap.direction() == Direction::dUpToDown;
  const RotatedFontFields f = rotatedFontFields(desc, down ? -90 : 90);

  LOGFONTW lf{};
  lf.lfHeight = f.height;
  lf.lfWidth = f.width;
  lf.lfEscapement = f.escapement;
  lf.lfOrientation = f.orientation;
  lf.lfWeight = f.weight;
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfStrikeOut = f.strikeOut;
  lf.lfCharSet = BYTE(f.charSet);
  lf.lfPitchAndFamily = BYTE(f.pitchAndFamily);
  const std::wstring face = widen(f.faceName);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  GdiObject<HFONT> font(CreateFontIndirectW(&lf));
  if (!font) return;

  HDC dc = bmp.dc();
  const std::wstring text = widen(cap.caption());
  SelectScope selected(dc, font.get());
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);

  BarCaptionInput in;
  in.caption = cap.caption();
  in.extent = {int(extent.cx), int(extent.cy)};
  in.bar = {bmp.width(), bmp.height()};
  in.alignment = cap.alignment();
  in.direction = cap.direction();
  in.offsetY = cap.offsetY();
  in.depth = cap.depth();
  in.fontColour = MenuColour(captionFont.color);
  in.shadowColour = cap.shadowColor();
  in.highlightColour = cap.highlightColor();
  if (const Bitmap* fore = bar.barPicture().pictureIfAny(); fore && !fore->empty()) in.forePictureHeight = fore->height();
  in.forePictureAlignment = bar.barPicture().vertAlignment();
  const BarCaptionLayout layout = layoutBarCaption(in, systemColours());

  const UINT oldAlign = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  SetBkMode(dc, TRANSPARENT);
  const RECT clip = toRECT(layout.clip);
  for (const CaptionDraw& d : layout.draws) {
    SetTextColor(dc, COLORREF(value(d.colour)));
    ExtTextOutW(dc, d.origin.x, d.origin.y, ETO_CLIPPED, &clip, text.c_str(), UINT(text.size()), nullptr);
  }
  SetBkMode(dc, OPAQUE);
  SetTextAlign(dc, oldAlign);
}

void renderBar(ISideBarMenu& menu, Bitmap& bmp) {
  Component* sender = menu.getMenuObject();
  const SideBar& bar = menu.getBar();
  const RECT whole{0, 0, bmp.width(), bmp.height()};
  Canvas& canvas = bmp.canvas();
  bool defaultDraw = true;
  if (OnBeforeDrawBarEvent e = menu.getOnBeforeDrawBar()) e.call(sender, canvas, whole, defaultDraw);
  if (!defaultDraw) return;

  const Image back = pictureImage(bar.barBackPicture());
  const Image fore = pictureImage(bar.barPicture());
  BarRenderSettings s;
  s.gradientStyle = bar.gradientStyle();
  s.gradientStart = bar.gradientStart();
  s.gradientEnd = bar.gradientEnd();
  s.border = bar.border();
  s.backPicture.picture = back.empty() ? nullptr : &back;
  s.backPicture.transparent = bar.barBackPicture().transparent();
  s.backPicture.placement = {bar.barBackPicture().offsetX(), bar.barBackPicture().offsetY(),
                             bar.barBackPicture().vertAlignment(), bar.barBackPicture().horzAlignment()};
  s.backPicture.visible = bar.barBackPicture().visible();
  s.backPicture.drawStyle = bar.barBackPicture().drawStyle();
  s.picture.picture = fore.empty() ? nullptr : &fore;
  s.picture.transparent = bar.barPicture().transparent();
  s.picture.placement = {bar.barPicture().offsetX(), bar.barPicture().offsetY(), bar.barPicture().vertAlignment(),
                         bar.barPicture().horzAlignment()};
  s.picture.visible = bar.barPicture().visible();

  BarParts parts = defaultBarParts(s, bar.barCaption().visible());
  if (OnAdvancedBeforeDrawBarEvent e = menu.getOnAdvancedBeforeDrawBar()) e.call(sender, canvas, whole, parts);

  // Whatever a handler painted stays under the parts it leaves out.
  Image img = bmp.toImage();
  renderBarParts(img, s, parts, systemColours());
  writeImage(bmp, img);
  if (parts & bpCaption) drawBarCaption(bar, bmp, canvas);
}

void copyBar(HDC target, Bitmap& bmp, const Rect& source, const Rect& dest) {
  if (bmp.empty() || dest.empty()) return;
  BitBlt(target, dest.left, dest.top, dest.width(), dest.height(), bmp.dc(), source.left, source.top, SRCCOPY);
}

}  // namespace

void fillGradientOnCanvas(Canvas& canvas, const RECT& r, GradientStyle style, MenuColour start, MenuColour end) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || !canvas.handle()) return;
  Image img(w, h);
  fillGradient(img, {0, 0, w, h}, style, start, end, systemColours());
  Bitmap tile;
  tile.fromImage(img);
  if (tile.empty()) return;
  BitBlt(canvas.handle(), r.left, r.top, w, h, tile.dc(), 0, 0, SRCCOPY);
}

namespace {

// Where the bar lies on the menu window: its top row and its height. The window system may keep
// a margin around the items (Wine keeps a few pixels inside the client area), so the bar spans
// the column of items that carry it as the window reports them, falling back to the whole
// client area. Without a window the bar starts at row 0 and keeps the height collected while
// measuring.
struct BarPlace {
  int top = 0;
  std::optional<int> height;
};

BarPlace barPlace(HWND window) {
  BarPlace place;
  RECT client{};
  if (!window || !GetClientRect(window, &client)) return place;
  place.height = int(client.bottom - client.top);
  HMENU shown = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  const int count = shown && IsMenu(shown) ? GetMenuItemCount(shown) : 0;
  std::optional<int> top, bottom;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoW(shown, UINT(i), TRUE, &mii)) break;
    if (mii.fType & (MFT_MENUBREAK | MFT_MENUBARBREAK)) break;  // later columns carry no bar
    RECT r{};
    if (!GetMenuItemRect(nullptr, shown, UINT(i), &r)) break;
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(nullptr, window, corners, 2);
    if (!top) top = int(corners[0].y);
    bottom = int(corners[1].y);
  }
  if (top && bottom && *bottom > *top && *top >= 0 && *bottom <= client.bottom) {
    place.top = *top;
    place.height = *bottom - *top;
  }
  return place;
}

Rect shifted(Rect r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

}  // namespace

void drawBarBeside(ISideBarMenu& menu, Canvas& canvas, const RECT& itemRect, HWND menuWindow) {
  BarState& state = menu.getBarState();
  const SideBar& bar = menu.getBar();
  BarPlace place;
  if (state.core.heightPending) {
    place = barPlace(menuWindow);
    state.barTop = place.top;
  }
  Bitmap& bmp = state.barBitmap();
  const MenuSize have{bmp.width(), bmp.height()};
  const MenuSize want = settleBar(state.core, place.height, have, bar.width());
  if (want != have) bmp.setSize(want.width, want.height);
  const MenuSize size{bmp.width(), bmp.height()};

  // The bar's own coordinates: its first column at the item's left, its first row at barTop.
  const int dx = int(itemRect.left), dy = state.barTop;
  const BarCopy copy = barCopyFor(state.core, shifted(toRect(itemRect), -dx, -dy), bar.width(), size, bar.side());
  const Rect dest = shifted(copy.dest, dx, dy);
  if (!copy.render) {
    copyBar(canvas.handle(), bmp, copy.source, dest);
    return;
  }
  if (bmp.empty()) return;  // no height yet: nothing to render into
  renderBar(menu, bmp);
  copyBar(canvas.handle(), bmp, copy.source, dest);
  const RECT whole{0, 0, bmp.width(), bmp.height()};
  if (OnAfterDrawBarEvent e = menu.getOnAfterDrawBar()) e.call(menu.getMenuObject(), bmp.canvas(), whole);
  state.core.barValid = true;
}

void drawSideBarMenuItem(ISideBarMenu& menu, MenuItem& item, Canvas& canvas, const RECT& rect, UINT state) {
  HWND window = WindowFromDC(canvas.handle());
  menu.setMenuWindow(window);
  applyTranslucency(menu, window);

  const bool barHere = itemBarVisible(menu, item) && !itemInLaterColumn(item);
  {
    // The item's own advanced handler is out of the way while it is drawn, whatever happens.
    struct Restore {
      MenuItem& item;
      MenuAdvancedDrawEvent saved;
      ~Restore() { item.onAdvancedDrawItem = saved; }
    } restore{item, item.onAdvancedDrawItem};
    item.onAdvancedDrawItem = nullptr;

    ItemDrawInput in = itemDrawInput(menu, item, rect, state, barHere);
    const RECT body = toRECT(itemBodyRect(in));
    if (!menu.getUseSystemFont()) canvas.font.assign(menu.getMenuFont());

    bool defaultDraw = true;
    if (SideBarDrawModule* module = menu.getDrawModule())
      module->drawBarMenuItem(&item, canvas, body, state, barHere, defaultDraw);
    if (defaultDraw) {
      // The caption is measured with the font and flags it is drawn with.
      const FontSpec base = canvas.font.desc();
      FontSpec captionFont = base;
      if ((state & ODS_DEFAULT) || item.isDefault()) captionFont.style |= fsBold;
      canvas.font.assign(captionFont);
      in.captionExtent = measureText(canvas, measuredItemText(item.caption()),
                                     itemTextFlags(state, in.windows2000Test, in.rightToLeft));
      canvas.font.assign(base);
      const std::string hint = item.hint();
      in.hint = hint;
      const std::string_view shown = separatorText(in.enabled, hint);
      if (in.separator && !shown.empty())
        in.separatorTextExtent = measureText(canvas, " " + std::string(shown) + " ",
                                             DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      replayPlan(planItemBody(in, systemColours()), menu, item, canvas, window);
    }
  }

  if (barHere) drawBarBeside(menu, canvas, rect, window);
  paintFlatFrame(menu, window);
}

}  // namespace vrin
