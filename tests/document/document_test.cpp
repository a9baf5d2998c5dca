#include <gtest/gtest.h>

#include "document/game_form.h"
#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::GameBuilder;

TEST(Document, StartsSavedWithEmptyListsAndItsExtent) {
  TGameType32 game;
  EXPECT_EQ(game.Status(), StatusSaved);
  EXPECT_EQ(game.ExtentX, 2000);
  EXPECT_EQ(game.ExtentY, 2000);
  EXPECT_EQ(game.Header().X, 50);
  EXPECT_EQ(game.Header().Y, 50);
  EXPECT_TRUE(game.SelectRect().Temporary);
  EXPECT_EQ(game.Root(), nullptr);
  EXPECT_FALSE(game.HasFileName());
  game.SetFileName("a.lmx");
  EXPECT_TRUE(game.HasFileName());
  EXPECT_EQ(game.FileName(), "a.lmx");
}

TEST(Document, StatusRuleKeepsANewGameNewUntilSaved) {
  TGameType32 game;
  game.ForceStatus(StatusNew);
  for (int code : {StatusEdited, StatusSolved, StatusSolving, StatusSolvedSaved}) {
    game.SetStatus(code);
    EXPECT_EQ(game.Status(), StatusNew);
  }
  game.SetStatus(StatusSaved);
  EXPECT_EQ(game.Status(), StatusSaved);
  game.SetStatus(StatusEdited);
  EXPECT_EQ(game.Status(), StatusEdited);
  game.SetStatus(StatusSolving);
  EXPECT_EQ(game.Status(), StatusSolving);
}

TEST(Document, AddObjectFilesByTypeCodeAndGrowsTheExtent) {
  TGameType32 game;
  GameBuilder b(game);
  b.Player("Ann");
  TNode32* far = b.Node("far", nullptr, 2000, 1999);
  EXPECT_EQ(game.ExtentX, 2010);
  EXPECT_EQ(game.ExtentY, 2000);
  b.Move("m", far, nullptr);
  b.Table("T");
  b.InfoSet("I", {});
  b.Payoff(nullptr, nullptr, 1);
  auto* strategy = NewElement<TStrat32>(&game);
  game.AddObject(strategy);
  EXPECT_EQ(game.Players().LiveCount(), 1);
  EXPECT_EQ(game.Nodes().LiveCount(), 2);
  EXPECT_EQ(game.Moves().LiveCount(), 1);
  EXPECT_EQ(game.Infos().LiveCount(), 1);
  EXPECT_EQ(game.Payoffs().LiveCount(), 1);
  EXPECT_EQ(game.Strategies().LiveCount(), 1);
  // Other codes are not filed, but still widen the extent.
  auto* loose = NewElement<TGameObject32>(&game);
  loose->SetPosition(3000, 10);
  game.AddObject(loose);
  EXPECT_EQ(game.ExtentX, 3010);
  delete loose;
}

TEST(Document, RenumberGivesListPositions) {
  TGameType32 game;
  GameBuilder b(game);
  b.Player("A");
  TPlayer32* p2 = b.Player("B");
  TNode32* n1 = b.Node("N1", p2);
  TTable32* t = b.Table("T");
  TNode32* n3 = b.Node("N3", nullptr);
  TMove32* m = b.Move("m", n1, n3);
  TPayoff32* pay = b.Payoff(m, p2, 1);
  pay->Number = 42;
  game.Renumber();
  EXPECT_EQ(p2->Number, 2);
  EXPECT_EQ(t->Number, 2);
  EXPECT_EQ(n3->Number, 3);
  EXPECT_EQ(m->Number, 1);
  EXPECT_EQ(pay->Number, 42);  // payoffs do not number themselves
  game.Nodes().FreeElementOf(n1);
  game.Renumber();
  EXPECT_EQ(n3->Number, 2);
}

TEST(Document, FindingsAreListedAndTheLastIsKept) {
  TGameType32 game;
  game.ReportFinding("First  ");
  game.ReportFinding("Second");
  EXPECT_EQ(game.Findings().LiveCount(), 2);
  EXPECT_EQ(game.Findings().Get(0)->Name, "First");
  EXPECT_EQ(game.LastFinding()->Name, "Second");
  game.Findings().FreeByType(0);
  EXPECT_EQ(game.LastFinding(), nullptr);
}

TEST(Document, BoundBitsAreFoundOnlyOnceTheBoundsAreKnown) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* n = b.Node("N", ann);
  auto* bit = NewElement<TPayoff32>(&game);
  bit->TypeCode = kUpperBoundBit;
  bit->Move = n;
  bit->Player = ann;
  game.BoundBits().Add(bit);
  EXPECT_EQ(n->FindBoundBit(true, ann), nullptr);
  n->Done = true;
  EXPECT_EQ(n->FindBoundBit(true, ann), bit);
  EXPECT_EQ(n->FindBoundBit(false, ann), nullptr);
  EXPECT_EQ(n->FindBoundBit(true, nullptr), nullptr);
}

}  // namespace
}  // namespace ludomark
