#pragma once

#include <set>
#include <string>
#include <vector>

#include "document/game_form.h"
#include "model/player.h"

namespace ludomark {

// Names as a game file can hold them: control characters blanked, cut to 16 bytes at a
// character boundary, and made unique among `used` by a "~2", "~3" ... suffix (the name cut
// further to make room). An empty name stays empty unless `fallback` is given.
std::string FitName(const std::string& name, std::set<std::string>& used,
                    const std::string& fallback = "");

// Distinct player colours, never the chance gray nor the background white.
int32_t PlayerColor(int index);

// The players of an imported game, in order: names fitted, distinct colours, figures in a
// column at the left edge.
std::vector<TPlayer32*> AddPlayers(const std::vector<std::string>& names, TGameType32& game);

}  // namespace ludomark
