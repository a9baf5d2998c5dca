#pragma once

#include "document/game_form.h"

namespace ludomark {

// The index of the game's shape for the working data of the run (built on first use; the
// shape does not change while the run works).
const TSolverIndex& SolverIndex(TGameForm32& game);

}  // namespace ludomark
