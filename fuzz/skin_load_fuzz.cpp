// A skin file named by the user is outside bytes: the whole load (decompression, container,
// settings, pictures) must refuse damage without crashing.
#include <cstddef>
#include <cstdint>

#include "skin/pure/skin_load.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Small announced sizes keep each input quick; the size header is the first four bytes.
  if (size >= 4 && (data[2] | data[3]) != 0) return 0;
  (void)vrin::loadSkin(data, size);
  return 0;
}
