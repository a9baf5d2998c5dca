#pragma once

#include <cstdint>
#include <string>

#include "document/game_form.h"

namespace ludomark {

// Enumerations past these would not finish in hours: about a million pure profiles or ten
// thousand supports take a minute on one core.
constexpr double kPureProfileLimit = 1e9;
constexpr double kMixedSupportLimit = 1e8;

// How much enumeration an audited game asks for, as powers of ten (the counts themselves
// overflow): the pure profiles (one choice at every set of a player, eliminated choices left
// out) and the supports (a non-empty set of choices at every set).
struct TWorkEstimate {
  double Log10Profiles = 0;
  double Log10Supports = 0;
};
TWorkEstimate EstimateWork(TGameForm32& game);

// Why Pure (profiles only) or Mixed (profiles and supports) would not finish on the game, or
// "" when it would: too many to visit, or their list larger than `memory` bytes.
std::string EnumerationRefusal(TGameForm32& game, bool supports, std::uint64_t memory);

}  // namespace ludomark
