#include "solver/work_estimate.h"

#include <cmath>

#include "model/choice.h"
#include "model/info.h"

namespace ludomark {

namespace {

// A recorded profile holds a number per choice and per set, besides the element itself.
constexpr double kProfileOverheadBytes = 256;

std::string About(double log10) {
  return "about 10^" + std::to_string(static_cast<long long>(std::floor(log10)));
}

}  // namespace

TWorkEstimate EstimateWork(TGameForm32& game) {
  TWorkEstimate estimate;
  game.Infos().ForEachAs<TInfo32>([&](TInfo32* set) {
    if (!HasPlayer(set)) return;
    int live = 0;
    set->Choices.ForEachAs<TChoice32>([&](TChoice32* c) {
      if (!c->Eliminated) ++live;
    });
    if (live < 2) return;
    estimate.Log10Profiles += std::log10(static_cast<double>(live));
    // log10(2^live - 1), without overflow for large sets.
    estimate.Log10Supports +=
        live > 60 ? live * std::log10(2.0) : std::log10(std::ldexp(1.0, live) - 1);
  });
  return estimate;
}

std::string EnumerationRefusal(TGameForm32& game, bool supports, std::uint64_t memory) {
  const TWorkEstimate estimate = EstimateWork(game);
  const double perProfile =
      8.0 * (game.Strategies().LiveCount() + game.Infos().LiveCount()) + kProfileOverheadBytes;
  const bool tooMany = estimate.Log10Profiles > std::log10(kPureProfileLimit);
  const bool tooLarge =
      estimate.Log10Profiles + std::log10(perProfile) > std::log10(static_cast<double>(memory));
  const char* method = supports ? "Mixed" : "Pure";
  const char* advice = " would not finish. Try Tracing or lemke.";
  if (tooMany || tooLarge) {
    return "This game has " + About(estimate.Log10Profiles) + " pure profiles; " + method + advice;
  }
  if (supports && estimate.Log10Supports > std::log10(kMixedSupportLimit)) {
    return "This game has " + About(estimate.Log10Supports) + " supports; " + method + advice;
  }
  return "";
}

}  // namespace ludomark
