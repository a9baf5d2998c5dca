// A game window driven by pointer events and popup commands, with no toolkit.
#include <gtest/gtest.h>

#include <filesystem>

#include "gamefile/atomic_file.h"
#include "gamefile/game_file.h"
#include "model/cell.h"
#include "model/colors.h"
#include "model/select_rect.h"
#include "model/settings.h"
#include "model/table.h"
#include "support/fake_window.h"
#include "support/game_builder.h"
#include "support/recording_canvas.h"
#include "support/run_cli.h"
#include "support/test_folder.h"
#include "ui/game_window/selection_marks.h"

namespace ludomark {
namespace {

using testing::FakeMainActions;
using testing::FakeWindowHost;

struct GameWindowTest : ::testing::Test {
  FakeMainActions main;
  FakeWindowHost host;
  TMDIChild window{TWindowKind::Game, host, main};
  TGameType32& game = window.Game();
  testing::GameBuilder b{game};
  std::vector<std::string>& shown = game.RecordedMessages().Shown;

  void TearDown() override { Zoom = 1.0; }
  // Pointer events at model points (zoom 1, no scrolling).
  void Move(int x, int y) { window.FormMouseMove(x, y); }
  void Down(TMouseButton button, int x, int y) { window.FormMouseDown(button, x, y); }
  void Up(TMouseButton button, int x, int y) { window.FormMouseUp(button, x, y); }
  std::vector<std::string> Captions() {
    std::vector<std::string> captions;
    for (const TPopupItem& item : host.Popup) {
      captions.push_back(item.Caption + (item.Enabled ? "" : " (off)"));
    }
    return captions;
  }
};

TEST_F(GameWindowTest, HoverTakesTheLastHitAndNeverAPayoff) {
  TPlayer32* ann = b.Player("Ann", kBlue);
  TNode32* root = b.Node("root", ann, 100, 100);
  TMove32* move = b.Move("go", root, nullptr);
  move->SetPosition(104, 104);  // its handle over the node
  b.Payoff(move, ann, 1)->SetPosition(300, 300);
  Move(101, 101);
  EXPECT_EQ(window.Current(), move);
  EXPECT_EQ(host.Shape, TPointerShape::Hand);
  Move(300, 300);
  EXPECT_EQ(window.Current(), nullptr);
  EXPECT_EQ(host.Shape, TPointerShape::Default);
  // Scrolled and zoomed, client pixels still find the node.
  Zoom = 1.6;
  window.HorzFormScroll(40);
  move->SetPosition(400, 400);
  Move(ToScreen(100) - 40, ToScreen(100));
  EXPECT_EQ(window.Current(), root);
}

// A table's box is its hit area where no cell, side or strategy of its own is.
TEST_F(GameWindowTest, ATablesBoxOpensItsMenu) {
  ASSERT_TRUE(ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/battle_of_the_sexes.lmx", game));
  TTable32* table = nullptr;
  game.Nodes().ForEach([&](TGameObject32* e) {
    if (e->TypeCode == kTable) table = As<TTable32>(e);
  });
  ASSERT_NE(table, nullptr);
  table->Refresh();
  for (const TPoint at : {TPoint{table->X + table->Width - 2, table->Y + table->Height - 2},
                          TPoint{table->X + table->Width / 2, table->Y + table->Height},
                          TPoint{table->X + 2, table->Y + table->Height - 2}}) {
    Move(at.X, at.Y);
    EXPECT_EQ(window.Current(), table) << at.X << "," << at.Y;
    Down(TMouseButton::Right, at.X, at.Y);
    ASSERT_FALSE(host.Popup.empty());
    EXPECT_EQ(host.Popup.front().Caption, "Edit");
  }
  // A cell inside the box keeps its own menu.
  TGameObject32* cell = nullptr;
  game.Moves().ForEach([&](TGameObject32* e) {
    if (cell == nullptr && e->TypeCode == kCell) cell = e;
  });
  ASSERT_NE(cell, nullptr);
  const auto* c = As<TCell32>(cell);
  Move(c->CellX, c->CellY + 2);
  EXPECT_EQ(window.Current(), cell);
  Move(table->X + table->Width + 50, table->Y);
  EXPECT_EQ(window.Current(), nullptr);
}

TEST_F(GameWindowTest, PopupsByTypeAndTheSolvedGameRules) {
  TPlayer32* ann = b.Player("Ann", kBlue);
  b.Node("root", ann, 100, 100);
  TTable32* table = b.Table("T", 400, 100);
  Move(100, 100);
  Down(TMouseButton::Right, 100, 100);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Delete", "Edit", "Info Set", "Redraw"}));
  // The hidden selection rectangle opens nothing.
  window.SetCurrent(&game.SelectRect());
  host.Popups = 0;
  Down(TMouseButton::Right, 0, 0);
  EXPECT_EQ(host.Popups, 0);

  game.ForceStatus(StatusSolved);
  Move(100, 100);
  Down(TMouseButton::Right, 100, 100);
  EXPECT_EQ(Captions(),
            (std::vector<std::string>{"Delete (off)", "Edit (off)", "Info Set (off)", "Redraw"}));
  window.SetCurrent(table);
  window.Execute(TWindowCommand::EditTable);
  EXPECT_EQ(shown,
            std::vector<std::string>{"Solved game cannot be edited. Delete solutions first"});
  window.Execute(TWindowCommand::Redraw);  // Redraw still works
  EXPECT_TRUE(window.Placing());
  EXPECT_EQ(host.Shape, TPointerShape::Cross);
  EXPECT_EQ(host.Pointer, (TPoint{400, 100}));
}

// Placing snaps to 10 model units at every zoom; nothing moves while the game is being solved.
TEST_F(GameWindowTest, PlacingSnapsAtEveryZoomAndWaitsForASolve) {
  TNode32* node = b.Node("n", nullptr, 100, 100);
  for (const double zoom : {0.8, 1.0, 1.6}) {
    Zoom = zoom;
    window.SetCurrent(node);
    window.Execute(TWindowCommand::Redraw);
    ASSERT_TRUE(window.Placing());
    Move(ToScreen(233), ToScreen(417));
    Down(TMouseButton::Left, ToScreen(233), ToScreen(417));
    Up(TMouseButton::Left, ToScreen(233), ToScreen(417));
    EXPECT_EQ(node->X, 230) << zoom;
    EXPECT_EQ(node->Y, 420) << zoom;
    EXPECT_FALSE(window.Placing());
  }
  Zoom = 1.0;
  game.ForceStatus(StatusSolving);
  window.SetCurrent(node);
  window.Execute(TWindowCommand::Redraw);
  window.Execute(TWindowCommand::DeleteNode);
  Down(TMouseButton::Left, 500, 500);
  EXPECT_FALSE(window.Placing());
  EXPECT_FALSE(window.RubberBand());
  EXPECT_TRUE(game.Nodes().Contains(node));
  Move(230, 420);  // hover still works
  EXPECT_EQ(window.Current(), node);
}

TEST_F(GameWindowTest, RubberBandSelectsAndMovesTheSelection) {
  TPlayer32* ann = b.Player("Ann", kBlue);
  ann->SetPosition(40, 40);
  // Only a player inside: nothing is selected, the rectangle hides.
  Down(TMouseButton::Left, 20, 20);
  EXPECT_TRUE(host.Captured);
  Move(60, 60);
  Up(TMouseButton::Left, 60, 60);
  EXPECT_FALSE(host.Captured);
  EXPECT_EQ(window.Current(), nullptr);
  EXPECT_TRUE(game.SelectRect().Temporary);
  EXPECT_FALSE(main.SelectionActions);

  TNode32* x = b.Node("x", ann, 200, 200);
  TNode32* y = b.Node("y", ann, 243, 277);
  Down(TMouseButton::Left, 150, 150);
  Move(300, 300);
  Up(TMouseButton::Left, 300, 300);
  EXPECT_EQ(window.Current(), &game.SelectRect());
  EXPECT_TRUE(main.SelectionActions);
  EXPECT_EQ(host.Pointer, (TPoint{150, 150}));
  EXPECT_EQ(game.Selection().LiveCount(), 2);
  {  // both nodes are drawn marked, behind their discs
    testing::RecordingCanvas canvas;
    window.FormPaint(canvas);
    int marks = 0;
    for (const auto& shape : canvas.Of("ellipse")) marks += shape.Brush == kSelectionColor;
    EXPECT_EQ(marks, 2);
  }
  // The pointer leaves the rectangle and comes back to its corner: the rectangle is the element
  // under the pointer again.
  Move(600, 600);
  EXPECT_EQ(window.Current(), nullptr);
  Move(152, 151);
  EXPECT_EQ(window.Current(), &game.SelectRect());
  EXPECT_EQ(host.Shape, TPointerShape::Hand);
  // Redraw from the rectangle's menu: the selection follows, each displacement snapped.
  window.Execute(TWindowCommand::Redraw);
  ASSERT_TRUE(window.Placing());
  Move(503, 506);
  EXPECT_EQ(game.SelectRect().X, 500);
  EXPECT_EQ(x->X, 550);
  EXPECT_EQ(x->Y, 560);
  EXPECT_EQ(y->X, 600);                    // 503 + 93
  EXPECT_EQ(y->Y, 630);                    // 506 + 127
  EXPECT_EQ(game.Status(), StatusEdited);  // even a new game counts as edited now
  Down(TMouseButton::Left, 503, 506);
  Up(TMouseButton::Left, 503, 506);
  EXPECT_FALSE(window.Placing());
  EXPECT_TRUE(game.Selection().Empty());
  EXPECT_FALSE(main.SelectionActions);
  testing::RecordingCanvas after;
  window.FormPaint(after);
  for (const auto& shape : after.Shapes) EXPECT_NE(shape.Brush, kSelectionColor);
}

TEST_F(GameWindowTest, TheKeyboardWalksTheTreeAndRunsThePopupsCommands) {
  TPlayer32* ann = b.Player("Ann", kBlue);
  TNode32* root = b.Node("root", ann, 100, 100);
  TNode32* left = b.Node("left", ann, 50, 200);
  TNode32* right = b.Node("right", ann, 150, 200);
  TNode32* leaf = b.Node("leaf", ann, 50, 300);
  b.Move("l", root, left);
  b.Move("r", root, right);
  b.Move("x", left, leaf);
  const std::vector<std::pair<TKey, TNode32*>> walk = {
      {TKey::Down, root}, {TKey::Down, left}, {TKey::Right, right}, {TKey::Right, right},
      {TKey::Left, left}, {TKey::Down, leaf}, {TKey::Down, leaf},   {TKey::Up, left},
      {TKey::Up, root},   {TKey::Up, root}};
  for (const auto& [key, expected] : walk) {
    EXPECT_TRUE(window.FormKeyDown(key));
    EXPECT_EQ(window.Current(), expected) << expected->Name;
  }
  EXPECT_TRUE(window.Keyed());
  {
    testing::RecordingCanvas canvas;
    window.FormPaint(canvas);
    int dotted = 0;
    for (const auto& line : canvas.Of("line")) dotted += line.Style == TPenStyle::Dotted;
    EXPECT_GE(dotted, 16);  // the focus ring
  }
  // The menu key opens the node's popup; Enter its Edit; Delete its Delete, refused here.
  EXPECT_TRUE(window.FormKeyDown(TKey::Menu));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Delete", "Edit", "Info Set", "Redraw"}));
  std::string edited;
  main.Runner.OnNode = [&](TNodeDlg&) {
    edited = window.Current()->Name;
    return false;
  };
  EXPECT_TRUE(window.FormKeyDown(TKey::Enter));
  EXPECT_EQ(edited, "root");
  EXPECT_TRUE(window.FormKeyDown(TKey::Delete));
  EXPECT_EQ(shown.back(), "Node owns moves or belongs to information set.");
  // The pointer takes over; a leaf deletes, one undo step.
  Move(900, 900);
  EXPECT_FALSE(window.Keyed());
  window.SetCurrent(leaf);
  EXPECT_TRUE(window.FormKeyDown(TKey::Delete));
  EXPECT_FALSE(game.Nodes().Contains(leaf));
  // A shown selection is what Delete removes.
  Down(TMouseButton::Left, 130, 180);
  Move(170, 220);
  Up(TMouseButton::Left, 170, 220);
  ASSERT_EQ(game.Selection().LiveCount(), 1);
  window.SetCurrent(root);
  main.Calls.clear();
  EXPECT_TRUE(window.FormKeyDown(TKey::Delete));
  EXPECT_EQ(main.Calls, (std::vector<std::string>{"delete selection"}));
  // In a solved game the keys refuse as the menus do.
  Down(TMouseButton::Left, 900, 900);  // hides the rectangle
  Up(TMouseButton::Left, 900, 900);
  game.ForceStatus(StatusSolved);
  window.SetCurrent(left);
  EXPECT_TRUE(window.FormKeyDown(TKey::Delete));
  EXPECT_EQ(shown.back(), "Solved game cannot be edited. Delete solutions first");
  EXPECT_TRUE(game.Nodes().Contains(left));
}

TEST_F(GameWindowTest, ElementCommandsAndTheirMessages) {
  TPlayer32* ann = b.Player("Ann", kBlue);
  TNode32* root = b.Node("root", ann, 100, 100);
  TNode32* luck = b.Node("luck", nullptr, 300, 100);
  b.Move("go", root, luck);
  auto run = [&](TGameObject32* at, TWindowCommand command) {
    window.SetCurrent(at);
    window.Execute(command);
  };
  run(root, TWindowCommand::DeleteNode);
  run(luck, TWindowCommand::InfoSet);
  run(root, TWindowCommand::InfoSet);
  run(ann, TWindowCommand::DeletePlayer);
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "Node owns moves or belongs to information set.",
                       "Chance nodes cannot be in an information set.",
                       "All other nodes have a different owner or already belong to an "
                       "information set.",
                       "Player owns nodes, sides or payoffs."}));

  // Tables: a side needs a free player; a final cell cannot be redrawn; deleting the table
  // frees its sides and cells.
  TTable32* table = b.Table("T", 400, 300);
  b.Side(table, ann, "Rows", {"a", "b"});
  b.Side(table, b.Player("Bob", kRed), "Columns", {"x"});
  shown.clear();
  run(table, TWindowCommand::AddSide);
  TCell32* cell = testing::CellOf(table, {"a", "x"});
  ASSERT_NE(cell, nullptr);
  run(cell, TWindowCommand::RedrawCell);
  EXPECT_EQ(shown, (std::vector<std::string>{"Need additional players",
                                             "Non-final cell cannot be drawn"}));
  const int moves = game.Moves().LiveCount();
  run(table, TWindowCommand::DeleteTable);
  EXPECT_EQ(window.Current(), nullptr);
  EXPECT_EQ(game.Moves().LiveCount(), moves - 2);
  EXPECT_EQ(game.Infos().LiveCount(), 0);
  EXPECT_EQ(game.Status(), StatusEdited);
  // The wheel zooms through the main window.
  window.FormMouseWheelUp();
  window.FormMouseWheelDown();
  EXPECT_EQ(main.Calls, (std::vector<std::string>{"zoom in", "zoom out"}));
}

TEST_F(GameWindowTest, PaintingTextAndClosing) {
  TPlayer32* ann = b.Player("Ann", kBlue);
  b.Node("root", ann, 100, 100);
  testing::RecordingCanvas canvas;
  main.Grid = true;
  window.VertFormScroll(30);
  window.FormPaint(canvas);
  ASSERT_FALSE(canvas.Shapes.empty());
  EXPECT_EQ(canvas.Shapes.front().Kind, "origin");
  EXPECT_EQ(canvas.Shapes.front().At, (std::vector<int32_t>{0, -30}));
  EXPECT_GT(canvas.Of("line").size(), 100u);  // the grid
  window.ResetDisplay();
  EXPECT_EQ(host.Ranges, (TPoint{2000, 2000}));

  // A text window lists the game.
  TMDIChild audit(TWindowKind::Audit, host, main, &game);
  audit.FillText(kSolvableListMode);
  EXPECT_EQ(host.Text.front(), "GAME IS SOLVABLE");
  EXPECT_EQ(host.Text[1], "PLAYERS");

  // An edited game asks to be saved; a save that fails keeps the window open.
  const auto path = testing::TestFolder() / "ludomark-window.lmx";
  game.SetFileName(path.string());
  game.ForceStatus(StatusEdited);
  game.RecordedMessages().Answer = true;
  SetSaveFault([](SaveStage) { return true; });
  EXPECT_FALSE(window.FormCloseQuery());
  EXPECT_EQ(shown.size(), 2u);  // the question, then why the save failed
  SetSaveFault([](SaveStage) { return false; });
  EXPECT_TRUE(window.FormCloseQuery());
  TGameType32 reread;
  ASSERT_TRUE(ReadGameFile(path.string(), reread));
  EXPECT_EQ(reread.Nodes().LiveCount(), 1);
  EXPECT_EQ(game.Status(), StatusSaved);
  // Answered No: closes, the file untouched. A new game whose Save As is cancelled stays open
  // unless the user agrees to lose it.
  const std::string before = testing::ReadWholeFile(path.string());
  b.Node("more", ann, 300, 300);
  game.ForceStatus(StatusEdited);
  game.RecordedMessages().Answer = false;
  EXPECT_TRUE(window.FormCloseQuery());
  game.ForceStatus(StatusNew);
  EXPECT_FALSE(window.FormCloseQuery());
  EXPECT_EQ(shown.back(), "Close without saving the new game?");
  game.RecordedMessages().Answer = true;
  EXPECT_TRUE(window.FormCloseQuery());
  EXPECT_EQ(testing::ReadWholeFile(path.string()), before);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace ludomark
