#pragma once

#include <functional>
#include <memory>

#include "document/game_form.h"
#include "solver/solve_run.h"

namespace ludomark {

// Makes an independent copy of the game being solved (a worker's own document).
using TGameCopier = std::function<std::unique_ptr<TGameForm32>()>;

// Solves the game on `jobs` worker threads, each running one shard of the run on its own copy
// of the game; what they meet is then recorded into `game` in the order one run meets it, so
// the solutions, their names and their order are those of a run on one thread. `run` is the
// run that Abort (or Ctrl+C) stops: the workers follow it within a tenth of a second and what
// they met so far is merged. Progress and captions reach `observer` on the calling thread.
// With one job (or for pure equilibria, which only profiling finds) it is run.Solve.
TSolveRun::Start SolveOnThreads(TSolveRun& run, TGameForm32& game, TSolveObserver& observer,
                                int jobs, const TGameCopier& copy);

}  // namespace ludomark
