// Backward induction as a stage of a run: every subgame-perfect equilibrium in pure choices of
// a game of perfect information, ties followed one by one.
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
            !shape_.Options[static_cast<std::size_t>(step.First + k)].Choice->Eliminated)
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
  TGameForm32& game = *Game;
  TInductionShape shape;
  if (Stopped) return true;  // nothing to fall back to: the run ends
  if (!Induction || !InductionShapeOf(game, shape)) return false;
  Caption("Inducing backwards...");
  stage_ = kFoundProfiling;
  ResetProgressBar();
  Progress = 0;
  const std::size_t steps = shape.Steps.size();
  const std::size_t foundBefore = Found != nullptr ? Found->size() : 0;
  TInduction induction(shape);

  // Records the profile the steps have picked, once the evaluation confirms it.
  int met = 0;
  bool confirmed = true;
  const auto record = [&] {
    MarkInfos(game, /*all=*/false);
    for (std::size_t i = 0; i < steps; ++i) {
      const TInductionShape::Step& step = shape.Steps[i];
      if (step.Mover == 0) continue;
      for (int k = 0; k < step.Count; ++k) {
        shape.Options[static_cast<std::size_t>(step.First + k)].Choice->Mark =
            k == induction.Pick(i);
      }
    }
    SetPureProbabilities(game);
    if (!Evaluate(game, /*all=*/true) || !IsEquilibrium(game)) {
      confirmed = false;
      return;
    }
    key_ = static_cast<uint64_t>(met++);
    NoteLeaf();
    if (OwnsLeaf(key_)) MetEquilibrium(kFoundPure);
  };

  // Walks the steps from `from` on; false when a stop came or no equilibrium goes on.
  const auto walk = [&](std::size_t from, bool first) {
    for (std::size_t i = from; i < steps; ++i) {
      if (!induction.Take(i, /*fresh=*/true)) return false;
      if (i % kStepsPerLook == 0) {
        if (Stopped) return false;
        if (first) {
          Progress = static_cast<double>(i) / static_cast<double>(steps);
          ShowProgress();
        }
      }
    }
    return true;
  };

  bool done = walk(0, /*first=*/true);
  std::size_t branch = 0;
  while (!Stopped) {
    if (done) record();
    if (!confirmed || met > InducedLimit) break;
    if (!induction.NextBranch(branch)) break;
    induction.Take(branch, /*fresh=*/false);
    done = walk(branch + 1, /*first=*/false);
  }
  if (Stopped) return true;
  if (!confirmed || met > InducedLimit) {
    Log(!confirmed ? "Backward induction: a profile was not confirmed; enumerating instead"
                   : "Backward induction: more than " + std::to_string(InducedLimit) +
                         " subgame-perfect equilibria; enumerating instead");
    game.Solutions().FreeByType(kEveryType);
    if (Found != nullptr) Found->resize(foundBefore);
    hasLast_ = false;
    if (Observer != nullptr) Observer->SolutionsChanged();
    return false;
  }
  Progress = 1;
  ShowProgress();
  Log("Backward induction: " + std::to_string(met) + " subgame-perfect equilibria");
  return true;
}

}  // namespace ludomark
