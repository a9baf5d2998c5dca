#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "model/table_edit.h"
#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::CellOf;
using testing::GameBuilder;

std::vector<std::string> CellNames(TTable32* table) {
  std::vector<std::string> names;
  table->Cells.ForEach([&](TGameObject32* e) { names.push_back(e->Name); });
  return names;
}

struct TwoPlayers {
  TGameType32 game;
  GameBuilder b{game};
  TPlayer32* ann = b.Player("Ann", 255);
  TPlayer32* bob = b.Player("Bob");
  TTable32* table = b.Table("T", 300, 300);
};

TEST(Table, CellsAreBuiltInLexicographicOrderOnceThereAreTwoSides) {
  TwoPlayers g;
  TSide32* rows = g.b.Side(g.table, g.ann, "Rows", {"U", "D"});
  EXPECT_EQ(g.table->Cells.LiveCount(), 0);
  g.b.Side(g.table, g.bob, "Cols", {"L", "C", "R"});
  EXPECT_EQ(CellNames(g.table),
            (std::vector<std::string>{"U L", "U C", "U R", "D L", "D C", "D R"}));
  // Every cell is a move of the document, at the end of the list.
  EXPECT_EQ(g.game.Moves().LiveCount(), 6);
  EXPECT_EQ(g.game.Strategies().LiveCount(), 5);
  EXPECT_EQ(g.game.Infos().LiveCount(), 2);
  EXPECT_EQ(rows->Index(), 0);
  EXPECT_EQ(g.table->NextSide(nullptr), rows);
  EXPECT_EQ(g.table->NextSide(g.table->SideAt(1)), nullptr);
  EXPECT_EQ(g.game.Status(), StatusEdited);
}

TEST(Table, EditingASideKeepsSurvivingCellsAndTheirPayoffs) {
  TwoPlayers g;
  g.b.Side(g.table, g.ann, "Rows", {"U", "D"});
  TSide32* cols = g.b.Side(g.table, g.bob, "Cols", {"L", "R"});
  TCell32* ul = CellOf(g.table, {"U", "L"});
  TCell32* dr = CellOf(g.table, {"D", "R"});
  g.b.Payoff(ul, g.ann, 3);
  g.b.Payoff(dr, g.bob, 4);

  // Add a strategy to the column side: the four old cells stay first, two new ones follow.
  auto scratch = MakeScratchSide(cols, *g.table);
  auto* extra = NewElement<TStrat32>(&g.game);
  extra->SetName("X");
  extra->Info = scratch.get();
  scratch->AddChoice(extra);
  ASSERT_TRUE(ApplySideEdit(cols, *scratch, *g.table));
  scratch.reset();
  EXPECT_EQ(CellNames(g.table),
            (std::vector<std::string>{"U L", "U R", "D L", "D R", "U X", "D X"}));
  EXPECT_EQ(g.table->Cells.Get(0), ul);
  EXPECT_EQ(CellOf(g.table, {"U", "L"}), ul);
  EXPECT_EQ(g.game.Payoffs().LiveCount(), 2);
  EXPECT_EQ(cols->StrategyCount(), 3);
  EXPECT_EQ(g.game.Strategies().LiveCount(), 5);

  // Drop strategy L: its cells and their payoffs go, the rest stays.
  scratch = MakeScratchSide(cols, *g.table);
  scratch->Choices.FreeElementOf(scratch->StrategyAt(0));
  ASSERT_TRUE(ApplySideEdit(cols, *scratch, *g.table));
  scratch.reset();
  EXPECT_EQ(CellNames(g.table), (std::vector<std::string>{"U R", "D R", "U X", "D X"}));
  EXPECT_EQ(CellOf(g.table, {"D", "R"}), dr);
  EXPECT_EQ(g.game.Payoffs().LiveCount(), 1);
  EXPECT_EQ(g.game.Moves().LiveCount(), 4);
  EXPECT_EQ(g.game.Strategies().LiveCount(), 4);
}

TEST(Table, RefusedSideEditsChangeNothing) {
  TwoPlayers g;
  auto scratch = MakeScratchSide(nullptr, *g.table);
  scratch->Player = g.ann;
  EXPECT_FALSE(ApplySideEdit(nullptr, *scratch, *g.table));  // no strategies
  EXPECT_EQ(g.game.RecordedMessages().Shown.back(), "No Owner or Choices defined");
  EXPECT_EQ(g.table->SideCount(), 0);

  g.b.Side(g.table, g.ann, "Rows", {"U"});
  EXPECT_TRUE(CanAddSide(*g.table));
  g.b.Side(g.table, g.bob, "Cols", {"L"});
  EXPECT_FALSE(CanAddSide(*g.table));
  EXPECT_EQ(g.game.RecordedMessages().Shown.back(), "Need additional players");
}

TEST(Table, DeletingASideFreesEveryCell) {
  TwoPlayers g;
  TSide32* rows = g.b.Side(g.table, g.ann, "Rows", {"U", "D"});
  g.b.Side(g.table, g.bob, "Cols", {"L", "R"});
  g.b.Payoff(CellOf(g.table, {"U", "L"}), g.ann, 1);
  ASSERT_TRUE(DeleteSide(*g.table, *rows));
  EXPECT_EQ(g.table->Cells.LiveCount(), 0);
  EXPECT_EQ(g.game.Moves().LiveCount(), 0);
  EXPECT_EQ(g.game.Payoffs().LiveCount(), 0);
  EXPECT_EQ(g.game.Strategies().LiveCount(), 2);
  EXPECT_EQ(g.game.Infos().LiveCount(), 1);
  EXPECT_EQ(g.table->SideAt(0)->Index(), 0);
}

TEST(Table, SideEditsAfterACancelledDialogOrACopyKeepTheOtherSidesCells) {
  TwoPlayers g;
  TSide32* rows = g.b.Side(g.table, g.ann, "Rows", {"U", "D"});
  TSide32* cols = g.b.Side(g.table, g.bob, "Cols", {"L", "R"});
  TCell32* ul = CellOf(g.table, {"U", "L"});
  g.b.Payoff(ul, g.ann, 7);
  auto addColumn = [&](const char* name) {
    auto scratch = MakeScratchSide(cols, *g.table);
    auto* extra = NewElement<TStrat32>(&g.game);
    extra->SetName(name);
    extra->Info = scratch.get();
    scratch->AddChoice(extra);
    ASSERT_TRUE(ApplySideEdit(cols, *scratch, *g.table));
  };
  // A dialog on the rows opened and cancelled: its scratch strategies are gone.
  MakeScratchSide(rows, *g.table).reset();
  addColumn("X");
  EXPECT_EQ(CellOf(g.table, {"U", "L"}), ul);
  EXPECT_EQ(g.table->Cells.LiveCount(), 6);
  // Copying a selection clears or redirects every copy link.
  g.game.Selection().Add(g.table);
  g.game.CopySelection();
  addColumn("Y");
  EXPECT_EQ(CellOf(g.table, {"U", "L"}), ul);
  EXPECT_EQ(g.table->Cells.LiveCount(), 8);
  EXPECT_EQ(g.game.Payoffs().LiveCount(), 2);  // its own and the copied table's
  EXPECT_EQ(ul->Name, "U L");
}

// Three players and a table at the origin with a row side of two strategies.
struct ThreePlayers {
  TGameType32 game;
  GameBuilder b{game};
  TPlayer32* p1 = b.Player("A");
  TPlayer32* p2 = b.Player("B");
  TPlayer32* p3 = b.Player("C");
  TTable32* table = b.Table("T", 0, 0);
  TSide32* rows = b.Side(table, p1, "R", {"r1", "r2"});
};

TEST(Table, DeletingASideOfThreeLeavesOneCellPerCombination) {
  ThreePlayers g;
  g.b.Side(g.table, g.p2, "K", {"k1", "k2"});
  TSide32* third = g.b.Side(g.table, g.p3, "S", {"s1", "s2", "s3"});
  g.b.Payoff(CellOf(g.table, {"r1", "k1", "s2"}), g.p1, 1);
  ASSERT_EQ(g.table->Cells.LiveCount(), 12);
  ASSERT_TRUE(DeleteSide(*g.table, *third));
  EXPECT_EQ(CellNames(g.table), (std::vector<std::string>{"r1 k1", "r1 k2", "r2 k1", "r2 k2"}));
  EXPECT_EQ(g.game.Moves().LiveCount(), 4);
  EXPECT_EQ(g.game.Strategies().LiveCount(), 4);
  EXPECT_EQ(g.game.Payoffs().LiveCount(), 0);
}

TEST(Table, ExpansionBuildsATreeOfTemporaryNodesAndMoves) {
  TwoPlayers g;
  TSide32* rows = g.b.Side(g.table, g.ann, "Rows", {"U", "D"});
  TSide32* cols = g.b.Side(g.table, g.bob, "Cols", {"L", "C", "R"});
  const int nodesBefore = g.game.Nodes().LiveCount();
  g.table->Expand();
  EXPECT_EQ(g.table->Player.get(), g.ann);
  EXPECT_EQ(g.table->Info.get(), rows);
  EXPECT_EQ(g.game.Nodes().LiveCount(), nodesBefore + 2);
  EXPECT_EQ(g.game.Moves().LiveCount(), 6 + 2);
  EXPECT_EQ(cols->Members.LiveCount(), 2);
  EXPECT_EQ(rows->Members.LiveCount(), 1);
  std::set<TNode32*> origins;
  g.table->Cells.ForEach([&](TGameObject32* e) {
    auto* cell = static_cast<TCell32*>(e);
    ASSERT_NE(cell->From.get(), nullptr);
    EXPECT_TRUE(cell->From->Temporary);
    EXPECT_EQ(cell->From->Player.get(), g.bob);
    EXPECT_EQ(cell->Choice.get(), cell->StrategyOf(cols));
    EXPECT_EQ(cell->Name, cell->Choice->Name);
    origins.insert(cell->From.get());
  });
  EXPECT_EQ(origins.size(), 2u);
  TStrat32* up = rows->StrategyAt(0);
  ASSERT_EQ(up->ChoiceMoves.LiveCount(), 1);
  auto* upMove = static_cast<TMove32*>(up->ChoiceMoves.Get(0));
  EXPECT_TRUE(upMove->Temporary);
  EXPECT_EQ(upMove->From.get(), g.table);
  EXPECT_EQ(upMove->Name, "U");
  EXPECT_EQ(cols->StrategyAt(1)->ChoiceMoves.LiveCount(), 2);
  EXPECT_EQ(CellOf(g.table, {"D", "C"})->Describe(2),
            "D C @" + CellOf(g.table, {"D", "C"})->From->Name + " for C");
}

TEST(Table, LayoutOfRowsColumnsAndFurtherSlices) {
  ThreePlayers g;
  GameBuilder& b = g.b;
  TPlayer32* p1 = g.p1;
  TPlayer32* p2 = g.p2;
  TPlayer32* p3 = g.p3;
  TTable32* table = g.table;
  TSide32* rows = g.rows;
  EXPECT_EQ(table->Width, 110);
  TSide32* cols = b.Side(table, p2, "K", {"k1", "k2"});
  TSide32* third = b.Side(table, p3, "S", {"s1", "s2", "s3"});
  EXPECT_EQ(table->Cells.LiveCount(), 12);
  EXPECT_EQ(table->Width, 110 + 200 + 100);
  EXPECT_EQ(table->RowHeight, 60);
  EXPECT_EQ(table->Height, 60 * 3 + 100);
  EXPECT_EQ(rows->X, 10);
  EXPECT_EQ(rows->Y, 50);
  EXPECT_EQ(cols->X, 110);
  EXPECT_EQ(cols->Y, 10);
  EXPECT_EQ(cols->LabelX, 210);
  EXPECT_EQ(third->X, 320);
  EXPECT_EQ(third->CurrentStrategy.get(), third->StrategyAt(0));
  EXPECT_EQ(rows->StrategyAt(1)->Y, 50 + 3 * 20 * 1 + 40);
  EXPECT_EQ(cols->StrategyAt(1)->X, 210);
  EXPECT_EQ(cols->StrategyAt(1)->Y, 30);
  EXPECT_EQ(rows->StrategyAt(1)->Color, p1->Color);

  auto shown = [&] {
    int count = 0;
    table->Cells.ForEach([&](TGameObject32* e) { count += e->Shown ? 1 : 0; });
    return count;
  };
  EXPECT_EQ(shown(), 4);
  TCell32* cell = CellOf(table, {"r2", "k2", "s1"});
  EXPECT_TRUE(cell->Shown);
  EXPECT_EQ(cell->CellX, 210);
  EXPECT_EQ(cell->CellY, 150 - 10);
  EXPECT_TRUE(cell->HitTest(200, 150));
  EXPECT_FALSE(cell->HitTest(290, 150));
  EXPECT_FALSE(cell->HitTest(200, 140));

  third->ShowStrategy(third->StrategyAt(2));
  table->Refresh();
  EXPECT_EQ(third->CurrentStrategy.get(), third->StrategyAt(2));
  EXPECT_EQ(shown(), 4);
  EXPECT_FALSE(cell->Shown);
  EXPECT_FALSE(cell->HitTest(200, 150));
  TCell32* sliced = CellOf(table, {"r2", "k2", "s3"});
  EXPECT_TRUE(sliced->Shown);
  EXPECT_EQ(sliced->SliceOffset, 4);
  EXPECT_EQ(sliced->CellX, 214);
  EXPECT_EQ(table->RedrawRect(0, 0, false), (TRect{-160, -160, 490, 360}));
}

TEST(Table, OneSideOfOneStrategyAndCellsWithoutAColumn) {
  TwoPlayers g;
  g.b.Side(g.table, g.ann, "Rows", {"U"});
  EXPECT_EQ(g.table->Width, 110);
  g.b.Side(g.table, g.bob, "Cols", {"L"});
  TCell32* cell = CellOf(g.table, {"U", "L"});
  cell->CellStrategies.Remove(cell->StrategyOf(g.table->SideAt(1)));
  cell->Refresh();
  EXPECT_EQ(cell->CellX, 50);
  EXPECT_EQ(cell->X, 50);
}

TEST(Table, SliceOffsetIsCappedAt20) {
  TGameType32 game;
  GameBuilder b(game);
  std::vector<TPlayer32*> players;
  for (const char* n : {"A", "B", "C", "D"}) players.push_back(b.Player(n));
  TTable32* table = b.Table("T", 0, 0);
  b.SideWithCount(table, players[0], "a", 1);
  b.SideWithCount(table, players[1], "b", 1);
  b.SideWithCount(table, players[2], "c", 4);
  b.SideWithCount(table, players[3], "d", 10);
  EXPECT_EQ(table->Cells.LiveCount(), 40);
  EXPECT_EQ(CellOf(table, {"a1", "b1", "c4", "d10"})->SliceOffset, 20);
  EXPECT_EQ(CellOf(table, {"a1", "b1", "c2", "d3"})->SliceOffset, 2 + 4);
}

TEST(Table, ACellWithTwoStrategiesOfOneSideIsDropped) {
  TwoPlayers g;
  TSide32* rows = g.b.Side(g.table, g.ann, "Rows", {"U", "D"});
  g.b.Side(g.table, g.bob, "Cols", {"L"});
  TCell32* cell = CellOf(g.table, {"U", "L"});
  cell->CellStrategies.Add(rows->StrategyAt(1));
  EXPECT_EQ(cell->StrategyOf(rows), nullptr);
  EXPECT_FALSE(cell->IsComplete());
  Ref<TCell32> watch = cell;
  g.table->RebuildCells();
  EXPECT_EQ(watch.get(), nullptr);
  // The rebuild makes a fresh cell for the combination again, at the end.
  EXPECT_EQ(CellNames(g.table), (std::vector<std::string>{"D L", "U L"}));
}

TEST(Table, Forty_By_FortyKeepsEveryCell) {
  TwoPlayers g;
  TSide32* rows = g.b.SideWithCount(g.table, g.ann, "r", 40);
  TSide32* cols = g.b.SideWithCount(g.table, g.bob, "c", 40);
  ASSERT_EQ(g.table->Cells.LiveCount(), 1600);
  std::set<std::pair<TStrat32*, TStrat32*>> combos;
  int index = 0;
  bool ordered = true;
  g.table->Cells.ForEach([&](TGameObject32* e) {
    auto* cell = static_cast<TCell32*>(e);
    combos.insert({cell->StrategyOf(rows), cell->StrategyOf(cols)});
    if (cell->StrategyOf(rows) != rows->StrategyAt(index / 40) ||
        cell->StrategyOf(cols) != cols->StrategyAt(index % 40)) {
      ordered = false;
    }
    ++index;
  });
  EXPECT_EQ(combos.size(), 1600u);
  EXPECT_TRUE(ordered);
  g.table->RebuildCells();
  EXPECT_EQ(g.table->Cells.LiveCount(), 1600);
  g.table->Expand();
  int leaving = 0;
  g.table->Cells.ForEach([&](TGameObject32* e) {
    leaving += static_cast<TCell32*>(e)->From.get() != nullptr ? 1 : 0;
  });
  EXPECT_EQ(leaving, 1600);
  EXPECT_EQ(g.game.Moves().LiveCount(), 1600 + 40);
}

TEST(Table, CopyingATableCopiesSidesStrategiesAndCells) {
  TwoPlayers g;
  g.b.Side(g.table, g.ann, "Rows", {"U", "D"});
  g.b.Side(g.table, g.bob, "Cols", {"L", "R"});
  g.b.Payoff(CellOf(g.table, {"D", "R"}), g.ann, 5);
  auto* copy = NewElement<TTable32>(&g.game);
  g.table->CopyTo(*copy);
  g.game.Nodes().Add(copy);
  EXPECT_EQ(copy->SideCount(), 2);
  EXPECT_EQ(copy->Cells.LiveCount(), 4);
  EXPECT_EQ(g.game.Moves().LiveCount(), 8);
  EXPECT_EQ(g.game.Strategies().LiveCount(), 8);
  EXPECT_EQ(g.game.Infos().LiveCount(), 4);
  TCell32* dr = CellOf(copy, {"D", "R"});
  ASSERT_NE(dr, nullptr);
  EXPECT_EQ(dr->StrategyOf(copy->SideAt(0))->Info.get(), copy->SideAt(0));
  EXPECT_EQ(dr->Table.get(), copy);
  dr->RebuildPayoffList();
  EXPECT_EQ(dr->PayoffList.LiveCount(), 1);
  g.game.Nodes().FreeElementOf(copy);
  EXPECT_EQ(g.game.Moves().LiveCount(), 4);
  EXPECT_EQ(g.game.Strategies().LiveCount(), 4);
  EXPECT_EQ(g.game.Infos().LiveCount(), 2);
  EXPECT_EQ(g.game.Payoffs().LiveCount(), 1);
}

}  // namespace
}  // namespace ludomark
