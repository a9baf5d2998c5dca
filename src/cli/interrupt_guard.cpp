#include "cli/interrupt_guard.h"

#include <csignal>

namespace ludomark::cli {

namespace {

TSolveRun* interruptible = nullptr;
volatile std::sig_atomic_t interrupted = 0;

extern "C" void StopRun(int) {
  interrupted = 1;
  if (interruptible != nullptr) interruptible->Stopped = true;
}

}  // namespace

InterruptGuard::InterruptGuard(TSolveRun& run) {
  interrupted = 0;
  interruptible = &run;
  previous_ = std::signal(SIGINT, StopRun);
}

InterruptGuard::~InterruptGuard() {
  std::signal(SIGINT, previous_ == SIG_ERR ? SIG_DFL : previous_);
  interruptible = nullptr;
}

bool Interrupted() {
  return interrupted != 0;
}

}  // namespace ludomark::cli
