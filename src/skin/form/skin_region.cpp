// The window region of a skinned window: the client area plus the border pictures with their
// magenta cut away.
#include <algorithm>

#include "skin/form/skin_form.h"
#include "skin/pure/skin_draw.h"
#include "skin/skin_data.h"
#include "skin/skin_gdi.h"

namespace vrin {

HRGN SkinForm::regionPart(const SkinElement& border, const RegionPart& part, bool stacked, bool fromCache) const {
  if (!part.picture || part.width <= 0 || part.height <= 0)
    return CreateRectRgn(part.x, part.y, part.x + std::max(part.width, 0), part.y + std::max(part.height, 0));
  Image picture;
  if (fromCache && titleCache_.height == part.height && titleCache_.width >= nc_.left + part.width) {
    picture = Image(part.width, part.height);
    stretchCopy(picture, {0, 0, part.width, part.height}, titleCache_,
                {nc_.left, 0, nc_.left + part.width, part.height});
  } else {
    picture = composeBorder(border, part.width, part.height, stacked);
  }
  return regionFromImage(picture, part.x, part.y, 1, 1, 1).release();
}

void SkinForm::updateRegion() {
  RECT r{};
  if (!GetWindowRect(window_, &r)) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  if (MdiKind == 2 && WindowState != wsNormal) return;
  if (w == regionWidth_ && h == regionHeight_ && MdiKind != 2 && Phase != phReapplying) return;
  const SkinSettings& s = skin_->Settings();
  const RegionPlan plan = regionPlan(w, h, nc_, Borderless, s);
  GdiObject<HRGN> region;
  try {
    if (plan.shaped) {
      regionWidth_ = w;
      regionHeight_ = h;
      region.reset(CreateRectRgn(plan.inner.left, plan.inner.top, plan.inner.right, plan.inner.bottom));
      if (!Borderless) {
        GdiObject<HRGN> left(regionPart(s.BorderLeft, plan.left, false, false));
        GdiObject<HRGN> right(regionPart(s.BorderRight, plan.right, false, false));
        GdiObject<HRGN> bottom(regionPart(s.BorderBottom, plan.bottom, true, false));
        GdiObject<HRGN> top(plan.top.present ? regionPart(s.BorderTop, plan.top, true, !titleCache_.empty())
                                             : CreateRectRgn(0, 0, 0, 0));
        CombineRgn(left.get(), left.get(), right.get(), RGN_OR);
        CombineRgn(bottom.get(), bottom.get(), top.get(), RGN_OR);
        CombineRgn(left.get(), left.get(), bottom.get(), RGN_OR);
        CombineRgn(region.get(), region.get(), left.get(), RGN_OR);
      }
    } else {
      region.reset(CreateRectRgn(0, 0, w, h));
    }
  } catch (...) {
    // A region that cannot be made leaves the window rectangular; nothing else depends on it.
    return;
  }
  // The system owns the region once it is set.
  if (region && SetWindowRgn(window_, region.get(), TRUE)) {
    region.release();
    RegionOwned = true;
  }
}

void SkinForm::dropRegion() {
  if (!RegionOwned) return;
  titleCache_ = {};
  titleBase_ = {};
  SetWindowRgn(window_, nullptr, FALSE);
  RegionOwned = false;
  regionWidth_ = regionHeight_ = -1;
}

}  // namespace vrin
