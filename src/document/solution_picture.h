#pragma once

#include "document/game_form.h"
#include "model/canvas.h"
#include "model/geometry.h"
#include "model/solution.h"

namespace ludomark {

// The game's picture with the solution's values over it (none when the solution is null), as
// windows, pictures and prints show it: each value where it covers no text or line of the game
// and no other value, when there is such a place near its own.
void DrawGameWithSolution(TCanvas& canvas, TGameForm32& game, TSolution32* solution,
                          const TRect* view = nullptr);

}  // namespace ludomark
