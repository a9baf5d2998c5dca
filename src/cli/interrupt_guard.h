#pragma once

#include "solver/solve_run.h"

namespace ludomark::cli {

// While it lives, Ctrl+C stops the run as the Abort button does: the solutions found so far
// are kept. The previous handler comes back when it goes.
class InterruptGuard {
 public:
  explicit InterruptGuard(TSolveRun& run);
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  void (*previous_)(int);
};

// Whether Ctrl+C came since the last guard was made.
bool Interrupted();

}  // namespace ludomark::cli
