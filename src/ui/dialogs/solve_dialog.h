#pragma once

#include <string>
#include <vector>

#include "document/game_form.h"
#include "model/game_list.h"
#include "model/ref.h"
#include "model/solution.h"
#include "solver/parallel_solve.h"
#include "solver/solve_observer.h"
#include "solver/solve_run.h"

namespace ludomark {

// The solve dialog's own window.
class TSolveDlgHost {
 public:
  virtual ~TSolveDlgHost() = default;
  // The dialog's state changed: the view shows it again.
  virtual void StateChanged() {}
  // While a run works, the view calls Tick now and then from its own event loop.
  virtual void StartTicking() {}
  virtual void StopTicking() {}
  virtual void ShowView() {}
  virtual void HideView() {}
};

// The game windows and solution views the dialog's Show and Delete reach.
class TSolutionWindows {
 public:
  virtual ~TSolutionWindows() = default;
  virtual bool HasGameWindow(TGameForm32& game) = 0;
  virtual void OpenSolutionView(TGameForm32& game, TSolution32& solution) = 0;
  // Closes the views of the game showing the solution (every solution view when none).
  virtual void CloseSolutionViews(TGameForm32& game, TSolution32* solution) = 0;
  // A run on the game ended and its solutions are recorded.
  virtual void RunFinished(TGameForm32& /*game*/) {}
};

// The solve dialog: the stage, progress and percentage of a run, then the list of solutions
// with Show and Delete. It observes the program's one run.
class TSolveDlg : public TSolveObserver {
 public:
  static constexpr int kBarMaximum = TSolveRun::kBarMaximum;

  TSolveDlg(TSolveRun& run, TSolutionWindows& windows) : run_(run), windows_(windows) {}
  // The view; without one the dialog works unseen.
  void SetHost(TSolveDlgHost* host) { host_ = host != nullptr ? host : &unseen_; }

  // Starts the solver on the game (prepared by the run: audited, its old solutions gone) on
  // worker threads with copies of the game, or, without the run flag, only lists the game's
  // solutions. The call returns at once; Tick follows the run and records its solutions at
  // its end.
  void Prepare(bool run, TGameForm32& game, const TGameCopier& copy = {});
  // Shows the run's progress, waiting up to `waitMs` for it to end; at its end records what it
  // found into the game and tells the windows. True while the run still works.
  bool Tick(int waitMs = 0);
  // Ticks until the run has ended (what a caller without an event loop does).
  void WaitForRun();
  bool Working() const { return solve_.Started(); }
  // The threads a run uses (one per core by default).
  void SetJobs(int jobs) { jobs_ = jobs; }
  void CancelBtnClick();  // "Abort"
  bool CloseQuery() const { return !Working(); }
  void CloseBtnClick();  // "&Close"
  void SolutionBoxClick(int row);
  void ShowBtnClick();  // also a double click on the list
  void DeleteBtnClick();
  void RefreshList();
  // A solution view closed: its solution comes back to the list.
  void SolutionViewClosed(TSolution32& solution);
  // The game's window closes: the dialog lets go of it and hides if it showed it.
  void GameClosing(TGameForm32& game);

  // What the view shows.
  const std::string& Caption() const { return caption_; }
  const std::string& Stage() const { return stage_; }
  const std::string& Percent() const { return percent_; }
  int BarPosition() const { return bar_; }
  bool Running() const { return running_; }  // Abort and the percentage, or Close and Delete
  bool Visible() const { return visible_; }
  std::vector<std::string> Rows();
  int SelectedRow();
  TGameForm32* Game() const { return game_; }

  // The run's reports.
  void StageCaption(const std::string& caption) override;
  void RunningState(bool running, const std::string& title) override;
  void ProgressReset() override;
  void ProgressStep(int amount) override;
  void PercentText(const std::string& text) override;
  void SolutionsChanged() override { RefreshList(); }
  void HideView() override;
  void ShowMessage(const std::string& text) override;

 private:
  // After a stopped run: the caption says how many solutions were found before the stop.
  void ShowStopped();

  TSolveRun& run_;
  TSolutionWindows& windows_;
  TThreadedSolve solve_;
  int jobs_ = 0;
  TSolveDlgHost unseen_;
  TSolveDlgHost* host_ = &unseen_;
  TGameForm32* game_ = nullptr;
  TGameList listed_;
  Ref<TSolution32> selected_;
  std::string caption_;
  std::string stage_;
  std::string percent_ = "00.00%";
  int bar_ = 0;
  bool running_ = false;
  bool visible_ = false;
};

}  // namespace ludomark
