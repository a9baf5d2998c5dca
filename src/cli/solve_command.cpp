#include <algorithm>
#include <ostream>
#include <sstream>
#include <thread>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/interrupt_guard.h"
#include "cli/progress_observer.h"
#include "cli/run_report.h"
#include "cli/shard_part.h"
#include "gamefile/atomic_file.h"
#include "gamefile/file_error.h"
#include "gamefile/file_identity.h"
#include "gamefile/game_file.h"
#include "gamefile/listing.h"
#include "model/settings.h"
#include "session/load_game.h"
#include "solver/parallel_solve.h"
#include "solver/solve_run.h"

namespace ludomark::cli {

namespace {

struct ResetSettings {
  ~ResetSettings() { DebugMode = false; }
};

int DefaultJobs() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(cores);
}

// One shard of a run: its share explored, its part written for the merge.
int SolveShard(const SolveOptions& options, TGameType32& game, std::ostream& out,
               std::ostream& err) {
  const std::string gameText = GameFileText(game);
  TSolveRun run;
  run.FixedMethod = options.Method;
  run.ShardIndex = options.ShardIndex;
  run.ShardCount = options.ShardCount;
  run.Force = options.Force;
  TShardPart part;
  run.Found = &part.Points;
  TSolveRun::Start start;
  {
    InterruptGuard guard(run);
    TSolveObserver quiet;
    TProgressLine progress(err);
    start = run.Solve(game, options.ShowProgress ? progress : quiet);
  }
  if (start == TSolveRun::Start::Flawed) {
    for (const std::string& line : BuildListing(game, kFlawedListMode)) out << line << "\n";
    return kExitFlawed;
  }
  if (start == TSolveRun::Start::Refused) {
    err << "ludomark-cli: " << run.Refusal << "\n";
    return kExitUsage;
  }
  part.Index = options.ShardIndex;
  part.Count = options.ShardCount;
  part.Method = options.Method;
  // Taken from the points: a run that finds nothing drops the audit's elements at its end.
  part.Choices = part.Points.empty() ? 0 : static_cast<int>(part.Points[0].Probabilities.size());
  part.Complete = start == TSolveRun::Start::Ran && !Interrupted();
  try {
    WriteFileAtomically(options.Out, PartFileText(gameText + SolutionsFileText(game), part));
  } catch (const TFileError& e) {
    err << "ludomark-cli: " << e.what() << "\n";
    return kExitUsage;
  }
  const auto met = std::count_if(part.Points.begin(), part.Points.end(),
                                 [](const TFoundPoint& p) { return p.Kind != kEndState; });
  const int solutions = game.Solutions().LiveCount();
  out << "part " << part.Index << " of " << part.Count << ": " << met
      << (met == 1 ? " equilibrium" : " equilibria") << " met, " << solutions
      << (solutions == 1 ? " solution" : " solutions") << "; written to " << options.Out << "\n";
  if (!part.Complete) {
    err << "ludomark-cli: stopped early; the part is marked unfinished and a merge will refuse "
           "it: run this shard again\n";
    return kExitInterrupted;
  }
  return kExitOk;
}

}  // namespace

int SolveCommand(const SolveOptions& options, std::ostream& out, std::ostream& err) {
  TGameType32 game;
  const TFileIdentity read = IdentityOfFile(options.Path);
  if (!session::LoadGame(options.Path, game, err)) return kExitUsage;
  DebugMode = options.Debug;
  ResetSettings resetSettings;
  if (options.ShardCount > 0) return SolveShard(options, game, out, err);

  TSolveRun run;
  TSolveResult result;
  {
    InterruptGuard guard(run);
    TSolveObserver quiet;
    TProgressLine progress(err);
    TSolveSettings settings;
    settings.Method = options.Method;
    settings.Jobs = options.Jobs > 0 ? options.Jobs : DefaultJobs();
    settings.Force = options.Force;
    result =
        SolveGame(run, game, options.ShowProgress ? progress : quiet, settings, CopiesOf(game));
  }
  const TSolveRun::Start start = result.Start;
  if (result.Outcome == TSolveOutcome::NoSolution && !result.Reason.empty()) {
    const std::string lead = MethodOf(options.Method).FailureLead;
    err << "ludomark-cli: " << (lead.empty() ? "" : lead + ": ") << result.Reason << "\n";
  }
  ReportOptions report{options.Path,  options.Method, options.Json, options.Save,
                       options.Debug, run.Refusal,    read};
  return ReportRun(game, start, report, out, err);
}

}  // namespace ludomark::cli
