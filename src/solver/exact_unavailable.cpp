#include <string>

#include "model/settings.h"
#include "solver/solve_method.h"
#include "solver/solve_run.h"

namespace ludomark {

// A build without the rational arithmetic and the vertex enumeration keeps the method's row,
// so that every front end names it, and says why it cannot run.
extern const TSolveMethod kExactMethod{
    .Code = kSolveExact,
    .Name = "exact",
    .Item = "Exact (not available in this build)",
    .Title = "Exact: every equilibrium",
    .OwnGroups = true,
    .DegreeLimit = false,
    .NoSolution = "No solution found by the exact method.",
    .FailureLead = "The exact method failed",
    .Stages = [](TSolveRun& /*run*/) {},
    .Refuses =
        [](const TSolveRun& /*run*/, TGameForm32& /*game*/) {
          return std::string(
              "The exact method is not available in this build: it needs GMP and lrslib");
        },
};

void TSolveRun::SolveExactly() {}

}  // namespace ludomark
