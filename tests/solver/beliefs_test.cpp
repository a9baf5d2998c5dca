// Beliefs follow play from the root: random games of the shapes where they once did not, each
// solution checked independently of the solver's evaluation.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "model/random.h"
#include "solver/solve_run.h"
#include "support/equilibrium_check.h"
#include "support/game_builder.h"
#include "support/random_shapes.h"
#include "support/solving.h"

namespace ludomark {
namespace {

using testing::DiscountedCycle;
using testing::RandomGame;
using testing::TableAtTheRoot;

// A node that no move enters (U) leads into Bob's set through its member B; play from the
// start reaches the set through A alone, so Bob believes he is at A and plays l there (with
// half the weight on B, r would be his best reply).
TEST(Beliefs, APartPlayNeverEntersLendsNoWeight) {
  TGameType32 game;
  testing::GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TNode32* root = b.Node("R", ann);
  TNode32* a = b.Node("A", bob);
  TNode32* aside = b.Node("U", ann);
  TNode32* other = b.Node("B", bob);
  TNode32* end = b.Node("X", ann);
  auto pay = [&](TMove32* m, double forAnn, double forBob) {
    b.Payoff(m, ann, forAnn);
    b.Payoff(m, bob, forBob);
  };
  b.Move("in", root, a);
  pay(b.Move("out", root, nullptr), -10, 0);
  b.Move("u", aside, other);
  pay(b.Move("v", aside, nullptr), 0, 0);
  pay(b.Move("l", a, nullptr), 1, 1);
  b.Move("r", a, end, 0.1);
  pay(b.Move("l", other, nullptr), 3, 0);
  b.Move("r", other, end);
  pay(b.Move("x", end, nullptr), 1, 5);
  b.InfoSet("S", {a, other});
  TSolveRun run;
  testing::RecordingObserver observer;
  ASSERT_EQ(run.Solve(game, observer), TSolveRun::Start::Ran);
  EXPECT_EQ(game.Findings().First()->Name, "Not reached from the start at U(Ann)");
  ASSERT_FALSE(game.Solutions().Empty());
  game.Solutions().ForEach([&](TGameObject32* e) {
    const auto* s = static_cast<TSolution32*>(e);
    EXPECT_EQ(s->Beliefs.Get(a->Number), 1) << e->Name;
    EXPECT_EQ(s->Beliefs.Get(other->Number), 0) << e->Name;
    EXPECT_EQ(testing::ChoiceIn(game, *s, "l", "A").Probability, 1) << e->Name;
    const auto check = testing::CheckSolution(game, *s);
    EXPECT_LT(check.Gain, 1e-9) << check.Worst;
    EXPECT_LT(check.BeliefError, 1e-9) << check.Worst;
  });
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

// A root that may wait (a move back to itself) or let chance lead into a set of Bob's, and a
// part no move enters that leads into the set as well: at every solution Bob's beliefs sum to
// 1, and they are Bayes' beliefs (chance's) wherever the root's play reaches the set.
TEST(Beliefs, SumToOneAtEverySetAndFollowTheRootWhereItReaches) {
  int offPath = 0;
  int onPath = 0;
  for (uint64_t seed = 1; seed <= 300; ++seed) {
    std::mt19937_64 random(seed);
    const auto value = [&] { return static_cast<double>(static_cast<int>(random() % 11) - 5); };
    TGameType32 game;
    testing::GameBuilder b(game);
    TPlayer32* ann = b.Player("Ann");
    TPlayer32* bob = b.Player("Bob");
    const auto final = [&](const char* name, TNode32* from) {
      TMove32* m = b.Move(name, from, nullptr);
      b.Payoff(m, ann, value());
      b.Payoff(m, bob, value());
    };
    TNode32* root = b.Node("R", ann);
    TNode32* deal = b.Node("C", nullptr);
    TNode32* a = b.Node("A", bob);
    TNode32* other = b.Node("B", bob);
    TNode32* aside = b.Node("U", ann);
    const double high = 0.25 + 0.5 * static_cast<double>(random() % 3) / 2;
    b.Move("wait", root, root, 0.9);
    b.Move("go", root, deal);
    final("stop", root);
    b.Move("h", deal, a, high);
    b.Move("t", deal, other, 1 - high);
    b.Move("u", aside, other);
    final("v", aside);
    for (TNode32* n : {a, other}) {
      final("l", n);
      final("r", n);
    }
    b.InfoSet("S", {a, other});
    TSolveRun run;
    testing::RecordingObserver observer;
    ASSERT_EQ(run.Solve(game, observer), TSolveRun::Start::Ran) << "seed " << seed;
    ASSERT_EQ(game.Root(), root) << "seed " << seed;
    game.Solutions().ForEach([&](TGameObject32* e) {
      const auto& s = *static_cast<TSolution32*>(e);
      const double atA = testing::BeliefIn(game, s, "A");
      const double atB = testing::BeliefIn(game, s, "B");
      EXPECT_NEAR(atA + atB, 1, 1e-9) << "seed " << seed << " " << e->Name;
      if (testing::ChoiceIn(game, s, "go", "R").Probability > 1e-9) {
        EXPECT_NEAR(atA, high, 1e-6) << "seed " << seed << " " << e->Name;
        ++onPath;
      } else {
        ++offPath;
      }
    });
  }
  // Both kinds of solution were met.
  EXPECT_GT(offPath, 10);
  EXPECT_GT(onPath, 10);
}

}  // namespace
}  // namespace ludomark
