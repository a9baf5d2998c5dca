#include "cli/load_game.h"

#include <filesystem>
#include <ostream>

#include "gamefile/exchange_file.h"
#include "gamefile/file_error.h"
#include "gamefile/game_file.h"

namespace ludomark::cli {

bool LoadGame(const std::string& path, TGameType32& game, std::ostream& err) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    err << "ludomark-cli: cannot open game file '" << path << "': no such file\n";
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

}  // namespace ludomark::cli
