#include "ui/main_window/recent_files.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

#include "gamefile/atomic_file.h"
#include "gamefile/file_error.h"

namespace ludomark {

namespace fs = std::filesystem;

namespace {
// A list file larger than this, or a line longer, is not one the program wrote.
constexpr std::uintmax_t kMaxStoreBytes = std::uintmax_t{64} * 1024;
constexpr std::size_t kMaxPathBytes = 4096;

std::string Absolute(const std::string& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}
}  // namespace

std::string TRecentFiles::DefaultStore() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
    return (fs::path(config) / "ludomark" / "recent-files").string();
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return (fs::path(home) / ".config" / "ludomark" / "recent-files").string();
  }
  return "";
}

TRecentFiles::TRecentFiles(std::string store) : store_(std::move(store)) {
  Load();
}

void TRecentFiles::Load() {
  if (store_.empty()) return;
  std::error_code error;
  if (!fs::is_regular_file(store_, error) || fs::file_size(store_, error) > kMaxStoreBytes) return;
  std::ifstream in(store_, std::ios::binary);
  std::string line;
  while (paths_.size() < kMaxFiles && std::getline(in, line)) {
    if (line.empty() || line.size() > kMaxPathBytes || line.find('\0') != std::string::npos) {
      continue;
    }
    if (std::find(paths_.begin(), paths_.end(), line) == paths_.end()) paths_.push_back(line);
  }
}

void TRecentFiles::Store() const {
  if (store_.empty()) return;
  std::string text;
  for (const std::string& path : paths_) text.append(path).append("\n");
  std::error_code error;
  fs::create_directories(fs::path(store_).parent_path(), error);
  try {
    WriteFileAtomically(store_, text);
  } catch (const TFileError&) {
  }
}

void TRecentFiles::Add(const std::string& path) {
  const std::string absolute = Absolute(path);
  if (absolute.empty() || absolute.size() > kMaxPathBytes ||
      absolute.find('\n') != std::string::npos) {
    return;  // a name the list file could not hold on one line
  }
  paths_.erase(std::remove(paths_.begin(), paths_.end(), absolute), paths_.end());
  paths_.insert(paths_.begin(), absolute);
  if (paths_.size() > kMaxFiles) paths_.resize(kMaxFiles);
  Store();
}

void TRecentFiles::Remove(const std::string& path) {
  const std::string absolute = Absolute(path);
  const auto end = std::remove(paths_.begin(), paths_.end(), absolute);
  if (end == paths_.end()) return;
  paths_.erase(end, paths_.end());
  Store();
}

}  // namespace ludomark
