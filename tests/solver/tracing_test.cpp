// The Tracing method on random games of every shape the model holds: one equilibrium each, by
// an independent check; the unique one where there is only one; a path that turns back.
#include "solver/tracing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>

#include "audit/audit.h"
#include "gamefile/efg_reader.h"
#include "gamefile/game_file.h"
#include "gamefile/nfg_reader.h"
#include "model/choice.h"
#include "model/payoff.h"
#include "model/settings.h"
#include "model/solution.h"
#include "solver/evaluation.h"
#include "solver/logit_path.h"
#include "solver/parallel_solve.h"
#include "solver/path_tracer.h"
#include "solver/solve_run.h"
#include "support/equilibrium_check.h"
#include "support/random_games.h"
#include "support/random_shapes.h"
#include "support/solving.h"

namespace ludomark {
namespace {

using testing::RandomGame;

// Traces the game; the number of solutions (at most one), each checked, gains and values to
// within 1e-6 of the payoffs' unit. Where the path fails, the run says why.
int TraceAndCheck(TGameType32& game, const std::string& what, TSolveRun* used = nullptr,
                  double unit = 1) {
  TSolveRun local;
  TSolveRun& run = used != nullptr ? *used : local;
  run.FixedMethod = kSolveTracing;
  testing::RecordingObserver observer;
  EXPECT_EQ(run.Solve(game, observer), TSolveRun::Start::Ran) << what;
  int count = 0;
  game.Solutions().ForEach([&](TGameObject32* e) {
    const auto check = testing::CheckSolution(game, *static_cast<TSolution32*>(e));
    EXPECT_LT(check.Gain, 1e-6 * unit) << what << " " << check.Worst;
    EXPECT_LT(check.ValueError, 1e-6 * unit) << what << " " << check.Worst;
    EXPECT_LT(check.BeliefError, 1e-5) << what << " " << check.Worst;
    ++count;
  });
  EXPECT_LE(count, 1) << what;
  EXPECT_EQ(count == 0, !run.Failure.empty()) << what;
  return count;
}

TEST(Tracing, OneCheckedEquilibriumOfEveryRandomGame) {
  const std::vector<std::pair<const char*, std::function<void(TGameType32&, uint64_t)>>> shapes{
      {"tree",
       [](TGameType32& g, uint64_t seed) {
         ReadEfgText(testing::RandomTreeEfg(2 + static_cast<int>(seed % 5), seed), "t.efg", g);
       }},
      {"table",
       [](TGameType32& g, uint64_t seed) {
         ReadNfgText(testing::RandomTableNfg(2 + static_cast<int>(seed % 3),
                                             2 + static_cast<int>(seed / 3 % 3), seed),
                     "t.nfg", g);
       }},
      {"table in a tree",
       [](TGameType32& g, uint64_t seed) {
         RandomGame r(seed);
         testing::TableAtTheRoot(g, r);
       }},
      {"three players",
       [](TGameType32& g, uint64_t seed) {
         RandomGame r(seed);
         testing::ThreePlayerTable(g, r);
       }},
      {"discounted cycle",
       [](TGameType32& g, uint64_t seed) {
         RandomGame r(seed);
         testing::DiscountedCycle(g, r);
       }},
  };
  for (const auto& [name, build] : shapes) {
    int found = 0;
    for (uint64_t seed = 1; seed <= 200; ++seed) {
      TGameType32 game;
      build(game, seed);
      found += TraceAndCheck(game, std::string(name) + " " + std::to_string(seed));
    }
    // A path may fail where the game's equilibria are not isolated (a continuum of them, which
    // random integer payoffs make now and then): never more than one game in a hundred.
    EXPECT_GE(found, 198) << name;
  }
}

// The probability of a choice in the game's one solution, by choice and set name.
double Played(TGameType32& game, const char* choice, const char* set) {
  return testing::ChoiceIn(game, *static_cast<TSolution32*>(game.Solutions().First()), choice, set)
      .Probability;
}

TEST(Tracing, FindsTheOnlyEquilibrium) {
  for (const char* file : {"matching_pennies.lmx", "rock_paper_scissors.lmx"}) {
    TGameType32 game;
    ASSERT_TRUE(testing::SolveExample(file, kSolveTracing, game));
    ASSERT_EQ(game.Solutions().LiveCount(), 1) << file;
    game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
      if (c->Info->Player.get() == nullptr) return;
      const double uniform = 1.0 / c->Info->Choices.LiveCount();
      EXPECT_NEAR(As<TSolution32>(game.Solutions().First())->Probabilities.Get(c->Number), uniform,
                  1e-9)
          << file << " " << c->Name;
    });
  }
  // Bottom dominates Top, and Right is the one best reply to Bottom.
  TGameType32 dominance;
  ReadNfgText(R"(NFG 1 R "" { "A" "B" } { { "Top" "Bottom" } { "Left" "Middle" "Right" } }
    3 1  4 2  1 3  2 4  2 0  3 5)",
              "d.nfg", dominance);
  ASSERT_EQ(TraceAndCheck(dominance, "dominance"), 1);
  EXPECT_EQ(Played(dominance, "Bottom", "A"), 1);
  EXPECT_EQ(Played(dominance, "Right", "B"), 1);
  // Perfect information without ties: the one sequential equilibrium is backward induction,
  // so every choice, on the path of play or off it, is the best at its node.
  for (uint64_t seed = 1; seed <= 30; ++seed) {
    TGameType32 tree;
    testing::GameBuilder b(tree);
    std::vector<TPlayer32*> players{b.Player("A"), b.Player("B")};
    std::vector<TNode32*> level{b.Node("R", players[0])};
    int payoff = 0;
    for (int depth = 1; depth <= 3; ++depth) {
      std::vector<TNode32*> next;
      for (TNode32* node : level) {
        for (const char* move : {"l", "r"}) {
          if (depth == 3) {
            // Distinct payoffs for each player: no ties anywhere.
            TMove32* end = b.Move(move, node, nullptr);
            b.Payoff(end, players[0], (payoff * 7 + static_cast<int>(seed)) % 16);
            b.Payoff(end, players[1], (payoff * 5 + 3 * static_cast<int>(seed)) % 16);
            ++payoff;
            continue;
          }
          TNode32* child = b.Node((node->Name + move).c_str(), players[depth % 2]);
          b.Move(move, node, child);
          next.push_back(child);
        }
      }
      level = next;
    }
    ASSERT_EQ(TraceAndCheck(tree, "perfect information " + std::to_string(seed)), 1);
    auto* s = As<TSolution32>(tree.Solutions().First());
    ASSERT_NE(s, nullptr);
    tree.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
      const double p = s->Probabilities.Get(c->Number);
      EXPECT_TRUE(p == 0 || p == 1) << seed << " " << c->Name << " " << p;
    });
  }
}

// The desktop's run: a worker traces a copy, and the point is recorded into the game at the end,
// as the run on the game itself records it (beliefs included, where play does not reach).
// Traces the game's text as the desktop does: a worker on a copy, the point recorded into the
// game at the end.
void TraceOnAWorker(const std::string& text, TGameType32& game, TSolveRun& run,
                    testing::RecordingObserver& observer, int* furthestBar = nullptr) {
  ReadGameText(text, game);
  run.FixedMethod = kSolveTracing;
  ASSERT_EQ(run.Prepare(game), TSolveRun::Start::Ran);
  TThreadedSolve solve;
  solve.Start(
      run, game, 4,
      [&text]() -> std::unique_ptr<TGameForm32> {
        auto copy = std::make_unique<TGameType32>();
        ReadGameText(text, *copy);
        return copy;
      },
      observer);
  while (!solve.Wait(std::chrono::milliseconds(1), observer)) {
    if (furthestBar != nullptr) *furthestBar = std::max(*furthestBar, observer.Bar);
  }
  solve.Finish(observer);
}

// The worker's point is recorded as the run on the game itself records it, beliefs included
// where play does not reach; a failed path says so.
TEST(Tracing, AWorkerThreadRecordsWhatTheRunItselfRecords) {
  for (uint64_t seed = 1; seed <= 20; ++seed) {
    TGameType32 built;
    RandomGame r(seed);
    testing::TableAtTheRoot(built, r);
    // Both from the text, as the workers' copies are.
    const std::string text = GameFileText(built);
    TGameType32 direct;
    ReadGameText(text, direct);
    TraceAndCheck(direct, "direct " + std::to_string(seed));
    TGameType32 threaded;
    TSolveRun run;
    testing::RecordingObserver observer;
    TraceOnAWorker(text, threaded, run, observer);
    EXPECT_EQ(SolutionsFileText(threaded), SolutionsFileText(direct)) << seed;
  }
  TGameType32 stuck;
  RandomGame r(163);
  testing::TableAtTheRoot(stuck, r);
  TGameType32 game;
  TSolveRun run;
  testing::RecordingObserver observer;
  TraceOnAWorker(GameFileText(stuck), game, run, observer);
  EXPECT_TRUE(game.Solutions().Empty());
  // The message says why the path gave up.
  EXPECT_FALSE(run.Failure.empty());
  EXPECT_EQ(observer.Messages,
            std::vector<std::string>{"No solution found by tracing: " + run.Failure + "."});

  // While the worker follows a longer path, the bar moves with it.
  TGameType32 tree;
  ReadEfgText(testing::RandomTreeEfg(24, 1), "tree.efg", tree);
  TGameType32 traced;
  TSolveRun treeRun;
  testing::RecordingObserver treeObserver;
  int furthest = 0;
  TraceOnAWorker(GameFileText(tree), traced, treeRun, treeObserver, &furthest);
  EXPECT_EQ(traced.Solutions().LiveCount(), 1);
  EXPECT_GT(furthest, 0);
  EXPECT_LE(furthest, TSolveRun::kBarMaximum);
}

// Lambda is in units of the largest payoff: a game and the game scaled take the same path.
TEST(Tracing, ScaledPayoffsGiveTheSameEquilibrium) {
  for (const char* file :
       {"bluff.lmx", "volunteers_dilemma.lmx", "discounted_centipede.lmx", "hidden_move.lmx"}) {
    TGameType32 original;
    ASSERT_TRUE(testing::SolveExample(file, kSolveTracing, original));
    ASSERT_EQ(original.Solutions().LiveCount(), 1) << file;
    const auto* expected = As<TSolution32>(original.Solutions().First());
    for (const double scale : {1e-12, 1e12, 1e100}) {
      TGameType32 scaled;
      ASSERT_TRUE(ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/" + file, scaled));
      scaled.Payoffs().ForEachAs<TPayoff32>([&](TPayoff32* p) { p->Value *= scale; });
      ASSERT_EQ(TraceAndCheck(scaled, std::string(file) + " scaled", nullptr, std::max(scale, 1.0)),
                1);
      const auto* s = As<TSolution32>(scaled.Solutions().First());
      scaled.Strategies().ForEach([&](TGameObject32* c) {
        EXPECT_NEAR(s->Probabilities.Get(c->Number), expected->Probabilities.Get(c->Number), 1e-6)
            << file << " x" << scale << " " << c->Name;
      });
    }
  }
}

TEST(Tracing, FollowsAPathThatTurnsBack) {
  // A table whose path goes back in lambda on the way (found by a search over seeds).
  const std::string text = testing::RandomTableNfg(3, 3, 168);
  TGameType32 game;
  ReadNfgText(text, "turns.nfg", game);
  TSolveRun run;
  std::vector<std::vector<double>> points;
  run.TracedPoints = &points;
  ASSERT_EQ(TraceAndCheck(game, "turning path", &run), 1);
  EXPECT_GT(run.TracedTurns, 0);
  // Every point on the way meets the logit conditions, evaluated afresh on another copy.
  TGameType32 fresh;
  ReadNfgText(text, "turns.nfg", fresh);
  ASSERT_TRUE(Audit(fresh));
  AllocateWork(fresh);
  TLogitPath path(fresh);
  ASSERT_GT(points.size(), 10u);
  for (const std::vector<double>& point : points) {
    ASSERT_TRUE(path.Evaluate(point));
    std::vector<double> residual;
    path.Residual(point, residual);
    for (double r : residual) EXPECT_LT(std::fabs(r), 1e-9) << "lambda " << point.back();
  }
}

// The logit system's derivatives are those of its residual: central differences at random
// points of random games of every shape agree with the Jacobian.
TEST(Tracing, TheJacobianIsTheResidualsDerivative) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> logP(-3, 0);
  std::uniform_real_distribution<double> lambda(0.2, 6);
  int checked = 0;
  for (uint64_t seed = 1; seed <= 6; ++seed) {
    for (int shape = 0; shape < 3; ++shape) {
      TGameType32 game;
      RandomGame r(seed);
      if (shape == 0) testing::TableAtTheRoot(game, r);
      if (shape == 1) testing::DiscountedCycle(game, r);
      if (shape == 2) ReadEfgText(testing::RandomTreeEfg(4, seed), "tree.efg", game);
      ASSERT_TRUE(Audit(game)) << seed << " " << shape;
      AllocateWork(game);
      ReachFromTheStartOnly(game);
      TLogitPath path(game);
      const int n = path.Unknowns();
      std::vector<double> point(static_cast<std::size_t>(n));
      for (double& v : point) v = logP(random);
      point.back() = lambda(random);
      ASSERT_TRUE(path.Evaluate(point));
      std::vector<double> jacobian;
      path.Jacobian(point, jacobian);
      constexpr double h = 1e-6;
      for (int j = 0; j < n; ++j) {
        std::vector<double> up(point), down(point), above, below;
        up[static_cast<std::size_t>(j)] += h;
        down[static_cast<std::size_t>(j)] -= h;
        ASSERT_TRUE(path.Evaluate(up));
        path.Residual(up, above);
        ASSERT_TRUE(path.Evaluate(down));
        path.Residual(down, below);
        for (int i = 0; i < path.Equations(); ++i) {
          const auto e = static_cast<std::size_t>(i);
          const double slope = (above[e] - below[e]) / (2 * h);
          const double given =
              jacobian[e * static_cast<std::size_t>(n) + static_cast<std::size_t>(j)];
          EXPECT_NEAR(given, slope, 1e-5 * (1 + std::fabs(slope)))
              << "seed " << seed << " shape " << shape << " row " << i << " column " << j;
          ++checked;
        }
      }
      FreeWork(game);
    }
  }
  EXPECT_GT(checked, 100);
}

// The tracer follows any curve of its kind, ends where its watcher says, and answers a stop.
TEST(Tracing, TheTracerFollowsACurveAndAnswersAStop) {
  // x = t^2 / 4: one equation in two unknowns, the parameter last.
  class Parabola : public TPathSystem {
   public:
    int Unknowns() const override { return 2; }
    bool Evaluate(const std::vector<double>&) override { return true; }
    void Residual(const std::vector<double>& p, std::vector<double>& r) const override {
      r = {p[0] - p[1] * p[1] / 4};
    }
    void Jacobian(const std::vector<double>& p, std::vector<double>& j) override {
      j = {1, -p[1] / 2};
    }
  } parabola;
  class UpTo : public TPathWatcher {
   public:
    bool Reached(const std::vector<double>& p, const std::vector<double>&, double, int,
                 double) override {
      last = p;
      return p[1] < 3;
    }
    std::vector<double> last;
  } watcher;
  std::atomic<bool> stop{false};
  const TTraceResult result = TracePath(parabola, {0, 0}, stop, watcher);
  EXPECT_EQ(result.Outcome, TTraceResult::End::Ended);
  EXPECT_GT(result.Steps, 3);
  ASSERT_EQ(watcher.last.size(), 2U);
  EXPECT_GE(watcher.last[1], 3);
  EXPECT_NEAR(watcher.last[0], watcher.last[1] * watcher.last[1] / 4, 1e-9);
  stop = true;
  EXPECT_EQ(TracePath(parabola, {0, 0}, stop, watcher).Outcome, TTraceResult::End::Stopped);
}

}  // namespace
}  // namespace ludomark
