#pragma once

#include "document/game_form.h"

namespace ludomark {

// The unit the audit's bounds and the solver measure payoffs in: 1 for payoffs of ordinary
// size (the largest from about 1e-3 to 1e6), otherwise the power of two nearest below the
// largest payoff. Equilibria do not depend on the scale of the payoffs, but the fixed
// tolerances and weights of the solver do; dividing by a power of two is exact, so a game
// scaled by 1e-12 or 1e100 solves as the game itself.
double PayoffScale(TGameForm32& game);

}  // namespace ludomark
