#pragma once

#include "document/game_form.h"

namespace ludomark::testing {

// Derives by hand what the solver needs, the way the audit will: tables expanded, every plain
// node in an information set, sets relinked, node levels from the root, choices, numbers and
// payoff lists. Returns the root (the first node no move reaches).
TNode32* DeriveForSolver(TGameType32& game);

// Gives every choice of the named moves' sets a probability; others of those sets get the rest.
void SetChoiceProbability(TGameType32& game, const std::string& choiceName, double p);

}  // namespace ludomark::testing
