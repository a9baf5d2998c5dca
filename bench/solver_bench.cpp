// Speed of the inversion and of one evaluation, the solver's inner loop.
#include <benchmark/benchmark.h>

#include <fstream>
#include <vector>

#include "audit/audit.h"
#include "game_generators.h"
#include "model/matrix.h"
#include "model/random.h"
#include "solver/evaluation.h"

namespace ludomark {
namespace {

void FillDiagonallyDominant(TMatrix& m, const std::vector<double>& values) {
  const int n = m.Capacity();
  for (int i = 1; i <= n; ++i) {
    double* row = m.Row(i);
    for (int j = 0; j < n; ++j)
      row[j] = values[(static_cast<std::size_t>(i) - 1) * static_cast<std::size_t>(n) +
                      static_cast<std::size_t>(j)];
  }
}

void BM_InvertDense(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TUniformRandom random(1);
  std::vector<double> values(static_cast<std::size_t>(n * n));
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      values[static_cast<std::size_t>(i) * static_cast<std::size_t>(n) +
             static_cast<std::size_t>(j)] = (i == j ? n : 0) + random.Next() - 0.5;
    }
  }
  TMatrix m(nullptr, /*augmented=*/true, n, n);
  for (auto _ : state) {
    FillDiagonallyDominant(m, values);
    m.Invert();
    benchmark::DoNotOptimize(m.Singular);
  }
  // Counting 2 n^3 operations for an n x n inversion.
  state.counters["GFLOP/s"] =
      benchmark::Counter(2.0 * n * n * n * 1e-9, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_InvertDense)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// One evaluation of a generated game (tree or with cycles), by components or (third argument
// 1) through the dense inverse.
void BM_Evaluate(benchmark::State& state) {
  TGameType32 game;
  bench::BuildGeneratedGame(game, static_cast<int>(state.range(0)), state.range(1) != 0);
  UseDenseEvaluation(state.range(2) != 0);
  AllocateWork(game);
  UseDenseEvaluation(/*on=*/false);
  for (auto _ : state) benchmark::DoNotOptimize(Evaluate(game, /*all=*/true));
  state.counters["nodes"] = game.Nodes().LiveCount();
}

double ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  double pages = 0;
  statm >> pages >> pages;
  return pages * 4096 / 1e6;
}

// One evaluation of a chain of nodes (each with a move on and a final move): the working data
// an evaluation needs (work_MB) and the whole process with the game (rss_MB).
void BM_EvaluateChain(benchmark::State& state) {
  TGameType32 game;
  bench::BuildChain(game, static_cast<int>(state.range(0)), /*players=*/2);
  Audit(game);
  state.counters["work_MB"] = static_cast<double>(WorkBytes(game, /*newton=*/false)) / 1e6;
  AllocateWork(game);
  benchmark::DoNotOptimize(Evaluate(game, /*all=*/true));
  state.counters["rss_MB"] = ResidentMegabytes();
  for (auto _ : state) benchmark::DoNotOptimize(Evaluate(game, /*all=*/true));
  state.counters["nodes"] = game.Nodes().LiveCount();
}
BENCHMARK(BM_EvaluateChain)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The inversion of the same game's I - T alone, the yardstick for one evaluation.
void BM_InvertReachOnly(benchmark::State& state) {
  TGameType32 game;
  bench::BuildGeneratedGame(game, static_cast<int>(state.range(0)), state.range(1) != 0);
  AllocateWork(game);
  BuildReachMatrix(game);
  TMatrix& reach = *game.Work->ReachInverse;
  const int n = reach.Capacity();
  std::vector<double> left;
  for (int i = 1; i <= n; ++i) left.insert(left.end(), reach.Row(i), reach.Row(i) + n);
  for (auto _ : state) {
    for (int i = 1; i <= n; ++i) {
      const auto row = static_cast<std::ptrdiff_t>(i - 1) * n;
      std::copy(left.begin() + row, left.begin() + row + n, reach.Row(i));
    }
    reach.Invert();
    benchmark::DoNotOptimize(reach.Singular);
  }
}

void GameSizes(benchmark::internal::Benchmark* b) {
  for (int dense : {0, 1}) {
    for (int cycles : {0, 1}) {
      for (int nodes : {25, 100, 400}) b->Args({nodes, cycles, dense});
    }
  }
}
BENCHMARK(BM_Evaluate)->Apply(GameSizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InvertReachOnly)->ArgsProduct({{25, 100, 400}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ludomark
