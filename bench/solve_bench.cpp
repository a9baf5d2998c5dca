// Whole solve runs: read, audit and solve each example with each method, and two generated
// games, a 4 x 4 x 4 table and a tree of eight information sets of two moves.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>

#include "audit/audit.h"
#include "game_generators.h"
#include "gamefile/game_file.h"
#include "model/move.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/random.h"
#include "model/settings.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"
#include "model/table_edit.h"
#include "solver/parallel_solve.h"
#include "solver/solve_run.h"

namespace ludomark {
namespace {

void Solve(TGameType32& game, int method) {
  if (!Audit(game)) return;
  SolveMethod = method;
  TSolveRun run;
  TSolveObserver quiet;
  run.RunSolve(game, quiet);
  SolveMethod = kSolveMixed;
}

void BM_SolveExample(benchmark::State& state, const std::string& file, int method) {
  const std::string path = std::string(LUDOMARK_EXAMPLES_DIR) + "/" + file;
  int solutions = 0;
  for (auto _ : state) {
    TGameType32 game;
    ReadGameFile(path, game);
    Solve(game, method);
    solutions = game.Solutions().LiveCount();
  }
  state.counters["solutions"] = solutions;
}

void ThreeByFour(TGameType32& game) {
  bench::BuildThreePlayerTable(game, 4, 7);
}

// Ann and Bob alternate down a binary tree, each node its own information set: 8 sets, 9 leaves.
void EightSets(TGameType32& game) {
  TUniformRandom random(11);
  std::vector<TPlayer32*> players;
  for (const char* name : {"Ann", "Bob"}) {
    auto* p = NewElement<TPlayer32>(&game);
    p->SetName(name);
    game.AddObject(p);
    players.push_back(p);
  }
  std::vector<TNode32*> nodes;
  for (int i = 0; i < 8; ++i) {
    auto* n = NewElement<TNode32>(&game);
    std::string name = "N";
    name += std::to_string(i);
    n->SetName(name);
    n->SetPlayer(players[static_cast<std::size_t>(i % 2)]);
    game.AddObject(n);
    nodes.push_back(n);
  }
  for (int i = 0; i < 8; ++i) {
    for (int k = 0; k < 2; ++k) {
      auto* m = NewElement<TMove32>(&game);
      m->SetName(k == 0 ? "left" : "right");
      m->From = nodes[static_cast<std::size_t>(i)];
      const int child = 2 * i + 1 + k;
      if (child < 8) {
        m->To = nodes[static_cast<std::size_t>(child)];
      }
      game.AddObject(m);
      if (child < 8) continue;
      for (TPlayer32* p : players) {
        auto* pay = NewElement<TPayoff32>(&game);
        pay->Move = m;
        pay->Player = p;
        pay->Value = static_cast<int>(random.Next() * 10);
        game.AddObject(pay);
      }
    }
  }
}

void BM_SolveGenerated(benchmark::State& state, void (*build)(TGameType32&), int method) {
  int solutions = 0;
  for (auto _ : state) {
    TGameType32 game;
    build(game);
    Solve(game, method);
    solutions = game.Solutions().LiveCount();
  }
  state.counters["solutions"] = solutions;
}

void RegisterAll() {
  for (const char* file :
       {"prisoners_dilemma.lmx", "battle_of_the_sexes.lmx", "matching_pennies.lmx",
        "rock_paper_scissors.lmx", "volunteers_dilemma.lmx", "risky_venture.lmx", "hidden_move.lmx",
        "bluff.lmx", "discounted_centipede.lmx"}) {
    for (int method : {kSolvePure, kSolveMixed, kSolveSampling}) {
      benchmark::RegisterBenchmark(
          ("BM_Solve/" + std::string(file) + "/method" + std::to_string(method)).c_str(),
          [file, method](benchmark::State& s) { BM_SolveExample(s, file, method); })
          ->Unit(benchmark::kMillisecond);
    }
  }
  for (int method : {kSolvePure, kSolveMixed, kSolveSampling}) {
    benchmark::RegisterBenchmark(
        ("BM_Solve/table4x4x4/method" + std::to_string(method)).c_str(),
        [method](benchmark::State& s) { BM_SolveGenerated(s, ThreeByFour, method); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        ("BM_Solve/tree8sets/method" + std::to_string(method)).c_str(),
        [method](benchmark::State& s) { BM_SolveGenerated(s, EightSets, method); })
        ->Unit(benchmark::kMillisecond);
  }
}

// A whole small run as the command line makes it: read, then solve on `jobs` threads (0: one
// per core, the default), each worker reading its own copy. The default must cost about what
// one thread does on games too small to share.
void BM_SmallRun(benchmark::State& state, const std::string& file, int jobs) {
  const std::string path = std::string(LUDOMARK_EXAMPLES_DIR) + "/" + file;
  const int threads = jobs > 0 ? jobs : static_cast<int>(std::thread::hardware_concurrency());
  for (auto _ : state) {
    TGameType32 game;
    ReadGameFile(path, game);
    TSolveRun run;
    TSolveObserver quiet;
    SolveGame(run, game, quiet, {.Method = 0, .Jobs = std::max(threads, 1)}, [&] {
      auto copy = std::make_unique<TGameType32>();
      ReadGameFile(path, *copy);
      return std::unique_ptr<TGameForm32>(std::move(copy));
    });
    benchmark::DoNotOptimize(game.Solutions().LiveCount());
  }
}

const int smallRuns = [] {
  for (const char* file :
       {"prisoners_dilemma.lmx", "battle_of_the_sexes.lmx", "bluff.lmx", "three_way_deal.lmx"}) {
    for (const int jobs : {0, 1}) {
      benchmark::RegisterBenchmark(
          (std::string("BM_SmallRun/") + file + (jobs == 0 ? "/default" : "/jobs1")).c_str(),
          [file, jobs](benchmark::State& s) { BM_SmallRun(s, file, jobs); })
          ->Unit(benchmark::kMillisecond);
    }
  }
  return 0;
}();

const int registered = (RegisterAll(), 0);

}  // namespace
}  // namespace ludomark
