#include "core/colour_text.h"

#include <string>

namespace vrin {
namespace {

// Digits only, as the walk collects them; too large for 32 bits counts as a failed conversion.
unsigned convert(const std::string& digits) {
  std::uint64_t v = 0;
  for (char c : digits) {
    v = v * 10 + unsigned(c - '0');
    if (v > 0x7FFFFFFF) return 0;
  }
  return unsigned(v);
}

}  // namespace

Colour parseColourText(std::string_view text, Colour fallback) {
  if (text.empty()) return fallback;
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);

  unsigned numbers[3] = {0, 0, 0};
  int field = 1;
  std::string pending;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      pending.push_back(c);
      continue;
    }
    // A fourth field has no slot: it is dropped rather than written past the three.
    if (!pending.empty() && field <= 3) numbers[field - 1] = convert(pending);
    if (field <= 3) ++field;
    pending.clear();
  }
  if (!pending.empty() && field == 3) numbers[2] = convert(pending);
  return colourRgb(numbers[0] % 256, numbers[1] % 256, numbers[2] % 256);
}

}  // namespace vrin
