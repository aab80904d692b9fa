#pragma once
// Settings text in the INI layout, read from memory the way the Windows profile functions
// read a file: sections and keys match without regard to (ASCII) case, the first matching
// section and the first matching key in it win, keys and values are trimmed of blanks and a
// value wrapped in matching quotes loses them. Lines whose first non-blank character is ';'
// are comments.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrin {

class IniText {
 public:
  IniText() = default;
  explicit IniText(std::string_view text);

  // Section names in file order; a name that occurs twice is listed twice.
  std::vector<std::string> sectionNames() const;
  bool hasSection(std::string_view section) const;

  // The value of the first matching key, or nothing when the section or key is absent.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  // An absent, empty or non-numeric value gives the fallback.
  std::int32_t readInteger(std::string_view section, std::string_view key,
                           std::int32_t fallback) const;

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    bool named = false;  // false for keys met before the first section header
    std::vector<Entry> entries;
  };
  const Section* findSection(std::string_view section) const;

  std::vector<Section> sections_;
};

// ASCII case-insensitive comparison, as used for section and key names.
bool equalsNoCase(std::string_view a, std::string_view b);
std::string toUpperAscii(std::string_view text);

// A whole (trimmed) text as a 32-bit integer: optional sign, then decimal digits or
// hexadecimal digits after "$" or "0x". Hexadecimal values up to 8 digits wrap into 32 bits,
// so $80000008 is the system-colour value 0x80000008. Anything else gives nothing.
std::optional<std::int32_t> parseInteger(std::string_view text);

}  // namespace vrin
