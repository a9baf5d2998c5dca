#include "support/random_shapes.h"

#include "model/cell.h"
#include "model/table.h"

namespace ludomark::testing {

void TableAtTheRoot(TGameType32& game, RandomGame& r) {
  GameBuilder b(game);
  std::vector<TPlayer32*> players{b.Player("A"), b.Player("B"), b.Player("C")};
  TTable32* table = b.Table("T", 100, 100);
  b.SideWithCount(table, players[0], "a", r.Int(2, 3));
  b.SideWithCount(table, players[1], "b", 2);
  TNode32* chance = b.Node("Ch", nullptr, 100, 400);
  TNode32* x = b.Node("X", players[2], 100, 500);
  TNode32* y = b.Node("Y", players[2], 300, 500);
  b.InfoSet("I", {x, y});
  const double p = r.Real(0.2, 0.8);
  b.Move("h", chance, x, p);
  r.Final(b, b.Move("t", chance, nullptr, 1 - p), players);
  for (TNode32* node : {x, y}) {
    for (const char* name : {"L", "R"}) r.Final(b, b.Move(name, node, nullptr), players);
  }
  const int cells = table->Cells.LiveCount();
  for (int i = 0; i < cells; ++i) {
    auto* cell = static_cast<TCell32*>(table->Cells.Get(i));
    const int kind = i == 0 ? 2 : i == cells - 1 ? 1 : r.Int(0, 3);
    if (kind == 0) r.Final(b, cell, players);
    if (kind == 1) cell->To = y;
    if (kind == 2) cell->To = chance;
    if (kind == 3) cell->To = x;
  }
}

void DiscountedCycle(TGameType32& game, RandomGame& r) {
  GameBuilder b(game);
  std::vector<TPlayer32*> players{b.Player("A"), b.Player("B")};
  TNode32* root = b.Node("R", players[0], 200, 100);
  TNode32* chance = b.Node("Ch", nullptr, 100, 200);
  TNode32* x = b.Node("X", players[1], 100, 300);
  TNode32* y = b.Node("Y", players[1], 300, 300);
  b.InfoSet("I", {x, y});
  b.Move("x", root, chance);
  b.Move("z", root, y);
  if (r.Int(0, 1) == 1) r.Final(b, b.Move("y", root, nullptr), players);
  const double p = r.Real(0.2, 0.8);
  b.Move("h", chance, x, p);
  b.Move("t", chance, y, 1 - p);
  for (TNode32* node : {x, y}) {
    for (const char* name : {"L", "R"}) {
      const bool back = (node == x && name[0] == 'L') || r.Int(0, 2) == 0;
      TMove32* move = b.Move(name, node, back ? root : nullptr, back ? r.Real(0.5, 0.95) : 1.0);
      if (!back) {
        r.Final(b, move, players);
      } else if (r.Int(0, 1) == 1) {
        b.Payoff(move, players[1], r.Int(-2, 2));
      }
    }
  }
}

void ThreePlayerTable(TGameType32& game, RandomGame& r) {
  GameBuilder b(game);
  std::vector<TPlayer32*> players{b.Player("A"), b.Player("B"), b.Player("C")};
  TTable32* table = b.Table("T", 100, 100);
  for (std::size_t i = 0; i < players.size(); ++i) {
    const char name[2] = {static_cast<char>('a' + i), 0};
    b.SideWithCount(table, players[i], name, r.Int(2, 3));
  }
  table->Cells.ForEach([&](TGameObject32* e) { r.Final(b, static_cast<TCell32*>(e), players); });
}

}  // namespace ludomark::testing
