#include "gamefile/exchange_file.h"

#include <filesystem>

#include "gamefile/bounded_read.h"
#include "gamefile/efg_reader.h"
#include "gamefile/file_error.h"
#include "gamefile/nfg_reader.h"

namespace ludomark {

namespace {
constexpr std::uintmax_t kMaxBytes = 64u << 20;

std::string Extension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}
}  // namespace

bool IsExchangeFile(const std::string& path) {
  const std::string ext = Extension(path);
  return ext == ".efg" || ext == ".nfg";
}

void ReadExchangeFile(const std::string& path, TGameType32& game) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw TFileError(path, "Not a game file");
  const std::string text = ReadBoundedFile(path, kMaxBytes, "file");
  if (Extension(path) == ".nfg") {
    ReadNfgText(text, path, game);
  } else {
    ReadEfgText(text, path, game);
  }
}

}  // namespace ludomark
