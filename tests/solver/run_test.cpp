// The stages of a run: enumeration, progress, abort, the Newton pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audit/audit.h"
#include "gamefile/efg_reader.h"
#include "gamefile/game_file.h"
#include "gamefile/nfg_reader.h"
#include "model/choice.h"
#include "model/info.h"
#include "model/settings.h"
#include "model/side.h"
#include "solver/evaluation.h"
#include "solver/newton.h"
#include "solver/profile.h"
#include "solver/solve_run.h"
#include "support/derive.h"
#include "support/game_builder.h"
#include "support/random_games.h"
#include "support/solving.h"

namespace ludomark {
namespace {

using testing::GameBuilder;
using testing::RecordingObserver;

TEST(Run, PercentText) {
  EXPECT_EQ(PercentText(0), "00.00%");
  EXPECT_EQ(PercentText(1), "100.00%");
  EXPECT_EQ(PercentText(1.0 / 3), "33.33%");
  EXPECT_EQ(PercentText(0.05), "05.00%");
  EXPECT_EQ(PercentText(0.123456), "12.35%");
}

// One player choosing once among three.
struct OnePlayer {
  TGameType32 game;
  GameBuilder b{game};
  TPlayer32* ann = b.Player("Ann");
  TNode32* root = b.Node("R", ann);

  OnePlayer(double a, double c, double d) {
    for (auto [name, v] : {std::pair{"a", a}, std::pair{"b", c}, std::pair{"c", d}}) {
      b.Payoff(b.Move(name, root, nullptr), ann, v);
    }
    EXPECT_TRUE(Audit(game));
  }
};

TEST(Run, ProfilesOfOnePlayerAndThePureEquilibria) {
  OnePlayer g(3, 3, 3);  // no choice is worse, so the audit eliminates none
  SolveMethod = 1;
  TSolveRun run;
  RecordingObserver view;
  // Keep the profiles for a look: run the profiling stage by hand.
  run.Game = &g.game;
  run.Observer = &view;
  AllocateWork(g.game);
  MarkInfos(g.game, /*all=*/false);
  run.Profiling = true;
  run.Enumerate(1, g.root->Info.get());
  SolveMethod = 2;
  std::vector<std::string> names;
  g.game.Profiles().ForEach([&](TGameObject32* p) { names.push_back(p->Name); });
  EXPECT_EQ(names, (std::vector<std::string>{"Profile # 1", "Profile # 2", "Profile # 3"}));
  // Equal best sets: one group.
  EXPECT_EQ(testing::SolutionNames(g.game), (std::vector<std::string>{"P 1.1", "P 1.2", "P 1.3"}));
  EXPECT_EQ(view.Percent, "100.00%");
  EXPECT_EQ(view.Bar, TSolveRun::kBarMaximum);
}

TEST(Run, EliminatedChoicesAreSkippedButStillWeigh) {
  OnePlayer g(3, 3, 3);
  g.game.Strategies().ForEach([](TGameObject32* e) {
    if (e->Name == "b") static_cast<TChoice32*>(e)->Eliminated = true;
  });
  SolveMethod = 1;
  TSolveRun run;
  run.Induction = false;  // the enumeration's weights are the point
  RecordingObserver view;
  run.RunSolve(g.game, view);
  SolveMethod = 2;
  EXPECT_EQ(view.Percent, "66.67%");
  EXPECT_EQ(testing::SolutionNames(g.game), (std::vector<std::string>{"P 1.1", "P 1.2"}));
  // The audit's bounds eliminate what is worse than every alternative: 3 > 2 > 1.
  OnePlayer ranked(3, 1, 2);
  int eliminated = 0;
  ranked.game.Strategies().ForEach(
      [&](TGameObject32* e) { eliminated += static_cast<TChoice32*>(e)->Eliminated ? 1 : 0; });
  EXPECT_EQ(eliminated, 2);
  EXPECT_FALSE(run.Busy);
  EXPECT_TRUE(run.Stopped);
}

// Stops the run once the named stage begins.
class AbortAt : public RecordingObserver {
 public:
  AbortAt(TSolveRun& run, std::string stage) : run_(run), stage_(std::move(stage)) {}
  void StageCaption(const std::string& caption) override {
    RecordingObserver::StageCaption(caption);
    if (caption == stage_) run_.Stopped = true;
  }

 private:
  TSolveRun& run_;
  std::string stage_;
};

TEST(Run, AbortKeepsWhatWasFoundAndStillOrganises) {
  TGameType32 game;
  ASSERT_TRUE(ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/battle_of_the_sexes.lmx", game));
  ASSERT_TRUE(Audit(game));
  TSolveRun run;
  AbortAt view(run, "Exploring...");
  run.RunSolve(game, view);
  EXPECT_EQ(testing::SolutionNames(game), (std::vector<std::string>{"P 1.1", "P 2.1"}));
  EXPECT_EQ(view.Captions.back(), "Solved");
  EXPECT_EQ(game.Status(), StatusSolved);
  EXPECT_EQ(game.Work, nullptr);
  EXPECT_EQ(game.Profiles().LiveCount(), 0);
}

TEST(Run, AStopInAnyStageEndsTheRun) {
  for (const char* stage : {"Profiling...", "Eliminating...", "Exploring...", "Organizing..."}) {
    TGameType32 game;
    ASSERT_TRUE(ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/bluff.lmx", game));
    TSolveRun run;
    AbortAt view(run, stage);
    EXPECT_EQ(run.Solve(game, view), TSolveRun::Start::Ran);
    EXPECT_FALSE(run.Busy);
    EXPECT_EQ(game.Work, nullptr);
    // Stopped before the mixed equilibrium is explored: none found, and the game is as before.
    if (std::string(stage) != "Organizing...") {
      EXPECT_EQ(game.Solutions().LiveCount(), 0) << stage;
    }
  }
  // A stop during the audit ends it before it derives anything further.
  TGameType32 game;
  ASSERT_TRUE(ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/bluff.lmx", game));
  std::atomic<bool> stop{true};
  EXPECT_FALSE(Audit(game, &stop));
  game.ResetDerived();
  EXPECT_TRUE(Audit(game));
}

TEST(Run, LeafWeightsOfLargeSetsDoNotOverflow) {
  TGameType32 game;
  GameBuilder b(game);
  TTable32* table = b.Table("T");
  TSide32* wide = b.SideWithCount(table, b.Player("Ann"), "s", 40);
  TSolveRun run;
  run.Game = &game;
  run.Profiling = true;
  EXPECT_EQ(run.LeafWeight(wide, 2), 80);
  run.Profiling = false;
  SolveMethod = 2;
  EXPECT_EQ(run.LeafWeight(wide, 1), std::ldexp(1.0, 40) - 1);  // supports of 40 strategies
  SolveMethod = 1;
  EXPECT_EQ(run.LeafWeight(wide, 1), 40);
  SolveMethod = 3;
  EXPECT_EQ(run.LeafWeight(wide, 1), 100);
  SolveMethod = 2;
}

TEST(Run, ASecondRunWaitsAndAFlawedGameIsNotRun) {
  TGameType32 game;
  ASSERT_TRUE(ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/matching_pennies.lmx", game));
  TSolveRun run;
  RecordingObserver view;
  run.Busy = true;
  EXPECT_EQ(run.Solve(game, view), TSolveRun::Start::Busy);
  EXPECT_TRUE(view.Captions.empty());
  run.Busy = false;
  EXPECT_EQ(run.Solve(game, view), TSolveRun::Start::Ran);
  EXPECT_EQ(game.Solutions().LiveCount(), 1);

  TGameType32 flawed;
  GameBuilder b(flawed);
  b.Move("go", b.Node("N", b.Player("Ann")), nullptr);  // no payoff
  EXPECT_EQ(run.Solve(flawed, view), TSolveRun::Start::Flawed);
  EXPECT_EQ(flawed.Findings().LiveCount(), 1);
  EXPECT_EQ(flawed.Strategies().LiveCount(), 0);  // derived choices are gone again
}

TEST(Run, WorkLargerThanTheMemoryIsRefusedBeforeItIsAllocated) {
  TGameType32 game;
  ASSERT_TRUE(ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/bluff.lmx", game));
  const int status = game.Status();
  TSolveRun run;
  RecordingObserver view;
  run.MemoryLimit = 1000;
  EXPECT_EQ(run.Solve(game, view), TSolveRun::Start::Refused);
  EXPECT_NE(run.Refusal.find("The game is too large to solve: its work needs "), std::string::npos);
  EXPECT_EQ(game.Status(), status);
  EXPECT_EQ(game.Work, nullptr);
  EXPECT_EQ(game.Strategies().LiveCount(), 0);
  run.MemoryLimit = PhysicalMemoryBytes();
  EXPECT_EQ(run.Solve(game, view), TSolveRun::Start::Ran);
  EXPECT_TRUE(run.Refusal.empty());
  EXPECT_EQ(MemoryText(6'300'000'000), "6.3 GB");
  EXPECT_EQ(MemoryText(512'000'000), "512 MB");
}

TEST(Run, StepLengthAndFacets) {
  OnePlayer g(1, 2, 3);
  TSolveRun run;
  run.Game = &g.game;
  run.Step = 1;
  run.PrevSqrNorm = 1;
  g.game.SqrNorm = 5;  // e^(2 x step) x 5 >= 5 at each of three tests
  for (int i = 0; i < 3; ++i) run.AdaptStep();
  EXPECT_DOUBLE_EQ(run.Step, 0.421875);
  g.game.SqrNorm = 0.01;
  run.AdaptStep();
  EXPECT_EQ(run.Step, 1);

  TChoice32* a = nullptr;
  g.game.Strategies().ForEach([&](TGameObject32* e) {
    auto* c = static_cast<TChoice32*>(e);
    c->Mark = true;
    c->SetProbability(1.0 / 3);
    c->Direction = 0;
    if (c->Name == "a") a = c;
  });
  a->Direction = -2.0 / 3;  // a full step would take it to -1/3
  run.Step = 1;
  run.TakeStep(/*random=*/false);
  EXPECT_TRUE(run.FacetHit);
  EXPECT_DOUBLE_EQ(run.Step, 0.5);
  EXPECT_NEAR(a->Probability, 0, 1e-15);
  EXPECT_TRUE(a->Mark);  // marks only follow the point when sampling
}

TEST(Run, SensitivityMatchesFiniteDifferences) {
  TGameType32 game;
  ASSERT_TRUE(ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/bluff.lmx", game));
  ASSERT_TRUE(Audit(game));
  AllocateWork(game);
  std::vector<TChoice32*> choices;
  game.Strategies().ForEach([&](TGameObject32* e) {
    auto* c = static_cast<TChoice32*>(e);
    if (c->Info->Player.get() != nullptr) choices.push_back(c);
  });
  auto setAll = [&] {
    for (std::size_t i = 0; i < choices.size(); ++i) {
      choices[i]->Probability = 0.3 + 0.1 * static_cast<double>(i % 5);
    }
  };
  setAll();
  ASSERT_TRUE(Evaluate(game, true));
  ComputeSensitivity(game);
  std::vector<double> base;
  base.reserve(choices.size());
  for (TChoice32* c : choices) base.push_back(c->Expected);
  const double h = 1e-6;
  for (TChoice32* d : choices) {
    setAll();
    d->Probability += h;
    ASSERT_TRUE(Evaluate(game, true));
    for (std::size_t i = 0; i < choices.size(); ++i) {
      const double numeric = (choices[i]->Expected - base[i]) / h;
      EXPECT_NEAR(game.Work->Sensitivity->Get(choices[i]->Number, d->Number), numeric, 1e-4)
          << choices[i]->Name << " by " << d->Name;
    }
  }
}

}  // namespace
}  // namespace ludomark

namespace ludomark {
namespace {

// The supports' points in the order one run meets them, from `shards` runs that share them.
std::vector<std::vector<double>> ExploredPoints(const std::string& text, bool tree, int shards) {
  std::vector<TFoundPoint> all;
  for (int i = 1; i <= shards; ++i) {
    TGameType32 game;
    if (tree) {
      ReadEfgText(text, "t.efg", game);
    } else {
      ReadNfgText(text, "t.nfg", game);
    }
    TSolveRun run;
    run.FixedMethod = kSolveMixed;
    run.ShardIndex = i;
    run.ShardCount = shards;
    run.RecordsSolutions = false;
    std::vector<TFoundPoint> found;
    run.Found = &found;
    TSolveObserver quiet;
    EXPECT_EQ(run.Solve(game, quiet), TSolveRun::Start::Ran);
    for (TFoundPoint& point : found) {
      if (point.Stage == kFoundExploring && point.Kind != kEndState) all.push_back(point);
    }
  }
  std::sort(all.begin(), all.end(),
            [](const TFoundPoint& a, const TFoundPoint& b) { return a.Key < b.Key; });
  std::vector<std::vector<double>> points;
  points.reserve(all.size());
  for (const TFoundPoint& point : all) points.push_back(point.Probabilities);
  return points;
}

// Each support's iteration starts afresh: what a shard met before (a singular first Newton
// system keeps the norm and the directions it finds) must not change what it finds next.
TEST(Run, ASupportGivesTheSamePointsHoweverTheRunIsShared) {
  for (const uint64_t seed : {1, 12}) {
    const std::string table = testing::RandomTableNfg(5, 5, seed * 100 + 5);
    const auto whole = ExploredPoints(table, /*tree=*/false, 1);
    EXPECT_FALSE(whole.empty());
    EXPECT_EQ(ExploredPoints(table, /*tree=*/false, 7), whole) << seed;
  }
  const std::string tree = testing::RandomTreeEfg(4, 3);
  EXPECT_EQ(ExploredPoints(tree, /*tree=*/true, 5), ExploredPoints(tree, /*tree=*/true, 1));
}

// Two solutions that fit the same two groups both take the name "C 1 2": the later one is told
// apart, since a name is how a solution is picked (draw --solution, the solve view).
TEST(Run, EverySolutionHasANameOfItsOwn) {
  TGameType32 game;
  ReadNfgText(
      "NFG 1 R \"t\" { \"A\" \"B\" } { 5 5 }\n\"\"\n2 9 9 6 4 8 2 9 2 2 7 9 4 3 2 0 7 9 7 3 4 3 "
      "4 0 2 2 9 8 0 5 7 4 3 7 7 2 9 8 1 3 2 5 7 8 4 1 4 8 9 1\n",
      "t.nfg", game);
  TSolveRun run;
  run.FixedMethod = kSolveMixed;
  TSolveObserver quiet;
  ASSERT_EQ(run.Solve(game, quiet), TSolveRun::Start::Ran);
  std::vector<std::string> names;
  game.Solutions().ForEach([&](TGameObject32* s) { names.push_back(s->Name); });
  EXPECT_NE(std::find(names.begin(), names.end(), "C 1 2 (2)"), names.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

}  // namespace
}  // namespace ludomark
