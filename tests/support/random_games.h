#pragma once

#include <cstdint>
#include <string>

namespace ludomark::testing {

// Games of a chosen size with random integer payoffs from 0 to 9, as .nfg and .efg text; the
// same seed gives the same game.

// A two-player table of rows x columns.
std::string RandomTableNfg(int rows, int columns, uint64_t seed);
// Chance deals one of two cards that nobody sees; then the two players take turns choosing
// between two moves, each seeing every move before, until `sets` information sets (each of
// two nodes, one per card) are placed; the rest of the tree ends in payoffs.
std::string RandomTreeEfg(int sets, uint64_t seed);

}  // namespace ludomark::testing
