#pragma once

#include <cstdint>
#include <vector>

#include "document/game_form.h"

namespace ludomark {

class TChoice32;

// The shape backward induction walks: a game of perfect information without cycles, its
// decision and chance nodes in an order where every node comes after the nodes its moves lead
// to. Built from the audited game.
struct TInductionShape {
  struct Step {
    int Node = 0;   // node number
    int Mover = 0;  // player number, 0 for chance (or a node without a player)
    int First = 0;  // its options: Options[First] to Options[First + Count - 1]
    int Count = 0;
  };
  // What a node can do: a player's choice, or (at chance) the whole of its moves as one option.
  struct Option {
    TChoice32* Choice = nullptr;  // nullptr at chance
    int FirstMove = 0;            // Moves[FirstMove] to Moves[FirstMove + MoveCount - 1]
    int MoveCount = 0;
  };
  struct Move {
    int To = 0;           // node number, 0 when the move ends the game
    double Weight = 1;    // the discount at a player's node, the probability at chance
    double Reward = 0;    // weight of the rewards (the probability at chance, else 1)
    int FirstPayoff = 0;  // Payoffs[FirstPayoff] to Payoffs[FirstPayoff + PayoffCount - 1]
    int PayoffCount = 0;
  };
  std::vector<Step> Steps;
  std::vector<Option> Options;
  std::vector<Move> Moves;
  std::vector<std::pair<int, double>> Payoffs;  // (player number, payoff in the run's unit)
  int Nodes = 0;
  int Players = 0;
};

// Whether the audited game has perfect information (every set of a player has one member and
// is no table's side) and play cannot return to a node: backward induction answers it.
bool HasPerfectInformation(TGameForm32& game);

// Fills the shape when the audited game has perfect information (every set of a player has
// one member and is no table's side) and play cannot return to a node; false otherwise.
bool InductionShapeOf(TGameForm32& game, TInductionShape& shape);

}  // namespace ludomark
