// Lemke's method on the sequence form: one equilibrium of every two-player game without
// cycles, by the independent check, on random trees, tables and tables inside trees, and on
// the examples; the games it cannot take are refused with the reason.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "gamefile/efg_reader.h"
#include "gamefile/nfg_reader.h"
#include "model/cell.h"
#include "model/settings.h"
#include "model/solution.h"
#include "model/table.h"
#include "solver/solve_run.h"
#include "support/equilibrium_check.h"
#include "support/game_builder.h"
#include "support/random_games.h"
#include "support/random_shapes.h"
#include "support/solving.h"

namespace ludomark {
namespace {

using testing::RandomGame;

// Ann opens or passes; opening leads to a table of Ann and Bob whose cells end the game or
// lead through chance to a set of Bob's two nodes (which he reaches by the same column).
void TableInATree(TGameType32& game, RandomGame& r) {
  testing::GameBuilder b(game);
  std::vector<TPlayer32*> players{b.Player("A"), b.Player("B")};
  TNode32* root = b.Node("R", players[0], 200, 50);
  TTable32* table = b.Table("T", 100, 150);
  b.SideWithCount(table, players[0], "a", r.Int(2, 3));
  b.SideWithCount(table, players[1], "b", 2);
  b.Move("open", root, table);
  r.Final(b, b.Move("pass", root, nullptr), players);
  TNode32* chance = b.Node("Ch", nullptr, 100, 400);
  TNode32* x = b.Node("X", players[0], 100, 500);
  TNode32* y = b.Node("Y", players[0], 300, 500);
  b.InfoSet("I", {x, y});
  const double p = r.Real(0.2, 0.8);
  b.Move("h", chance, x, p);
  b.Move("t", chance, y, 1 - p);
  for (TNode32* node : {x, y}) {
    for (const char* name : {"L", "R"}) r.Final(b, b.Move(name, node, nullptr), players);
  }
  const int cells = table->Cells.LiveCount();
  for (int i = 0; i < cells; ++i) {
    auto* cell = static_cast<TCell32*>(table->Cells.Get(i));
    // Only the first row's cells lead on, so that Ann reaches her set by one strategy.
    if (i == 0 || (i == 1 && r.Int(0, 1) == 1)) {
      cell->To = chance;
    } else {
      r.Final(b, cell, players);
    }
  }
}

// The run's start (Stopped standing for a run that found nothing, saying why), and the one
// solution checked.
TSolveRun::Start SolveAndCheck(TGameType32& game, const std::string& what,
                               std::string* refusal = nullptr) {
  TSolveRun run;
  run.FixedMethod = kSolveLemke;
  testing::RecordingObserver observer;
  const TSolveRun::Start start = run.Solve(game, observer);
  if (refusal != nullptr) *refusal = run.Refusal;
  if (start != TSolveRun::Start::Ran) return start;
  EXPECT_LE(game.Solutions().LiveCount(), 1) << what;
  EXPECT_EQ(game.Solutions().LiveCount() == 0, !run.Failure.empty()) << what;
  if (game.Solutions().LiveCount() == 0) return TSolveRun::Start::Stopped;
  game.Solutions().ForEach([&](TGameObject32* e) {
    const auto check = testing::CheckSolution(game, *static_cast<TSolution32*>(e));
    EXPECT_LT(check.Gain, 1e-6) << what << " " << check.Worst;
    EXPECT_LT(check.ValueError, 1e-6) << what << " " << check.Worst;
    EXPECT_LT(check.BeliefError, 1e-5) << what << " " << check.Worst;
  });
  return start;
}

TEST(Lemke, OneCheckedEquilibriumOfEveryRandomGameOfTwoPlayers) {
  const std::vector<std::pair<const char*, std::function<void(TGameType32&, uint64_t)>>> shapes{
      {"tree",
       [](TGameType32& g, uint64_t seed) {
         ReadEfgText(testing::RandomTreeEfg(2 + static_cast<int>(seed % 7), seed), "t.efg", g);
       }},
      {"table",
       [](TGameType32& g, uint64_t seed) {
         ReadNfgText(testing::RandomTableNfg(2 + static_cast<int>(seed % 5),
                                             2 + static_cast<int>(seed / 5 % 5), seed),
                     "t.nfg", g);
       }},
      {"table in a tree",
       [](TGameType32& g, uint64_t seed) {
         RandomGame r(seed);
         TableInATree(g, r);
       }},
  };
  for (const auto& [name, build] : shapes) {
    int solved = 0;
    for (uint64_t seed = 1; seed <= 100; ++seed) {
      TGameType32 game;
      build(game, seed);
      std::string refusal;
      const auto start =
          SolveAndCheck(game, std::string(name) + " " + std::to_string(seed), &refusal);
      if (start == TSolveRun::Start::Ran) {
        ++solved;
      } else if (start == TSolveRun::Start::Refused) {
        // Only a player who forgets is a reason here.
        EXPECT_NE(refusal.find("imperfect recall"), std::string::npos)
            << name << " " << seed << " " << refusal;
      }
    }
    // Now and then the plan's play off the path cannot be completed to the beliefs' best
    // replies, and the method says so.
    EXPECT_GE(solved, 95) << name;
  }
}

TEST(Lemke, ExamplesOfTwoPlayersAndRefusals) {
  for (const char* file : {"battle_of_the_sexes.lmx", "bluff.lmx", "hidden_move.lmx",
                           "market_entry.lmx", "matching_pennies.lmx", "prisoners_dilemma.lmx",
                           "risky_venture.lmx", "rock_paper_scissors.lmx"}) {
    TGameType32 game;
    ASSERT_TRUE(testing::SolveExample(file, kSolveLemke, game)) << file;
    ASSERT_EQ(game.Solutions().LiveCount(), 1) << file;
    const auto check =
        testing::CheckSolution(game, *static_cast<TSolution32*>(game.Solutions().First()));
    EXPECT_LT(check.Gain, 1e-6) << file << " " << check.Worst;
  }
  for (const auto& [file, reason] :
       {std::pair{"patient_search.lmx", "the game has a cycle"},
        std::pair{"three_way_deal.lmx", "it takes games of two players, and this one has 3"}}) {
    TGameType32 game;
    testing::RecordingObserver observer;
    EXPECT_FALSE(testing::SolveExample(file, kSolveLemke, game, &observer)) << file;
    TSolveRun run;
    run.FixedMethod = kSolveLemke;
    EXPECT_EQ(run.Solve(game, observer), TSolveRun::Start::Refused) << file;
    EXPECT_EQ(run.Refusal, std::string("Lemke's method cannot solve this game: ") + reason);
    EXPECT_EQ(game.Solutions().LiveCount(), 0) << file;
  }
}

}  // namespace
}  // namespace ludomark
