// Every extreme equilibrium, exactly: random n x n tables with payoffs 0-99 (the comparison
// with lrsnash is bench/exact_vs_lrsnash.sh) and the poker-like trees of 2^d cards. Counters:
// extreme equilibria found, and components.
#include <benchmark/benchmark.h>

#include <functional>
#include <random>
#include <string>

#include "game_generators.h"
#include "gamefile/nfg_reader.h"
#include "model/settings.h"
#include "solver/solve_run.h"

namespace ludomark {
namespace {

std::string Table(int n, unsigned seed) {
  std::mt19937 random(seed);
  std::string text =
      "NFG 1 R \"r\" { \"P1\" \"P2\" } { " + std::to_string(n) + " " + std::to_string(n) + " }\n\n";
  for (int k = 0; k < 2 * n * n; ++k) text += std::to_string(random() % 100) + " ";
  return text + "\n";
}

void Exact(benchmark::State& state, const std::function<void(TGameType32&)>& build) {
  int solutions = 0;
  int groups = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TGameType32 game;
    build(game);
    state.ResumeTiming();
    TSolveRun run;
    run.FixedMethod = kSolveExact;
    TSolveObserver quiet;
    if (run.Solve(game, quiet) != TSolveRun::Start::Ran) {
      state.SkipWithError("the run was refused");
      return;
    }
    solutions = game.Solutions().LiveCount();
    groups = game.Groups().LiveCount();
  }
  state.counters["equilibria"] = solutions;
  state.counters["components"] = groups;
}

void RegisterAll() {
  for (int n : {6, 8, 10, 12, 15}) {
    benchmark::RegisterBenchmark(
        ("BM_Exact/table/" + std::to_string(n)).c_str(),
        [n](benchmark::State& s) {
          Exact(s, [&](TGameType32& g) { ReadNfgText(Table(n, 1), "table.nfg", g); });
        })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(n >= 12 ? 1 : 5);
  }
  for (int rounds : {3, 5}) {
    benchmark::RegisterBenchmark(("BM_Exact/poker/d" + std::to_string(rounds)).c_str(),
                                 [rounds](benchmark::State& s) {
                                   Exact(s, [&](TGameType32& g) { bench::BuildPoker(g, rounds); });
                                 })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  }
}

const bool registered = (RegisterAll(), true);

}  // namespace
}  // namespace ludomark
