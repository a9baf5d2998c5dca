#pragma once

#include "document/game_form.h"

namespace ludomark {

// The Newton step for F(C) = p(C) r(C) = 0 over the active choices (every choice of a player
// that is not its set's best), into each choice's Direction; a singular system gives the
// small direction 1e-6. Updates SqrNorm and Speed.
void NewtonDirection(TGameType32& game);
bool BuildJacobian(TGameType32& game);
// Derivatives of every choice value with respect to every choice probability, from the last
// evaluation.
void ComputeSensitivity(TGameForm32& game);

}  // namespace ludomark
