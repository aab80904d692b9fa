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
// ("X:\..." or "\\server\share\...") without wildcards qualifies, since a relative or
// empty value would point the deletion at whatever the current folder happens to be, and
// never the root of a drive or share. Trailing separators are dropped. Empty when the
// value names no usable folder. The result may still hold ".." parts: it is resolved
// by the caller.
std::wstring usableCookieFolder(std::wstring_view value);

// Whether `path` names the root of a drive ("X:\", "X:") or of a network share
// ("\\server\share"), trailing separators or not.
bool isRootFolder(std::wstring_view path);

// A final path as the system reports it for a handle ("\\?\C:\x", "\\?\UNC\srv\sh\x")
// in its everyday spelling ("C:\x", "\\srv\sh\x").
std::wstring withoutLongPathPrefix(std::wstring_view path);

// The folder part of a file path ("C:\a\b.txt" gives "C:\a"); empty without a separator.
std::wstring_view parentFolder(std::wstring_view path);

// Whether one entry of a folder listing is a file the cookie clean deletes: never
// "." or "..", never a folder of any kind (whatever its other attributes), never a
// link or other reparse point (deleting through it could reach a file elsewhere), never
// a read-only file (the user protected it); hidden and system files go.
constexpr std::uint32_t kAttributeReadOnly = 0x1;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeReparsePoint = 0x400;
bool isDeletableEntry(std::wstring_view name, std::uint32_t attributes);

}  // namespace vrin
