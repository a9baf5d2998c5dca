#include "gamefile/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "gamefile/file_error.h"

namespace fs = std::filesystem;

namespace ludomark {

namespace {

SaveFault saveFault = nullptr;

// Makes one stage's call, unless a test's fault answers for it (then it fails with EIO). Every
// stage goes through here, so a test that records the stages sees each call the save makes.
template <class Call>
bool Stage(SaveStage stage, Call call) {
  if (saveFault != nullptr && saveFault(stage)) {
    errno = EIO;
    return false;
  }
  return call();
}

std::string Reason(const char* what, int code) {
  return code != 0 ? std::string(what) + " (" + std::strerror(code) + ")" : std::string(what);
}

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// Removes the temporary file unless the save got as far as renaming it.
class TemporaryFile {
 public:
  explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  const fs::path& path() const { return path_; }
  void Keep() { path_.clear(); }

 private:
  fs::path path_;
};

bool WriteAll(int fd, const std::string& text) {
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

// Creates a new file beside the target with an unused name; -1 when none can be made.
int CreateBeside(const fs::path& target, mode_t mode, fs::path& created) {
  std::random_device seed;
  std::mt19937 engine(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = target;
    candidate += ".tmp" + std::to_string(engine() % 1000000);
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) {
      if (fd >= 0) created = candidate;
      return fd;
    }
  }
  errno = EEXIST;
  return -1;
}

// Removes what saves of the target killed before their end left beside it (its name, ".tmp" and
// up to six digits): with the folder's lock held, no save of the target is under way.
void RemoveLeftovers(const fs::path& target) {
  const std::string prefix = target.filename().string() + ".tmp";
  std::error_code ec;
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 6 ||
        name.compare(0, prefix.size(), prefix) != 0) {
      continue;
    }
    const bool digits = std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()),
                                    name.end(), [](char c) { return c >= '0' && c <= '9'; });
    std::error_code kind;
    if (digits && it->is_regular_file(kind) && !it->is_symlink(kind)) {
      ::unlink(it->path().c_str());
    }
  }
}

}  // namespace

void SetSaveFault(SaveFault fault) {
  saveFault = fault;
}

namespace {
// Where a save of the path writes: the file a link points at, never a folder.
fs::path SaveTarget(const std::string& path) {
  std::error_code ec;
  fs::path target = path;
  // Saving through a link replaces the file it points at, not the link.
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    target = fs::weakly_canonical(path, ec);
    if (ec) throw TFileError(path, "Cannot resolve the link to the game file");
  }
  if (fs::is_directory(target, ec)) throw TFileError(path, "Cannot write a folder as a game file");
  return target;
}

// Whether a file stands at the target (its state in `old`); one that does must be a plain file
// open to writing.
bool ReplaceableFile(const std::string& path, const fs::path& target, struct stat& old) {
  if (::stat(target.c_str(), &old) != 0) return false;
  if (!S_ISREG(old.st_mode)) throw TFileError(path, "Cannot replace what is not a plain file");
  // Renaming would ignore the mode, and root may write anything: ask the mode itself.
  if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
    throw TFileError(path, "The game file is read-only");
  }
  return true;
}
}  // namespace

std::string WhyNotReplaceable(const std::string& path) {
  try {
    struct stat old {};
    ReplaceableFile(path, SaveTarget(path), old);
  } catch (const TFileError& e) {
    return e.what();
  }
  return "";
}

void WriteFileAtomically(const std::string& path, const std::string& text) {
  const fs::path target = SaveTarget(path);

  // Saves in one folder take turns, so two saves of one file never interleave.
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  Descriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.get() < 0) throw TFileError(path, Reason("Cannot open the folder", errno));
  while (::flock(folderFd.get(), LOCK_EX) != 0) {
    if (errno != EINTR) throw TFileError(path, Reason("Cannot lock the folder", errno));
  }
  RemoveLeftovers(target);

  struct stat old {};
  const bool exists = ReplaceableFile(path, target, old);
  const mode_t mode = exists ? old.st_mode & 07777 : 0666;  // the umask applies to a new file

  fs::path created;
  int fd = -1;
  const bool made = Stage(SaveStage::Create, [&] {
    fd = CreateBeside(target, exists ? (mode & 0700) : mode, created);
    return fd >= 0;
  });
  TemporaryFile temporary(created);
  Descriptor file(fd);
  if (!made) {
    throw TFileError(path, Reason("Cannot create a new file beside", errno));
  }
  if (exists) {
    // The owner's bits from the start, the rest once the owner is right: never readable by
    // others for a moment when the old file was not.
    if (::geteuid() == 0 && ::fchown(file.get(), old.st_uid, old.st_gid) != 0) {
      throw TFileError(path, Reason("Cannot keep the owner of the game file", errno));
    }
    if (::fchmod(file.get(), mode) != 0) {
      throw TFileError(path, Reason("Cannot keep the mode of the game file", errno));
    }
  }
  if (!Stage(SaveStage::Write, [&] { return WriteAll(file.get(), text); })) {
    throw TFileError(path, Reason("Cannot write the game file", errno));
  }
  if (!Stage(SaveStage::Sync, [&] { return ::fsync(file.get()) == 0; })) {
    throw TFileError(path, Reason("Cannot write the game file to disk", errno));
  }
  if (!Stage(SaveStage::Close, [&] { return ::close(file.release()) == 0; })) {
    throw TFileError(path, Reason("Cannot close the game file", errno));
  }
  if (!Stage(SaveStage::Rename,
             [&] { return ::rename(temporary.path().c_str(), target.c_str()) == 0; })) {
    throw TFileError(path, Reason("Cannot replace the game file", errno));
  }
  temporary.Keep();
  // The rename itself reaches the disk with the folder; the file is in place either way.
  Stage(SaveStage::SyncFolder, [&] { return ::fsync(folderFd.get()) == 0; });
}

}  // namespace ludomark
