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
  game.Moves().ForEach([&](TGameObject32* e) {
    auto* move = static_cast<TMove32*>(e);
    if (move->From.get() != nullptr) leaving[move->From.get()].push_back(move);
  });
  return leaving;
}

}  // namespace ludomark
