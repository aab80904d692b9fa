#pragma once
// Small text helpers shared by the portable code (ASCII case rules, as the registry and
// the settings compare names).
#include <string>
#include <string_view>
#include <vector>

namespace vrin {

char asciiLower(char c);
char asciiUpper(char c);
std::string lowerCase(std::string_view s);
std::string upperCase(std::string_view s);
bool sameText(std::string_view a, std::string_view b);
// Removes leading and trailing blanks and control characters (code <= 32).
std::string trim(std::string_view s);
bool startsWithText(std::string_view s, std::string_view prefix);  // ignoring case
bool endsWithText(std::string_view s, std::string_view suffix);    // ignoring case
// printf-style "%s" and "%d" substitution, used for the framework's message templates.
std::string formatText(std::string_view pattern, std::string_view arg);

}  // namespace vrin
