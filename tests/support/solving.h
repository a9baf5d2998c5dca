#pragma once

#include <string>
#include <vector>

#include "document/game_form.h"
#include "model/solution.h"
#include "solver/solve_run.h"

namespace ludomark::testing {

// Records what a run tells its view.
class RecordingObserver : public TSolveObserver {
 public:
  void StageCaption(const std::string& caption) override { Captions.push_back(caption); }
  void RunningState(bool running, const std::string& title) override {
    Captions.push_back(running ? "running: " + title : title);
  }
  void ProgressReset() override { Bar = 0; }
  void ProgressStep(int amount) override { Bar += amount; }
  void PercentText(const std::string& text) override { Percent = text; }
  void SolutionsChanged() override { ++Refreshes; }
  void HideView() override { Hidden = true; }
  void ShowMessage(const std::string& text) override { Messages.push_back(text); }

  std::vector<std::string> Captions;
  std::vector<std::string> Messages;
  std::string Percent;
  int Bar = 0;
  int Refreshes = 0;
  bool Hidden = false;
};

// Reads, audits and solves an example game with the method; false when it cannot be read or
// fails the audit.
bool SolveExample(const std::string& fileName, int method, TGameType32& game,
                  RecordingObserver* observer = nullptr);

// Probability, expected value and best flag of a choice in a solution, by choice and set name
// (the side's name or the first member's name).
struct ChoiceValue {
  double Probability = -1;
  double Expected = 0;
  bool Best = false;
};
ChoiceValue ChoiceIn(TGameType32& game, const TSolution32& s, const std::string& choice,
                     const std::string& set);
double NodeValueIn(TGameType32& game, const TSolution32& s, const std::string& node,
                   const std::string& player);
double BeliefIn(TGameType32& game, const TSolution32& s, const std::string& node);
std::vector<std::string> SolutionNames(TGameType32& game);

}  // namespace ludomark::testing
