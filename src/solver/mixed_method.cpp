#include "model/settings.h"
#include "solver/backward_induction.h"
#include "solver/solve_method.h"
#include "solver/solve_run.h"
#include "solver/work_estimate.h"

namespace ludomark {

// The pure profiles first, then every support the elimination leaves, each by Newton's
// iteration from its centre. A game of perfect information is answered by backward induction.
extern const TSolveMethod kMixedMethod{
    .Code = kSolveMixed,
    .Name = "mixed",
    .Item = "Mixed",
    .Title = "Solving for mixed equilibria",
    .Shares = true,
    .Newton = true,
    .Stages =
        [](TSolveRun& run) {
          if (run.InduceBackwards()) return;
          run.Profile();
          run.Explore();
        },
    // Backward induction answers games of perfect information whatever their size.
    .Refuses =
        [](const TSolveRun& run, TGameForm32& game) {
          return run.Force || HasPerfectInformation(game)
                     ? std::string()
                     : EnumerationRefusal(game, /*supports=*/true, run.MemoryLimit);
        },
};

}  // namespace ludomark
