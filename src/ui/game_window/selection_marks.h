#pragma once

#include "model/canvas.h"
#include "model/game_list.h"

namespace ludomark {

// The colour selected elements are marked with (0x00BBGGRR: a light blue).
constexpr int32_t kSelectionColor = 0xFFD8A0;

// Marks every element of the selection with a light halo, drawn before the game so that the
// elements stay readable on top of it: a disc behind a node, a frame around a table, a broad
// band under a move's curve and along an information set's line.
void DrawSelectionMarks(TCanvas& canvas, TGameList& selection);

// The mark of the node the keyboard reached: a dotted black ring around it (a frame around a
// table), drawn over the game.
void DrawFocusMark(TCanvas& canvas, TGameObject32& element);

}  // namespace ludomark
