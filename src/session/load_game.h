#pragma once

#include <iosfwd>
#include <string>

#include "document/game_form.h"

namespace ludomark::session {

// The path that names standard input.
inline constexpr const char* kStandardInput = "-";

// Reads the game file into the document ("-": a game file's lines from standard input); on
// failure says why on err, naming the file.
bool LoadGame(const std::string& path, TGameType32& game, std::ostream& err);

}  // namespace ludomark::session
