#include "solver/parallel_solve.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "model/game_object.h"
#include "model/info.h"
#include "model/settings.h"
#include "solver/backward_induction.h"
#include "solver/evaluation.h"
#include "solver/solutions.h"

namespace ludomark {

namespace {

// What a worker's run tells: kept for the thread that shows it.
class TWorkerObserver : public TSolveObserver {
 public:
  void StageCaption(const std::string& caption) override {
    std::lock_guard<std::mutex> lock(mutex_);
    caption_ = caption;
    ++stage_;
    fraction_ = 0;
  }
  void ProgressFraction(double fraction) override {
    std::lock_guard<std::mutex> lock(mutex_);
    fraction_ = fraction;
  }
  void Read(int& stage, std::string& caption, double& fraction) {
    std::lock_guard<std::mutex> lock(mutex_);
    stage = stage_;
    caption = caption_;
    fraction = fraction_;
  }

 private:
  std::mutex mutex_;
  std::string caption_;
  int stage_ = 0;
  double fraction_ = 0;
};

}  // namespace

struct TThreadedSolve::TWorker {
  std::unique_ptr<TGameForm32> Game;
  TSolveRun Run;
  TWorkerObserver Observer;
  std::vector<TFoundPoint> Found;
  std::exception_ptr Error;
};

TThreadedSolve::TThreadedSolve() = default;

TThreadedSolve::~TThreadedSolve() {
  if (run_ == nullptr) return;
  for (auto& w : workers_) w->Run.Stopped = true;
  Join();
}

void TThreadedSolve::Start(TSolveRun& run, TGameForm32& game, int jobs, const TGameCopier& copy,
                           TSolveObserver& observer) {
  run_ = &run;
  game_ = &game;
  run.Busy = true;
  const int method = run.Method();
  // A trace has one order, and pure equilibria are found by profiling alone: one worker.
  // A path is followed by one worker too.
  // Backward induction answers a game of perfect information at once: one worker too.
  if (!MethodOf(method).Shares || DebugMode || HasPerfectInformation(game)) jobs = 1;
  // Each worker has work of its own: no more of them than the memory holds.
  const std::uint64_t each =
      std::max<std::uint64_t>(WorkBytes(game, /*newton=*/MethodOf(method).Newton), 1);
  jobs =
      static_cast<int>(std::min<std::uint64_t>(static_cast<std::uint64_t>(std::max(jobs, 1)),
                                               std::max<std::uint64_t>(run.MemoryLimit / each, 1)));
  observer.RunningState(/*running=*/true, RunTitle(method));
  observer.PercentText(PercentText(0));
  units_ = 0;
  for (int i = 1; i <= jobs; ++i) {
    auto worker = std::make_unique<TWorker>();
    worker->Game = copy();
    worker->Run.FixedMethod = method;
    // The run itself has weighed the work; its workers take it as it was decided.
    worker->Run.Force = true;
    worker->Run.ShardIndex = i;
    worker->Run.ShardCount = jobs;
    worker->Run.SharedUnits = jobs > 1 ? &units_ : nullptr;
    worker->Run.Found = &worker->Found;
    worker->Run.RecordsSolutions = false;
    workers_.push_back(std::move(worker));
  }
  running_ = jobs;
  threads_.reserve(workers_.size());
  for (auto& w : workers_) {
    threads_.emplace_back([this, worker = w.get()] {
      try {
        worker->Run.Solve(*worker->Game, worker->Observer);
      } catch (...) {
        worker->Error = std::current_exception();
      }
      std::lock_guard<std::mutex> lock(mutex_);
      --running_;
      ended_.notify_all();
    });
  }
}

bool TThreadedSolve::Wait(std::chrono::milliseconds wait, TSolveObserver& observer) {
  bool done = false;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    done = ended_.wait_for(lock, wait, [this] { return running_ == 0; });
  }
  if (run_->Stopped.load()) {
    for (auto& w : workers_) w->Run.Stopped = true;
  }
  if (!done) ShowProgress(observer);
  return done;
}

// The stage the slowest worker is in, and the share of it done over all workers (those past it
// count as done).
void TThreadedSolve::ShowProgress(TSolveObserver& observer) {
  int lowest = -1;
  std::string caption;
  std::vector<std::pair<int, double>> states;
  for (auto& w : workers_) {
    int stage = 0;
    double fraction = 0;
    std::string text;
    w->Observer.Read(stage, text, fraction);
    states.emplace_back(stage, fraction);
    if (lowest < 0 || stage < lowest) {
      lowest = stage;
      caption = text;
    }
  }
  double sum = 0;
  for (const auto& [stage, fraction] : states) sum += stage > lowest ? 1.0 : fraction;
  if (caption.empty()) return;
  if (caption != shown_) {
    shown_ = caption;
    observer.StageCaption(caption);
    observer.ProgressReset();
    bar_ = 0;
  }
  const double fraction = std::min(1.0, sum / static_cast<double>(workers_.size()));
  observer.ProgressFraction(fraction);
  observer.PercentText(PercentText(fraction));
  // The bar moves in steps, as a run on the calling thread moves it.
  const auto position = static_cast<int>(std::lround(TSolveRun::kBarMaximum * fraction));
  if (position > bar_) {
    observer.ProgressStep(position - bar_);
    bar_ = position;
  }
}

void TThreadedSolve::Join() {
  for (std::thread& t : threads_) t.join();
  threads_.clear();
}

void TThreadedSolve::Finish(TSolveObserver& observer) {
  Join();
  TSolveRun& run = *run_;
  TGameForm32& game = *game_;
  std::vector<TFoundPoint> points;
  double exploring = 0;
  std::exception_ptr error;
  run.Failure.clear();
  for (auto& w : workers_) {
    if (w->Error != nullptr && error == nullptr) error = w->Error;
    if (!w->Run.Failure.empty()) {
      run.Failure = w->Run.Failure;
      run.TracedLambda = w->Run.TracedLambda;
      run.TracedSteps = w->Run.TracedSteps;
    }
    exploring = std::max(exploring, w->Run.ExploringSeconds);
    for (TFoundPoint& p : w->Found) points.push_back(std::move(p));
    // A traced run's log is the one worker's, followed by what recording adds.
    w->Game->SolverLog().ForEachAs<TBug>([&](TBug* line) { LogLine(game, line->Text); });
  }
  workers_.clear();
  run_ = nullptr;
  game_ = nullptr;
  shown_.clear();
  bar_ = 0;
  if (error != nullptr) {
    game.ResetDerived();
    run.Busy = false;
    std::rethrow_exception(error);
  }
  // Merging and organising run whole; the stop is remembered for what the run reports.
  run.WasStopped = run.Stopped.load();
  run.Stopped = false;
  run.RunMerge(game, observer, std::move(points));
  run.ExploringSeconds = exploring;
}

namespace {
// Whether the audited game's supports are too few to share among the workers: copies and
// threads would cost more than the run.
bool TooSmallToShare(TGameForm32& game, int jobs) {
  double supports = 1;
  game.Infos().ForEachAs<TInfo32>([&](TInfo32* info) {
    if (HasPlayer(info)) supports *= std::ldexp(1.0, info->Choices.LiveCount()) - 1.0;
  });
  return supports < TSolveRun::kUnitShare * jobs;
}
}  // namespace

TSolveResult ResultOf(const TSolveRun& run, TSolveRun::Start start, TGameForm32& game) {
  TSolveResult result;
  result.Start = start;
  result.Solutions = game.Solutions().LiveCount();
  result.Complete = !run.WasStopped;
  switch (start) {
    case TSolveRun::Start::Busy:
      result.Outcome = TSolveOutcome::Refused;
      result.Reason = "Another run is busy";
      break;
    case TSolveRun::Start::Flawed:
      result.Outcome = TSolveOutcome::Refused;
      result.Reason = "The game has flaws";
      break;
    case TSolveRun::Start::Refused:
      result.Outcome = TSolveOutcome::Refused;
      result.Reason = run.Refusal;
      break;
    case TSolveRun::Start::Stopped:
      result.Outcome = TSolveOutcome::Stopped;
      result.Complete = false;
      break;
    case TSolveRun::Start::Ran:
      result.Outcome = result.Solutions > 0 ? TSolveOutcome::Solved
                       : run.WasStopped     ? TSolveOutcome::Stopped
                                            : TSolveOutcome::NoSolution;
      if (result.Outcome == TSolveOutcome::NoSolution) result.Reason = run.Failure;
      break;
  }
  return result;
}

TSolveResult SolveGame(TSolveRun& run, TGameForm32& game, TSolveObserver& observer,
                       const TSolveSettings& settings, const TGameCopier& copy) {
  run.FixedMethod = settings.Method != 0 ? settings.Method : SolveMethod;
  run.MemoryLimit = settings.MemoryLimit;
  run.Force = settings.Force;
  const int jobs = settings.Jobs;
  if (jobs <= 1 || !MethodOf(run.FixedMethod).Shares || DebugMode) {
    return ResultOf(run, run.Solve(game, observer), game);
  }
  const TSolveRun::Start start = run.Prepare(game);
  if (start != TSolveRun::Start::Ran) return ResultOf(run, start, game);
  if (TooSmallToShare(game, jobs) || HasPerfectInformation(game)) {
    run.RunSolve(game, observer);
    return ResultOf(run, start, game);
  }
  TThreadedSolve solve;
  solve.Start(run, game, jobs, copy, observer);
  // Progress on its own beat; the end of the workers wakes this thread at once.
  while (!solve.Wait(std::chrono::milliseconds(50), observer)) observer.ProcessEvents();
  solve.Finish(observer);
  return ResultOf(run, start, game);
}

}  // namespace ludomark
