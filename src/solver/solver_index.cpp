#include "solver/solver_index.h"

#include <algorithm>
#include <map>
#include <unordered_set>

#include "audit/audit.h"
#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/type_codes.h"

namespace ludomark {

namespace {

void SplitReach(TGameForm32& game, TSolverIndex& index) {
  const std::unordered_set<const TNode32*> reached = ReachedFromTheRoot(game);
  auto isReached = [&](const TNode32* node) { return reached.contains(node); };
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    if (!node->Temporary && !isReached(node)) index.SplitReach = true;
  });
  if (!index.SplitReach) return;
  const auto count = static_cast<std::size_t>(game.Nodes().Count()) + 1;
  index.ReachTier.assign(count, 0);
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    TInfo32* set = node->Info.get();
    bool tier = isReached(node);
    if (set != nullptr) {
      set->Members.ForEach([&](TGameObject32* m) { tier = tier || isReached(As<TNode32>(m)); });
    }
    if (node->Number >= 1 && static_cast<std::size_t>(node->Number) < count) {
      index.ReachTier[static_cast<std::size_t>(node->Number)] = tier ? 1 : 0;
    }
  });
  for (TNode32* node : index.WeightedNodes) {
    if (node->Temporary || isReached(node)) index.StartWeightedNodes.push_back(node);
  }
}

}  // namespace

const TSolverIndex& BuildSolverIndex(TGameForm32& game) {
  TSolverIndex& index = game.Work->Index;
  index = TSolverIndex{};
  std::vector<TPlayer32*> players;
  game.Players().ForEachAs<TPlayer32>([&](TPlayer32* p) { players.push_back(p); });
  index.Players = static_cast<int>(players.size());
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (!c->HasPlayer()) return;
    TSolverIndex::Choice choice{c, static_cast<int>(index.Moves.size()), 0};
    c->ChoiceMoves.ForEachAs<TMove32>([&](TMove32* m) {
      if (m->From.get() == nullptr) return;
      TPlayer32* mover = m->From->Player.get();
      index.Moves.push_back({m, m->From->Number, m->To.get() != nullptr ? m->To->Number : 0,
                             mover != nullptr ? mover->Number : 0});
      for (TPlayer32* p : players) index.Payoffs.push_back(m->FindPayoff(p));
      ++choice.Count;
    });
    index.Choices.push_back(choice);
  });
  game.Payoffs().ForEachAs<TPayoff32>([&](TPayoff32* payoff) {
    TGameObject32* on = payoff->Move.get();
    if (on == nullptr || (on->TypeCode != kMove && on->TypeCode != kCell)) return;
    auto* move = As<TMove32>(on);
    TPlayer32* player = payoff->Player.get();
    if (move->From.get() == nullptr || player == nullptr) return;
    TPlayer32* mover = move->From->Player.get();
    index.Rewards.push_back({payoff, move, move->Choice.get(), player->Number, move->From->Number,
                             mover == nullptr, mover == player});
  });
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    c->ChoiceMoves.ForEachAs<TMove32>([&](TMove32* m) {
      if (m->From.get() == nullptr || m->To.get() == nullptr) return;
      index.Transitions.push_back({m, c, m->From->Number, m->To->Number});
    });
  });
  game.Infos().ForEachAs<TInfo32>([&](TInfo32* info) {
    if (!info->Singleton) index.AnySharedSet = true;
  });
  std::map<TInfo32*, int> slots;
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    TInfo32* set = node->Info.get();
    if (set == nullptr || set->Singleton) return;
    const auto [at, fresh] = slots.emplace(set, static_cast<int>(index.SharedSets.size()));
    if (fresh) index.SharedSets.push_back(static_cast<int>(index.SharedNodes.size()));
    TSolverIndex::SharedNode shared{node->Number, set->Number,
                                    static_cast<int>(index.Members.size()), 0, at->second};
    set->Members.ForEach([&](TGameObject32* member) {
      index.Members.push_back(member->Number);
      ++shared.MemberCount;
    });
    index.SharedNodes.push_back(shared);
  });
  // Targets are numbered by player, then node, so that each player's are one run.
  std::map<std::pair<int, int>, int> targets;
  for (const TSolverIndex::Move& m : index.Moves) {
    if (m.To != 0 && m.FromPlayer != 0) targets.emplace(std::make_pair(m.FromPlayer, m.To), 0);
  }
  for (auto& [key, number] : targets) {
    number = static_cast<int>(index.Targets.size());
    index.Targets.push_back(key);
  }
  index.PlayerTargets.assign(static_cast<std::size_t>(index.Players) + 1, 0);
  for (int p = 0; p <= index.Players; ++p) {
    index.PlayerTargets[static_cast<std::size_t>(p)] = static_cast<int>(std::count_if(
        index.Targets.begin(), index.Targets.end(), [&](const auto& t) { return t.first <= p; }));
  }
  for (TSolverIndex::Move& m : index.Moves) {
    if (m.To != 0 && m.FromPlayer != 0) m.Target = targets[{m.FromPlayer, m.To}];
  }
  // Lists of moves by target and by the node they leave, in the order of Moves.
  auto group = [&](std::vector<int>& start, std::vector<int>& moves, std::size_t keys, auto keyOf) {
    start.assign(keys + 1, 0);
    for (const TSolverIndex::Move& m : index.Moves) {
      const int key = keyOf(m);
      if (key >= 0 && static_cast<std::size_t>(key) < keys)
        ++start[static_cast<std::size_t>(key) + 1];
    }
    for (std::size_t i = 1; i <= keys; ++i) start[i] += start[i - 1];
    moves.assign(static_cast<std::size_t>(start[keys]), 0);
    std::vector<int> next(start.begin(), start.end() - 1);
    for (std::size_t k = 0; k < index.Moves.size(); ++k) {
      const int key = keyOf(index.Moves[k]);
      if (key < 0 || static_cast<std::size_t>(key) >= keys) continue;
      moves[static_cast<std::size_t>(next[static_cast<std::size_t>(key)]++)] = static_cast<int>(k);
    }
  };
  group(index.TargetStart, index.TargetMoves, index.Targets.size(),
        [](const TSolverIndex::Move& m) { return m.Target; });
  int nodes = 0;
  for (const TSolverIndex::Move& m : index.Moves) nodes = std::max(nodes, m.From);
  group(index.FromStart, index.FromMoves, static_cast<std::size_t>(nodes) + 1,
        [](const TSolverIndex::Move& m) { return m.From; });
  index.ChoiceOf.assign(index.Moves.size(), 0);
  for (std::size_t c = 0; c < index.Choices.size(); ++c) {
    const TSolverIndex::Choice& choice = index.Choices[c];
    for (int k = choice.First; k < choice.First + choice.Count; ++k) {
      index.ChoiceOf[static_cast<std::size_t>(k)] = static_cast<int>(c);
    }
  }
  std::vector<std::vector<int>> setChoices(index.SharedSets.size());
  for (const TSolverIndex::SharedNode& node : index.SharedNodes) {
    if (node.Node < 0 || static_cast<std::size_t>(node.Node) + 1 >= index.FromStart.size())
      continue;
    std::vector<int>& choices = setChoices[static_cast<std::size_t>(node.Slot)];
    for (int i = index.FromStart[static_cast<std::size_t>(node.Node)];
         i < index.FromStart[static_cast<std::size_t>(node.Node) + 1]; ++i) {
      choices.push_back(
          index.ChoiceOf[static_cast<std::size_t>(index.FromMoves[static_cast<std::size_t>(i)])]);
    }
  }
  index.SetChoiceStart.push_back(0);
  for (std::vector<int>& choices : setChoices) {
    std::sort(choices.begin(), choices.end());
    choices.erase(std::unique(choices.begin(), choices.end()), choices.end());
    index.SetChoices.insert(index.SetChoices.end(), choices.begin(), choices.end());
    index.SetChoiceStart.push_back(static_cast<int>(index.SetChoices.size()));
  }
  int highest = 0;
  for (const TSolverIndex::Choice& c : index.Choices)
    highest = std::max(highest, c.Element->Number);
  index.PositionOf.assign(static_cast<std::size_t>(highest) + 1, -1);
  for (std::size_t c = 0; c < index.Choices.size(); ++c) {
    const int number = index.Choices[c].Element->Number;
    if (number >= 0) index.PositionOf[static_cast<std::size_t>(number)] = static_cast<int>(c);
  }
  game.Infos().ForEachAs<TInfo32>([&](TInfo32* info) {
    index.InfoNumbers.push_back(info->Number);
    index.InfoFirst.push_back(static_cast<int>(index.InfoMembers.size()));
    info->Members.ForEach([&](TGameObject32* m) { index.InfoMembers.push_back(m->Number); });
    if (!HasPlayer(info)) return;
    TSolverIndex::PlayerSet set{info, static_cast<int>(index.SetChoiceList.size()), 0};
    info->Choices.ForEachAs<TChoice32>([&](TChoice32* c) {
      index.SetChoiceList.push_back(c);
      ++set.Count;
    });
    index.PlayerSets.push_back(set);
  });
  index.InfoFirst.push_back(static_cast<int>(index.InfoMembers.size()));
  game.Moves().ForEachAs<TMove32>([&](TMove32* move) {
    if (move->From.get() == nullptr || move->From->Player.get() == nullptr) return;
    index.DecisionMoves.push_back(
        {move, move->From->Player->Number, move->To.get() != nullptr ? move->To->Number : 0});
  });
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    TInfo32* set = node->Info.get();
    if (set == nullptr) return;
    if (!set->Singleton) {
      index.BeliefNodes.emplace_back(node, set->Number);
    } else if (node->RootWeight != 0) {
      index.WeightedNodes.push_back(node);
    }
  });
  SplitReach(game, index);
  for (const TSolverIndex::Choice& c : index.Choices) {
    if (!c.Element->Temporary) index.ShownChoices.push_back(c.Element);
  }
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    if (node->Player.get() != nullptr && !node->Temporary) index.ShownNodes.push_back(node);
  });
  index.Built = true;
  return index;
}

}  // namespace ludomark
