#pragma once

#include <unordered_map>
#include <vector>

#include "document/game_form.h"
#include "model/move.h"

namespace ludomark {

using LeavingMoves = std::unordered_map<const TNode32*, std::vector<TMove32*>>;

// The moves that leave each node, in Moves order, gathered in one walk.
inline LeavingMoves GatherLeavingMoves(TGameForm32& game) {
  LeavingMoves leaving;
  game.Moves().ForEachAs<TMove32>([&](TMove32* move) {
    if (move->From.get() != nullptr) leaving[move->From.get()].push_back(move);
  });
  return leaving;
}

}  // namespace ludomark
