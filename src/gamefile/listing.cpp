#include "gamefile/listing.h"

namespace ludomark {

namespace {

void AddSection(std::vector<std::string>& lines, TGameList& list, int mode) {
  list.ForEach([&](TGameObject32* e) {
    if (!e->Temporary) lines.push_back(e->Describe(mode));
  });
}

}  // namespace

std::vector<std::string> BuildListing(TGameForm32& game, int kind, TGameList* solutionEntries) {
  std::vector<std::string> lines;
  switch (kind) {
    case 1:
      lines.push_back("GAME IS FLAWED");
      AddSection(lines, game.Findings(), 1);
      break;
    case 2: {
      lines.push_back("GAME IS SOLVABLE");
      const std::pair<const char*, TGameList*> sections[] = {
          {"PLAYERS", &game.Players()},
          {"INFORMATION SETS", &game.Infos()},
          {"NODES AND TABLES", &game.Nodes()},
          {"MOVES AND CELLS", &game.Moves()},
          {"CHOICES AND STRATEGIES", &game.Strategies()},
          {"PAYOFFS", &game.Payoffs()},
      };
      for (const auto& [heading, list] : sections) {
        lines.push_back(heading);
        AddSection(lines, *list, 2);
      }
      break;
    }
    case 3:
      lines.push_back("LIST SOLUTION STEPS");
      AddSection(lines, game.SolverLog(), 3);
      break;
    case 4:
      lines.push_back("AUDIT SOLUTION");
      if (solutionEntries != nullptr) AddSection(lines, *solutionEntries, 4);
      break;
    default:
      break;
  }
  return lines;
}

std::vector<std::string> AuditListing(TGameForm32& game, bool passed,
                                      std::vector<std::string> drawn) {
  std::vector<std::string> lines = passed ? std::move(drawn) : BuildListing(game, kFlawedListMode);
  // Findings that do not fail the game, such as parts that play never reaches.
  if (passed && !game.Findings().Empty()) {
    lines.emplace_back("FINDINGS");
    AddSection(lines, game.Findings(), kFlawedListMode);
  }
  return lines;
}

}  // namespace ludomark
