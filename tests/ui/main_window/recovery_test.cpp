// Recovery copies and saves, with two instances of the program's logic side by side: a copy
// holds only what commands left, belongs to the instance that edits, never goes over a newer
// file, is private and never written through a link; a save notices another writer.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "audit/audit.h"
#include "gamefile/game_file.h"
#include "model/move.h"
#include "model/status_code.h"
#include "support/fake_main_host.h"
#include "support/run_cli.h"
#include "support/test_folder.h"

namespace ludomark {
namespace {

namespace fs = std::filesystem;

// One running program: its main window's logic over fake windows.
struct Instance {
  testing::FakeMainHost host;
  testing::ScriptedRunner runner;
  TRecordedMessages messages;
  TMainForm form{host, runner, messages, "help.html"};
  Instance() { host.Form = &form; }
  ~Instance() { host.Clear(); }
  TGameType32& Game() { return host.ActiveChild()->Game(); }
  void AddPlayer(const std::string& name) {
    runner.OnPlayer = [name](TPlayerDlg& d) {
      d.NameChange(name);
      d.ColorClick(2);
      return d.OKBtnClick();
    };
    form.AddPlayer();
    host.ActiveChild()->FormMouseDown(TMouseButton::Left, 700, 40);  // the drop
    host.ActiveChild()->FormMouseUp(TMouseButton::Left, 700, 40);
  }
};

struct RecoveryTest : ::testing::Test {
  fs::path dir = testing::TestFolder() / "ludomark-recovery";
  std::string savedCache;
  std::string path;

  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
    if (const char* cache = std::getenv("XDG_CACHE_HOME")) savedCache = cache;
    UseCache(dir / "cache");
    path = (dir / "bluff.lmx").string();
    fs::copy_file(fs::path(LUDOMARK_EXAMPLES_DIR) / "bluff.lmx", path);
  }
  void TearDown() override {
    ::setenv("XDG_CACHE_HOME", savedCache.c_str(), 1);
    fs::remove_all(dir);
  }
  static void UseCache(const fs::path& cache) { ::setenv("XDG_CACHE_HOME", cache.c_str(), 1); }
  static std::string Meta(const std::string& copy) {
    return fs::path(copy).replace_extension(".meta").string();
  }
  // The instance ends without closing its games: its copies stay, its claims go.
  static void Crash(std::unique_ptr<Instance>& instance, const std::string& gameFile) {
    instance->form.Recovery().Flush();
    const std::string copy = instance->form.Recovery().PathFor(gameFile);
    const std::string text = testing::ReadWholeFile(copy);
    const std::string meta = testing::ReadWholeFile(Meta(copy));
    instance.reset();  // its windows close as a user's would, dropping the copy: put it back
    std::ofstream(copy, std::ios::binary) << text;
    std::ofstream(Meta(copy), std::ios::binary) << meta;
  }
  static mode_t ModeOf(const std::string& file) {
    struct stat info {};
    ::lstat(file.c_str(), &info);
    return info.st_mode & 0777;
  }
};

// A payoff edited through its dialog: one notification when the command ends, an undo point,
// and a copy that reads back as the game and audits as it does. A cancelled dialog leaves no
// point and keeps Redo; an Undo notifies once.
TEST_F(RecoveryTest, CommandsNotifyOnceAndTheCopyIsTheGame) {
  Instance a;
  a.form.FileOpen(path);
  TMDIChild& window = *a.host.ActiveChild();
  TGameType32& game = window.Game();
  a.runner.OnPayoff = [](TPayoffDlg& d) {
    d.PlayerClick(0);
    d.PayoffEnter();
    d.PayoffChange("7");
    return true;
  };
  window.FormMouseMove(40, 250);  // over the move "Check"
  ASSERT_NE(window.Current(), nullptr);
  ASSERT_EQ(window.Current()->TypeCode, kMove);
  const int notified = game.Notifications();
  const int payoffs = game.Payoffs().LiveCount();
  window.Execute(TWindowCommand::EditPayoff);
  EXPECT_EQ(game.Notifications(), notified + 1);
  EXPECT_EQ(game.Payoffs().LiveCount(), payoffs);
  a.form.Recovery().Flush();
  const std::string copy = a.form.Recovery().PathFor(path);
  const std::string edited = GameFileText(game);
  ASSERT_EQ(testing::ReadWholeFile(copy), edited);
  TGameType32 recovered;
  ReadGameText(testing::ReadWholeFile(copy), recovered);
  EXPECT_TRUE(Audit(recovered));
  EXPECT_TRUE(recovered.Findings().Empty());
  EXPECT_EQ(ModeOf(copy), 0600U);
  EXPECT_EQ(ModeOf(a.form.Recovery().Folder()), 0700U);

  const int undo = game.Notifications();
  a.form.Undo();
  EXPECT_EQ(game.Notifications(), undo + 1);
  EXPECT_TRUE(window.History().CanRedo());
  a.runner.OnPayoff = [](TPayoffDlg& d) {
    d.PlayerClick(0);
    d.PayoffEnter();
    d.PayoffChange("9");
    return false;
  };
  window.FormMouseMove(40, 250);
  window.Execute(TWindowCommand::EditPayoff);
  EXPECT_TRUE(window.History().CanRedo());
  EXPECT_EQ(game.Payoffs().LiveCount(), payoffs);
  a.form.Redo();
  EXPECT_EQ(GameFileText(game), edited);
  a.form.Recovery().Flush();
  EXPECT_EQ(testing::ReadWholeFile(copy), edited);
}

// A second instance is told the game is open elsewhere: it may look at it read-only, and
// neither that nor its closing touches the first one's copy, which is offered once the first
// one has ended.
TEST_F(RecoveryTest, ASecondInstanceLeavesTheFirstOnesCopyAlone) {
  const std::string original = testing::ReadWholeFile(path);
  auto a = std::make_unique<Instance>();
  a->form.FileOpen(path);
  const int players = a->Game().Players().LiveCount();
  a->AddPlayer("Cy");
  a->form.Recovery().Flush();
  const std::string copy = a->form.Recovery().PathFor(path);
  ASSERT_TRUE(fs::exists(copy));

  Instance b;
  b.messages.Answer = false;
  b.form.FileOpen(path);
  ASSERT_FALSE(b.messages.Shown.empty());
  EXPECT_EQ(b.messages.Shown.back(),
            "This game is open in another Ludomark, which keeps its unsaved edits. Open it "
            "read-only?");
  EXPECT_EQ(b.host.ChildCount(), 0);
  b.messages.Answer = true;
  b.form.FileOpen(path);
  ASSERT_EQ(b.host.ChildCount(), 1);
  EXPECT_TRUE(b.Game().ReadOnly);
  EXPECT_FALSE(b.form.Enabled(TAction::AddPlayer));
  EXPECT_EQ(b.Game().Players().LiveCount(), players);
  b.host.Clear();
  EXPECT_TRUE(fs::exists(copy));

  Crash(a, path);
  b.messages.Shown.clear();
  b.form.FileOpen(path);
  ASSERT_EQ(b.messages.Shown.size(), 1U);
  EXPECT_EQ(b.messages.Shown[0],
            "Edits of this game that were not saved were kept when Ludomark last ended. Open "
            "them?");
  EXPECT_FALSE(b.Game().ReadOnly);
  EXPECT_EQ(b.Game().Players().LiveCount(), players + 1);
  EXPECT_EQ(b.Game().Status(), StatusEdited);
  EXPECT_EQ(testing::ReadWholeFile(path), original);
  // Undo goes back to the file.
  b.form.Undo();
  TGameType32 file;
  ASSERT_TRUE(ReadGameFile(path, file));
  EXPECT_EQ(GameFileText(b.Game()), GameFileText(file));
}

// Edits kept from before another program changed the file open as a new game, never over the
// file; and a save of a file that changed on disk asks first, offering Save As.
TEST_F(RecoveryTest, AnOutsideChangeIsNeverOverwrittenSilently) {
  auto a = std::make_unique<Instance>();
  a->form.FileOpen(path);
  const int players = a->Game().Players().LiveCount();
  a->AddPlayer("Cy");
  Crash(a, path);
  std::string outside = testing::ReadWholeFile(path);
  outside.replace(outside.find("Ann "), 4, "Amy ");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << outside;

  Instance b;
  b.messages.Answer = true;
  b.form.FileOpen(path);
  ASSERT_FALSE(b.messages.Shown.empty());
  EXPECT_EQ(b.messages.Shown.back(),
            "Edits of this game that were not saved were kept when Ludomark last ended, but the "
            "file changed since. Open the kept edits as a new game?");
  ASSERT_EQ(b.host.ChildCount(), 2);
  TGameType32& kept = b.Game();
  EXPECT_EQ(kept.Status(), StatusNew);
  EXPECT_FALSE(kept.HasFileName());
  EXPECT_EQ(kept.Players().LiveCount(), players + 1);
  EXPECT_EQ(testing::ReadWholeFile(path), outside);

  // The file's own window: edited, then the file changes on disk again.
  TMDIChild* own = nullptr;
  for (TMDIChild* w : b.form.Windows()) {
    if (w->Kind() == TWindowKind::Game && w->Game().HasFileName()) own = w;
  }
  ASSERT_NE(own, nullptr);
  b.host.Activate(*own);
  b.AddPlayer("Di");
  const std::string another =
      outside + "Eve             30      120     3       201     255   \r\n";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << another;
  b.messages.Answer = false;  // no overwrite; the Save As offered is cancelled
  b.form.FileSave();
  EXPECT_EQ(b.messages.Shown.back(), "The file changed on disk since it was opened. Overwrite it?");
  EXPECT_EQ(testing::ReadWholeFile(path), another);
  EXPECT_EQ(own->Game().Status(), StatusEdited);
  b.messages.Answer = true;
  b.form.FileSave();
  EXPECT_EQ(own->Game().Status(), StatusSaved);
  EXPECT_EQ(testing::ReadWholeFile(path), GameFileText(own->Game()));
  // Saved, the file is the game's again: the next save asks nothing.
  b.messages.Shown.clear();
  b.AddPlayer("Fay");
  b.form.FileSave();
  EXPECT_TRUE(b.messages.Shown.empty());
}

// Copies are private files written beside a link, never through it; what stands at a copy's
// name that is not a plain file (a link to a device, a pipe) is never read; a copy that cannot
// be written is said once in the status bar.
TEST_F(RecoveryTest, CopiesArePrivateAndNeverFollowLinks) {
  {
    Instance a;
    a.form.FileOpen(path);
    const std::string copy = a.form.Recovery().PathFor(path);
    const std::string target = (dir / "target.txt").string();
    std::ofstream(target) << "mine";
    fs::create_symlink(target, copy);
    a.AddPlayer("Cy");
    a.form.Recovery().Flush();
    EXPECT_EQ(testing::ReadWholeFile(target), "mine");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(copy)));
    EXPECT_EQ(ModeOf(copy), 0600U);
  }
  for (const bool fifo : {false, true}) {
    Instance b;
    const std::string copy = b.form.Recovery().PathFor(path);
    fs::remove(copy);
    if (fifo) {
      ASSERT_EQ(::mkfifo(copy.c_str(), 0600), 0);
    } else {
      fs::create_symlink("/dev/zero", copy);
    }
    b.form.FileOpen(path);
    EXPECT_TRUE(b.messages.Shown.empty()) << fifo;
    EXPECT_EQ(b.host.ChildCount(), 1) << fifo;
  }

  // A cache that cannot hold a folder.
  const fs::path blocked = dir / "blocked";
  std::ofstream(blocked.string()) << "a file";
  UseCache(blocked / "cache");
  Instance c;
  c.form.FileOpen(path);
  c.AddPlayer("Cy");
  c.AddPlayer("Di");
  ASSERT_EQ(c.host.Statuses.size(), 1U);
  EXPECT_EQ(c.host.Statuses[0].rfind("Edits are not being kept for recovery: ", 0), 0U);
}

// A copy that cannot be written (here the file size limit, as a full disk would) is said once,
// and the older copy goes with it: after a crash nothing offers edits older than the last ones.
TEST_F(RecoveryTest, ACopyThatCannotBeWrittenLeavesNoOlderOne) {
  Instance a;
  a.form.FileOpen(path);
  a.AddPlayer("Cy");
  a.form.Recovery().Flush();
  const std::string copy = a.form.Recovery().PathFor(path);
  ASSERT_TRUE(fs::exists(copy));
  struct rlimit kept {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &kept), 0);
  const struct rlimit small { 200, kept.rlim_max };
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  a.AddPlayer("Di");
  a.form.Recovery().Flush();
  ::setrlimit(RLIMIT_FSIZE, &kept);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(fs::exists(copy));
  // Said once: in the status bar when the failure came before the drop's notification, else by
  // the next one.
  std::vector<std::string> said = a.host.Statuses;
  if (const std::string failure = a.form.Recovery().TakeFailure(); !failure.empty()) {
    said.push_back(failure);
  }
  ASSERT_EQ(said.size(), 1U);
  EXPECT_NE(said[0].find("File too large"), std::string::npos) << said[0];
  EXPECT_EQ(a.form.Recovery().TakeFailure(), "");
}

}  // namespace
}  // namespace ludomark
