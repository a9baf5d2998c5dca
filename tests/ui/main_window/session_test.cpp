// A whole session of the main window's commands, with no window: open, edit through the
// dialogs, save, undo, solve, show, save the solutions, reopen, delete them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gamefile/game_file.h"
#include "model/colors.h"
#include "model/settings.h"
#include "model/status_code.h"
#include "support/fake_main_host.h"
#include "support/run_cli.h"

namespace ludomark {
namespace {

namespace fs = std::filesystem;

struct SessionTest : ::testing::Test {
  testing::FakeMainHost host;
  testing::ScriptedRunner runner;
  TRecordedMessages messages;
  TMainForm form{host, runner, messages, "help/index.html"};
  fs::path dir = fs::temp_directory_path() / "ludomark-session";

  SessionTest() {
    host.Form = &form;
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~SessionTest() override {
    host.Clear();
    fs::remove_all(dir);
    Zoom = 1.0;
    SolveMethod = kSolveMixed;
  }
  std::string Copy(const char* example) {
    const fs::path to = dir / example;
    fs::copy_file(fs::path(LUDOMARK_EXAMPLES_DIR) / example, to);
    return to.string();
  }
  TGameType32& Game() { return host.ActiveChild()->Game(); }
  // The command, and the run it starts followed to its end.
  void Solve() {
    form.Solve();
    form.SolveDialog().WaitForRun();
  }
  void AddPlayerNamed(const std::string& name) {
    runner.OnPlayer = [name](TPlayerDlg& d) {
      d.NameChange(name);
      d.ColorClick(2);
      return d.OKBtnClick();
    };
    form.AddPlayer();
  }
};

TEST_F(SessionTest, EditSaveUndoSolveShowSaveReopenDelete) {
  // An Add command with no window open works on a fresh empty game.
  AddPlayerNamed("Solo");
  ASSERT_EQ(host.ChildCount(), 1);
  EXPECT_EQ(Game().Players().LiveCount(), 1);
  host.Clear();

  const std::string path = Copy("battle_of_the_sexes.lmx");
  form.FileOpen(path);
  TGameType32& game = Game();
  EXPECT_EQ(game.Status(), StatusSaved);
  const int players = game.Players().LiveCount();
  AddPlayerNamed("Cy");
  EXPECT_EQ(game.Players().LiveCount(), players + 1);
  EXPECT_EQ(game.Status(), StatusEdited);
  // Undo reads the undo point back: the game as it was before the edit, marked edited.
  form.Undo();
  EXPECT_EQ(game.Players().LiveCount(), players);
  EXPECT_EQ(game.Status(), StatusEdited);

  // A node and a move through their dialogs; the move's handle lands between its nodes.
  const int nodes = game.Nodes().LiveCount();
  runner.OnNode = [](TNodeDlg& d) {
    d.NameChange("Extra");
    d.OwnerClick(0);
    return d.OKBtnClick();
  };
  form.AddNode();
  ASSERT_EQ(game.Nodes().LiveCount(), nodes + 1);
  auto* extra = As<TNode32>(game.Nodes().Last());
  extra->SetPosition(400, 400);
  runner.OnMove = [&](TMoveDlg& d) {
    d.NameChange("Stop");
    d.FromClick(static_cast<int>(d.Nodes().size()) - 1);
    return d.OKBtnClick();
  };
  form.AddMove();
  auto* stop = As<TMove32>(game.Moves().Last());
  EXPECT_EQ(stop->Name, "Stop");
  EXPECT_EQ(stop->From.get(), extra);
  EXPECT_EQ(stop->X, 500);
  // And both go again, each chosen from its list.
  runner.OnSelect = [](TSelectDialog& d) {
    d.RowClick(static_cast<int>(d.Rows().size()) - 1);
    return true;
  };
  form.DeleteNode();  // still left by a move: refused
  EXPECT_EQ(messages.Shown.back(), "Node owns moves or belongs to information set.");
  form.DeleteMove();
  form.DeleteNode();
  EXPECT_EQ(game.Nodes().LiveCount(), nodes);

  Solve();
  EXPECT_EQ(messages.Shown.back(), "You must save before solving");
  form.FileSave();
  EXPECT_EQ(game.Status(), StatusSaved);
  Solve();
  ASSERT_EQ(game.Status(), StatusSolved);
  EXPECT_EQ(game.Solutions().LiveCount(), 3);
  // A solved game: edits, audit and solve off; show, close all and delete all on.
  EXPECT_FALSE(form.Enabled(TAction::AddPlayer));
  EXPECT_FALSE(form.Enabled(TAction::Undo));
  EXPECT_FALSE(form.Enabled(TAction::Solve));
  EXPECT_TRUE(form.Enabled(TAction::Show));
  EXPECT_TRUE(form.Enabled(TAction::DeleteAll));
  form.AddNode();
  EXPECT_EQ(messages.Shown.back(), "Solved game cannot be edited. Delete solutions first");

  // Show the first solution in its own window; the value flags follow the check marks.
  form.SolveDialog().SolutionBoxClick(0);
  form.SolveDialog().ShowBtnClick();
  ASSERT_EQ(host.ChildCount(), 2);
  TSolution32* shown = host.ActiveChild()->Solution();
  ASSERT_NE(shown, nullptr);
  form.ToggleValues(TAction::Belief);
  EXPECT_EQ(shown->SolutionFlags, kShowProbabilities | kShowExpected);

  // Saving asks about the solutions; they read back with the game.
  messages.Answer = true;
  form.FileSave();
  EXPECT_EQ(game.Status(), StatusSolvedSaved);
  form.FileOpen(path);
  EXPECT_EQ(Game().Status(), StatusSolvedSaved);
  EXPECT_EQ(Game().Solutions().LiveCount(), 3);
  // Delete All drops them from the game; the file keeps them until the game is saved.
  form.DeleteAll();
  EXPECT_EQ(Game().Status(), StatusEdited);
  EXPECT_TRUE(Game().Solutions().Empty());
  TGameType32 reread;
  ASSERT_TRUE(ReadGameFile(path, reread));
  EXPECT_EQ(reread.Solutions().LiveCount(), 3);
}

TEST_F(SessionTest, SolveAgainAndEveryMethod) {
  const std::string path = Copy("matching_pennies.lmx");
  form.FileOpen(path);
  TGameType32& game = Game();
  for (const int method : {kSolvePure, kSolveMixed, kSolveSampling}) {
    SolveMethod = method;
    if (game.Status() == StatusSolved) {
      messages.Answer = false;
      Solve();
      EXPECT_EQ(messages.Shown.back(), "Solving cancelled");
      messages.Answer = true;
    }
    Solve();
    if (method == kSolvePure) {
      EXPECT_EQ(messages.Shown.back(), "No solution found.");
      EXPECT_EQ(game.Status(), StatusSaved);
    } else {
      EXPECT_EQ(game.Status(), StatusSolved) << method;
      EXPECT_EQ(game.Solutions().LiveCount(), 1) << method;
    }
  }
}

TEST_F(SessionTest, RefusalsAndLimits) {
  // Undo works on a game never saved too (its points are in memory); Redo brings the edit
  // back. Another extension saves nothing.
  AddPlayerNamed("Ann");
  form.Undo();
  EXPECT_EQ(Game().Players().LiveCount(), 0);
  EXPECT_EQ(Game().Status(), StatusNew);
  form.Redo();
  EXPECT_EQ(Game().Players().LiveCount(), 1);
  host.SavePaths = {(dir / "game.txt").string()};
  EXPECT_FALSE(form.FileSaveAs());
  EXPECT_EQ(messages.Shown.back(), "Not a lmx extension");
  EXPECT_FALSE(fs::exists(dir / "game.txt"));
  // A cancelled Save As keeps the game.
  EXPECT_FALSE(form.FileSaveAs());
  EXPECT_EQ(host.ChildCount(), 1);
  // Edit Table and Add Side without a table say so without a dialog.
  runner.Shown = 0;
  form.EditTable();
  form.AddSide();
  EXPECT_EQ(messages.Shown.back(), "No defined table");
  EXPECT_EQ(runner.Shown, 0);

  Zoom = 1.55;
  form.ZoomIn();
  EXPECT_DOUBLE_EQ(Zoom, 1.6);
  form.ZoomIn();
  EXPECT_DOUBLE_EQ(Zoom, 1.6);
  Zoom = 0.85;
  form.ZoomOut();
  EXPECT_DOUBLE_EQ(Zoom, 0.8);
  form.ZoomOut();
  EXPECT_DOUBLE_EQ(Zoom, 0.8);

  // Export writes the picture and opens it; a failed write says so.
  const fs::path before = fs::current_path();
  fs::current_path(dir);
  form.Export();
  EXPECT_TRUE(fs::exists(dir / "Graphics.bmp"));
  EXPECT_EQ(host.Opened.size(), 1u);
  // A folder in the picture's place cannot be written over, not even by root.
  fs::remove(dir / "Graphics.bmp");
  fs::create_directory(dir / "Graphics.bmp");
  const std::size_t count = messages.Shown.size();
  form.Export();
  EXPECT_EQ(messages.Shown.size(), count + 1);
  EXPECT_EQ(host.Opened.size(), 1u);
  fs::current_path(before);
}

}  // namespace
}  // namespace ludomark

namespace ludomark {
namespace {

TEST_F(SessionTest, ImportSaveSolveAndExport) {
  const fs::path efg = dir / "bluff.efg";
  ASSERT_EQ(testing::RunCli({"export", Copy("bluff.lmx"), "--out", efg.string()}).code, 0);
  form.Import(efg.string());
  TGameType32& game = Game();
  EXPECT_EQ(game.Status(), StatusNew);
  EXPECT_EQ(game.Nodes().LiveCount(), 5);
  Solve();
  EXPECT_EQ(messages.Shown.back(), "You must save before solving");
  host.SavePaths = {(dir / "imported.lmx").string()};
  form.FileSave();
  EXPECT_EQ(game.Status(), StatusSaved);
  Solve();
  EXPECT_EQ(game.Status(), StatusSolved);
  // A tree cannot go out as a table: said, and nothing written.
  host.SavePaths = {(dir / "out.nfg").string()};
  form.ExportGame();
  EXPECT_NE(messages.Shown.back().find("Cannot be written as a strategic form"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "out.nfg"));
  // A damaged file opens no window.
  { std::ofstream(dir / "bad.efg") << "EFG 2 R \"\" { \"A\" }\nq"; }
  const int windows = host.ChildCount();
  form.Import((dir / "bad.efg").string());
  EXPECT_EQ(host.ChildCount(), windows);
  EXPECT_NE(messages.Shown.back().find("line 2"), std::string::npos);
}

}  // namespace
}  // namespace ludomark
