#pragma once

#include <string>

#include "document/game_form.h"

namespace ludomark {

// Reads an extensive-form game in the .efg format into an empty document, laid out as a tree
// from the top down: chance and personal nodes, moves named by their actions, information sets
// of two or more nodes, payoffs on the moves that earn them. The whole text is checked before
// anything is built, so a failure (TFileError naming the line) leaves the document empty.
void ReadEfgText(const std::string& text, const std::string& path, TGameType32& game);

}  // namespace ludomark
