#include "skin/form/nc_objects.h"

#include "skin/form/skin_form.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_gdi.h"
#include "skin/skin_manager.h"

namespace vrin {

SkinTitleButton::SkinTitleButton(SkinForm& form, const SkinSysButtonElement& data)
    : TitleButton(form, data), form_(form) {}

Image SkinTitleButton::frameOver(const Image& background, int frame) const {
  const int w = Bounds.width(), h = Bounds.height();
  if (w <= 0 || h <= 0) return {};
  Image out = background.width == w && background.height == h ? background : Image(w, h, kKeyColour);
  const Rect all{0, 0, w, h};
  if (isIconAction(Data->Action))
    drawTransparent(out, all, form_.iconImage());
  else
    drawFrame(out, all, Data->Image, true, frame);
  return out;
}

void SkinTitleButton::Paint() {
  if (!inTitleBar()) {
    // The buttons of a maximized MDI child live in the menu bar.
    if (Visible && hasPicture() && Data->Visibility == 100) form_.paintBarButton(*this);
    return;
  }
  HWND window = form_.window();
  // Composed over the title bar as it was under the buttons, so no earlier state shows through.
  const Image& base = form_.titleBase();
  Image under(Bounds.width(), Bounds.height(), kKeyColour);
  if (!base.empty()) stretchCopy(under, {0, 0, under.width, under.height}, base, Bounds);
  const Image picture = frameOver(under, paintFrame(State, Data->Visibility));
  WindowDC dc(window, WindowDC::Area::Window);
  if (!dc) return;
  if (base.empty())
    drawImageTransparent(dc.get(), Bounds.left, Bounds.top, picture);
  else
    drawImage(dc.get(), Bounds.left, Bounds.top, picture);
}

void trackSystemMenu(HWND window, POINT screen) {
  if (HMENU menu = GetSystemMenu(window, FALSE))
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, screen.x, screen.y, 0, window, nullptr);
}

void SkinTitleButton::perform(POINT screen) {
  HWND window = form_.window();
  switch (titleEffect(Data->Action, form_.WindowState)) {
    case TitleEffect::Close:
      form_.stopHoverTimer();
      PostMessageW(window, WM_CLOSE, 0, 0);
      break;
    case TitleEffect::Restore: form_.restore(); break;
    case TitleEffect::Maximize:
      form_.WindowState = wsMaximized;
      ShowWindow(window, SW_SHOWMAXIMIZED);
      break;
    case TitleEffect::Minimize:
      form_.WindowState = wsMinimized;
      PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case TitleEffect::SystemMenu: trackSystemMenu(window, screen); break;
    case TitleEffect::MdiMinimize:
    case TitleEffect::MdiRestore:
    case TitleEffect::MdiClose: {
      if (form_.MdiKind != 1) break;
      const TitleEffect e = titleEffect(Data->Action, form_.WindowState);
      const WPARAM command = e == TitleEffect::MdiMinimize ? SC_MINIMIZE : e == TitleEffect::MdiRestore ? SC_RESTORE : SC_CLOSE;
      if (HWND child = form_.activeMdiChild()) SendMessageW(child, WM_SYSCOMMAND, command, 0);
      bool maximized = false;
      form_.activeMdiChild(&maximized);
      if (form_.manager().mdiMaximized() && !maximized) form_.manager().setMdiMaximized(false);
      break;
    }
    case TitleEffect::Notify: PostMessageW(window, kSkinButtonAction, WPARAM(Data->Action), 0); break;
  }
}

}  // namespace vrin
