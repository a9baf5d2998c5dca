#include "gamefile/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "gamefile/file_error.h"

namespace fs = std::filesystem;

namespace ludomark {

namespace {

std::string Reason(const char* what) {
  const int code = errno;
  return code != 0 ? std::string(what) + " (" + std::strerror(code) + ")" : std::string(what);
}

fs::path TemporaryBeside(const fs::path& target) {
  std::random_device seed;
  std::mt19937 engine(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = target;
    candidate += ".tmp" + std::to_string(engine() % 1000000);
    std::error_code ec;
    if (!fs::exists(candidate, ec) && !ec) return candidate;
  }
  return {};
}

}  // namespace

void WriteFileAtomically(const std::string& path, const std::string& text) {
  std::error_code ec;
  fs::path target = path;
  // Saving through a link replaces the file it points at, not the link.
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    target = fs::weakly_canonical(path, ec);
    if (ec) throw TFileError(path, "Cannot resolve the link to the game file");
  }
  if (fs::is_directory(target, ec)) throw TFileError(path, "Cannot write a folder as a game file");

  const fs::path temporary = TemporaryBeside(target);
  if (temporary.empty()) throw TFileError(path, "Cannot create a temporary file beside");
  {
    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw TFileError(path, Reason("Cannot create a new file beside"));
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
      const std::string reason = Reason("Cannot write the game file");
      out.close();
      fs::remove(temporary, ec);
      throw TFileError(path, reason);
    }
  }
  if (fs::exists(target, ec)) {
    fs::permissions(temporary, fs::status(target, ec).permissions(), ec);
  }
  fs::rename(temporary, target, ec);
  if (ec) {
    const std::string reason = "Cannot replace the game file (" + ec.message() + ")";
    fs::remove(temporary, ec);
    throw TFileError(path, reason);
  }
}

void AppendToFile(const std::string& path, const std::string& text) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) throw TFileError(path, Reason("Cannot open the game file for appending"));
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  if (!out) throw TFileError(path, Reason("Cannot append to the game file"));
}

}  // namespace ludomark
