#include "ui/pure/shortcut.h"

#include "core/text.h"

namespace vrin {

namespace {
struct Named {
  unsigned vk;
  const char* name;
};
constexpr Named kNames[] = {
    {0x08, "BkSp"}, {0x09, "Tab"},  {0x0D, "Enter"}, {0x1B, "Esc"},   {0x20, "Space"}, {0x21, "PgUp"},
    {0x22, "PgDn"}, {0x23, "End"},  {0x24, "Home"},  {0x25, "Left"},  {0x26, "Up"},    {0x27, "Right"},
    {0x28, "Down"}, {0x2D, "Ins"},  {0x2E, "Del"},
};

struct Modifier {
  ShortCut bit;
  std::string_view text;
};
constexpr Modifier kModifiers[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};
}  // namespace

std::string keyName(unsigned vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, char(vk));
  if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
  if (vk >= 0x60 && vk <= 0x69) return "Num " + std::to_string(vk - 0x60);
  for (const auto& n : kNames)
    if (n.vk == vk) return n.name;
  return {};
}

std::string ShortCutToText(ShortCut shortCut) {
  std::string name = keyName(shortCut & 0xFF);
  if (name.empty()) return {};
  std::string out;
  for (const auto& m : kModifiers)
    if (shortCut & m.bit) out += m.text;
  return out + name;
}

ShortCut TextToShortCut(std::string_view text) {
  ShortCut mods = 0;
  bool found = true;
  while (found) {
    found = false;
    for (const auto& m : kModifiers) {
      if (startsWithText(text, m.text)) {
        mods |= m.bit;
        text.remove_prefix(m.text.size());
        found = true;
      }
    }
  }
  if (text.empty()) return 0;
  for (unsigned vk = 0x08; vk <= 0xFF; ++vk)
    if (sameText(keyName(vk), text)) return ShortCut(mods | vk);
  return 0;
}

}  // namespace vrin
