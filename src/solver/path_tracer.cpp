#include "solver/path_tracer.h"

#include <algorithm>
#include <cmath>

#include "model/number_format.h"
#include "solver/dense_solve.h"

namespace ludomark {

namespace {

constexpr double kFirstStep = 0.05;
constexpr double kStepFloor = 1e-10;  // relative to 1 + the parameter
constexpr double kCorrectorTolerance = 1e-10;
constexpr double kFarthestCorrection = 0.3;  // of the step
constexpr double kLeastCosine = 0.95;        // between the tangents before and after a step
constexpr int kCorrectorSteps = 8;
constexpr double kContraction = 0.5;  // a correction at least this much smaller than the last

double MaxNorm(const std::vector<double>& v) {
  double largest = 0;
  for (double x : v) largest = std::max(largest, std::fabs(x));
  return largest;
}

double Norm(const std::vector<double>& v) {
  double sum = 0;
  for (double x : v) sum += x * x;
  return std::sqrt(sum);
}

// The system with one more row, the direction given: its solution for the right side given.
bool SolveBordered(const std::vector<double>& jacobian, const std::vector<double>& border,
                   std::vector<double>& side) {
  const int n = static_cast<int>(border.size());
  std::vector<double> system(jacobian);
  system.insert(system.end(), border.begin(), border.end());
  return SolveDense(system, side, n);
}

TTraceResult Failed(TTraceResult result, const std::string& why) {
  result.Outcome = TTraceResult::End::Failed;
  result.Failure = why;
  return result;
}

}  // namespace

TTraceResult TracePath(TPathSystem& system, const std::vector<double>& start,
                       const std::atomic<bool>& stop, TPathWatcher& watcher) {
  TTraceResult result;
  std::vector<double> x = start;
  const int n = system.Unknowns();
  std::vector<double> residual;
  std::vector<double> jacobian;
  if (!system.Evaluate(x)) return Failed(result, "the game cannot be evaluated at the start");
  system.Jacobian(x, jacobian);
  // The tangent: the direction along which the residual does not change, oriented as before.
  std::vector<double> previous(static_cast<std::size_t>(n), 0.0);
  previous.back() = 1;  // the parameter grows from its start
  auto tangentAt = [&](std::vector<double>& direction) {
    direction.assign(static_cast<std::size_t>(n), 0.0);
    direction.back() = 1;
    if (!SolveBordered(jacobian, previous, direction)) return false;
    const double length = Norm(direction);
    for (double& v : direction) v /= length;
    return true;
  };
  std::vector<double> tangent;
  if (!tangentAt(tangent)) return Failed(result, "the path has no direction at its start");
  double step = kFirstStep;
  while (!stop) {
    // Predictor along the tangent, then Newton back onto the path within the plane at right
    // angles to the tangent. Far along, the step may grow with the parameter, but never past
    // it: a longer one could land on another branch of the curve.
    step = std::min(step, 1 + std::fabs(x.back()));
    std::vector<double> y(x);
    for (int i = 0; i < n; ++i)
      y[static_cast<std::size_t>(i)] += step * tangent[static_cast<std::size_t>(i)];
    const std::vector<double> predicted(y);
    bool converged = false;
    int iterations = 0;
    double last = 0;
    double size = 0;
    for (; iterations < kCorrectorSteps && !stop; ++iterations) {
      if (!system.Evaluate(y)) break;
      system.Residual(y, residual);
      last = MaxNorm(residual);
      if (last < kCorrectorTolerance) {
        double moved = 0;
        for (int i = 0; i < n; ++i) {
          const auto k = static_cast<std::size_t>(i);
          moved += (y[k] - predicted[k]) * (y[k] - predicted[k]);
        }
        converged = std::sqrt(moved) <= kFarthestCorrection * step;
        break;
      }
      system.Jacobian(y, jacobian);
      std::vector<double> delta(residual);
      for (double& v : delta) v = -v;
      delta.push_back(0);
      if (!SolveBordered(jacobian, tangent, delta)) break;
      const double next = Norm(delta);
      // A corrector that does not contract has left the path's neighbourhood.
      if (iterations > 0 && next > kContraction * size) break;
      size = next;
      for (int i = 0; i < n; ++i)
        y[static_cast<std::size_t>(i)] += delta[static_cast<std::size_t>(i)];
    }
    if (stop) break;
    // The new point is taken when the curve bent little on the way (a sharper bend may be a
    // jump to another branch) and the parameter stayed positive (the path never returns to
    // its start).
    std::vector<double> next;
    if (converged) {
      system.Jacobian(y, jacobian);
      previous = tangent;
      double turn = 0;
      if (tangentAt(next)) {
        for (int i = 0; i < n; ++i) {
          turn += next[static_cast<std::size_t>(i)] * tangent[static_cast<std::size_t>(i)];
        }
      }
      converged = turn >= kLeastCosine && y.back() > 0;
    }
    if (!converged) {
      step /= 2;
      if (step < kStepFloor * (1 + std::fabs(x.back()))) {
        return Failed(result,
                      "the step shrank below its floor at lambda " + FormatGeneral(x.back(), 8));
      }
      continue;
    }
    tangent = next;
    if (y.back() < x.back()) ++result.Turns;
    x = y;
    ++result.Steps;
    if (!watcher.Reached(x, tangent, step, iterations, last)) {
      result.Outcome = TTraceResult::End::Ended;
      return result;
    }
    step *= iterations <= 2 ? 2.0 : iterations <= 4 ? 1.2 : 1.0;
  }
  result.Outcome = TTraceResult::End::Stopped;
  return result;
}

}  // namespace ludomark
