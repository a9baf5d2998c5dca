#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ludomark {

// The stages of a run that meet equilibria, in the order a run takes them.
enum TFoundStage : int {
  kFoundSampling = 3,
  kFoundProfiling = 1,
  kFoundExploring = 2,
};

// What a found point holds: a pure or a mixed equilibrium, or the probabilities a shard's
// stages ended with (its end state).
enum TFoundKind : int {
  kEndState = 0,
  kFoundPure = 1,
  kFoundMixed = 2,
};

// An equilibrium as a run met it, before it was recorded: enough for another run to record it
// exactly as this one would have (the probabilities are kept to the last bit).
struct TFoundPoint {
  int Stage = kFoundExploring;
  int Kind = kFoundMixed;
  uint64_t Key = 0;  // its place in the stage: keys sort as the run meets the points
  std::vector<double> Probabilities;  // one per entry of the game's strategies, in list order
  // A traced point: the beliefs (by node number) it keeps where play does not reach; its run
  // weighs play from the start only. Empty for the other methods' points.
  std::vector<double> HeldBeliefs;
  // A method that computes exactly: each probability as a fraction ("2/3"), in list order
  // ("" for a choice it gives none), and the groups (components) the point belongs to.
  std::vector<std::string> Exact;
  std::vector<int> Groups;

  bool operator==(const TFoundPoint&) const = default;
};

// True when a comes before b in a run: sampling, profiling, exploring, each by key.
bool FoundBefore(const TFoundPoint& a, const TFoundPoint& b);

}  // namespace ludomark
