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

// The choices of players, in Strategies order, kept in the working data so that the steps of
// an iteration do not allocate.
std::vector<TGameObject32*>& PlayerChoices(TGameForm32& game) {
  std::vector<TGameObject32*>& choices = game.Work->Choices;
  choices.clear();
  game.Strategies().ForEach([&](TGameObject32* e) {
    if (As<TChoice32>(e)->HasPlayer()) choices.push_back(e);
  });
  return choices;
}

TChoice32* ChoiceAt(TGameList& list, int position) {
  return As<TChoice32>(list.Get(position - 1));
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

  const std::vector<TGameObject32*>& choices = PlayerChoices(game);
  std::vector<double>& g = work.ReachFromChoice;
  std::vector<double>& dv = work.ValueChange;
  std::vector<double>& dBelief = work.BeliefChange;
  g.resize(static_cast<std::size_t>(n) + 1);
  dv.resize(static_cast<std::size_t>(players + 1) * static_cast<std::size_t>(n + 1));
  dBelief.resize(static_cast<std::size_t>(n) + 1);
  auto dvAt = [&](int p, int x) -> double& {
    return dv[static_cast<std::size_t>(p) * static_cast<std::size_t>(n + 1) +
              static_cast<std::size_t>(x)];
  };

  for (TGameObject32* de : choices) {
    auto* d = As<TChoice32>(de);
    // g(N) summed over D's moves, and dV(P, X).
    std::fill(g.begin(), g.end(), 0.0);
    std::fill(dv.begin(), dv.end(), 0.0);
    d->ChoiceMoves.ForEachAs<TMove32>([&](TMove32* m) {
      if (m->From.get() == nullptr) return;
      const int from = m->From->Number;
      const double w = m->Value;
      if (m->To.get() != nullptr) {
        const int to = m->To->Number;
        const double start = work.NodeReach->Get(from) * w;
        for (int node = 1; node <= n; ++node)
          g[static_cast<std::size_t>(node)] += start * inv(to, node);
      }
      int p = 0;
      game.Players().ForEach([&](TGameObject32* pe) {
        ++p;
        TPayoff32* payoff = m->FindPayoff(As<TPlayer32>(pe));
        double gain = payoff != nullptr ? payoff->Value : 0.0;
        if (m->To.get() != nullptr) gain += w * values.Get(p, m->To->Number);
        if (gain == 0) return;
        for (int x = 1; x <= n; ++x) dvAt(p, x) += inv(x, from) * gain;
      });
    });
    game.Nodes().ForEachAs<TNode32>([&](TNode32* node) {
      if (node->Number < 1 || node->Number > n) return;
      double& out = dBelief[static_cast<std::size_t>(node->Number)];
      out = 0;
      TInfo32* set = node->Info.get();
      if (set == nullptr || set->Singleton) return;
      const double total = work.InfoReach->Get(set->Number);
      if (total < 1e-150) return;
      double sum = 0;
      set->Members.ForEach([&](TGameObject32* member) {
        if (member->Number >= 1 && member->Number <= n)
          sum += g[static_cast<std::size_t>(member->Number)];
      });
      // Reach weights run up to 1e240, so divide before multiplying.
      out = g[static_cast<std::size_t>(node->Number)] / total -
            (work.NodeReach->Get(node->Number) / total) * (sum / total);
    });
    for (TGameObject32* ce : choices) {
      auto* c = As<TChoice32>(ce);
      double derivative = 0;
      c->ChoiceMoves.ForEachAs<TMove32>([&](TMove32* m) {
        TNode32* from = m->From.get();
        if (from == nullptr || from->Number < 1 || from->Number > n) return;
        derivative += dBelief[static_cast<std::size_t>(from->Number)] * m->Expected;
        if (m->To.get() != nullptr && from->Player.get() != nullptr) {
          derivative += from->Belief * m->Value * dvAt(from->Player->Number, m->To->Number);
        }
      });
      sensitivity.Put(/*add=*/false, c->Number, d->Number, derivative);
    }
  }
}

bool BuildJacobian(TGameType32& game) {
  TSolverWork& work = *game.Work;
  TGameList& active = game.WorkList();
  active.Clear();
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (c->HasPlayer() && c->Info->Best.get() != c) active.Add(c);
  });
  const int k = active.Count();
  TMatrix& jacobian = *work.Jacobian;
  if (k == 0 || k > jacobian.Capacity()) return false;
  TMatrix& sensitivity = *work.Sensitivity;
  jacobian.SetRows(k);
  ComputeSensitivity(game);
  const std::vector<TGameObject32*>& choices = work.Choices;

  for (int s = 1; s <= k; ++s) {
    TChoice32* d = ChoiceAt(active, s);
    TChoice32* best = d->Info->Best.get();
    if (best == nullptr) continue;
    for (TGameObject32* c : choices) {
      sensitivity.Put(/*add=*/true, c->Number, d->Number,
                      -sensitivity.Get(c->Number, best->Number));
    }
  }
  for (int r = 1; r <= k; ++r) {
    TChoice32* x = ChoiceAt(active, r);
    TChoice32* stand = Standing(x);
    TChoice32* best = x->Info->Best.get();
    for (int s = 1; s <= k; ++s) {
      TChoice32* y = ChoiceAt(active, s);
      double entry = sensitivity.Get(stand->Number, y->Number);
      if (best != nullptr) entry -= sensitivity.Get(best->Number, y->Number);
      jacobian.Put(/*add=*/false, r, s, entry);
    }
    const double regret =
        stand->Info.get() != nullptr ? stand->Info->BestValue - stand->Expected : 0.0;
    work.Residual->Put(/*add=*/false, r, regret);
    for (int s = 1; s <= k; ++s)
      jacobian.Put(/*add=*/false, r, s, jacobian.Get(r, s) * x->Probability);
    if (x->Temporary) {
      jacobian.Put(/*add=*/false, r, r, -regret);
    } else {
      jacobian.Put(/*add=*/true, r, r, -regret);
    }
  }
  jacobian.Invert(work.Stop);
  return !jacobian.Singular;
}

void NewtonDirection(TGameType32& game) {
  TSolverWork& work = *game.Work;
  TGameList& active = game.WorkList();
  if (BuildJacobian(game)) {
    const int k = active.Count();
    double norm = 0;
    for (int r = 1; r <= k; ++r) {
      const double f = work.Residual->Get(r) * ChoiceAt(active, r)->Probability;
      work.Residual->Put(/*add=*/false, r, f);
      norm += f * f;
    }
    game.SqrNorm = norm;
    for (TGameObject32* c : work.Choices) As<TChoice32>(c)->Direction = 0;
    const TMatrix& jacobian = *work.Jacobian;
    const int capacity = jacobian.Capacity();
    for (int r = 1; r <= k; ++r) {
      double direction = 0;
      for (int s = 1; s <= k; ++s)
        direction += jacobian.Get(r, capacity + s) * work.Residual->Get(s);
      ChoiceAt(active, r)->Direction = direction;
    }
  } else {
    active.ForEach([](TGameObject32* e) { As<TChoice32>(e)->Direction = 1e-6; });
  }
  game.Infos().ForEachAs<TInfo32>([](TInfo32* info) {
    if (!HasPlayer(info) || info->Best.get() == nullptr) return;
    double sum = 0;
    info->Choices.ForEach([&](TGameObject32* c) {
      if (c != info->Best.get()) sum += As<TChoice32>(c)->Direction;
    });
    info->Best->Direction = -sum;
  });
  double speed = 0;
  game.Strategies().ForEach([&](TGameObject32* e) {
    const double d = As<TChoice32>(e)->Direction;
    speed += d * d;
  });
  game.Speed = speed;
}

}  // namespace ludomark
