#include "ui/imagelist.h"

namespace vrin {

const ClassInfo& ImageList::staticClassInfo() {
  static const ClassInfo info{"TImageList", &Component::staticClassInfo(), {}};
  return info;
}

ImageList::ImageList(Component* owner, int width, int height) : Component(owner), width_(width), height_(height) {
  list_ = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 8, 4);
}

ImageList::~ImageList() {
  if (list_) ImageList_Destroy(list_);
}

int ImageList::count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

void ImageList::addStrip(const char* resourceName, COLORREF mask) {
  HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(moduleInstance(), resourceName, IMAGE_BITMAP, 0, 0, 0));
  if (!bmp) throw Error(std::string("Ressource ") + resourceName + " introuvable");
  addMasked(bmp, mask);
  DeleteObject(bmp);
}

void ImageList::addMasked(HBITMAP bitmap, COLORREF mask) { ImageList_AddMasked(list_, bitmap, mask); }

void ImageList::draw(HDC dc, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= count()) return;
  if (enabled) {
    ImageList_Draw(list_, index, dc, x, y, ILD_TRANSPARENT);
  } else {
    // Disabled pictures: the system's embossed look.
    HICON icon = makeIcon(index);
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, width_, height_, DST_ICON | DSS_DISABLED);
    DestroyIcon(icon);
  }
}

HICON ImageList::makeIcon(int index) const {
  if (index < 0 || index >= count()) return nullptr;
  return ImageList_GetIcon(list_, index, ILD_TRANSPARENT);
}

}  // namespace vrin
