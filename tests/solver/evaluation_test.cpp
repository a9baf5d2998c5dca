#include "solver/evaluation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/choice.h"
#include "support/derive.h"
#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::DeriveForSolver;
using testing::GameBuilder;
using testing::SetChoiceProbability;

double Value(TGameType32& game, TPlayer32* p, TNode32* n) {
  return game.Work->NodeValues->Get(p->Number, n->Number);
}

TChoice32* ChoiceOf(TMove32* m) {
  return m->Choice.get();
}

// Chance, then Ann, then Bob; every payoff at a final move.
struct SmallTree {
  TGameType32 game;
  GameBuilder b{game};
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TNode32* c = b.Node("C", nullptr);
  TNode32* a = b.Node("A", ann);
  TNode32* bNode = b.Node("B", bob);
  TMove32* h = b.Move("h", c, a, 0.4);
  TMove32* t = b.Move("t", c, nullptr, 0.6);
  TMove32* l = b.Move("L", a, nullptr);
  TMove32* r = b.Move("R", a, bNode);
  TMove32* x = b.Move("x", bNode, nullptr);
  TMove32* y = b.Move("y", bNode, nullptr);

  SmallTree() {
    for (auto [m, pa, pb] : {std::tuple{t, 2.0, 0.0}, std::tuple{l, 3.0, 1.0},
                             std::tuple{x, 0.0, 4.0}, std::tuple{y, 6.0, 2.0}}) {
      b.Payoff(m, ann, pa);
      b.Payoff(m, bob, pb);
    }
    DeriveForSolver(game);
    AllocateWork(game);
  }
};

TEST(Evaluate, TreeValuesAreExpectedPathPayoffs) {
  SmallTree g;
  SetChoiceProbability(g.game, "L", 0.25);
  SetChoiceProbability(g.game, "x", 0.5);
  ASSERT_TRUE(Evaluate(g.game, true));
  EXPECT_DOUBLE_EQ(Value(g.game, g.ann, g.bNode), 3);
  EXPECT_DOUBLE_EQ(Value(g.game, g.bob, g.bNode), 3);
  EXPECT_DOUBLE_EQ(Value(g.game, g.ann, g.a), 3);
  EXPECT_DOUBLE_EQ(Value(g.game, g.bob, g.a), 2.5);
  EXPECT_DOUBLE_EQ(Value(g.game, g.ann, g.c), 2.4);
  EXPECT_DOUBLE_EQ(Value(g.game, g.bob, g.c), 1);
  EXPECT_DOUBLE_EQ(g.l->Expected, 3);
  EXPECT_DOUBLE_EQ(g.r->Expected, 3);
  EXPECT_DOUBLE_EQ(ChoiceOf(g.x)->Expected, 4);
  // Equal values: the first choice is best and both are best replies.
  TInfo32* annSet = g.a->Info.get();
  EXPECT_EQ(annSet->Best.get(), ChoiceOf(g.l));
  EXPECT_FALSE(IsEquilibrium(g.game));  // Bob plays y, which is not a best reply
  EXPECT_TRUE(ChoiceOf(g.l)->IsBest);
  EXPECT_TRUE(ChoiceOf(g.r)->IsBest);
  EXPECT_FALSE(ChoiceOf(g.y)->IsBest);
}

TEST(Evaluate, PlayedThresholdOfTheEquilibriumTest) {
  SmallTree g;
  SetChoiceProbability(g.game, "L", 1);
  SetChoiceProbability(g.game, "y", 5e-13);
  ASSERT_TRUE(Evaluate(g.game, true));
  EXPECT_TRUE(IsEquilibrium(g.game));
  SetChoiceProbability(g.game, "y", 2e-12);
  ASSERT_TRUE(Evaluate(g.game, true));
  EXPECT_FALSE(IsEquilibrium(g.game));
}

TEST(Evaluate, LoopsAreDiscountedAndCertainCyclesFail) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* start = b.Node("S", nullptr);
  TNode32* n = b.Node("N", ann);
  b.Move("go", start, n, 1.0);
  TMove32* again = b.Move("again", n, n, 0.5);
  b.Payoff(again, ann, 1);
  DeriveForSolver(game);
  AllocateWork(game);
  ASSERT_TRUE(Evaluate(game, true));
  EXPECT_DOUBLE_EQ(Value(game, ann, n), 2);
  EXPECT_DOUBLE_EQ(Value(game, ann, start), 2);

  again->Value = 1;  // taken for sure and never discounted: no value exists
  EXPECT_FALSE(Evaluate(game, true));
}

TEST(Evaluate, BeliefsOffThePathFollowTheShallowestReachingNodes) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TNode32* root = b.Node("R", ann);
  TNode32* c = b.Node("C", nullptr);
  TNode32* d = b.Node("D", nullptr);
  TNode32* x = b.Node("X", bob);
  TNode32* y = b.Node("Y", bob);
  b.Move("out", root, nullptr);
  b.Move("in", root, c);
  b.Move("l", c, x, 0.3);
  b.Move("r", c, d, 0.7);
  b.Move("q", d, y, 1.0);
  b.Move("side", d, x, 0.0);
  b.InfoSet("I", {x, y});
  for (TNode32* n : {x, y}) {
    b.Move("u", n, nullptr);
    b.Move("v", n, nullptr);
  }
  game.Moves().ForEach([&](TGameObject32* e) {
    auto* m = static_cast<TMove32*>(e);
    if (m->To.get() != nullptr) return;
    b.Payoff(m, ann, 1);
    b.Payoff(m, bob, 1);
  });
  DeriveForSolver(game);
  AllocateWork(game);
  EXPECT_EQ(c->RootWeight, 1e232);
  EXPECT_EQ(d->RootWeight, 1e224);
  EXPECT_EQ(x->RootWeight, 0);
  SetChoiceProbability(game, "out", 1);  // the set of X and Y is never reached
  ASSERT_TRUE(Evaluate(game, true));
  EXPECT_NEAR(x->Belief, 0.3, 1e-7);
  EXPECT_NEAR(y->Belief, 0.7, 1e-7);
  EXPECT_NEAR(x->Belief + y->Belief, 1.0, 1e-15);
  EXPECT_GT(y->Belief, 0.7);  // D, one level deeper, adds its 1e-8 share
}

TEST(Evaluate, OverflowAndMissingBestRepliesFail) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* start = b.Node("S", nullptr);
  TNode32* n = b.Node("N", ann);
  TNode32* m = b.Node("M", ann);
  b.Move("go", start, n);
  b.Move("far", n, m, 1e10);
  TMove32* cash = b.Move("cash", m, nullptr);
  TPayoff32* huge = b.Payoff(cash, ann, 1e300);
  DeriveForSolver(game);
  AllocateWork(game);
  EXPECT_EQ(game.Work->PayoffScale, std::ldexp(1.0, 996));  // the run's unit for 1e300
  game.Work->PayoffScale = 1;          // measured as given, to reach the limits
  EXPECT_FALSE(Evaluate(game, true));  // 1e300 times a factor of 1e10 overflows
  huge->Value = -1e151;                // no choice beats the initial maximum
  static_cast<TMove32*>(game.Moves().Get(1))->Value = 1;
  EXPECT_FALSE(Evaluate(game, true));
  EXPECT_EQ(m->Info->Best.get(), nullptr);
  huge->Value = 5;
  EXPECT_TRUE(Evaluate(game, true));
  EXPECT_EQ(Value(game, ann, start), 5);
}

TEST(Evaluate, NormalizeAndPureProbabilities) {
  SmallTree g;
  ChoiceOf(g.l)->SetProbability(0.2);
  ChoiceOf(g.r)->SetProbability(0.2);
  ChoiceOf(g.x)->SetProbability(5e-13);
  ChoiceOf(g.y)->SetProbability(0);
  EXPECT_FALSE(Normalize(g.game));  // Bob's set sums below 1e-12
  EXPECT_DOUBLE_EQ(ChoiceOf(g.l)->Probability, 0.5);
  EXPECT_EQ(ChoiceOf(g.x)->Probability, 0);
  g.game.Strategies().ForEach([](TGameObject32* e) { e->Mark = e->Name == "R" || e->Name == "x"; });
  SetPureProbabilities(g.game);
  EXPECT_EQ(ChoiceOf(g.l)->Probability, 0);
  EXPECT_EQ(ChoiceOf(g.r)->Probability, 1);
  EXPECT_EQ(ChoiceOf(g.h)->Probability, 0);  // chance choices are marked by the caller
  FreeWork(g.game);
  EXPECT_EQ(g.game.Work, nullptr);
}

}  // namespace
}  // namespace ludomark
