// Importing a .efg tree of about 10 000 nodes and laying it out.
#include <benchmark/benchmark.h>

#include <string>

#include "gamefile/efg_reader.h"

namespace ludomark {
namespace {

// A binary tree of the two players taking turns under a chance root, each leaf its own outcome;
// every node its own information set.
std::string TreeText(int depth) {
  std::string text = "EFG 2 R \"Bench\" { \"Ann\" \"Bob\" }\n\"\"\n";
  text += "c \"root\" 1 \"\" { \"heads\" 1/2 \"tails\" 1/2 } 0\n";
  int outcome = 0;
  int set = 0;
  // Pre-order without recursion: (level, index within the level).
  std::vector<std::pair<int, int>> stack{{1, 1}, {1, 0}};
  while (!stack.empty()) {
    const auto [level, index] = stack.back();
    stack.pop_back();
    if (level == depth) {
      ++outcome;
      text += "t \"\" " + std::to_string(outcome) + " \"\" { " + std::to_string(outcome % 7) + " " +
              std::to_string(-(outcome % 5)) + " }\n";
      continue;
    }
    const int player = level % 2 + 1;
    ++set;
    text += "p \"\" " + std::to_string(player) + " " + std::to_string(set) +
            " \"\" { \"L\" \"R\" } 0\n";
    stack.emplace_back(level + 1, index * 2 + 1);
    stack.emplace_back(level + 1, index * 2);
  }
  return text;
}

void BM_ImportLargeTree(benchmark::State& state) {
  const std::string text = TreeText(13);
  int64_t nodes = 0;
  for (auto _ : state) {
    TGameType32 game;
    ReadEfgText(text, "bench.efg", game);
    nodes = game.Nodes().LiveCount() + game.Moves().LiveCount();
  }
  state.counters["nodes+moves"] = static_cast<double>(nodes);
}
BENCHMARK(BM_ImportLargeTree)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ludomark
