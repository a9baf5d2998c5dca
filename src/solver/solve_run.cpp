#include "solver/solve_run.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>

#include "audit/audit.h"
#include "model/choice.h"
#include "model/info.h"
#include "model/node.h"
#include "model/number_format.h"
#include "model/player.h"
#include "model/random.h"
#include "model/settings.h"
#include "solver/evaluation.h"
#include "solver/pure_profiles.h"
#include "solver/solutions.h"
#include "solver/solve_method.h"
#include "solver/tracing.h"

namespace ludomark {

std::string RunTitle(int method) {
  return MethodOf(method).Title;
}

std::string NoSolutionText(const TSolveMethod& method, const std::string& failure) {
  std::string text = method.NoSolution;
  if (!failure.empty()) text.insert(text.size() - 1, ": " + failure);
  return text;
}

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
    const std::string title = RunTitle(Method());
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
  ShowProgress();
}

void TSolveRun::ShowTracing(double lambda) {
  Progress = TracingFraction(lambda);
  ShowProgress();
}

void TSolveRun::ShowProgress() {
  if (Observer == nullptr) return;
  Observer->ProgressFraction(Progress);
  Observer->PercentText(PercentText(Progress));
  const long long step = std::llround(kBarMaximum * Progress - BarPosition);
  if (step > 0) {
    BarPosition += static_cast<int>(step);
    Observer->ProgressStep(static_cast<int>(step));
  }
  Observer->ProcessEvents();
}

void TSolveRun::ResetProgressBar() {
  BarPosition = 0;
  if (Observer != nullptr) Observer->ProgressReset();
}

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

TSolveRun::Start TSolveRun::Solve(TGameForm32& game, TSolveObserver& observer) {
  const Start start = Prepare(game);
  if (start == Start::Ran) RunSolve(game, observer);
  return start;
}

TSolveRun::Start TSolveRun::Prepare(TGameForm32& game) {
  // A refused run leaves the game as it was, so the busy test comes before the audit.
  if (Busy) return Start::Busy;
  // Cleared before the audit, so that a stop during the audit is not forgotten.
  Stopped = false;
  WasStopped = false;
  method_ = 0;
  TakeMethod();
  const bool passed = Audit(game, &Stopped, MethodOf(Method()).DegreeLimit);
  if (Stopped) {
    game.ResetDerived();
    return Start::Stopped;
  }
  if (!passed) {
    game.ResetDerived();
    return Start::Flawed;
  }
  Refusal.clear();
  const std::uint64_t needed = WorkBytes(game, /*newton=*/MethodOf(Method()).Newton);
  if (needed > MemoryLimit) {
    Refusal = "The game is too large to solve: its work needs " + MemoryText(needed) +
              " of memory, more than the " + MemoryText(MemoryLimit) + " this machine has";
    game.ResetDerived();
    return Start::Refused;
  }
  // What the method itself cannot take, once the work is known to fit.
  if (const TSolveMethod& method = MethodOf(Method()); method.Refuses != nullptr) {
    Refusal = method.Refuses(*this, game);
    if (!Refusal.empty()) {
      game.ResetDerived();
      return Start::Refused;
    }
  }
  game.SetStatus(StatusSolving);
  for (TGameList* list : {&game.Solutions(), &game.Profiles(), &game.Groups()}) {
    list->FreeByType(kEveryType);
  }
  return Start::Ran;
}

void TSolveRun::TakeMethod() {
  if (method_ == 0) method_ = FixedMethod != 0 ? FixedMethod : SolveMethod;
}

void TSolveRun::Begin(TGameForm32& game, TSolveObserver& observer) {
  Game = &game;
  Observer = &observer;
  Busy = true;
  // A run not prepared here (a test, a stage driven alone) takes the method now.
  TakeMethod();
  SetRunning(/*running=*/true);
  AllocateWork(game);
  game.Work->Stop = &Stopped;
}

void TSolveRun::RunSolve(TGameForm32& game, TSolveObserver& observer) {
  Begin(game, observer);
  MaxSteps = 12;
  SampleCount = 200;
  Progress = 0;
  Iterations = 0;
  FacetStops = 0;
  ExploringSeconds = 0;
  hasLast_ = false;
  Failure.clear();
  MethodOf(method_).Stages(*this);
  if (Found != nullptr && hasLast_) Found->push_back(CapturePoint(lastStage_, kEndState, lastKey_));
  FinishRun(observer);
}

TInfo32* TSolveRun::RootSet() const {
  TNode32* root = Game->Root();
  return root != nullptr ? root->Info.get() : nullptr;
}

void TSolveRun::Sample() {
  if (Stopped) return;  // a stop in an earlier stage ends the method
  TGameForm32& game = *Game;
  Caption("Sampling...");
  const auto start = std::chrono::steady_clock::now();
  SharedRandom().Seed(1);
  ResetProgressBar();
  stage_ = kFoundSampling;
  for (int i = 1; i <= SampleCount; ++i) {
    MarkInfos(game, /*all=*/true);
    key_ = static_cast<uint64_t>(i - 1);
    if (OwnsLeaf(key_)) {
      Iterations += 1;
      NoteLeaf();
      Iterate(/*random=*/true);
    } else {
      SkipStartPoint();
    }
    AddProgress(SampleCount);
    if (Stopped) break;
  }
  ExploringSeconds = SecondsSince(start);
}

void TSolveRun::Profile() {
  if (Stopped) return;  // a stop in an earlier stage ends the method
  TGameForm32& game = *Game;
  MarkInfos(game, /*all=*/false);
  stage_ = kFoundProfiling;
  leafNumber_ = 0;
  Profiling = true;
  Caption("Profiling...");
  game.Profiles().FreeByType(kEveryType);
  Enumerate(1, RootSet());
  Profiling = false;
}

void TSolveRun::Explore() {
  if (Stopped) return;  // a stop in an earlier stage ends the method
  TGameForm32& game = *Game;
  Caption("Eliminating...");
  Eliminate(game, &Stopped);
  Progress = 0;
  if (Observer != nullptr) Observer->SolutionsChanged();
  Caption("Exploring...");
  ResetProgressBar();
  if (Observer != nullptr) Observer->PercentText(PercentText(0));
  stage_ = kFoundExploring;
  leafNumber_ = 0;
  unitNumber_ = 0;
  inUnit_ = false;
  const auto start = std::chrono::steady_clock::now();
  Enumerate(1, RootSet());
  ExploringSeconds = SecondsSince(start);
}

void TSolveRun::RunMerge(TGameForm32& game, TSolveObserver& observer,
                         std::vector<TFoundPoint> points) {
  Begin(game, observer);
  Progress = 0;
  Unconfirmed = 0;
  Caption("Merging...");
  ResetProgressBar();
  std::stable_sort(points.begin(), points.end(), FoundBefore);
  const std::size_t choices = static_cast<std::size_t>(game.Strategies().LiveCount());
  auto setProbabilities = [&](const TFoundPoint& point) {
    if (point.Probabilities.size() != choices) return false;
    std::size_t i = 0;
    game.Strategies().ForEachAs<TChoice32>(
        [&](TChoice32* c) { c->SetProbability(point.Probabilities[i++]); });
    return true;
  };
  // Traced points were met with beliefs from play from the start, and keep some of their own.
  const bool traced = std::any_of(points.begin(), points.end(),
                                  [](const TFoundPoint& p) { return !p.HeldBeliefs.empty(); });
  if (traced) ReachFromTheStartOnly(game);
  const TFoundPoint* end = nullptr;
  // A method that groups its own solutions sent each point's groups along.
  const bool ownGroups = MethodOf(Method()).OwnGroups;
  std::vector<std::vector<TSolution32*>> groups;
  // The end states are not recorded, so the progress counts the other points only.
  const auto recorded = static_cast<double>(std::count_if(
      points.begin(), points.end(), [](const TFoundPoint& p) { return p.Kind != kEndState; }));
  for (const TFoundPoint& point : points) {
    if (Stopped) break;
    if (point.Kind == kEndState) {
      end = &point;
      continue;
    }
    game.Work->HeldBeliefs = point.HeldBeliefs;
    // The shard met the point right after an evaluation of the same probabilities.
    if (setProbabilities(point) && Evaluate(game, /*all=*/true) && IsEquilibrium(game)) {
      if (!ownGroups) {
        RecordSolution(game, point.Kind, kSolutionParam);
      } else if (TSolution32* s = RecordUngroupedSolution(game, point.Kind, kSolutionParam)) {
        KeepFractions(game, *s, point.Exact);
        for (int g : point.Groups) {
          if (g < 0) continue;
          if (groups.size() <= static_cast<std::size_t>(g))
            groups.resize(static_cast<std::size_t>(g) + 1);
          groups[static_cast<std::size_t>(g)].push_back(s);
        }
      }
    } else {
      ++Unconfirmed;
    }
    AddProgress(recorded);
  }
  // Organising tries points between solutions with the probabilities of the temporary
  // choices as the run's last leaf left them, so they are taken up again.
  if (end != nullptr && !Stopped) setProbabilities(*end);
  if (ownGroups) {
    std::erase_if(groups, [](const auto& members) { return members.empty(); });
    GroupAs(game, groups);
  }
  observer.SolutionsChanged();
  FinishRun(observer);
}

TFoundPoint TSolveRun::CapturePoint(int stage, int kind, uint64_t key) const {
  TFoundPoint point;
  point.Stage = stage;
  point.Kind = kind;
  point.Key = key;
  point.Probabilities.reserve(static_cast<std::size_t>(Game->Strategies().LiveCount()));
  Game->Strategies().ForEachAs<TChoice32>(
      [&](TChoice32* c) { point.Probabilities.push_back(c->Probability); });
  if (Game->Work != nullptr) point.HeldBeliefs = Game->Work->HeldBeliefs;
  return point;
}

void TSolveRun::FinishRun(TSolveObserver& observer) {
  TGameForm32& game = *Game;
  if (!RecordsSolutions) {
    FreeWork(game);
    SetRunning(/*running=*/false);
    Busy = false;
    method_ = 0;
    return;
  }
  // The workers' stop was taken up before their points were merged.
  WasStopped = WasStopped || Stopped.load();
  Caption("Organizing...");
  if (!MethodOf(method_).OwnGroups) {
    ExtendGroups(game, nullptr);
    MergeDuplicates(game);
    Organize(game);
  }
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
  const TSolveMethod& method = MethodOf(method_);
  method_ = 0;
  // A stop is no failure of the method: the view says that the run stopped.
  if (!found && !WasStopped) {
    observer.HideView();
    observer.ShowMessage(NoSolutionText(method, Failure));
  }
  game.SolutionsIncomplete = WasStopped && found;
}

}  // namespace ludomark
