#include "model/fixed_fields.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string_view>

#include "model/number_format.h"

namespace ludomark {

std::string FieldAt(const std::string& line, int start, int width) {
  if (start < 1 || width <= 0) return "";
  const std::size_t from = static_cast<std::size_t>(start - 1);
  if (from >= line.size()) return "";
  return line.substr(from, static_cast<std::size_t>(width));
}

void PadTo(std::string& text, int width) {
  text.resize(static_cast<std::size_t>(width < 0 ? 0 : width), ' ');
}

namespace {

// Skips leading blanks and tells where the optional sign and the digits begin.
std::string_view AfterBlanks(const std::string& text) {
  std::string_view s(text);
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return s;
}

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

int32_t ParseIntField(const std::string& text) {
  std::string_view s = AfterBlanks(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  std::size_t digits = 0;
  while (digits < s.size() && IsDigit(s[digits])) ++digits;
  // Shorter and shorter prefixes until the number fits, as dropping characters would give.
  for (; digits > 0; --digits) {
    int64_t value = 0;
    bool fits = true;
    for (std::size_t i = 0; i < digits && fits; ++i) {
      value = value * 10 + (s[i] - '0');
      if (value > 2147483648LL) fits = false;
    }
    if (!fits) continue;
    if (negative) value = -value;
    if (value >= INT32_MIN && value <= INT32_MAX) return static_cast<int32_t>(value);
  }
  return -1;
}

double ParseFloatField(const std::string& text) {
  std::string_view s = AfterBlanks(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  // Only plain decimal numbers: no "inf", "nan" or hexadecimal forms.
  if (s.empty() || !(IsDigit(s.front()) || s.front() == '.')) return 0;
  std::size_t length = s.size();
  while (length > 0) {
    double value = 0;
    const auto res =
        std::from_chars(s.data(), s.data() + length, value, std::chars_format::general);
    if (res.ec == std::errc() && std::isfinite(value)) return negative ? -value : value;
    if (res.ec == std::errc::result_out_of_range) {
      // Too large or too small for a double: a shorter text may still be a number.
      length = static_cast<std::size_t>(res.ptr - s.data()) - 1;
      continue;
    }
    if (res.ec != std::errc()) return 0;
    length = static_cast<std::size_t>(res.ptr - s.data()) - 1;
  }
  return 0;
}

bool IsUnreadableNumber(const std::string& field) {
  std::string_view s = AfterBlanks(field);
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) s.remove_prefix(1);
  auto startsWith = [&](std::string_view word) {
    if (s.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(s[i])) != word[i]) return false;
    }
    return true;
  };
  if (startsWith("nan") || startsWith("inf") || startsWith("0x")) return true;
  if (s.empty() || !(IsDigit(s.front()) || s.front() == '.')) return false;
  double value = 0;
  const auto res = std::from_chars(s.data(), s.data() + s.size(), value);
  if (res.ec != std::errc::result_out_of_range) return false;
  // Out of range: too large is unreadable; too small is as good as 0 and reads as such.
  const std::string_view token(s.data(), static_cast<std::size_t>(res.ptr - s.data()));
  const std::size_t e = token.find_first_of("eE");
  return e == std::string_view::npos || e + 1 >= token.size() || token[e + 1] != '-';
}

std::string WithoutControls(const std::string& text) {
  std::string clean = text;
  for (std::size_t i = 0; i < clean.size(); ++i) {
    const auto code = static_cast<unsigned char>(clean[i]);
    if (code < 32 || code == 127) clean[i] = ' ';
    // The C1 controls U+0080 to U+009F in UTF-8, which terminals may obey as well.
    if (code == 0xC2 && i + 1 < clean.size()) {
      const auto next = static_cast<unsigned char>(clean[i + 1]);
      if (next >= 0x80 && next <= 0x9F) clean[i] = clean[i + 1] = ' ';
    }
    // U+FEFF shows nothing, and at the start of a file it would read as a byte-order mark.
    if (clean.compare(i, 3, "\xEF\xBB\xBF") == 0) clean[i] = clean[i + 1] = clean[i + 2] = ' ';
  }
  return clean;
}

std::string CutToCharacters(const std::string& text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  std::size_t end = bytes;
  // Back over continuation bytes (10xxxxxx) to the start of the character that was cut.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

std::string WithCutCharacterMarked(const std::string& field, std::size_t width) {
  if (field.size() != width) return field;
  // The start of the last character: back over at most three continuation bytes.
  std::size_t start = field.size();
  while (start > 0 && field.size() - start < 3 &&
         (static_cast<unsigned char>(field[start - 1]) & 0xC0) == 0x80) {
    --start;
  }
  if (start == 0) return field;
  const auto lead = static_cast<unsigned char>(field[start - 1]);
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  const std::size_t present = field.size() - (start - 1);
  if (length == 0 || present >= length) return field;
  return field.substr(0, start - 1) + "\xEF\xBF\xBD";
}

std::string RealField(double value, int width) {
  std::string text = FormatGeneral(value, 6);
  if (static_cast<int>(text.size()) <= width) return text;
  // Cutting a fixed text only drops trailing digits, but cutting a scientific one would drop
  // its exponent and store a different number: round to fewer digits instead.
  if (text.find('E') != std::string::npos) {
    for (int digits = 5; digits >= 1; --digits) {
      text = FormatGeneral(value, digits);
      if (static_cast<int>(text.size()) <= width) return text;
    }
  }
  text.resize(static_cast<std::size_t>(width));
  return text;
}

}  // namespace ludomark
