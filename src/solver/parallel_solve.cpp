#include "solver/parallel_solve.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "model/settings.h"

namespace ludomark {

namespace {

// What a worker's run tells: kept for the calling thread, which shows it.
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

struct TWorker {
  std::unique_ptr<TGameForm32> Game;
  TSolveRun Run;
  TWorkerObserver Observer;
  std::vector<TFoundPoint> Found;
  std::exception_ptr Error;
};

// The stage the slowest worker is in, and the share of it done over all workers (those past
// it count as done).
void ShowProgress(std::vector<std::unique_ptr<TWorker>>& workers, TSolveObserver& observer,
                  std::string& shown) {
  int lowest = -1;
  std::string caption;
  std::vector<std::pair<int, double>> states;
  for (auto& w : workers) {
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
  if (caption != shown) {
    shown = caption;
    observer.StageCaption(caption);
  }
  const double fraction = std::min(1.0, sum / static_cast<double>(workers.size()));
  observer.ProgressFraction(fraction);
  observer.PercentText(PercentText(fraction));
  observer.ProcessEvents();
}

}  // namespace

TSolveRun::Start SolveOnThreads(TSolveRun& run, TGameForm32& game, TSolveObserver& observer,
                                int jobs, const TGameCopier& copy) {
  if (jobs <= 1 || SolveMethod == kSolvePure || DebugMode) return run.Solve(game, observer);
  const TSolveRun::Start start = run.Prepare(game);
  if (start != TSolveRun::Start::Ran) return start;

  std::vector<std::unique_ptr<TWorker>> workers;
  // Units go to whichever worker is free: the costly ones come in runs.
  std::atomic<uint64_t> units{0};
  for (int i = 1; i <= jobs; ++i) {
    auto worker = std::make_unique<TWorker>();
    worker->Game = copy();
    worker->Run.ShardIndex = i;
    worker->Run.ShardCount = jobs;
    worker->Run.SharedUnits = &units;
    worker->Run.Found = &worker->Found;
    worker->Run.RecordsSolutions = false;
    workers.push_back(std::move(worker));
  }
  std::atomic<int> running{jobs};
  std::vector<std::thread> threads;
  threads.reserve(workers.size());
  for (auto& w : workers) {
    threads.emplace_back([&running, worker = w.get()] {
      try {
        worker->Run.Solve(*worker->Game, worker->Observer);
      } catch (...) {
        worker->Error = std::current_exception();
      }
      running.fetch_sub(1);
    });
  }
  // This thread shows the progress and passes a stop on; the workers only compute.
  std::string shown;
  while (running.load() > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (run.Stopped.load()) {
      for (auto& w : workers) w->Run.Stopped = true;
    }
    ShowProgress(workers, observer, shown);
  }
  for (std::thread& t : threads) t.join();

  std::vector<TFoundPoint> points;
  double exploring = 0;
  std::exception_ptr error;
  for (auto& w : workers) {
    if (w->Error != nullptr && error == nullptr) error = w->Error;
    exploring = std::max(exploring, w->Run.ExploringSeconds);
    for (TFoundPoint& p : w->Found) points.push_back(std::move(p));
    w->Game.reset();
  }
  if (error != nullptr) {
    game.ResetDerived();
    run.Busy = false;
    std::rethrow_exception(error);
  }
  // What the workers met is recorded in full even after a stop: it is what was found so far.
  run.Stopped = false;
  run.RunMerge(game, observer, std::move(points));
  run.ExploringSeconds = exploring;
  return TSolveRun::Start::Ran;
}

}  // namespace ludomark
