#pragma once

#include <iosfwd>
#include <string>

#include "document/game_form.h"

namespace ludomark::cli {

// Every solution of the solved game with the probability and expected value of every choice
// of a player, the belief at every node of a player and every player's value at every node.
void PrintSolutionsText(TGameForm32& game, std::ostream& out);
void PrintSolutionsJson(TGameForm32& game, const std::string& file, const std::string& method,
                        std::ostream& out);
// A number as JSON text with 17 significant digits.
std::string JsonNumber(double value);
std::string JsonString(const std::string& text);

}  // namespace ludomark::cli
