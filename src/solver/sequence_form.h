#pragma once

#include <array>
#include <string>
#include <vector>

#include "document/game_form.h"

namespace ludomark {

class TChoice32;
class TInfo32;
class TPlayer32;

// One player's sequences (the empty one, then one per choice: the choice with the sequence
// that leads to its set) and the constraints that make a realisation plan.
struct TSequenceSide {
  TPlayer32* Player = nullptr;
  std::vector<TChoice32*> Choices;  // sequence s >= 1 ends with Choices[s - 1]
  std::vector<int> Parent;          // per sequence: the sequence before its last choice, -1
  std::vector<TInfo32*> Sets;       // constraint row r >= 1 is Sets[r - 1]
  std::vector<int> SetParent;       // per row: the sequence that leads to the set (row 0: -1)
  std::vector<std::vector<int>> SetChildren;  // per row: the set's sequences (row 0: {0})
  int Sequences() const { return static_cast<int>(Parent.size()); }
  int Rows() const { return static_cast<int>(SetParent.size()); }
};

// A two-player game without cycles as its sequence form: both players' sequences and the
// payoffs of every pair of sequences, in numbers of type Num. Play that reaches no payoff of a
// player adds nothing; chance is folded into the entries.
template <typename Num>
struct TSequenceFormOf {
  using Side = TSequenceSide;
  struct Entry {
    int S1 = 0;
    int S2 = 0;
    Num A{};     // first player's payoff
    Num B{};     // second player's
    Num Mass{};  // probability that play ends with this pair (chance alone)
  };
  std::array<Side, 2> Sides;
  std::vector<Entry> Entries;  // one per pair that play meets, in no order
};

// In the run's unit of payoffs, as the floating-point methods use it.
using TSequenceForm = TSequenceFormOf<double>;

// Builds the sequence form of an audited game; on a game it cannot take (more than two
// players, a cycle, a player who forgets), says why and leaves `form` unspecified.
std::string BuildSequenceForm(TGameForm32& game, TSequenceForm& form);

}  // namespace ludomark
