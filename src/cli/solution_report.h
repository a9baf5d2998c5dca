#pragma once

#include <iosfwd>
#include <string>

#include "document/game_form.h"

namespace ludomark::cli {

// Every solution of the solved game with the probability and expected value of every choice
// of a player, the belief at every node of a player and every player's value at every node.
void PrintSolutionsText(TGameForm32& game, std::ostream& out);
// The JSON form adds how the run ended ("solved", "no solution", "flawed", "stopped") and, for
// a flawed game, the text of every finding.
void PrintSolutionsJson(TGameForm32& game, const std::string& file, const std::string& method,
                        const std::string& outcome, std::ostream& out);
// A JSON string: UTF-8 passes as it is, other bytes as the Latin-1 characters they would be.
std::string JsonString(const std::string& text);

}  // namespace ludomark::cli
