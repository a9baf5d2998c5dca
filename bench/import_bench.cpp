// Importing exchange files: a .efg tree of about 10 000 nodes, a chance node of 100 000 actions
// and a 1 000 x 1 000 .nfg table (a million cells), each laid out. Each should grow linearly
// with its size: the table within 10 s, the wide chance node within 1 s.
#include <benchmark/benchmark.h>

#include <string>

#include "gamefile/efg_reader.h"
#include "gamefile/nfg_reader.h"

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

void BM_ImportWideChance(benchmark::State& state) {
  const auto actions = static_cast<int>(state.range(0));
  std::string text = "EFG 2 R \"Wide\" { \"Ann\" \"Bob\" }\n\"\"\nc \"\" 1 \"\" {";
  for (int i = 0; i < actions; ++i) {
    text += " \"a" + std::to_string(i) + "\" 1/" + std::to_string(actions);
  }
  text += " } 0\n";
  for (int i = 1; i <= actions; ++i) {
    text += "t \"\" " + std::to_string(i) + " \"\" { " + std::to_string(i % 7) + " 0 }\n";
  }
  for (auto _ : state) {
    TGameType32 game;
    ReadEfgText(text, "bench.efg", game);
    benchmark::DoNotOptimize(game.Moves().Count());
  }
}
BENCHMARK(BM_ImportWideChance)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ImportLargeTable(benchmark::State& state) {
  const auto side = static_cast<std::size_t>(state.range(0));
  std::string text = "NFG 1 R \"Large\" { \"Ann\" \"Bob\" } { " + std::to_string(side) + " " +
                     std::to_string(side) + " }\n\"\"\n";
  text.reserve(text.size() + side * side * 4);
  for (std::size_t cell = 0; cell < side * side; ++cell) {
    text += std::to_string(cell % 10) + " " + std::to_string(cell % 7) + " ";
  }
  for (auto _ : state) {
    TGameType32 game;
    ReadNfgText(text, "bench.nfg", game);
    benchmark::DoNotOptimize(game.Moves().Count());
  }
}
BENCHMARK(BM_ImportLargeTable)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace ludomark
