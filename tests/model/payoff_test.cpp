#include <gtest/gtest.h>

#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::GameBuilder;

TEST(Payoff, DefaultsAndListText) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* n1 = b.Node("N1", ann);
  TMove32* left = b.Move("L", n1, nullptr);
  TPayoff32* p = b.Payoff(left, ann, 2.5);
  p->SetName("U");
  EXPECT_TRUE(p->Shown);
  EXPECT_EQ(p->TypeCode, 204);
  EXPECT_EQ(p->Describe(2), "U2.5 @L@N1(Ann) for Ann");
  p->Move = nullptr;
  p->Player = nullptr;
  EXPECT_EQ(p->Describe(2), "U2.5 ");
}

TEST(Payoff, TwoForOnePlayerAreKeptAndTheLaterIsFound) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* n1 = b.Node("N1", ann);
  TMove32* m = b.Move("L", n1, nullptr);
  b.Payoff(m, ann, 1);
  TPayoff32* later = b.Payoff(m, ann, 7);
  m->RebuildPayoffList();
  EXPECT_EQ(m->PayoffList.LiveCount(), 2);
  EXPECT_EQ(m->FindPayoff(ann), later);
  EXPECT_TRUE(later->IsMoverPayoff());
}

TEST(Payoff, CopyingAMoveCopiesItsPayoffs) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TNode32* n1 = b.Node("N1", ann);
  TMove32* m = b.Move("L", n1, nullptr, 0.9);
  b.Payoff(m, ann, 1);
  b.Payoff(m, bob, -1);
  TMove32* copy = b.Move("", nullptr, nullptr);
  b.Payoff(copy, bob, 99);  // the copy's own payoffs are replaced
  m->CopyTo(*copy);
  EXPECT_EQ(copy->From.get(), n1);
  EXPECT_DOUBLE_EQ(copy->Value, 0.9);
  ASSERT_EQ(copy->PayoffList.LiveCount(), 2);
  EXPECT_EQ(copy->FindPayoff(ann)->Value, 1);
  EXPECT_EQ(copy->FindPayoff(bob)->Value, -1);
  EXPECT_EQ(game.Payoffs().LiveCount(), 4);
  // Destroying a move destroys its payoffs and nothing else.
  game.Moves().FreeElementOf(copy);
  EXPECT_EQ(game.Payoffs().LiveCount(), 2);
}

TEST(Payoff, RelinkLeavesLinksAloneForNumbersOutOfRange) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* n1 = b.Node("N1", ann);
  TMove32* m = b.Move("L", n1, nullptr);
  TPayoff32* p = b.Payoff(nullptr, nullptr, 3);
  p->PlayerNumber = -1;  // a blank player column
  p->FromNumber = 1;
  p->Relink();
  EXPECT_EQ(p->Player.get(), nullptr);
  EXPECT_EQ(p->Move.get(), m);
  p->Player = ann;
  p->PlayerNumber = 9;
  p->Relink();
  EXPECT_EQ(p->Player.get(), ann);
}

}  // namespace
}  // namespace ludomark
