#include "session/load_game.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <ostream>

#include "gamefile/bounded_read.h"
#include "gamefile/exchange_file.h"
#include "gamefile/file_error.h"
#include "gamefile/game_file.h"

namespace ludomark::session {

bool LoadGame(const std::string& path, TGameType32& game, std::ostream& err) {
  if (path == kStandardInput) {
    // Standard input holds a game file's lines (exchange files are named by their extension).
    try {
      ReadGameText(ReadBoundedStream(std::cin, kMaxGameBytes, "standard input"), game);
    } catch (const TFileError& e) {
      err << "ludomark-cli: " << e.what() << "\n";
      return false;
    }
    if (game.Nodes().Empty() && game.Players().Empty()) {
      err << "ludomark-cli: standard input holds no game\n";
      return false;
    }
    return true;
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    // The system's reason: a folder that may not be entered is no missing file.
    const int error = errno;
    err << "ludomark-cli: cannot open game file '" << path
        << "': " << (error == ENOENT ? std::string("no such file") : std::strerror(error)) << "\n";
    return false;
  }
  try {
    if (IsExchangeFile(path)) {
      ReadExchangeFile(path, game);
      return true;
    }
    if (!ReadGameFile(path, game)) {
      err << "ludomark-cli: cannot open game file '" << path << "' for reading\n";
      return false;
    }
  } catch (const TFileError& e) {
    err << "ludomark-cli: " << e.what() << "\n";
    return false;
  }
  return true;
}

}  // namespace ludomark::session
