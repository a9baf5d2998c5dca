#include <cmath>
#include <string>

#include "model/settings.h"
#include "solver/exact_equilibria.h"
#include "solver/exact_number.h"
#include "solver/sequence_form_builder.h"
#include "solver/solve_method.h"
#include "solver/solve_run.h"

namespace ludomark {

std::string BuildExactForm(TGameForm32& game, TExactForm& form) {
  return BuildSequenceFormOf(
      game, form,
      [&game](const TGameObject32* holder, double value) {
        return ExactNumberOf(game, holder, value);
      },
      mpq_class(1));
}

// Vertex enumeration of both players' best-reply polyhedra in rational numbers: every extreme
// equilibrium of a two-player game without cycles, and the components they span.
extern const TSolveMethod kExactMethod{
    .Code = kSolveExact,
    .Name = "exact",
    .Item = "Exact (every equilibrium, two players)",
    .Title = "Exact: every equilibrium",
    .OwnGroups = true,
    .DegreeLimit = false,
    .NoSolution = "No solution found by the exact method.",
    .FailureLead = "The exact method failed",
    .Stages = [](TSolveRun& run) { run.SolveExactly(); },
    .Refuses =
        [](const TSolveRun& run, TGameForm32& game) {
          TExactForm form;
          if (const std::string why = BuildExactForm(game, form); !why.empty()) {
            return "The exact method cannot solve this game: " + why;
          }
          const double bound = Log10VertexBound(form);
          if (run.Force || bound <= Log10VertexLimit(form)) return std::string();
          return "This game's best-reply polyhedra may have about 10^" +
                 std::to_string(static_cast<int>(std::ceil(bound))) +
                 " vertices; exact would not finish. Try lemke.";
        },
};

}  // namespace ludomark
