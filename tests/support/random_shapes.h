#pragma once

#include <cstdint>
#include <vector>

#include "document/game_form.h"
#include "model/random.h"
#include "support/game_builder.h"

namespace ludomark::testing {

// Random numbers for building games, repeatable by seed.
class RandomGame {
 public:
  explicit RandomGame(uint64_t seed) : random_(seed) {}

  int Int(int low, int high) { return low + static_cast<int>(random_.Next() * (high - low + 1)); }
  double Real(double low, double high) { return low + random_.Next() * (high - low); }

  void Final(GameBuilder& b, TMove32* move, const std::vector<TPlayer32*>& players) {
    for (TPlayer32* p : players) b.Payoff(move, p, Int(-4, 4));
  }

 private:
  TUniformRandom random_;
};

// A table at the root; cells end the game, lead to X or Y (a third player's information set),
// or pass through chance on the way to X. Cell (1, 1) goes through chance and the last cell
// to Y, so both members are reached.
void TableAtTheRoot(TGameType32& game, RandomGame& r);

// A root that passes through chance into a set {X, Y} or straight to Y; from the set play ends
// or returns to the root, discounted.
void DiscountedCycle(TGameType32& game, RandomGame& r);

// A table of three players with two or three strategies each, every cell ending the game.
void ThreePlayerTable(TGameType32& game, RandomGame& r);

}  // namespace ludomark::testing
