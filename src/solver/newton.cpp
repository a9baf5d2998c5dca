#include "solver/newton.h"

#include <vector>

#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"

namespace ludomark {

namespace {

bool HasPlayer(const TInfo32* info) {
  return info != nullptr && info->Player.get() != nullptr;
}

bool IsPlayerChoice(const TChoice32* c) {
  return HasPlayer(c->Info.get());
}

std::vector<TChoice32*> PlayerChoices(TGameForm32& game) {
  std::vector<TChoice32*> choices;
  game.Strategies().ForEach([&](TGameObject32* e) {
    auto* c = static_cast<TChoice32*>(e);
    if (IsPlayerChoice(c)) choices.push_back(c);
  });
  return choices;
}

std::vector<TMove32*> MovesOf(const TChoice32* c) {
  std::vector<TMove32*> moves;
  const_cast<TChoice32*>(c)->ChoiceMoves.ForEach(
      [&](TGameObject32* m) { moves.push_back(static_cast<TMove32*>(m)); });
  return moves;
}

// The choice whose row stands for X: a temporary choice stands for the one it copies.
TChoice32* Standing(TChoice32* x) {
  if (!x->Temporary) return x;
  auto* link = dynamic_cast<TChoice32*>(x->CopyLink.get());
  return link != nullptr ? link : x;
}

}  // namespace

void ComputeSensitivity(TGameForm32& game) {
  TSolverWork& work = *game.Work;
  const TMatrix& reach = *work.ReachInverse;
  const TMatrix& values = *work.NodeValues;
  TMatrix& sensitivity = *work.Sensitivity;
  const int n = reach.Capacity();
  const int players = values.Capacity();
  auto inv = [&](int a, int b) { return reach.Get(a, n + b); };

  std::vector<TNode32*> nodes;
  game.Nodes().ForEach([&](TGameObject32* e) { nodes.push_back(static_cast<TNode32*>(e)); });
  const std::vector<TChoice32*> choices = PlayerChoices(game);
  std::vector<double> g(static_cast<std::size_t>(n) + 1);
  std::vector<double> dv(static_cast<std::size_t>(players + 1) * static_cast<std::size_t>(n + 1));
  std::vector<double> dBelief(static_cast<std::size_t>(n) + 1);

  for (TChoice32* d : choices) {
    const std::vector<TMove32*> dMoves = MovesOf(d);
    // g(N) summed over D's moves, and dV(P, X).
    std::fill(g.begin(), g.end(), 0.0);
    std::fill(dv.begin(), dv.end(), 0.0);
    for (TMove32* m : dMoves) {
      if (m->From.get() == nullptr) continue;
      const int from = m->From->Number;
      const double w = m->Value;
      if (m->To.get() != nullptr) {
        const int to = m->To->Number;
        const double start = work.NodeReach->Get(from) * w;
        for (int node = 1; node <= n; ++node)
          g[static_cast<std::size_t>(node)] += start * inv(to, node);
      }
      for (int p = 1; p <= players; ++p) {
        double gain = 0;
        if (TPayoff32* payoff =
                m->FindPayoff(static_cast<TPlayer32*>(game.Players().ElementAt(p)))) {
          gain = payoff->Value;
        }
        if (m->To.get() != nullptr) gain += w * values.Get(p, m->To->Number);
        if (gain == 0) continue;
        for (int x = 1; x <= n; ++x) {
          dv[static_cast<std::size_t>(p * (n + 1) + x)] += inv(x, from) * gain;
        }
      }
    }
    for (TNode32* node : nodes) {
      double& out = dBelief[static_cast<std::size_t>(node->Number)];
      out = 0;
      TInfo32* set = node->Info.get();
      if (set == nullptr || set->Singleton) continue;
      const double total = work.InfoReach->Get(set->Number);
      if (total < 1e-150) continue;
      double sum = 0;
      set->Members.ForEach(
          [&](TGameObject32* member) { sum += g[static_cast<std::size_t>(member->Number)]; });
      // Reach weights run up to 1e240, so divide before multiplying.
      out = g[static_cast<std::size_t>(node->Number)] / total -
            (work.NodeReach->Get(node->Number) / total) * (sum / total);
    }
    for (TChoice32* c : choices) {
      double derivative = 0;
      for (TMove32* m : MovesOf(c)) {
        TNode32* from = m->From.get();
        if (from == nullptr) continue;
        derivative += dBelief[static_cast<std::size_t>(from->Number)] * m->Expected;
        if (m->To.get() != nullptr && from->Player.get() != nullptr) {
          const int p = from->Player->Number;
          derivative +=
              from->Belief * m->Value * dv[static_cast<std::size_t>(p * (n + 1) + m->To->Number)];
        }
      }
      sensitivity.Put(false, c->Number, d->Number, derivative);
    }
  }
}

bool BuildJacobian(TGameType32& game) {
  TSolverWork& work = *game.Work;
  TGameList& active = game.WorkList();
  active.Clear();
  const std::vector<TChoice32*> choices = PlayerChoices(game);
  for (TChoice32* c : choices) {
    if (c->Info->Best.get() != c) active.Add(c);
  }
  const int k = active.LiveCount();
  if (k == 0) return false;
  TMatrix& jacobian = *work.Jacobian;
  TMatrix& sensitivity = *work.Sensitivity;
  if (k > jacobian.Capacity()) return false;
  jacobian.SetRows(k);
  ComputeSensitivity(game);

  std::vector<TChoice32*> list;
  active.ForEach([&](TGameObject32* e) { list.push_back(static_cast<TChoice32*>(e)); });
  for (TChoice32* d : list) {
    TChoice32* best = d->Info->Best.get();
    if (best == nullptr) continue;
    for (TChoice32* c : choices) {
      sensitivity.Put(true, c->Number, d->Number, -sensitivity.Get(c->Number, best->Number));
    }
  }
  for (int r = 1; r <= k; ++r) {
    TChoice32* x = list[static_cast<std::size_t>(r - 1)];
    TChoice32* stand = Standing(x);
    TChoice32* best = x->Info->Best.get();
    for (int s = 1; s <= k; ++s) {
      TChoice32* y = list[static_cast<std::size_t>(s - 1)];
      double entry = sensitivity.Get(stand->Number, y->Number);
      if (best != nullptr) entry -= sensitivity.Get(best->Number, y->Number);
      jacobian.Put(false, r, s, entry);
    }
    const double regret =
        stand->Info.get() != nullptr ? stand->Info->BestValue - stand->Expected : 0.0;
    work.Residual->Put(false, r, regret);
    for (int s = 1; s <= k; ++s) {
      jacobian.Put(false, r, s, jacobian.Get(r, s) * x->Probability);
    }
    if (x->Temporary) {
      jacobian.Put(false, r, r, -regret);
    } else {
      jacobian.Put(true, r, r, -regret);
    }
  }
  jacobian.Invert();
  return !jacobian.Singular;
}

void NewtonDirection(TGameType32& game) {
  TSolverWork& work = *game.Work;
  if (BuildJacobian(game)) {
    std::vector<TChoice32*> list;
    game.WorkList().ForEach([&](TGameObject32* e) { list.push_back(static_cast<TChoice32*>(e)); });
    const int k = static_cast<int>(list.size());
    double norm = 0;
    for (int r = 1; r <= k; ++r) {
      const double f = work.Residual->Get(r) * list[static_cast<std::size_t>(r - 1)]->Probability;
      work.Residual->Put(false, r, f);
      norm += f * f;
    }
    game.SqrNorm = norm;
    for (TChoice32* c : PlayerChoices(game)) c->Direction = 0;
    const TMatrix& jacobian = *work.Jacobian;
    const int capacity = jacobian.Capacity();
    for (int r = 1; r <= k; ++r) {
      double direction = 0;
      for (int s = 1; s <= k; ++s)
        direction += jacobian.Get(r, capacity + s) * work.Residual->Get(s);
      list[static_cast<std::size_t>(r - 1)]->Direction = direction;
    }
  } else {
    game.WorkList().ForEach([](TGameObject32* e) { static_cast<TChoice32*>(e)->Direction = 1e-6; });
  }
  game.Infos().ForEach([](TGameObject32* e) {
    auto* info = static_cast<TInfo32*>(e);
    if (!HasPlayer(info) || info->Best.get() == nullptr) return;
    double sum = 0;
    info->Choices.ForEach([&](TGameObject32* c) {
      if (c != info->Best.get()) sum += static_cast<TChoice32*>(c)->Direction;
    });
    info->Best->Direction = -sum;
  });
  double speed = 0;
  game.Strategies().ForEach([&](TGameObject32* e) {
    const double d = static_cast<TChoice32*>(e)->Direction;
    speed += d * d;
  });
  game.Speed = speed;
}

}  // namespace ludomark
