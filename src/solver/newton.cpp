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

namespace {

// The sensitivities of the rows marked in `rows` (by position in the index's choices), or of
// every row when it is nothing; the other rows keep what they held.
void ComputeSensitivities(TGameForm32& game, const std::vector<char>* rows) {
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
  std::vector<double>& gains = work.Gains;
  const std::size_t stride = static_cast<std::size_t>(n) + 1;
  g.assign(stride, 0.0);
  dv.assign(index.Targets.size(), 0.0);
  dBelief.assign(stride, 0.0);
  const int payoffsPerMove = index.Players;
  const std::size_t perMove = static_cast<std::size_t>(players > 0 ? players : 0);

  std::vector<double>& setShares = work.SetShares;
  std::vector<double>& nodeShares = work.NodeShares;
  setShares.assign(index.SharedSets.size(), 0.0);
  nodeShares.assign(index.SharedNodes.size(), 0.0);
  for (std::size_t i = 0; i < index.SharedNodes.size(); ++i) {
    const TSolverIndex::SharedNode& shared = index.SharedNodes[i];
    const double total = work.InfoReach->Get(shared.Set);
    nodeShares[i] = total < 1e-150 ? 0.0 : nodeReach.Get(shared.Node) / total;
  }
  // Where the inverse is read: the row of each target's node (zeros outside the game), and the
  // columns of the nodes of shared sets.
  std::vector<const double*>& targetRows = work.TargetRows;
  work.ZeroRow.assign(static_cast<std::size_t>(n), 0.0);
  targetRows.clear();
  for (const auto& [p, x] : index.Targets) {
    targetRows.push_back(x >= 1 && x <= n ? inverse + static_cast<std::size_t>(x - 1) * width
                                          : work.ZeroRow.data());
  }
  // The targets the rows read, by player: player p's are readTargets[readStart[p - 1]] up to
  // readStart[p]. The others keep a change of zero.
  std::vector<char>& read = work.TargetRead;
  read.assign(index.Targets.size(), rows == nullptr ? 1 : 0);
  for (std::size_t position = 0; rows != nullptr && position < index.Choices.size(); ++position) {
    if ((*rows)[position] == 0) continue;
    const TSolverIndex::Choice& c = index.Choices[position];
    for (int k = c.First; k < c.First + c.Count; ++k) {
      const int t = index.Moves[static_cast<std::size_t>(k)].Target;
      if (t >= 0) read[static_cast<std::size_t>(t)] = 1;
    }
  }
  std::vector<int>& readTargets = work.ReadTargets;
  std::vector<int>& readStart = work.ReadTargetStart;
  readTargets.clear();
  readStart.assign(static_cast<std::size_t>(index.Players) + 1, 0);
  for (int p = 1; p <= index.Players; ++p) {
    for (int t = index.PlayerTargets[static_cast<std::size_t>(p - 1)];
         t < index.PlayerTargets[static_cast<std::size_t>(p)]; ++t) {
      if (read[static_cast<std::size_t>(t)] != 0) readTargets.push_back(t);
    }
    readStart[static_cast<std::size_t>(p)] = static_cast<int>(readTargets.size());
  }
  std::vector<int>& sharedColumns = work.SharedColumns;
  sharedColumns.clear();
  for (const TSolverIndex::SharedNode& node : index.SharedNodes) {
    if (node.Node >= 1 && node.Node <= n) sharedColumns.push_back(node.Node - 1);
  }
  std::vector<char>& affected = work.Affected;
  affected.assign(index.Choices.size(), 0);
  // What the derivatives read of each move, the same for every D.
  std::vector<TMoveTerms>& terms = work.MoveTerms;
  terms.resize(index.Moves.size());
  std::vector<char>& shared = work.SharedNode;
  shared.assign(stride, 0);
  for (const TSolverIndex::SharedNode& node : index.SharedNodes) {
    if (node.Node >= 1 && node.Node <= n) shared[static_cast<std::size_t>(node.Node)] = 1;
  }
  for (std::size_t k = 0; k < index.Moves.size(); ++k) {
    const TSolverIndex::Move& m = index.Moves[k];
    TMoveTerms& t = terms[k];
    t.Valid = m.From >= 1 && m.From <= n;
    t.From = m.From;
    t.Target = m.Target;
    t.Shared = t.Valid && shared[static_cast<std::size_t>(m.From)] != 0;
    t.Expected = m.Element->Expected;
    t.Weight = m.Target >= 0 ? m.Element->From->Belief * m.Element->Value : 0.0;
  }

  for (const TSolverIndex::Choice& d : index.Choices) {
    // What each of D's moves brings each player: its payoff and the value where it leads.
    gains.assign(static_cast<std::size_t>(d.Count) * perMove, 0.0);
    for (int k = d.First; k < d.First + d.Count; ++k) {
      const TSolverIndex::Move& m = index.Moves[static_cast<std::size_t>(k)];
      TPayoff32* const* payoffs =
          &index.Payoffs[static_cast<std::size_t>(k) * static_cast<std::size_t>(payoffsPerMove)];
      for (int p = 1; p <= players && p <= payoffsPerMove; ++p) {
        TPayoff32* payoff = payoffs[p - 1];
        double gain = payoff != nullptr ? payoff->Value : 0.0;
        if (m.To != 0) gain += m.Element->Value * values.Get(p, m.To);
        gains[static_cast<std::size_t>(k - d.First) * perMove + static_cast<std::size_t>(p - 1)] =
            gain;
      }
    }
    // g(N) summed over D's moves, only where beliefs read it: the nodes of shared sets. Each
    // move adds its terms to every such node, so each node sums them in the order of D's moves.
    for (const int node : sharedColumns) g[static_cast<std::size_t>(node) + 1] = 0;
    for (int k = d.First; k < d.First + d.Count && !sharedColumns.empty(); ++k) {
      const TSolverIndex::Move& m = index.Moves[static_cast<std::size_t>(k)];
      if (m.To < 1 || m.To > n) continue;
      const double start = nodeReach.Get(m.From) * m.Element->Value;
      const double* row = inverse + static_cast<std::size_t>(m.To - 1) * width;
      for (const int node : sharedColumns)
        g[static_cast<std::size_t>(node) + 1] += start * row[node];
    }
    // dV(P, X), only where the derivatives read it: at the node each mover's move leads to.
    // Each move adds its terms to its players' runs of targets, so each target sums them in the
    // order of D's moves; a target outside the game reads a row of zeros.
    std::fill(dv.begin(), dv.end(), 0.0);
    for (int k = d.First; k < d.First + d.Count; ++k) {
      const int from = index.Moves[static_cast<std::size_t>(k)].From;
      if (from < 1 || from > n) continue;
      const double* gain = &gains[static_cast<std::size_t>(k - d.First) * perMove];
      for (int p = 1; p <= players && p <= index.Players; ++p) {
        if (gain[p - 1] == 0) continue;
        for (int i = readStart[static_cast<std::size_t>(p - 1)];
             i < readStart[static_cast<std::size_t>(p)]; ++i) {
          const auto t = static_cast<std::size_t>(readTargets[static_cast<std::size_t>(i)]);
          dv[t] += targetRows[t][from - 1] * gain[p - 1];
        }
      }
    }
    // The members' sum is the same for every node of a set: taken once per set.
    for (std::size_t slot = 0; slot < index.SharedSets.size(); ++slot) {
      const TSolverIndex::SharedNode& first =
          index.SharedNodes[static_cast<std::size_t>(index.SharedSets[slot])];
      const double total = work.InfoReach->Get(first.Set);
      double sum = 0;
      for (int i = first.FirstMember; i < first.FirstMember + first.MemberCount; ++i) {
        const int member = index.Members[static_cast<std::size_t>(i)];
        if (member >= 1 && member <= n) sum += g[static_cast<std::size_t>(member)];
      }
      setShares[slot] = total < 1e-150 ? 0.0 : sum / total;
    }
    for (std::size_t i = 0; i < index.SharedNodes.size(); ++i) {
      const TSolverIndex::SharedNode& shared = index.SharedNodes[i];
      if (shared.Node < 1 || shared.Node > n) continue;
      double& out = dBelief[static_cast<std::size_t>(shared.Node)];
      out = 0;
      const double total = work.InfoReach->Get(shared.Set);
      if (total < 1e-150) continue;
      // Reach weights run up to 1e240, so divide before multiplying.
      out = g[static_cast<std::size_t>(shared.Node)] / total -
            nodeShares[i] * setShares[static_cast<std::size_t>(shared.Slot)];
    }
    // Only choices with a move that reads a nonzero change can have a nonzero derivative; the
    // others get exactly the +0 their sum of zero terms would give.
    std::fill(affected.begin(), affected.end(), 0);
    for (std::size_t t = 0; t < dv.size(); ++t) {
      if (dv[t] == 0) continue;
      for (int i = index.TargetStart[t]; i < index.TargetStart[t + 1]; ++i) {
        affected[static_cast<std::size_t>(index.ChoiceOf[static_cast<std::size_t>(
            index.TargetMoves[static_cast<std::size_t>(i)])])] = 1;
      }
    }
    for (const TSolverIndex::SharedNode& node : index.SharedNodes) {
      if (node.Node < 1 || node.Node > n || dBelief[static_cast<std::size_t>(node.Node)] == 0 ||
          static_cast<std::size_t>(node.Node) + 1 >= index.FromStart.size()) {
        continue;
      }
      for (int i = index.FromStart[static_cast<std::size_t>(node.Node)];
           i < index.FromStart[static_cast<std::size_t>(node.Node) + 1]; ++i) {
        affected[static_cast<std::size_t>(index.ChoiceOf[static_cast<std::size_t>(
            index.FromMoves[static_cast<std::size_t>(i)])])] = 1;
      }
    }
    const int column = d.Element->Number;
    for (std::size_t position = 0; position < index.Choices.size(); ++position) {
      const TSolverIndex::Choice& c = index.Choices[position];
      // Terms are added in the order of C's moves; a zero change adds nothing (the sum starts
      // at +0 and so is never -0), so nodes of singleton sets skip the belief term.
      if (rows != nullptr && (*rows)[position] == 0) continue;
      double derivative = 0;
      if (affected[position] != 0) {
        for (int k = c.First; k < c.First + c.Count; ++k) {
          const TMoveTerms& t = terms[static_cast<std::size_t>(k)];
          if (!t.Valid) continue;
          if (t.Shared) derivative += dBelief[static_cast<std::size_t>(t.From)] * t.Expected;
          if (t.Target >= 0) derivative += t.Weight * dv[static_cast<std::size_t>(t.Target)];
        }
      }
      sensitivity.Put(/*add=*/false, c.Element->Number, column, derivative);
    }
  }
}

}  // namespace

void ComputeSensitivity(TGameForm32& game) {
  ComputeSensitivities(game, nullptr);
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
  // A row of a choice played with probability 0 is zero but for its diagonal, so only the
  // sensitivities of the choices (and the best choices of their sets) that are played are read.
  const TSolverIndex& index = SolverIndex(game);
  std::vector<char>& rows = work.NeededRows;
  rows.assign(index.Choices.size(), 0);
  auto need = [&](const TChoice32* c) {
    if (c == nullptr || c->Number < 0 ||
        static_cast<std::size_t>(c->Number) >= index.PositionOf.size()) {
      return;
    }
    const int position = index.PositionOf[static_cast<std::size_t>(c->Number)];
    if (position >= 0) rows[static_cast<std::size_t>(position)] = 1;
  };
  for (TChoice32* x : active) {
    if (x->Probability == 0) continue;
    need(Standing(x));
    need(x->Info->Best.get());
  }
  ComputeSensitivities(game, &rows);
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
    if (p == 0) std::fill(row, row + k, 0.0);
    for (int s = 1; s <= k && p != 0; ++s) {
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
