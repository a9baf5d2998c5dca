// The audit on games as large as a file can make them: chains, wide trees, many players,
// large tables.
#include <benchmark/benchmark.h>

#include "audit/audit.h"
#include "game_generators.h"
#include "gamefile/nfg_reader.h"
#include "support/random_games.h"

namespace ludomark {
namespace {

template <class Build>
void AuditOf(benchmark::State& state, Build build) {
  TGameType32 game;
  build(game, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(Audit(game));
    state.PauseTiming();
    game.ResetDerived();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}

void BM_AuditChain(benchmark::State& state) {
  AuditOf(state, [](TGameType32& g, int n) { bench::BuildChain(g, n, 2); });
}
BENCHMARK(BM_AuditChain)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_AuditWideTree(benchmark::State& state) {
  AuditOf(state, [](TGameType32& g, int n) { bench::BuildWideTree(g, n, 3); });
}
BENCHMARK(BM_AuditWideTree)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Twenty nodes whose final moves pay every one of many players.
void BM_AuditManyPlayers(benchmark::State& state) {
  AuditOf(state, [](TGameType32& g, int n) { bench::BuildChain(g, 20, n); });
}
BENCHMARK(BM_AuditManyPlayers)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A random n x n table of two players, read as an .nfg is: the audit expands its n^2 cells.
void BM_AuditTable(benchmark::State& state) {
  AuditOf(state, [](TGameType32& g, int n) {
    ReadNfgText(testing::RandomTableNfg(n, n, 1), "table.nfg", g);
  });
}
BENCHMARK(BM_AuditTable)
    ->RangeMultiplier(10)
    ->Range(10, 1000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
}  // namespace ludomark
