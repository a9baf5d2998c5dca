#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/shard_part.h"
#include "gamefile/exchange_file.h"
#include "gamefile/game_file.h"
#include "support/random_games.h"
#include "support/run_cli.h"

namespace fs = std::filesystem;

namespace ludomark {
namespace {

using Result = testing::CliResult;

using testing::RunCli;

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The JSON report without the file name, which differs between the game and its copies.
std::string Report(const Result& r) {
  std::string out = r.out;
  const std::size_t start = out.find("\"file\": ");
  const std::size_t end = out.find(", \"method\"");
  if (start != std::string::npos && end != std::string::npos) out.erase(start, end - start);
  return out;
}

class Shards : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("ludomark-shards-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // Runs the shards of the game and answers their parts.
  std::vector<std::string> RunShards(const std::string& game, int count, const char* method) {
    std::vector<std::string> parts;
    for (int i = 1; i <= count; ++i) {
      parts.push_back(Path("part" + std::to_string(i) + ".lmx"));
      Result r = RunCli({"solve", game, "--method", method, "--shard",
                         std::to_string(i) + "/" + std::to_string(count), "--out", parts.back()});
      EXPECT_EQ(r.code, 0) << game << r.err;
    }
    return parts;
  }

  fs::path dir_;
};

// One run on one thread, on three, and three shards merged print the same solutions, under
// the same names, in the same order; and the same shard run twice writes the same bytes.
TEST_F(Shards, ThreadsAndMergedShardsGiveTheResultOfOneRun) {
  std::vector<std::pair<std::string, const char*>> games;
  for (const auto& entry : fs::directory_iterator(LUDOMARK_EXAMPLES_DIR)) {
    if (entry.path().extension() != ".lmx") continue;  // the cluster scripts
    games.emplace_back(entry.path().string(), "mixed");
  }
  WriteText(Path("tree.efg"), testing::RandomTreeEfg(5, 7));
  WriteText(Path("table.nfg"), testing::RandomTableNfg(4, 4, 3));
  games.emplace_back(Path("tree.efg"), "mixed");
  games.emplace_back(Path("table.nfg"), "mixed");
  // Enough supports to be shared among three threads (the small games are run on one).
  WriteText(Path("table6.nfg"), testing::RandomTableNfg(5, 6, 3));
  games.emplace_back(Path("table6.nfg"), "mixed");
  games.emplace_back(Path("tree.efg"), "sampling");
  games.emplace_back(std::string(LUDOMARK_EXAMPLES_DIR) + "/bluff.lmx", "sampling");
  for (const auto& [game, method] : games) {
    const Result one = RunCli({"solve", game, "--method", method, "--jobs", "1", "--json"});
    ASSERT_TRUE(one.code == 0 || one.code == 3) << game << one.err;
    const Result threads = RunCli({"solve", game, "--method", method, "--jobs", "3", "--json"});
    EXPECT_EQ(Report(threads), Report(one)) << game << " " << method;
    std::vector<std::string> args = {"merge", game};
    for (const std::string& part : RunShards(game, 3, method)) args.push_back(part);
    args.push_back("--json");
    const Result merged = RunCli(args);
    EXPECT_EQ(merged.code, one.code) << merged.err;
    EXPECT_EQ(Report(merged), Report(one)) << game << " " << method;
  }
  // More workers than units of work, and than cores: still the one result.
  const Result one = RunCli({"solve", Path("table6.nfg"), "--jobs", "1", "--json"});
  for (const char* jobs : {"2", "16", "64"}) {
    EXPECT_EQ(Report(RunCli({"solve", Path("table6.nfg"), "--jobs", jobs, "--json"})), Report(one))
        << jobs;
  }
  const std::string game = Path("tree.efg");
  const std::string first = testing::ReadWholeFile(RunShards(game, 2, "mixed")[1]);
  EXPECT_EQ(testing::ReadWholeFile(RunShards(game, 2, "mixed")[1]), first);
}

// A part is a game file with the shard's solutions, read back as usual; merge --save stores
// what solve --save stores.
TEST_F(Shards, PartsReadAsGameFilesAndMergeSaves) {
  const std::string game = Path("bluff.lmx");
  fs::copy_file(std::string(LUDOMARK_EXAMPLES_DIR) + "/bluff.lmx", game);
  const std::vector<std::string> parts = RunShards(game, 2, "mixed");
  TGameType32 part;
  ASSERT_TRUE(ReadGameFile(parts[0], part));
  EXPECT_EQ(part.Status(), StatusSolvedSaved);
  EXPECT_GT(part.Solutions().LiveCount(), 0);
  ASSERT_EQ(RunCli({"merge", game, parts[0], parts[1], "--save"}).code, 0);
  const std::string merged = testing::ReadWholeFile(game);
  fs::copy_file(std::string(LUDOMARK_EXAMPLES_DIR) + "/bluff.lmx", game,
                fs::copy_options::overwrite_existing);
  ASSERT_EQ(RunCli({"solve", game, "--save"}).code, 0);
  EXPECT_EQ(testing::ReadWholeFile(game), merged);
}

// No merge loses a solution quietly: every part that is missing, given twice, cut short,
// damaged, unfinished, of another run or of another game is refused, and named.
TEST_F(Shards, MergeRefusesPartsThatWouldLoseSolutions) {
  const std::string game = Path("tree.efg");
  WriteText(game, testing::RandomTreeEfg(4, 5));
  const std::vector<std::string> parts = RunShards(game, 3, "mixed");
  auto refusal = [&](std::vector<std::string> given) {
    given.insert(given.begin(), {"merge", game});
    Result r = RunCli(given);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    return r.err;
  };
  EXPECT_NE(refusal({parts[0], parts[2]}).find("parts 2 of 3 are missing"), std::string::npos);
  EXPECT_NE(refusal({parts[0], parts[1], parts[1]}).find("part 2 of 3 is given twice"),
            std::string::npos);

  const std::string text = testing::ReadWholeFile(parts[1]);
  const std::string broken = Path("broken.lmx");
  WriteText(broken, text.substr(0, text.size() - 40));
  EXPECT_NE(refusal({parts[0], broken, parts[2]}).find("truncated"), std::string::npos);
  std::string damaged = text;
  damaged[damaged.size() / 2 + 300] ^= 1;
  WriteText(broken, damaged);
  EXPECT_NE(
      refusal({parts[0], broken, parts[2]}).find("checksum does not match its text): " + broken),
      std::string::npos);
  // A shard stopped by Ctrl+C writes what it found, marked as unfinished.
  TGameType32 loaded;
  ReadExchangeFile(game, loaded);
  TShardPart part = ReadPartFile(parts[1], GameFileText(loaded));
  part.Complete = false;
  WriteText(broken, PartFileText(text.substr(0, text.find("Shard  ")), part));
  EXPECT_NE(refusal({parts[0], broken, parts[2]}).find("was stopped before its share was done"),
            std::string::npos);

  const std::vector<std::string> halves = RunShards(game, 2, "mixed");
  EXPECT_NE(refusal({halves[0], parts[1], parts[2]}).find("is part 1 of 2"), std::string::npos);
  const std::string other = Path("other.efg");
  WriteText(other, testing::RandomTreeEfg(4, 6));
  const Result foreign = RunCli({"merge", other, parts[0], parts[1], parts[2]});
  EXPECT_EQ(foreign.code, 2);
  EXPECT_NE(foreign.err.find("another game"), std::string::npos);
  EXPECT_NE(refusal({Path("nowhere.lmx")}).find("Cannot open the part"), std::string::npos);
  EXPECT_NE(refusal({"/dev/zero"}).find("The part is larger than 256 MiB"), std::string::npos);
}

}  // namespace
}  // namespace ludomark
