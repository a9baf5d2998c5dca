// Every game under examples/, solved by each method: each solution is an equilibrium by an
// independent check, and reads back as it was saved. New examples are covered without code.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "gamefile/game_file.h"
#include "model/payoff.h"
#include "model/settings.h"
#include "model/solution.h"
#include "solver/solve_run.h"
#include "support/equilibrium_check.h"
#include "support/solving.h"

namespace ludomark {
namespace {

std::vector<std::string> ExampleFiles() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(LUDOMARK_EXAMPLES_DIR)) {
    if (entry.path().extension() == ".lmx") files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

class ExampleEquilibria : public ::testing::TestWithParam<std::string> {};

TEST_P(ExampleEquilibria, EverySolutionIsAnEquilibriumAndReadsBack) {
  for (int method : {kSolvePure, kSolveMixed, kSolveSampling, kSolveTracing}) {
    TGameType32 game;
    ASSERT_TRUE(testing::SolveExample(GetParam(), method, game)) << method;
    // Every game has an equilibrium, and the other methods find one on every example (tracing
    // exactly one); a game may have no pure one.
    if (method != kSolvePure) {
      EXPECT_FALSE(game.Solutions().Empty()) << method;
    }
    if (method == kSolveTracing) {
      EXPECT_EQ(game.Solutions().LiveCount(), 1);
    }
    game.Solutions().ForEach([&](TGameObject32* e) {
      const auto check = testing::CheckSolution(game, *static_cast<TSolution32*>(e));
      EXPECT_LT(check.Gain, 1e-6) << method << " " << e->Name << " " << check.Worst;
      EXPECT_LT(check.ValueError, 1e-6) << method << " " << e->Name << " " << check.Worst;
      EXPECT_LT(check.BeliefError, 1e-5) << method << " " << e->Name << " " << check.Worst;
    });
    if (game.Solutions().Empty()) continue;
    TGameType32 back;
    ReadGameText(GameFileText(game) + SolutionsFileText(game), back);
    EXPECT_EQ(testing::SolutionNames(back), testing::SolutionNames(game)) << method;
    EXPECT_EQ(back.Status(), StatusSolvedSaved);
  }
}

// Equilibria do not depend on the payoffs' scale: the game scaled by 1e-12, 1e12 or 1e100 has
// the same solutions, under the same names, with the same probabilities and beliefs.
TEST_P(ExampleEquilibria, ScaledPayoffsGiveTheSameSolutions) {
  TGameType32 original;
  ASSERT_TRUE(testing::SolveExample(GetParam(), kSolveMixed, original));
  for (const double scale : {1e-12, 1e12, 1e100}) {
    TGameType32 game;
    ASSERT_TRUE(ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/" + GetParam(), game));
    game.Payoffs().ForEachAs<TPayoff32>([&](TPayoff32* p) { p->Value *= scale; });
    TSolveRun run;
    run.FixedMethod = kSolveMixed;
    testing::RecordingObserver quiet;
    ASSERT_EQ(run.Solve(game, quiet), TSolveRun::Start::Ran) << scale;
    ASSERT_EQ(testing::SolutionNames(game), testing::SolutionNames(original)) << scale;
    for (int i = 0; i < game.Solutions().Count(); ++i) {
      const auto* s = As<TSolution32>(game.Solutions().Get(i));
      const auto* t = As<TSolution32>(original.Solutions().Get(i));
      for (int c = 1; c <= t->Probabilities.Count(); ++c) {
        EXPECT_NEAR(s->Probabilities.Get(c), t->Probabilities.Get(c), 1e-6) << scale;
      }
      for (int n = 1; n <= t->Beliefs.Count(); ++n) {
        EXPECT_NEAR(s->Beliefs.Get(n), t->Beliefs.Get(n), 1e-6) << scale;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleEquilibria, ::testing::ValuesIn(ExampleFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param.substr(0, info.param.size() - 4);
                           return name;
                         });

}  // namespace
}  // namespace ludomark
