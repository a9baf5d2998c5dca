#include "model/settings.h"
#include "solver/solve_method.h"
#include "solver/solve_run.h"

namespace ludomark {

// The logit path from the centroid to one equilibrium.
extern const TSolveMethod kTracingMethod{
    .Code = kSolveTracing,
    .Name = "tracing",
    .Item = "Tracing (one equilibrium, fast)",
    .Title = "Tracing one equilibrium",
    .Newton = true,
    .DegreeLimit = false,
    .NoSolution = "No solution found by tracing.",
    .FailureLead = "the path failed",
    .Stages =
        [](TSolveRun& run) {
          run.ResetProgressBar();
          run.Trace();
        },
};

}  // namespace ludomark
