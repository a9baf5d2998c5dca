// Opening a game file of about 10 000 lines, and painting what was read, as File > Open does.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "game_generators.h"
#include "gamefile/game_file.h"
#include "ui/view/picture.h"

namespace ludomark {
namespace {

const std::string& LargeGameFile() {
  static const std::string path = [] {
    TGameType32 game;
    bench::BuildWideTree(game, 1950, /*fanOut=*/2);
    const std::string file =
        (std::filesystem::temp_directory_path() / "ludomark-bench.lmx").string();
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

void BM_PaintLargeGameFile(benchmark::State& state) {
  TGameType32 game;
  ReadGameFile(LargeGameFile(), game);
  TOffscreenPicture picture(2000, 2000);
  for (auto _ : state) picture.Paint(game, nullptr, /*grid=*/false);
}
BENCHMARK(BM_PaintLargeGameFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ludomark
