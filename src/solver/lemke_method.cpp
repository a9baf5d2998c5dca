#include "model/settings.h"
#include "solver/sequence_form.h"
#include "solver/solve_method.h"
#include "solver/solve_run.h"

namespace ludomark {

// Lemke's pivoting on the sequence form: one equilibrium of a two-player game without cycles,
// at the cost of the game's sequences rather than its pure strategies.
extern const TSolveMethod kLemkeMethod{
    .Code = kSolveLemke,
    .Name = "lemke",
    .Item = "Lemke (one equilibrium, two players)",
    .Title = "Lemke: one equilibrium",
    .Newton = true,
    .DegreeLimit = false,
    .NoSolution = "No solution found by Lemke's method.",
    .FailureLead = "Lemke's method failed",
    .Stages = [](TSolveRun& run) { run.SolveSequenceForm(); },
    .Refuses =
        [](const TSolveRun& /*run*/, TGameForm32& game) {
          TSequenceForm form;
          const std::string why = BuildSequenceForm(game, form);
          return why.empty() ? why : "Lemke's method cannot solve this game: " + why;
        },
};

}  // namespace ludomark
