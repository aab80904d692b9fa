#pragma once
// The frame arithmetic of a skinned window: border sizes from the skin's border pictures, the
// client rectangle the skinner answers to WM_NCCALCSIZE, the frame size that keeps a client
// size, window coordinates, and the parts the window region is made of.
#include <cstdint>

#include "core/image.h"
#include "skin/pure/skin_settings.h"

namespace vrin {

// Window style bits the skinner reads (the window system's values).
namespace wstyle {
constexpr std::uint32_t Popup = 0x80000000u, Child = 0x40000000u, Border = 0x00800000u,
                        DlgFrame = 0x00400000u, Caption = 0x00C00000u, SysMenu = 0x00080000u,
                        ThickFrame = 0x00040000u, MinimizeBox = 0x00020000u, MaximizeBox = 0x00010000u;
constexpr std::uint32_t ExMdiChild = 0x40u, ExToolWindow = 0x80u, ExWindowEdge = 0x100u;
}  // namespace wstyle

struct BorderSizes {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const BorderSizes&) const = default;
};

// A WS_POPUP window with neither border nor dialog frame, no thick frame, no window edge.
bool isBorderless(std::uint32_t style, std::uint32_t exStyle);

// The frame size of one border picture: stacked frames (Top, Bottom) divide the height,
// side-by-side frames (Left, Right) the width. A frame count below 1 counts as 1.
int borderFrameSize(const SkinElement& border, bool stacked);
// NcLeft, NcTop, NcRight, NcBottom; all 0 for a borderless window.
BorderSizes borderSizes(const SkinSettings& skin, bool borderless);

// The client rectangle for a window placed at `window`: inside the borders and below the
// menu bar. A window smaller than its borders gets an empty (never inverted) client area.
Rect nonClientClientRect(const Rect& window, const BorderSizes& b, int menuBarHeight);

// The window size that keeps a client size: client + borders (+ the menu bar), clamped to
// the int range.
Rect framedSize(int clientWidth, int clientHeight, const BorderSizes& b, int menuBarHeight);

// A point relative to the client area turned into window coordinates (the window's top-left
// is 0, 0); a minimized window has no client offset.
void clientToWindow(int& x, int& y, const BorderSizes& b, int menuBarHeight, bool minimized);

// Which frame of a border picture shows: frame 1 while active or when there is one frame.
inline int borderFrame(bool active, int frameCount) { return active || frameCount == 1 ? 1 : 2; }

// The window region of a W x H skinned window: the inner rectangle plus, unless borderless,
// four border parts. Each part is composed at `size` from its border picture (when
// `picture`) and placed at (x, y); a part that is not `present` is left out.
struct RegionPart {
  bool present = false;
  bool picture = false;  // the border's magenta cut (Trans 1), else a plain rectangle
  int width = 0, height = 0;
  int x = 0, y = 0;
};
struct RegionPlan {
  bool shaped = false;  // some border has a non-zero Trans; otherwise the region is `inner`
  Rect inner;
  RegionPart left, right, bottom, top;
};
RegionPlan regionPlan(int width, int height, const BorderSizes& b, bool borderless, const SkinSettings& skin);

}  // namespace vrin
