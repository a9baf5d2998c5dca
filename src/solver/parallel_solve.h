#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "document/game_form.h"
#include "solver/solve_method.h"
#include "solver/solve_run.h"

namespace ludomark {

// Makes an independent copy of the game being solved (a worker's own document).
using TGameCopier = std::function<std::unique_ptr<TGameForm32>()>;

// A run whose stages work on worker threads, each on its own copy of the game, while the
// thread that started it stays free: it looks at the progress when it likes, and records what
// the workers met into the game only at the end (Finish), in the order one run meets it, so the
// solutions, their names and their order are those of a run on one thread. Nothing but Finish
// touches the game after Start, so the game may be drawn meanwhile.
class TThreadedSolve {
 public:
  TThreadedSolve();
  // Stops and joins workers still running; what they met is dropped.
  ~TThreadedSolve();
  TThreadedSolve(const TThreadedSolve&) = delete;
  TThreadedSolve& operator=(const TThreadedSolve&) = delete;

  // Starts `jobs` workers on the game that run.Prepare audited; the copies are made here, on
  // the calling thread. The run is busy from now until Finish. The method and the debug
  // setting are the run's (with debug or pure equilibria, one worker: a log has one order).
  void Start(TSolveRun& run, TGameForm32& game, int jobs, const TGameCopier& copy,
             TSolveObserver& observer);
  bool Started() const { return run_ != nullptr; }
  // Waits up to `wait` for every worker to end, passes a stop of the run on, and shows the
  // stage of the slowest worker with the share done over all. True when all have ended.
  bool Wait(std::chrono::milliseconds wait, TSolveObserver& observer);
  // Once Wait said so: joins the workers and records what they met into the game (even after a
  // stop: it is what was found so far), then organises as a run does. Rethrows a worker's
  // failure, with the game left unsolved.
  void Finish(TSolveObserver& observer);

 private:
  struct TWorker;
  void ShowProgress(TSolveObserver& observer);
  void Join();

  TSolveRun* run_ = nullptr;
  TGameForm32* game_ = nullptr;
  std::vector<std::unique_ptr<TWorker>> workers_;
  std::vector<std::thread> threads_;
  std::atomic<uint64_t> units_{0};
  std::mutex mutex_;
  std::condition_variable ended_;
  int running_ = 0;
  std::string shown_;
  int bar_ = 0;  // the bar's position shown for the stage shown
};

// What a solve gave, for the front ends to report.
struct TSolveResult {
  TSolveRun::Start Start = TSolveRun::Start::Ran;
  TSolveOutcome Outcome = TSolveOutcome::NoSolution;
  std::string Reason;  // why it refused or found nothing, when known
  int Solutions = 0;
  bool Complete = true;  // false when a stop may have left solutions out
};

// Solves the game as the settings say, on settings.Jobs worker threads for the methods that
// share their work (see TThreadedSolve), and waits: progress and captions reach `observer` on
// the calling thread, which wakes as soon as the workers end. `run` holds the stop token that
// Abort (or Ctrl+C) sets: the workers follow it within a tenth of a second and what they met so
// far is merged. With one job (or a method that does not share, or the solver's trace on) it
// is run.Solve on the game itself. Nothing program-wide is changed.
TSolveResult SolveGame(TSolveRun& run, TGameForm32& game, TSolveObserver& observer,
                       const TSolveSettings& settings, const TGameCopier& copy);

// The result of a run that has ended with `start`.
TSolveResult ResultOf(const TSolveRun& run, TSolveRun::Start start, TGameForm32& game);

}  // namespace ludomark
