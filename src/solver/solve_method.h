#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "solver/memory_limit.h"

namespace ludomark {

class TGameForm32;
class TSolveRun;

// One way of solving, as a row of the method table: how the front ends name it, what its run
// needs, and its stages. The run prepares, allocates and organises around the stages; a new
// method is a file that defines its row and one entry in the table.
struct TSolveMethod {
  int Code = 0;            // the value of SolveMethod that picks it
  const char* Name = "";   // the command line's, the JSON output's and Python's name
  const char* Item = "";   // its item in the desktop's Solve Options
  const char* Title = "";  // the solve dialog's title while it works ("" for none)
  bool Shares = false;     // its work splits over several workers and shards
  bool Newton = false;     // its working data holds the Newton iteration's
  // It groups its solutions itself (into components), so the run leaves the grouping by
  // best-reply patterns, the extension along segments and the merging out.
  bool OwnGroups = false;
  // The audit refuses nodes of more than 12 moves (the methods that enumerate).
  bool DegreeLimit = true;
  // Said when a run ends without a solution and without a stop; the run's Failure, when it
  // has one, follows after a colon.
  const char* NoSolution = "No solution found.";
  // How the front ends introduce the run's Failure when they report it on its own.
  const char* FailureLead = "";
  void (*Stages)(TSolveRun& run) = nullptr;
  // Why it cannot take an audited game ("" when it can), asked before the run starts.
  std::string (*Refuses)(const TSolveRun& run, TGameForm32& game) = nullptr;
};

// Every method, in the order the front ends list them.
std::span<const TSolveMethod* const> SolveMethods();
// The method of that name, or nullptr.
const TSolveMethod* FindMethod(std::string_view name);
// The method of that code; Mixed for a code no method has.
const TSolveMethod& MethodOf(int code);
// The names for a message: "pure, mixed, ... or tracing".
std::string MethodNameList();

// What a run is asked to do, by value: the front ends fill it, nothing program-wide changes.
struct TSolveSettings {
  int Method = 0;  // a method's code; 0 takes the program-wide SolveMethod when the run starts
  int Jobs = 1;    // worker threads, for the methods that share their work
  std::uint64_t MemoryLimit = PhysicalMemoryBytes();
  bool Force = false;  // runs an enumeration that the estimate of its work says would not end
};

// How a run ended, for the front ends to report.
enum class TSolveOutcome {
  Solved,      // solutions found (after a stop too: WasStopped says whether all of them)
  Stopped,     // stopped before any solution
  NoSolution,  // the method ended without one (Reason says why when it knows)
  Refused,     // busy, flawed or too large: nothing was run (Reason says why)
};

}  // namespace ludomark
