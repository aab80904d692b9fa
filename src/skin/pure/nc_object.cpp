#include "skin/pure/nc_object.h"

namespace vrin {

NcObject::~NcObject() {
  // A freed object must not stay hot.
  if (owner_.HotObject == this) owner_.HotObject = nullptr;
}

void NcObject::MouseDown() {
  if (owner_.HotObject && owner_.HotObject != this) owner_.HotObject->MouseLeave();
  if (!Visible) return;
  owner_.HotObject = this;
  State = ncPressed;
  Paint();
}

void NcObject::MouseUp() {
  if (!Visible) return;
  State = ncHot;
  Paint();
}

void NcObject::MouseEnter() {
  if (owner_.HotObject == this) return;
  if (owner_.HotObject) owner_.HotObject->MouseLeave();
  if (!Visible) return;
  owner_.HotObject = this;
  State = ncHot;
  Paint();
}

void NcObject::MouseLeave() {
  if (!Visible) return;
  owner_.HotObject = nullptr;
  State = ncNormal;
  Paint();
}

}  // namespace vrin
