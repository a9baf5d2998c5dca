#pragma once

#include <string>

#include "document/game_form.h"

namespace ludomark {

// Whether the file's extension names one of the exchange formats (.efg, .nfg).
bool IsExchangeFile(const std::string& path);

// Reads a .efg or .nfg file into an empty document (no file name is set: the game has not been
// saved as a game file yet). Throws TFileError naming the file, and the line, on failure; the
// document is then left empty.
void ReadExchangeFile(const std::string& path, TGameType32& game);

}  // namespace ludomark
