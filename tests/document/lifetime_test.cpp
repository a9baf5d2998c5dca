// Elements are deleted in every order the commands allow; the sanitizers prove that no link is
// left pointing at freed memory and nothing leaks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "model/random.h"
#include "model/table_edit.h"
#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::CellOf;
using testing::GameBuilder;

// A game touching every kind of link: players, a chance node, an information set, a loop,
// payoffs, a 2 x 3 table reached by a move and leading on from a cell, derived elements.
struct RichGame {
  TGameType32 game;
  GameBuilder b{game};
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TNode32* root = b.Node("Root", nullptr, 100, 100);
  TNode32* a = b.Node("A", ann, 50, 200);
  TNode32* c = b.Node("B", ann, 150, 200);
  TNode32* end = b.Node("End", bob, 100, 300);
  TTable32* table = b.Table("T", 300, 300);
  std::vector<TGameObject32*> deletable;

  RichGame() {
    b.Move("l", root, a, 0.5);
    b.Move("r", root, c, 0.5);
    b.InfoSet("I", {a, c});
    TMove32* goA = b.Move("go", a, table);
    b.Move("go", c, table);
    TMove32* stay = b.Move("stay", end, end, 0.9);
    TMove32* quit = b.Move("quit", end, nullptr);
    b.Payoff(quit, ann, 1);
    b.Payoff(quit, bob, 2);
    b.Side(table, ann, "Rows", {"U", "D"});
    b.Side(table, bob, "Cols", {"L", "C", "R"});
    TCell32* onward = CellOf(table, {"D", "R"});
    onward->To = end;
    b.Payoff(CellOf(table, {"U", "L"}), ann, 3);
    table->Expand();
    game.Nodes().ForEach([](TGameObject32* n) {
      if (n->TypeCode == kNode) static_cast<TNode32*>(n)->EnsureInfo();
    });
    game.Moves().ForEach([](TGameObject32* m) { static_cast<TMove32*>(m)->AttachChoice(); });
    game.Selection().Add(goA);
    game.Selection().Add(stay);
    game.WorkList().Add(a);
  }
};

// Every element of the game's own lists, so the test can free them one by one.
std::vector<TGameObject32*> Everything(TGameType32& game) {
  std::vector<TGameObject32*> all;
  for (TGameList* list : {&game.Players(), &game.Nodes(), &game.Moves(), &game.Infos(),
                          &game.Payoffs(), &game.Strategies()}) {
    list->ForEach([&](TGameObject32* e) { all.push_back(e); });
  }
  return all;
}

// Walks every link the model keeps, as the drawing and the solver will.
int TouchEverything(TGameType32& game) {
  int links = 0;
  auto touch = [&](TGameObject32* e) {
    if (e != nullptr) links += e->TypeCode != 12345 ? 1 : 0;  // reads the element
  };
  game.Nodes().ForEach([&](TGameObject32* e) {
    auto* n = static_cast<TNode32*>(e);
    touch(n->Player.get());
    touch(n->Info.get());
    n->Describe(2);
    n->RedrawRect(n->X, n->Y, /*withLinks=*/true);
  });
  game.Moves().ForEach([&](TGameObject32* e) {
    auto* m = static_cast<TMove32*>(e);
    touch(m->From.get());
    touch(m->To.get());
    touch(m->Choice.get());
    m->Describe(2);
    m->Refresh();
    m->RebuildPayoffList();
  });
  game.Infos().ForEach([&](TGameObject32* e) {
    auto* i = static_cast<TInfo32*>(e);
    i->Members.ForEach(touch);
    i->Choices.ForEach(touch);
    touch(i->Player.get());
    i->Describe(2);
    i->Refresh();
  });
  game.Strategies().ForEach([&](TGameObject32* e) {
    auto* s = static_cast<TChoice32*>(e);
    s->ChoiceMoves.ForEach(touch);
    touch(s->Info.get());
    s->Describe(2);
  });
  game.Payoffs().ForEach([&](TGameObject32* e) { e->Describe(2); });
  game.Selection().ForEach(touch);
  game.WorkList().ForEach(touch);
  return links;
}

// Frees the element from whichever of the game's lists owns it, as a command would.
void FreeOne(TGameObject32* e) {
  if (e->TypeCode == kSide) {
    auto* side = static_cast<TSide32*>(e);
    if (side->Table.get() != nullptr) {
      DeleteSide(*side->Table.get(), *side);
      return;
    }
  }
  if (e->TypeCode == kStrategy) {
    auto* side = static_cast<TStrat32*>(e)->Side();
    if (side != nullptr) {
      side->Choices.FreeElementOf(e);
      return;
    }
  }
  if (e->TypeCode == kCell) {
    auto* table = static_cast<TCell32*>(e)->Table.get();
    if (table != nullptr) {
      table->Cells.FreeElementOf(e);
      return;
    }
  }
  FreeElement(e);
}

TEST(Lifetime, FreeingInManyOrdersLeavesNoDanglingLink) {
  for (unsigned seed = 0; seed < 40; ++seed) {
    RichGame g;
    std::vector<Ref<TGameObject32>> pending;
    for (TGameObject32* e : Everything(g.game)) pending.emplace_back(e);
    // Forward, backward, then shuffled orders.
    std::vector<std::size_t> order(pending.size());
    std::iota(order.begin(), order.end(), 0);
    if (seed == 1) std::reverse(order.begin(), order.end());
    if (seed > 1) {
      TUniformRandom r(seed);
      for (std::size_t i = order.size(); i > 1; --i) {
        std::swap(order[i - 1], order[static_cast<std::size_t>(r.Next() * i)]);
      }
    }
    for (std::size_t k = 0; k < order.size(); ++k) {
      TGameObject32* e = pending[order[k]].get();
      if (e == nullptr) continue;  // already gone with its owner
      FreeOne(e);
      if (k % 5 == 0) TouchEverything(g.game);
    }
    TouchEverything(g.game);
    for (auto& ref : pending) EXPECT_EQ(ref.get(), nullptr) << "seed " << seed;
  }
}

TEST(Lifetime, CommandsInSequenceThenTeardown) {
  RichGame g;
  // Delete a selection holding a node with its moves, then a side, then the table.
  g.game.Selection().Clear();
  g.game.Selection().Add(g.end);
  g.game.Moves().ForEach([&](TGameObject32* e) {
    auto* m = static_cast<TMove32*>(e);
    if (m->TypeCode == kMove && m->From.get() == g.end) g.game.Selection().Add(m);
  });
  g.game.DeleteSelection();
  EXPECT_FALSE(g.game.Nodes().Contains(g.end));
  TouchEverything(g.game);
  ASSERT_TRUE(DeleteSide(*g.table, *g.table->SideAt(0)));
  TouchEverything(g.game);
  g.game.ResetDerived();
  TouchEverything(g.game);
  g.game.Selection().Add(g.table);
  g.game.DeleteSelection();
  EXPECT_EQ(g.game.Infos().LiveCount(), 1);
  EXPECT_EQ(g.game.Strategies().LiveCount(), 0);
  TouchEverything(g.game);
  g.game.FreeGame();
  EXPECT_EQ(TouchEverything(g.game), 0);
}

TEST(Lifetime, DocumentTeardownWithEverythingInPlace) {
  // Solved-looking state: derived elements, selection and work list all present.
  auto g = std::make_unique<RichGame>();
  g->game.CopySelection();
  Ref<TGameObject32> watch = g->game.Selection().First();
  EXPECT_NE(watch.get(), nullptr);
  g.reset();
  EXPECT_EQ(watch.get(), nullptr);
}

}  // namespace
}  // namespace ludomark
