// Stored settings come back from the registry as any text: every conversion must cope.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "state/pure/property_text.h"

using namespace vrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  static const StringList names{"False", "True"};
  static const StringList members{"xcMainMenu", "xcPopupMenu", "xcToolbar", "xcCombo", "xcTab"};
  (void)integerFromText(text);
  (void)charFromText(text, 0xFF);
  (void)charFromText(text, 0xFFFF);
  (void)enumFromText(names, text);
  for (FloatType t : {FloatType::Single, FloatType::Double, FloatType::Extended, FloatType::Currency})
    if (auto v = floatFromText(text, t)) (void)floatText(*v, t);
  (void)setText(members, setFromText(members, text));
  std::string component, property;
  (void)splitPropertyEntry(text, component, property);
  (void)trimKeyName(text);
  (void)defaultKeyName(text);
  return 0;
}
