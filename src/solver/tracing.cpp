// The Tracing method: one equilibrium at the end of the logit path, followed by arc length
// with a predictor along the tangent and a Newton corrector, then polished by the Newton
// iteration of the mixed method on the support the path reached.
#include "solver/tracing.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "model/choice.h"
#include "model/info.h"
#include "model/number_format.h"
#include "solver/dense_solve.h"
#include "solver/evaluation.h"
#include "solver/logit_path.h"
#include "solver/newton.h"
#include "solver/solutions.h"
#include "solver/solve_run.h"

namespace ludomark {

namespace {

constexpr double kFirstStep = 0.05;
constexpr double kStepFloor = 1e-10;  // relative to 1 + lambda
constexpr double kCorrectorTolerance = 1e-10;
constexpr double kFarthestCorrection = 0.3;  // of the step
constexpr double kLeastCosine = 0.95;        // between the tangents before and after a step
constexpr int kCorrectorSteps = 8;
constexpr double kPolishRate = 1e-3;  // the profile's change per unit of log lambda
constexpr double kSupportThreshold = 1e-6;
constexpr double kLeavingTrend = -0.5;  // d log p / d log lambda of a choice the path leaves
constexpr int kPolishSteps = 30;

// The equilibrium test in the game's own units: every choice played is within 1e-8 of the
// largest payoff of its set's best (the evaluation's test is absolute, which any profile of a
// game of tiny payoffs passes).
bool SharpAtScale(const TLogitPath& path) {
  const double tolerance = kBestReplyTolerance * std::min(path.Scale(), 1.0);
  for (const TChoice32* c : path.Choices()) {
    if (c->Probability >= kPlayedThreshold && c->Expected + tolerance < c->Info->BestValue) {
      return false;
    }
  }
  return true;
}

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

// The system of the path with one more row, the direction given: its solution for the right
// side given.
bool SolveBordered(const std::vector<double>& jacobian, const std::vector<double>& border,
                   std::vector<double>& side) {
  const int n = static_cast<int>(border.size());
  std::vector<double> system(jacobian);
  system.insert(system.end(), border.begin(), border.end());
  return SolveDense(system, side, n);
}

// The beliefs at the path's last point, kept for the sets that play stops reaching: far along
// the path, where a probability underflows, and at the polished point.
void HoldBeliefs(TGameForm32& game) {
  std::vector<double>& held = game.Work->HeldBeliefs;
  held.assign(static_cast<std::size_t>(game.Nodes().LiveCount()) + 1, 0.0);
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    if (node->Number >= 0 && static_cast<std::size_t>(node->Number) < held.size()) {
      held[static_cast<std::size_t>(node->Number)] = node->Belief;
    }
  });
}

}  // namespace

// Along the whole path the beliefs are Bayes' rule on play from the start, smooth in the
// probabilities.
void ReachFromTheStartOnly(TGameForm32& game) {
  TNode32* start = game.Root();
  if (start == nullptr || start->RootWeight == 0) return;
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) { node->RootWeight = 0; });
  start->RootWeight = 1;
}

double TracingFraction(double lambda) {
  return std::clamp(std::log10(1 + std::max(lambda, 0.0)) / kTracingNominalEnd, 0.0, 1.0);
}

bool TSolveRun::TracePolish(const TLogitPath& path, const std::vector<double>& point,
                            const std::vector<double>& tangent) {
  // The support: what the path keeps playing as lambda grows. A choice it leaves has a
  // log-probability that falls at least as fast as log lambda grows (exponentially when its
  // value is worse, like 1 / lambda when it is as good but unused); one it keeps, slower. Where
  // the path runs back in lambda, the likely choices are taken instead.
  const double lambda = point.back();
  const double rate = tangent.back();
  std::vector<char> kept(point.size() - 1);
  for (const bool byTrend : {true, false}) {
    if (byTrend && !(rate > 0)) continue;
    for (std::size_t c = 0; c < kept.size(); ++c) {
      kept[c] = byTrend ? lambda * tangent[c] / rate > kLeavingTrend
                        : std::exp(point[c]) >= kSupportThreshold;
    }
    if (TracePolishOn(path, point, kept)) return true;
    if (Stopped) return false;
  }
  return false;
}

bool TSolveRun::TracePolishOn(const TLogitPath& path, const std::vector<double>& point,
                              const std::vector<char>& kept) {
  const std::vector<TChoice32*>& choices = path.Choices();
  const std::vector<int>& starts = path.SetStarts();
  // Every set keeps at least its likeliest choice.
  for (std::size_t s = 0; s + 1 < starts.size(); ++s) {
    const auto first = static_cast<std::size_t>(starts[s]);
    const auto end = static_cast<std::size_t>(starts[s + 1]);
    std::size_t likeliest = first;
    for (std::size_t c = first; c < end; ++c) {
      if (point[c] > point[likeliest]) likeliest = c;
    }
    for (std::size_t c = first; c < end; ++c) {
      const double p = std::exp(point[c]);
      choices[c]->Mark = c == likeliest || kept[c] != 0;
      choices[c]->SetProbability(choices[c]->Mark ? p : 0.0);
    }
  }
  if (!Normalize(*Game) || !Evaluate(*Game, /*all=*/true)) return false;
  int hits = 0;
  for (int n = 1; n <= kPolishSteps && !Stopped; ++n) {
    if (IsEquilibrium(*Game) && SharpAtScale(path)) return true;
    NewtonDirection(static_cast<TGameType32&>(*Game));
    Step = 1;
    TakeStep(/*random=*/false);
    if (FacetHit && ++hits > 4) return false;
    if (!Evaluate(*Game, /*all=*/true)) return false;
  }
  return !Stopped && IsEquilibrium(*Game) && SharpAtScale(path);
}

void TSolveRun::Trace() {
  Caption("Tracing...");
  stage_ = kFoundExploring;
  key_ = 0;
  TracedLambda = 0;
  TracedSteps = 0;
  TracedTurns = 0;
  TracingFailure.clear();
  // A shard's share of one path is all of it or nothing: the first shard follows it.
  if (!OwnsLeaf(0)) return;
  NoteLeaf();
  ReachFromTheStartOnly(*Game);
  TLogitPath path(*Game);
  const auto fail = [&](const std::string& why) {
    TracingFailure = why;
    Log("Tracing failed: " + why);
  };
  std::vector<double> x = path.Start();
  const int n = path.Unknowns();
  std::vector<double> residual;
  std::vector<double> jacobian;
  if (!path.Evaluate(x)) return fail("the game cannot be evaluated at the uniform profile");
  path.Jacobian(x, jacobian);
  // The tangent: the direction along which the residual does not change, oriented as before.
  std::vector<double> previous(static_cast<std::size_t>(n), 0.0);
  previous.back() = 1;  // lambda grows from 0
  auto tangentAt = [&](std::vector<double>& direction) {
    direction.assign(static_cast<std::size_t>(n), 0.0);
    direction.back() = 1;
    if (!SolveBordered(jacobian, previous, direction)) return false;
    const double length = Norm(direction);
    for (double& v : direction) v /= length;
    return true;
  };
  std::vector<double> tangent;
  if (!tangentAt(tangent)) return fail("the path has no direction at its start");
  double step = kFirstStep;
  double lastPolish = 0;
  std::vector<double> lastProbabilities(x.size() - 1);
  for (std::size_t c = 0; c + 1 < x.size(); ++c) lastProbabilities[c] = std::exp(x[c]);
  while (!Stopped) {
    // Predictor along the tangent, then Newton back onto the path within the plane at right
    // angles to the tangent.
    // Far along, the step may grow with lambda, but never past it: a longer one could land on
    // another branch of the curve.
    step = std::min(step, 1 + std::fabs(x.back()));
    std::vector<double> y(x);
    for (int i = 0; i < n; ++i)
      y[static_cast<std::size_t>(i)] += step * tangent[static_cast<std::size_t>(i)];
    std::vector<double> predicted(y);
    bool converged = false;
    int iterations = 0;
    double last = 0;
    double size = 0;
    for (; iterations < kCorrectorSteps && !Stopped; ++iterations) {
      if (!path.Evaluate(y)) break;
      path.Residual(y, residual);
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
      path.Jacobian(y, jacobian);
      std::vector<double> delta(residual);
      for (double& v : delta) v = -v;
      delta.push_back(0);
      if (!SolveBordered(jacobian, tangent, delta)) break;
      const double next = Norm(delta);
      // A corrector that does not contract has left the path's neighbourhood.
      if (iterations > 0 && next > 0.5 * size) break;
      size = next;
      for (int i = 0; i < n; ++i)
        y[static_cast<std::size_t>(i)] += delta[static_cast<std::size_t>(i)];
    }
    if (Stopped) break;
    // The new point is taken when the curve bent little on the way (a sharper bend may be a
    // jump to another branch) and lambda stayed positive (the path from 0 never returns there).
    std::vector<double> next;
    if (converged) {
      path.Jacobian(y, jacobian);
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
        return fail("the step shrank below its floor at lambda " + FormatGeneral(x.back(), 8));
      }
      continue;
    }
    tangent = next;
    HoldBeliefs(*Game);
    const double lambdaBefore = x.back();
    x = y;
    if (TracedPoints != nullptr) TracedPoints->push_back(x);
    ++TracedSteps;
    if (x.back() < lambdaBefore) ++TracedTurns;
    TracedLambda = x.back();
    if (DebugMode) {
      Log("Tracing lambda= " + FormatGeneral(x.back(), 8) + " step= " + FormatGeneral(step, 8) +
          " residual= " + FormatGeneral(last, 8));
    }
    ShowTracing(x.back());
    step *= iterations <= 2 ? 2.0 : iterations <= 4 ? 1.2 : 1.0;

    // The end: the profile has stopped changing as lambda grows; the mixed method's iteration
    // takes it to the equilibrium the path approaches.
    double change = 0;
    for (std::size_t c = 0; c + 1 < x.size(); ++c) {
      const double p = std::exp(x[c]);
      change = std::max(change, std::fabs(p - lastProbabilities[c]));
      lastProbabilities[c] = p;
    }
    const double growth =
        std::log(std::max(x.back(), 1e-300)) - std::log(std::max(lambdaBefore, 1e-300));
    const bool settled = x.back() > 1 && growth > 0 && change / growth < kPolishRate;
    // Past lambda 16 it is also tried at every fourfold lambda: far along, the probabilities
    // of the choices the path leaves fall below what a double holds, and the path with them.
    const bool checkpoint = x.back() >= 4 * std::max(lastPolish, 4.0);
    if ((settled && x.back() >= 2 * lastPolish) || checkpoint || x.back() >= kTracingLastLambda) {
      lastPolish = x.back();
      if (TracePolish(path, x, tangent)) {
        Log("Tracing ended at lambda " + FormatGeneral(x.back(), 8) + " after " +
            std::to_string(TracedSteps) + " steps");
        bool pure = true;
        for (TChoice32* c : path.Choices()) {
          if (c->Probability > kPlayedThreshold && c->Probability < 1 - kPlayedThreshold)
            pure = false;
        }
        MetEquilibrium(pure ? kFoundPure : kFoundMixed);
        return;
      }
      if (DebugMode) Log("Tracing polish at lambda " + FormatGeneral(x.back(), 8) + " failed");
      if (Stopped) break;
      if (x.back() >= kTracingLastLambda) {
        return fail("no equilibrium near the path's end at lambda " + FormatGeneral(x.back(), 8));
      }
    }
  }
}

}  // namespace ludomark
