#include <gtest/gtest.h>

#include <string>

#include "support/game_builder.h"

namespace ludomark {
namespace {

// Makes elements the way the file reader does: stored numbers, no links, filed by AddObject.
class Records {
 public:
  explicit Records(TGameType32& game) : game_(game) {}

  TPlayer32* Player(const char* name, int number) { return File<TPlayer32>(name, number); }
  TNode32* Node(const char* name, int number, int player, int info) {
    auto* n = File<TNode32>(name, number);
    n->PlayerNumber = player;
    n->InfoNumber = info;
    return n;
  }
  TTable32* Table(const char* name, int number) { return File<TTable32>(name, number); }
  TMove32* Move(const char* name, int number, int from, int to) {
    auto* m = File<TMove32>(name, number);
    m->FromNumber = from;
    m->ToNumber = to;
    return m;
  }
  TInfo32* Info(const char* name, int number) { return File<TInfo32>(name, number); }
  TSide32* Side(const char* name, int number, int player, int table) {
    auto* s = File<TSide32>(name, number);
    s->PlayerNumber = player;
    s->TableNumber = table;
    return s;
  }
  TStrat32* Strategy(const char* name, int number, int side) {
    auto* s = File<TStrat32>(name, number);
    s->SideNumber = side;
    return s;
  }
  TCell32* Cell(int number, int table, std::initializer_list<int> strategies) {
    auto* c = File<TCell32>("", number);
    c->TableNumber = table;
    for (int s : strategies) c->AddStrategyNumber(s);
    return c;
  }
  TPayoff32* Payoff(int move, int player, double value) {
    auto* p = File<TPayoff32>("", 0);
    p->FromNumber = move;
    p->PlayerNumber = player;
    p->Value = value;
    return p;
  }

 private:
  template <class T>
  T* File(const char* name, int number) {
    T* e = NewElement<T>(&game_);
    e->SetName(name);
    e->Number = number;
    game_.AddObject(e);
    return e;
  }
  TGameType32& game_;
};

TEST(RelinkAfterLoad, ResolvesATreeByPosition) {
  TGameType32 game;
  Records r(game);
  TPlayer32* ann = r.Player("Ann", 1);
  TNode32* root = r.Node("R", 1, 0, 0);
  TNode32* a = r.Node("A", 2, 1, 1);
  TNode32* c = r.Node("B", 3, 1, 1);
  TNode32* lone = r.Node("L", 4, 1, 2);
  r.Move("x", 1, 1, 2);
  r.Move("y", 2, 1, 3);
  TMove32* z = r.Move("z", 3, 2, 9);  // reaches no node
  TInfo32* set = r.Info("I", 1);
  r.Info("J", 2);  // one member only: purged
  r.Info("K", 3);  // no member: purged
  TPayoff32* p = r.Payoff(3, 1, 2.5);
  TPayoff32* stray = r.Payoff(7, 3, 1);
  game.RelinkAfterLoad();

  EXPECT_EQ(game.Status(), StatusSaved);
  EXPECT_EQ(root->Player.get(), nullptr);
  EXPECT_EQ(a->Player.get(), ann);
  EXPECT_EQ(a->Info.get(), set);
  EXPECT_EQ(set->Members.LiveCount(), 2);
  EXPECT_EQ(set->Player.get(), ann);
  EXPECT_EQ(lone->Info.get(), nullptr);
  EXPECT_EQ(game.Infos().LiveCount(), 1);
  EXPECT_EQ(z->From.get(), a);
  EXPECT_EQ(z->To.get(), nullptr);
  EXPECT_EQ(p->Move.get(), z);
  EXPECT_EQ(p->Player.get(), ann);
  EXPECT_EQ(stray->Move.get(), nullptr);
  EXPECT_EQ(stray->Player.get(), nullptr);
  // The purged one-member set was reported first: its member is reached by no move.
  ASSERT_EQ(game.Findings().LiveCount(), 1);
  EXPECT_EQ(game.LastFinding()->Name, "Unreachable node at JL(Ann)");
  EXPECT_EQ(c->Info.get(), set);
}

TEST(RelinkAfterLoad, ReportsSetsWithUnreachableMembers) {
  TGameType32 game;
  Records r(game);
  r.Player("Ann", 1);
  r.Node("R", 1, 0, 0);
  r.Node("A", 2, 1, 1);
  r.Node("B", 3, 1, 1);
  r.Move("x", 1, 1, 2);
  r.Info("I", 1);
  game.RelinkAfterLoad();
  ASSERT_EQ(game.Findings().LiveCount(), 1);
  EXPECT_EQ(game.LastFinding()->Name, "Unreachable node at IA(Ann) B(Ann)");
  EXPECT_EQ(game.Infos().LiveCount(), 1);  // reported, not removed
}

TEST(RelinkAfterLoad, RebuildsTablesFromStoredNumbers) {
  TGameType32 game;
  Records r(game);
  TPlayer32* ann = r.Player("Ann", 1);
  TPlayer32* bob = r.Player("Bob", 2);
  TNode32* start = r.Node("S", 1, 1, 0);
  TTable32* table = r.Table("T", 2);
  r.Move("go", 1, 1, 2);
  // Cells first in the file, as a saved game holds them after the moves of the tree.
  TCell32* c1 = r.Cell(2, 2, {1, 3});
  r.Cell(3, 2, {1, 4});
  r.Cell(4, 2, {2, 3});
  TCell32* bad = r.Cell(5, 2, {2, 75});  // strategy 75 does not exist
  r.Cell(6, 9, {2, 4});                  // no such table
  TSide32* rows = r.Side("Rows", 1, 1, 2);
  TSide32* cols = r.Side("Cols", 2, 2, 2);
  r.Strategy("U", 1, 1);
  r.Strategy("D", 2, 1);
  r.Strategy("L", 3, 2);
  r.Strategy("R", 4, 2);
  r.Strategy("lost", 5, 7);            // no such side
  TPayoff32* pay = r.Payoff(2, 1, 3);  // the first cell, counted among the moves
  Ref<TCell32> watchBad = bad;
  game.RelinkAfterLoad();

  EXPECT_EQ(watchBad.get(), nullptr);
  EXPECT_EQ(game.Strategies().LiveCount(), 4);
  EXPECT_EQ(table->SideCount(), 2);
  EXPECT_EQ(table->SideAt(0), rows);
  EXPECT_EQ(rows->Player.get(), ann);
  EXPECT_EQ(cols->Player.get(), bob);
  EXPECT_EQ(cols->Table.get(), table);
  EXPECT_EQ(rows->StrategyCount(), 2);
  // Three cells survived; the missing (D, R) is made afresh at the end.
  ASSERT_EQ(table->Cells.LiveCount(), 4);
  EXPECT_EQ(table->Cells.Get(0), c1);
  EXPECT_EQ(testing::StrategyNames(static_cast<TCell32*>(table->Cells.Get(3))), "D R");
  EXPECT_EQ(game.Moves().LiveCount(), 5);
  EXPECT_EQ(pay->Move.get(), c1);
  EXPECT_EQ(start->Player.get(), ann);
  EXPECT_EQ(table->Width, 310);
}

TEST(RelinkAfterLoad, ValuesOfDroppedCellsNeverLandOnOtherMoves) {
  TGameType32 game;
  Records r(game);
  r.Player("Ann", 1);
  r.Player("Bob", 2);
  r.Table("T", 1);
  TNode32* start = r.Node("S", 2, 1, 0);
  r.Cell(1, 1, {1, 3});
  r.Cell(2, 1, {1, 9});  // strategy 9 does not exist: dropped
  r.Cell(3, 1, {2, 3});
  r.Cell(4, 1, {2, 4});
  r.Cell(5, 1, {1, 4});
  TMove32* quit = r.Move("quit", 6, 2, 0);
  r.Side("Rows", 1, 1, 1);
  r.Side("Cols", 2, 2, 1);
  r.Strategy("U", 1, 1);
  r.Strategy("D", 2, 1);
  r.Strategy("L", 3, 2);
  r.Strategy("R", 4, 2);
  TPayoff32* onQuit = r.Payoff(6, 1, 5);
  r.Payoff(2, 1, 9);  // of the dropped cell
  game.RelinkAfterLoad();
  EXPECT_EQ(onQuit->Move.get(), quit);
  EXPECT_EQ(quit->From.get(), start);
  ASSERT_EQ(game.Payoffs().LiveCount(), 1);
  EXPECT_EQ(game.Payoffs().Get(0), onQuit);
}

TEST(RelinkAfterLoad, NumbersBelowOneLinkToNothing) {
  TGameType32 game;
  Records r(game);
  r.Player("Ann", -1);
  TTable32* table = r.Table("T", -1);  // a blank number field reads as -1
  TSide32* side = r.Side("Rows", -1, -1, -1);
  r.Strategy("U", -1, -1);
  game.RelinkAfterLoad();
  EXPECT_EQ(table->SideCount(), 0);
  EXPECT_EQ(side->Table.get(), nullptr);
  EXPECT_EQ(side->Player.get(), nullptr);
  EXPECT_EQ(game.Strategies().LiveCount(), 0);
}

TEST(RelinkAfterLoad, CellsKeepStrategyNumbersAbove71) {
  TGameType32 game;
  Records r(game);
  r.Player("Ann", 1);
  r.Player("Bob", 2);
  TTable32* table = r.Table("T", 1);
  r.Side("Rows", 1, 1, 1);
  r.Side("Cols", 2, 2, 1);
  for (int i = 1; i <= 80; ++i) {
    std::string name = "r";
    name += std::to_string(i);
    r.Strategy(name.c_str(), i, 1);
  }
  r.Strategy("c1", 81, 2);
  r.Strategy("c2", 82, 2);
  TCell32* high = r.Cell(1, 1, {80, 82});
  TPayoff32* pay = r.Payoff(1, 2, 7);
  game.RelinkAfterLoad();
  EXPECT_EQ(table->Cells.LiveCount(), 160);
  EXPECT_EQ(table->Cells.Get(0), high);
  EXPECT_EQ(testing::StrategyNames(high), "r80 c2");
  EXPECT_EQ(pay->Move.get(), high);
}

TEST(RelinkAfterLoad, SolutionsWithoutValuesOrValuesWithoutSolutionsLeaveSaved) {
  for (bool withSolution : {true, false}) {
    TGameType32 game;
    auto* e = NewElement<TGameObject32>(&game);
    e->TypeCode = withSolution ? 800 : 801;
    game.AddObject(e);
    game.RelinkAfterLoad();
    EXPECT_EQ(game.Status(), StatusSaved);
    EXPECT_EQ((withSolution ? game.Solutions() : game.PendingBits()).LiveCount(), 1);
  }
}

}  // namespace
}  // namespace ludomark
