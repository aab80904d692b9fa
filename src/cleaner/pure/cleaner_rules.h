#pragma once
// The decisions of the trace cleaner and the hot key that need no window system: which
// folder entries go, which cookie folder is safe to empty, what the system is asked to
// register for a shortcut.
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/pure/shortcut.h"

namespace vrin {

// RegisterHotKey's modifier flags.
constexpr unsigned kModAlt = 0x1;
constexpr unsigned kModControl = 0x2;
constexpr unsigned kModShift = 0x4;

struct HotKeyCombination {
  unsigned modifiers = 0;
  unsigned virtualKey = 0;  // 0: nothing to register
};
HotKeyCombination hotKeyCombination(ShortCut key);

// The panic key for the letter chosen in the history window: "Ctrl+" and the letter.
// No letter (or anything that is not a key name) gives 0, no panic key.
ShortCut panicShortCut(std::string_view letter);

// The cookie folder named by the shell, made safe to empty: only an absolute path
// ("X:\..." or "\\server\share...") without wildcards qualifies, since a relative or
// empty value would point the deletion at whatever the current folder happens to be.
// Trailing separators are dropped. Empty when the value names no usable folder.
std::wstring usableCookieFolder(std::wstring_view value);

// Whether one entry of a folder listing is a file the cookie clean deletes: never
// "." or "..", never a folder of any kind (whatever its other attributes), never a
// read-only file (the user protected it); hidden and system files go.
constexpr std::uint32_t kAttributeReadOnly = 0x1;
constexpr std::uint32_t kAttributeDirectory = 0x10;
bool isDeletableEntry(std::wstring_view name, std::uint32_t attributes);

}  // namespace vrin
