// Pictures from the command line: formats, solutions over the game, refusals that write nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gamefile/atomic_file.h"
#include "gamefile/game_file.h"
#include "support/run_cli.h"
#include "support/solving.h"
#include "support/test_folder.h"

namespace fs = std::filesystem;

namespace ludomark {
namespace {

using testing::Example;

TEST(DrawCli, WritesEachFormatAndASolutionOverTheGame) {
  const fs::path dir = testing::TestFolder() / "ludomark-draw-test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const char* ext : {".png", ".bmp", ".svg"}) {
    const fs::path out = dir / (std::string("bluff") + ext);
    const auto r = testing::RunCli({"draw", Example("bluff.lmx"), "--out", out.string()});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_GT(fs::file_size(out), 1000u) << ext;
  }
  EXPECT_EQ(testing::ReadWholeFile((dir / "bluff.png").string()).substr(1, 3), "PNG");
  EXPECT_NE(testing::ReadWholeFile((dir / "bluff.svg").string()).find("<svg"), std::string::npos);

  // A solved and saved game: its solution drawn over it differs from the bare picture.
  TGameType32 game;
  ASSERT_TRUE(testing::SolveExample("hidden_move.lmx", 1, game));
  const fs::path solved = dir / "solved.lmx";
  WriteGameFile(solved.string(), game, /*withSolutions=*/true);
  const fs::path bare = dir / "bare.png";
  const fs::path over = dir / "over.png";
  ASSERT_EQ(testing::RunCli({"draw", solved.string(), "--out", bare.string()}).code, 0);
  const auto r = testing::RunCli(
      {"draw", solved.string(), "--out", over.string(), "--solution", "P 1.1", "--zoom", "1.6"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(testing::ReadWholeFile(bare.string()), testing::ReadWholeFile(over.string()));

  // Refusals: one line, exit 2, nothing written.
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"draw", solved.string(), "--out", (dir / "x.png").string(), "--solution", "Q 9"},
           {"draw", solved.string(), "--out", (dir / "x.png").string(), "--zoom", "2"},
           {"draw", solved.string(), "--out", (dir / "x.png").string(), "--zoom", "big"},
           {"draw", solved.string(), "--out", (dir / "x.gif").string()},
           {"draw", solved.string(), "--out", (dir / "none" / "x.png").string()},
           {"draw", solved.string()}}) {
    const auto refused = testing::RunCli(args);
    EXPECT_EQ(refused.code, 2) << args.back();
    EXPECT_NE(refused.err.find("ludomark-cli: "), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(dir / "x.png"));
  EXPECT_FALSE(fs::exists(dir / "x.gif"));
  fs::remove_all(dir);
}

// Whether two pictures decode to the same pixels.
bool SamePixels(const std::string& a, const std::string& b) {
  const QImage first(QString::fromStdString(a));
  const QImage second(QString::fromStdString(b));
  return !first.isNull() && first.convertToFormat(QImage::Format_ARGB32) ==
                                second.convertToFormat(QImage::Format_ARGB32);
}

// The README's pictures are what the command draws today, pixel for pixel (the font files come
// with the project's install script and are loaded by name, so the texts are stable; the PNG
// encoder's bytes may differ between library versions, the pixels may not).
TEST(DrawCli, TheReadmePicturesStillComeOut) {
  const std::string docs = std::string(LUDOMARK_EXAMPLES_DIR) + "/../docs";
  const fs::path out = testing::TestFolder() / "ludomark-readme.png";
  const std::vector<std::string> look = {"--zoom", "1.6", "--trim"};
  auto draw = [&](std::vector<std::string> args) {
    args.insert(args.end(), look.begin(), look.end());
    return testing::RunCli(args).code;
  };
  ASSERT_EQ(draw({"draw", Example("bluff.lmx"), "--out", out.string()}), 0);
  EXPECT_TRUE(SamePixels(out.string(), docs + "/help/bluff.png"));
  ASSERT_EQ(
      draw({"draw", docs + "/bluff_solved.lmx", "--out", out.string(), "--solution", "M 1.1"}), 0);
  EXPECT_TRUE(SamePixels(out.string(), docs + "/help/bluff_solution.png"));
  fs::remove(out);
}

// Every example and every damaged file the fuzzer kept draws, or is refused as no game.
TEST(DrawCli, AnyFileDrawsOrIsRefused) {
  const fs::path out = testing::TestFolder() / "ludomark-draw-any.svg";
  int drawn = 0;
  for (const char* dir : {LUDOMARK_EXAMPLES_DIR, LUDOMARK_CORPUS_DIR}) {
    for (const auto& entry : fs::directory_iterator(dir)) {
      const auto r = testing::RunCli({"draw", entry.path().string(), "--out", out.string()});
      EXPECT_TRUE(r.code == 0 || r.code == 2) << entry.path() << " " << r.code;
      drawn += r.code == 0 ? 1 : 0;
    }
  }
  EXPECT_GT(drawn, 100);
  fs::remove(out);
  // Each example as PNG: the size of its drawing extent, and not the white page of a game
  // with nothing in it.
  const fs::path png = testing::TestFolder() / "ludomark-draw-any.png";
  const fs::path empty = testing::TestFolder() / "ludomark-draw-empty.lmx";
  // A game file of no element (its header line alone): an empty file is no game file.
  WriteFileAtomically(empty.string(), std::string(40, ' ') + "900     \r\n");
  ASSERT_EQ(testing::RunCli({"draw", empty.string(), "--out", png.string()}).code, 0);
  const std::string blank = testing::ReadWholeFile(png.string());
  fs::remove(empty);
  for (const auto& entry : fs::directory_iterator(LUDOMARK_EXAMPLES_DIR)) {
    if (entry.path().extension() != ".lmx") continue;  // the cluster scripts
    ASSERT_EQ(testing::RunCli({"draw", entry.path().string(), "--out", png.string()}).code, 0);
    const std::string bytes = testing::ReadWholeFile(png.string());
    ASSERT_GT(bytes.size(), 24u);
    auto word = [&](std::size_t at) {
      return (static_cast<unsigned char>(bytes[at]) << 24) |
             (static_cast<unsigned char>(bytes[at + 1]) << 16) |
             (static_cast<unsigned char>(bytes[at + 2]) << 8) |
             static_cast<unsigned char>(bytes[at + 3]);
    };
    EXPECT_EQ(word(16), 2000u) << entry.path();  // the width and height in the PNG header
    EXPECT_EQ(word(20), 2000u) << entry.path();
    EXPECT_NE(bytes, blank) << entry.path();
  }
  fs::remove(png);
}

}  // namespace
}  // namespace ludomark

namespace ludomark {
namespace {

// The command-line program runs the drawing program for draw: the same picture as drawn in
// process, and a refusal's exit code comes through.
TEST(DrawCli, TheProgramHandsDrawToTheDrawingProgram) {
  const fs::path dir = testing::TestFolder() / "ludomark-draw-program";
  fs::create_directories(dir);
  const std::string game = testing::Example("bluff.lmx");
  const fs::path here = dir / "here.png";
  const fs::path there = dir / "there.png";
  ASSERT_EQ(testing::RunCli({"draw", game, "--out", here.string(), "--zoom", "1.2", "--trim"}).code,
            0);
  const std::string program = std::string(LUDOMARK_CLI) + " draw '" + game + "' ";
  EXPECT_EQ(std::system((program + "--out '" + there.string() + "' --zoom 1.2 --trim").c_str()), 0);
  EXPECT_EQ(testing::ReadWholeFile(here.string()), testing::ReadWholeFile(there.string()));
  const int refused = std::system(
      (program + "--out '" + (dir / "x.png").string() + "' --solution 'Q 9' 2>/dev/null").c_str());
  EXPECT_EQ(WEXITSTATUS(refused), 2);
  EXPECT_FALSE(fs::exists(dir / "x.png"));
}

}  // namespace
}  // namespace ludomark
