#include "model/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace ludomark {

namespace {

// Scientific notation below 10^lowest and from 10^digits on.
std::string Format(double value, int digits, int lowest) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";
  if (digits < 1) digits = 1;
  if (digits > 17) digits = 17;

  // Round once to the significant digits; to_chars never looks at the locale.
  char buf[64];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
  const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
  const bool negative = sci.front() == '-';
  const std::size_t epos = sci.find('e');
  std::string mantissa;
  for (char c : sci.substr(negative ? 1 : 0, epos - (negative ? 1 : 0))) {
    if (c != '.') mantissa += c;
  }
  const int exponent = std::atoi(std::string(sci.substr(epos + 1)).c_str());
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent < lowest || exponent >= digits) {
    out += mantissa[0];
    if (mantissa.size() > 1) out.append(".").append(mantissa, 1);
    out.append("E").append(std::to_string(exponent));
    return out;
  }
  if (exponent < 0) {
    out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    return out;
  }
  const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
  if (mantissa.size() <= whole) {
    out += mantissa + std::string(whole - mantissa.size(), '0');
  } else {
    out += mantissa.substr(0, whole) + "." + mantissa.substr(whole);
  }
  return out;
}

}  // namespace

std::string FormatGeneral(double value, int digits) {
  return Format(value, digits, -4);
}

std::string FormatPicture(double value) {
  return Format(value, 6, -5);
}

}  // namespace ludomark
