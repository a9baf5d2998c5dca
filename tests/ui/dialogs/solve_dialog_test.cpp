// The solve dialog over a real run: stages, progress, the list with Show and Delete, Abort.
#include "ui/dialogs/solve_dialog.h"

#include <gtest/gtest.h>

#include <memory>

#include "audit/audit.h"
#include "gamefile/game_file.h"
#include "model/settings.h"

namespace ludomark {
namespace {

struct FakeHost : TSolveDlgHost, TSolutionWindows {
  TSolveDlg* Dialog = nullptr;
  std::vector<std::string> Stages;
  std::vector<std::string> Opened;
  int Closed = 0;
  bool Visible = false;

  void StateChanged() override {
    if (Dialog != nullptr && (Stages.empty() || Stages.back() != Dialog->Stage())) {
      Stages.push_back(Dialog->Stage());
    }
  }
  void StartTicking() override { Ticking = true; }
  void StopTicking() override { Ticking = false; }
  bool Ticking = false;
  int Finished = 0;
  void RunFinished(TGameForm32&) override { ++Finished; }
  void ShowView() override { Visible = true; }
  void HideView() override { Visible = false; }
  bool HasGameWindow(TGameForm32&) override { return true; }
  void OpenSolutionView(TGameForm32&, TSolution32& s) override { Opened.push_back(s.Name); }
  void CloseSolutionViews(TGameForm32&, TSolution32*) override { ++Closed; }
};

struct SolveDialogTest : ::testing::Test {
  TGameType32 game;
  TSolveRun run;
  FakeHost host;
  TSolveDlg dialog{run, host};

  void SetUp() override {
    host.Dialog = &dialog;
    dialog.SetHost(&host);
  }
  void TearDown() override { SolveMethod = kSolveMixed; }
  // Starts the run on worker threads; it goes on until the test ticks it to its end.
  void Start(const char* example) {
    const std::string path = std::string(LUDOMARK_EXAMPLES_DIR) + "/" + example;
    ASSERT_TRUE(ReadGameFile(path, game));
    ASSERT_EQ(run.Prepare(game), TSolveRun::Start::Ran);
    dialog.Prepare(/*run=*/true, game, [path] {
      auto copy = std::make_unique<TGameType32>();
      ReadGameFile(path, *copy);
      return std::unique_ptr<TGameForm32>(std::move(copy));
    });
    EXPECT_TRUE(host.Ticking);
    EXPECT_TRUE(dialog.Running());
    EXPECT_FALSE(dialog.CloseQuery());  // the view stays while the run works
  }
};

TEST_F(SolveDialogTest, ARunThenShowAndDeleteFromTheList) {
  Start("battle_of_the_sexes.lmx");
  // The game is left alone until the run ends: what the workers find is recorded at the end.
  EXPECT_TRUE(game.Solutions().Empty());
  dialog.WaitForRun();
  EXPECT_FALSE(host.Ticking);
  EXPECT_EQ(host.Finished, 1);
  // The stages of the end, then nothing: a finished run shows no stage.
  const std::vector<std::string> end(host.Stages.end() - 4, host.Stages.end());
  EXPECT_EQ(end, (std::vector<std::string>{"Merging...", "Organizing...", "Cleaning up...", ""}));
  EXPECT_EQ(dialog.Stage(), "");
  EXPECT_EQ(dialog.Caption(), "Solved");
  EXPECT_FALSE(dialog.Running());
  EXPECT_TRUE(dialog.CloseQuery());
  EXPECT_EQ(dialog.BarPosition(), TSolveDlg::kBarMaximum);
  EXPECT_EQ(dialog.Percent(), "100.00%");
  EXPECT_EQ(game.Status(), StatusSolved);
  const std::vector<std::string> all = dialog.Rows();
  ASSERT_EQ(all.size(), 3u);

  // Nothing selected: Show and Delete do nothing.
  dialog.ShowBtnClick();
  dialog.DeleteBtnClick();
  EXPECT_TRUE(host.Opened.empty());
  dialog.SolutionBoxClick(1);
  dialog.ShowBtnClick();
  EXPECT_EQ(host.Opened, std::vector<std::string>{all[1]});
  EXPECT_EQ(dialog.Rows(), (std::vector<std::string>{all[0], all[2]}));
  EXPECT_EQ(dialog.SelectedRow(), -1);
  dialog.SolutionViewClosed(*As<TSolution32>(game.Solutions().ElementAt(2)));
  EXPECT_EQ(dialog.Rows(), all);

  dialog.SolutionBoxClick(0);
  dialog.DeleteBtnClick();
  EXPECT_EQ(host.Closed, 1);
  EXPECT_EQ(game.Solutions().LiveCount(), 2);
  EXPECT_EQ(dialog.Rows().size(), 2u);

  // Listing again without a run; closing the game's window hides the dialog and forgets it.
  dialog.Prepare(/*run=*/false, game);
  EXPECT_EQ(dialog.Rows().size(), 2u);
  EXPECT_TRUE(host.Visible);
  dialog.GameClosing(game);
  EXPECT_FALSE(host.Visible);
  EXPECT_TRUE(dialog.Rows().empty());
  EXPECT_EQ(dialog.Game(), nullptr);
}

TEST_F(SolveDialogTest, NoSolutionHidesTheViewWithAMessage) {
  SolveMethod = kSolvePure;
  Start("matching_pennies.lmx");
  // The run keeps the method it started with.
  SolveMethod = kSolveMixed;
  dialog.WaitForRun();
  EXPECT_FALSE(host.Visible);
  EXPECT_EQ(game.RecordedMessages().Shown, std::vector<std::string>{"No solution found."});
  EXPECT_EQ(game.Status(), StatusSaved);
  EXPECT_EQ(std::find(host.Stages.begin(), host.Stages.end(), "Exploring..."), host.Stages.end());
}

// Abort keeps what was found, and the dialog says the run stopped, never that the method
// found nothing; a run to its end reads "Solved".
TEST_F(SolveDialogTest, AbortKeepsWhatWasFoundAndSaysItStopped) {
  Start("bluff.lmx");
  dialog.CancelBtnClick();
  dialog.WaitForRun();
  EXPECT_EQ(dialog.Stage(), "");
  const int found = game.Solutions().LiveCount();
  const std::string stopped = std::string("Stopped: ")
                                  .append(std::to_string(found))
                                  .append(found == 1 ? " solution" : " solutions")
                                  .append(" found before the stop");
  EXPECT_EQ(dialog.Caption(), stopped);
  EXPECT_EQ(game.SolutionsIncomplete, found > 0);
  EXPECT_TRUE(game.RecordedMessages().Shown.empty());
  EXPECT_FALSE(run.Busy);
  EXPECT_FALSE(game.RunWorking());
  EXPECT_EQ(static_cast<int>(dialog.Rows().size()), found);

  // Stopped before anything was found: no "No solution found."
  game.ResetDerived();
  game.FreeGame();
  game.RecordedMessages().Shown.clear();
  SolveMethod = kSolvePure;
  Start("matching_pennies.lmx");
  dialog.CancelBtnClick();
  dialog.WaitForRun();
  EXPECT_EQ(dialog.Caption(), "Stopped: 0 solutions found before the stop");
  EXPECT_TRUE(game.RecordedMessages().Shown.empty());
  SolveMethod = kSolveMixed;
}

}  // namespace
}  // namespace ludomark
