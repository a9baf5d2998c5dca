#include <filesystem>
#include <ostream>

#include "cli/cli.h"
#include "cli/commands.h"
#include "gamefile/exchange_file.h"
#include "gamefile/exchange_writer.h"
#include "gamefile/file_error.h"
#include "gamefile/game_file.h"
#include "gamefile/precise_numbers.h"
#include "session/load_game.h"

namespace ludomark::cli {

int ImportCommand(const std::string& in, const std::string& out, std::ostream& err) {
  if (!IsExchangeFile(in)) {
    err << "ludomark-cli: import reads .efg and .nfg files: " << in << "\n";
    return kExitUsage;
  }
  if (std::filesystem::path(out).extension() != ".lmx") {
    err << "ludomark-cli: import writes a .lmx game file: " << out << "\n";
    return kExitUsage;
  }
  TGameType32 game;
  if (!session::LoadGame(in, game, err)) return kExitUsage;
  try {
    WriteGameFile(out, game);
  } catch (const TFileError& e) {
    err << "ludomark-cli: " << e.what() << "\n";
    return kExitUsage;
  }
  // The game file's fields keep six digits: the numbers that lose more than rounding noise are
  // named (the first few), so that nobody takes the file for the exchange file's game.
  constexpr std::size_t kShown = 10;
  const std::vector<std::string> rounded = RoundedNumbers(game);
  for (std::size_t i = 0; i < rounded.size() && i < kShown; ++i) {
    err << "ludomark-cli: " << rounded[i] << "\n";
  }
  if (rounded.size() > kShown) {
    err << "ludomark-cli: and " << rounded.size() - kShown << " numbers more are rounded\n";
  }
  return kExitOk;
}

int ExportCommand(const std::string& in, const std::string& out, std::ostream& err) {
  if (!IsExchangeFile(out)) {
    err << "ludomark-cli: export writes .efg or .nfg files: " << out << "\n";
    return kExitUsage;
  }
  TGameType32 game;
  if (!session::LoadGame(in, game, err)) return kExitUsage;
  try {
    WriteExchangeFile(out, game);
  } catch (const TFileError& e) {
    err << "ludomark-cli: " << e.what() << "\n";
    return kExitUsage;
  }
  return kExitOk;
}

}  // namespace ludomark::cli
