// Backward induction as a stage of a run: every subgame-perfect equilibrium in pure choices of
// a game of perfect information, ties followed one by one.
#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "model/choice.h"
#include "model/game_object.h"
#include "model/info.h"
#include "solver/backward_induction.h"
#include "solver/evaluation.h"
#include "solver/found_point.h"
#include "solver/solve_run.h"

namespace ludomark {

namespace {

// Steps between two looks at the stop token and the progress.
constexpr std::size_t kStepsPerLook = 4096;

class TInduction {
 public:
  explicit TInduction(const TInductionShape& shape)
      : shape_(shape),
        players_(static_cast<std::size_t>(shape.Players)),
        values_((static_cast<std::size_t>(shape.Nodes) + 1) * players_, 0.0),
        option_(players_, 0.0),
        pick_(shape.Steps.size(), 0) {}

  // Evaluates the step with the option it has picked; at a player's node with no pick yet,
  // picks the first best option and keeps the others within the tolerance for later. An
  // eliminated choice is never picked, as the enumeration never plays it: false when every
  // best option is eliminated (no equilibrium goes on from here).
  bool Take(std::size_t i, bool fresh) {
    const TInductionShape::Step& step = shape_.Steps[i];
    if (fresh && step.Mover != 0 && step.Count > 1) {
      const std::size_t mover = static_cast<std::size_t>(step.Mover - 1);
      double best = kInitialMaximum;
      scratch_.clear();
      for (int k = 0; k < step.Count; ++k) {
        OptionValue(step.First + k);
        scratch_.push_back(option_[mover]);
        best = std::max(best, option_[mover]);
      }
      const std::size_t first = ties_.size();
      for (int k = 0; k < step.Count; ++k) {
        if (scratch_[static_cast<std::size_t>(k)] + kBestReplyTolerance >= best &&
            !shape_.Options[static_cast<std::size_t>(step.First) + static_cast<std::size_t>(k)]
                 .Choice->Eliminated)
          ties_.push_back(k);
      }
      if (ties_.size() == first) return false;
      pick_[i] = ties_[first];
      if (ties_.size() - first > 1) {
        branches_.push_back({i, first, first + 1});
      } else {
        ties_.resize(first);
      }
    } else if (fresh) {
      pick_[i] = 0;
      if (step.Count == 1 &&
          shape_.Options[static_cast<std::size_t>(step.First)].Choice != nullptr &&
          shape_.Options[static_cast<std::size_t>(step.First)].Choice->Eliminated)
        return false;
    }
    if (step.Count == 0) {
      std::fill(option_.begin(), option_.end(), 0.0);
    } else {
      OptionValue(step.First + pick_[i]);
    }
    std::copy(option_.begin(), option_.end(), values_.begin() + Slot(step.Node));
    return true;
  }

  // The deepest step with a tie not yet followed, its next option picked; false when none is
  // left.
  bool NextBranch(std::size_t& step) {
    while (!branches_.empty()) {
      Branch& b = branches_.back();
      if (b.Next < ties_.size()) {
        step = b.Step;
        pick_[b.Step] = ties_[b.Next++];
        return true;
      }
      ties_.resize(b.First);
      branches_.pop_back();
    }
    return false;
  }

  int Pick(std::size_t i) const { return pick_[i]; }

 private:
  struct Branch {
    std::size_t Step = 0;
    std::size_t First = 0;  // its tied options: ties_[First] up to the next branch's First
    std::size_t Next = 0;
  };

  std::size_t Slot(int node) const { return static_cast<std::size_t>(node) * players_; }

  // What the option is worth to every player, into option_.
  void OptionValue(int o) {
    std::fill(option_.begin(), option_.end(), 0.0);
    const TInductionShape::Option& option = shape_.Options[static_cast<std::size_t>(o)];
    for (int m = option.FirstMove; m < option.FirstMove + option.MoveCount; ++m) {
      const TInductionShape::Move& move = shape_.Moves[static_cast<std::size_t>(m)];
      for (int p = move.FirstPayoff; p < move.FirstPayoff + move.PayoffCount; ++p) {
        const auto& [player, payoff] = shape_.Payoffs[static_cast<std::size_t>(p)];
        if (player >= 1 && static_cast<std::size_t>(player) <= players_)
          option_[static_cast<std::size_t>(player - 1)] += move.Reward * payoff;
      }
      if (move.To == 0) continue;
      const double* next = values_.data() + Slot(move.To);
      for (std::size_t q = 0; q < players_; ++q) option_[q] += move.Weight * next[q];
    }
  }

  const TInductionShape& shape_;
  std::size_t players_;
  std::vector<double> values_;  // by node number, then player
  std::vector<double> option_;
  std::vector<double> scratch_;
  std::vector<int> pick_;  // by step: the option taken
  std::vector<int> ties_;  // the tied options of the open branches, one run after another
  std::vector<Branch> branches_;
};

}  // namespace

bool TSolveRun::InduceBackwards() {
  if (Stopped) return true;  // nothing to fall back to: the run ends
  TGameForm32& game = *Game;
  TInductionShape shape;
  if (!Induction || !InductionShapeOf(game, shape)) return false;
  Caption("Inducing backwards...");
  stage_ = kFoundProfiling;
  ResetProgressBar();
  Progress = 0;
  const std::size_t steps = shape.Steps.size();
  // As many solutions as a list shows, and fewer in a large game: each holds a value per node.
  const auto size =
      static_cast<long long>(shape.Nodes) + static_cast<long long>(shape.Options.size());
  const int limit = static_cast<int>(std::min<long long>(
      InducedLimit, std::max<long long>(1, kInducedListEntries / std::max(size, 1LL))));

  // Walks the steps from `from` on; false when a stop came or no equilibrium goes on.
  const auto walk = [&](TInduction& induction, std::size_t from, bool first) {
    for (std::size_t i = from; i < steps; ++i) {
      if (!induction.Take(i, /*fresh=*/true)) return false;
      if (i % kStepsPerLook == 0) {
        if (Stopped) return false;
        if (first) {
          Progress = static_cast<double>(i) / static_cast<double>(2 * steps);
          ShowProgress();
        }
      }
    }
    return true;
  };
  // Every profile of subgame-perfect choices, each handed to `visit` until it says no more;
  // `counting` shows the first walk's progress (the first half of the stage).
  const auto search = [&](bool counting, auto&& visit) {
    TInduction induction(shape);
    bool done = walk(induction, 0, /*first=*/counting);
    std::size_t branch = 0;
    while (!Stopped) {
      if (done && !visit(induction)) return;
      if (!induction.NextBranch(branch)) return;
      induction.Take(branch, /*fresh=*/false);
      done = walk(induction, branch + 1, /*first=*/false);
    }
  };

  // First counted, so that a game with more of them than the list holds records none.
  int count = 0;
  search(/*counting=*/true, [&](const TInduction&) { return ++count <= limit; });
  if (Stopped) return true;
  if (count > limit) {
    Log("Backward induction: more than " + std::to_string(limit) +
        " subgame-perfect equilibria; enumerating instead");
    return false;
  }
  Progress = 0.5;
  ShowProgress();

  const std::size_t foundBefore = Found != nullptr ? Found->size() : 0;
  int met = 0;
  bool confirmed = true;
  search(/*counting=*/false, [&](const TInduction& induction) {
    MarkInfos(game, /*all=*/false);
    for (std::size_t i = 0; i < steps; ++i) {
      const TInductionShape::Step& step = shape.Steps[i];
      if (step.Mover == 0) continue;
      for (int k = 0; k < step.Count; ++k) {
        shape.Options[static_cast<std::size_t>(step.First) + static_cast<std::size_t>(k)]
            .Choice->Mark = k == induction.Pick(i);
      }
    }
    SetPureProbabilities(game);
    // The evaluation has the last word: a profile it does not confirm ends the induction.
    if (!Evaluate(game, /*all=*/true) || !IsEquilibrium(game)) {
      confirmed = false;
      return false;
    }
    key_ = static_cast<uint64_t>(met++);
    NoteLeaf();
    // Every shard meets all of them, as every shard profiles whole.
    MetEquilibrium(kFoundPure);
    AddProgress(2.0 * count);
    return true;
  });
  if (Stopped) return true;
  if (!confirmed) {
    Log("Backward induction: a profile was not confirmed; enumerating instead");
    game.Solutions().FreeByType(kEveryType);
    if (Found != nullptr) Found->resize(foundBefore);
    hasLast_ = false;
    if (Observer != nullptr) Observer->SolutionsChanged();
    return false;
  }
  Log("Backward induction: " + std::to_string(met) + " subgame-perfect equilibria");
  return true;
}

}  // namespace ludomark
