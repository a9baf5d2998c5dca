// Random sessions of the desktop's logic: on every example, seeded sequences of commands,
// gestures and dialog answers, with runs working on worker threads while more commands come.
// After every step the games are checked: their lists and links hold together, no file changed
// unless the step saved, and a command the gate had disabled changed nothing.
// LUDOMARK_SOAK_SECONDS makes the session go on for that long (make soak).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <random>

#include "audit/audit.h"
#include "gamefile/game_file.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/settings.h"
#include "model/status_code.h"
#include "support/fake_main_host.h"
#include "support/run_cli.h"

namespace ludomark {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> FilesIn(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    files[entry.path().string()] = testing::ReadWholeFile(entry.path().string());
  }
  return files;
}

// Every link of an element points at an element of the same game's lists.
void ExpectConsistent(TGameType32& game, const std::string& step) {
  auto inList = [](TGameList& list, const TGameObject32* e) {
    return e == nullptr || list.Contains(const_cast<TGameObject32*>(e));
  };
  for (TGameList* list : {&game.Players(), &game.Nodes(), &game.Moves(), &game.Infos(),
                          &game.Payoffs(), &game.Strategies(), &game.Solutions()}) {
    list->ForEach([&](TGameObject32* e) {
      ASSERT_EQ(e->Owner, &game) << step;
      ASSERT_NE(e->TypeCode, kRemoved) << step;
    });
  }
  game.Moves().ForEach([&](TGameObject32* e) {
    if (e->TypeCode != kMove) return;
    auto* move = As<TMove32>(e);
    ASSERT_TRUE(inList(game.Nodes(), move->From.get())) << step;
    ASSERT_TRUE(inList(game.Nodes(), move->To.get())) << step;
  });
  game.Nodes().ForEach([&](TGameObject32* e) {
    if (e->TypeCode != kNode) return;
    auto* node = As<TNode32>(e);
    ASSERT_TRUE(inList(game.Players(), node->Player.get())) << step;
    ASSERT_TRUE(inList(game.Infos(), node->Info.get())) << step;
  });
  game.Payoffs().ForEach([&](TGameObject32* e) {
    ASSERT_TRUE(inList(game.Moves(), As<TPayoff32>(e)->Move.get())) << step;
  });
  game.Selection().ForEach([&](TGameObject32* e) {
    ASSERT_TRUE(game.Nodes().Contains(e) || game.Moves().Contains(e) || game.Infos().Contains(e) ||
                game.Players().Contains(e))
        << step;
  });
  ASSERT_GE(game.Status(), StatusNew) << step;
  ASSERT_LE(game.Status(), StatusSolving) << step;
}

// Twenty sessions of 500 steps, or as many as the soak's time allows.
bool SeedsLeft(uint64_t seed, double seconds, double elapsed) {
  return seconds > 0 ? elapsed < seconds : seed <= 20;
}

class RandomSession {
 public:
  RandomSession(uint64_t seed, fs::path dir) : random_(seed), dir_(std::move(dir)) {
    host_.Form = &form_;
    runner_.OnPlayer = [this](TPlayerDlg& d) {
      d.NameChange(Label("P"));
      d.ColorClick(Pick(16));
      return Chance(0.8) && d.OKBtnClick();
    };
    runner_.OnNode = [this](TNodeDlg& d) {
      d.NameChange(Label("N"));
      d.OwnerClick(Pick(3) - 1);
      return Chance(0.8) && d.OKBtnClick();
    };
    runner_.OnSelect = [this](TSelectDialog& d) {
      d.RowClick(Pick(static_cast<int>(d.Rows().size()) + 1) - 1);
      return Chance(0.9);
    };
    runner_.OnName = [this](TNameDlg& d) {
      d.NameChange(Label("Name "));
      return Chance(0.8);
    };
  }
  ~RandomSession() {
    form_.SolveDialog().WaitForRun();
    host_.Clear();
  }

  // One random step, checked.
  void Step(const std::vector<std::string>& examples) {
    const auto before = FilesIn(dir_);
    const bool exitPending = form_.ExitPending();
    messages_.Answer = Chance(0.5);
    // A file dialog answers within its step: a name left over would save a later close.
    host_.SavePaths.clear();
    const int which = Pick(static_cast<int>(steps_.size()));
    const TStep& step = steps_[static_cast<std::size_t>(which)];
    TMDIChild* active = host_.ActiveChild();
    const bool enabled = step.Action == TAction::Count || form_.Enabled(step.Action);
    const std::string text = active != nullptr ? GameFileText(active->Game()) : "";
    const int status = active != nullptr ? active->Game().Status() : 0;
    const int repaints = active != nullptr ? host_.HostOf(*active).Repaints : 0;
    const double zoom = Zoom;
    if (step.Name == std::string("open")) {
      const std::string& example =
          examples[static_cast<std::size_t>(Pick(static_cast<int>(examples.size())))];
      const fs::path copy = dir_ / example;
      if (!fs::exists(copy)) fs::copy_file(fs::path(LUDOMARK_EXAMPLES_DIR) / example, copy);
      form_.FileOpen(copy.string());
    } else {
      step.Do(*this);
    }
    ++count_;
    if (active != nullptr && host_.ActiveChild() == active) {
      // What the gate had disabled did nothing to the game it was asked of.
      const bool changed =
          GameFileText(active->Game()) != text || active->Game().Status() != status;
      if (!enabled) {
        EXPECT_FALSE(changed) << step.Name;
      }
      // A change of the game or of the zoom shows at once: the window was asked to repaint.
      if (!active->IsText() && (changed || Zoom != zoom)) {
        EXPECT_GT(host_.HostOf(*active).Repaints, repaints) << step.Name;
      }
      ExpectActionsFollowTheGate(*active, step.Name);
    }
    // Files change only when the step may save: Save, Save As, or a close answered yes.
    // A run's progress (and its end) comes between steps, as a timer of the view brings it.
    form_.SolveDialog().Tick(0);
    // An exit asked for during a run closes the games (and asks) when the run ends.
    const bool closing = step.Saves == kIfYes || exitPending;
    const bool maySave = step.Saves == kAlways || (closing && messages_.Answer);
    if (!maySave) {
      const auto after = FilesIn(dir_);
      for (const auto& [path, content] : before) {
        auto it = after.find(path);
        ASSERT_TRUE(it != after.end()) << step.Name << " removed " << path;
        EXPECT_EQ(it->second, content) << step.Name << " changed " << path;
      }
    }
    for (TMDIChild* w : form_.Windows()) {
      if (w->Kind() == TWindowKind::Game) ExpectConsistent(w->Game(), step.Name);
    }
  }
  int Count() const { return count_; }

  // The actions of the menus and the tool bar say what the gate says of the active game.
  void ExpectActionsFollowTheGate(TMDIChild& active, const std::string& step) {
    const TGateState gate = active.Gate();
    EXPECT_EQ(form_.Enabled(TAction::AddPlayer), Ask(TDeed::Edit, gate) == TAnswer::Yes) << step;
    EXPECT_EQ(form_.Enabled(TAction::Undo), Ask(TDeed::Edit, gate) == TAnswer::Yes) << step;
    EXPECT_EQ(form_.Enabled(TAction::Solve), Allowed(TDeed::Solve, gate)) << step;
    EXPECT_EQ(form_.Enabled(TAction::FileSave), Allowed(TDeed::Save, gate)) << step;
    EXPECT_EQ(form_.Enabled(TAction::Debug), Allowed(TDeed::RunSettings, gate)) << step;
    if (active.Kind() != TWindowKind::Solution) {
      EXPECT_EQ(form_.Enabled(TAction::DeleteAll), Allowed(TDeed::DropSolutions, gate)) << step;
    }
  }

 private:
  static constexpr int kNever = 0;
  static constexpr int kAlways = 1;
  static constexpr int kIfYes = 2;  // a close that asks first
  struct TStep {
    const char* Name;
    TAction Action;  // Count: no action of its own
    int Saves;
    std::function<void(RandomSession&)> Do;
  };
  int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(random_() % static_cast<uint64_t>(n)); }
  // A name with a random number (built by appending: a sum of a literal and a number's text
  // makes one compiler warn falsely).
  std::string Label(const char* stem) {
    std::string label = stem;
    label.append(std::to_string(Pick(100)));
    return label;
  }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
  TMDIChild* Active() { return host_.ActiveChild(); }
  // A save whose dialog, if it asks, gets one of three names.
  void SaveWith(const std::string& name, const std::function<void()>& save) {
    host_.SavePaths = {(dir_ / (name + std::to_string(Pick(3)) + ".lmx")).string()};
    save();
  }
  void Gesture() {
    TMDIChild* w = Active();
    if (w == nullptr || w->IsText()) return;
    const int x = Pick(900), y = Pick(700);
    switch (Pick(5)) {
      case 0:
        w->FormMouseMove(x, y);
        break;
      case 1:
        w->FormMouseDown(TMouseButton::Left, x, y);
        break;
      case 2:
        w->FormMouseUp(TMouseButton::Left, x, y);
        break;
      case 3: {
        w->FormMouseMove(x, y);
        const std::vector<TPopupItem> items = w->PopupItems();
        if (items.empty()) break;
        const TPopupItem& item =
            items[static_cast<std::size_t>(Pick(static_cast<int>(items.size())))];
        // Only what the menu lets be chosen is chosen.
        if (item.Enabled && item.Command != TWindowCommand::EditMove &&
            item.Command != TWindowCommand::EditPayoff &&
            item.Command != TWindowCommand::EditCell && item.Command != TWindowCommand::SideEdit &&
            item.Command != TWindowCommand::AddSide) {
          w->Execute(item.Command);
        }
        break;
      }
      default:
        w->FormMouseWheelUp();
        break;
    }
  }

  std::mt19937_64 random_;
  fs::path dir_;
  testing::FakeMainHost host_;
  testing::ScriptedRunner runner_;
  TRecordedMessages messages_;
  TMainForm form_{host_, runner_, messages_, "help.html"};
  int count_ = 0;
  const std::vector<TStep> steps_ = {
      {"open", TAction::Count, kNever, {}},
      {"open", TAction::Count, kNever, {}},
      {"save", TAction::FileSave, kAlways,
       [](RandomSession& s) { s.SaveWith("saved", [&] { s.form_.FileSave(); }); }},
      {"save as", TAction::FileSaveAs, kAlways,
       [](RandomSession& s) { s.SaveWith("as", [&] { s.form_.FileSaveAs(); }); }},
      {"add player", TAction::AddPlayer, kNever, [](RandomSession& s) { s.form_.AddPlayer(); }},
      {"add node", TAction::AddNode, kNever, [](RandomSession& s) { s.form_.AddNode(); }},
      {"delete player", TAction::DeletePlayer, kNever,
       [](RandomSession& s) { s.form_.DeletePlayer(); }},
      {"delete node", TAction::DeleteNode, kNever, [](RandomSession& s) { s.form_.DeleteNode(); }},
      {"delete move", TAction::DeleteMove, kNever, [](RandomSession& s) { s.form_.DeleteMove(); }},
      {"edit table", TAction::EditTable, kNever, [](RandomSession& s) { s.form_.EditTable(); }},
      {"delete table", TAction::DeleteTable, kNever,
       [](RandomSession& s) { s.form_.DeleteTable(); }},
      {"copy selection", TAction::AddSelect, kNever, [](RandomSession& s) { s.form_.AddSelect(); }},
      {"delete selection", TAction::DeleteSelect, kNever,
       [](RandomSession& s) { s.form_.DeleteSelect(); }},
      {"undo", TAction::Undo, kNever, [](RandomSession& s) { s.form_.Undo(); }},
      {"redo", TAction::Redo, kNever, [](RandomSession& s) { s.form_.Redo(); }},
      {"name", TAction::Name, kNever, [](RandomSession& s) { s.form_.Name(); }},
      {"zoom", TAction::Count, kNever,
       [](RandomSession& s) { s.form_.SetZoom(0.8 + s.Pick(17) * 0.05); }},
      {"grid", TAction::DisplayGrid, kNever, [](RandomSession& s) { s.form_.ToggleGrid(); }},
      {"values", TAction::Expect, kNever,
       [](RandomSession& s) { s.form_.ToggleValues(TAction::Expect); }},
      {"debug", TAction::Debug, kNever, [](RandomSession& s) { s.form_.ToggleDebug(); }},
      {"audit", TAction::Audit, kNever, [](RandomSession& s) { s.form_.AuditGame(); }},
      {"list", TAction::List, kNever, [](RandomSession& s) { s.form_.List(); }},
      {"arrange", TAction::Arrange, kNever, [](RandomSession& s) { s.form_.Arrange(); }},
      // The command also answers a solved game (it asks to discard the solutions), which the
      // action never offers: not checked against the action.
      {"solve", TAction::Count, kNever,
       [](RandomSession& s) {
         SolveMethod = 1 + s.Pick(3);
         s.form_.Solve();
       }},
      {"abort", TAction::Count, kNever,
       [](RandomSession& s) { s.form_.SolveDialog().CancelBtnClick(); }},
      {"wait", TAction::Count, kNever,
       [](RandomSession& s) { s.form_.SolveDialog().WaitForRun(); }},
      {"show", TAction::Show, kNever,
       [](RandomSession& s) {
         s.form_.Show();
         s.form_.SolveDialog().SolutionBoxClick(s.Pick(3));
         s.form_.SolveDialog().ShowBtnClick();
       }},
      {"delete solution", TAction::Count, kNever,
       [](RandomSession& s) {
         s.form_.SolveDialog().SolutionBoxClick(s.Pick(3));
         s.form_.SolveDialog().DeleteBtnClick();
       }},
      {"delete all", TAction::DeleteAll, kNever, [](RandomSession& s) { s.form_.DeleteAll(); }},
      {"close all", TAction::CloseAll, kNever,
       [](RandomSession& s) { s.form_.CloseAllSolutions(); }},
      {"close", TAction::Count, kIfYes,
       [](RandomSession& s) {
         // The user who answers no cancels Save As too.
         s.host_.SavePaths.clear();
         if (s.messages_.Answer) s.host_.SavePaths = {(s.dir_ / "closed.lmx").string()};
         if (TMDIChild* w = s.Active()) s.host_.CloseChild(*w);
       }},
      {"exit", TAction::Exit, kIfYes,
       [](RandomSession& s) {
         s.host_.SavePaths.clear();
         if (s.messages_.Answer) s.host_.SavePaths = {(s.dir_ / "exit.lmx").string()};
         s.form_.Exit();
       }},
      {"gesture", TAction::Count, kNever, [](RandomSession& s) { s.Gesture(); }},
      {"gesture", TAction::Count, kNever, [](RandomSession& s) { s.Gesture(); }},
      {"gesture", TAction::Count, kNever, [](RandomSession& s) { s.Gesture(); }},
  };
};

TEST(RandomSession, CommandsGesturesAndRunsKeepGamesAndFilesWhole) {
  const fs::path dir = fs::path(::testing::TempDir()) / "ludomark-random-session";
  std::vector<std::string> examples;
  for (const auto& entry : fs::directory_iterator(LUDOMARK_EXAMPLES_DIR)) {
    if (entry.path().extension() == ".lmx") examples.push_back(entry.path().filename().string());
  }
  std::sort(examples.begin(), examples.end());
  const char* soak = std::getenv("LUDOMARK_SOAK_SECONDS");
  const double seconds = soak != nullptr ? std::atof(soak) : 0;
  const auto start = std::chrono::steady_clock::now();
  const auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  int steps = 0;
  for (uint64_t seed = 1; SeedsLeft(seed, seconds, elapsed()); ++seed) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    RandomSession session(seed, dir);
    for (int i = 0; i < 500 && !::testing::Test::HasFailure(); ++i) session.Step(examples);
    steps += session.Count();
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << "seed " << seed << ", step " << session.Count();
      break;
    }
  }
  std::cout << "random session: " << steps << " steps\n";
  EXPECT_GE(steps, 10000);
  SolveMethod = kSolveMixed;
  DebugMode = false;
  Zoom = 1.0;
  fs::remove_all(dir);
}

// The roll-back property: random edits of one game, then Undo back to the start gives, step by
// step, the game text each edit left, and Redo goes forward through them again; after every
// step the recovery copy reads back as the game and audits as the game does.
TEST(RandomSession, UndoAndRedoRetraceEveryEditAndTheCopyIsTheGame) {
  const fs::path dir = fs::path(::testing::TempDir()) / "ludomark-roll-back";
  // A cache of its own: a copy left by another test would be offered when a game opens.
  const char* cache = std::getenv("XDG_CACHE_HOME");
  const std::string savedCache = cache != nullptr ? cache : "";
  ::setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
  int points = 0;
  for (uint64_t seed = 1; seed <= 12; ++seed) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::mt19937_64 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<uint64_t>(n)); };
    // Appended, not summed: a literal plus a number's text makes one compiler warn falsely.
    const auto label = [&](const char* stem) {
      return std::string(stem).append(std::to_string(pick(100)));
    };
    testing::FakeMainHost host;
    testing::ScriptedRunner runner;
    TRecordedMessages messages;
    messages.Answer = true;
    TMainForm form{host, runner, messages, "help.html"};
    host.Form = &form;
    // The windows go before the main window, whatever fails.
    const std::unique_ptr<void, std::function<void(void*)>> windowsFirst(
        &host, [&](void*) { host.Clear(); });
    runner.OnPlayer = [&](TPlayerDlg& d) {
      d.NameChange(label("P"));
      d.ColorClick(2 + pick(6));
      return d.OKBtnClick();
    };
    runner.OnNode = [&](TNodeDlg& d) {
      d.NameChange(label("N"));
      d.OwnerClick(pick(2));
      return pick(5) > 0 && d.OKBtnClick();
    };
    runner.OnSelect = [&](TSelectDialog& d) {
      d.RowClick(pick(static_cast<int>(d.Rows().size()) + 1) - 1);
      return true;
    };
    runner.OnName = [&](TNameDlg& d) {
      d.NameChange(label("T"));
      return pick(3) > 0;
    };
    const char* examples[] = {"bluff.lmx", "battle_of_the_sexes.lmx", "discounted_centipede.lmx"};
    const fs::path file = dir / examples[seed % 3];
    fs::copy_file(fs::path(LUDOMARK_EXAMPLES_DIR) / examples[seed % 3], file);
    form.FileOpen(file.string());
    TMDIChild& window = *host.ActiveChild();
    TGameType32& game = window.Game();
    std::vector<std::string> states{GameFileText(game)};
    ASSERT_FALSE(window.History().CanUndo());
    const auto expectCopyIsTheGame = [&](const std::string& step) {
      if (game.Status() != StatusEdited) return;
      form.Recovery().Flush();
      const std::string copy = testing::ReadWholeFile(form.Recovery().PathFor(file.string()));
      ASSERT_EQ(copy, GameFileText(game)) << step;
      TGameType32 recovered;
      ReadGameText(copy, recovered);
      TGameType32 same;
      ReadGameText(GameFileText(game), same);
      EXPECT_EQ(Audit(recovered), Audit(same)) << step;
    };
    for (int i = 0; i < 40; ++i) {
      const int x = pick(700), y = pick(500);
      const int kind = pick(9);
      switch (kind) {
        case 0:
          form.AddPlayer();
          break;
        case 1:
          form.AddNode();
          break;
        case 2:
          form.DeleteMove();
          break;
        case 3:
          form.DeleteNode();
          break;
        case 4:
          form.EditTable();
          break;
        case 5:
          form.Name();
          break;
        case 6:  // a rubber band, and a copy of what it took
          window.FormMouseMove(x, y);
          window.FormMouseDown(TMouseButton::Left, x, y);
          window.FormMouseMove(x + 150, y + 150);
          window.FormMouseUp(TMouseButton::Left, x + 150, y + 150);
          if (form.Enabled(TAction::AddSelect)) form.AddSelect();
          break;
        case 7:  // a popup command on what is under the pointer
          window.FormMouseMove(x, y);
          if (window.Current() != nullptr) window.Execute(TWindowCommand::Redraw);
          break;
        default:
          window.FormMouseMove(x, y);
          break;
      }
      // Whatever follows the pointer is dropped where it is: the step ends with it.
      if (window.Placing()) {
        window.FormMouseMove(x, y);
        window.FormMouseDown(TMouseButton::Left, x, y);
        window.FormMouseUp(TMouseButton::Left, x, y);
      }
      const std::string text = GameFileText(game);
      if (text != states.back()) states.push_back(text);
      // One point for each command that changed the game, none for the others.
      EXPECT_EQ(window.History().UndoPoints(), states.size() - 1)
          << "step " << i << " (" << kind << ")";
      expectCopyIsTheGame(std::string("step ").append(std::to_string(i)));
      if (::testing::Test::HasFailure()) break;
    }
    points += static_cast<int>(states.size()) - 1;
    for (std::size_t k = states.size() - 1; k > 0; --k) {
      ASSERT_TRUE(window.History().CanUndo()) << "seed " << seed << ", point " << k;
      form.Undo();
      ASSERT_EQ(GameFileText(game), states[k - 1]) << "seed " << seed << ", undo to " << k - 1;
      expectCopyIsTheGame("undo");
    }
    EXPECT_FALSE(window.History().CanUndo()) << "seed " << seed;
    for (std::size_t k = 1; k < states.size(); ++k) {
      form.Redo();
      ASSERT_EQ(GameFileText(game), states[k]) << "seed " << seed << ", redo to " << k;
      expectCopyIsTheGame("redo");
    }
    EXPECT_FALSE(window.History().CanRedo()) << "seed " << seed;
  }
  EXPECT_GT(points, 100);
  ::setenv("XDG_CACHE_HOME", savedCache.c_str(), 1);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ludomark
