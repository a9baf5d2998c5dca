#include "cli/cli.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/run_cli.h"
#include "support/test_folder.h"

namespace ludomark {
namespace {

using Result = testing::CliResult;

using testing::Cli;

const std::string kExample = std::string(LUDOMARK_EXAMPLES_DIR) + "/prisoners_dilemma.lmx";

TEST(Cli, ListPrintsTheSolvableListing) {
  Result r = Cli({"list", kExample});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("GAME IS SOLVABLE\nPLAYERS\nAnn\nBob\nINFORMATION SETS\n", 0), 0u);
  EXPECT_NE(r.out.find("\nCooperate Defect \n"), std::string::npos);
  EXPECT_NE(r.out.find("\nPAYOFFS\n"), std::string::npos);
}

TEST(Cli, ProblemsGoToErrorOutputWithExitCode2) {
  Result missing = Cli({"list", "no/such/game.lmx"});
  EXPECT_EQ(missing.code, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("no/such/game.lmx"), std::string::npos);
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);

  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"frobnicate"}, {"list"}, {"list", "a.lmx", "b.lmx"}, {"list", "--fast", "a"}}) {
    Result r = Cli(args);
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("usage: ludomark-cli"), std::string::npos);
  }
}

TEST(Cli, HelpDescribesEveryCommand) {
  for (const char* word : {"help", "--help", "-h"}) {
    Result r = Cli({word});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("list FILE.lmx"), std::string::npos);
  }
}

TEST(Cli, TheInstalledToolExitsWithTheSameCodes) {
  const std::string tool = LUDOMARK_CLI;
  ASSERT_TRUE(std::filesystem::exists(tool));
  auto run = [&](const std::string& args) {
    const int status = std::system((tool + " " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(run("list '" + kExample + "'"), 0);
  EXPECT_EQ(run("list /nonexistent.lmx"), 2);
  EXPECT_EQ(run("bogus"), 2);
  EXPECT_EQ(run("--help"), 0);
  // Devices end at once with a clear refusal; a pipe is read once, from its writer.
  EXPECT_EQ(run("list /dev/zero"), 2);
  EXPECT_EQ(run("list /dev/urandom"), 2);
  const std::string fifo = (testing::TestFolder() / "ludomark-cli-test.fifo").string();
  std::filesystem::remove(fifo);
  ASSERT_EQ(std::system(("mkfifo '" + fifo + "'").c_str()), 0);
  const int status = std::system(("'" + tool + "' list '" + fifo + "' >/dev/null 2>&1 & cat '" +
                                  kExample + "' > '" + fifo + "'; wait $!")
                                     .c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // Workers copy the game read once: several of them solve a pipe or a FIFO as they do a file.
  const int fromFifo =
      std::system(("'" + tool + "' solve '" + fifo + "' --jobs 4 >/dev/null 2>&1 & cat '" +
                   kExample + "' > '" + fifo + "'; wait $!")
                      .c_str());
  EXPECT_TRUE(WIFEXITED(fromFifo) && WEXITSTATUS(fromFifo) == 0);
  EXPECT_EQ(std::system(("cat '" + kExample + "' | '" + tool +
                         "' solve /dev/stdin --jobs 4 >/dev/null 2>&1")
                            .c_str()),
            0);
  EXPECT_EQ(run("solve /dev/null"), 2);  // empty: not a game file
  std::filesystem::remove(fifo);
}

}  // namespace
}  // namespace ludomark
