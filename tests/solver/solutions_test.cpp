#include "solver/solutions.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/choice.h"
#include "model/settings.h"
#include "model/solution_bit.h"
#include "solver/evaluation.h"
#include "support/derive.h"
#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::DeriveForSolver;
using testing::GameBuilder;
using testing::SetChoiceProbability;

TChoice32* Choice(TGameType32& game, const std::string& name) {
  TChoice32* found = nullptr;
  game.Strategies().ForEach([&](TGameObject32* e) {
    if (e->Name == name) found = static_cast<TChoice32*>(e);
  });
  return found;
}

std::vector<std::string> Names(TGameType32& game) {
  std::vector<std::string> names;
  game.Solutions().ForEach([&](TGameObject32* e) { names.push_back(e->Name); });
  return names;
}

// Ann prefers Up whatever Bob does; Bob does not care: every mix of Bob's is an equilibrium.
struct IndifferentBob {
  TGameType32 game;
  GameBuilder b{game};
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TTable32* table = b.Table("T");

  IndifferentBob() {
    b.Side(table, ann, "Rows", {"Up", "Down"});
    b.Side(table, bob, "Cols", {"Left", "Right"});
    for (const char* row : {"Up", "Down"}) {
      for (const char* col : {"Left", "Right"}) {
        TCell32* cell = testing::CellOf(table, {row, col});
        b.Payoff(cell, ann, std::string(row) == "Up" ? 1 : 0);
        b.Payoff(cell, bob, 0);
      }
    }
    DeriveForSolver(game);
    AllocateWork(game);
  }

  TSolution32* Record(double left, int kind = 2) {
    SetChoiceProbability(game, "Up", 1);
    SetChoiceProbability(game, "Left", left);
    EXPECT_TRUE(Evaluate(game, true));
    EXPECT_TRUE(IsEquilibrium(game));
    return RecordSolution(game, kind, 20);
  }
};

TEST(Solutions, MembersOfAGroupArePushedToTheEndsOfTheirSegment) {
  IndifferentBob g;
  TSolution32* first = g.Record(0.3);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Name, "M 1.1");
  TSolution32* second = g.Record(0.6);
  ASSERT_NE(second, nullptr);
  const int left = Choice(g.game, "Left")->Number;
  EXPECT_NEAR(first->Probabilities.Get(left), 0.0, 1e-12);
  EXPECT_NEAR(second->Probabilities.Get(left), 1.0, 1e-12);
  // What the picture shows follows them to the ends.
  auto drawn = [&](TSolution32* s) {
    double shown = -1;
    s->Bits.ForEachAs<TSolutionBit>([&](TSolutionBit* bit) {
      if (bit->TypeCode == kStrategyProbabilityBit && bit->Move.get() == Choice(g.game, "Left"))
        shown = bit->Value;
    });
    return shown;
  };
  EXPECT_NEAR(drawn(first), 0.0, 1e-12);
  EXPECT_NEAR(drawn(second), 1.0, 1e-12);
  EXPECT_EQ(Names(g.game), (std::vector<std::string>{"M 1.1", "M 1.2"}));
  EXPECT_EQ(g.game.Groups().LiveCount(), 1);
  EXPECT_EQ(first->Kind, 2);
  EXPECT_EQ(first->Param, 20);
  // A third point of the segment is a duplicate once it reaches an end; a middle point is new
  // and is then pushed onto an end and merged away.
  EXPECT_EQ(g.Record(1.0), nullptr);
  g.Record(0.5);
  EXPECT_EQ(g.game.Solutions().LiveCount(), 2);
}

TEST(Solutions, SnapshotStoresTinyValuesAsZeroAndBuildsValues) {
  IndifferentBob g;
  SetChoiceProbability(g.game, "Up", 1);
  SetChoiceProbability(g.game, "Left", 0.5);
  ASSERT_TRUE(Evaluate(g.game, true));
  TSolution32* s = NewSolution(&g.game);
  TNode32* bobNode = nullptr;
  g.game.Nodes().ForEach([&](TGameObject32* e) {
    if (e->Temporary && bobNode == nullptr) bobNode = static_cast<TNode32*>(e);
  });
  ASSERT_NE(bobNode, nullptr);
  bobNode->Belief = 5e-9;
  Choice(g.game, "Down")->Expected = -5e-9;
  Snapshot(g.game, *s);
  EXPECT_EQ(s->Beliefs.Get(bobNode->Number), 0);
  EXPECT_EQ(s->Expectations.Get(Choice(g.game, "Down")->Number), 0);
  EXPECT_EQ(s->Probabilities.Get(Choice(g.game, "Left")->Number), 0.5);
  int strategyBits = 0;
  int nodeBits = 0;
  s->Bits.ForEach([&](TGameObject32* e) {
    auto* bit = static_cast<TSolutionBit*>(e);
    EXPECT_EQ(bit->Solution.get(), s);
    if (bit->TypeCode == kStrategyProbabilityBit || bit->TypeCode == kStrategyExpectedBit) {
      ++strategyBits;
    }
    if (bit->TypeCode == kNodeValueBit) ++nodeBits;
    EXPECT_NE(bit->TypeCode, kBeliefBit);  // temporary nodes and tables show no belief
  });
  EXPECT_EQ(strategyBits, 8);
  EXPECT_EQ(nodeBits, 2);  // the table, for each of two players
  FreeElement(s);
}

// A tree where solutions are made by hand: Ann at R, Bob unsure whether at X1 or X2.
struct HandMade {
  TGameType32 game;
  GameBuilder b{game};
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TNode32* r = b.Node("R", ann);
  TNode32* x1 = b.Node("X1", bob);
  TNode32* x2 = b.Node("X2", bob);

  HandMade() {
    b.Move("a1", r, x1);
    b.Move("a2", r, x2);
    b.InfoSet("I", {x1, x2});
    for (TNode32* x : {x1, x2}) {
      b.Payoff(b.Move("b1", x, nullptr), ann, 0);
      b.Payoff(b.Move("b2", x, nullptr), ann, 0);
    }
    DeriveForSolver(game);
  }

  int N(const char* name) { return Choice(game, name)->Number; }

  TSolution32* Make(int kind, std::initializer_list<const char*> best,
                    std::initializer_list<std::pair<const char*, double>> played,
                    double beliefX1 = 1) {
    TSolution32* s = NewSolution(&game);
    s->Kind = kind;
    for (const char* c : best) s->BestSet.Put(N(c), /*flag=*/true);
    for (auto [c, p] : played) s->Probabilities.Put(/*add=*/false, N(c), p);
    s->Beliefs.Put(/*add=*/false, x1->Number, beliefX1);
    s->Beliefs.Put(/*add=*/false, x2->Number, 1 - beliefX1);
    game.Solutions().Add(s);
    return s;
  }
};

TEST(Solutions, OrganizeListsByGroupAndNamesByPlace) {
  HandMade h;
  TSolution32* s1 = h.Make(1, {"a1", "b1"}, {{"a1", 1}, {"b1", 1}});
  TSolution32* s2 = h.Make(1, {"a2", "b2"}, {{"a2", 1}, {"b2", 1}}, 0);
  TSolution32* s3 = h.Make(2, {"a1", "b1"}, {{"a1", 1}, {"b1", 1}}, 0.5);
  Organize(h.game);
  EXPECT_EQ(h.game.Solutions().Get(0), s1);
  EXPECT_EQ(h.game.Solutions().Get(1), s3);
  EXPECT_EQ(h.game.Solutions().Get(2), s2);
  EXPECT_EQ(Names(h.game), (std::vector<std::string>{"P 1.1", "M 1.2", "P 2.1"}));
  DebugMode = true;
  s3->FoundCount = 4;
  NameSolution(h.game, *s3);
  DebugMode = false;
  EXPECT_EQ(s3->Name, "M 1.2[4]");
}

TEST(Solutions, ASolutionFittingTwoGroupsIsNamedAfterBoth) {
  HandMade h;
  h.Make(1, {"a1", "b1", "b2"}, {{"a1", 1}, {"b2", 1}});
  h.Make(1, {"a1", "b1"}, {{"a1", 1}, {"b1", 1}});
  // Best set of the first group, played inside the second's pattern.
  TSolution32* both = h.Make(2, {"a1", "b1", "b2"}, {{"a1", 1}, {"b1", 1}}, 0.7);
  Organize(h.game);
  EXPECT_EQ(both->Name, "C 1 2");
  EXPECT_EQ(h.game.Groups().LiveCount(), 2);
  EXPECT_EQ(Names(h.game), (std::vector<std::string>{"P 1.1", "C 1 2", "P 2.1"}));
}

TEST(Solutions, DuplicateAndMergeThresholds) {
  HandMade h;
  TSolution32* s = h.Make(2, {"a1", "b1"}, {{"a1", 1}, {"b1", 0}});
  TSolution32* t = NewSolution(&h.game);
  t->Probabilities.Put(/*add=*/false, h.N("a1"), 1);
  t->Probabilities.Put(/*add=*/false, h.N("b1"), 1e-5);
  t->Beliefs.Put(/*add=*/false, h.x1->Number, 1);
  EXPECT_DOUBLE_EQ(SolutionDistance(h.game, *s, *t), 1e-5);
  EXPECT_FALSE(IsDuplicate(h.game, *t));  // exactly 1e-5 apart is new
  t->Probabilities.Put(/*add=*/false, h.N("b1"), 9e-6);
  EXPECT_TRUE(IsDuplicate(h.game, *t));
  t->Probabilities.Put(/*add=*/false, h.N("b1"), 1e-5);
  h.game.Solutions().Add(t);
  Ref<TSolution32> later = t;
  MergeDuplicates(h.game);  // the merge keeps the first of two within 1e-5
  EXPECT_EQ(later.get(), nullptr);
  EXPECT_EQ(h.game.Solutions().LiveCount(), 1);
}

TEST(Solutions, RecordedPureEquilibriaAndDeletion) {
  // Battle of the sexes: two pure equilibria with different best sets.
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TTable32* table = b.Table("T");
  b.Side(table, ann, "Rows", {"Opera", "Fight"});
  b.Side(table, bob, "Cols", {"opera", "fight"});
  const double pay[2][2][2] = {{{2, 1}, {0, 0}}, {{0, 0}, {1, 2}}};
  const char* rows[] = {"Opera", "Fight"};
  const char* cols[] = {"opera", "fight"};
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 2; ++j) {
      TCell32* cell = testing::CellOf(table, {rows[i], cols[j]});
      b.Payoff(cell, ann, pay[i][j][0]);
      b.Payoff(cell, bob, pay[i][j][1]);
    }
  }
  DeriveForSolver(game);
  AllocateWork(game);
  DebugMode = true;
  for (auto [row, col] :
       {std::pair{"Opera", "opera"}, std::pair{"Fight", "fight"}, std::pair{"Opera", "opera"}}) {
    SetChoiceProbability(game, row, 1);
    SetChoiceProbability(game, col, 1);
    ASSERT_TRUE(Evaluate(game, true));
    ASSERT_TRUE(IsEquilibrium(game));
    RecordSolution(game, 1, 20);
  }
  DebugMode = false;
  EXPECT_EQ(Names(game), (std::vector<std::string>{"P 1.1[1]", "P 2.1[1]"}));
  EXPECT_EQ(static_cast<TSolution32*>(game.Solutions().Get(0))->FoundCount, 2);
  bool logged = false;
  game.SolverLog().ForEach([&](TGameObject32* e) {
    if (e->Describe(3).find("Duplicate solution2") != std::string::npos) logged = true;
  });
  EXPECT_TRUE(logged);

  game.ForceStatus(StatusSolved);
  DeleteSolution(game, static_cast<TSolution32*>(game.Solutions().Get(0)));
  EXPECT_EQ(game.Solutions().LiveCount(), 1);
  EXPECT_EQ(game.Status(), StatusSolved);
  DeleteSolution(game, static_cast<TSolution32*>(game.Solutions().Get(0)));
  EXPECT_EQ(game.Solutions().LiveCount(), 0);
  EXPECT_EQ(game.Status(), StatusSaved);  // the last one gone: back to the unsolved game
  EXPECT_EQ(game.Groups().LiveCount(), 0);
}

}  // namespace
}  // namespace ludomark
