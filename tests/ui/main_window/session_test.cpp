// A whole session of the main window's commands, with no window: open, edit through the
// dialogs, save, undo, solve, show, save the solutions, reopen, delete them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "gamefile/game_file.h"
#include "model/colors.h"
#include "model/settings.h"
#include "model/status_code.h"
#include "support/fake_main_host.h"
#include "support/game_builder.h"
#include "support/run_cli.h"
#include "support/test_folder.h"

namespace ludomark {
namespace {

namespace fs = std::filesystem;

struct SessionTest : ::testing::Test {
  testing::FakeMainHost host;
  testing::ScriptedRunner runner;
  TRecordedMessages messages;
  TMainForm form{host, runner, messages, "help/index.html"};
  fs::path dir = testing::TestFolder() / "ludomark-session";

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
  // File > Open takes an exchange file as Import does: a new game, never its file's.
  form.FileOpen(efg.string());
  EXPECT_EQ(host.ChildCount(), windows + 1);
  EXPECT_EQ(Game().Status(), StatusNew);
  EXPECT_FALSE(Game().HasFileName());
  EXPECT_EQ(Game().Nodes().LiveCount(), 5);
  // Solve with no game open makes none.
  host.Clear();
  form.Solve();
  EXPECT_EQ(host.ChildCount(), 0);
}

}  // namespace
}  // namespace ludomark

namespace ludomark {
namespace {

// Every command that changes the game or the view repaints the window at once.
TEST_F(SessionTest, CommandsRepaintThroughTheChangeChannel) {
  form.FileOpen(Copy("bluff.lmx"));
  TMDIChild& window = *host.ActiveChild();
  testing::FakeWindowHost& view = host.HostOf(window);
  runner.OnName = [](TNameDlg& d) {
    d.NameChange("Renamed");
    return true;
  };
  const std::vector<std::pair<const char*, std::function<void()>>> commands = {
      {"zoom in", [&] { form.ZoomIn(); }},
      {"zoom out", [&] { window.FormMouseWheelDown(); }},
      {"zoom typed", [&] { form.SetZoom(1.6); }},
      {"grid", [&] { form.ToggleGrid(); }},
      {"values", [&] { form.ToggleValues(TAction::Proba); }},
      {"debug", [&] { form.ToggleDebug(); }},
      {"name", [&] { form.Name(); }},
      {"add player", [&] { AddPlayerNamed("Cy"); }},
      {"undo", [&] { form.Undo(); }},
      {"redo", [&] { form.Redo(); }},
  };
  for (const auto& [name, command] : commands) {
    const int before = view.Repaints;
    const int views = host.ViewChanges;
    command();
    EXPECT_GT(view.Repaints, before) << name;
    if (std::string(name).rfind("zoom", 0) == 0) {
      EXPECT_GT(host.ViewChanges, views) << name;
    }
  }
  // The box shows the zoom the views use: typed values go to the nearest step within limits.
  EXPECT_DOUBLE_EQ(Zoom, 1.6);
  form.SetZoom(1.62);
  EXPECT_DOUBLE_EQ(Zoom, 1.6);
  form.SetZoom(0.5);
  EXPECT_DOUBLE_EQ(Zoom, 0.8);
  if (DebugMode) form.ToggleDebug();
}

// While a run works on a game nothing may change, close or free it; the run's end lets go.
TEST_F(SessionTest, TheGateHoldsTheGameDuringARun) {
  const std::string path = Copy("bluff.lmx");
  form.FileOpen(path);
  TGameType32& game = Game();
  form.Solve();
  ASSERT_TRUE(form.SolveDialog().Working());
  for (TAction a :
       {TAction::AddPlayer, TAction::Undo, TAction::Name, TAction::Debug, TAction::Options,
        TAction::DeleteAll, TAction::Show, TAction::Solve, TAction::FileSave}) {
    EXPECT_FALSE(form.Enabled(a)) << static_cast<int>(a);
  }
  EXPECT_TRUE(form.Enabled(TAction::ZoomIn));
  const bool debug = DebugMode;
  form.ToggleDebug();
  EXPECT_EQ(DebugMode, debug);
  form.DeleteAll();
  form.Name();
  form.AddPlayer();
  EXPECT_EQ(game.Status(), StatusSolving);
  EXPECT_FALSE(host.ActiveChild()->FormCloseQuery());
  // Exit asks the run to stop and closes once it has; the found solutions are offered.
  messages.Answer = false;
  form.Exit();
  EXPECT_FALSE(host.MainClosed);
  EXPECT_TRUE(form.ExitPending());
  form.SolveDialog().WaitForRun();
  EXPECT_TRUE(host.MainClosed);
  EXPECT_EQ(host.ChildCount(), 0);
  EXPECT_EQ(testing::ReadWholeFile(path),
            testing::ReadWholeFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/bluff.lmx"));
}

// The user's file changes only on Save or Save As, whatever else is answered.
TEST_F(SessionTest, TheFileChangesOnlyOnSave) {
  const std::string path = Copy("battle_of_the_sexes.lmx");
  const std::string original = testing::ReadWholeFile(path);
  form.FileOpen(path);
  AddPlayerNamed("Cy");
  AddPlayerNamed("Di");
  EXPECT_EQ(testing::ReadWholeFile(path), original);
  messages.Answer = false;  // "Save edited game?" No
  EXPECT_TRUE(host.CloseChild(*host.ActiveChild()));
  EXPECT_EQ(testing::ReadWholeFile(path), original);

  // A game read from an exchange file is saved through Save As, never over that file.
  const fs::path efg = dir / "bluff.efg";
  ASSERT_EQ(testing::RunCli({"export", Copy("bluff.lmx"), "--out", efg.string()}).code, 0);
  const std::string exchange = testing::ReadWholeFile(efg.string());
  form.Import(efg.string());
  TMDIChild& imported = *host.ActiveChild();
  imported.SetCurrent(imported.Game().Nodes().ElementAt(1));
  imported.Execute(TWindowCommand::Redraw);
  imported.FormMouseMove(400, 400);
  imported.FormMouseDown(TMouseButton::Left, 400, 400);
  imported.FormMouseUp(TMouseButton::Left, 400, 400);
  messages.Answer = true;
  host.SavePaths = {(dir / "imported.lmx").string()};
  EXPECT_TRUE(host.CloseChild(imported));
  EXPECT_EQ(testing::ReadWholeFile(efg.string()), exchange);
  TGameType32 saved;
  ASSERT_TRUE(ReadGameFile((dir / "imported.lmx").string(), saved));
  EXPECT_EQ(saved.Nodes().LiveCount(), 5);
}

// Moving elements of a solved, saved game keeps its solutions; closing with Yes saves both.
TEST_F(SessionTest, ADragKeepsTheSolutions) {
  const std::string path = Copy("battle_of_the_sexes.lmx");
  form.FileOpen(path);
  Solve();
  messages.Answer = true;
  form.FileSave();
  ASSERT_EQ(Game().Status(), StatusSolvedSaved);
  TMDIChild& window = *host.ActiveChild();
  const std::size_t asked = messages.Shown.size();
  window.SetCurrent(window.Game().Nodes().ElementAt(1));
  window.Execute(TWindowCommand::Redraw);
  window.FormMouseMove(500, 300);
  window.FormMouseDown(TMouseButton::Left, 500, 300);
  window.FormMouseUp(TMouseButton::Left, 500, 300);
  EXPECT_EQ(messages.Shown.size(), asked);  // no question on the way
  EXPECT_EQ(Game().Status(), StatusSolved);
  EXPECT_EQ(Game().Solutions().LiveCount(), 3);
  EXPECT_TRUE(host.CloseChild(window));
  TGameType32 reread;
  ASSERT_TRUE(ReadGameFile(path, reread));
  EXPECT_EQ(reread.Solutions().LiveCount(), 3);
  EXPECT_EQ(reread.Nodes().ElementAt(1)->X, 500);
}

// Undo takes back one edit at a time, and an undo point that does not read changes nothing.
TEST_F(SessionTest, UndoIsOneEditAndNeverEmptiesTheGame) {
  form.FileOpen(Copy("bluff.lmx"));
  TMDIChild& window = *host.ActiveChild();
  TGameType32& game = Game();
  const int players = game.Players().LiveCount();
  const int nodes = game.Nodes().LiveCount();
  AddPlayerNamed("Cy");
  window.FormMouseDown(TMouseButton::Left, 1900, 1900);  // places the player
  window.FormMouseUp(TMouseButton::Left, 1900, 1900);
  window.FormMouseMove(1990, 1990);  // over nothing
  window.FormMouseDown(TMouseButton::Left, 1990, 1990);
  window.FormMouseMove(0, 0);
  window.FormMouseUp(TMouseButton::Left, 0, 0);
  ASSERT_TRUE(form.Enabled(TAction::AddSelect));
  form.AddSelect();
  EXPECT_GT(game.Nodes().LiveCount(), nodes);
  form.Undo();
  EXPECT_EQ(game.Nodes().LiveCount(), nodes);
  EXPECT_EQ(game.Players().LiveCount(), players + 1);

  // An undo point that does not read: the game stays as it is.
  const std::string present = window.History().Present();
  window.History().Record("not a game\r\n");
  window.History().Record(present);
  form.Undo();
  EXPECT_EQ(game.Players().LiveCount(), players + 1);
  EXPECT_EQ(game.Nodes().LiveCount(), nodes);
  EXPECT_EQ(game.Status(), StatusEdited);
}

// A command with no window open works on a game that is new: it asks for a name to be saved.
TEST_F(SessionTest, AGameMadeByACommandIsNew) {
  AddPlayerNamed("Solo");
  EXPECT_EQ(Game().Status(), StatusNew);
  Solve();
  EXPECT_EQ(messages.Shown.back(), "You must save before solving");
  host.SavePaths = {(dir / "solo.LMX").string()};  // the extension in any case
  messages.Answer = true;
  EXPECT_TRUE(host.CloseChild(*host.ActiveChild()));
  EXPECT_TRUE(fs::exists(dir / "solo.LMX"));
}

}  // namespace
}  // namespace ludomark

namespace ludomark {
namespace {

// A game whose first node stands far from the origin opens scrolled to it.
TEST_F(SessionTest, AGameOpensOnItsFirstNode) {
  const fs::path path = dir / "far.lmx";
  {
    TGameType32 far;
    testing::GameBuilder b(far);
    b.Node("root", b.Player("Ann"), 5000, 40);
    WriteGameFile(path.string(), far);
  }
  form.FileOpen(path.string());
  TMDIChild& window = *host.ActiveChild();
  EXPECT_EQ(window.ScrollX(), 5000 - 60);
  EXPECT_EQ(window.ScrollY(), 0);
  EXPECT_EQ(host.HostOf(window).Scroll, (TPoint{5000 - 60, 0}));
  // A zoom keeps the place at the centre of the view where it is (across: down, the view
  // cannot go above the top).
  const TPoint centre = window.ViewCentre();
  for (const double zoom : {0.8, 1.6, 1.25}) {
    form.SetZoom(zoom);
    EXPECT_NEAR(window.ViewCentre().X, centre.X, 2) << zoom;
    EXPECT_EQ(host.HostOf(window).Scroll.X, window.ScrollX()) << zoom;
  }
}

}  // namespace
}  // namespace ludomark

namespace ludomark {
namespace {

// Name renames the solution of a solution view; in its debug text it renames nothing.
TEST_F(SessionTest, NameInADebugWindowLeavesItsCaption) {
  form.FileOpen(Copy("battle_of_the_sexes.lmx"));
  Solve();
  form.SolveDialog().SolutionBoxClick(0);
  form.SolveDialog().ShowBtnClick();
  TSolution32* solution = host.ActiveChild()->Solution();
  ASSERT_NE(solution, nullptr);
  const std::string name = solution->Name;
  form.ShowDebug();
  TMDIChild& debug = *host.ActiveChild();
  ASSERT_EQ(debug.Kind(), TWindowKind::Debug);
  runner.OnName = [](TNameDlg& d) {
    d.NameChange("Renamed");
    return true;
  };
  form.Name();
  EXPECT_EQ(debug.Caption(), "Debug " + name);
  EXPECT_EQ(solution->Name, name);
}

}  // namespace
}  // namespace ludomark

namespace ludomark {
namespace {

// Solutions of a stopped run are kept, and saving them says the set may be incomplete.
TEST_F(SessionTest, SavingAStoppedRunsSolutionsSaysTheyMayBeIncomplete) {
  form.FileOpen(Copy("bluff.lmx"));
  form.Solve();
  form.SolveDialog().CancelBtnClick();
  form.SolveDialog().WaitForRun();
  ASSERT_FALSE(Game().Solutions().Empty());
  EXPECT_TRUE(Game().SolutionsIncomplete);
  messages.Answer = true;
  form.FileSave();
  EXPECT_EQ(messages.Shown.back(),
            "Save solutions? The run was stopped before its end, so the set may be incomplete.");
  EXPECT_EQ(Game().Status(), StatusSolvedSaved);
  // A run to its end asks as ever.
  form.DeleteAll();
  form.FileSave();
  Solve();
  form.FileSave();
  EXPECT_EQ(messages.Shown.back(), "Save solutions?");
}

}  // namespace
}  // namespace ludomark

namespace ludomark {
namespace {

TEST(RecentFiles, NewestFirstOnceEachAtMostEightAndKeptForTheNextSession) {
  const fs::path dir = testing::TestFolder() / "ludomark-recent";
  fs::remove_all(dir);
  const std::string store = (dir / "config" / "recent-files").string();
  {
    TRecentFiles recent(store);
    EXPECT_TRUE(recent.Paths().empty());
    for (int i = 0; i < 10; ++i) recent.Add((dir / (std::to_string(i) + ".lmx")).string());
    recent.Add((dir / "sub" / ".." / "5.lmx").string());  // the same file, written otherwise
    ASSERT_EQ(recent.Paths().size(), TRecentFiles::kMaxFiles);
    EXPECT_EQ(recent.Paths()[0], (dir / "5.lmx").string());
    EXPECT_EQ(recent.Paths()[1], (dir / "9.lmx").string());
    EXPECT_EQ(recent.Paths().back(), (dir / "2.lmx").string());
    recent.Remove((dir / "9.lmx").string());
    recent.Add("with\nnewline.lmx");  // could not be read back as one line: not kept
    EXPECT_EQ(recent.Paths().size(), TRecentFiles::kMaxFiles - 1);
  }
  TRecentFiles next(store);
  ASSERT_EQ(next.Paths().size(), TRecentFiles::kMaxFiles - 1);
  EXPECT_EQ(next.Paths()[1], (dir / "8.lmx").string());
  // A damaged list file gives what can be read of it.
  {
    std::ofstream(store, std::ios::binary) << "\n/a.lmx\n/a.lmx\n"
                                           << std::string(5000, 'x') << "\n/b.lmx\n";
  }
  EXPECT_EQ(TRecentFiles(store).Paths(), (std::vector<std::string>{"/a.lmx", "/b.lmx"}));
  fs::remove_all(dir);
}

TEST_F(SessionTest, OpenedAndSavedGamesAreRecentAndAMissingOneLeaves) {
  const std::string path = Copy("bluff.lmx");
  form.FileOpen(path);
  EXPECT_EQ(form.RecentFiles().Paths().front(), path);
  const std::string saved = (dir / "saved.lmx").string();
  host.SavePaths.push_back(saved);
  ASSERT_TRUE(form.FileSaveAs());
  EXPECT_EQ(form.RecentFiles().Paths().front(), saved);
  EXPECT_EQ(form.RecentFiles().Paths()[1], path);
  fs::remove(path);
  const std::size_t shown = messages.Shown.size();
  form.FileOpen(path);
  EXPECT_EQ(messages.Shown.size(), shown + 1);  // why it could not be opened
  const std::vector<std::string>& recent = form.RecentFiles().Paths();
  EXPECT_EQ(std::count(recent.begin(), recent.end(), path), 0);
  EXPECT_EQ(recent.front(), saved);
}

}  // namespace
}  // namespace ludomark

namespace ludomark {
namespace {

TEST_F(SessionTest, ArrangeLaysTheTreeOutInLevelsAsOneUndoableEdit) {
  form.FileOpen(Copy("bluff.lmx"));
  TGameType32& game = Game();
  auto positions = [&] {
    std::vector<TPoint> at;
    game.Nodes().ForEach([&](TGameObject32* e) { at.push_back(TPoint{e->X, e->Y}); });
    game.Moves().ForEach([&](TGameObject32* e) { at.push_back(TPoint{e->X, e->Y}); });
    return at;
  };
  const std::vector<TPoint> drawn = positions();
  ASSERT_TRUE(form.Enabled(TAction::Arrange));
  form.Arrange();
  const std::vector<TPoint> arranged = positions();
  EXPECT_NE(arranged, drawn);
  EXPECT_EQ(game.Status(), StatusEdited);
  // Every move goes down a level; no two nodes share a place.
  game.Moves().ForEachAs<TMove32>([&](TMove32* move) {
    if (move->To.get() != nullptr) {
      EXPECT_GT(move->To->Y, move->From->Y) << move->Name;
    }
  });
  std::set<std::pair<int32_t, int32_t>> places;
  game.Nodes().ForEach([&](TGameObject32* e) { EXPECT_TRUE(places.insert({e->X, e->Y}).second); });
  form.Undo();
  EXPECT_EQ(positions(), drawn);
  form.Redo();
  EXPECT_EQ(positions(), arranged);
}

}  // namespace
}  // namespace ludomark
