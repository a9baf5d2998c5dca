// The exact method against hand-checked fractions, against every basis of small degenerate
// tables, and against the independent equilibrium check on random trees.
#include <gmpxx.h>
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "gamefile/efg_reader.h"
#include "gamefile/game_file.h"
#include "gamefile/nfg_reader.h"
#include "model/choice.h"
#include "model/info.h"
#include "model/player.h"
#include "model/settings.h"
#include "model/solution.h"
#include "solver/exact_number.h"
#include "solver/parallel_solve.h"
#include "solver/solution_group.h"
#include "solver/solve_run.h"
#include "support/equilibrium_check.h"
#include "support/random_games.h"
#include "support/solving.h"

namespace ludomark {
namespace {

using Matrix = std::vector<std::vector<int>>;
using Plan = std::vector<mpq_class>;

std::string NfgOf(const Matrix& a, const Matrix& b) {
  std::string text = "NFG 1 R \"t\" { \"A\" \"B\" } { " + std::to_string(a.size()) + " " +
                     std::to_string(a[0].size()) + " }\n\n";
  for (std::size_t j = 0; j < a[0].size(); ++j) {
    for (std::size_t i = 0; i < a.size(); ++i) {
      text += std::to_string(a[i][j]) + " " + std::to_string(b[i][j]) + " ";
    }
  }
  return text + "\n";
}

std::vector<TSolution32*> Solve(TGameType32& game, std::string* refusal = nullptr,
                                bool force = false) {
  TSolveRun run;
  run.FixedMethod = kSolveExact;
  run.Force = force;
  testing::RecordingObserver observer;
  const auto start = run.Solve(game, observer);
  if (refusal != nullptr) *refusal = run.Refusal;
  std::vector<TSolution32*> solutions;
  if (start != TSolveRun::Start::Ran) return solutions;
  game.Solutions().ForEach(
      [&](TGameObject32* e) { solutions.push_back(static_cast<TSolution32*>(e)); });
  return solutions;
}

// A player's probabilities in a solution, by strategy in list order.
Plan PlanOf(TGameType32& game, const TSolution32& s, const std::string& player) {
  Plan plan;
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (!c->HasPlayer() || c->Info->Player->Name != player) return;
    const auto exact = RationalOfText(s.ExactOf(c->Number));
    EXPECT_TRUE(exact.has_value()) << c->Name;
    plan.push_back(exact.value_or(mpq_class(-1)));
  });
  return plan;
}

std::string ExactOf(TGameType32& game, const TSolution32& s, const std::string& choice,
                    const std::string& player) {
  std::string found;
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (c->Name == choice && c->HasPlayer() && c->Info->Player->Name == player) {
      found = s.ExactOf(c->Number);
    }
  });
  return found;
}

// Brute force: every choice of `d` rows of { x >= 0, M'x <= 1 } solved exactly, kept when it
// is a feasible point; the vertices with their tight labels.
std::map<Plan, std::set<int>> Vertices(const Matrix& m, bool transpose) {
  const std::size_t rows = transpose ? m[0].size() : m.size();  // the other player's count
  const std::size_t d = transpose ? m.size() : m[0].size();
  const auto coefficient = [&](std::size_t other, std::size_t own) {
    return transpose ? mpq_class(m[own][other] + 1) : mpq_class(m[other][own] + 1);
  };
  // Row k < d: x_k >= 0 (label own k); row d + i: 1 - sum_k M(i, k) x_k >= 0 (label other i).
  const std::size_t all = d + rows;
  std::map<Plan, std::set<int>> vertices;
  for (std::uint32_t mask = 0; mask < (1U << all); ++mask) {
    if (static_cast<std::size_t>(__builtin_popcount(mask)) != d) continue;
    std::vector<std::vector<mpq_class>> a;
    for (std::size_t r = 0; r < all; ++r) {
      if ((mask >> r & 1U) == 0) continue;
      std::vector<mpq_class> row(d + 1, 0);
      if (r < d) {
        row[r] = 1;
      } else {
        for (std::size_t k = 0; k < d; ++k) row[k] = coefficient(r - d, k);
        row[d] = 1;
      }
      a.push_back(row);
    }
    bool singular = false;
    for (std::size_t c = 0; c < d && !singular; ++c) {
      std::size_t p = c;
      while (p < d && a[p][c] == 0) ++p;
      if (p == d) {
        singular = true;
        break;
      }
      std::swap(a[c], a[p]);
      for (std::size_t i = 0; i < d; ++i) {
        if (i == c || a[i][c] == 0) continue;
        const mpq_class f = a[i][c] / a[c][c];
        for (std::size_t j = c; j <= d; ++j) a[i][j] -= f * a[c][j];
      }
    }
    if (singular) continue;
    Plan x(d);
    for (std::size_t k = 0; k < d; ++k) x[k] = a[k][d] / a[k][k];
    std::set<int> labels;
    bool feasible = true;
    mpq_class sum = 0;
    for (std::size_t k = 0; k < d; ++k) {
      feasible = feasible && x[k] >= 0;
      if (x[k] == 0) labels.insert(static_cast<int>(k) + (transpose ? 100 : 0));
      sum += x[k];
    }
    for (std::size_t i = 0; i < rows; ++i) {
      mpq_class v = 1;
      for (std::size_t k = 0; k < d; ++k) v -= coefficient(i, k) * x[k];
      feasible = feasible && v >= 0;
      if (v == 0) labels.insert(static_cast<int>(i) + (transpose ? 0 : 100));
    }
    if (!feasible || sum == 0) continue;
    for (mpq_class& v : x) v /= sum;
    vertices[x] = labels;
  }
  return vertices;
}

// The extreme equilibria: pairs of vertices whose labels cover every strategy of both.
std::set<std::pair<Plan, Plan>> BruteForce(const Matrix& a, const Matrix& b) {
  const auto ones = Vertices(b, /*transpose=*/true);  // the first player's x: B'x <= 1
  const auto twos = Vertices(a, /*transpose=*/false);
  std::set<std::pair<Plan, Plan>> pairs;
  for (const auto& [x, lx] : ones) {
    for (const auto& [y, ly] : twos) {
      std::set<int> all = lx;
      all.insert(ly.begin(), ly.end());
      if (all.size() == a.size() + a[0].size()) pairs.emplace(x, y);
    }
  }
  return pairs;
}

// Whether (x, y) is an equilibrium of the table, exactly.
bool IsEquilibrium(const Matrix& a, const Matrix& b, const Plan& x, const Plan& y) {
  mpq_class bestA = -1000;
  mpq_class bestB = -1000;
  mpq_class valueA = 0;
  mpq_class valueB = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    mpq_class v = 0;
    for (std::size_t j = 0; j < y.size(); ++j) v += a[i][j] * y[j];
    bestA = std::max(bestA, v);
    valueA += x[i] * v;
  }
  for (std::size_t j = 0; j < y.size(); ++j) {
    mpq_class v = 0;
    for (std::size_t i = 0; i < x.size(); ++i) v += b[i][j] * x[i];
    bestB = std::max(bestB, v);
    valueB += y[j] * v;
  }
  return valueA == bestA && valueB == bestB;
}

TEST(Exact, NumbersAndHandCheckedFractions) {
  EXPECT_EQ(*RationalOfText("1/3"), mpq_class(1, 3));
  EXPECT_EQ(*RationalOfText("2.50"), mpq_class(5, 2));
  EXPECT_EQ(*RationalOfText("-1e-3"), mpq_class(-1, 1000));
  EXPECT_EQ(*RationalOfText("0.333333"), mpq_class(333333, 1000000));
  EXPECT_FALSE(RationalOfText("1/0").has_value());
  EXPECT_FALSE(RationalOfText("x").has_value());
  EXPECT_FALSE(RationalOfText("1e99999").has_value());

  TGameType32 battle;
  ASSERT_TRUE(testing::SolveExample("battle_of_the_sexes.lmx", kSolveExact, battle));
  ASSERT_EQ(battle.Solutions().LiveCount(), 3);
  const auto* mixed = static_cast<TSolution32*>(battle.Solutions().First());
  EXPECT_EQ(mixed->Name, "M 1.1");
  EXPECT_EQ(ExactOf(battle, *mixed, "Opera", "Ann"), "2/3");
  EXPECT_EQ(ExactOf(battle, *mixed, "football", "Bob"), "2/3");
  EXPECT_EQ(battle.Groups().LiveCount(), 3);  // three isolated equilibria

  TGameType32 bluff;
  ASSERT_TRUE(testing::SolveExample("bluff.lmx", kSolveExact, bluff));
  ASSERT_EQ(bluff.Solutions().LiveCount(), 1);
  const auto* s = static_cast<TSolution32*>(bluff.Solutions().First());
  EXPECT_EQ(ExactOf(bluff, *s, "Call", "Bob"), "2/3");
  const auto check = testing::CheckSolution(bluff, *s);
  EXPECT_LT(check.Gain, 1e-9) << check.Worst;

  // Ann's first row dominates and Bob does not care: one component of two pure extreme points.
  TGameType32 flat;
  ReadNfgText(NfgOf({{1, 1}, {0, 0}}, {{0, 0}, {0, 0}}), "t.nfg", flat);
  const auto points = Solve(flat);
  ASSERT_EQ(points.size(), 2U);
  ASSERT_EQ(flat.Groups().LiveCount(), 1);
  EXPECT_EQ(points[0]->Name, "P 1.1");
  EXPECT_EQ(points[1]->Name, "P 1.2");
}

// The desktop runs every method on a worker's copy and records its points at the end: the
// fractions and the components come across as the run on the game itself gives them.
TEST(Exact, AWorkersPointsKeepTheirFractionsAndComponents) {
  // Two components that share a point (named C 1 2).
  const std::string text = NfgOf({{1, 1, 2}, {0, 0, 2}}, {{1, 2, 2}, {1, 1, 2}});
  TGameType32 direct;
  ReadNfgText(text, "t.nfg", direct);
  const auto expected = Solve(direct);
  ASSERT_EQ(expected.size(), 3U);
  EXPECT_EQ(expected[1]->Name, "C 1 2");
  TGameType32 game;
  ReadNfgText(text, "t.nfg", game);
  TSolveRun run;
  run.FixedMethod = kSolveExact;
  testing::RecordingObserver observer;
  ASSERT_EQ(run.Prepare(game), TSolveRun::Start::Ran);
  TThreadedSolve solve;
  solve.Start(run, game, 1, CopiesOf(game), observer);
  while (!solve.Wait(std::chrono::milliseconds(10), observer)) {
  }
  solve.Finish(observer);
  ASSERT_EQ(game.Solutions().LiveCount(), static_cast<int>(expected.size()));
  EXPECT_EQ(game.Groups().LiveCount(), direct.Groups().LiveCount());
  int i = 0;
  game.Solutions().ForEachAs<TSolution32>([&](TSolution32* s) {
    const TSolution32& e = *expected[static_cast<std::size_t>(i++)];
    EXPECT_EQ(s->Name, e.Name);
    EXPECT_EQ(PlanOf(game, *s, "A"), PlanOf(direct, e, "A")) << s->Name;
    EXPECT_EQ(PlanOf(game, *s, "B"), PlanOf(direct, e, "B")) << s->Name;
  });
}

TEST(Exact, DegenerateTablesGiveEveryBasisPairAndConvexComponents) {
  std::mt19937 random(7);
  for (int game = 0; game < 60; ++game) {
    const std::size_t m = 2 + random() % 3;
    const std::size_t n = 2 + random() % 3;
    Matrix a(m, std::vector<int>(n));
    Matrix b(m, std::vector<int>(n));
    for (std::size_t i = 0; i < m; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        a[i][j] = static_cast<int>(random() % 3);
        b[i][j] = static_cast<int>(random() % 3);
      }
    }
    // Every third game has a column of equal payoffs for both.
    if (game % 3 == 0) {
      for (std::size_t i = 0; i < m; ++i) a[i][0] = b[i][0] = 1;
    }
    TGameType32 g;
    ReadNfgText(NfgOf(a, b), "t.nfg", g);
    const auto solutions = Solve(g);
    std::set<std::pair<Plan, Plan>> found;
    std::map<const TSolution32*, std::pair<Plan, Plan>> plans;
    for (const TSolution32* s : solutions) {
      plans[s] = {PlanOf(g, *s, "A"), PlanOf(g, *s, "B")};
      found.insert(plans[s]);
    }
    EXPECT_EQ(found, BruteForce(a, b)) << NfgOf(a, b);
    // A component's members mixed half and half, on each side, stay an equilibrium.
    g.Groups().ForEachAs<TSolutionGroup>([&](TSolutionGroup* group) {
      std::vector<const TSolution32*> members;
      group->Members.ForEach(
          [&](TGameObject32* e) { members.push_back(static_cast<TSolution32*>(e)); });
      for (const TSolution32* s : members) {
        for (const TSolution32* t : members) {
          Plan x = plans[s].first;
          Plan y = plans[t].second;
          for (std::size_t i = 0; i < x.size(); ++i) x[i] = (x[i] + plans[t].first[i]) / 2;
          for (std::size_t j = 0; j < y.size(); ++j) y[j] = (y[j] + plans[s].second[j]) / 2;
          EXPECT_TRUE(IsEquilibrium(a, b, x, y)) << NfgOf(a, b) << group->Name;
        }
      }
    });
  }
}

TEST(Exact, EveryPointOfRandomTreesPassesTheCheck) {
  int solved = 0;
  for (uint64_t seed = 1; seed <= 60; ++seed) {
    TGameType32 game;
    ReadEfgText(testing::RandomTreeEfg(2 + static_cast<int>(seed % 5), seed), "t.efg", game);
    std::string refusal;
    const auto solutions = Solve(game, &refusal);
    if (!refusal.empty()) {
      EXPECT_NE(refusal.find("imperfect recall"), std::string::npos) << seed << refusal;
      continue;
    }
    solved += solutions.empty() ? 0 : 1;
    for (const TSolution32* s : solutions) {
      const auto check = testing::CheckSolution(game, *s);
      EXPECT_LT(check.Gain, 1e-6) << seed << " " << s->Name << " " << check.Worst;
      EXPECT_LT(check.ValueError, 1e-6) << seed << " " << check.Worst;
      EXPECT_LT(check.BeliefError, 1e-5) << seed << " " << check.Worst;
    }
  }
  EXPECT_GE(solved, 50);
}

TEST(Exact, RefusalsSayWhy) {
  for (const auto& [file, reason] :
       {std::pair{"patient_search.lmx", "the game has a cycle"},
        std::pair{"three_way_deal.lmx", "it takes games of two players, and this one has 3"}}) {
    TGameType32 game;
    testing::RecordingObserver observer;
    EXPECT_FALSE(testing::SolveExample(file, kSolveExact, game, &observer)) << file;
    TSolveRun run;
    run.FixedMethod = kSolveExact;
    EXPECT_EQ(run.Solve(game, observer), TSolveRun::Start::Refused) << file;
    EXPECT_EQ(run.Refusal, std::string("The exact method cannot solve this game: ") + reason);
  }
  TGameType32 large;
  ReadNfgText(testing::RandomTableNfg(40, 40, 3), "t.nfg", large);
  std::string refusal;
  EXPECT_TRUE(Solve(large, &refusal).empty());
  EXPECT_EQ(refusal.rfind("This game's best-reply polyhedra may have about 10^", 0), 0U) << refusal;
}

}  // namespace
}  // namespace ludomark
