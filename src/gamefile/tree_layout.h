#pragma once

#include <functional>

#include "document/game_form.h"

namespace ludomark {

// Places the nodes, tables and moves of a game built without positions as the importer lays out
// a tree: one row a level from the top, each final move (or node without moves) a column of
// its own, each node over the middle of what follows it. A move back to a node met before does
// not make it a child again. Elements for which `placed` answers true keep their position.
void LayOutTree(TGameForm32& game, const std::function<bool(const TGameObject32*)>& placed);

}  // namespace ludomark
