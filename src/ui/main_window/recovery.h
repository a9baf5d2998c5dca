#pragma once

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "gamefile/file_identity.h"

namespace ludomark {

// Copies of edited games kept in the user's cache folder, one per game file, so that edits not
// saved when the program ended abruptly can be offered when that game is next opened. A copy
// belongs to the one running instance that claimed its game file (an advisory lock held while
// the game is open), so another instance never offers or drops it. Copies are never the user's
// file: one goes when its game is saved or closed.
//
// The folder is private (0700) and the copies 0600; a copy is written to a new file created
// exclusively and renamed into place, so a link standing at its name is replaced, never
// followed. Writing happens on a thread of its own: the interface waits for no disk.
class TRecovery {
 public:
  // `folder` empty: $XDG_CACHE_HOME/ludomark/recovery, else ~/.cache/ludomark/recovery (none
  // without a home).
  explicit TRecovery(std::string folder = "");
  ~TRecovery();
  TRecovery(const TRecovery&) = delete;
  TRecovery& operator=(const TRecovery&) = delete;
  const std::string& Folder() const { return folder_; }
  // The copy that stands for the game file.
  std::string PathFor(const std::string& gameFile) const;

  // Makes the game file this instance's: false when another running instance holds it (true
  // when there is no folder for copies: then nothing is kept, and nothing is at stake).
  bool Claim(const std::string& gameFile);
  // The game is closed: another instance may have it now.
  void Release(const std::string& gameFile);
  bool Claimed(const std::string& gameFile) const;

  // A copy left by an instance that ended, with the identity its game file had when the edits
  // began. Nothing for a game file this instance has not claimed, and nothing for what is not a
  // plain file within the game file's size limit.
  struct TKept {
    std::string Text;
    TFileIdentity Began;
  };
  std::optional<TKept> Read(const std::string& gameFile);
  // Asks for the copy to be written (a later ask for the same game replaces one not yet done).
  void Keep(const std::string& gameFile, std::string text, const TFileIdentity& began);
  void Drop(const std::string& gameFile);
  // Waits until every write and drop asked for is done.
  void Flush();
  // Why copies are not being written, once per run of failures ("" otherwise).
  std::string TakeFailure();

 private:
  struct TJob {
    std::string Key;
    bool Write = false;
    std::string Text;
    std::string Identity;
  };
  std::string KeyOf(const std::string& gameFile) const;
  // The folder exists, is a directory of this user's and is private; the reason when not.
  std::string PrepareFolder();
  void Enqueue(TJob job);
  void Work();
  std::string Do(const TJob& job);
  void Fail(const std::string& reason);

  std::string folder_;
  std::map<std::string, int> locks_;  // key: the lock file held open
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<TJob> jobs_;
  bool busy_ = false;
  bool ending_ = false;
  std::thread writer_;
  std::string failure_;
  bool failing_ = false;
  bool reported_ = false;
};

}  // namespace ludomark
