#include "gamefile/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gamefile/file_error.h"
#include "gamefile/game_file.h"
#include "model/player.h"
#include "support/run_cli.h"

namespace fs = std::filesystem;

namespace ludomark {
namespace {

std::string Slurp(const fs::path& p) {
  return testing::ReadWholeFile(p.string());
}

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("ludomark-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(TempFolder, ReplacesTheFileAndLeavesNothingElse) {
  const fs::path file = dir_ / "game.lmx";
  WriteFileAtomically(file.string(), "old\r\n");
  WriteFileAtomically(file.string(), "new\r\n");
  EXPECT_EQ(Slurp(file), "new\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(TempFolder, FailuresNameTheFileAndKeepTheOldOne) {
  const fs::path folder = dir_ / "is-a-folder.lmx";
  fs::create_directories(folder);
  try {
    WriteFileAtomically(folder.string(), "x");
    FAIL() << "writing over a folder must fail";
  } catch (const TFileError& e) {
    EXPECT_NE(std::string(e.what()).find("is-a-folder.lmx"), std::string::npos);
  }
  EXPECT_TRUE(fs::is_directory(folder));

  const fs::path missing = dir_ / "no-such-folder" / "game.lmx";
  EXPECT_THROW(WriteFileAtomically(missing.string(), "x"), TFileError);
  EXPECT_FALSE(fs::exists(missing));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

SaveStage failingStage;

TEST_F(TempFolder, AFailureAtAnyStageKeepsTheOldFileAndLeavesNothingElse) {
  const fs::path file = dir_ / "game.lmx";
  WriteFileAtomically(file.string(), "old\r\n");
  for (SaveStage stage : {SaveStage::Create, SaveStage::Write, SaveStage::Sync, SaveStage::Close,
                          SaveStage::Rename}) {
    failingStage = stage;
    SetSaveFault([](SaveStage s) { return s == failingStage; });
    EXPECT_THROW(WriteFileAtomically(file.string(), std::string(100000, 'x')), TFileError);
    SetSaveFault(nullptr);
    EXPECT_TRUE(Slurp(file) == "old\r\n") << static_cast<int>(stage);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  }
}

TEST_F(TempFolder, TheNextSaveRemovesWhatAKilledSaveLeftBehind) {
  const fs::path file = dir_ / "game.lmx";
  for (const char* name : {"game.lmx.tmp123456", "game.lmx.tmp7", "game.lmx.tmp12x", "game.lmx.tmp",
                           "game.lmx.tmp1234567", "other.lmx.tmp42"}) {
    std::ofstream(dir_ / name) << "left";
  }
  WriteFileAtomically(file.string(), "text");
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir_)) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  // Only this file's leftovers go: the others may be anybody's.
  EXPECT_EQ(left, (std::vector<std::string>{"game.lmx", "game.lmx.tmp", "game.lmx.tmp1234567",
                                            "game.lmx.tmp12x", "other.lmx.tmp42"}));
}

std::vector<SaveStage> stagesMade;

TEST_F(TempFolder, TheTextReachesTheDiskBeforeItReplacesTheOldFile) {
  const fs::path file = dir_ / "game.lmx";
  SetSaveFault([](SaveStage s) {
    stagesMade.push_back(s);
    return false;
  });
  WriteFileAtomically(file.string(), "text");
  SetSaveFault(nullptr);
  // Flushed and closed before the rename, the rename flushed with its folder afterwards.
  EXPECT_EQ(stagesMade,
            (std::vector<SaveStage>{SaveStage::Create, SaveStage::Write, SaveStage::Sync,
                                    SaveStage::Close, SaveStage::Rename, SaveStage::SyncFolder}));
  EXPECT_EQ(Slurp(file), "text");
}

TEST_F(TempFolder, ModeOwnerAndReadOnlyFilesAreRespected) {
  const fs::path file = dir_ / "game.lmx";
  WriteFileAtomically(file.string(), "old");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(file.c_str(), 1234, 5678), 0);
  }
  WriteFileAtomically(file.string(), "new");
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (::geteuid() == 0) {
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 5678u);
  }
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  try {
    WriteFileAtomically(file.string(), "newer");
    FAIL() << "a read-only file must be refused";
  } catch (const TFileError& e) {
    EXPECT_NE(std::string(e.what()).find("read-only"), std::string::npos);
  }
  EXPECT_EQ(Slurp(file), "new");
}

TEST_F(TempFolder, ConcurrentSavesEachLeaveOneWholeFile) {
  const fs::path file = dir_ / "game.lmx";
  const std::string a(300000, 'a');
  const std::string b(200000, 'b');
  std::atomic<int> failures{0};
  auto saver = [&](const std::string& text) {
    for (int i = 0; i < 20; ++i) {
      try {
        WriteFileAtomically(file.string(), text);
      } catch (const TFileError&) {
        ++failures;
      }
      const std::string now = Slurp(file);
      if (now != a && now != b) ++failures;
    }
  };
  std::thread first(saver, a);
  std::thread second(saver, b);
  first.join();
  second.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(TempFolder, SavingThroughALinkReplacesItsTarget) {
  const fs::path real = dir_ / "real.lmx";
  const fs::path link = dir_ / "link.lmx";
  WriteFileAtomically(real.string(), "old");
  fs::create_symlink(real, link);
  WriteFileAtomically(link.string(), "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Slurp(real), "new");
}

TEST_F(TempFolder, GameFilesOpenAndSave) {
  const fs::path file = dir_ / "g.lmx";
  TGameType32 unread;
  EXPECT_FALSE(GameFileExists(file.string()));
  EXPECT_FALSE(ReadGameFile(file.string(), unread));
  EXPECT_FALSE(ReadGameFile(dir_.string(), unread));
  EXPECT_FALSE(unread.HasFileName());

  TGameType32 game;
  auto* player = NewElement<TPlayer32>(&game);
  player->SetName("Ann");
  game.AddObject(player);
  game.ForceStatus(StatusEdited);
  EXPECT_THROW(WriteGameFile((dir_ / "none" / "g.lmx").string(), game), TFileError);
  EXPECT_EQ(game.Status(), StatusEdited);  // a failed save does not claim success
  WriteGameFile(file.string(), game);
  EXPECT_EQ(game.Status(), StatusSaved);
  EXPECT_EQ(game.FileName(), file.string());
  TGameType32 back;
  EXPECT_TRUE(ReadGameFile(file.string(), back));
  EXPECT_EQ(back.FileName(), file.string());
}

}  // namespace
}  // namespace ludomark
