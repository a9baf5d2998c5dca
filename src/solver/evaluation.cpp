#include "solver/evaluation.h"

#include <atomic>
#include <cmath>
#include <vector>

#include "audit/payoff_scale.h"
#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/settings.h"
#include "solver/solver_index.h"

namespace ludomark {

namespace {

std::atomic<bool> denseEvaluation{false};

bool IsSingletonNode(const TNode32* node) {
  return node->Info.get() != nullptr && node->Info->Singleton;
}

// Step 1: I - T on the left of the reach matrix.
void BuildTransitions(TGameForm32& game, TMatrix& reach) {
  const int n = reach.Capacity();
  for (int i = 1; i <= n; ++i) {
    double* row = reach.Row(i);
    for (int j = 0; j < n; ++j) row[j] = 0.0;
    row[i - 1] = 1.0;
  }
  for (const TSolverIndex::Transition& t : SolverIndex(game).Transitions) {
    reach.Put(/*add=*/true, t.From, t.To, -(t.Move->Value * t.Choice->Probability));
  }
}

// Step 3: what each player collects at each node, weighted by the chance of its move.
void BuildRewards(TGameForm32& game, TMatrix& rewards) {
  const double unit = game.Work->PayoffScale;
  for (int p = 1; p <= rewards.Capacity(); ++p) {
    double* row = rewards.Row(p);
    for (int j = 0; j < rewards.Cols(); ++j) row[j] = 0.0;
  }
  for (const TSolverIndex::Reward& r : SolverIndex(game).Rewards) {
    double weight;
    if (r.Chance) {
      weight = r.Move->Value;
    } else if (r.Choice != nullptr) {
      weight = r.Choice->Probability;
    } else {
      continue;
    }
    if (r.Player < 1 || r.Player > rewards.Capacity() || r.From < 1 || r.From > rewards.Width())
      continue;
    double& entry = rewards.Row(r.Player)[r.From - 1];
    entry = entry + r.Element->Value / unit * weight;
  }
}

// Step 4: V = (I - T)^-1 R, row by row; rewards sit at few nodes, so only those are read.
void ComputeNodeValues(const TMatrix& reach, const TMatrix& rewards, TMatrix& values,
                       std::vector<int>& paying) {
  const int n = reach.Capacity();
  const int players = values.Capacity();
  for (int p = 1; p <= players; ++p) {
    const double* reward = rewards.Row(p);
    double* value = values.Row(p);
    paying.clear();
    for (int b = 0; b < n; ++b) {
      if (reward[b] != 0.0) paying.push_back(b);
    }
    for (int a = 1; a <= n; ++a) {
      const double* inverse = reach.Row(a) + n;
      double sum = 0;
      for (int b : paying) sum += inverse[b] * reward[b];
      value[a - 1] = sum;
    }
  }
}

// Steps 1 and 2 by components: the system of the run's transitions, factored for the profile.
bool FactorReach(TGameForm32& game) {
  TSolverWork& work = *game.Work;
  const TSolverIndex& index = SolverIndex(game);
  if (!work.ReachBuilt) {
    std::vector<TReachSystem::Edge> edges;
    edges.reserve(index.Transitions.size());
    for (const TSolverIndex::Transition& t : index.Transitions) edges.push_back({t.From, t.To});
    work.Reach.Build(work.NodeReach->Count(), edges);
    work.ReachBuilt = true;
  }
  work.ReachWeights.resize(index.Transitions.size());
  for (std::size_t i = 0; i < index.Transitions.size(); ++i) {
    const TSolverIndex::Transition& t = index.Transitions[i];
    work.ReachWeights[i] = t.Move->Value * t.Choice->Probability;
  }
  return work.Reach.Factor(work.ReachWeights, work.Stop);
}

// Step 4 by components: each player's values, solved backwards from where play ends.
void ComputeNodeValuesByComponents(TSolverWork& work) {
  const TMatrix& rewards = *work.Rewards;
  TMatrix& values = *work.NodeValues;
  const auto n = static_cast<std::size_t>(work.Reach.Nodes());
  std::vector<double>& x = work.ReachVector;
  for (int p = 1; p <= values.Capacity(); ++p) {
    const double* reward = rewards.Row(p);
    x.assign(reward, reward + n);
    work.Reach.SolveColumn(x);
    std::copy(x.begin(), x.end(), values.Row(p));
  }
}

// The reach of every node from the starting nodes, each with its root weight.
void SumReach(TGameForm32& game, const std::vector<TNode32*>& starts, std::vector<double>& sums) {
  const int n = game.Work->NodeReach->Count();
  sums.assign(static_cast<std::size_t>(n), 0.0);
  for (const TNode32* start : starts) {
    if (start->Number >= 1 && start->Number <= n)
      sums[static_cast<std::size_t>(start->Number - 1)] += start->RootWeight;
  }
  ReachFrom(game, sums);
}

// Step 5: reach of every node from the weighted singleton nodes, and beliefs.
bool ComputeBeliefs(TGameForm32& game, TVector& nodeReach, TVector& infoReach,
                    std::vector<double>& sums) {
  const int n = nodeReach.Count();
  // Reach only serves the beliefs at sets of several nodes (and the solver's log): a game of
  // singleton sets, such as a tree of perfect information, skips it.
  if (!DebugMode && !SolverIndex(game).AnySharedSet) return true;
  const TSolverIndex& index = SolverIndex(game);
  SumReach(game, index.WeightedNodes, sums);
  if (index.SplitReach) {
    std::vector<double>& first = game.Work->StartReachSums;
    SumReach(game, index.StartWeightedNodes, first);
    for (int j = 1; j <= n; ++j) {
      const auto at = static_cast<std::size_t>(j);
      const bool tier = at < index.ReachTier.size() && index.ReachTier[at] != 0;
      nodeReach.Put(/*add=*/false, j, (tier ? first : sums)[at - 1]);
    }
  } else {
    for (int j = 1; j <= n; ++j)
      nodeReach.Put(/*add=*/false, j, sums[static_cast<std::size_t>(j - 1)]);
  }
  for (int i = 1; i <= infoReach.Count(); ++i) infoReach.Put(/*add=*/false, i, 0.0);
  for (std::size_t i = 0; i < index.InfoNumbers.size(); ++i) {
    double sum = 0;
    for (int m = index.InfoFirst[i]; m < index.InfoFirst[i + 1]; ++m)
      sum += nodeReach.Get(index.InfoMembers[static_cast<std::size_t>(m)]);
    infoReach.Put(/*add=*/false, index.InfoNumbers[i], sum);
  }
  if (index.SplitReach) {
    // A set that play from the root could reach, but does not under this profile: its beliefs
    // follow every start, as the weights of all starts define them, rather than being 0 at
    // every member (which would make every choice there best).
    for (std::size_t i = 0; i < index.InfoNumbers.size(); ++i) {
      if (infoReach.Get(index.InfoNumbers[i]) > 0) continue;
      double sum = 0;
      for (int m = index.InfoFirst[i]; m < index.InfoFirst[i + 1]; ++m)
        sum += sums[static_cast<std::size_t>(index.InfoMembers[static_cast<std::size_t>(m)] - 1)];
      if (!(sum > 0)) continue;
      for (int m = index.InfoFirst[i]; m < index.InfoFirst[i + 1]; ++m) {
        const int member = index.InfoMembers[static_cast<std::size_t>(m)];
        nodeReach.Put(/*add=*/false, member, sums[static_cast<std::size_t>(member - 1)]);
      }
      infoReach.Put(/*add=*/false, index.InfoNumbers[i], sum);
    }
  }
  bool ok = true;
  const std::vector<double>& held = game.Work->HeldBeliefs;
  for (const auto& [node, set] : index.BeliefNodes) {
    const double total = infoReach.Get(set);
    const auto number = static_cast<std::size_t>(node->Number);
    const double unreached = number < held.size() ? held[number] : 0.0;
    const double belief = total > 0 ? nodeReach.Get(node->Number) / total : unreached;
    if (!std::isfinite(belief) || !std::isfinite(total)) {
      node->Belief = 0;
      ok = false;
    } else {
      node->Belief = belief;
    }
  }
  return ok;
}

// Step 6: the value of each decision move to its mover.
bool ComputeMoveValues(TGameForm32& game, const TMatrix& values) {
  bool ok = true;
  for (const TSolverIndex::DecisionMove& m : SolverIndex(game).DecisionMoves) {
    TMove32* move = m.Element;
    move->Expected = m.To == 0 ? 0.0 : values.Get(m.Player, m.To) * move->Value;
    if (!std::isfinite(move->Expected)) ok = false;
  }
  // The mover's own payoff on the move.
  for (const TSolverIndex::Reward& r : SolverIndex(game).Rewards) {
    if (!r.Mover) continue;
    r.Move->Expected += r.Element->Value / game.Work->PayoffScale;
    if (!std::isfinite(r.Move->Expected)) ok = false;
  }
  return ok;
}

// Step 7: a choice is worth its moves' values weighted by the beliefs at their nodes.
bool ComputeChoiceValues(TGameForm32& game) {
  bool ok = true;
  const TSolverIndex& index = SolverIndex(game);
  for (const TSolverIndex::Choice& choice : index.Choices) {
    double sum = 0;
    for (int k = choice.First; k < choice.First + choice.Count; ++k) {
      const TMove32* move = index.Moves[static_cast<std::size_t>(k)].Element;
      sum += move->From->Belief * move->Expected;
    }
    choice.Element->Expected = sum;
    if (!std::isfinite(sum)) ok = false;
  }
  return ok;
}

// Visits every set of a player with a way to visit its choices, in list order: through the
// run's index when there is a run, through the lists otherwise.
template <class F>
void ForEachPlayerSet(TGameForm32& game, F&& visit) {
  if (game.Work != nullptr) {
    const TSolverIndex& index = SolverIndex(game);
    for (const TSolverIndex::PlayerSet& set : index.PlayerSets) {
      visit(set.Element, [&](auto&& each) {
        for (int i = set.First; i < set.First + set.Count; ++i)
          each(index.SetChoiceList[static_cast<std::size_t>(i)]);
      });
    }
    return;
  }
  game.Infos().ForEachAs<TInfo32>([&](TInfo32* info) {
    if (!HasPlayer(info)) return;
    visit(info, [&](auto&& each) { info->Choices.ForEachAs<TChoice32>(each); });
  });
}

}  // namespace

void InitNodeWeights(TGameForm32& game) {
  game.Nodes().ForEachAs<TNode32>([](TNode32* node) {
    if (!IsSingletonNode(node)) {
      node->RootWeight = 0;
      return;
    }
    node->Belief = 1;
    const double weight = std::pow(10.0, 240.0 - 8.0 * node->Level);
    node->RootWeight = (std::isfinite(weight) && weight > 0) ? weight : 1.0;
  });
}

void UseDenseEvaluation(bool on) {
  denseEvaluation = on;
}

std::uint64_t WorkBytes(TGameForm32& game, bool newton) {
  const int nodes = game.Nodes().LiveCount();
  const auto n = static_cast<std::uint64_t>(nodes);
  const auto k = static_cast<std::uint64_t>(game.Players().LiveCount());
  const auto c = static_cast<std::uint64_t>(game.Strategies().LiveCount());
  const auto i = static_cast<std::uint64_t>(game.Infos().LiveCount());
  const std::uint64_t free = c > i ? c - i : 0;
  std::uint64_t reach = 0;
  if (denseEvaluation) {
    reach = sizeof(double) * 2 * n * n;  // the augmented inverse
  } else {
    std::vector<TReachSystem::Edge> edges;
    game.Moves().ForEachAs<TMove32>([&](TMove32* m) {
      if (m->From.get() != nullptr && m->To.get() != nullptr)
        edges.push_back({m->From->Number, m->To->Number});
    });
    reach = TReachSystem::Bytes(nodes, edges);
  }
  // Rewards and values, the vectors; sensitivities and the Jacobian (augmented).
  const std::uint64_t newtonBytes = newton ? c * c + 2 * free * free + free : 0;
  return reach + sizeof(double) * (2 * n * k + newtonBytes + n + i);
}

void EnsureNewtonWork(TGameForm32& game) {
  TSolverWork& work = *game.Work;
  if (work.Sensitivity != nullptr) return;
  const int c = work.Choices;
  const int free = c - work.Infos > 0 ? c - work.Infos : 0;
  work.Sensitivity = std::make_unique<TMatrix>(&game, false, c, c);
  work.Jacobian = std::make_unique<TMatrix>(&game, true, free, free);
  work.Residual = std::make_unique<TVector>(free, &game);
}

void ReachFrom(TGameForm32& game, std::vector<double>& r, const std::vector<int>* starts) {
  TSolverWork& work = *game.Work;
  if (work.ReachInverse == nullptr) {
    if (starts != nullptr) {
      work.Reach.SolveRowFrom(r, *starts);
    } else {
      work.Reach.SolveRow(r);
    }
    return;
  }
  const TMatrix& reach = *work.ReachInverse;
  const int n = reach.Capacity();
  std::vector<double> sums(static_cast<std::size_t>(n), 0.0);
  for (int i = 1; i <= n; ++i) {
    const double weight = r[static_cast<std::size_t>(i - 1)];
    if (weight == 0) continue;
    const double* inverse = reach.Row(i) + n;
    for (int j = 0; j < n; ++j) sums[static_cast<std::size_t>(j)] += weight * inverse[j];
  }
  r = std::move(sums);
}

void AllocateWork(TGameForm32& game) {
  FreeWork(game);
  const int n = game.Nodes().LiveCount();
  const int k = game.Players().LiveCount();
  auto work = std::make_unique<TSolverWork>();
  if (denseEvaluation) work->ReachInverse = std::make_unique<TMatrix>(&game, true, n, n);
  work->Choices = game.Strategies().LiveCount();
  work->Infos = game.Infos().LiveCount();
  const int i = work->Infos;
  work->Rewards = std::make_unique<TMatrix>(&game, false, n, k);
  work->NodeValues = std::make_unique<TMatrix>(&game, false, n, k);
  work->NodeReach = std::make_unique<TVector>(n, &game);
  work->InfoReach = std::make_unique<TVector>(i, &game);
  work->PayoffScale = PayoffScale(game);
  game.Work = std::move(work);
  InitNodeWeights(game);
}

void FreeWork(TGameForm32& game) {
  game.Work.reset();
  game.Profiles().FreeByType(kEveryType);
}

void BuildReachMatrix(TGameForm32& game) {
  if (game.Work == nullptr) AllocateWork(game);
  TSolverWork& work = *game.Work;
  if (work.ReachInverse == nullptr) {
    const int n = work.NodeReach->Count();
    work.ReachInverse = std::make_unique<TMatrix>(&game, true, n, n);
  }
  BuildTransitions(game, *work.ReachInverse);
}

bool Evaluate(TGameForm32& game, bool all) {
  if (game.Work == nullptr) AllocateWork(game);
  TSolverWork& work = *game.Work;
  if (work.ReachInverse != nullptr) {
    BuildTransitions(game, *work.ReachInverse);
    work.ReachInverse->Invert(work.Stop);
    if (work.ReachInverse->Singular) return false;
    BuildRewards(game, *work.Rewards);
    ComputeNodeValues(*work.ReachInverse, *work.Rewards, *work.NodeValues, work.PayingNodes);
  } else {
    if (!FactorReach(game)) return false;
    BuildRewards(game, *work.Rewards);
    ComputeNodeValuesByComponents(work);
  }
  bool ok = ComputeBeliefs(game, *work.NodeReach, *work.InfoReach, work.ReachSums);
  ok = ComputeMoveValues(game, *work.NodeValues) && ok;
  ok = ComputeChoiceValues(game) && ok;
  for (const TSolverIndex::PlayerSet& set : SolverIndex(game).PlayerSets) {
    TInfo32* info = set.Element;
    if (!all && info->Temporary) continue;
    info->FindBest();
    if (info->Best.get() == nullptr) ok = false;
  }
  return ok;
}

bool IsEquilibrium(TGameForm32& game) {
  bool result = true;
  ForEachPlayerSet(game, [&](TInfo32* info, auto&& forEachChoice) {
    if (info->Temporary) return;
    if (info->Best.get() == nullptr) {
      result = false;
      return;
    }
    forEachChoice([&](TChoice32* choice) {
      if (!choice->Temporary) {
        choice->IsBest = choice->Expected + kBestReplyTolerance >= info->BestValue;
      }
    });
    forEachChoice([&](TChoice32* choice) {
      if (!choice->Temporary && choice->Probability >= kPlayedThreshold && !choice->IsBest) {
        result = false;
      }
    });
  });
  return result;
}

void SetPureProbabilities(TGameForm32& game) {
  game.Strategies().ForEach(
      [](TGameObject32* e) { As<TChoice32>(e)->SetProbability(e->Mark ? 1.0 : 0.0); });
}

bool Normalize(TGameForm32& game) {
  bool result = true;
  ForEachPlayerSet(game, [&](TInfo32*, auto&& forEachChoice) {
    double sum = 0;
    forEachChoice([&](TChoice32* choice) {
      if (choice->Probability < kPlayedThreshold) choice->SetProbability(0);
      sum += choice->Probability;
    });
    if (sum < kPlayedThreshold) {
      result = false;
      return;
    }
    forEachChoice([&](TChoice32* choice) { choice->SetProbability(choice->Probability / sum); });
  });
  return result;
}

}  // namespace ludomark
