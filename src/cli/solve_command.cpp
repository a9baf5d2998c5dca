#include <csignal>
#include <ostream>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/load_game.h"
#include "cli/progress_observer.h"
#include "cli/solution_report.h"
#include "gamefile/file_error.h"
#include "gamefile/game_file.h"
#include "gamefile/listing.h"
#include "model/settings.h"
#include "solver/solve_run.h"

namespace ludomark::cli {

namespace {

// The run that Ctrl+C stops, as the Abort button does: the solutions found so far are kept.
TSolveRun* interruptible = nullptr;
volatile std::sig_atomic_t interrupted = 0;

extern "C" void StopRun(int) {
  interrupted = 1;
  if (interruptible != nullptr) interruptible->Stopped = true;
}

class InterruptGuard {
 public:
  explicit InterruptGuard(TSolveRun& run) {
    interrupted = 0;
    interruptible = &run;
    previous_ = std::signal(SIGINT, StopRun);
  }
  ~InterruptGuard() {
    std::signal(SIGINT, previous_ == SIG_ERR ? SIG_DFL : previous_);
    interruptible = nullptr;
  }

 private:
  void (*previous_)(int) = SIG_DFL;
};

const char* MethodName(int method) {
  return method == kSolvePure ? "pure" : method == kSolveSampling ? "sampling" : "mixed";
}

}  // namespace

int SolveCommand(const SolveOptions& options, std::ostream& out, std::ostream& err) {
  TGameType32 game;
  if (!LoadGame(options.Path, game, err)) return kExitUsage;
  SolveMethod = options.Method;
  DebugMode = options.Debug;
  struct ResetSettings {
    ~ResetSettings() {
      DebugMode = false;
      SolveMethod = kSolveMixed;
    }
  } resetSettings;

  TSolveRun run;
  TSolveRun::Start start;
  {
    InterruptGuard guard(run);
    TSolveObserver quiet;
    TProgressLine progress(err);
    start = run.Solve(game, options.ShowProgress ? progress : quiet);
  }
  const char* method = MethodName(options.Method);
  if (start == TSolveRun::Start::Flawed) {
    if (options.Json) {
      PrintSolutionsJson(game, options.Path, method, "flawed", out);
    } else {
      for (const std::string& line : BuildListing(game, kFlawedListMode)) out << line << "\n";
    }
    return kExitFlawed;
  }

  const bool found = !game.Solutions().Empty();
  if (!found && (start == TSolveRun::Start::Stopped || interrupted != 0)) {
    err << "ludomark-cli: stopped before any solution was found\n";
    if (options.Json) PrintSolutionsJson(game, options.Path, method, "stopped", out);
    return kExitInterrupted;
  }
  if (interrupted != 0) err << "ludomark-cli: stopped early; the solutions found so far follow\n";
  if (options.Json) {
    PrintSolutionsJson(game, options.Path, method, found ? "solved" : "no solution", out);
  } else if (found) {
    PrintSolutionsText(game, out);
  } else if (options.Method == kSolveSampling) {
    // Sampling tries starting points only: finding nothing says nothing about the game.
    out << "No solution found by sampling.\n";
  } else {
    out << "No solution found.\n";
  }
  if (options.Save && found) {
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
  return found ? kExitOk : kExitNoSolution;
}

}  // namespace ludomark::cli
