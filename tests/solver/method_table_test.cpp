#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "gamefile/efg_reader.h"
#include "gamefile/game_file.h"
#include "gamefile/nfg_reader.h"
#include "model/settings.h"
#include "solver/parallel_solve.h"
#include "solver/solve_method.h"
#include "support/random_games.h"
#include "support/solving.h"

namespace ludomark {
namespace {

TEST(MethodTable, NamesCodesAndLookups) {
  std::set<std::string> names;
  std::set<int> codes;
  for (const TSolveMethod* m : SolveMethods()) {
    EXPECT_TRUE(names.insert(m->Name).second) << m->Name;
    EXPECT_TRUE(codes.insert(m->Code).second) << m->Name;
    EXPECT_EQ(FindMethod(m->Name), m);
    EXPECT_EQ(&MethodOf(m->Code), m);
    ASSERT_NE(m->Stages, nullptr) << m->Name;
    const std::string none = m->NoSolution;
    ASSERT_FALSE(none.empty());
    EXPECT_EQ(NoSolutionText(*m, "why"), none.substr(0, none.size() - 1) + ": why.");
  }
  EXPECT_EQ(FindMethod("best"), nullptr);
  EXPECT_EQ(MethodOf(0).Code, kSolveMixed);
  EXPECT_EQ(MethodNameList(), "pure, mixed, tracing, sampling, lemke or exact");
}

// Stops the run at the second progress report of the named stage, and counts the reports that
// still come from that stage afterwards.
class StopInside : public testing::RecordingObserver {
 public:
  StopInside(TSolveRun& run, std::string stage) : run_(run), stage_(std::move(stage)) {}
  void StageCaption(const std::string& caption) override {
    RecordingObserver::StageCaption(caption);
    inStage_ = caption == stage_;
  }
  void ProgressFraction(double /*fraction*/) override {
    if (!inStage_) return;
    ++Reports;
    if (run_.Stopped) ++ReportsAfterStop;
    if (Reports == 2) run_.Stopped = true;
  }
  int Reports = 0;
  int ReportsAfterStop = 0;

 private:
  TSolveRun& run_;
  std::string stage_;
  bool inStage_ = false;
};

// Every stage of every method ends at its next iteration point once the stop token is set, and
// the later stages of the method do not start.
TEST(MethodTable, EveryStageOfEveryMethodAnswersTheStop) {
  const std::string table = testing::RandomTableNfg(5, 5, 7);
  const std::string tree = testing::RandomTreeEfg(4, 3);
  std::set<std::string> stopped;
  for (const TSolveMethod* method : SolveMethods()) {
    for (const bool isTable : {true, false}) {
      const auto read = [&](TGameType32& g) {
        if (isTable) {
          ReadNfgText(table, "t.nfg", g);
        } else {
          ReadEfgText(tree, "t.efg", g);
        }
      };
      TGameType32 whole;
      read(whole);
      testing::RecordingObserver all;
      TSolveRun full;
      const TSolveSettings settings{.Method = method->Code, .Jobs = 1};
      SolveGame(full, whole, all, settings, CopiesOf(whole));
      for (const char* stage : {"Profiling...", "Exploring...", "Sampling...", "Tracing...",
                                "Pivoting...", "Enumerating vertices..."}) {
        if (std::find(all.Captions.begin(), all.Captions.end(), stage) == all.Captions.end())
          continue;
        const std::string what = std::string(method->Name)
                                     .append(" ")
                                     .append(stage)
                                     .append(isTable ? " table" : " tree");
        TGameType32 game;
        read(game);
        TSolveRun run;
        StopInside view(run, stage);
        const TSolveResult result = SolveGame(run, game, view, settings, CopiesOf(game));
        if (view.Reports < 2) continue;  // the stage ended before a second report
        stopped.insert(what);
        EXPECT_TRUE(run.WasStopped) << what;
        EXPECT_FALSE(result.Complete) << what;
        EXPECT_NE(result.Outcome, TSolveOutcome::NoSolution) << what;
        EXPECT_LE(view.ReportsAfterStop, 1) << what;
        const auto at = std::find(view.Captions.begin(), view.Captions.end(), stage);
        for (auto it = at + 1; it != view.Captions.end(); ++it) {
          EXPECT_TRUE(*it == "Organizing..." || *it == "Cleaning up..." || *it == "Solved")
              << what << ": " << *it;
        }
      }
    }
  }
  // Every stage of every method was stopped on both games (backward induction has its own).
  EXPECT_EQ(stopped.size(), 14U) << ::testing::PrintToString(stopped);
}

}  // namespace
}  // namespace ludomark
