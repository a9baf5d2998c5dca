// Work that cannot finish is refused before it starts, and the methods that do not enumerate
// take nodes of any number of moves.
#include "solver/work_estimate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "gamefile/efg_reader.h"
#include "gamefile/nfg_reader.h"
#include "model/settings.h"
#include "solver/solve_run.h"
#include "support/random_games.h"
#include "support/run_cli.h"
#include "support/solving.h"
#include "support/test_folder.h"

namespace ludomark {
namespace {

TSolveRun::Start Prepared(TGameType32& game, int method, bool force, std::string& refusal,
                          std::uint64_t memory = std::uint64_t{1} << 40) {
  TSolveRun run;
  run.FixedMethod = method;
  run.Force = force;
  run.MemoryLimit = memory;
  const TSolveRun::Start start = run.Prepare(game);
  refusal = run.Refusal;
  return start;
}

TEST(WorkEstimate, EnumerationsThatWouldNotFinishAreRefusedUnlessForced) {
  const std::string big = testing::RandomTreeEfg(60, 5);  // 2^60 profiles, less eliminations
  const std::string small = testing::RandomTableNfg(5, 5, 3);
  for (const auto& [method, name] : {std::pair{kSolvePure, "Pure"}, {kSolveMixed, "Mixed"}}) {
    TGameType32 game;
    ReadEfgText(big, "big.efg", game);
    std::string why;
    EXPECT_EQ(Prepared(game, method, /*force=*/false, why), TSolveRun::Start::Refused);
    const std::string end =
        std::string(" pure profiles; ") + name + " would not finish. Try Tracing or lemke.";
    EXPECT_EQ(why.rfind("This game has about 10^", 0), 0U) << why;
    ASSERT_GE(why.size(), end.size());
    EXPECT_EQ(why.substr(why.size() - end.size()), end);
    EXPECT_GE(std::stoi(why.substr(23)), 9) << why;
    TGameType32 forced;
    ReadEfgText(big, "big.efg", forced);
    EXPECT_EQ(Prepared(forced, method, /*force=*/true, why), TSolveRun::Start::Ran);
    TGameType32 table;
    ReadNfgText(small, "small.nfg", table);
    EXPECT_EQ(Prepared(table, method, /*force=*/false, why), TSolveRun::Start::Ran) << why;
  }
  // Supports grow faster than profiles: three of them for two choices.
  TGameType32 many;
  const std::string sets = testing::RandomTreeEfg(12, 1);
  ReadEfgText(sets, "sets.efg", many);
  std::string why;
  EXPECT_EQ(Prepared(many, kSolveMixed, /*force=*/false, why), TSolveRun::Start::Refused);
  const std::string supports = " supports; Mixed would not finish. Try Tracing or lemke.";
  ASSERT_GE(why.size(), supports.size());
  EXPECT_EQ(why.substr(why.size() - supports.size()), supports) << why;
  TGameType32 pure;
  ReadEfgText(sets, "sets.efg", pure);
  EXPECT_EQ(Prepared(pure, kSolvePure, /*force=*/false, why), TSolveRun::Start::Ran) << why;
  // A list of profiles larger than the memory the run may take is refused too.
  TGameType32 table;
  ReadNfgText(small, "small.nfg", table);
  EXPECT_EQ(Prepared(table, kSolvePure, /*force=*/false, why, /*memory=*/4096),
            TSolveRun::Start::Refused);
  EXPECT_EQ(why,
            "This game has about 10^1 pure profiles; Pure would not finish. Try Tracing or lemke.");
  // The command line says so and exits with 2.
  const std::string file = (testing::TestFolder() / "big.efg").string();
  std::ofstream(file) << big;
  const auto refused = testing::RunCli({"solve", file, "--method", "pure"});
  EXPECT_EQ(refused.code, 2);
  EXPECT_NE(refused.err.find("Pure would not finish"), std::string::npos) << refused.err;
}

TEST(WorkEstimate, TracingAndLemkeTakeNodesOfManyMoves) {
  const std::string table = testing::RandomTableNfg(13, 13, 2);
  TGameType32 pure;
  ReadNfgText(table, "t.nfg", pure);
  std::string why;
  EXPECT_EQ(Prepared(pure, kSolvePure, /*force=*/false, why), TSolveRun::Start::Flawed);
  for (const int method : {kSolveTracing, kSolveLemke}) {
    TGameType32 game;
    ReadNfgText(table, "t.nfg", game);
    TSolveRun run;
    run.FixedMethod = method;
    testing::RecordingObserver observer;
    ASSERT_EQ(run.Solve(game, observer), TSolveRun::Start::Ran) << method;
    EXPECT_EQ(game.Solutions().LiveCount(), 1) << method << " " << run.Failure;
  }
}

}  // namespace
}  // namespace ludomark
