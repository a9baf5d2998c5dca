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

// An equilibrium as a run met it, before it was recorded: enough for another process to
// record it exactly as the run would have (the probabilities are kept to the last bit).
// Kind of the point that holds the probabilities a shard's stages ended with.
constexpr int kEndState = 0;

struct TFoundPoint {
  int Stage = kFoundExploring;
  int Kind = 2;      // 1 pure, 2 mixed, or kEndState
  uint64_t Key = 0;  // its place in the stage: keys sort as the run meets the points
  std::vector<double> Probabilities;  // one per entry of the game's strategies, in list order

  bool operator==(const TFoundPoint&) const = default;
};

// True when a comes before b in a run: sampling, profiling, exploring, each by key.
bool FoundBefore(const TFoundPoint& a, const TFoundPoint& b);

// What one shard of a run leaves for the merge.
struct TShardPart {
  int Index = 1;  // 1 to Count
  int Count = 1;
  int Method = 2;
  int Choices = 0;       // entries of every point (the strategies after the audit), 0 if none
  bool Complete = true;  // false when the shard was stopped before its share was done
  std::vector<TFoundPoint> Points;
};

// The text of a part file: the game file's text (the game and the shard's own solutions, read
// back as usual),
// then the shard's own records, which a game reader skips, ending in a record that counts
// them and checksums everything before it, so a cut or damaged part is recognised.
std::string PartFileText(const std::string& fileText, const TShardPart& part);

// Reads a part written for the game whose records are `gameText` (the start of every part).
// Throws TFileError naming the file and what is wrong: missing, not a part, truncated,
// damaged, or from another game.
TShardPart ReadPartFile(const std::string& path, const std::string& gameText);

}  // namespace ludomark
