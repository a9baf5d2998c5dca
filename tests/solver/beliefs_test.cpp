// Beliefs follow play from the root: random games of the shapes where they once did not, each
// solution checked independently of the solver's evaluation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/random.h"
#include "solver/solve_run.h"
#include "support/equilibrium_check.h"
#include "support/random_shapes.h"
#include "support/solving.h"

namespace ludomark {
namespace {

using testing::DiscountedCycle;
using testing::RandomGame;
using testing::TableAtTheRoot;

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
