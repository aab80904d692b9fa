#include "core/ini_text.h"

#include <limits>

namespace vrin {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

std::string toUpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = upper(c);
  return out;
}

std::optional<std::int32_t> parseInteger(std::string_view text) {
  std::string_view s = trim(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  bool hex = false;
  if (!s.empty() && s.front() == '$') {
    hex = true;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    hex = true;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  std::uint64_t v = 0;
  if (hex) {
    if (s.size() > 8) return std::nullopt;
    for (char c : s) {
      const int d = hexDigit(c);
      if (d < 0) return std::nullopt;
      v = v * 16 + unsigned(d);
    }
    const std::uint32_t bits = negative ? std::uint32_t(0u - std::uint32_t(v)) : std::uint32_t(v);
    return std::int32_t(bits);
  }
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + unsigned(c - '0');
    if (v > std::uint64_t(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
  }
  if (negative) return std::int32_t(-std::int64_t(v));
  if (v > std::uint64_t(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
  return std::int32_t(v);
}

IniText::IniText(std::string_view text) {
  // A UTF-8 byte-order mark is not part of the first line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  sections_.push_back(Section{});
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      std::string_view name = line.substr(1);
      const std::size_t close = name.find(']');
      if (close != std::string_view::npos) name = name.substr(0, close);
      sections_.push_back(Section{std::string(trim(name)), true, {}});
      continue;
    }
    const std::size_t eq = line.find('=');
    Entry entry;
    if (eq == std::string_view::npos) {
      entry.key = std::string(line);
    } else {
      entry.key = std::string(trim(line.substr(0, eq)));
      std::string_view v = trim(line.substr(eq + 1));
      if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
      entry.value = std::string(v);
    }
    sections_.back().entries.push_back(std::move(entry));
  }
}

std::vector<std::string> IniText::sectionNames() const {
  std::vector<std::string> names;
  for (const Section& s : sections_)
    if (s.named) names.push_back(s.name);
  return names;
}

const IniText::Section* IniText::findSection(std::string_view section) const {
  for (const Section& s : sections_)
    if (s.named && equalsNoCase(s.name, section)) return &s;
  return nullptr;
}

bool IniText::hasSection(std::string_view section) const { return findSection(section) != nullptr; }

std::optional<std::string> IniText::value(std::string_view section, std::string_view key) const {
  const Section* s = findSection(section);
  if (!s) return std::nullopt;
  for (const Entry& e : s->entries)
    if (equalsNoCase(e.key, key)) return e.value;
  return std::nullopt;
}

std::string IniText::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  std::optional<std::string> v = value(section, key);
  return v ? *v : std::string(fallback);
}

std::int32_t IniText::readInteger(std::string_view section, std::string_view key,
                                  std::int32_t fallback) const {
  std::optional<std::string> v = value(section, key);
  if (!v) return fallback;
  return parseInteger(*v).value_or(fallback);
}

}  // namespace vrin
