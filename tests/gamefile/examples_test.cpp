// The committed example games: each reads, lists and writes back byte for byte, and each is
// what the program itself writes for the game it holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "gamefile/game_file.h"
#include "gamefile/listing.h"
#include "support/example_games.h"
#include "support/run_cli.h"

namespace ludomark {
namespace {

TEST(Examples, ReadListAndWriteBackByteForByte) {
  ASSERT_GE(testing::ExampleGames().size(), 6u);
  for (const auto& example : testing::ExampleGames()) {
    const std::string path = std::string(LUDOMARK_EXAMPLES_DIR) + "/" + example.FileName;
    const std::string committed = testing::ReadWholeFile(path);
    ASSERT_FALSE(committed.empty()) << path;

    TGameType32 game;
    ASSERT_TRUE(ReadGameFile(path, game)) << path;
    EXPECT_EQ(game.Status(), StatusSaved);
    EXPECT_EQ(game.Findings().LiveCount(), 0) << path;
    const std::vector<std::string> listing = BuildListing(game, kSolvableListMode);
    EXPECT_GT(listing.size(), 8u);
    EXPECT_EQ(GameFileText(game), committed) << path;

    TGameType32 built;
    example.Build(built);
    EXPECT_EQ(GameFileText(built), committed) << "examples/ is out of date for " << path;
  }
}

}  // namespace
}  // namespace ludomark
