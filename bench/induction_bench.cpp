// Backward induction on games of perfect information: the whole solve (audit, induction,
// recording, organising), as a user waits for it.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "game_generators.h"
#include "model/settings.h"
#include "solver/solve_run.h"

namespace ludomark {
namespace {

template <class Build>
void SolveByInduction(benchmark::State& state, Build build) {
  for (auto _ : state) {
    state.PauseTiming();
    auto game = std::make_unique<TGameType32>();
    build(*game, static_cast<int>(state.range(0)));
    state.ResumeTiming();
    TSolveRun run;
    run.FixedMethod = kSolvePure;
    TSolveObserver quiet;
    const TSolveRun::Start start = run.Solve(*game, quiet);
    if (start != TSolveRun::Start::Ran) {
      std::string why = "the game was not solved:";
      game->Findings().ForEach([&](TGameObject32* e) { why.append(" ").append(e->Name); });
      state.SkipWithError(why.c_str());
      break;
    }
    state.counters["solutions"] = game->Solutions().LiveCount();
    state.PauseTiming();  // the game's own destruction is not the solve's
    game.reset();
    state.ResumeTiming();
  }
}

void BM_InductionChain(benchmark::State& state) {
  SolveByInduction(state,
                   [](TGameType32& g, int n) { bench::BuildChain(g, n, 2, /*realPayoffs=*/true); });
}
BENCHMARK(BM_InductionChain)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_InductionBinaryTree(benchmark::State& state) {
  SolveByInduction(state, [](TGameType32& g, int n) { bench::BuildPerfectTree(g, n); });
}
BENCHMARK(BM_InductionBinaryTree)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ludomark
