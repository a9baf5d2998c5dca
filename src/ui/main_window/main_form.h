#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/messages.h"
#include "solver/solve_run.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/solve_dialog.h"
#include "ui/game_window/game_window.h"
#include "ui/game_window/main_actions.h"
#include "ui/main_window/main_host.h"
#include "ui/main_window/recent_files.h"
#include "ui/main_window/recovery.h"

namespace ludomark {

// The main window's logic: every command of the menus and the tool bar, the state of the
// actions, the child windows of each game, saving, undo, audit and solve. It runs against its
// host, so a whole session of commands works without a window.
class TMainForm : public TMainActions, public TSolutionWindows, public TDocumentObserver {
 public:
  // `messages` shows every message box of every game; `helpPath` is the user guide.
  TMainForm(TMainHost& host, TDialogRunner& runner, TMessageSink& messages, std::string helpPath);
  ~TMainForm() override;
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  TDialogs& Dialogs() override { return dialogs_; }
  TSolveDlg& SolveDialog() { return solveDlg_; }
  TSolveRun& Run() { return run_; }
  bool Enabled(TAction action) const { return enabled_[Index(action)]; }
  bool Checked(TAction action) const { return checked_[Index(action)]; }
  const std::vector<TMDIChild*>& Windows() const { return windows_; }

  // The active window, or a fresh empty game window when none is open.
  TMDIChild& ActiveGameWindow();
  TMDIChild& OpenChild(const std::string& caption, TWindowKind kind, TSolution32* solution,
                       TGameType32* game);
  TMDIChild* GameWindowOf(const TGameForm32& game);
  // Opens the file named on the command line, on the first activation only.
  void FirstActivation(const std::string& path);
  // Whether every game window agreed to close (each asks as its close box does). A run in
  // progress is stopped first and the answer is no: the main window closes again by itself
  // once the run has stopped (ExitPending).
  bool CloseAll();
  bool ExitPending() const { return exitPending_; }
  TRecovery& Recovery() { return recovery_; }
  // The games opened and saved last, for File > Recent Files.
  TRecentFiles& RecentFiles() { return recent_; }

  // The commands, by menu.
  void FileNew();
  void FileOpen(const std::string& path = "");
  void FileSave();
  // A .efg or .nfg game in a new window, as a new game to save as a game file.
  void Import(const std::string& path = "");
  void ExportGame();
  bool FileSaveAs();
  void Print();
  void List();
  void Name();
  void Exit();
  void ShowTest();
  void ShowDebug();
  void AddPlayer();
  void AddNode();
  void AddMove();
  void AddTable();
  void AddSide();
  void AddSelect();
  void EditPlayer();
  void EditNode();
  void EditMove();
  void EditInfo();
  void EditTable();
  void EditSide();
  void Undo();
  void Redo();
  // Lays the active game's tree out anew (one undoable edit; allowed wherever moving is).
  void Arrange();
  void DeletePlayer();
  void DeleteNode();
  void DeleteMove();
  void DeleteTable();
  void DeleteSide();
  void DeleteSelect();
  void Export();
  void ExportAs();
  void ToggleGrid();
  void ToggleValues(TAction which);
  // Probabilities the exact method found drawn as fractions, or as decimals.
  void ToggleFractions();
  void ZoomIn() override;
  void ZoomOut() override;
  // A zoom typed or spun in the tool bar: to the nearest step, within 0.8 to 1.6.
  void SetZoom(double zoom);
  void AuditGame();
  void Options();
  void Solve();
  void Show();
  void CloseAllSolutions();
  void DeleteAll();
  void ToggleDebug();
  void About() { host_.ShowAbout(); }
  void Help();
  void Cascade() { host_.Cascade(); }
  void Tile() { host_.TileVertically(); }

  // What the game windows borrow.
  bool SaveAs(TMDIChild& window) override;
  bool SaveOwnFile(TMDIChild& window, bool withSolutions) override;
  void DeleteSelectionAct() override { DeleteSelect(); }
  void CopySelectionAct() override { AddSelect(); }
  void RefreshActions() override;
  void SetSelectionActions(bool on) override;
  bool GridChecked() override { return Checked(TAction::DisplayGrid); }
  TGateState GateFor(const TGameForm32& game) override;
  void DocumentChanged(TGameForm32& game, TChanges changes) override;
  void SolutionWindowClosed(TSolution32& solution) override;
  void GameWindowClosing(TGameForm32& game) override;
  void WindowGone(TMDIChild& window) override;

  // What the solve dialog reaches.
  bool HasGameWindow(TGameForm32& game) override { return GameWindowOf(game) != nullptr; }
  void OpenSolutionView(TGameForm32& game, TSolution32& solution) override;
  void CloseSolutionViews(TGameForm32& game, TSolution32* solution) override;
  void RunFinished(TGameForm32& game) override;

 private:
  // A command of the main window: the games it touches tell their observers once, when it
  // ends (nested commands are part of the outer one).
  class TCommand {
   public:
    explicit TCommand(TMainForm& form);
    ~TCommand();
    TCommand(const TCommand&) = delete;
    TCommand& operator=(const TCommand&) = delete;

   private:
    TMainForm& form_;
  };
  static std::size_t Index(TAction action) { return static_cast<std::size_t>(action); }
  // Whether a run works on any game of the program.
  bool AnyRun();
  // What the gate looks at for the active game, or for the fresh game a command would make.
  TGateState ActiveGate();
  void Set(TAction action, bool enabled);
  void SetCheck(TAction action, bool checked);
  // The active game after the gate (a solved game is refused with its message); nothing when
  // refused.
  TMDIChild* StartEdit();
  // Whether the gate lets the deed be done to the window's game.
  bool May(TDeed deed, TMDIChild& window);
  // Goes back or forward in the game's undo points.
  void Travel(bool back);
  bool SaveGame(const std::string& path, TGameType32& game);
  // Whether the window's file changed on disk since it was read or saved and the user chose not
  // to overwrite it.
  bool KeepsOtherWork(TMDIChild& window);
  // The active window's picture (with its solution in a solution view); false after a warning.
  bool ExportPicture(const std::string& path);
  TMDIChild& TextWindow(TGameType32& game, TWindowKind kind, const std::string& caption);
  void CloseOtherWindows(TGameForm32& game, TSolution32* solution);
  // An element chosen from the list through the select dialog; the message when none has the
  // type, nothing on cancel.
  TGameObject32* Choose(TGameList& list, int type, const char* noneMessage);
  void StartSolve(TMDIChild& window);
  void PushValueFlags();
  // Keeps a copy of an edited game beside the user's cache (dropped once it is saved).
  void KeepRecovery(TMDIChild& window, const std::string& text);
  // Offers the copy kept of the file when it differs from what was read.
  void OfferRecovery(TMDIChild& window, const TRecovery::TKept& kept);
  // The window's game now belongs to the file: copies are kept for it, and saves check it.
  void TakeFile(TMDIChild& window, const std::string& path);
  // Zoom, grid, values or trace changed: every window and the tool bar follow.
  void ViewChanged();

  TMainHost& host_;
  TMessageSink& messages_;
  TDialogs dialogs_;
  TSolveRun run_;
  TSolveDlg solveDlg_;
  std::string helpPath_;
  std::vector<TMDIChild*> windows_;
  std::array<bool, static_cast<std::size_t>(TAction::Count)> enabled_{};
  std::array<bool, static_cast<std::size_t>(TAction::Count)> checked_{};
  bool activated_ = false;
  bool selectionOn_ = false;
  bool exitPending_ = false;
  int commandDepth_ = 0;
  std::vector<TGameForm32*> commandGames_;
  TRecovery recovery_;
  TRecentFiles recent_;
};

}  // namespace ludomark
