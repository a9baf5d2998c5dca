#pragma once

#include <cstdint>

#include "document/game_form.h"

namespace ludomark::bench {

// A game of about `nodes` nodes ready for the solver: a tree of two players and chance with
// binary moves and payoffs at the leaves; with `cycles`, some leaves lead back to earlier
// nodes with a discount of 0.9 instead of ending the game.
void BuildGeneratedGame(TGameType32& game, int nodes, bool cycles);

// Games as a file leaves them, before any audit. A chain of `nodes` decision nodes, each
// with "go" on to the next and "stop" ending the game, taken in turn by the players (as many
// as there are nodes at most); every final move pays all `players` players, whole numbers from
// 0 to 9 (or, with `realPayoffs`, any numbers in that range, so that no two are alike).
void BuildChain(TGameType32& game, int nodes, int players, bool realPayoffs = false);
// A tree of about `nodes` nodes of two players and chance where every node has `fanOut`
// moves; the nodes of each player at one level form an information set of up to 4 nodes.
void BuildWideTree(TGameType32& game, int nodes, int fanOut);

// A tree of perfect information of about `nodes` nodes: levels of Ann, Bob and chance in turn,
// two moves from every node, and two final moves with payoffs that differ at every leaf.
void BuildPerfectTree(TGameType32& game, int nodes);

// A poker-like tree: chance deals one of 2^`rounds` cards in binary rounds; Ann sees her card
// and bets or checks; after a bet Bob, who sees all of the card but its last bit (which makes
// it high or low), calls or folds. A check shows the card for 1, a fold loses 1, a call 2.
void BuildPoker(TGameType32& game, int rounds);

// A table of Ann, Bob and Cy with `strategies` strategies each and random payoffs from 0 to 9.
void BuildThreePlayerTable(TGameType32& game, int strategies, uint64_t seed);

}  // namespace ludomark::bench
