#pragma once
// Objects drawn in a skinned window's non-client area that react to the mouse (title
// buttons, menu-bar items), and the rules of their mouse states. At most one of a window's
// objects is hot (under the mouse or pressed); the window keeps which.
#include "core/image.h"

namespace vrin {

class NcObject;

// The window side: which object is hot.
struct NcHost {
  NcObject* HotObject = nullptr;
};

enum NcState { ncNormal = 1, ncPressed = 2, ncHot = 3 };

class NcObject {
 public:
  explicit NcObject(NcHost& owner) : owner_(owner) {}
  virtual ~NcObject();
  NcObject(const NcObject&) = delete;
  NcObject& operator=(const NcObject&) = delete;

  Rect Bounds;  // window coordinates
  bool Visible = true;
  int State = ncNormal;

  // Pressed: the previous hot object leaves first.
  virtual void MouseDown();
  virtual void MouseUp();
  // Under the mouse: nothing when already hot; the previous hot object leaves first.
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}

  NcHost& owner() const { return owner_; }
  bool contains(int x, int y) const {
    return x >= Bounds.left && x < Bounds.right && y >= Bounds.top && y < Bounds.bottom;
  }

 private:
  NcHost& owner_;
};

}  // namespace vrin
