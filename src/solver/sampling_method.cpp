#include "model/settings.h"
#include "solver/solve_method.h"
#include "solver/solve_run.h"

namespace ludomark {

// Newton's iteration from random starting points.
extern const TSolveMethod kSamplingMethod{
    .Code = kSolveSampling,
    .Name = "sampling",
    .Item = "Sampling (200 random starting points)",
    .Shares = true,
    .Newton = true,
    .Stages = [](TSolveRun& run) { run.Sample(); },
};

}  // namespace ludomark
