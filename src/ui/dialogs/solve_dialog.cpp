#include "ui/dialogs/solve_dialog.h"

#include <algorithm>
#include <thread>

#include "solver/solutions.h"

namespace ludomark {

void TSolveDlg::Prepare(bool run, TGameForm32& game, const TGameCopier& copy) {
  if (Working()) return;
  game_ = &game;
  selected_ = nullptr;
  listed_.Clear();
  visible_ = true;
  host_->ShowView();
  if (run) {
    bar_ = 0;
    stage_.clear();
    host_->StateChanged();
    const int jobs = jobs_ > 0 ? jobs_ : static_cast<int>(std::thread::hardware_concurrency());
    {
      const TEditScope scope(game);
      game.SetRunWorking(/*working=*/true);
      solve_.Start(run_, game, std::max(jobs, 1), copy, *this);
    }
    host_->StartTicking();
  } else {
    RunningState(/*running=*/false, "Solved");
    bar_ = kBarMaximum;
    RefreshList();
  }
}

bool TSolveDlg::Tick(int waitMs) {
  if (!Working()) return false;
  if (!solve_.Wait(std::chrono::milliseconds(waitMs), *this)) return true;
  host_->StopTicking();
  TGameForm32* game = game_;
  std::string failure;
  {
    // What the run recorded reaches the windows once, with the end of the run.
    const TEditScope scope(*game);
    try {
      solve_.Finish(*this);
    } catch (const std::exception& e) {
      RunningState(/*running=*/false, "Solved");
      failure = e.what();
    }
    game->SetRunWorking(/*working=*/false);
  }
  if (!failure.empty()) ShowMessage(failure);
  windows_.RunFinished(*game);
  return false;
}

void TSolveDlg::WaitForRun() {
  while (Tick(20)) {
  }
}

void TSolveDlg::CancelBtnClick() {
  if (Working()) run_.Stopped = true;
}

void TSolveDlg::CloseBtnClick() {
  HideView();
}

void TSolveDlg::SolutionBoxClick(int row) {
  selected_ = row >= 0 ? As<TSolution32>(listed_.ElementAt(row + 1)) : nullptr;
  host_->StateChanged();
}

void TSolveDlg::ShowBtnClick() {
  TSolution32* solution = selected_.get();
  if (game_ == nullptr || solution == nullptr || !windows_.HasGameWindow(*game_)) return;
  windows_.OpenSolutionView(*game_, *solution);
  solution->InView = true;
  selected_ = nullptr;
  RefreshList();
}

void TSolveDlg::DeleteBtnClick() {
  TSolution32* solution = selected_.get();
  if (game_ == nullptr || solution == nullptr || !windows_.HasGameWindow(*game_)) return;
  const TEditScope scope(*game_);
  windows_.CloseSolutionViews(*game_, solution);
  selected_ = nullptr;
  DeleteSolution(*game_, solution);
  RefreshList();
}

void TSolveDlg::RefreshList() {
  listed_.Clear();
  if (game_ != nullptr) {
    game_->Solutions().ForEachAs<TSolution32>([&](TSolution32* s) {
      if (!s->InView) listed_.Add(s);
    });
  }
  host_->StateChanged();
}

void TSolveDlg::SolutionViewClosed(TSolution32& solution) {
  solution.InView = false;
  RefreshList();
}

void TSolveDlg::GameClosing(TGameForm32& game) {
  if (game_ != &game) return;
  HideView();
  listed_.Clear();
  selected_ = nullptr;
  game_ = nullptr;
}

std::vector<std::string> TSolveDlg::Rows() {
  std::vector<std::string> rows;
  listed_.ForEach([&](TGameObject32* s) { rows.push_back(s->Name); });
  return rows;
}

int TSolveDlg::SelectedRow() {
  return selected_ != nullptr ? listed_.PositionOf(selected_.get()) - 1 : -1;
}

void TSolveDlg::StageCaption(const std::string& caption) {
  stage_ = caption;
  host_->StateChanged();
}

void TSolveDlg::RunningState(bool running, const std::string& title) {
  running_ = running;
  if (!running) stage_.clear();
  // The run keeps the caption for the sampling method, which has no title of its own.
  if (!title.empty()) caption_ = title;
  if (!running) ShowStopped();
  run_.Stopped = !running;
  host_->StateChanged();
}

void TSolveDlg::ShowStopped() {
  if (!run_.WasStopped || game_ == nullptr) return;
  // A stopped run's solutions are kept, but they are what it found before the stop, no more.
  const int found = game_->Solutions().LiveCount();
  caption_ = "Stopped: ";
  caption_.append(std::to_string(found))
      .append(found == 1 ? " solution" : " solutions")
      .append(" found before the stop");
  host_->StateChanged();
}

void TSolveDlg::ProgressReset() {
  bar_ = 0;
  host_->StateChanged();
}

void TSolveDlg::ProgressStep(int amount) {
  bar_ = std::min(bar_ + amount, kBarMaximum);
  host_->StateChanged();
}

void TSolveDlg::PercentText(const std::string& text) {
  percent_ = text;
  host_->StateChanged();
}

void TSolveDlg::HideView() {
  visible_ = false;
  host_->HideView();
}

void TSolveDlg::ShowMessage(const std::string& text) {
  if (game_ != nullptr) game_->Messages().Information(text);
}

}  // namespace ludomark
