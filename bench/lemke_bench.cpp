// One equilibrium by Lemke's method on the sequence form: the poker-like trees of 2^d cards
// and random 12 x 12 tables. Counters: solutions found (1 when the method answered).
#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "audit/audit.h"
#include "game_generators.h"
#include "gamefile/nfg_reader.h"
#include "model/settings.h"
#include "solver/solve_run.h"
#include "support/random_games.h"

namespace ludomark {
namespace {

void Lemke(benchmark::State& state, const std::function<void(TGameType32&)>& build) {
  int solutions = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TGameType32 game;
    build(game);
    state.ResumeTiming();
    TSolveRun run;
    run.FixedMethod = kSolveLemke;
    TSolveObserver quiet;
    if (run.Solve(game, quiet) != TSolveRun::Start::Ran) {
      state.SkipWithError("the run was refused");
      return;
    }
    solutions = game.Solutions().LiveCount();
  }
  state.counters["solutions"] = solutions;
}

void RegisterAll() {
  for (int rounds : {3, 5, 7, 9}) {
    benchmark::RegisterBenchmark(("BM_Lemke/poker/d" + std::to_string(rounds)).c_str(),
                                 [rounds](benchmark::State& s) {
                                   Lemke(s, [&](TGameType32& g) { bench::BuildPoker(g, rounds); });
                                 })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(rounds > 7 ? 1 : 3);
  }
  for (uint64_t seed : {1, 2, 3}) {
    benchmark::RegisterBenchmark(("BM_Lemke/table12x12/seed" + std::to_string(seed)).c_str(),
                                 [seed](benchmark::State& s) {
                                   Lemke(s, [&](TGameType32& g) {
                                     ReadNfgText(testing::RandomTableNfg(12, 12, seed), "table.nfg",
                                                 g);
                                   });
                                 })
        ->Unit(benchmark::kMillisecond);
  }
}

const bool registered = (RegisterAll(), true);

}  // namespace
}  // namespace ludomark
