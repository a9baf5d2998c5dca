#pragma once

#include "document/game_form.h"

namespace ludomark::bench {

// A game of about `nodes` nodes ready for the solver: a tree of two players and chance with
// binary moves and payoffs at the leaves; with `cycles`, some leaves lead back to earlier
// nodes with a discount of 0.9 instead of ending the game.
void BuildGeneratedGame(TGameType32& game, int nodes, bool cycles);

}  // namespace ludomark::bench
