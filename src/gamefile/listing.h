#pragma once

#include <string>
#include <vector>

#include "document/game_form.h"

namespace ludomark {

// The four text listings of a game, one line each element, temporary elements left out:
// 1 "GAME IS FLAWED" (audit findings), 2 "GAME IS SOLVABLE" (every element by kind),
// 3 "LIST SOLUTION STEPS" (solver log), 4 "AUDIT SOLUTION" (a solution's audit entries,
// heading only without a solution).
std::vector<std::string> BuildListing(TGameForm32& game, int kind,
                                      TGameList* solutionEntries = nullptr);

// The listing an audit ends with: the flawed listing when it failed; when it passed, the
// solvable listing of the game as drawn (`drawn`, built before the audit: the audit's expansion
// of tables would show in the elements' texts) followed by "FINDINGS" and the findings that did
// not fail it, if any.
std::vector<std::string> AuditListing(TGameForm32& game, bool passed,
                                      std::vector<std::string> drawn);

}  // namespace ludomark
