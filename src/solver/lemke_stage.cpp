// The sequence-form method: one equilibrium of a two-player game without cycles by Lemke's
// complementary pivoting on the realisation plans of a slightly perturbed game, then the
// perturbation taken away and the point made exact by the mixed method's Newton iteration
// on the supports it plays.
#include <algorithm>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "audit/leaving_moves.h"
#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "solver/evaluation.h"
#include "solver/found_point.h"
#include "solver/lemke.h"
#include "solver/newton.h"
#include "solver/sequence_form.h"
#include "solver/sequence_lcp.h"
#include "solver/solve_run.h"

namespace ludomark {

namespace {

constexpr int kLemkePolishSteps = 30;
constexpr int kRepairRounds = 100;
// Pivots allowed per variable of the problem before the method gives up.
constexpr int kPivotsPerVariable = 50;

void PlayBehaviour(const TSequenceForm& form, const std::array<std::vector<double>, 2>& play) {
  for (std::size_t p = 0; p < 2; ++p) {
    const TSequenceForm::Side& side = form.Sides[p];
    for (std::size_t s = 1; s < play[p].size(); ++s) {
      TChoice32* choice = side.Choices[s - 1];
      choice->SetProbability(play[p][s]);
      choice->Mark = play[p][s] > 0;
    }
  }
}

// The sets play from the start reaches with positive probability.
std::unordered_set<const TGameObject32*> ReachedSets(TGameForm32& game) {
  std::unordered_set<const TGameObject32*> reached;
  const LeavingMoves leaving = GatherLeavingMoves(game);
  std::vector<std::pair<TNode32*, double>> todo{{game.Root(), 1.0}};
  while (!todo.empty()) {
    const auto [node, reach] = todo.back();
    todo.pop_back();
    if (node == nullptr || reach < kPlayedThreshold) continue;
    reached.insert(node->Info.get());
    const auto it = leaving.find(node);
    if (it == leaving.end()) continue;
    const bool chance = node->Player.get() == nullptr;
    for (TMove32* move : it->second) {
      const double p =
          chance ? move->Value : (move->Choice.get() != nullptr ? move->Choice->Probability : 0);
      if (move->To.get() != nullptr) todo.emplace_back(move->To.get(), reach * p);
    }
  }
  return reached;
}

}  // namespace

// Where play does not reach a set, the plan says nothing about it: such a set takes its best
// choice, from the last sets of play up (each round settles what the round before made best).
// The player's choice before it stays a best reply, as the plan's values count the best play
// after it.
void TSolveRun::BestRepliesOffThePath() {
  if (!Normalize(*Game) || !Evaluate(*Game, /*all=*/true)) return;
  const auto reached = ReachedSets(*Game);
  for (int round = 0; round < kRepairRounds && !Stopped; ++round) {
    bool changed = false;
    Game->Infos().ForEachAs<TInfo32>([&](TInfo32* set) {
      if (!HasPlayer(set) || reached.count(set) != 0 || set->Best.get() == nullptr) return;
      bool wrong = false;
      set->Choices.ForEachAs<TChoice32>([&](TChoice32* c) {
        if (c->Probability >= kPlayedThreshold &&
            c->Expected + kBestReplyTolerance < set->BestValue) {
          wrong = true;
        }
      });
      if (!wrong) return;
      set->Choices.ForEachAs<TChoice32>([&](TChoice32* c) {
        c->SetProbability(c == set->Best.get() ? 1 : 0);
        c->Mark = c == set->Best.get();
      });
      changed = true;
    });
    if (!changed || !Evaluate(*Game, /*all=*/true)) return;
  }
}

bool TSolveRun::PolishOnSupport() {
  if (!Normalize(*Game) || !Evaluate(*Game, /*all=*/true)) return false;
  int hits = 0;
  for (int n = 1; n <= kLemkePolishSteps && !Stopped; ++n) {
    if (IsEquilibrium(*Game)) return true;
    NewtonDirection(static_cast<TGameType32&>(*Game));
    Step = 1;
    TakeStep(/*random=*/false);
    if (FacetHit && ++hits > 4) return false;
    if (!Evaluate(*Game, /*all=*/true)) return false;
  }
  return !Stopped && IsEquilibrium(*Game);
}

void TSolveRun::SolveSequenceForm() {
  if (Stopped) return;
  Caption("Building the sequence form...");
  stage_ = kFoundExploring;
  key_ = 0;
  Failure.clear();
  if (!OwnsLeaf(0)) return;
  NoteLeaf();
  TSequenceForm form;
  if (std::string why = BuildSequenceForm(*Game, form); !why.empty()) {
    Failure = why;
    Log("Lemke: " + why);
    return;
  }
  Caption("Pivoting...");
  // The perturbation decides play where the other player does not lead; when the beliefs
  // there ask for other play than the perturbation's, a larger one, then none, is tried.
  bool met = false;
  for (const double tremble : kSequenceTrembles) {
    const TLcp lcp = SequenceFormLcp(form, tremble);
    const int limit = kPivotsPerVariable * std::max(lcp.Size, 1);
    const TLcpResult solved = SolveLcp(lcp, Stopped, limit, [&](int pivots) {
      // The number of pivots is not known ahead; most problems need about one per variable.
      Progress = std::min(0.95, static_cast<double>(pivots) / (2.0 * lcp.Size));
      ShowProgress();
    });
    if (solved.Outcome == TLcpResult::End::Stopped) return;
    if (solved.Outcome != TLcpResult::End::Solved) {
      Failure = solved.Outcome == TLcpResult::End::Ray ? "the pivoting ended on a ray"
                                                       : "the pivoting did not end";
      Log("Lemke: " + Failure + " after " + std::to_string(solved.Pivots) + " pivots");
      continue;
    }
    Log("Lemke: " + std::to_string(solved.Pivots) + " pivots on " + std::to_string(lcp.Size) +
        " variables");
    PlayBehaviour(form, BehaviourFromLcp(form, solved.Z));
    BestRepliesOffThePath();
    met = PolishOnSupport();
    if (met || Stopped) break;
    Failure = "the point it found is not an equilibrium of the game";
  }
  if (!met) return;
  Failure.clear();
  bool pure = true;
  for (const TSequenceForm::Side& side : form.Sides) {
    for (const TChoice32* c : side.Choices) {
      if (c->Probability > kPlayedThreshold && c->Probability < 1 - kPlayedThreshold) pure = false;
    }
  }
  Progress = 1;
  ShowProgress();
  MetEquilibrium(pure ? kFoundPure : kFoundMixed);
}

}  // namespace ludomark
