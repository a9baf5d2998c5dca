// Beliefs follow play from the root: random games of the shapes where they once did not, each
// solution checked independently of the solver's evaluation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/random.h"
#include "solver/solve_run.h"
#include "support/equilibrium_check.h"
#include "support/game_builder.h"
#include "support/solving.h"

namespace ludomark {
namespace {

using testing::GameBuilder;

class RandomGame {
 public:
  explicit RandomGame(uint64_t seed) : random_(seed) {}

  int Int(int low, int high) { return low + static_cast<int>(random_.Next() * (high - low + 1)); }
  double Real(double low, double high) { return low + random_.Next() * (high - low); }

  void Final(GameBuilder& b, TMove32* move, const std::vector<TPlayer32*>& players) {
    for (TPlayer32* p : players) b.Payoff(move, p, Int(-4, 4));
  }

 private:
  TUniformRandom random_;
};

// A table at the root; cells end the game, lead to X or Y (a third player's information set),
// or pass through chance on the way to X. Cell (1, 1) goes through chance and the last cell
// to Y, so both members are reached.
void TableAtTheRoot(TGameType32& game, RandomGame& r) {
  GameBuilder b(game);
  std::vector<TPlayer32*> players{b.Player("A"), b.Player("B"), b.Player("C")};
  TTable32* table = b.Table("T", 100, 100);
  b.SideWithCount(table, players[0], "a", r.Int(2, 3));
  b.SideWithCount(table, players[1], "b", 2);
  TNode32* chance = b.Node("Ch", nullptr, 100, 400);
  TNode32* x = b.Node("X", players[2], 100, 500);
  TNode32* y = b.Node("Y", players[2], 300, 500);
  b.InfoSet("I", {x, y});
  const double p = r.Real(0.2, 0.8);
  b.Move("h", chance, x, p);
  r.Final(b, b.Move("t", chance, nullptr, 1 - p), players);
  for (TNode32* node : {x, y}) {
    for (const char* name : {"L", "R"}) r.Final(b, b.Move(name, node, nullptr), players);
  }
  const int cells = table->Cells.LiveCount();
  for (int i = 0; i < cells; ++i) {
    auto* cell = static_cast<TCell32*>(table->Cells.Get(i));
    const int kind = i == 0 ? 2 : i == cells - 1 ? 1 : r.Int(0, 3);
    if (kind == 0) r.Final(b, cell, players);
    if (kind == 1) cell->To = y;
    if (kind == 2) cell->To = chance;
    if (kind == 3) cell->To = x;
  }
}

// A root that passes through chance into a set {X, Y} or straight to Y; from the set play ends
// or returns to the root, discounted.
void DiscountedCycle(TGameType32& game, RandomGame& r) {
  GameBuilder b(game);
  std::vector<TPlayer32*> players{b.Player("A"), b.Player("B")};
  TNode32* root = b.Node("R", players[0], 200, 100);
  TNode32* chance = b.Node("Ch", nullptr, 100, 200);
  TNode32* x = b.Node("X", players[1], 100, 300);
  TNode32* y = b.Node("Y", players[1], 300, 300);
  b.InfoSet("I", {x, y});
  b.Move("x", root, chance);
  b.Move("z", root, y);
  if (r.Int(0, 1) == 1) r.Final(b, b.Move("y", root, nullptr), players);
  const double p = r.Real(0.2, 0.8);
  b.Move("h", chance, x, p);
  b.Move("t", chance, y, 1 - p);
  for (TNode32* node : {x, y}) {
    for (const char* name : {"L", "R"}) {
      const bool back = (node == x && name[0] == 'L') || r.Int(0, 2) == 0;
      TMove32* move = b.Move(name, node, back ? root : nullptr, back ? r.Real(0.5, 0.95) : 1.0);
      if (!back) {
        r.Final(b, move, players);
      } else if (r.Int(0, 1) == 1) {
        b.Payoff(move, players[1], r.Int(-2, 2));
      }
    }
  }
}

TEST(Beliefs, EverySolutionOfRandomGamesIsAnEquilibriumUnderPlayFromTheRoot) {
  int solutions = 0;
  for (auto* build : {&TableAtTheRoot, &DiscountedCycle}) {
    for (uint64_t seed = 1; seed <= 25; ++seed) {
      TGameType32 game;
      RandomGame r(seed);
      build(game, r);
      testing::RecordingObserver observer;
      TSolveRun run;
      ASSERT_EQ(run.Solve(game, observer), TSolveRun::Start::Ran) << "seed " << seed;
      game.Solutions().ForEach([&](TGameObject32* e) {
        const auto check = testing::CheckSolution(game, *static_cast<TSolution32*>(e));
        EXPECT_LT(check.Gain, 1e-6) << "seed " << seed << " " << e->Name << " " << check.Worst;
        EXPECT_LT(check.BeliefError, 1e-5) << "seed " << seed << " " << check.Worst;
        EXPECT_LT(check.ValueError, 1e-6) << "seed " << seed << " " << check.Worst;
        ++solutions;
      });
    }
  }
  EXPECT_GT(solutions, 50);
}

}  // namespace
}  // namespace ludomark
