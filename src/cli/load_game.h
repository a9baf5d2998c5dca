#pragma once

#include <iosfwd>
#include <string>

#include "document/game_form.h"

namespace ludomark::cli {

// Reads the game file into the document; on failure says why on err, naming the file.
bool LoadGame(const std::string& path, TGameType32& game, std::ostream& err);

}  // namespace ludomark::cli
