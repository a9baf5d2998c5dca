#include "solver/backward_induction.h"

#include <algorithm>

#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/type_codes.h"
#include "solver/solver_index.h"

namespace ludomark {

namespace {

// Nodes in an order where each comes after every node its moves lead to; false on a cycle.
bool SinksFirst(int nodes, const std::vector<std::pair<int, int>>& edges, std::vector<int>& order) {
  const auto n = static_cast<std::size_t>(nodes) + 1;
  std::vector<int> pending(n, 0);  // moves still to place, per node (by its number)
  std::vector<int> start(n + 1, 0);
  for (const auto& [from, to] : edges) {
    ++pending[static_cast<std::size_t>(from)];
    ++start[static_cast<std::size_t>(to) + 1];
  }
  for (std::size_t i = 1; i <= n; ++i) start[i] += start[i - 1];
  std::vector<int> into(edges.size());  // the nodes with a move into each node, grouped by it
  std::vector<int> fill(start.begin(), start.end() - 1);
  for (const auto& [from, to] : edges)
    into[static_cast<std::size_t>(fill[static_cast<std::size_t>(to)]++)] = from;
  order.clear();
  for (int v = 1; v <= nodes; ++v) {
    if (pending[static_cast<std::size_t>(v)] == 0) order.push_back(v);
  }
  for (std::size_t i = 0; i < order.size(); ++i) {
    const auto v = static_cast<std::size_t>(order[i]);
    for (int k = start[v]; k < start[v + 1]; ++k) {
      const int from = into[static_cast<std::size_t>(k)];
      if (--pending[static_cast<std::size_t>(from)] == 0) order.push_back(from);
    }
  }
  return order.size() == static_cast<std::size_t>(nodes);
}

bool OneNodePerSet(TGameForm32& game) {
  bool perfect = true;
  game.Infos().ForEachAs<TInfo32>([&](const TInfo32* info) {
    if (HasPlayer(info) && (!info->Singleton || info->TypeCode == kSide || info->Temporary))
      perfect = false;
  });
  return perfect;
}

}  // namespace

bool HasPerfectInformation(TGameForm32& game) {
  if (!OneNodePerSet(game)) return false;
  const int nodes = game.Nodes().LiveCount();
  std::vector<std::pair<int, int>> edges;
  bool valid = true;
  game.Moves().ForEachAs<TMove32>([&](const TMove32* m) {
    const TNode32* from = m->From.get();
    const TNode32* to = m->To.get();
    if (from == nullptr || to == nullptr) return;
    if (from->Number < 1 || from->Number > nodes || to->Number < 1 || to->Number > nodes) {
      valid = false;
    } else {
      edges.emplace_back(from->Number, to->Number);
    }
  });
  std::vector<int> order;
  return valid && SinksFirst(nodes, edges, order);
}

bool InductionShapeOf(TGameForm32& game, TInductionShape& shape) {
  if (!OneNodePerSet(game)) return false;
  const TSolverIndex& index = SolverIndex(game);
  shape = TInductionShape{};
  const int nodes = game.Nodes().LiveCount();
  shape.Nodes = nodes;
  shape.Players = index.Players;
  const double unit = game.Work->PayoffScale;

  // Each move's payoffs, by the move's number.
  int maxMove = 0;
  game.Moves().ForEach([&](TGameObject32* m) { maxMove = std::max(maxMove, m->Number); });
  std::vector<int> payoffStart(static_cast<std::size_t>(maxMove) + 2, 0);
  for (const TSolverIndex::Reward& r : index.Rewards) {
    if (r.Move->Number < 0 || r.Move->Number > maxMove) return false;
    ++payoffStart[static_cast<std::size_t>(r.Move->Number) + 1];
  }
  for (std::size_t i = 1; i < payoffStart.size(); ++i) payoffStart[i] += payoffStart[i - 1];
  shape.Payoffs.resize(index.Rewards.size());
  std::vector<int> fill(payoffStart.begin(), payoffStart.end() - 1);
  for (const TSolverIndex::Reward& r : index.Rewards) {
    shape.Payoffs[static_cast<std::size_t>(fill[static_cast<std::size_t>(r.Move->Number)]++)] = {
        r.Player, r.Element->Value / unit};
  }

  // The moves leaving each node, and the edges between nodes.
  std::vector<std::vector<TMove32*>> leaving(static_cast<std::size_t>(nodes) + 1);
  std::vector<std::pair<int, int>> edges;
  bool valid = true;
  game.Moves().ForEachAs<TMove32>([&](TMove32* m) {
    const TNode32* from = m->From.get();
    if (from == nullptr) return;
    if (from->Number < 1 || from->Number > nodes) {
      valid = false;
      return;
    }
    leaving[static_cast<std::size_t>(from->Number)].push_back(m);
    if (const TNode32* to = m->To.get()) {
      if (to->Number < 1 || to->Number > nodes) {
        valid = false;
        return;
      }
      edges.emplace_back(from->Number, to->Number);
    }
  });
  std::vector<int> order;
  if (!valid || !SinksFirst(nodes, edges, order)) return false;

  const auto addMove = [&](const TMove32* m, bool chance) {
    TInductionShape::Move move;
    move.To = m->To.get() != nullptr ? m->To->Number : 0;
    move.Weight = m->Value;
    move.Reward = chance ? m->Value : 1.0;
    move.FirstPayoff = payoffStart[static_cast<std::size_t>(m->Number)];
    move.PayoffCount = payoffStart[static_cast<std::size_t>(m->Number) + 1] - move.FirstPayoff;
    shape.Moves.push_back(move);
  };
  std::vector<TNode32*> byNumber(static_cast<std::size_t>(nodes) + 1, nullptr);
  game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
    if (node->Number >= 1 && node->Number <= nodes)
      byNumber[static_cast<std::size_t>(node->Number)] = node;
  });
  shape.Steps.reserve(order.size());
  for (const int v : order) {
    const TNode32* node = byNumber[static_cast<std::size_t>(v)];
    const std::vector<TMove32*>& moves = leaving[static_cast<std::size_t>(v)];
    TInductionShape::Step step;
    step.Node = v;
    step.First = static_cast<int>(shape.Options.size());
    TInfo32* info = node != nullptr ? node->Info.get() : nullptr;
    if (HasPlayer(info)) {
      step.Mover = info->Player->Number;
      bool ok = true;
      info->Choices.ForEachAs<TChoice32>([&](TChoice32* c) {
        TInductionShape::Option option;
        option.Choice = c;
        option.FirstMove = static_cast<int>(shape.Moves.size());
        c->ChoiceMoves.ForEachAs<TMove32>([&](TMove32* m) {
          if (m->From.get() != node) ok = false;
          addMove(m, /*chance=*/false);
        });
        option.MoveCount = static_cast<int>(shape.Moves.size()) - option.FirstMove;
        shape.Options.push_back(option);
      });
      if (!ok) return false;
    } else {
      TInductionShape::Option option;
      option.FirstMove = static_cast<int>(shape.Moves.size());
      for (const TMove32* m : moves) addMove(m, /*chance=*/true);
      option.MoveCount = static_cast<int>(shape.Moves.size()) - option.FirstMove;
      shape.Options.push_back(option);
    }
    step.Count = static_cast<int>(shape.Options.size()) - step.First;
    shape.Steps.push_back(step);
  }
  return true;
}

}  // namespace ludomark
