#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace ludomark {

// A system of n - 1 equations in n unknowns whose zeros form a curve; the last unknown is the
// curve's parameter, which grows from its start and stays positive.
class TPathSystem {
 public:
  virtual ~TPathSystem() = default;
  virtual int Unknowns() const = 0;
  // Makes the point the current one; false when the system cannot be evaluated there.
  virtual bool Evaluate(const std::vector<double>& point) = 0;
  // At the point last evaluated: one entry per equation.
  virtual void Residual(const std::vector<double>& point, std::vector<double>& residual) const = 0;
  // At the point last evaluated: the derivatives, one row of Unknowns() entries per equation.
  virtual void Jacobian(const std::vector<double>& point, std::vector<double>& jacobian) = 0;
};

// What a trace reports at each point it takes: the point, the unit tangent there, the step
// that reached it, the corrector's iterations and the residual left. It answers whether the
// trace goes on.
class TPathWatcher {
 public:
  virtual ~TPathWatcher() = default;
  virtual bool Reached(const std::vector<double>& point, const std::vector<double>& tangent,
                       double step, int iterations, double residual) = 0;
};

struct TTraceResult {
  enum class End { Ended, Stopped, Failed };
  End Outcome = End::Failed;
  std::string Failure;  // why a failed trace failed
  int Steps = 0;
  int Turns = 0;  // steps on which the parameter went back
};

// Follows the curve from `start` by predictor steps along the tangent and Newton corrections
// at right angles to it, halving a step that fails and growing one that converges fast, until
// the watcher ends it, the stop token is set (checked at every corrector iteration), or the
// step shrinks below its floor.
TTraceResult TracePath(TPathSystem& system, const std::vector<double>& start,
                       const std::atomic<bool>& stop, TPathWatcher& watcher);

}  // namespace ludomark
