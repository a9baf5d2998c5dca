#include "audit/payoff_scale.h"

#include <cmath>

#include "model/payoff.h"

namespace ludomark {

double PayoffScale(TGameForm32& game) {
  double largest = 0;
  game.Payoffs().ForEachAs<TPayoff32>([&](TPayoff32* payoff) {
    if (std::isfinite(payoff->Value)) largest = std::fmax(largest, std::fabs(payoff->Value));
  });
  if (largest == 0) return 1;
  const int exponent = std::ilogb(largest);
  return exponent >= -10 && exponent <= 20 ? 1.0 : std::ldexp(1.0, exponent);
}

}  // namespace ludomark
