#include <gtest/gtest.h>

#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::GameBuilder;

void Frame(TGameType32& game, int32_t l, int32_t t, int32_t r, int32_t b) {
  game.SelectRect().SetPosition(l, t);
  game.SelectRect().SetExtent(r, b);
}

TEST(Selection, SelectsNodesMovesAndSetsButNotPlayersCellsOrSides) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  ann->SetPosition(50, 50);
  TNode32* n = b.Node("N", ann, 60, 70);
  TMove32* m = b.Move("m", n, nullptr);
  m->SetPosition(80, 90);
  b.Node("far", nullptr, 500, 500);
  TTable32* t = b.Table("T", 150, 150);
  b.Side(t, ann, "Rows", {"U"});
  Frame(game, 200, 200, 10, 10);  // drawn from bottom-right
  EXPECT_TRUE(game.SelectInRect());
  EXPECT_EQ(game.Selection().LiveCount(), 3);
  EXPECT_TRUE(game.Selection().Contains(n));
  EXPECT_TRUE(game.Selection().Contains(m));
  EXPECT_TRUE(game.Selection().Contains(t));
  EXPECT_EQ(n->DragDX, 60 - 200);
  EXPECT_EQ(n->DragDY, 70 - 200);
  Frame(game, 1000, 1000, 1100, 1100);
  EXPECT_FALSE(game.SelectInRect());
  EXPECT_EQ(game.Selection().LiveCount(), 0);
}

TEST(Selection, DeletingANodeTakesItsSelectedMovesAndKeepsOthers) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* root = b.Node("R", ann, 50, 50);
  TNode32* kept = b.Node("K", ann, 500, 500);
  TNode32* leaf = b.Node("L", nullptr, 60, 150);
  TMove32* m = b.Move("m", root, leaf);
  m->SetPosition(55, 100);
  TMove32* incoming = b.Move("in", kept, leaf);
  TMove32* blocker = b.Move("out", kept, nullptr);
  blocker->SetPosition(600, 600);
  game.ForceStatus(StatusSaved);

  game.Selection().Add(root);
  game.Selection().Add(m);
  game.Selection().Add(leaf);
  game.Selection().Add(kept);  // one of its moves is not selected: it stays
  game.DeleteSelection();
  EXPECT_EQ(game.Nodes().LiveCount(), 1);
  EXPECT_EQ(game.Nodes().Get(0), kept);
  EXPECT_EQ(game.Moves().LiveCount(), 2);
  // A move that reached a deleted node stays, unconnected, where the node stood.
  EXPECT_EQ(incoming->To.get(), nullptr);
  EXPECT_EQ(incoming->X, 60);
  EXPECT_EQ(incoming->Y, 150);
  EXPECT_EQ(game.Selection().LiveCount(), 0);
  EXPECT_TRUE(game.SelectRect().Temporary);
  EXPECT_EQ(game.Status(), StatusEdited);
}

TEST(Selection, DeletingAMemberRemovesASetLeftWithOneMember) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* root = b.Node("R", nullptr);
  TNode32* a = b.Node("A", ann);
  TNode32* c = b.Node("B", ann);
  b.Move("x", root, a);
  b.Move("y", root, c);
  b.InfoSet("I", {a, c});
  game.Selection().Add(c);
  game.DeleteSelection();
  EXPECT_EQ(game.Infos().LiveCount(), 0);
  EXPECT_EQ(a->Info.get(), nullptr);
}

TEST(Selection, CopyKeepsLinksInsideTheSelectionAndReusesOutsideNodes) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* a = b.Node("A", ann, 20, 20);
  TNode32* c = b.Node("B", ann, 40, 20);
  TNode32* outside = b.Node("O", nullptr, 400, 400);
  TMove32* ab = b.Move("ab", a, c);
  TMove32* ao = b.Move("ao", a, outside);
  b.Payoff(ao, ann, 4);
  TInfo32* set = b.InfoSet("I", {a, c});
  TTable32* t = b.Table("T", 60, 60);
  b.Side(t, ann, "Rows", {"U", "D"});
  game.SelectRect().SetPosition(10, 10);
  for (TGameObject32* e : {static_cast<TGameObject32*>(a), static_cast<TGameObject32*>(c),
                           static_cast<TGameObject32*>(ab), static_cast<TGameObject32*>(ao),
                           static_cast<TGameObject32*>(set), static_cast<TGameObject32*>(t)}) {
    game.Selection().Add(e);
  }
  game.CopySelection();

  EXPECT_EQ(game.Nodes().LiveCount(), 4 + 3);
  EXPECT_EQ(game.Infos().LiveCount(), 2 + 2);
  EXPECT_EQ(game.Payoffs().LiveCount(), 2);
  auto* a2 = static_cast<TNode32*>(a->CopyLink.get());
  auto* ab2 = static_cast<TMove32*>(ab->CopyLink.get());
  auto* ao2 = static_cast<TMove32*>(ao->CopyLink.get());
  ASSERT_NE(a2, nullptr);
  EXPECT_EQ(ab2->From.get(), a2);
  EXPECT_EQ(ab2->To.get(), c->CopyLink.get());
  EXPECT_EQ(ao2->From.get(), a2);
  EXPECT_EQ(ao2->To.get(), outside);  // the target was not selected
  ao2->RebuildPayoffList();
  EXPECT_EQ(ao2->PayoffList.LiveCount(), 1);
  auto* set2 = static_cast<TInfo32*>(a2->Info.get());
  ASSERT_NE(set2, nullptr);
  EXPECT_NE(set2, a->Info.get());
  EXPECT_EQ(set2->Members.LiveCount(), 2);
  EXPECT_EQ(a2->Name, "A");
  EXPECT_EQ(a2->DragDX, 20 - 10 + 20);
  // The selection now holds the copies of nodes, the set, moves and the table.
  EXPECT_EQ(game.Selection().LiveCount(), 6);
  EXPECT_FALSE(game.Selection().Contains(a));
  auto* t2 = static_cast<TTable32*>(t->CopyLink.get());
  EXPECT_EQ(t2->SideCount(), 1);
  EXPECT_EQ(t2->SideAt(0)->StrategyCount(), 2);
}

TEST(ResetDerived, DropsEverythingTheAuditDerived) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TNode32* root = b.Node("R", ann);
  TTable32* t = b.Table("T");
  b.Move("go", root, t);
  b.Side(t, ann, "Rows", {"U", "D"});
  b.Side(t, bob, "Cols", {"L", "R"});
  // Derive as the audit does: expansion, single-member sets, choices.
  t->Expand();
  game.Nodes().ForEach([](TGameObject32* n) {
    if (n->TypeCode == kNode) static_cast<TNode32*>(n)->EnsureInfo();
  });
  game.Moves().ForEach([](TGameObject32* m) { static_cast<TMove32*>(m)->AttachChoice(); });
  EXPECT_EQ(game.Nodes().LiveCount(), 4);
  EXPECT_EQ(game.Strategies().LiveCount(), 4 + 1);
  game.ForceStatus(StatusSolved);

  game.ResetDerived();
  EXPECT_EQ(game.Status(), StatusSaved);
  EXPECT_EQ(game.Nodes().LiveCount(), 2);
  EXPECT_EQ(game.Moves().LiveCount(), 1 + 4);
  EXPECT_EQ(game.Strategies().LiveCount(), 4);
  EXPECT_EQ(game.Infos().LiveCount(), 2);
  EXPECT_EQ(root->Info.get(), nullptr);
  t->Cells.ForEach([](TGameObject32* e) {
    auto* cell = static_cast<TCell32*>(e);
    EXPECT_EQ(cell->From.get(), nullptr);
    EXPECT_EQ(cell->Choice.get(), nullptr);
  });
  EXPECT_EQ(t->SideAt(0)->Members.LiveCount(), 0);
  EXPECT_EQ(t->SideAt(1)->StrategyAt(0)->ChoiceMoves.LiveCount(), 0);
}

}  // namespace
}  // namespace ludomark
