// One edit of a game of 10 000 nodes in the desktop's logic: what the interface thread spends
// between the command and its return (the undo point, the recovery copy handed to its writer).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "game_generators.h"
#include "gamefile/game_file.h"
#include "support/fake_main_host.h"

namespace ludomark {
namespace {

namespace fs = std::filesystem;

void BM_EditOfALargeGame(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "ludomark-edit-bench";
  fs::remove_all(dir);
  fs::create_directories(dir);
  ::setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
  const std::string path = (dir / "chain.lmx").string();
  {
    TGameType32 game;
    bench::BuildChain(game, static_cast<int>(state.range(0)), /*players=*/2);
    WriteGameFile(path, game);
  }
  testing::FakeMainHost host;
  testing::ScriptedRunner runner;
  TRecordedMessages messages;
  TMainForm form{host, runner, messages, "help.html"};
  host.Form = &form;
  form.FileOpen(path);
  TMDIChild& window = *host.ActiveChild();
  TGameObject32* node = window.Game().Nodes().ElementAt(1);
  int count = 0;
  runner.OnNode = [&](TNodeDlg& d) {
    d.NameChange(std::string("n").append(std::to_string(++count % 100)));
    return d.OKBtnClick();
  };
  for (auto _ : state) {
    window.SetCurrent(node);
    window.Execute(TWindowCommand::EditNode);
  }
  state.counters["nodes"] = static_cast<double>(window.Game().Nodes().LiveCount());
  form.Recovery().Flush();
  host.Clear();
  fs::remove_all(dir);
}
BENCHMARK(BM_EditOfALargeGame)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ludomark
