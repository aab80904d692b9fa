#pragma once
// The skin's pictures, in the order the skin container lists them.
#include <string>
#include <vector>

#include "core/image.h"

namespace picgen {

struct NamedPicture {
  std::string name;  // file name inside the skin, e.g. "top.bmp"
  vrin::Image image;
};

std::vector<NamedPicture> skinPictures();

}  // namespace picgen
