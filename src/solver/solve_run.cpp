#include "solver/solve_run.h"

#include <charconv>
#include <cmath>

#include "audit/audit.h"
#include "model/info.h"
#include "model/node.h"
#include "model/number_format.h"
#include "model/player.h"
#include "model/random.h"
#include "model/settings.h"
#include "solver/evaluation.h"
#include "solver/pure_profiles.h"
#include "solver/solutions.h"

namespace ludomark {

std::string PercentText(double fraction) {
  double value = fraction * 100;
  if (value != 0) {
    // Four significant digits first, then two decimals.
    const double scale = std::pow(10.0, 3 - std::floor(std::log10(std::fabs(value))));
    value = std::round(value * scale) / scale;
  }
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
  std::string text(buf, res.ptr);
  if (text.size() < 5) text.insert(0, 5 - text.size(), '0');
  return text + "%";
}

void TSolveRun::Caption(const std::string& caption) {
  if (Observer != nullptr) Observer->StageCaption(caption);
}

void TSolveRun::Log(const std::string& line) {
  LogLine(*Game, line);
}

void TSolveRun::SetRunning(bool running) {
  if (running) {
    BarPosition = 0;
    const std::string title = SolveMethod == kSolvePure    ? "Solving for pure equilibria"
                              : SolveMethod == kSolveMixed ? "Solving for mixed equilibria"
                                                           : "";
    if (Observer != nullptr) {
      Observer->RunningState(true, title);
      Observer->PercentText(PercentText(0));
    }
  } else {
    Stopped = true;
    if (Observer != nullptr) Observer->RunningState(false, "Solved");
  }
}

void TSolveRun::AddProgress(double weight) {
  Progress += 1 / weight;
  if (Observer == nullptr) return;
  Observer->PercentText(PercentText(Progress));
  const long long step = std::llround(kBarMaximum * Progress - BarPosition);
  if (step > 0) {
    BarPosition += static_cast<int>(step);
    Observer->ProgressStep(static_cast<int>(step));
  }
  Observer->ProcessEvents();
}

namespace {
void ResetBar(TSolveRun& run) {
  run.BarPosition = 0;
  if (run.Observer != nullptr) run.Observer->ProgressReset();
}
}  // namespace

TSolveRun::Start TSolveRun::Solve(TGameForm32& game, TSolveObserver& observer) {
  // A refused run leaves the game as it was, so the busy test comes before the audit.
  if (Busy) return Start::Busy;
  // Cleared before the audit, so that a stop during the audit is not forgotten.
  Stopped = false;
  const bool passed = Audit(game, &Stopped);
  if (Stopped) {
    game.ResetDerived();
    return Start::Stopped;
  }
  if (!passed) {
    game.ResetDerived();
    return Start::Flawed;
  }
  game.SetStatus(StatusSolving);
  for (TGameList* list : {&game.Solutions(), &game.Profiles(), &game.Groups()}) {
    list->FreeByType(kEveryType);
  }
  RunSolve(game, observer);
  return Start::Ran;
}

void TSolveRun::RunSolve(TGameForm32& game, TSolveObserver& observer) {
  Game = &game;
  Observer = &observer;
  Busy = true;
  SetRunning(/*running=*/true);
  AllocateWork(game);
  game.Work->Stop = &Stopped;
  MaxSteps = 12;
  SampleCount = 200;
  Progress = 0;
  Iterations = 0;
  FacetStops = 0;
  TInfo32* rootSet = game.Root() != nullptr ? game.Root()->Info.get() : nullptr;

  if (SolveMethod == kSolveSampling) {
    Caption("Sampling...");
    SharedRandom().Seed(1);
    ResetBar(*this);
    for (int i = 1; i <= SampleCount; ++i) {
      MarkInfos(game, /*all=*/true);
      Iterations += 1;
      Iterate(/*random=*/true);
      AddProgress(SampleCount);
      if (Stopped) break;
    }
  }
  if (SolveMethod == kSolvePure || SolveMethod == kSolveMixed) {
    MarkInfos(game, /*all=*/false);
    Profiling = true;
    Caption("Profiling...");
    game.Profiles().FreeByType(kEveryType);
    Enumerate(1, rootSet);
    Profiling = false;
  }
  if (SolveMethod == kSolveMixed) {
    Caption("Eliminating...");
    Eliminate(game, &Stopped);
    Progress = 0;
    observer.SolutionsChanged();
    Caption("Exploring...");
    ResetBar(*this);
    if (Observer != nullptr) Observer->PercentText(PercentText(0));
    Enumerate(1, rootSet);
  }
  Caption("Organizing...");
  ExtendGroups(game, nullptr);
  MergeDuplicates(game);
  Organize(game);
  observer.SolutionsChanged();
  const bool found = !game.Solutions().Empty();
  if (found) {
    game.SetStatus(StatusSolved);
  } else {
    game.ResetDerived();
  }
  Caption("Cleaning up...");
  FreeWork(game);
  SetRunning(/*running=*/false);
  Busy = false;
  if (!found) {
    observer.HideView();
    observer.ShowMessage("No solution found.");
  }
}

}  // namespace ludomark
