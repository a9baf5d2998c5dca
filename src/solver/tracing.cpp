// The Tracing method: one equilibrium at the end of the logit path, followed by arc length
// with a predictor along the tangent and a Newton corrector, then polished by the Newton
// iteration of the mixed method on the support the path reached.
#include "solver/tracing.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "model/choice.h"
#include "model/info.h"
#include "model/number_format.h"
#include "solver/evaluation.h"
#include "solver/logit_path.h"
#include "solver/newton.h"
#include "solver/path_tracer.h"
#include "solver/sequence_form.h"
#include "solver/solutions.h"
#include "solver/solve_run.h"
#include "solver/solver_index.h"

namespace ludomark {

namespace {

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

// What the run does at each point of the logit path: keeps it, shows it, and tries the end
// where the profile settles.
class TTracingWatcher : public TPathWatcher {
 public:
  TTracingWatcher(
      TSolveRun& run, const std::vector<double>& start,
      std::function<bool(const std::vector<double>&, const std::vector<double>&)> polish)
      : run_(run), polish_(std::move(polish)) {
    last_.resize(start.size() - 1);
    for (std::size_t c = 0; c + 1 < start.size(); ++c) last_[c] = std::exp(start[c]);
  }
  bool Met() const { return met_; }
  const std::string& Failure() const { return failure_; }

  bool Reached(const std::vector<double>& x, const std::vector<double>& tangent, double step,
               int /*iterations*/, double residual) override {
    HoldBeliefs(*run_.Game);
    if (run_.TracedPoints != nullptr) run_.TracedPoints->push_back(x);
    ++run_.TracedSteps;
    if (x.back() < run_.TracedLambda) ++run_.TracedTurns;
    const double lambdaBefore = lambda_;
    lambda_ = x.back();
    run_.TracedLambda = x.back();
    if (DebugMode) {
      run_.Log("Tracing lambda= " + FormatGeneral(x.back(), 8) +
               " step= " + FormatGeneral(step, 8) + " residual= " + FormatGeneral(residual, 8));
    }
    run_.ShowTracing(x.back());
    // The end: the profile has stopped changing as lambda grows; the mixed method's iteration
    // takes it to the equilibrium the path approaches.
    double change = 0;
    for (std::size_t c = 0; c + 1 < x.size(); ++c) {
      const double p = std::exp(x[c]);
      change = std::max(change, std::fabs(p - last_[c]));
      last_[c] = p;
    }
    const double growth =
        std::log(std::max(x.back(), 1e-300)) - std::log(std::max(lambdaBefore, 1e-300));
    const bool settled = x.back() > 1 && growth > 0 && change / growth < kPolishRate;
    // Past lambda 16 it is also tried at every fourfold lambda: far along, the probabilities
    // of the choices the path leaves fall below what a double holds, and the path with them.
    const bool checkpoint = x.back() >= 4 * std::max(lastPolish_, 4.0);
    if ((settled && x.back() >= 2 * lastPolish_) || checkpoint || x.back() >= kTracingLastLambda) {
      lastPolish_ = x.back();
      if (polish_(x, tangent)) {
        met_ = true;
        return false;
      }
      if (DebugMode) run_.Log("Tracing polish at lambda " + FormatGeneral(x.back(), 8) + " failed");
      if (run_.Stopped) return false;
      if (x.back() >= kTracingLastLambda) {
        failure_ = "no equilibrium near the path's end at lambda " + FormatGeneral(x.back(), 8);
        return false;
      }
    }
    return true;
  }

 private:
  TSolveRun& run_;
  std::function<bool(const std::vector<double>&, const std::vector<double>&)> polish_;
  std::vector<double> last_;
  double lambda_ = 0;
  double lastPolish_ = 0;
  bool met_ = false;
  std::string failure_;
};

void TSolveRun::Trace() {
  if (Stopped) return;
  Caption("Tracing...");
  stage_ = kFoundExploring;
  key_ = 0;
  TracedLambda = 0;
  TracedSteps = 0;
  TracedTurns = 0;
  Failure.clear();
  // A shard's share of one path is all of it or nothing: the first shard follows it.
  if (!OwnsLeaf(0)) return;
  NoteLeaf();
  ReachFromTheStartOnly(*Game);
  TLogitPath path(*Game);
  const auto fail = [&](const std::string& why) {
    Failure = why;
    Log("Tracing failed: " + why);
  };
  const std::vector<double> start = path.Start();
  TTracingWatcher watcher(*this, start,
                          [&](const std::vector<double>& x, const std::vector<double>& tangent) {
                            return TracePolish(path, x, tangent);
                          });
  const TTraceResult traced = TracePath(path, start, Stopped, watcher);
  if (watcher.Met()) {
    Log("Tracing ended at lambda " + FormatGeneral(TracedLambda, 8) + " after " +
        std::to_string(TracedSteps) + " steps");
    bool pure = true;
    for (TChoice32* c : path.Choices()) {
      if (c->Probability > kPlayedThreshold && c->Probability < 1 - kPlayedThreshold) pure = false;
    }
    MetEquilibrium(pure ? kFoundPure : kFoundMixed);
    return;
  }
  if (!watcher.Failure().empty()) {
    fail(watcher.Failure());
  } else if (traced.Outcome == TTraceResult::End::Failed) {
    fail(traced.Failure);
  }
  if (!Failure.empty() && !Stopped) HandOverToLemke();
}

// Where the path's end is no isolated equilibrium (a continuum of them), a game of two players
// without cycles still has the one Lemke's method finds.
void TSolveRun::HandOverToLemke() {
  TSequenceForm form;
  if (!BuildSequenceForm(*Game, form).empty()) return;
  const std::string traced = Failure;
  Log("Lemke's method takes over");
  // Beliefs as every method defines them again, not those of play from the start alone.
  InitNodeWeights(*Game);
  Game->Work->HeldBeliefs.clear();
  BuildSolverIndex(*Game);
  SolveSequenceForm();
  if (!Failure.empty()) Failure = traced + "; Lemke's method: " + Failure;
}

}  // namespace ludomark
