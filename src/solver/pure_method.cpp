#include "model/settings.h"
#include "solver/backward_induction.h"
#include "solver/solve_method.h"
#include "solver/solve_run.h"
#include "solver/work_estimate.h"

namespace ludomark {

// Every pure profile is looked at: the equilibria among them are the solutions. A game of
// perfect information is answered by backward induction instead, which finds the same.
extern const TSolveMethod kPureMethod{
    .Code = kSolvePure,
    .Name = "pure",
    .Item = "Pure",
    .Title = "Solving for pure equilibria",
    .Stages =
        [](TSolveRun& run) {
          if (!run.InduceBackwards()) run.Profile();
        },
    // Backward induction answers games of perfect information whatever their size.
    .Refuses =
        [](const TSolveRun& run, TGameForm32& game) {
          return run.Force || HasPerfectInformation(game)
                     ? std::string()
                     : EnumerationRefusal(game, /*supports=*/false, run.MemoryLimit);
        },
};

}  // namespace ludomark
