#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "audit/audit.h"
#include "gamefile/efg_reader.h"
#include "gamefile/game_file.h"
#include "gamefile/nfg_reader.h"
#include "model/choice.h"
#include "model/info.h"
#include "model/node.h"
#include "model/random.h"
#include "session/solution_report.h"
#include "solver/evaluation.h"
#include "solver/newton.h"
#include "solver/solve_run.h"
#include "support/example_games.h"
#include "support/random_games.h"
#include "support/random_shapes.h"

namespace ludomark {
namespace {

using Build = std::function<void(TGameType32&)>;

std::vector<session::SolutionReport> SolveWith(bool dense, const Build& build, int method) {
  UseDenseEvaluation(dense);
  TGameType32 game;
  build(game);
  TSolveRun run;
  run.FixedMethod = method;
  TSolveObserver quiet;
  EXPECT_EQ(run.Solve(game, quiet), TSolveRun::Start::Ran);
  UseDenseEvaluation(/*on=*/false);
  return session::SolutionReports(game);
}

bool Near(double a, double b, double tolerance = 1e-7) {
  return (std::isnan(a) && std::isnan(b)) ||
         std::fabs(a - b) <= tolerance * std::max(1.0, std::fabs(a));
}

// The same solutions, names and numbers (to 1e-9) from both evaluations.
void ExpectSameSolutions(const Build& build, int method, const std::string& what) {
  const auto dense = SolveWith(/*dense=*/true, build, method);
  const auto components = SolveWith(/*dense=*/false, build, method);
  ASSERT_EQ(dense.size(), components.size()) << what;
  for (std::size_t s = 0; s < dense.size(); ++s) {
    EXPECT_EQ(dense[s].Name, components[s].Name) << what;
    ASSERT_EQ(dense[s].Choices.size(), components[s].Choices.size()) << what;
    for (std::size_t c = 0; c < dense[s].Choices.size(); ++c) {
      const auto& a = dense[s].Choices[c];
      const auto& b = components[s].Choices[c];
      EXPECT_TRUE(Near(a.Probability, b.Probability) && Near(a.Expected, b.Expected) &&
                  a.Best == b.Best)
          << what << " " << dense[s].Name << " " << a.Name << "@" << a.Set;
    }
    for (std::size_t n = 0; n < dense[s].Nodes.size(); ++n) {
      const auto& a = dense[s].Nodes[n];
      const auto& b = components[s].Nodes[n];
      EXPECT_TRUE(!a.Belief || Near(*a.Belief, *b.Belief)) << what << " " << a.Name;
      for (std::size_t p = 0; p < a.Values.size(); ++p)
        EXPECT_TRUE(Near(a.Values[p].Value, b.Values[p].Value)) << what << " " << a.Name;
    }
  }
}

TEST(EvaluationByComponents, EveryMethodFindsWhatTheDenseEvaluationFinds) {
  for (const auto& example : testing::ExampleGames()) {
    const Build read = [&](TGameType32& g) {
      ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/" + example.FileName, g);
    };
    for (int method : {kSolvePure, kSolveMixed, kSolveSampling, kSolveTracing})
      ExpectSameSolutions(read, method, example.FileName + " " + std::to_string(method));
  }
  for (uint64_t seed = 1; seed <= 12; ++seed) {
    const std::string tree = testing::RandomTreeEfg(3, seed);
    ExpectSameSolutions([&](TGameType32& g) { ReadEfgText(tree, "t.efg", g); }, kSolveMixed,
                        "tree " + std::to_string(seed));
    const std::string table = testing::RandomTableNfg(3, 4, seed);
    ExpectSameSolutions([&](TGameType32& g) { ReadNfgText(table, "t.nfg", g); }, kSolveMixed,
                        "table " + std::to_string(seed));
  }
}

// One game audited and made ready for evaluations by one of the two ways.
struct Prepared {
  TGameType32 game;
  std::vector<TChoice32*> choices;  // of players, in list order
};

void Prepare(Prepared& p, const Build& build, bool dense) {
  build(p.game);
  ASSERT_TRUE(Audit(p.game));
  UseDenseEvaluation(dense);
  AllocateWork(p.game);
  UseDenseEvaluation(/*on=*/false);
  p.game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    if (c->Info->Player.get() != nullptr) p.choices.push_back(c);
  });
}

// At random profiles: the same values, beliefs, choice values and
// sensitivities from both evaluations, on shapes with tables, chance, shared sets and cycles.
TEST(EvaluationByComponents, ProfilesEvaluateAsThroughTheDenseInverse) {
  for (uint64_t seed = 1; seed <= 12; ++seed) {
    for (auto* shape :
         {&testing::TableAtTheRoot, &testing::DiscountedCycle, &testing::ThreePlayerTable}) {
      const Build build = [&](TGameType32& g) {
        testing::RandomGame r(seed);
        shape(g, r);
      };
      Prepared dense;
      Prepared components;
      Prepare(dense, build, /*dense=*/true);
      Prepare(components, build, /*dense=*/false);
      ASSERT_EQ(dense.choices.size(), components.choices.size());
      TUniformRandom random(seed);
      // Inside the simplex, then on its faces, where some sets are not reached.
      for (int profile = 0; profile < 6; ++profile) {
        for (std::size_t i = 0; i < dense.choices.size(); ++i) {
          const double p = profile < 3 || random.Next() > 0.4 ? 0.05 + random.Next() : 0.0;
          dense.choices[i]->Probability = components.choices[i]->Probability = p;
        }
        if (!Normalize(dense.game)) continue;  // a set without any played choice
        ASSERT_TRUE(Normalize(components.game));
        ASSERT_EQ(Evaluate(dense.game, true), Evaluate(components.game, true));
        ComputeSensitivity(dense.game);
        ComputeSensitivity(components.game);
        const TSolverWork& a = *dense.game.Work;
        const TSolverWork& b = *components.game.Work;
        for (int player = 1; player <= a.NodeValues->Capacity(); ++player) {
          for (int node = 1; node <= a.NodeValues->Cols(); ++node)
            EXPECT_TRUE(
                Near(a.NodeValues->Get(player, node), b.NodeValues->Get(player, node), 1e-12));
        }
        std::vector<TNode32*> nodes = ElementsOf<TNode32>(components.game.Nodes());
        std::vector<TNode32*> denseNodes = ElementsOf<TNode32>(dense.game.Nodes());
        for (std::size_t n = 0; n < nodes.size(); ++n)
          EXPECT_TRUE(Near(denseNodes[n]->Belief, nodes[n]->Belief, 1e-12)) << seed;
        for (std::size_t i = 0; i < dense.choices.size(); ++i) {
          EXPECT_TRUE(Near(dense.choices[i]->Expected, components.choices[i]->Expected, 1e-12));
          for (std::size_t j = 0; j < dense.choices.size(); ++j) {
            const int r = dense.choices[i]->Number;
            const int c = dense.choices[j]->Number;
            EXPECT_TRUE(Near(a.Sensitivity->Get(r, c), b.Sensitivity->Get(r, c), 1e-10))
                << seed << " " << dense.choices[i]->Name << " by " << dense.choices[j]->Name;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace ludomark
