#include "app/pure/address.h"

#include "core/text.h"

namespace vrin {

bool isNavigableAddress(std::string_view address) {
  for (std::string_view scheme : {"http://", "https://", "ftp://"})
    if (startsWithText(address, scheme)) return address.size() > scheme.size();
  return false;
}

}  // namespace vrin
