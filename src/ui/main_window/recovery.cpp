#include "ui/main_window/recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>

namespace ludomark {

namespace fs = std::filesystem;

namespace {
// A copy is a game file: what a game file may not exceed, a copy may not either.
constexpr std::uint64_t kMaxCopyBytes = std::uint64_t{64} << 20;

std::string DefaultFolder() {
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache != '\0') {
    return (fs::path(cache) / "ludomark" / "recovery").string();
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return (fs::path(home) / ".cache" / "ludomark" / "recovery").string();
  }
  return "";
}

std::string SystemReason(int error) {
  return std::strerror(error);
}

// The bytes of a plain file within the limit, never through a link, a device or a pipe.
std::optional<std::string> ReadPlainFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::optional<std::string> text;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<std::uint64_t>(info.st_size) <= kMaxCopyBytes) {
    std::string bytes;
    std::vector<char> chunk(1 << 16);
    bool failed = false;
    while (bytes.size() <= kMaxCopyBytes) {
      const ssize_t n = ::read(fd, chunk.data(), chunk.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) failed = true;
      if (n <= 0) break;
      bytes.append(chunk.data(), static_cast<std::size_t>(n));
    }
    if (!failed && bytes.size() <= kMaxCopyBytes) text = std::move(bytes);
  }
  ::close(fd);
  return text;
}

// Writes a new private file beside `path` and renames it over whatever stands at `path` (a link
// there is replaced, not followed). The system's reason on failure, "" on success.
std::string ReplacePrivateFile(const std::string& folder, const std::string& path,
                               const std::string& text) {
  std::string name = (fs::path(folder) / ".writing-XXXXXX").string();
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);  // created exclusively, mode 0600
  if (fd < 0) return SystemReason(errno);
  std::size_t done = 0;
  int error = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(name.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(name.c_str());
    return SystemReason(error);
  }
  return "";
}
}  // namespace

TRecovery::TRecovery(std::string folder)
    : folder_(folder.empty() ? DefaultFolder() : std::move(folder)) {}

TRecovery::~TRecovery() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  wake_.notify_all();
  if (writer_.joinable()) writer_.join();
  for (const auto& [key, fd] : locks_) ::close(fd);
}

std::string TRecovery::KeyOf(const std::string& gameFile) const {
  // The hash of the file's absolute path: one name per game file, whatever its folder.
  std::error_code error;
  std::ostringstream key;
  key << std::hex << TextHash(fs::absolute(gameFile, error).lexically_normal().string());
  return key.str();
}

std::string TRecovery::PathFor(const std::string& gameFile) const {
  return (fs::path(folder_) / (KeyOf(gameFile) + ".lmx")).string();
}

std::string TRecovery::PrepareFolder() {
  std::error_code error;
  fs::create_directories(fs::path(folder_).parent_path(), error);
  if (::mkdir(folder_.c_str(), 0700) != 0 && errno != EEXIST) return SystemReason(errno);
  struct stat info {};
  if (::lstat(folder_.c_str(), &info) != 0) return SystemReason(errno);
  if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
    return "the folder " + folder_ + " is not a folder of this user's";
  }
  // A folder others can read would show them the edits.
  if ((info.st_mode & 077) != 0 && ::chmod(folder_.c_str(), 0700) != 0) {
    return SystemReason(errno);
  }
  return "";
}

bool TRecovery::Claim(const std::string& gameFile) {
  if (folder_.empty()) return true;
  const std::string key = KeyOf(gameFile);
  if (locks_.count(key) != 0) return true;
  if (const std::string reason = PrepareFolder(); !reason.empty()) {
    Fail(reason);
    return true;  // nothing can be kept, by anyone: there is nothing to protect
  }
  const std::string path = (fs::path(folder_) / (key + ".lock")).string();
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    Fail(SystemReason(errno));
    return true;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    if (!held) Fail(SystemReason(errno));
    return !held;
  }
  locks_[key] = fd;
  return true;
}

void TRecovery::Release(const std::string& gameFile) {
  const auto it = locks_.find(KeyOf(gameFile));
  if (it == locks_.end()) return;
  // Pending work for the game is done first: the next owner finds what this one left.
  Flush();
  ::close(it->second);
  locks_.erase(it);
}

bool TRecovery::Claimed(const std::string& gameFile) const {
  return locks_.count(KeyOf(gameFile)) != 0;
}

std::optional<TRecovery::TKept> TRecovery::Read(const std::string& gameFile) {
  if (folder_.empty() || !Claimed(gameFile)) return std::nullopt;
  Flush();
  const std::string key = KeyOf(gameFile);
  std::optional<std::string> text = ReadPlainFile(PathFor(gameFile));
  if (!text.has_value()) return std::nullopt;
  const std::optional<std::string> identity =
      ReadPlainFile((fs::path(folder_) / (key + ".meta")).string());
  TKept kept;
  kept.Text = std::move(*text);
  kept.Began = TFileIdentity::FromText(identity.value_or(""));
  return kept;
}

void TRecovery::Keep(const std::string& gameFile, std::string text, const TFileIdentity& began) {
  if (folder_.empty() || !Claimed(gameFile)) return;
  if (text.size() > kMaxCopyBytes) {
    // A copy no reader would take back is no copy: the older one goes, and the user is told.
    Fail("the game is larger than a game file may be");
    Enqueue(TJob{KeyOf(gameFile), false, "", ""});
    return;
  }
  Enqueue(TJob{KeyOf(gameFile), true, std::move(text), began.Text() + "\n"});
}

void TRecovery::Drop(const std::string& gameFile) {
  if (folder_.empty() || !Claimed(gameFile)) return;
  Enqueue(TJob{KeyOf(gameFile), false, "", ""});
}

void TRecovery::Enqueue(TJob job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // Only the last state of a game matters: one not yet written (or dropped) is replaced.
    for (auto it = jobs_.begin(); it != jobs_.end();) {
      it = it->Key == job.Key ? jobs_.erase(it) : it + 1;
    }
    jobs_.push_back(std::move(job));
    if (!writer_.joinable()) writer_ = std::thread([this] { Work(); });
  }
  wake_.notify_all();
}

void TRecovery::Flush() {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void TRecovery::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
    if (jobs_.empty()) return;  // ending, with nothing left to write
    TJob job = std::move(jobs_.front());
    jobs_.pop_front();
    busy_ = true;
    lock.unlock();
    const std::string reason = Do(job);
    lock.lock();
    busy_ = false;
    if (!reason.empty()) {
      failure_ = reason;
      failing_ = true;
    } else if (job.Write) {
      failing_ = false;
      reported_ = false;
    }
    idle_.notify_all();
  }
}

std::string TRecovery::Do(const TJob& job) {
  const std::string copy = (fs::path(folder_) / (job.Key + ".lmx")).string();
  const std::string meta = (fs::path(folder_) / (job.Key + ".meta")).string();
  if (!job.Write) {
    ::unlink(copy.c_str());
    ::unlink(meta.c_str());
    return "";
  }
  if (std::string reason = PrepareFolder(); !reason.empty()) return reason;
  std::string reason = ReplacePrivateFile(folder_, meta, job.Identity);
  if (reason.empty()) reason = ReplacePrivateFile(folder_, copy, job.Text);
  if (!reason.empty()) {
    // An older copy would be offered after a crash as if it held the last edits.
    ::unlink(copy.c_str());
    ::unlink(meta.c_str());
  }
  return reason;
}

void TRecovery::Fail(const std::string& reason) {
  std::lock_guard<std::mutex> lock(mutex_);
  failure_ = reason;
  failing_ = true;
}

std::string TRecovery::TakeFailure() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!failing_ || reported_) return "";
  reported_ = true;
  return failure_;
}

}  // namespace ludomark
