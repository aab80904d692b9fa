#pragma once
// Published property values as the settings store keeps them: one text per value, chosen by
// the property's type kind, and the way back. Also the naming rules of stored entries and
// of the registry key.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ui/pure/component.h"

namespace vrin {

// ---- Per kind

std::string integerText(std::int64_t value);
// Decimal with an optional sign, 32-bit range; anything else gives 0.
std::int32_t integerFromText(std::string_view text);

// Text of a character code: the character itself (UTF-8), empty for code 0.
std::string charText(std::int64_t code);
// The first character's code, 0 for empty text; nullopt when it does not fit `maxCode`.
std::optional<std::int64_t> charFromText(std::string_view text, std::int64_t maxCode);

// The value's name; empty when the ordinal names nothing.
std::string enumText(const StringList& names, std::int64_t ordinal);
// The ordinal whose name equals the text ignoring case.
std::optional<std::int64_t> enumFromText(const StringList& names, std::string_view text);

// General number format: fixed notation when the integer part fits in `precision` digits and
// the magnitude is at least 0.00001, otherwise d.dddE[-]x; no trailing zeros.
std::string formatGeneral(double value, int precision);
int floatPrecision(FloatType type);  // 7, 15, 18, 18, 19
std::string floatText(double value, FloatType type);
// A plain decimal number ("-1.5", "2E10", ".5"); nullopt for anything else or out of range.
std::optional<double> floatFromText(std::string_view text, FloatType type);

// "[a,b]" from the member names of the set bits (ordinals 0 to 31).
std::string setText(const StringList& members, std::uint32_t bits);
// Split at blanks, commas and brackets; known names set their bit, unknown ones are skipped.
std::uint32_t setFromText(const StringList& members, std::string_view text);

// ---- Any property but string lists and methods

// Kinds whose empty text is still a value worth storing.
bool isStringLike(TypeKind kind);
// The text of `value` for `prop`; empty for string lists, objects and methods (they have no
// one text), so the store writes and reads nothing for them.
std::string propertyText(const PropInfo& prop, const PropValue& value);
// The value `text` gives, starting from `current`; nullopt when the text leaves the
// property unchanged.
std::optional<PropValue> propertyValueFromText(const PropInfo& prop, std::string_view text, const PropValue& current);

// ---- String lists: their own section, a count and one value per line

inline constexpr const char* kListCountName = "Count";
// The list's section: "<section>.<item>".
std::string listSectionName(std::string_view section, std::string_view item);
// "Item<index>".
std::string listItemName(int index);
// Stored counts beyond this are taken as damage, not as a list to read line by line.
inline constexpr int kMaxStoredListLines = 65536;

// ---- Names

// "Component.Property": split at the first full stop, both parts trimmed and non-empty.
bool splitPropertyEntry(std::string_view entry, std::string& component, std::string& property);
// Removes every leading and trailing backslash.
std::string trimKeyName(std::string_view name);
// "Software\" + the program file's name without folder and extension.
std::string defaultKeyName(std::string_view programPath);

}  // namespace vrin
