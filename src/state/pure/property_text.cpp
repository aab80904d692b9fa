#include "state/pure/property_text.h"

#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "core/text.h"

namespace vrin {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void appendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

// The first code point of UTF-8 text; a byte that starts no valid sequence stands for itself.
std::uint32_t firstCodePoint(std::string_view s) {
  auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char c = b(0);
  int extra = c >= 0xF8 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 ? 1 : 0;
  if (c < 0x80 || extra == 0 || s.size() < std::size_t(extra) + 1) return c;
  std::uint32_t cp = c & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    if ((b(std::size_t(i)) & 0xC0) != 0x80) return c;
    cp = (cp << 6) | (b(std::size_t(i)) & 0x3F);
  }
  return cp;
}

// [sign] (digits [. digits] | . digits) [(e|E) [sign] digits], nothing else.
bool isPlainNumber(std::string_view s) {
  std::size_t i = 0, n = s.size();
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && isDigit(s[i])) ++i, ++digits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && isDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < n && isDigit(s[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == n;
}

}  // namespace

// ---- Integers

std::string integerText(std::int64_t value) { return std::to_string(value); }

std::int32_t integerFromText(std::string_view text) {
  std::string_view s = text;
  if (!s.empty() && s[0] == '+') {
    s.remove_prefix(1);
    if (s.empty() || !isDigit(s[0])) return 0;
  }
  std::int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return 0;
  if (v < INT32_MIN || v > INT32_MAX) return 0;
  return static_cast<std::int32_t>(v);
}

// ---- Characters

std::string charText(std::int64_t code) {
  std::string out;
  // Code 0 and lone surrogate halves have no text of their own.
  if (code <= 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return out;
  appendUtf8(out, static_cast<std::uint32_t>(code));
  return out;
}

std::optional<std::int64_t> charFromText(std::string_view text, std::int64_t maxCode) {
  if (text.empty()) return 0;
  std::int64_t cp = firstCodePoint(text);
  if (cp > maxCode) return std::nullopt;
  return cp;
}

// ---- Enumerations

std::string enumText(const StringList& names, std::int64_t ordinal) {
  if (ordinal < 0 || ordinal >= std::int64_t(names.size())) return {};
  return names[std::size_t(ordinal)];
}

std::optional<std::int64_t> enumFromText(const StringList& names, std::string_view text) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (sameText(names[i], text)) return std::int64_t(i);
  return std::nullopt;
}

// ---- Floating point

std::string formatGeneral(double value, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (precision < 1) precision = 1;
  if (precision > 20) precision = 20;
  if (value == 0) return "0";

  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision - 1);
  std::string_view sci(buf, std::size_t(res.ptr - buf));  // [-]d[.ddd]e(+|-)xx
  bool negative = sci[0] == '-';
  if (negative) sci.remove_prefix(1);
  std::size_t e = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, e))
    if (c != '.') digits += c;
  int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent < precision && exponent >= -5) {
    if (exponent >= 0) {
      std::size_t intLen = std::size_t(exponent) + 1;
      if (digits.size() <= intLen) {
        out += digits + std::string(intLen - digits.size(), '0');
      } else {
        out += digits.substr(0, intLen) + "." + digits.substr(intLen);
      }
    } else {
      out += "0." + std::string(std::size_t(-exponent - 1), '0') + digits;
    }
  } else {
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += "E" + std::to_string(exponent);
  }
  return out;
}

int floatPrecision(FloatType type) {
  switch (type) {
    case FloatType::Single: return 7;
    case FloatType::Double: return 15;
    case FloatType::Extended:
    case FloatType::Comp: return 18;
    case FloatType::Currency: return 19;
  }
  return 15;
}

std::string floatText(double value, FloatType type) {
  if (type == FloatType::Single) return formatGeneral(static_cast<float>(value), 7);
  if (type == FloatType::Double) return formatGeneral(value, 15);
  // The wider kinds reach us as doubles: digits beyond the double's own would only add
  // noise ("0.100000000000000006"), so use the fewest that read back to the same value.
  std::string text;
  for (int p = 15; p <= 17 && p <= floatPrecision(type); ++p) {
    text = formatGeneral(value, p);
    if (!std::isfinite(value) || std::strtod(text.c_str(), nullptr) == value) break;
  }
  return text;
}

std::optional<double> floatFromText(std::string_view text, FloatType type) {
  if (!isPlainNumber(text)) return std::nullopt;
  std::string_view s = text;
  if (s[0] == '+') s.remove_prefix(1);
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  if (type == FloatType::Single) {
    if (std::fabs(v) > FLT_MAX) return std::nullopt;
    v = static_cast<float>(v);
  }
  return v;
}

// ---- Sets

std::string setText(const StringList& members, std::uint32_t bits) {
  std::string out = "[";
  bool first = true;
  for (std::size_t i = 0; i < members.size() && i < 32; ++i) {
    if (!(bits & (1u << i))) continue;
    if (!first) out += ',';
    out += members[i];
    first = false;
  }
  return out + "]";
}

std::uint32_t setFromText(const StringList& members, std::string_view text) {
  std::uint32_t bits = 0;
  std::size_t i = 0;
  auto separator = [](char c) {
    return static_cast<unsigned char>(c) <= 32 || c == ',' || c == '[' || c == ']';
  };
  while (i < text.size()) {
    while (i < text.size() && separator(text[i])) ++i;
    std::size_t start = i;
    while (i < text.size() && !separator(text[i])) ++i;
    if (i == start) break;
    std::string_view name = text.substr(start, i - start);
    for (std::size_t m = 0; m < members.size() && m < 32; ++m)
      if (sameText(members[m], name)) {
        bits |= 1u << m;
        break;
      }
  }
  return bits;
}

// ---- Any property

bool isStringLike(TypeKind kind) { return kind == TypeKind::String || kind == TypeKind::WideChar; }

std::string propertyText(const PropInfo& prop, const PropValue& value) {
  switch (prop.kind) {
    case TypeKind::Integer: return integerText(value.integer);
    case TypeKind::Char: return charText(value.integer & 0xFF);
    case TypeKind::WideChar: return charText(value.integer & 0xFFFF);
    case TypeKind::Enumeration: return enumText(prop.names, value.integer);
    case TypeKind::Float: return floatText(value.number, prop.floatType);
    case TypeKind::String: return value.text;
    case TypeKind::Set: return setText(prop.names, static_cast<std::uint32_t>(value.integer));
    case TypeKind::StringList:
    case TypeKind::Class:
    case TypeKind::Method: return {};
  }
  return {};
}

std::optional<PropValue> propertyValueFromText(const PropInfo& prop, std::string_view text, const PropValue& current) {
  PropValue v = current;
  switch (prop.kind) {
    case TypeKind::Integer: v.integer = integerFromText(text); return v;
    case TypeKind::Char:
    case TypeKind::WideChar: {
      auto code = charFromText(text, prop.kind == TypeKind::Char ? 0xFF : 0xFFFF);
      if (!code) return std::nullopt;
      v.integer = *code;
      return v;
    }
    case TypeKind::Enumeration: {
      auto ordinal = enumFromText(prop.names, text);
      if (!ordinal) return std::nullopt;
      v.integer = *ordinal;
      return v;
    }
    case TypeKind::Float: {
      auto number = floatFromText(text, prop.floatType);
      if (!number) return std::nullopt;
      v.number = *number;
      return v;
    }
    case TypeKind::String: v.text = std::string(text); return v;
    case TypeKind::Set: v.integer = setFromText(prop.names, text); return v;
    case TypeKind::StringList:
    case TypeKind::Class:
    case TypeKind::Method: return std::nullopt;
  }
  return std::nullopt;
}

// ---- String lists

std::string listSectionName(std::string_view section, std::string_view item) {
  return std::string(section) + "." + std::string(item);
}

std::string listItemName(int index) { return "Item" + std::to_string(index); }

// ---- Names

bool splitPropertyEntry(std::string_view entry, std::string& component, std::string& property) {
  std::size_t dot = entry.find('.');
  if (dot == std::string_view::npos) return false;
  std::string c = trim(entry.substr(0, dot));
  std::string p = trim(entry.substr(dot + 1));
  if (c.empty() || p.empty()) return false;
  component = std::move(c);
  property = std::move(p);
  return true;
}

std::string trimKeyName(std::string_view name) {
  std::size_t b = 0, e = name.size();
  while (b < e && name[b] == '\\') ++b;
  while (e > b && name[e - 1] == '\\') --e;
  return std::string(name.substr(b, e - b));
}

std::string defaultKeyName(std::string_view programPath) {
  std::size_t slash = programPath.find_last_of("\\/:");
  std::string_view file = slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
  std::size_t dot = file.rfind('.');
  if (dot != std::string_view::npos) file = file.substr(0, dot);
  return "Software\\" + std::string(file);
}

}  // namespace vrin
