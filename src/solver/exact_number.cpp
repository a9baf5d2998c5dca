#include "solver/exact_number.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace ludomark {

namespace {

// Digits with at most one point and an optional exponent, as a rational.
std::optional<mpq_class> DecimalOfText(const std::string& text) {
  std::size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  std::string digits;
  long long scale = 0;  // digits after the point
  bool point = false;
  for (; at < text.size() &&
         (std::isdigit(static_cast<unsigned char>(text[at])) != 0 || (text[at] == '.' && !point));
       ++at) {
    if (text[at] == '.') {
      point = true;
      continue;
    }
    digits.push_back(text[at]);
    if (point) ++scale;
  }
  if (digits.empty()) return std::nullopt;
  long long exponent = 0;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    const char* first = text.data() + at + 1;
    if (*first == '+') ++first;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), exponent);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    at = text.size();
  }
  // Exponents past a few thousand are no number of a game.
  constexpr long long kLargestExponent = 4000;
  if (at != text.size() || std::llabs(exponent) > kLargestExponent) return std::nullopt;
  mpz_class whole(digits, 10);
  const long long power = exponent - scale;
  mpz_class ten;
  mpz_ui_pow_ui(ten.get_mpz_t(), 10, static_cast<unsigned long>(std::llabs(power)));
  mpq_class q = power >= 0 ? mpq_class(whole * ten) : mpq_class(whole, ten);
  q.canonicalize();
  return negative ? mpq_class(-q) : q;
}

}  // namespace

std::optional<mpq_class> RationalOfText(const std::string& text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return DecimalOfText(text);
  const auto top = DecimalOfText(text.substr(0, slash));
  const auto bottom = DecimalOfText(text.substr(slash + 1));
  if (!top || !bottom || *bottom == 0) return std::nullopt;
  return mpq_class(*top / *bottom);
}

mpq_class ExactNumberOf(const TGameForm32& game, const TGameObject32* holder, double value) {
  // A text is the element's number only while the element holds what it reads as.
  constexpr double kSameNumber = 1e-12;
  if (const auto it = game.ExactNumbers.find(holder); it != game.ExactNumbers.end()) {
    if (auto q = RationalOfText(it->second);
        q && std::fabs(q->get_d() - value) <= kSameNumber * std::max(1.0, std::fabs(value))) {
      return *q;
    }
  }
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
  return RationalOfText(std::string(buffer, r.ptr)).value_or(mpq_class(0));
}

std::string FractionText(const mpq_class& q) {
  return q.get_str();
}

}  // namespace ludomark
