#include "support/equilibrium_check.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/choice.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"

namespace ludomark::testing {

namespace {

using Matrix = std::vector<std::vector<double>>;

// Solves A x = b for every column of b by elimination with partial pivoting.
Matrix Solve(Matrix a, Matrix b) {
  const std::size_t n = a.size();
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t pivot = c;
    for (std::size_t r = c + 1; r < n; ++r) {
      if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
    }
    std::swap(a[c], a[pivot]);
    std::swap(b[c], b[pivot]);
    for (std::size_t r = 0; r < n; ++r) {
      if (r == c || a[r][c] == 0) continue;
      const double f = a[r][c] / a[c][c];
      for (std::size_t k = c; k < n; ++k) a[r][k] -= f * a[c][k];
      for (std::size_t k = 0; k < b[r].size(); ++k) b[r][k] -= f * b[c][k];
    }
  }
  for (std::size_t r = 0; r < n; ++r) {
    for (double& x : b[r]) x /= a[r][r];
  }
  return b;
}

void Worse(double& field, double value, std::string& worst, const std::string& where) {
  if (value > field) {
    field = value;
    worst = where;
  }
}

}  // namespace

EquilibriumCheck CheckSolution(TGameForm32& game, const TSolution32& s) {
  const std::size_t n = static_cast<std::size_t>(game.Nodes().LiveCount());
  const std::size_t k = static_cast<std::size_t>(game.Players().LiveCount());
  auto at = [](const TGameObject32* e) { return static_cast<std::size_t>(e->Number - 1); };
  auto takes = [&](TMove32* m) {
    // Chance moves carry their probability; a player's move the probability of its choice.
    if (m->From->Player.get() == nullptr) return m->Value;
    return m->Choice.get() != nullptr ? s.Probabilities.Get(m->Choice->Number) : 0.0;
  };

  // I - T, rewards by node and player, and the root as the only start of play.
  Matrix system(n, std::vector<double>(n, 0));
  Matrix rewards(n, std::vector<double>(k, 0));
  for (std::size_t i = 0; i < n; ++i) system[i][i] = 1;
  game.Moves().ForEach([&](TGameObject32* e) {
    auto* m = static_cast<TMove32*>(e);
    if (m->From.get() == nullptr) return;
    const double weight = m->From->Player.get() == nullptr ? m->Value : m->Value * takes(m);
    if (m->To.get() != nullptr) system[at(m->From.get())][at(m->To.get())] -= weight;
  });
  game.Payoffs().ForEach([&](TGameObject32* e) {
    auto* p = static_cast<TPayoff32*>(e);
    auto* m = dynamic_cast<TMove32*>(p->Move.get());
    if (m == nullptr || m->From.get() == nullptr || p->Player.get() == nullptr) return;
    rewards[at(m->From.get())][at(p->Player.get())] += p->Value * takes(m);
  });
  const Matrix values = Solve(system, rewards);
  Matrix transposed(n, std::vector<double>(n));
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) transposed[i][j] = system[j][i];
  }
  Matrix start(n, std::vector<double>(1, 0));
  if (TGameObject32* root = game.Nodes().First()) start[at(root)][0] = 1;
  const Matrix reach = Solve(transposed, start);

  EquilibriumCheck check;
  game.Nodes().ForEach([&](TGameObject32* e) {
    game.Players().ForEach([&](TGameObject32* p) {
      const double error = std::fabs(values[at(e)][at(p)] - s.Values.Get(p->Number, e->Number));
      Worse(check.ValueError, error, check.Worst, "value at " + e->Name);
    });
  });

  game.Infos().ForEach([&](TGameObject32* e) {
    auto* set = static_cast<TInfo32*>(e);
    TPlayer32* player = set->Player.get();
    if (player == nullptr || set->Temporary) return;
    // Beliefs: Bayes on play from the root where it reaches the set, the solution's elsewhere.
    double setReach = 0;
    set->Members.ForEach([&](TGameObject32* m) { setReach += reach[at(m)][0]; });
    std::vector<double> belief(n, 0);
    set->Members.ForEach([&](TGameObject32* m) {
      belief[at(m)] = setReach > 1e-6 ? reach[at(m)][0] / setReach : s.Beliefs.Get(m->Number);
      if (setReach > 1e-6) {
        Worse(check.BeliefError, std::fabs(belief[at(m)] - s.Beliefs.Get(m->Number)), check.Worst,
              "belief at " + m->Name);
      }
    });
    if (set->Members.LiveCount() < 2) {
      set->Members.ForEach([&](TGameObject32* m) { belief[at(m)] = 1; });
    }
    double best = -1e300;
    double worstPlayed = 1e300;
    set->Choices.ForEach([&](TGameObject32* c) {
      auto* choice = static_cast<TChoice32*>(c);
      double value = 0;
      choice->ChoiceMoves.ForEach([&](TGameObject32* mv) {
        auto* m = static_cast<TMove32*>(mv);
        double v = m->To.get() != nullptr ? m->Value * values[at(m->To.get())][at(player)] : 0;
        game.Payoffs().ForEach([&](TGameObject32* p) {
          auto* pay = static_cast<TPayoff32*>(p);
          if (pay->Move.get() == m && pay->Player.get() == player) v += pay->Value;
        });
        value += belief[at(m->From.get())] * v;
      });
      best = std::max(best, value);
      if (s.Probabilities.Get(choice->Number) >= 1e-6) worstPlayed = std::min(worstPlayed, value);
    });
    if (worstPlayed < 1e300) {
      Worse(check.Gain, best - worstPlayed, check.Worst, "choices at " + set->Describe(7));
    }
  });
  return check;
}

}  // namespace ludomark::testing
