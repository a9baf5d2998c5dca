#pragma once

#include "document/game_form.h"
#include "document/solver_work.h"

namespace ludomark {

// The index of the game's shape for the working data of the run (built on first use; the
// shape does not change while the run works).
const TSolverIndex& BuildSolverIndex(TGameForm32& game);
// The index, built when it is first read.
inline const TSolverIndex& SolverIndex(TGameForm32& game) {
  const TSolverIndex& index = game.Work->Index;
  return index.Built ? index : BuildSolverIndex(game);
}

}  // namespace ludomark
