#include "solver/newton.h"

#include <algorithm>
#include <vector>

#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"
#include "solver/evaluation.h"
#include "solver/sensitivity.h"
#include "solver/solver_index.h"

namespace ludomark {

// The small uniform direction of every active choice when the Newton system is singular.
constexpr double kSingularDirection = 1e-6;

namespace {

// The choice whose row stands for X: a temporary choice stands for the one it copies.
TChoice32* Standing(TChoice32* x) {
  if (!x->Temporary) return x;
  auto* link = dynamic_cast<TChoice32*>(x->CopyLink.get());
  return link != nullptr ? link : x;
}

}  // namespace

void ComputeSensitivity(TGameForm32& game) {
  ComputeSensitivities(game, nullptr);
}

bool BuildJacobian(TGameType32& game) {
  EnsureNewtonWork(game);
  TSolverWork& work = *game.Work;
  std::vector<TChoice32*>& active = work.Active;
  active.clear();
  for (const TSolverIndex::Choice& choice : SolverIndex(game).Choices) {
    TChoice32* c = choice.Element;
    if (c->Info->Best.get() != c) active.push_back(c);
  }
  // The work list holds the same choices; it is relinked only when they change.
  if (active != work.Listed) {
    TGameList& worklist = game.WorkList();
    worklist.Clear();
    for (TChoice32* c : active) worklist.Add(c);
    work.Listed = active;
  }
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
  // Rows and columns of the sensitivities by choice number; a number outside reads zeros and
  // takes no writes, as the matrix's own accessors do.
  const int width = sensitivity.Width();
  std::vector<double>& zeros = work.ZeroRow;
  zeros.assign(static_cast<std::size_t>(width), 0.0);
  auto rowOf = [&](const TChoice32* c) -> double* {
    const int number = c != nullptr ? c->Number : 0;
    return number >= 1 && number <= sensitivity.Capacity() ? sensitivity.Row(number) : nullptr;
  };
  auto columnOf = [&](const TChoice32* c) {
    return c->Number >= 1 && c->Number <= width ? c->Number - 1 : -1;
  };
  // Moving probability to D from its set's best choice, in the rows read below.
  for (TChoice32* d : active) {
    const int from = d->Info->Best.get() != nullptr ? columnOf(d->Info->Best.get()) : -2;
    const int to = columnOf(d);
    if (from == -2 || to < 0) continue;
    for (const int position : work.RowPositions) {
      double* row = rowOf(index.Choices[static_cast<std::size_t>(position)].Element);
      if (row != nullptr) row[to] += -(from >= 0 ? row[from] : 0.0);
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
    const double* standRow = rowOf(stand) != nullptr ? rowOf(stand) : zeros.data();
    const double* bestRow = rowOf(best) != nullptr ? rowOf(best) : zeros.data();
    for (int s = 1; s <= k && p != 0; ++s) {
      const int y = columnOf(active[static_cast<std::size_t>(s - 1)]);
      double entry = y >= 0 ? standRow[y] : 0.0;
      if (best != nullptr) entry -= y >= 0 ? bestRow[y] : 0.0;
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
    for (const TSolverIndex::Choice& c : SolverIndex(game).Choices) c.Element->Direction = 0;
    const TMatrix& jacobian = *work.Jacobian;
    std::vector<double>& residual = work.Residuals;
    residual.resize(static_cast<std::size_t>(k));
    for (int s = 1; s <= k; ++s) residual[static_cast<std::size_t>(s - 1)] = work.Residual->Get(s);
    for (int r = 1; r <= k; ++r) {
      const double* inverse = jacobian.Row(r) + jacobian.Capacity();
      double direction = 0;
      for (int s = 0; s < k; ++s) direction += inverse[s] * residual[static_cast<std::size_t>(s)];
      active[static_cast<std::size_t>(r - 1)]->Direction = direction;
    }
  } else {
    for (TChoice32* c : active) c->Direction = kSingularDirection;
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
