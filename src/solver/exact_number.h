#pragma once

#include <gmpxx.h>

#include <optional>
#include <string>

#include "document/game_form.h"

namespace ludomark {

// A number's text as a rational: an integer, a decimal with an optional exponent ("2.50",
// "1e-3") or a fraction of two such ("1/3"); nothing for any other text.
std::optional<mpq_class> RationalOfText(const std::string& text);

// The rational a model number stands for: the exchange file's text where the element still
// holds that number ("1/3"), otherwise the shortest decimal that reads back as the double
// (a game file's 0.333333 is 333333/1000000).
mpq_class ExactNumberOf(const TGameForm32& game, const TGameObject32* holder, double value);

// "2/3", "-1", "0": the fraction in lowest terms, as the reports write it.
std::string FractionText(const mpq_class& q);

}  // namespace ludomark
