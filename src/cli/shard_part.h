#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "solver/found_point.h"

namespace ludomark {

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
