// Cost of one support in the Exploring stage (the mixed iteration started at each support
// that is not pruned), on generated tables, trees with information sets, and a game with
// cycles; and the whole Exploring stage on one thread against two.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "audit/audit.h"
#include "game_generators.h"
#include "gamefile/exchange_file.h"
#include "gamefile/game_file.h"
#include "model/settings.h"
#include "solver/parallel_solve.h"
#include "solver/solve_run.h"
#include "support/random_games.h"

namespace ludomark {
namespace {

enum GameKind { kTable = 0, kTree = 1, kCycles = 2 };

// The game of a kind and size: a size x size table, a tree of size information sets, or a
// game of size nodes with cycles.
std::unique_ptr<TGameType32> MakeGame(int kind, int size) {
  auto game = std::make_unique<TGameType32>();
  if (kind == kCycles) {
    // Through its file text, which links the game as reading a file does.
    TGameType32 built;
    bench::BuildGeneratedGame(built, size, /*cycles=*/true);
    ReadGameText(GameFileText(built), *game);
    return game;
  }
  const std::string text =
      kind == kTable ? testing::RandomTableNfg(size, size, 3) : testing::RandomTreeEfg(size, 1);
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     (kind == kTable ? "ludomark-bench.nfg" : "ludomark-bench.efg");
  std::ofstream(file, std::ios::binary) << text;
  ReadExchangeFile(file.string(), *game);
  std::filesystem::remove(file);
  return game;
}

// Exploring time per support iterated (manual time: the stage alone).
void BM_ExploringPerSupport(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const int size = static_cast<int>(state.range(1));
  SolveMethod = kSolveMixed;
  int supports = 0;
  int solutions = 0;
  double seconds = 0;
  for (auto _ : state) {
    std::unique_ptr<TGameType32> game = MakeGame(kind, size);
    TSolveRun run;
    TSolveObserver quiet;
    if (run.Solve(*game, quiet) != TSolveRun::Start::Ran) state.SkipWithError("not solvable");
    state.SetIterationTime(run.ExploringSeconds);
    seconds = run.ExploringSeconds;
    supports = run.Iterations;
    solutions = game->Solutions().LiveCount();
  }
  state.counters["supports"] = supports;
  state.counters["solutions"] = solutions;
  state.counters["us_per_support"] = seconds * 1e6 / (supports > 0 ? supports : 1);
}
BENCHMARK(BM_ExploringPerSupport)
    ->Args({kTable, 5})
    ->Args({kTable, 6})
    ->Args({kTable, 7})
    ->Args({kTable, 8})
    ->Args({kTree, 6})
    ->Args({kTree, 7})
    ->Args({kTree, 8})
    ->Args({kCycles, 16})
    ->Args({kCycles, 18})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The whole run on `jobs` threads; manual time is the Exploring stage (the slowest worker's).
void BM_ExploringOnThreads(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const int size = static_cast<int>(state.range(1));
  const int jobs = static_cast<int>(state.range(2));
  SolveMethod = kSolveMixed;
  for (auto _ : state) {
    std::unique_ptr<TGameType32> game = MakeGame(kind, size);
    TSolveRun run;
    TSolveObserver quiet;
    SolveGame(run, *game, quiet, {.Method = kSolveMixed, .Jobs = jobs}, [&] {
      std::unique_ptr<TGameForm32> copy = MakeGame(kind, size);
      return copy;
    });
    state.SetIterationTime(run.ExploringSeconds);
    state.counters["solutions"] = game->Solutions().LiveCount();
  }
}
BENCHMARK(BM_ExploringOnThreads)
    ->ArgsProduct({{kTable}, {5, 6, 7, 8, 9}, {1, 2}})
    ->ArgsProduct({{kTree}, {6, 7, 8, 9}, {1, 2}})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The shards of a run one after the other: manual time is the sum of their Exploring stages,
// to set against one run's (the work they share out is not done twice).
void BM_ExploringInShards(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const int size = static_cast<int>(state.range(1));
  const int shards = static_cast<int>(state.range(2));
  SolveMethod = kSolveMixed;
  for (auto _ : state) {
    double sum = 0;
    for (int i = 1; i <= shards; ++i) {
      std::unique_ptr<TGameType32> game = MakeGame(kind, size);
      TSolveRun run;
      run.ShardIndex = i;
      run.ShardCount = shards;
      TSolveObserver quiet;
      run.Solve(*game, quiet);
      sum += run.ExploringSeconds;
    }
    state.SetIterationTime(sum);
  }
}
BENCHMARK(BM_ExploringInShards)
    ->ArgsProduct({{kTable}, {8}, {1, 2, 4}})
    ->ArgsProduct({{kTree}, {8}, {1, 2, 4}})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ludomark
