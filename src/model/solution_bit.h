#pragma once

#include <string>

#include "model/payoff.h"

namespace ludomark {

class TSolution32;

// Kinds of solution values; the kind is also the type code and the file record type.
enum SolutionBitKind : int {
  kBeliefBit = 801,           // belief at a node of a non-singleton set
  kMoveProbabilityBit = 802,  // probability of a move's choice
  kMoveExpectedBit = 803,     // expected value of a move's choice
  kNodeValueBit = 804,        // a player's expected value at a node
  kDiscountBit = 805,
  kStrategyProbabilityBit = 812,
  kStrategyExpectedBit = 813,
  kDiscountLabelBit = 820,
};

// One value a solution shows on the picture: an element (Move), a player for node values, the
// value, and the solution it belongs to.
class TSolutionBit : public TPayoff32 {
 public:
  Ref<TSolution32> Solution;
  int32_t SolutionNumber = 0;

  std::string Describe(int mode) override;
  void ParseLine(const std::string& line) override;
  // Resolves player, solution and element by their numbers and joins the solution's values;
  // false when the value cannot be attached.
  bool Relink() override;

  // The label followed by the value, e.g. "p= 0.5".
  void SetNameFromValue();
};

// The label shown before the value of a kind, e.g. "p= ".
std::string SolutionBitLabel(int kind);
// A new value of the kind for the element, filed nowhere.
TSolutionBit* NewSolutionBit(TFakeGame* owner, int kind, TGameObject32* element, TPlayer32* player,
                             double value);

}  // namespace ludomark
