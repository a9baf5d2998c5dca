#pragma once

#include <atomic>
#include <string>

#include "document/game_form.h"
#include "solver/solve_observer.h"

namespace ludomark {

class TInfo32;

// The state of a solve run and its stages: enumeration of pure profiles and supports, the
// Newton iteration for mixed equilibria, sampling, organising. One run at a time.
class TSolveRun {
 public:
  static constexpr int kBarMaximum = 265;

  TGameForm32* Game = nullptr;
  TSolveObserver* Observer = nullptr;
  bool Busy = false;
  bool Profiling = false;
  // Set by Abort (or a signal) and when the run ends; every stage looks at it.
  std::atomic<bool> Stopped{false};
  bool FacetHit = false;
  int Iterations = 0;
  int FacetStops = 0;
  int MaxSteps = 12;
  int SampleCount = 200;
  double Progress = 0;
  int BarPosition = 0;
  double StartNorm = 0;
  double PrevSqrNorm = 1;
  double Step = 1;
  double CVTest = 0;

  enum class Start { Flawed, Busy, Ran, Stopped };
  // The Solve command once it has decided to solve: refuses while another run is busy, audits
  // (a flawed game keeps its findings and loses its derived elements), drops the old
  // solutions and runs. Stopped answers a stop that came during the audit (nothing derived
  // is left); a stop during the stages ends them early and the solutions found are kept.
  Start Solve(TGameForm32& game, TSolveObserver& observer);
  // Runs the stages of the program-wide SolveMethod on an audited game.
  void RunSolve(TGameForm32& game, TSolveObserver& observer);

  // Steps of the stages that tests drive on their own.
  // Enumeration over information sets, from a set, with the weight of its subtree.
  void Enumerate(double weight, TInfo32* info);
  // The share of the progress a leaf of the enumeration below the set is worth.
  double LeafWeight(TInfo32* info, double weight);
  // The Newton step: its length adapted to the last progress, and taken (to a facet at most).
  void AdaptStep();
  void TakeStep(bool random);

 private:
  void AddProgress(double weight);
  void SetRunning(bool running);
  void Descend(double weight, TInfo32* info);
  TInfo32* NextInfo(TInfo32* info);
  void EvaluateLeaf();
  void RecordProfileLeaf();
  void Iterate(bool random);
  bool SetStartPoint(bool random);
  void ClipStep();
  void DropVanished();
  void Caption(const std::string& caption);
  void Log(const std::string& line);
  void LogState(int n, int hits);
  void LogDirections();
};

// The text of the percentage: fraction x 100 to four significant digits, two decimals, "%".
std::string PercentText(double fraction);

// Marks for the enumeration: with all, every set and choice; otherwise only chance sets and
// their choices, and the sets of players cleared.
void MarkInfos(TGameForm32& game, bool all);

}  // namespace ludomark
