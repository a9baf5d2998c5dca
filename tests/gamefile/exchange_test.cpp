// Games of the .efg and .nfg formats read into documents: every form, and every refusal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "gamefile/efg_reader.h"
#include "gamefile/exchange_file.h"
#include "gamefile/exchange_writer.h"
#include "gamefile/file_error.h"
#include "gamefile/game_file.h"
#include "gamefile/listing.h"
#include "gamefile/nfg_reader.h"
#include "gamefile/precise_numbers.h"
#include "model/move.h"
#include "model/payoff.h"
#include "model/player.h"
#include "solver/parallel_solve.h"
#include "support/game_builder.h"
#include "support/run_cli.h"
#include "support/solving.h"
#include "support/test_folder.h"

namespace ludomark {
namespace {

// The payoff of the player on the move or cell, or NaN when it has none.
double PayoffOf(TGameType32& game, TGameObject32* move, const std::string& player) {
  double value = std::nan("");
  game.Payoffs().ForEachAs<TPayoff32>([&](TPayoff32* p) {
    if (p->Move.get() == move && p->Player->Name == player) value = p->Value;
  });
  return value;
}

TTable32* OnlyTable(TGameType32& game) {
  return As<TTable32>(game.Nodes().First());
}

TEST(NfgReader, CountsNamesBodiesAndProfileOrder) {
  // Counted strategies, the payoff body, three players, rationals and decimals; the first
  // player's strategy changes fastest.
  TGameType32 counted;
  ReadNfgText(R"(NFG 1 R "Three" { "A" "B" "C" } { 2 1 2 }
    1 0 0  2 0 0  1/2 .5 -2.5e0  8 0 1)",
              "three.nfg", counted);
  TTable32* table = OnlyTable(counted);
  ASSERT_EQ(table->SideCount(), 3);
  EXPECT_EQ(table->Cells.LiveCount(), 4);
  EXPECT_EQ(PayoffOf(counted, testing::CellOf(table, {"2", "1", "1"}), "A"), 2);
  TCell32* last = testing::CellOf(table, {"1", "1", "2"});
  EXPECT_EQ(PayoffOf(counted, last, "A"), 0.5);
  EXPECT_EQ(PayoffOf(counted, last, "C"), -2.5);

  // Named strategies, the outcome body with 0 for no outcome, a name too long for a record.
  TGameType32 named;
  ReadNfgText(R"(NFG 1 D "A title longer than sixteen bytes" { "Ann" "Ann" }
    { { "Top" "Bottom" } { "Left" "Right" } } "a comment"
    { { "win" 3, 1 } { "" 0 2 } } 1 0 2 1)",
              "named.nfg", named);
  table = OnlyTable(named);
  EXPECT_EQ(table->Name, "A title longer t");
  EXPECT_EQ(As<TPlayer32>(named.Players().ElementAt(2))->Name, "Ann~2");
  EXPECT_EQ(PayoffOf(named, testing::CellOf(table, {"Bottom", "Left"}), "Ann"), 0);
  EXPECT_EQ(PayoffOf(named, testing::CellOf(table, {"Top", "Right"}), "Ann~2"), 2);
  EXPECT_EQ(PayoffOf(named, testing::CellOf(table, {"Bottom", "Right"}), "Ann"), 3);
}

TEST(ExchangeWriter, QuotesAndBackslashesInNamesAreEscaped) {
  TGameType32 game;
  ReadNfgText(R"(NFG 1 R "say \"hi\" \\ to" { "A\\B" "\"Q\"" } { 1 1 } 1 2)", "names.nfg", game);
  ASSERT_EQ(OnlyTable(game)->Name, R"(say "hi" \ to)");
  const std::string text = WriteNfgText(game, "names.nfg");
  EXPECT_EQ(text.rfind(R"(NFG 1 R "say \"hi\" \\ to" { "A\\B" "\"Q\"" })", 0), 0u) << text;
  TGameType32 back;
  ReadNfgText(text, "back.nfg", back);
  EXPECT_EQ(OnlyTable(back)->Name, R"(say "hi" \ to)");
  EXPECT_EQ(As<TPlayer32>(back.Players().ElementAt(1))->Name, R"(A\B)");
  EXPECT_EQ(As<TPlayer32>(back.Players().ElementAt(2))->Name, R"("Q")");
}

TEST(EfgReader, ChanceProbabilitiesKeepTheFilesNumbersAndSumToOne) {
  // Full precision; when the file's numbers do not sum to 1 as doubles, the largest takes
  // what the others leave.
  for (const auto& [given, exact] :
       {std::pair<std::string, std::vector<double>>{"1/3 \"b\" 1/3 \"c\" 1/3",
                                                    {1.0 / 3, 1.0 / 3, 1.0 / 3}},
        {"1/7 \"b\" 6/7 \"c\" 0", {1.0 / 7, 6.0 / 7, 0}},
        {"0.1234567 \"b\" 0.3 \"c\" 0.5765433", {0.1234567, 0.3, 0.5765433}}}) {
    TGameType32 game;
    ReadEfgText("EFG 2 R \"\" { \"A\" }\nc \"\" 1 \"\" { \"a\" " + given +
                    " } 0\nt \"\" 1 \"\" { 1 }\nt \"\" 2 \"\" { 2 }\nt \"\" 3 \"\" { 3 }",
                "chance.efg", game);
    std::vector<double> values;
    double sum = 0;
    game.Moves().ForEachAs<TMove32>([&](TMove32* m) {
      values.push_back(m->Value);
      sum += m->Value;
    });
    ASSERT_EQ(values.size(), exact.size());
    for (std::size_t i = 0; i < values.size(); ++i) EXPECT_NEAR(values[i], exact[i], 1e-15);
    EXPECT_EQ(sum, 1.0) << given;
  }
}

// A game of thirds and fractions keeps them: its values and equilibrium are the exact ones, a
// run's copies and undo points do not round them, export writes them as read, and saving as a
// game file says which numbers it rounds.
TEST(ExchangeNumbers, ThirdsAndFractionsStayExact) {
  const std::string doors = R"(EFG 2 R "Doors" { "Guest" } ""
    c "Prize" 1 "" { "A" 1/3 "B" 1/3 "C" 1/3 } 0
    p "At A" 1 1 "Guess" { "a" "b" } 0
    t "" 1 "" { 100/3 }
    t "" 2 "" { 0 }
    p "At B" 1 1 "Guess" { "a" "b" } 0
    t "" 3 "" { 0 }
    t "" 4 "" { 200/3 }
    p "At C" 1 1 "Guess" { "a" "b" } 0
    t "" 5 "" { 1/7 }
    t "" 6 "" { 2/7 }
)";
  TGameType32 game;
  ReadEfgText(doors, "doors.efg", game);
  // What workers and undo points are made from keeps every digit.
  std::unique_ptr<TGameForm32> copy = CopiesOf(game)();
  EXPECT_EQ(PreciseGameText(*copy), PreciseGameText(game));
  TGameType32 again;
  ReadPreciseGameText(PreciseGameText(game), again);
  EXPECT_EQ(PreciseGameText(again), PreciseGameText(game));
  const std::string exported = WriteEfgText(game, "doors.efg");
  EXPECT_NE(exported.find("\"A\" 1/3"), std::string::npos) << exported;
  EXPECT_NE(exported.find("{ 200/3 }"), std::string::npos) << exported;
  TGameType32 reimported;
  ReadEfgText(exported, "again.efg", reimported);
  EXPECT_EQ(WriteEfgText(reimported, "again.efg"), exported);
  EXPECT_EQ(PreciseGameText(reimported), PreciseGameText(game));
  const std::vector<std::string> rounded = RoundedNumbers(game);
  ASSERT_FALSE(rounded.empty());
  EXPECT_NE(std::find(rounded.begin(), rounded.end(),
                      "The number of move A at Prize: 1/3 is kept as 0.333333 in a game file"),
            rounded.end());

  testing::RecordingObserver observer;
  TSolveRun run;
  const TSolveSettings settings{.Method = kSolveMixed, .Jobs = 2};
  ASSERT_EQ(SolveGame(run, game, observer, settings, CopiesOf(game)).Outcome,
            TSolveOutcome::Solved);
  ASSERT_EQ(game.Solutions().LiveCount(), 1);
  const auto& s = *As<TSolution32>(game.Solutions().First());
  EXPECT_EQ(testing::ChoiceIn(game, s, "b", "At A").Probability, 1);
  EXPECT_NEAR(testing::NodeValueIn(game, s, "Prize", "Guest"), 1406.0 / 63, 1e-12);
  EXPECT_NEAR(testing::ChoiceIn(game, s, "a", "At A").Expected, 100.0 / 9 + 1.0 / 21, 1e-12);

  // A table's fractions too, in both of the format's bodies.
  for (const char* body : {"2/3 -1/3 0 1/7 0 1/7 1/3 -2/3",
                           "{ { \"\" 2/3 -1/3 } { \"\" 0 1/7 } { \"\" 1/3, -2/3 } } 1 2 2 3"}) {
    TGameType32 table;
    ReadNfgText(std::string("NFG 1 R \"F\" { \"Ann\" \"Bob\" } { { \"U\" \"D\" } { \"L\" "
                            "\"R\" } }\n\"\"\n") +
                    body,
                "f.nfg", table);
    const std::string text = WriteNfgText(table, "f.nfg");
    EXPECT_NE(text.find("2/3 -1/3\n0 1/7\n0 1/7\n1/3 -2/3"), std::string::npos) << text;
    TGameType32 back;
    ReadNfgText(text, "f.nfg", back);
    EXPECT_EQ(WriteNfgText(back, "f.nfg"), text);
    EXPECT_EQ(PreciseGameText(back), PreciseGameText(table));
  }
}

TEST(EfgReader, TreesSetsOutcomesAndTheirEquilibria) {
  // The bluffing game of the examples: the same equilibrium as the drawn one. The second Bob
  // node omits its actions; outcome 2 is given once and used twice.
  TGameType32 game;
  ReadEfgText(R"(EFG 2 R "Bluff" { "Ann" "Bob" } ""
    c "Deal" 1 "" { "high" 1/2 "low" 1/2 } 0
    p "" 1 1 "Ann high" { "Bet" "Check" } 0
    p "" 2 1 "Bob" { "Call" "Fold" } 0
    t "" 1 "" { 2, -2 }
    t "" 2 "" { 1, -1 }
    t "" 3 "" { 1, -1 }
    p "" 1 2 "Ann low" { "Bet" "Check" } 0
    p "" 2 1 0
    t "" 4 "" { -2, 2 }
    t "" 2
    t "" 5 "" { -1, 1 })",
              "bluff.efg", game);
  EXPECT_EQ(game.Nodes().LiveCount(), 5);
  EXPECT_EQ(game.Infos().LiveCount(), 1);
  EXPECT_EQ(game.Moves().LiveCount(), 10);
  const std::string path = (testing::TestFolder() / "ludomark-bluff.lmx").string();
  WriteGameFile(path, game);
  TGameType32 solved;
  testing::RecordingObserver observer;
  ASSERT_TRUE(ReadGameFile(path, solved));
  TSolveRun run;
  ASSERT_EQ(run.Solve(solved, observer), TSolveRun::Start::Ran);
  ASSERT_EQ(solved.Solutions().LiveCount(), 1);
  const auto& s = *As<TSolution32>(solved.Solutions().First());
  EXPECT_NEAR(testing::ChoiceIn(solved, s, "Call", "Bob").Probability, 2.0 / 3, 1e-6);
  EXPECT_NEAR(testing::BeliefIn(solved, s, "Bob"), 0.75, 1e-6);
  std::filesystem::remove(path);

  // Outcomes at inner nodes are earned on the way in; the root's on each move leaving it.
  TGameType32 inner;
  ReadEfgText(R"(EFG 2 R "" { "A" "B" "C" }
    p "" 1 1 "" { "l" "r" } 1 "" { 1 0 0 }
    p "" 2 1 "" { "x" } 2 "" { 0 5 0 }
    t "" 3 "" { 0 0 7 }
    t "" 0)",
              "inner.efg", inner);
  auto* l = As<TMove32>(inner.Moves().ElementAt(1));
  auto* x = As<TMove32>(inner.Moves().ElementAt(2));
  auto* r = As<TMove32>(inner.Moves().ElementAt(3));
  EXPECT_EQ(PayoffOf(inner, l, "A"), 1);
  EXPECT_EQ(PayoffOf(inner, l, "B"), 5);
  EXPECT_EQ(PayoffOf(inner, x, "C"), 7);
  EXPECT_EQ(PayoffOf(inner, r, "A"), 1);  // the root's outcome, and no other
  EXPECT_EQ(PayoffOf(inner, r, "C"), 0);
}

TEST(ExchangeReaders, MalformedFilesNameTheLineAndBuildNothing) {
  const std::vector<std::pair<std::string, std::string>> efg = {
      {"EFG 2 R \"\" { \"A\" }\np \"\" 1 1 \"\" \"x\" } 0", "line 2: expected"},
      {"EFG 2 R \"\" { \"A\" }\n\nq \"\" 1", "line 3: unknown node kind \"q\""},
      {"EFG 2 R \"\" { \"A\" \"B\" }\nt \"\" 1 \"\" { 1 2 3 }", "line 2: outcome 1 has 3 payoffs"},
      {"EFG 2 R \"\" { \"A\" }\nc \"\" 1 \"\" { \"a\" 1/3 \"b\" 1/3 } 0\nt \"\" 0\nt \"\" 0",
       "line 2: the probabilities sum to 0.666667"},
      {"EFG 2 R \"\" { \"A\" }\nc \"\" 1 \"\" { \"a\" 1/2 \"b\" 1/2 } 0\np \"\" 1 1 \"\" { \"x\" } "
       "0\n"
       "t \"\" 0\np \"\" 1 1 \"\" { \"x\" \"y\" } 0\nt \"\" 0\nt \"\" 0",
       "line 5: this node's actions differ"},
      {"EFG 2 R \"\" { \"A\" }\nt \"\" 4", "line 2: outcome 4 has no payoffs yet"},
      {"EFG 2 R \"\" { \"A\" }\np \"\" 1 1 \"\" { \"x\" \"y\" } 0\nt \"\" 1 \"\" { 2 }\n"
       "t \"\" 1 \"\" { 3 }",
       "line 4: outcome 1 is given again with other payoffs"},
      {"EFG 2 R \"\" { \"A\" }\n\v t \"\" 1 \"\" { 1 }", "line 2: the first node ends the game"},
      {"EFG 2 R \"\" { \"A\" }\np \"\" 1 1 \"\" { \"x\" } 0",
       "expected a node (c, p or t) before the end"},
  };
  for (const auto& [text, message] : efg) {
    TGameType32 game;
    try {
      ReadEfgText(text, "bad.efg", game);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const TFileError& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
    EXPECT_TRUE(game.Players().Empty() && game.Nodes().Empty());
  }
  const std::vector<std::pair<std::string, std::string>> nfg = {
      {"NFG 1 R \"\" { \"A\" \"B\" } { 2 2 }\n1 2 3", "expected payoff 2 of profile 2"},
      {"NFG 1 R \"\" { \"A\" \"B\" } { 2 }", "strategies are given for 1 players"},
      {"NFG 1 R \"\" { \"A\" \"B\" } { 1 1 }\n{ { \"\" 1 1 } } 2",
       "line 2: outcome 2 does not exist"},
      {"NFG 1 R \"\" { \"A\" \"B\" } { 1 1 }\n1/0 1", "line 2: \"1/0\" is not a number"},
      {"NFG 1 R \"\" { \"A\" } { 2 }\n1 2", "a table needs at least two players"},
  };
  for (const auto& [text, message] : nfg) {
    TGameType32 game;
    EXPECT_THROW(
        {
          try {
            ReadNfgText(text, "bad.nfg", game);
          } catch (const TFileError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
            throw;
          }
        },
        TFileError);
    EXPECT_TRUE(game.Players().Empty());
  }
}

TEST(ExchangeCli, ImportWritesAGameFileAndNothingOnFailure) {
  namespace fs = std::filesystem;
  const fs::path dir = testing::TestFolder() / "ludomark-import";
  fs::create_directories(dir);
  const fs::path nfg = dir / "pennies.nfg";
  {
    std::ofstream(nfg) << "NFG 1 R \"Pennies\" { \"Ann\" \"Bob\" } { 2 2 }\n"
                          "1 -1 -1 1 -1 1 1 -1\n";
  }
  const fs::path lmx = dir / "pennies.lmx";
  ASSERT_EQ(testing::RunCli({"import", nfg.string(), "--out", lmx.string()}).code, 0);
  const auto solved = testing::RunCli({"solve", lmx.string()});
  EXPECT_EQ(solved.code, 0);
  EXPECT_NE(solved.out.find("p= 0.5"), std::string::npos);
  // The exchange file itself solves too, but never takes solutions in.
  EXPECT_EQ(testing::RunCli({"solve", nfg.string()}).out, solved.out);
  EXPECT_EQ(testing::RunCli({"solve", nfg.string(), "--save"}).code, 2);
  { std::ofstream(dir / "bad.nfg") << "NFG 1 R \"\" { \"A\" \"B\" } { 1 1 }\n"; }
  const auto bad =
      testing::RunCli({"import", (dir / "bad.nfg").string(), "--out", (dir / "bad.lmx").string()});
  EXPECT_EQ(bad.code, 2);
  EXPECT_NE(bad.err.find("line 2"), std::string::npos) << bad.err;
  EXPECT_FALSE(fs::exists(dir / "bad.lmx"));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ludomark

namespace ludomark {
namespace {

namespace fs = std::filesystem;

// The lines of a solve report in order of text, choices named without their set (a table read
// back from .nfg names its sides after the players).
std::vector<std::string> SortedReport(const std::string& path, bool withoutSets) {
  std::istringstream in(testing::RunCli({"solve", path}).out);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    const std::size_t at = line.find('@');
    if (withoutSets && at != std::string::npos) line.erase(at, line.find(" (") - at);
    lines.push_back(line);
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

TEST(ExchangeRoundTrip, ExamplesKeepTheirEquilibriaAndTreesAreAFixpoint) {
  const fs::path dir = testing::TestFolder() / "ludomark-round-trip";
  fs::create_directories(dir);
  int trees = 0;
  int tables = 0;
  for (const auto& entry : fs::directory_iterator(LUDOMARK_EXAMPLES_DIR)) {
    if (entry.path().extension() != ".lmx") continue;  // the cluster scripts
    for (const char* ext : {".efg", ".nfg"}) {
      const fs::path out = dir / entry.path().filename().replace_extension(ext);
      if (testing::RunCli({"export", entry.path().string(), "--out", out.string()}).code != 0) {
        EXPECT_FALSE(fs::exists(out));
        continue;
      }
      (std::string(ext) == ".efg" ? trees : tables) += 1;
      EXPECT_EQ(SortedReport(out.string(), /*withoutSets=*/true),
                SortedReport(entry.path().string(), /*withoutSets=*/true))
          << out;
      if (std::string(ext) != ".efg") continue;
      // Read and written again, a tree comes out as it went in.
      TGameType32 once;
      ReadExchangeFile(out.string(), once);
      const std::string text = WriteEfgText(once, out.string());
      EXPECT_EQ(text, testing::ReadWholeFile(out.string())) << out;
      TGameType32 twice;
      ReadEfgText(text, "again.efg", twice);
      EXPECT_EQ(WriteEfgText(twice, "again.efg"), text);
    }
  }
  EXPECT_GE(trees, 4);
  EXPECT_GE(tables, 4);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ludomark

namespace ludomark {
namespace {

// Every input the exchange fuzzers kept (crashes they found among them) holds the fuzzers'
// property: what reads writes back, and reads and writes again to the same text.
TEST(ExchangeCorpus, WhatReadsWritesBackTheSame) {
  struct Format {
    const char* Folder;
    const char* Name;
    std::function<void(const std::string&, TGameType32&)> Read;
    std::function<std::string(TGameType32&)> Write;
  };
  const std::vector<Format> formats = {
      {"corpus-efg", "corpus.efg",
       [](const std::string& text, TGameType32& g) { ReadEfgText(text, "corpus.efg", g); },
       [](TGameType32& g) { return WriteEfgText(g, "corpus.efg"); }},
      {"corpus-nfg", "corpus.nfg",
       [](const std::string& text, TGameType32& g) { ReadNfgText(text, "corpus.nfg", g); },
       [](TGameType32& g) { return WriteNfgText(g, "corpus.nfg"); }},
  };
  for (const Format& format : formats) {
    int read = 0;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(LUDOMARK_FUZZ_DIR) +
                                                                 "/" + format.Folder)) {
      ++files;
      const std::string text = testing::ReadWholeFile(entry.path().string());
      TGameType32 game;
      try {
        format.Read(text, game);
      } catch (const TFileError&) {
        continue;
      }
      ++read;
      BuildListing(game, kSolvableListMode);
      const std::string written = format.Write(game);
      TGameType32 again;
      format.Read(written, again);
      EXPECT_EQ(format.Write(again), written) << entry.path();
    }
    EXPECT_GT(files, 100) << format.Folder;
    EXPECT_GT(read, 0) << format.Folder;
  }
}

}  // namespace
}  // namespace ludomark
