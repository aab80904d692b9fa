#pragma once
// Image lists: equal-sized pictures drawn by index (comctl32 underneath).
#include "ui/graphics.h"
#include "ui/pure/component.h"

namespace vrin {

class ImageList : public Component {
 public:
  explicit ImageList(Component* owner, int width = 16, int height = 16);
  ~ImageList() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  int width() const { return width_; }
  int height() const { return height_; }
  int count() const;
  HIMAGELIST handle() const { return list_; }
  // Appends the pictures of a horizontal strip resource; `mask` pixels become transparent.
  void addStrip(const char* resourceName, COLORREF mask);
  void addMasked(HBITMAP bitmap, COLORREF mask);
  void draw(HDC dc, int x, int y, int index, bool enabled = true) const;
  // A new icon of one picture; the caller destroys it. Null for an index outside the list.
  HICON makeIcon(int index) const;

 private:
  int width_, height_;
  HIMAGELIST list_ = nullptr;
};

}  // namespace vrin
