#include "solver/backward_induction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "audit/audit.h"
#include "model/choice.h"
#include "model/settings.h"
#include "model/solution.h"
#include "support/equilibrium_check.h"
#include "support/random_shapes.h"
#include "support/solving.h"

namespace ludomark {
namespace {

// A random game of perfect information: players and chance at random, two or three moves per
// node; a move ends the game with payoffs from 0 to 2 (so that ties are common), leads to a
// new node, or (now and then) to a node placed later, so that subtrees are shared. Some moves
// of players are discounted.
void RandomPerfectGame(TGameType32& game, testing::RandomGame& r, int budget) {
  testing::GameBuilder b(game);
  const std::vector<TPlayer32*> players{b.Player("Ann"), b.Player("Bob")};
  std::vector<TNode32*> nodes{b.Node("n0", players[0])};
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    TNode32* from = nodes[i];
    const bool chance = from->Player.get() == nullptr;
    const int moves = r.Int(2, 3);
    for (int k = 0; k < moves; ++k) {
      const double value = chance ? 1.0 / moves : (r.Int(0, 3) == 0 ? 0.9 : 1.0);
      const std::string name = std::string("m").append(std::to_string(k));
      const int kind = r.Int(0, 9);
      if (kind < 5 && static_cast<int>(nodes.size()) < budget) {
        const int owner = r.Int(0, 4);
        TPlayer32* player = owner == 0 ? nullptr : players[static_cast<std::size_t>(owner % 2)];
        nodes.push_back(b.Node(std::string("n").append(std::to_string(nodes.size())), player));
        b.Move(name, from, nodes.back(), value);
      } else if (kind < 6 && i + 1 < nodes.size()) {
        const auto later = static_cast<std::size_t>(
            r.Int(static_cast<int>(i) + 1, static_cast<int>(nodes.size()) - 1));
        b.Move(name, from, nodes[later], value);
      } else {
        TMove32* end = b.Move(name, from, nullptr, value);
        for (TPlayer32* p : players) b.Payoff(end, p, r.Int(0, 2));
      }
    }
  }
}

// The solutions as their choices' probabilities, keyed by the choices' names and sets.
std::vector<std::map<std::string, double>> Profiles(TGameType32& game) {
  std::vector<std::map<std::string, double>> all;
  game.Solutions().ForEachAs<TSolution32>([&](TSolution32* s) {
    std::map<std::string, double> profile;
    game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
      if (c->HasPlayer())
        profile[c->Info->FirstMemberName() + "/" + c->Name] = s->Probabilities.Get(c->Number);
    });
    all.push_back(std::move(profile));
  });
  std::sort(all.begin(), all.end());
  return all;
}

std::vector<std::map<std::string, double>> Solved(TGameType32& game, int method, bool induction,
                                                  int limit = TSolveRun::kMaxInducedSolutions) {
  TSolveRun run;
  run.FixedMethod = method;
  run.Induction = induction;
  run.InducedLimit = limit;
  testing::RecordingObserver quiet;
  EXPECT_EQ(run.Solve(game, quiet), TSolveRun::Start::Ran);
  return Profiles(game);
}

// Backward induction finds exactly the pure equilibria the enumeration finds, each passing the
// independent check, for Pure and Mixed alike.
TEST(BackwardInduction, FindsWhatTheEnumerationFinds) {
  int tied = 0;
  for (uint64_t seed = 1; seed <= 80; ++seed) {
    const auto build = [&](TGameType32& g) {
      testing::RandomGame r(seed);
      RandomPerfectGame(g, r, 3 + static_cast<int>(seed % 6));
    };
    TGameType32 induced;
    build(induced);
    ASSERT_TRUE(Audit(induced)) << seed;
    ASSERT_TRUE(HasPerfectInformation(induced)) << seed;
    induced.ResetDerived();
    const auto byInduction = Solved(induced, kSolvePure, /*induction=*/true);
    ASSERT_FALSE(byInduction.empty()) << seed;
    if (byInduction.size() > 1) ++tied;
    induced.Solutions().ForEachAs<TSolution32>([&](TSolution32* s) {
      const testing::EquilibriumCheck check = testing::CheckSolution(induced, *s);
      EXPECT_LT(check.Gain, 1e-6) << seed << " " << check.Worst;
      EXPECT_LT(check.ValueError, 1e-6) << seed << " " << check.Worst;
    });
    TGameType32 enumerated;
    build(enumerated);
    EXPECT_EQ(Solved(enumerated, kSolvePure, /*induction=*/false), byInduction) << seed;
    TGameType32 mixed;
    build(mixed);
    EXPECT_EQ(Solved(mixed, kSolveMixed, /*induction=*/true), byInduction) << seed;
  }
  EXPECT_GT(tied, 10);  // the payoffs make ties common, so that they are followed too
}

// A chain whose every node has two choices worth the same: 2^5 subgame-perfect equilibria are
// more than induction lists (here 20), so the enumeration answers instead, with all of them.
TEST(BackwardInduction, TooManyTiesFallBackToTheEnumeration) {
  const auto chain = [](TGameType32& game) {
    testing::GameBuilder b(game);
    TPlayer32* ann = b.Player("Ann");
    TNode32* previous = nullptr;
    for (int i = 0; i < 5; ++i) {
      TNode32* node = b.Node(std::string("n").append(std::to_string(i)), ann);
      if (previous != nullptr) b.Move("go", previous, node, 0.5);
      for (const char* name : {"a", "b"}) b.Payoff(b.Move(name, node, nullptr), ann, 1);
      previous = node;
    }
    b.Payoff(b.Move("go", previous, nullptr), ann, 0);
  };
  TGameType32 fallback;
  chain(fallback);
  const auto fallen = Solved(fallback, kSolvePure, /*induction=*/true, /*limit=*/20);
  EXPECT_EQ(fallen.size(), 32U);
  TGameType32 induced;
  chain(induced);
  EXPECT_EQ(Solved(induced, kSolvePure, /*induction=*/true, /*limit=*/40), fallen);
  // A cycle is no perfect information for induction.
  TGameType32 cycle;
  testing::GameBuilder c(cycle);
  TPlayer32* bob = c.Player("Bob");
  TNode32* x = c.Node("x", bob);
  TNode32* y = c.Node("y", bob);
  c.Move("on", x, y);
  c.Move("back", y, x, 0.5);
  c.Payoff(c.Move("stop", x, nullptr), bob, 1);
  c.Payoff(c.Move("stop", y, nullptr), bob, 2);
  ASSERT_TRUE(Audit(cycle));
  EXPECT_FALSE(HasPerfectInformation(cycle));
  cycle.ResetDerived();
  EXPECT_EQ(Solved(cycle, kSolvePure, /*induction=*/true).size(), 1U);
}

// Stops the run at the first progress report of backward induction.
class StopAtProgress : public testing::RecordingObserver {
 public:
  explicit StopAtProgress(TSolveRun& run) : run_(run) {}
  void ProgressFraction(double fraction) override {
    if (fraction > 0 && !run_.Stopped) {
      run_.Stopped = true;
      Captions.emplace_back("stop");
    }
  }

 private:
  TSolveRun& run_;
};

// A long chain: induction answers without the enumeration, and a stop ends it at once.
TEST(BackwardInduction, ALongChainAndAStop) {
  const auto chain = [](TGameType32& game, int length) {
    testing::GameBuilder b(game);
    TPlayer32* ann = b.Player("Ann");
    TPlayer32* bob = b.Player("Bob");
    TNode32* previous = nullptr;
    for (int i = 0; i < length; ++i) {
      TNode32* node = b.Node(std::string("n").append(std::to_string(i)), i % 2 == 0 ? ann : bob);
      if (previous != nullptr) b.Move("go", previous, node);
      TMove32* stop = b.Move("stop", node, nullptr);
      b.Payoff(stop, ann, i % 2 == 0 ? 2 : 0);
      b.Payoff(stop, bob, i % 2 == 0 ? 0 : 2);
      previous = node;
    }
    TMove32* end = b.Move("go", previous, nullptr);
    b.Payoff(end, ann, 1);
    b.Payoff(end, bob, 1);
  };
  TGameType32 whole;
  chain(whole, 200);
  const auto solved = Solved(whole, kSolvePure, /*induction=*/true);
  ASSERT_EQ(solved.size(), 1U);  // everyone stops at once
  EXPECT_EQ(solved[0].at("n0/stop"), 1);
  EXPECT_EQ(solved[0].at("n199/stop"), 1);

  TGameType32 game;
  chain(game, 20000);
  TSolveRun run;
  run.FixedMethod = kSolveMixed;
  StopAtProgress view(run);
  EXPECT_EQ(run.Solve(game, view), TSolveRun::Start::Ran);
  EXPECT_TRUE(run.WasStopped);
  EXPECT_EQ(game.Solutions().LiveCount(), 0);
  const auto stop = std::find(view.Captions.begin(), view.Captions.end(), "stop");
  ASSERT_NE(stop, view.Captions.end());
  EXPECT_EQ(*(stop - 1), "Inducing backwards...");
  EXPECT_EQ(std::find(stop, view.Captions.end(), "Profiling..."), view.Captions.end());
}

}  // namespace
}  // namespace ludomark
