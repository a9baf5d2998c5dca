#pragma once

#include <string>

#include "document/game_form.h"

namespace ludomark {

// The game as .nfg text: it must be one table whose cells all end the game, without discount.
// Throws TFileError naming what prevents it otherwise.
std::string WriteNfgText(TGameType32& game, const std::string& path);
// The game as .efg text: it must be a finite tree (one start, no move leading back or joining
// another, no table, no discount below 1 on a personal move). Throws TFileError otherwise.
std::string WriteEfgText(TGameType32& game, const std::string& path);
// Writes the game as the file's extension asks (.efg or .nfg), whole or not at all.
void WriteExchangeFile(const std::string& path, TGameType32& game);

}  // namespace ludomark
