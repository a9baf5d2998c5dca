#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "document/game_form.h"
#include "model/settings.h"
#include "solver/found_point.h"
#include "solver/memory_limit.h"
#include "solver/solve_observer.h"

namespace ludomark {

class TInfo32;
class TLogitPath;
class TTracingWatcher;

// The state of a solve run and its stages: enumeration of pure profiles and supports, the
// Newton iteration for mixed equilibria, sampling, organising. One run at a time.
class TSolveRun {
 public:
  static constexpr int kBarMaximum = 265;
  // Supports per shard a unit of sharing stands for at least (see Descend).
  static constexpr double kUnitShare = 256;

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

  // A shard explores only its share of the supports (or samples): the units of supports (or
  // the samples), counted from 0 in the order of the run, whose mixed number leaves
  // ShardIndex - 1 when divided by ShardCount. Profiling and elimination run whole in every
  // shard.
  int ShardIndex = 1;
  int ShardCount = 1;
  // Workers of one process share the units instead: each takes the next one nobody has
  // taken, through this counter (the same for all of them, from 0).
  std::atomic<uint64_t>* SharedUnits = nullptr;
  // When set, every equilibrium the run meets is also kept here as it was met, so that the
  // points of all shards can be recorded later in the order one run meets them.
  std::vector<TFoundPoint>* Found = nullptr;
  // A worker whose points are recorded elsewhere leaves recording (and organising) out.
  bool RecordsSolutions = true;
  // The method of the next run; 0 takes the program-wide SolveMethod when the run is prepared.
  // Either way the run keeps its method to its end, whatever the setting does meanwhile.
  int FixedMethod = 0;
  // The method of the run under way (outside a run, the program-wide one).
  int Method() const { return method_ != 0 ? method_ : SolveMethod; }
  // Wall time of the Exploring (or Sampling) stage of the last run.
  double ExploringSeconds = 0;
  // The last Tracing run: how far its path went and in how many steps.
  double TracedLambda = 0;
  int TracedSteps = 0;
  int TracedTurns = 0;  // steps on which lambda went back
  // When set, every point the path reaches (log-probabilities of the choices of the sets of
  // players in the run's order, lambda last) is kept here.
  std::vector<std::vector<double>>* TracedPoints = nullptr;
  // Why the last run's method ended without a solution, when it knows ("" otherwise).
  std::string Failure;
  // Whether the last run ended by a stop (Abort, a signal) rather than at its end: what it
  // found may be less than the whole.
  bool WasStopped = false;

  // The memory a run may take for its working data; a game whose work needs more is refused
  // (Refused, with Refusal saying why) instead of ending the program when memory runs out.
  std::uint64_t MemoryLimit = PhysicalMemoryBytes();
  // Runs Pure or Mixed even where the estimate of their work says they would not finish.
  bool Force = false;
  std::string Refusal;

  enum class Start { Flawed, Busy, Ran, Stopped, Refused };
  // The Solve command once it has decided to solve: refuses while another run is busy, audits
  // (a flawed game keeps its findings and loses its derived elements), drops the old
  // solutions and runs. Stopped answers a stop that came during the audit (nothing derived
  // is left); a stop during the stages ends them early and the solutions found are kept.
  Start Solve(TGameForm32& game, TSolveObserver& observer);
  // Solve up to the stages: Ran means the game is audited and ready for RunSolve or RunMerge.
  Start Prepare(TGameForm32& game);
  // Runs the stages of the program-wide SolveMethod on an audited game.
  void RunSolve(TGameForm32& game, TSolveObserver& observer);
  // Ends a run whose stages other runs (the shards) took: records their points in the order one
  // run meets them, then organises as a run does. Points the game does not confirm as
  // equilibria (another game's) are left out and counted in Unconfirmed.
  void RunMerge(TGameForm32& game, TSolveObserver& observer, std::vector<TFoundPoint> points);
  int Unconfirmed = 0;

  // The stages the methods are made of (see solve_method.h), each checking Stopped at its own
  // iteration points; none starts after a stop. Sampling: Newton's iteration from random points.
  // Profiling: every pure profile. Exploring: elimination, then every support left. Tracing: the
  // logit path.
  void Sample();
  // Backward induction, when the game has perfect information and no cycle: every
  // subgame-perfect equilibrium in pure choices, ties followed. False (nothing recorded) when
  // the game is not of that kind, or has more of them than a list holds: InducedLimit, and in
  // a large game fewer, so that their values at every node and choice take at most
  // kInducedListEntries numbers.
  bool InduceBackwards();
  static constexpr int kMaxInducedSolutions = 1000;
  static constexpr long long kInducedListEntries = 4000000;
  int InducedLimit = kMaxInducedSolutions;
  // Off: the enumeration even where backward induction applies (to compare the two).
  bool Induction = true;
  void Profile();
  void Explore();
  void Trace();
  // Lemke's pivoting on the sequence form (two players, no cycles).
  void SolveSequenceForm();
  // Every extreme equilibrium of a two-player game without cycles, exactly, grouped into the
  // maximal convex sets of equilibria they span.
  void SolveExactly();
  // What the stages share with any method: the caption, the log, the progress bar and
  // percentage (a share of 1 / weight added), the root's set.
  void Caption(const std::string& caption);
  void Log(const std::string& line);
  void AddProgress(double weight);
  void ResetProgressBar();
  TInfo32* RootSet() const;

  // Steps of the stages that tests drive on their own.
  // Enumeration over information sets, from a set, with the weight of its subtree.
  void Enumerate(double weight, TInfo32* info);
  // The share of the progress a leaf of the enumeration below the set is worth.
  double LeafWeight(TInfo32* info, double weight);
  // The Newton step: its length adapted to the last progress, and taken (to a facet at most).
  void AdaptStep();
  void TakeStep(bool random);

 private:
  friend class TTracingWatcher;
  void ShowProgress();
  bool TracePolish(const TLogitPath& path, const std::vector<double>& point,
                   const std::vector<double>& tangent);
  bool TracePolishOn(const TLogitPath& path, const std::vector<double>& point,
                     const std::vector<char>& kept);
  void ShowTracing(double lambda);
  bool PolishOnSupport();
  void HandOverToLemke();
  void BestRepliesOffThePath();
  void SetRunning(bool running);
  void Descend(double weight, TInfo32* info);
  TInfo32* NextInfo(TInfo32* info);
  void EvaluateLeaf();
  bool OwnsLeaf(uint64_t number) const;
  void SkipStartPoint();
  void MetEquilibrium(int kind);
  // Remembers the leaf (or sample) being evaluated as the last one so far.
  void NoteLeaf();
  TFoundPoint CapturePoint(int stage, int kind, uint64_t key) const;
  // The first and last steps every run shares: working data allocated, running state shown;
  // solutions organised, working data freed.
  void Begin(TGameForm32& game, TSolveObserver& observer);
  void FinishRun(TSolveObserver& observer);
  // Fixes the run's method, unless it already has one.
  void TakeMethod();
  void RecordProfileLeaf();
  void Iterate(bool random);
  bool SetStartPoint(bool random);
  void ClipStep();
  void DropVanished();
  void LogState(int n, int hits);
  void LogDirections();

  int method_ = 0;
  int stage_ = kFoundProfiling;
  uint64_t unitNumber_ = 0;  // units of supports met so far
  uint64_t unit_ = 0;        // the current unit
  bool inUnit_ = false;
  uint64_t leafNumber_ = 0;  // leaves met so far in the stage (in the unit when exploring)
  uint64_t key_ = 0;         // the place of the current leaf or sample
  bool hasLast_ = false;     // the last leaf or sample evaluated, whose state the run ends in
  int lastStage_ = kFoundProfiling;
  uint64_t lastKey_ = 0;
};

// The title of the solve dialog while a run of the method works ("" for sampling).
std::string RunTitle(int method);

struct TSolveMethod;
// What the view says when a run of the method ends without a solution, with the reason.
std::string NoSolutionText(const TSolveMethod& method, const std::string& failure);

// The text of the percentage: fraction x 100 to four significant digits, two decimals, "%".
std::string PercentText(double fraction);

// Marks for the enumeration: with all, every set and choice; otherwise only chance sets and
// their choices, and the sets of players cleared.
void MarkInfos(TGameForm32& game, bool all);

}  // namespace ludomark
