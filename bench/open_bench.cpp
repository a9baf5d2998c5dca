// Opening a game file of about 10 000 lines, and painting what was read: the view of a window
// (what File > Open shows), and the whole picture (what Export writes).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "game_generators.h"
#include "gamefile/game_file.h"
#include "model/move.h"
#include "model/node.h"
#include "ui/view/picture.h"

namespace ludomark {
namespace {

const std::string& LargeGameFile() {
  static const std::string path = [] {
    TGameType32 game;
    bench::BuildWideTree(game, 1950, /*fanOut=*/2);
    // Spread as a person would draw it: 40 nodes a row, rows 200 units apart.
    int i = 0;
    game.Nodes().ForEach([&](TGameObject32* n) {
      n->SetPosition(40 + (i % 40) * 48, 40 + (i / 40) * 200);
      ++i;
    });
    // Each handle halfway along its move, a final move's a little below its node.
    game.Moves().ForEachAs<TMove32>([](TMove32* m) {
      const TNode32* from = m->From.get();
      const TNode32* to = m->To.get();
      if (from == nullptr) return;
      m->SetPosition(to != nullptr ? (from->X + to->X) / 2 : from->X + 20,
                     to != nullptr ? (from->Y + to->Y) / 2 : from->Y + 60);
    });
    std::string file = (std::filesystem::temp_directory_path() / "ludomark-bench.lmx").string();
    WriteGameFile(file, game);
    return file;
  }();
  return path;
}

void BM_OpenLargeGameFile(benchmark::State& state) {
  const std::string& path = LargeGameFile();
  int64_t records = 0;
  for (auto _ : state) {
    TGameType32 game;
    ReadGameFile(path, game);
    records = game.Players().LiveCount() + game.Nodes().LiveCount() + game.Moves().LiveCount() +
              game.Infos().LiveCount() + game.Payoffs().LiveCount();
  }
  state.counters["records"] = static_cast<double>(records);
}
BENCHMARK(BM_OpenLargeGameFile)->Unit(benchmark::kMillisecond);

void BM_PaintWindowOfLargeGame(benchmark::State& state) {
  TGameType32 game;
  ReadGameFile(LargeGameFile(), game);
  TOffscreenPicture picture(1280, 800);
  const TRect view{0, 0, 1280, 800};
  for (auto _ : state) picture.Paint(game, nullptr, /*grid=*/false, &view);
}
BENCHMARK(BM_PaintWindowOfLargeGame)->Unit(benchmark::kMillisecond);

void BM_PaintWholeLargeGame(benchmark::State& state) {
  TGameType32 game;
  ReadGameFile(LargeGameFile(), game);
  TOffscreenPicture picture(game.ExtentX, game.ExtentY);
  for (auto _ : state) picture.Paint(game, nullptr, /*grid=*/false);
  state.counters["height"] = game.ExtentY;
}
BENCHMARK(BM_PaintWholeLargeGame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ludomark
