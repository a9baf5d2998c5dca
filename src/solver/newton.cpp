#include "solver/newton.h"

#include <algorithm>
#include <vector>

#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"
#include "solver/solver_index.h"

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

// The choice whose row stands for X: a temporary choice stands for the one it copies.
TChoice32* Standing(TChoice32* x) {
  if (!x->Temporary) return x;
  auto* link = dynamic_cast<TChoice32*>(x->CopyLink.get());
  return link != nullptr ? link : x;
}

}  // namespace

void ComputeSensitivity(TGameForm32& game) {
  TSolverWork& work = *game.Work;
  const TSolverIndex& index = SolverIndex(game);
  PlayerChoices(game);
  const TMatrix& reach = *work.ReachInverse;
  const TMatrix& values = *work.NodeValues;
  TMatrix& sensitivity = *work.Sensitivity;
  const int n = reach.Capacity();
  const int players = values.Capacity();
  const std::size_t width = static_cast<std::size_t>(reach.Width());
  const double* inverse = n > 0 ? reach.Row(1) + n : nullptr;  // inv(a, b) at (a-1) width + b-1
  const TVector& nodeReach = *work.NodeReach;

  std::vector<double>& g = work.ReachFromChoice;
  std::vector<double>& dv = work.ValueChange;
  std::vector<double>& dBelief = work.BeliefChange;
  const std::size_t stride = static_cast<std::size_t>(n + 1);
  g.assign(stride, 0.0);
  dv.assign(static_cast<std::size_t>(players + 1) * stride, 0.0);
  dBelief.assign(stride, 0.0);
  // Beliefs move only at sets of several nodes; without any, the reach through D is not needed.
  const bool beliefs = !index.SharedNodes.empty();
  const int payoffsPerMove = index.Players;

  for (const TSolverIndex::Choice& d : index.Choices) {
    if (beliefs) std::fill(g.begin(), g.end(), 0.0);
    std::fill(dv.begin(), dv.end(), 0.0);
    for (int k = d.First; k < d.First + d.Count; ++k) {
      const TSolverIndex::Move& m = index.Moves[static_cast<std::size_t>(k)];
      const double w = m.Element->Value;
      if (m.To != 0 && beliefs) {
        const double start = nodeReach.Get(m.From) * w;
        if (m.To >= 1 && m.To <= n) {
          const double* row = inverse + static_cast<std::size_t>(m.To - 1) * width;
          for (int node = 1; node <= n; ++node)
            g[static_cast<std::size_t>(node)] += start * row[node - 1];
        }
      }
      TPayoff32* const* payoffs =
          &index.Payoffs[static_cast<std::size_t>(k) * static_cast<std::size_t>(payoffsPerMove)];
      for (int p = 1; p <= players && p <= payoffsPerMove; ++p) {
        TPayoff32* payoff = payoffs[p - 1];
        double gain = payoff != nullptr ? payoff->Value : 0.0;
        if (m.To != 0) gain += w * values.Get(p, m.To);
        if (gain == 0 || m.From < 1 || m.From > n) continue;
        double* out = dv.data() + static_cast<std::size_t>(p) * stride;
        const double* column = inverse + (m.From - 1);
        for (int x = 1; x <= n; ++x) {
          out[x] += column[static_cast<std::size_t>(x - 1) * width] * gain;
        }
      }
    }
    for (const TSolverIndex::SharedNode& shared : index.SharedNodes) {
      if (shared.Node < 1 || shared.Node > n) continue;
      double& out = dBelief[static_cast<std::size_t>(shared.Node)];
      out = 0;
      const double total = work.InfoReach->Get(shared.Set);
      if (total < 1e-150) continue;
      double sum = 0;
      for (int i = shared.FirstMember; i < shared.FirstMember + shared.MemberCount; ++i) {
        const int member = index.Members[static_cast<std::size_t>(i)];
        if (member >= 1 && member <= n) sum += g[static_cast<std::size_t>(member)];
      }
      // Reach weights run up to 1e240, so divide before multiplying.
      out = g[static_cast<std::size_t>(shared.Node)] / total -
            (nodeReach.Get(shared.Node) / total) * (sum / total);
    }
    const int column = d.Element->Number;
    for (const TSolverIndex::Choice& c : index.Choices) {
      double derivative = 0;
      for (int k = c.First; k < c.First + c.Count; ++k) {
        const TSolverIndex::Move& m = index.Moves[static_cast<std::size_t>(k)];
        if (m.From < 1 || m.From > n) continue;
        derivative += dBelief[static_cast<std::size_t>(m.From)] * m.Element->Expected;
        if (m.To != 0 && m.FromPlayer != 0) {
          derivative +=
              m.Element->From->Belief * m.Element->Value *
              dv[static_cast<std::size_t>(m.FromPlayer) * stride + static_cast<std::size_t>(m.To)];
        }
      }
      sensitivity.Put(/*add=*/false, c.Element->Number, column, derivative);
    }
  }
}

bool BuildJacobian(TGameType32& game) {
  TSolverWork& work = *game.Work;
  TGameList& worklist = game.WorkList();
  std::vector<TChoice32*>& active = work.Active;
  worklist.Clear();
  active.clear();
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (!c->HasPlayer() || c->Info->Best.get() == c) return;
    worklist.Add(c);
    active.push_back(c);
  });
  const int k = static_cast<int>(active.size());
  TMatrix& jacobian = *work.Jacobian;
  if (k == 0 || k > jacobian.Capacity()) return false;
  TMatrix& sensitivity = *work.Sensitivity;
  jacobian.SetRows(k);
  ComputeSensitivity(game);
  const std::vector<TGameObject32*>& choices = work.Choices;

  for (TChoice32* d : active) {
    TChoice32* best = d->Info->Best.get();
    if (best == nullptr) continue;
    for (TGameObject32* c : choices) {
      sensitivity.Put(/*add=*/true, c->Number, d->Number,
                      -sensitivity.Get(c->Number, best->Number));
    }
  }
  for (int r = 1; r <= k; ++r) {
    TChoice32* x = active[static_cast<std::size_t>(r - 1)];
    TChoice32* stand = Standing(x);
    TChoice32* best = x->Info->Best.get();
    const double regret =
        stand->Info.get() != nullptr ? stand->Info->BestValue - stand->Expected : 0.0;
    work.Residual->Put(/*add=*/false, r, regret);
    const double p = x->Probability;
    double* row = jacobian.Row(r);
    for (int s = 1; s <= k; ++s) {
      const int y = active[static_cast<std::size_t>(s - 1)]->Number;
      double entry = sensitivity.Get(stand->Number, y);
      if (best != nullptr) entry -= sensitivity.Get(best->Number, y);
      row[s - 1] = entry * p;
    }
    if (x->Temporary) {
      row[r - 1] = -regret;
    } else {
      row[r - 1] += -regret;
    }
  }
  jacobian.Invert(work.Stop);
  return !jacobian.Singular;
}

void NewtonDirection(TGameType32& game) {
  TSolverWork& work = *game.Work;
  const std::vector<TChoice32*>& active = work.Active;
  if (BuildJacobian(game)) {
    const int k = static_cast<int>(active.size());
    double norm = 0;
    for (int r = 1; r <= k; ++r) {
      const double f = work.Residual->Get(r) * active[static_cast<std::size_t>(r - 1)]->Probability;
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
      active[static_cast<std::size_t>(r - 1)]->Direction = direction;
    }
  } else {
    for (TChoice32* c : active) c->Direction = 1e-6;
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
