// Any text as a skin colour text: a plain colour comes out, or the fallback for empty text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/colour_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const vrin::Colour fallback = vrin::sysColour(8);
  const vrin::Colour c = vrin::parseColourText(text, fallback);
  if (text.empty() ? c != fallback : c > 0x00FFFFFFu) std::abort();
  // Blanks around the text never change the colour.
  std::string padded = " ";
  padded.append(text);
  padded.push_back(' ');
  if (!text.empty() && vrin::parseColourText(padded, fallback) != c) std::abort();
  return 0;
}
