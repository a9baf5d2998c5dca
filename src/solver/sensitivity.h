#pragma once

#include <vector>

#include "document/game_form.h"

namespace ludomark {

// The derivatives of the values of the choices in `rows` (by position in the run's index of
// choices; every choice when it is nothing) with respect to every choice's probability, from
// the last evaluation, into the working Sensitivity matrix; the other rows keep what they held.
void ComputeSensitivities(TGameForm32& game, const std::vector<char>* rows);

}  // namespace ludomark
