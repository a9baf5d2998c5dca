// Costs of the model's bulk operations on large tables: building, rebuilding, expanding and
// tearing down.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "document/game_form.h"
#include "model/player.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"
#include "model/table_edit.h"

namespace ludomark {
namespace {

TTable32* SquareTable(TGameType32& game, int n) {
  auto* table = NewElement<TTable32>(&game);
  game.AddObject(table);
  for (const char* name : {"Ann", "Bob"}) {
    auto* player = NewElement<TPlayer32>(&game);
    player->SetName(name);
    game.AddObject(player);
    std::unique_ptr<TSide32> scratch = MakeScratchSide(nullptr, *table);
    scratch->Player = player;
    for (int i = 0; i < n; ++i) {
      auto* s = NewElement<TStrat32>(&game);
      s->SetName(std::string(name) + std::to_string(i));
      s->Info = scratch.get();
      scratch->AddChoice(s);
    }
    ApplySideEdit(nullptr, *scratch, *table);
  }
  return table;
}

void BM_BuildSquareTable(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TGameType32 game;
    benchmark::DoNotOptimize(SquareTable(game, n));
  }
  state.SetComplexityN(static_cast<int64_t>(n) * n);
}
BENCHMARK(BM_BuildSquareTable)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond);

void BM_RebuildCompleteTable(benchmark::State& state) {
  TGameType32 game;
  TTable32* table = SquareTable(game, static_cast<int>(state.range(0)));
  for (auto _ : state) table->RebuildCells();
}
BENCHMARK(BM_RebuildCompleteTable)->Arg(10)->Arg(40)->Unit(benchmark::kMillisecond);

void BM_ExpandAndReset(benchmark::State& state) {
  TGameType32 game;
  TTable32* table = SquareTable(game, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    table->Expand();
    game.ResetDerived();
  }
}
BENCHMARK(BM_ExpandAndReset)->Arg(10)->Arg(40)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ludomark
