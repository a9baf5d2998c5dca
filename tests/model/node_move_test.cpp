#include <gtest/gtest.h>

#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::GameBuilder;

TEST(Move, CurveAndArrowHeadThroughTheControlPoint) {
  TGameType32 game;
  GameBuilder b(game);
  TNode32* from = b.Node("A", nullptr, 0, 0);
  TNode32* to = b.Node("B", nullptr, 100, 0);
  TMove32* move = b.Move("m", from, to);
  move->SetPosition(50, 40);
  EXPECT_EQ(move->Curve[0], (TPoint{0, 0}));
  EXPECT_EQ(move->Curve[10], (TPoint{50, 40}));
  EXPECT_EQ(move->Curve[20], (TPoint{100, 0}));
  EXPECT_EQ(move->Curve[5], (TPoint{25, 30}));
  EXPECT_EQ(move->ArrowHead[0], (TPoint{50, 40}));
  EXPECT_EQ(move->ArrowHead[1], (TPoint{42, 44}));
  EXPECT_EQ(move->ArrowHead[2], (TPoint{42, 36}));
}

TEST(Move, StraightPathWithoutTarget) {
  TGameType32 game;
  GameBuilder b(game);
  TNode32* from = b.Node("A", nullptr, 10, 20);
  TMove32* move = b.Move("m", from, nullptr);
  move->SetPosition(50, 60);
  EXPECT_EQ(move->Curve[0], (TPoint{10, 20}));
  EXPECT_EQ(move->Curve[10], (TPoint{30, 40}));
  EXPECT_EQ(move->Curve[20], (TPoint{50, 60}));
  // Direction from the node to the move itself: c = d = 2.
  EXPECT_EQ(move->ArrowHead[1], (TPoint{44, 58}));
}

TEST(Node, MovingANodeRefreshesItsMovesIncludingALoop) {
  TGameType32 game;
  GameBuilder b(game);
  TNode32* a = b.Node("A", nullptr, 0, 0);
  TNode32* c = b.Node("C", nullptr, 200, 0);
  TMove32* loop = b.Move("again", a, a, 0.5);
  loop->SetPosition(0, 80);
  TMove32* out = b.Move("out", a, c);
  out->SetPosition(100, 0);
  a->SetPosition(40, 40);
  EXPECT_EQ(loop->Curve[0], (TPoint{40, 40}));
  EXPECT_EQ(loop->Curve[20], (TPoint{40, 40}));
  EXPECT_EQ(out->Curve[0], (TPoint{40, 40}));
  EXPECT_EQ(out->Curve[20], (TPoint{200, 0}));
}

TEST(Node, DeletabilityAndDegree) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* root = b.Node("R", ann);
  TNode32* leaf = b.Node("L", nullptr);
  b.Move("go", root, leaf);
  EXPECT_FALSE(root->CanDelete());
  EXPECT_TRUE(leaf->CanDelete());  // only incoming moves
  EXPECT_EQ(root->OutDegree(), 1);
  EXPECT_EQ(leaf->OutDegree(), 0);
  EXPECT_TRUE(leaf->HasIncomingMove());
  EXPECT_FALSE(root->HasIncomingMove());
  EXPECT_EQ(root->Describe(2), "R(Ann)");
  EXPECT_EQ(leaf->Describe(7), "L(CHANCE)");
}

TEST(Node, ChanceSumValid) {
  TGameType32 game;
  GameBuilder b(game);
  TNode32* luck = b.Node("C", nullptr);
  TMove32* m1 = b.Move("h", luck, nullptr, 0.5);
  TMove32* m2 = b.Move("t", luck, nullptr, 0.5);
  EXPECT_TRUE(luck->ChanceSumValid());
  m2->Value = 0.5001;
  EXPECT_FALSE(luck->ChanceSumValid());
  m1->Value = -0.6;
  m2->Value = 0.3;
  EXPECT_FALSE(luck->ChanceSumValid());  // a negative probability is a flaw
  // Sums that pass 1 only by rounding: in doubles, and stored with six digits.
  m1->Value = 0.2 + 0.4;
  m2->Value = 0.3 + 0.1;
  EXPECT_TRUE(luck->ChanceSumValid());
  m1->Value = 0.666667;
  m2->Value = 0.166667;
  b.Move("e", luck, nullptr, 0.166667);
  EXPECT_TRUE(luck->ChanceSumValid());
  TPlayer32* ann = b.Player("Ann");
  luck->SetPlayer(ann);
  EXPECT_TRUE(luck->ChanceSumValid());  // only chance nodes are checked
}

TEST(Player, DeletableUnlessANodeSideOrPayoffNamesIt) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TNode32* n1 = b.Node("N1", nullptr);
  TNode32* n2 = b.Node("N2", nullptr);
  b.Move("x", n1, n2);
  b.InfoSet("I", {n1, n2});  // a plain set takes the player of its first member
  TTable32* table = b.Table("T");
  table->Player = bob;  // a table's player is derived and does not count
  EXPECT_TRUE(ann->CanDelete());
  EXPECT_TRUE(bob->CanDelete());
  TPayoff32* payoff = b.Payoff(game.Moves().Get(0), ann, 1);
  EXPECT_FALSE(ann->CanDelete());
  FreeElement(payoff);
  EXPECT_TRUE(ann->CanDelete());
  n1->SetPlayer(ann);
  EXPECT_FALSE(ann->CanDelete());
  EXPECT_EQ(ann->Renumber(), 1);
  EXPECT_EQ(bob->Renumber(), 2);
}

TEST(Node, SetPlayerAndSetInfoRefuseOtherClasses) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* node = b.Node("N", ann);
  TNode32* other = b.Node("O", nullptr);
  EXPECT_FALSE(node->SetPlayer(other));
  EXPECT_EQ(node->Player.get(), ann);
  EXPECT_FALSE(node->SetInfo(other));
  EXPECT_TRUE(node->SetInfo(nullptr));
}

TEST(Relink, NumbersOutOfRangeLeaveLinksEmpty) {
  TGameType32 game;
  GameBuilder b(game);
  b.Player("Ann");
  TNode32* a = b.Node("A", nullptr);
  b.Node("B", nullptr);
  a->PlayerNumber = 1;
  a->InfoNumber = 5;
  a->Relink();
  EXPECT_EQ(a->Player.get(), game.Players().Get(0));
  EXPECT_EQ(a->Info.get(), nullptr);
  a->PlayerNumber = 2;
  a->Relink();
  EXPECT_EQ(a->Player.get(), nullptr);

  TMove32* m = b.Move("m", nullptr, nullptr);
  m->FromNumber = 2;
  m->ToNumber = 3;
  m->Relink();
  EXPECT_EQ(m->From.get(), game.Nodes().Get(1));
  EXPECT_EQ(m->To.get(), nullptr);
}

TEST(Move, WithoutOriginIsHarmless) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* leaf = b.Node("L", nullptr, 40, 40);
  TMove32* stray = b.Move("stray", nullptr, leaf);
  stray->SetPosition(10, 10);
  stray->Refresh();
  stray->AttachChoice();
  EXPECT_EQ(stray->Choice.get(), nullptr);
  EXPECT_EQ(game.Strategies().LiveCount(), 0);
  EXPECT_EQ(stray->Describe(2), "stray");
  stray->RebuildPayoffList();
  EXPECT_TRUE(stray->LacksPayoff());
  b.Payoff(stray, ann, 2);
  EXPECT_TRUE(stray->LacksPayoff());  // the payoff list is only as fresh as its last rebuild
  stray->RebuildPayoffList();
  EXPECT_FALSE(stray->LacksPayoff());
  leaf->SetPosition(0, 0);
  EXPECT_EQ(stray->RedrawRect(10, 10, true), (TRect{-160, -160, 90, 90}));
}

}  // namespace
}  // namespace ludomark
