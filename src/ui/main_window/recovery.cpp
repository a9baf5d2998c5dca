#include "ui/main_window/recovery.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gamefile/atomic_file.h"
#include "gamefile/file_error.h"

namespace ludomark {

namespace fs = std::filesystem;

namespace {
std::string DefaultFolder() {
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache != '\0') {
    return (fs::path(cache) / "ludomark" / "recovery").string();
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return (fs::path(home) / ".cache" / "ludomark" / "recovery").string();
  }
  return "";
}

// FNV-1a of the file's absolute path: one name per game file, whatever its folder.
std::string KeyOf(const std::string& gameFile) {
  std::error_code error;
  const std::string absolute = fs::absolute(gameFile, error).lexically_normal().string();
  uint64_t hash = 14695981039346656037ULL;
  for (const unsigned char c : absolute) {
    hash = (hash ^ c) * 1099511628211ULL;
  }
  std::ostringstream key;
  key << std::hex << hash;
  return key.str();
}
}  // namespace

TRecovery::TRecovery(std::string folder)
    : folder_(folder.empty() ? DefaultFolder() : std::move(folder)) {}

std::string TRecovery::PathFor(const std::string& gameFile) const {
  return (fs::path(folder_) / (KeyOf(gameFile) + ".lmx")).string();
}

void TRecovery::Keep(const std::string& gameFile, const std::string& text) const {
  if (folder_.empty()) return;
  std::error_code error;
  fs::create_directories(folder_, error);
  try {
    WriteFileAtomically(PathFor(gameFile), text);
  } catch (const TFileError&) {
    // No copy, no harm: the game itself is untouched.
  }
}

std::string TRecovery::Read(const std::string& gameFile) const {
  if (folder_.empty()) return "";
  std::ifstream in(PathFor(gameFile), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void TRecovery::Drop(const std::string& gameFile) const {
  if (folder_.empty()) return;
  std::error_code error;
  fs::remove(PathFor(gameFile), error);
}

}  // namespace ludomark
