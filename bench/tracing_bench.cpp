// One equilibrium by Tracing on games where enumerating supports cannot finish: generated trees
// of growing size, a 12 x 12 table (the largest side the audit takes) and a 6 x 6 x 6 table of
// three players. Counters: the path's steps and the lambda it ended at.
#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "audit/audit.h"
#include "game_generators.h"
#include "gamefile/efg_reader.h"
#include "gamefile/nfg_reader.h"
#include "model/settings.h"
#include "solver/solve_run.h"
#include "support/random_games.h"

namespace ludomark {
namespace {

void Trace(benchmark::State& state, const std::function<void(TGameType32&)>& build) {
  int steps = 0;
  double lambda = 0;
  int solutions = 0;
  for (auto _ : state) {
    TGameType32 game;
    build(game);
    if (!Audit(game)) {
      state.SkipWithError("the game fails the audit");
      return;
    }
    TSolveRun run;
    run.FixedMethod = kSolveTracing;
    TSolveObserver quiet;
    run.RunSolve(game, quiet);
    steps = run.TracedSteps;
    lambda = run.TracedLambda;
    solutions = game.Solutions().LiveCount();
  }
  state.counters["steps"] = steps;
  state.counters["lambda"] = lambda;
  state.counters["solutions"] = solutions;
}

void RegisterAll() {
  // Growth with the number of information sets (two nodes each, two moves).
  for (int sets : {4, 8, 12, 16, 20, 24, 50, 100, 200}) {
    for (uint64_t seed : {1, 2, 3}) {
      if (sets > 24 && seed > 1) continue;
      benchmark::RegisterBenchmark(
          ("BM_Trace/tree" + std::to_string(sets) + "sets/seed" + std::to_string(seed)).c_str(),
          [sets, seed](benchmark::State& s) {
            Trace(s, [&](TGameType32& g) {
              ReadEfgText(testing::RandomTreeEfg(sets, seed), "tree.efg", g);
            });
          })
          ->Unit(benchmark::kMillisecond)
          ->Iterations(sets > 24 ? 1 : 3);
    }
  }
  for (uint64_t seed : {1, 2, 3}) {
    benchmark::RegisterBenchmark(("BM_Trace/table12x12/seed" + std::to_string(seed)).c_str(),
                                 [seed](benchmark::State& s) {
                                   Trace(s, [&](TGameType32& g) {
                                     ReadNfgText(testing::RandomTableNfg(12, 12, seed), "table.nfg",
                                                 g);
                                   });
                                 })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        ("BM_Trace/table6x6x6/seed" + std::to_string(seed)).c_str(),
        [seed](benchmark::State& s) {
          Trace(s, [&](TGameType32& g) { bench::BuildThreePlayerTable(g, 6, seed); });
        })
        ->Unit(benchmark::kMillisecond);
  }
}

const bool registered = (RegisterAll(), true);

}  // namespace
}  // namespace ludomark
