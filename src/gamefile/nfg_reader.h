#pragma once

#include <string>

#include "document/game_form.h"

namespace ludomark {

// Reads a strategic-form game in the .nfg format into an empty document: one table whose sides
// are the players in order, each cell final with one payoff per player. The whole text is
// checked before anything is built, so a failure (TFileError naming the line) leaves the
// document empty.
void ReadNfgText(const std::string& text, const std::string& path, TGameType32& game);

}  // namespace ludomark
