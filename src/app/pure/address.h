#pragma once
// Addresses in the history come from any process that can post to our window; only web
// addresses are ever handed to the browser.
#include <string_view>

namespace vrin {

// True for http://, https:// and ftp:// addresses (scheme case ignored), nothing else.
bool isNavigableAddress(std::string_view address);

}  // namespace vrin
