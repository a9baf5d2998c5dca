#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/cli.h"
#include "cli/run_report.h"
#include "gamefile/file_identity.h"
#include "gamefile/game_file.h"
#include "model/random.h"
#include "session/solution_report.h"
#include "support/game_builder.h"
#include "support/random_shapes.h"
#include "support/run_cli.h"
#include "support/test_folder.h"

namespace fs = std::filesystem;

namespace ludomark {
namespace {

using Result = testing::CliResult;

using testing::Cli;

using testing::Example;

TEST(SolveCli, AuditPassesOrListsTheFlaws) {
  Result ok = Cli({"audit", Example("bluff.lmx")});
  EXPECT_EQ(ok.code, 0);
  EXPECT_EQ(ok.out.rfind("GAME IS SOLVABLE\n", 0), 0u);
  // A passing audit lists the game as drawn, without its expansion of tables.
  for (const char* name : {"battle_of_the_sexes.lmx", "three_way_deal.lmx"}) {
    EXPECT_EQ(Cli({"audit", Example(name)}).out, Cli({"list", Example(name)}).out) << name;
  }

  const fs::path flawed = testing::TestFolder() / "ludomark-flawed.lmx";
  {
    std::ofstream f(flawed, std::ios::binary);
    f << "Ann             10      10      1       201     255             \r\n"
         "N               10      10      1       502     1       0       \r\n"
         "go              10      10      1       203     1       0       1       \r\n"
         "                100     100     0       204             1       2.5             \r\n";
  }
  Result bad = Cli({"audit", flawed.string()});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out, "GAME IS FLAWED\nPayoff missing at go@N(Ann)\nPayoff 2.5 is unattached.\n");
  Result solve = Cli({"solve", flawed.string()});
  EXPECT_EQ(solve.code, 1);
  EXPECT_EQ(solve.out, bad.out);
  fs::remove(flawed);
}

TEST(SolveCli, SolvePrintsEverySolution) {
  Result r = Cli({"solve", Example("battle_of_the_sexes.lmx")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(
      r.out.find("SOLUTION P 1.1 (pure)\n  CHOICES\n    Opera@Ann plays (Ann) p= 1 e= 2 best\n"),
      std::string::npos);
  EXPECT_NE(r.out.find("SOLUTION M 3.1 (mixed)"), std::string::npos);
  EXPECT_NE(r.out.find("    Opera@Ann plays (Ann) p= 0.666667 e= 0.666667 best\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("  VALUES\n    Evening(Ann) Ann= 2 Bob= 1\n"), std::string::npos);

  Result pure = Cli({"solve", "--method", "pure", Example("matching_pennies.lmx")});
  EXPECT_EQ(pure.code, 3);
  EXPECT_EQ(pure.out, "No solution found.\n");
  EXPECT_EQ(Cli({"solve", Example("matching_pennies.lmx"), "--method=sampling"}).code, 0);
  EXPECT_EQ(Cli({"solve", "--method", "quick", Example("bluff.lmx")}).code, 2);
  EXPECT_EQ(Cli({"solve", "--method", "tracing", "--shard", "1/2", "--out", "x.lmx",
                 Example("bluff.lmx")})
                .code,
            2);
  EXPECT_EQ(Cli({"solve", "--method"}).code, 2);
  EXPECT_EQ(Cli({"audit", "--json", Example("bluff.lmx")}).code, 2);
}

TEST(SolveCli, JsonCarriesEveryValue) {
  Result r = Cli({"solve", "--json", Example("bluff.lmx")});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string& j = r.out;
  EXPECT_EQ(j.rfind("{\"file\": \"" + Example("bluff.lmx") +
                        "\", \"method\": \"mixed\", \"status\": 101, \"outcome\": \"solved\", "
                        "\"solutions\": [{\"name\": \"M 1.1\", \"kind\": 2, \"choices\": [",
                    0),
            0u);
  EXPECT_NE(j.find("{\"name\": \"Bet\", \"set\": \"Ann low\", \"player\": \"Ann\", "
                   "\"probability\": 0.333333"),
            std::string::npos);
  EXPECT_NE(j.find("{\"name\": \"Deal\", \"player\": null, \"belief\": null, \"values\": "
                   "[{\"player\": \"Ann\", \"value\": 0.3333333333333"),
            std::string::npos);
  const std::string bobLow = "{\"name\": \"Bob low\", \"player\": \"Bob\", \"belief\": ";
  const std::size_t at = j.find(bobLow);
  ASSERT_NE(at, std::string::npos);
  EXPECT_NEAR(std::stod(j.substr(at + bobLow.size(), 25)), 0.25, 1e-6);
  EXPECT_EQ(j.back(), '\n');
  EXPECT_EQ(j.find("nan"), std::string::npos);
  Result none = Cli({"solve", "--json", "--method", "pure", Example("matching_pennies.lmx")});
  EXPECT_EQ(none.code, 3);
  EXPECT_NE(none.out.find("\"status\": 103, \"outcome\": \"no solution\", \"solutions\": []}"),
            std::string::npos);
  // A flawed game answers in JSON too, with its findings.
  const fs::path flawed = testing::TestFolder() / "ludomark-json-flawed.lmx";
  {
    TGameType32 game;
    testing::GameBuilder b(game);
    b.Move("go", b.Node("N", b.Player("Ann")), nullptr);  // no payoff
    WriteGameFile(flawed.string(), game);
  }
  Result bad = Cli({"solve", "--json", flawed.string()});
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(
      bad.out.find("\"outcome\": \"flawed\", \"findings\": [\"Payoff missing at go@N(Ann)\"]"),
      std::string::npos)
      << bad.out;
  fs::remove(flawed);
}

TEST(SolveCli, TracingGivesOneSolutionOrSaysWhyNot) {
  Result traced = Cli({"solve", "--method", "tracing", "--json", "--debug", Example("bluff.lmx")});
  ASSERT_EQ(traced.code, 0) << traced.err;
  EXPECT_NE(traced.out.find("\"method\": \"tracing\", \"status\": 101, \"outcome\": \"solved\", "
                            "\"solutions\": [{\"name\": \"M 1.1"),
            std::string::npos);
  EXPECT_EQ(traced.out.find("\"M 2.1\""), std::string::npos);
  // The trace: lambda, the step and the corrector's residual at every step of the path.
  EXPECT_NE(traced.out.find("Tracing lambda= 0.0"), std::string::npos);
  EXPECT_NE(traced.out.find(" step= 0.05 residual= "), std::string::npos);

  // A game whose equilibrium is not isolated (a best choice nobody plays at two sets): the path
  // cannot settle, and the run says so.
  const fs::path file = testing::TestFolder() / "stuck.lmx";
  {
    TGameType32 game;
    testing::RandomGame r(163);
    testing::TableAtTheRoot(game, r);
    WriteGameFile(file.string(), game);
  }
  Result stuck = Cli({"solve", "--method", "tracing", file.string()});
  EXPECT_EQ(stuck.code, 3);
  EXPECT_EQ(stuck.out, "No solution found by tracing.\n");
  EXPECT_NE(stuck.err.find("the path failed: "), std::string::npos) << stuck.err;
}

TEST(SolveCli, JsonStringsAreUtf8) {
  using session::JsonString;
  EXPECT_EQ(JsonString("Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB2"),
            "\"Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB2\"");
  // Bytes that are no UTF-8 stand for Latin-1 characters; quotes and controls are escaped.
  EXPECT_EQ(JsonString("Caf\xE9 \xC3 \"\x1b"), "\"Caf\\u00e9 \\u00c3 \\\"\\u001b\"");
  EXPECT_EQ(JsonString("\xED\xA0\x80\xC0\xAF"), "\"\\u00ed\\u00a0\\u0080\\u00c0\\u00af\"");
  EXPECT_EQ(JsonString("a\\b\n\r\t\x7f/"), "\"a\\\\b\\n\\r\\t\\u007f/\"");
}

TEST(SolveCli, SaveAppendsSolutionsThatReadBack) {
  const fs::path copy = testing::TestFolder() / "ludomark-save-test.lmx";
  fs::copy_file(Example("battle_of_the_sexes.lmx"), copy, fs::copy_options::overwrite_existing);
  Result r = Cli({"solve", "--save", copy.string()});
  ASSERT_EQ(r.code, 0) << r.err;
  TGameType32 back;
  ASSERT_TRUE(ReadGameFile(copy.string(), back));
  EXPECT_EQ(back.Status(), StatusSolvedSaved);
  EXPECT_EQ(back.Solutions().LiveCount(), 3);
  EXPECT_EQ(back.Solutions().Get(2)->Name, "M 3.1");
  // Solving the saved game again starts afresh and still finds the three.
  Result again = Cli({"solve", copy.string()});
  EXPECT_EQ(again.code, 0);
  EXPECT_NE(again.out.find("SOLUTION M 3.1"), std::string::npos);
  EXPECT_EQ(again.out.find("SOLUTION M 4.1"), std::string::npos);
  // A saved table lists as it did: the audit's derived links are not saved.
  fs::copy_file(Example("prisoners_dilemma.lmx"), copy, fs::copy_options::overwrite_existing);
  ASSERT_EQ(Cli({"solve", "--save", copy.string()}).code, 0);
  EXPECT_EQ(Cli({"list", copy.string()}).out, Cli({"list", Example("prisoners_dilemma.lmx")}).out);
  // A save that would fail is refused before the run, for root too (a read-only file is refused
  // by its mode): nothing is solved, the file stays as it was and the exit code says so.
  fs::copy_file(Example("battle_of_the_sexes.lmx"), copy, fs::copy_options::overwrite_existing);
  fs::permissions(copy, fs::perms::owner_read | fs::perms::group_read);
  for (const bool json : {false, true}) {
    Result failed = json ? Cli({"solve", "--save", "--json", copy.string()})
                         : Cli({"solve", "--save", copy.string()});
    EXPECT_EQ(failed.code, 2) << json;
    EXPECT_NE(failed.err.find("read-only"), std::string::npos) << failed.err;
    EXPECT_TRUE(failed.out.empty()) << failed.out;
  }
  EXPECT_EQ(Cli({"list", copy.string()}).out,
            Cli({"list", Example("battle_of_the_sexes.lmx")}).out);
  fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
  fs::remove(copy);
}

// A file another writer changed while the run worked is not replaced: --save refuses.
TEST(SolveCli, SaveRefusesAFileThatChangedSinceItWasRead) {
  const fs::path copy = testing::TestFolder() / "ludomark-changed.lmx";
  fs::copy_file(Example("battle_of_the_sexes.lmx"), copy, fs::copy_options::overwrite_existing);
  const TFileIdentity read = IdentityOfFile(copy.string());
  TGameType32 game;
  ASSERT_TRUE(ReadGameFile(copy.string(), game));
  TSolveRun run;
  TSolveObserver quiet;
  const TSolveRun::Start start = run.Solve(game, quiet);
  const std::string other = testing::ReadWholeFile(copy.string()) +
                            "Cy              30      120 "
                            "    3       201     255\r\n";
  std::ofstream(copy, std::ios::binary | std::ios::trunc) << other;
  cli::ReportOptions options;
  options.Path = copy.string();
  options.Save = true;
  options.Read = read;
  std::ostringstream out, err;
  EXPECT_EQ(cli::ReportRun(game, start, options, out, err), 2);
  EXPECT_NE(err.str().find("changed on disk since it was read"), std::string::npos) << err.str();
  EXPECT_EQ(testing::ReadWholeFile(copy.string()), other);
  // As it was read, the file takes the solutions.
  options.Read = IdentityOfFile(copy.string());
  EXPECT_EQ(cli::ReportRun(game, start, options, out, err), 0);
  fs::remove(copy);
}

// Refusals come before the work and give the system's own reason; "-" reads standard input.
TEST(SolveCli, RefusalsComeFirstAndSayWhy) {
  const Result pipe = Cli({"solve", "--save", "/dev/stdin"});
  EXPECT_EQ(pipe.code, 2);
  EXPECT_TRUE(pipe.out.empty()) << pipe.out;  // nothing solved
  EXPECT_NE(pipe.err.find("/dev/stdin"), std::string::npos) << pipe.err;
  const fs::path file = testing::TestFolder() / "ludomark-not-a-folder";
  std::ofstream(file) << "x";
  const Result through = Cli({"solve", (file / "game.lmx").string()});
  EXPECT_EQ(through.code, 2);
  EXPECT_NE(through.err.find("Not a directory"), std::string::npos) << through.err;
  const Result missing = Cli({"solve", (testing::TestFolder() / "none.lmx").string()});
  EXPECT_NE(missing.err.find("no such file"), std::string::npos) << missing.err;

  std::istringstream game(testing::ReadWholeFile(Example("battle_of_the_sexes.lmx")));
  std::streambuf* kept = std::cin.rdbuf(game.rdbuf());
  const Result piped = Cli({"solve", "-"});
  std::istringstream again(testing::ReadWholeFile(Example("battle_of_the_sexes.lmx")));
  std::cin.rdbuf(again.rdbuf());
  const Result saved = Cli({"solve", "--save", "-"});
  std::istringstream empty;
  std::cin.rdbuf(empty.rdbuf());
  const Result nothing = Cli({"solve", "-"});
  std::cin.rdbuf(kept);
  EXPECT_EQ(piped.code, 0) << piped.err;
  EXPECT_EQ(piped.out, Cli({"solve", Example("battle_of_the_sexes.lmx")}).out);
  EXPECT_EQ(saved.code, 2);
  EXPECT_NE(saved.err.find("standard input"), std::string::npos) << saved.err;
  EXPECT_EQ(nothing.code, 2);
  EXPECT_NE(nothing.err.find("standard input holds no game"), std::string::npos) << nothing.err;
  fs::remove(file);
}

TEST(SolveCli, DebugPrintsTheSolverLog) {
  Result r = Cli({"solve", "--debug", Example("matching_pennies.lmx")});
  ASSERT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("SOLUTION M 1.1["), std::string::npos);  // found-count in brackets
  EXPECT_NE(r.out.find("\nLIST SOLUTION STEPS\n"), std::string::npos);
  EXPECT_NE(r.out.find("**************** Iteration # "), std::string::npos);
}

// Runs `solve` on the file, sends Ctrl+C once the stage shows on standard error and waits for
// the tool to end.
Result InterruptedSolve(const fs::path& file, const std::string& stage,
                        const std::string& options = "") {
  const fs::path output = file.string() + ".out";
  const fs::path errors = file.string() + ".err";
  // The guard only ends a run that ignores the interrupt.
  const std::string script =
      "timeout -s KILL 60 sh -c '\"" + std::string(LUDOMARK_CLI) + "\" solve \"" + file.string() +
      "\" --jobs 2 --progress " + options + " > \"" + output.string() + "\" 2> \"" +
      errors.string() + "\" & pid=$!; while kill -0 $pid 2>/dev/null && ! grep -q \"" + stage +
      "\" \"" + errors.string() + "\"; do sleep 0.02; done; kill -INT $pid 2>/dev/null; wait $pid'";
  const int status = std::system(script.c_str());
  Result r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, testing::ReadWholeFile(output.string()),
           testing::ReadWholeFile(errors.string())};
  fs::remove(output);
  fs::remove(errors);
  return r;
}

// A run too long to wait for stops at Ctrl+C, on every worker thread: what it found is
// printed, and a run that found nothing says so and ends as shells expect after Ctrl+C.
TEST(SolveCli, InterruptStopsTheRunAndKeepsTheSolutions) {
  const fs::path file = testing::TestFolder() / "ludomark-interrupt-test.lmx";
  {
    TGameType32 game;
    testing::GameBuilder b(game);
    TTable32* table = b.Table("Big");
    for (const char* name : {"Ann", "Bob", "Cy"}) b.SideWithCount(table, b.Player(name), name, 7);
    TUniformRandom random(7);
    table->Cells.ForEach([&](TGameObject32* cell) {
      game.Players().ForEach([&](TGameObject32* p) {
        b.Payoff(cell, static_cast<TPlayer32*>(p), static_cast<int>(random.Next() * 10));
      });
    });
    WriteGameFile(file.string(), game);
  }
  // Interrupted while exploring supports: the pure equilibria profiling found are printed, the
  // run says it was stopped, and the file, which a complete run would save, keeps what it held.
  const std::string before = testing::ReadWholeFile(file.string());
  Result table = InterruptedSolve(file, "Exploring");
  EXPECT_EQ(table.code, 130) << table.err;
  EXPECT_NE(table.out.find("SOLUTION P"), std::string::npos);
  Result saved = InterruptedSolve(file, "Exploring", "--save --json");
  EXPECT_EQ(saved.code, 130) << saved.err;
  EXPECT_NE(saved.out.find("\"outcome\": \"stopped\", \"solutions\": [{\"name\": \"P"),
            std::string::npos)
      << saved.out.substr(0, 300);
  EXPECT_NE(saved.err.find("the file is not saved"), std::string::npos) << saved.err;
  EXPECT_EQ(testing::ReadWholeFile(file.string()), before);
  // Chance deals one of nine games of matching pennies: none has a pure equilibrium and the
  // profiles are 4^9, so Ctrl+C during profiling always comes before any solution.
  {
    TGameType32 game;
    testing::GameBuilder b(game);
    TPlayer32* ann = b.Player("Ann");
    TPlayer32* bob = b.Player("Bob");
    TNode32* deal = b.Node("Deal", nullptr);
    constexpr int kGames = 9;
    for (int k = 0; k < kGames; ++k) {
      const std::string name = "Pennies " + std::to_string(k + 1);
      TTable32* pennies = b.Table(name, 100 + 200 * k, 300);
      b.SideWithCount(pennies, ann, "Ann", 2);
      b.SideWithCount(pennies, bob, "Bob", 2);
      b.Move("deal " + std::to_string(k + 1), deal, pennies, 1.0 / kGames);
      int cell = 0;
      pennies->Cells.ForEach([&](TGameObject32* c) {
        // The first and last cells are the two where the coins match.
        const bool match = cell == 0 || cell == 3;
        b.Payoff(c, ann, match ? 1 : -1);
        b.Payoff(c, bob, match ? -1 : 1);
        ++cell;
      });
    }
    WriteGameFile(file.string(), game);
  }
  // Far more work than would finish: forced, so that there is a run to stop.
  Result chain = InterruptedSolve(file, "Profiling", "--force");
  EXPECT_EQ(chain.code, 130) << chain.out;
  const std::string said = "ludomark-cli: stopped before any solution was found\n";
  ASSERT_GE(chain.err.size(), said.size());
  EXPECT_EQ(chain.err.substr(chain.err.size() - said.size()), said);
  EXPECT_EQ(chain.out, "");
  fs::remove(file);
}

// Every example and every input the file fuzzer kept goes through the installed tool: it
// ends with an ordinary code (2 for what is not a game file, 130 when interrupted before any
// solution), within its time or once interrupted.
TEST(SolveCli, AnyFileEndsWithAnOrdinaryExitCode) {
  std::vector<fs::path> files;
  for (const char* dir : {LUDOMARK_EXAMPLES_DIR, LUDOMARK_CORPUS_DIR}) {
    for (const auto& entry : fs::directory_iterator(dir)) files.push_back(entry.path());
  }
  ASSERT_GT(files.size(), 50u);
  for (const fs::path& file : files) {
    const std::string command = "timeout --preserve-status -s INT 20 '" +
                                std::string(LUDOMARK_CLI) + "' solve '" + file.string() +
                                "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << file;
    const int code = WEXITSTATUS(status);
    EXPECT_TRUE(code == 0 || code == 1 || code == 2 || code == 3 || code == 130)
        << file << " exited with " << code;
  }
}

}  // namespace
}  // namespace ludomark
