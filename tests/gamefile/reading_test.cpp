// What the reader accepts and what it refuses as not a game file.
#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <string>

#include "audit/audit.h"
#include "gamefile/file_error.h"
#include "gamefile/game_file.h"
#include "gamefile/listing.h"
#include "support/solving.h"
#include "support/test_folder.h"

namespace ludomark {
namespace {

const std::string kAnn = "Ann             10      10      1       201     255             ";
const std::string kBob = "Bob             10      10      2       201     0               ";
const std::string kNode = "N               10      10      1       502     1       0       ";
const std::string kMove =
    "m               10      10      1       203     1       0       1       ";

std::string RefusalOf(const std::string& text) {
  TGameType32 game;
  try {
    ReadGameText(text, game);
  } catch (const TFileError& e) {
    return e.what();
  }
  return "";
}

// The lines with the line end between them (none after the last).
std::string Joined(std::initializer_list<std::string> lines, const std::string& end) {
  std::string text;
  for (const std::string& line : lines) text.append(text.empty() ? "" : end).append(line);
  return text;
}

TEST(Reading, AnyLineEndAndAByteOrderMark) {
  for (const std::string end : {"\n", "\r\n", "\r"}) {
    TGameType32 game;
    ReadGameText("\xEF\xBB\xBF" + Joined({kAnn, kBob, kNode, kMove}, end), game);
    EXPECT_EQ(game.Players().LiveCount(), 2);
    EXPECT_EQ(game.Players().Get(0)->Name, "Ann");
    EXPECT_EQ(game.Nodes().LiveCount(), 1);
    EXPECT_EQ(game.Moves().LiveCount(), 1);
  }
  TGameType32 empty;
  EXPECT_NO_THROW(ReadGameText("", empty));
}

TEST(Reading, RefusesWhatIsNoGame) {
  EXPECT_NE(RefusalOf(std::string(5000, '\0')).find("Not a game file"), std::string::npos);
  EXPECT_NE(RefusalOf(std::string("\xff\xfe"
                                  "A\0n\0n\0",
                                  8))
                .find("Not a game file"),
            std::string::npos);
  EXPECT_NE(RefusalOf(kAnn + "\n" + std::string(1100000, 'x')).find("Line 2 is longer"),
            std::string::npos);
  for (const char* number : {"nan", "-inf", "Infinity", "0x1p3", "1e999"}) {
    std::string move = kMove;
    move.replace(64, 8, std::string(number) + std::string(8 - std::string(number).size(), ' '));
    EXPECT_NE(RefusalOf(Joined({kAnn, kNode, move}, "\n")).find("Line 3 holds a number"),
              std::string::npos)
        << number;
  }
  std::string tiny = kMove;
  tiny.replace(64, 8, "1e-999  ");
  EXPECT_EQ(RefusalOf(kAnn + "\n" + kNode + "\n" + tiny), "");
  // An empty file is refused as a file of one line end is; an empty text is an empty game.
  const std::string empty = (testing::TestFolder() / "empty.lmx").string();
  { std::ofstream touch(empty); }
  for (const std::string& path : {empty, std::string("/dev/null")}) {
    TGameType32 game;
    try {
      ReadGameFile(path, game);
      ADD_FAILURE() << "accepted " << path;
    } catch (const TFileError& e) {
      EXPECT_NE(std::string(e.what()).find("Not a game file"), std::string::npos) << path;
    }
  }
}

TEST(Reading, ANameCutInsideACharacterEndsInTheReplacementCharacter) {
  // 15 letters and the first byte of "é": the field has no room for the second.
  std::string cut = kAnn;
  cut.replace(0, 16, "Annabelle-Marie\xC3");
  std::string whole = kBob;
  whole.replace(0, 16, "Bobby-Jo-Ann-\xC3\xA9 ");
  TGameType32 game;
  ReadGameText(Joined({cut, whole}, "\n"), game);
  EXPECT_EQ(game.Players().Get(0)->Name, "Annabelle-Marie\xEF\xBF\xBD");
  EXPECT_EQ(game.Players().Get(1)->Name, "Bobby-Jo-Ann-\xC3\xA9");
}

TEST(Reading, ReadingAgainStartsWithoutOldFindings) {
  TGameType32 game;
  const std::string text = kAnn + "\n" + kNode + "\n";
  ReadGameText(text, game);
  game.ReportFinding("old");
  game.FreeGame();
  ReadGameText(text, game);
  EXPECT_EQ(game.Findings().LiveCount(), 0);
}

TEST(Reading, ASolvedGameSavesOnlyWhatTheUserMade) {
  for (const char* name : {"prisoners_dilemma.lmx", "bluff.lmx", "volunteers_dilemma.lmx",
                           "discounted_centipede.lmx", "hidden_move.lmx"}) {
    TGameType32 original;
    ASSERT_TRUE(ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/" + name, original));
    const std::string originalText = GameFileText(original);
    TGameType32 game;
    ASSERT_TRUE(testing::SolveExample(name, 2, game)) << name;
    ASSERT_GT(game.Solutions().LiveCount(), 0);
    // The save path of a solved game: the game, then its solutions.
    const std::string text = GameFileText(game) + SolutionsFileText(game);
    EXPECT_EQ(text.find("303     \r\n"), std::string::npos) << name;
    TGameType32 back;
    ReadGameText(text, back);
    EXPECT_EQ(BuildListing(back, kSolvableListMode), BuildListing(original, kSolvableListMode))
        << name;
    EXPECT_EQ(back.Infos().LiveCount(), original.Infos().LiveCount()) << name;
    EXPECT_EQ(back.Status(), StatusSolvedSaved);
    EXPECT_EQ(GameFileText(back).size(), originalText.size()) << name;
  }
}

}  // namespace
}  // namespace ludomark
