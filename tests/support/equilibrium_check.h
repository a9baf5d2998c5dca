#pragma once

#include <string>

#include "document/game_form.h"
#include "model/solution.h"

namespace ludomark::testing {

// What an independent look at a solution finds: computed from the game's own moves, discounts,
// probabilities and payoffs, without the solver's evaluation.
struct EquilibriumCheck {
  // Largest gain a player could get by switching, at one of his sets, from a choice he plays
  // to his best one there (given the beliefs).
  double Gain = 0;
  // Largest difference of the solution's node values from the values of its strategies.
  double ValueError = 0;
  // Largest difference of the solution's beliefs from Bayes' rule on play from the root, at
  // the sets that play reaches.
  double BeliefError = 0;
  std::string Worst;  // where the largest of the three was found
};

// Play starts at the first node of the game, as the games of the tests are drawn.
EquilibriumCheck CheckSolution(TGameForm32& game, const TSolution32& solution);

}  // namespace ludomark::testing
