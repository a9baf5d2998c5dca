#include <ostream>
#include <utility>

#include "audit/audit.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "gamefile/listing.h"
#include "session/load_game.h"

namespace ludomark::cli {

int AuditCommand(const std::string& path, std::ostream& out, std::ostream& err) {
  TGameType32 game;
  if (!session::LoadGame(path, game, err)) return kExitUsage;
  std::vector<std::string> drawn = BuildListing(game, kSolvableListMode);
  const bool passed = Audit(game);
  // An empty game fails without a finding; the listing alone would not say why.
  if (game.Nodes().Empty()) err << "ludomark-cli: the game has no nodes\n";
  for (const std::string& line : AuditListing(game, passed, std::move(drawn))) out << line << "\n";
  return passed ? kExitOk : kExitFlawed;
}

}  // namespace ludomark::cli
