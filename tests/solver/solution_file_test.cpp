// Solutions appended to a game file come back with the game, on the same elements.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gamefile/game_file.h"
#include "model/player.h"
#include "model/solution_bit.h"
#include "solver/evaluation.h"
#include "solver/solutions.h"
#include "support/derive.h"
#include "support/example_games.h"
#include "support/test_folder.h"

namespace fs = std::filesystem;

namespace ludomark {
namespace {

// Kind, element (its kind and name), player and value of every shown value, in order.
std::vector<std::string> BitsOf(TSolution32& s) {
  std::vector<std::string> bits;
  s.Bits.ForEach([&](TGameObject32* e) {
    auto* bit = static_cast<TSolutionBit*>(e);
    bits.push_back(std::to_string(bit->TypeCode) + " " +
                   (bit->Move.get() != nullptr ? bit->Move->Describe(7) : std::string("-")) + " " +
                   (bit->Player.get() != nullptr ? bit->Player->Name : std::string("-")) + " " +
                   bit->Name);
  });
  return bits;
}

TEST(SolutionFile, SolvedGameSavedAndReopenedShowsTheSameValues) {
  const fs::path file = testing::TestFolder() / "ludomark-solution-file-test.lmx";
  std::vector<std::string> names;
  std::vector<std::vector<std::string>> bits;
  {
    TGameType32 game;
    testing::ExampleGames()[4].Build(game);  // hidden move: Ann, then Bob in an information set
    testing::DeriveForSolver(game);
    AllocateWork(game);
    for (auto [a, b] : {std::pair{"Left", "Up"}, std::pair{"Right", "Down"}}) {
      testing::SetChoiceProbability(game, a, 1);
      testing::SetChoiceProbability(game, b, 1);
      ASSERT_TRUE(Evaluate(game, true));
      ASSERT_TRUE(IsEquilibrium(game));
      ASSERT_NE(RecordSolution(game, 1, 20), nullptr);
    }
    game.ForceStatus(StatusSolved);
    WriteGameFile(file.string(), game);
    AppendSolutionsToFile(file.string(), game);
    EXPECT_EQ(game.Status(), StatusSolvedSaved);
    game.Solutions().ForEach([&](TGameObject32* e) {
      names.push_back(e->Name);
      bits.push_back(BitsOf(*static_cast<TSolution32*>(e)));
    });
  }
  ASSERT_EQ(names.size(), 2u);
  ASSERT_FALSE(bits[0].empty());

  TGameType32 back;
  ASSERT_TRUE(ReadGameFile(file.string(), back));
  EXPECT_EQ(back.Status(), StatusSolvedSaved);
  ASSERT_EQ(back.Solutions().LiveCount(), 2);
  EXPECT_EQ(back.PendingBits().LiveCount(), 0);
  for (int i = 0; i < 2; ++i) {
    auto* s = static_cast<TSolution32*>(back.Solutions().Get(i));
    EXPECT_EQ(s->Name, names[static_cast<std::size_t>(i)]);
    EXPECT_EQ(s->Kind, 1);
    EXPECT_EQ(s->Param, 20);
    EXPECT_EQ(BitsOf(*s), bits[static_cast<std::size_t>(i)]);
  }
  // Adding the solutions again writes the file whole once more: one copy, not two.
  AppendSolutionsToFile(file.string(), back);
  TGameType32 twice;
  ASSERT_TRUE(ReadGameFile(file.string(), twice));
  EXPECT_EQ(twice.Solutions().LiveCount(), 2);
  fs::remove(file);
  AppendSolutionsToFile(file.string(), back);  // no file: nothing happens
  EXPECT_FALSE(fs::exists(file));
}

TEST(SolutionFile, RecordsThatCannotBeAttachedAreDropped) {
  const std::string game =
      "Ann             10      10      1       201     255             \r\n"
      "N               10      10      1       502     1       0       \r\n";
  const std::string solution =
      "P 1.1           100     100     1       800     1       20      \r\n";
  auto bit = [](int kind, const std::string& target, const std::string& player,
                const std::string& solution) {
    std::string line = "p= 1            100     100     0       " + std::to_string(kind);
    line.resize(48, ' ');
    line += target;
    line.resize(56, ' ');
    line += player;
    line.resize(64, ' ');
    line += "0.5";
    line.resize(80, ' ');
    line += solution;
    return line + "\r\n";
  };
  {
    TGameType32 g;
    ReadGameText(game + solution + bit(804, "1", "1", "1") + bit(804, "7", "1", "1") +
                     bit(802, "1", "", "1") + bit(801, "1", "", "9") + bit(812, "-3", "", "1"),
                 g);
    EXPECT_EQ(g.Status(), StatusSolvedSaved);
    auto* s = static_cast<TSolution32*>(g.Solutions().Get(0));
    ASSERT_EQ(s->Bits.LiveCount(), 1);  // only the value on node 1 finds its element
    EXPECT_EQ(s->Bits.Get(0)->Name, "E= 0.5");
    EXPECT_EQ(g.PendingBits().LiveCount(), 0);
  }
  {
    TGameType32 g;  // solution lines without a game
    ReadGameText(solution + bit(804, "1", "1", "1"), g);
    EXPECT_EQ(g.Solutions().LiveCount(), 1);
    EXPECT_EQ(static_cast<TSolution32*>(g.Solutions().Get(0))->Bits.LiveCount(), 0);
  }
  {
    TGameType32 g;  // values without a solution stay unattached: the game is not solved
    ReadGameText(game + bit(804, "1", "1", "1"), g);
    EXPECT_EQ(g.Status(), StatusSaved);
  }
}

}  // namespace
}  // namespace ludomark
