#include <ostream>

#include "cli/cli.h"
#include "cli/commands.h"
#include "gamefile/listing.h"
#include "session/load_game.h"

namespace ludomark::cli {

int ListCommand(const std::string& path, std::ostream& out, std::ostream& err) {
  TGameType32 game;
  if (!session::LoadGame(path, game, err)) return kExitUsage;
  for (const std::string& line : BuildListing(game, kSolvableListMode)) out << line << "\n";
  return kExitOk;
}

}  // namespace ludomark::cli
