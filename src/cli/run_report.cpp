#include "cli/run_report.h"

#include <ostream>

#include "cli/cli.h"
#include "cli/interrupt_guard.h"
#include "gamefile/file_error.h"
#include "gamefile/game_file.h"
#include "gamefile/listing.h"
#include "model/settings.h"
#include "session/solution_report.h"
#include "solver/solve_method.h"

namespace ludomark::cli {

const char* MethodName(int method) {
  return MethodOf(method).Name;
}

int ReportRun(TGameType32& game, TSolveRun::Start start, const ReportOptions& options,
              std::ostream& out, std::ostream& err) {
  const char* method = MethodName(options.Method);
  if (start == TSolveRun::Start::Refused) {
    err << "ludomark-cli: " << options.Refusal << "\n";
    return kExitUsage;
  }
  if (start == TSolveRun::Start::Flawed) {
    if (options.Json) {
      session::PrintSolutionsJson(game, options.Path, method, "flawed", out);
    } else {
      for (const std::string& line : BuildListing(game, kFlawedListMode)) out << line << "\n";
    }
    return kExitFlawed;
  }

  // What the audit noted without failing the game (parts that play never reaches).
  game.Findings().ForEach([&](TGameObject32* e) { err << "ludomark-cli: " << e->Name << "\n"; });
  const bool found = !game.Solutions().Empty();
  const bool stopped = start == TSolveRun::Start::Stopped || Interrupted();
  if (!found && stopped) {
    err << "ludomark-cli: stopped before any solution was found\n";
    if (options.Json) session::PrintSolutionsJson(game, options.Path, method, "stopped", out);
    return kExitInterrupted;
  }
  if (stopped) err << "ludomark-cli: stopped early; the solutions found so far follow\n";
  if (options.Json) {
    session::PrintSolutionsJson(game, options.Path, method,
                                stopped ? "stopped"
                                : found ? "solved"
                                        : "no solution",
                                out);
  } else if (found) {
    session::PrintSolutionsText(game, out);
  } else if (options.Method == kSolveSampling) {
    // Sampling tries starting points only: finding nothing says nothing about the game.
    out << "No solution found by sampling.\n";
  } else {
    out << MethodOf(options.Method).NoSolution << "\n";
  }
  // A stopped run has only some of the solutions: the file keeps what it holds.
  if (options.Save && stopped) {
    err << "ludomark-cli: the run was stopped, so the file is not saved\n";
  } else if (options.Save && found) {
    if (!IdentityOfFile(options.Path).SameText(options.Read)) {
      err << "ludomark-cli: the file changed on disk since it was read, so it is not saved: "
          << options.Path << "\n";
      return kExitUsage;
    }
    try {
      WriteGameFile(options.Path, game, /*withSolutions=*/true);
    } catch (const TFileError& e) {
      err << "ludomark-cli: " << e.what() << "\n";
      return kExitUsage;
    }
  }
  if (options.Debug) {
    for (const std::string& line : BuildListing(game, kSolverStepsMode)) out << line << "\n";
  }
  if (stopped) return kExitInterrupted;
  return found ? kExitOk : kExitNoSolution;
}

}  // namespace ludomark::cli
