#include "model/settings.h"
#include "solver/solve_method.h"
#include "solver/solve_run.h"

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
};

}  // namespace ludomark
