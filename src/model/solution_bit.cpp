#include "model/solution_bit.h"

#include "model/fake_game.h"
#include "model/fixed_fields.h"
#include "model/number_format.h"
#include "model/player.h"
#include "model/solution.h"

namespace ludomark {

std::string SolutionBitLabel(int kind) {
  switch (kind) {
    case kBeliefBit:
      return "b= ";
    case kMoveProbabilityBit:
    case kStrategyProbabilityBit:
      return "p= ";
    case kMoveExpectedBit:
    case kStrategyExpectedBit:
      return "e= ";
    case kNodeValueBit:
      return "E= ";
    case kDiscountBit:
      return "D= ";
    case kUpperBoundBit:
      return "M= ";
    case kLowerBoundBit:
      return "m= ";
    case kDiscountLabelBit:
      return "d= ";
    default:
      return "";
  }
}

TSolutionBit* NewSolutionBit(TFakeGame* owner, int kind, TGameObject32* element, TPlayer32* player,
                             double value) {
  auto* bit = NewElement<TSolutionBit>(owner);
  bit->TypeCode = kind;
  bit->Move = element;
  bit->Player = player;
  bit->Value = value;
  bit->SetNameFromValue();
  return bit;
}

void TSolutionBit::SetNameFromValue() {
  SetName(SolutionBitLabel(TypeCode) + FormatGeneral(Value, 6));
}

std::string TSolutionBit::Describe(int mode) {
  if (mode == kSolverStepsMode || mode == kStoredTextMode) return Text;
  TGameValue::Describe(mode);
  AppendColumn(Text, NumberText(Solution.get()), 88);
  return Text;
}

void TSolutionBit::ParseLine(const std::string& line) {
  TGameValue::ParseLine(line);
  SolutionNumber = ParseIntField(FieldAt(line, 81, 8));
}

bool TSolutionBit::Relink() {
  if (Owner == nullptr) return false;
  Player = dynamic_cast<TPlayer32*>(Owner->Players().ElementAt(PlayerNumber));
  Solution = dynamic_cast<TSolution32*>(Owner->Solutions().ElementAt(SolutionNumber));
  TGameList* targets = nullptr;
  switch (TypeCode) {
    case kBeliefBit:
    case kNodeValueBit:
      targets = &Owner->Nodes();
      break;
    case kMoveProbabilityBit:
    case kMoveExpectedBit:
      targets = &Owner->Moves();
      break;
    case kStrategyProbabilityBit:
    case kStrategyExpectedBit:
      targets = &Owner->Strategies();
      break;
    default:
      break;
  }
  bool gone = false;
  Move = targets != nullptr ? Owner->ElementAsRead(*targets, FromNumber, gone) : nullptr;
  if (Solution.get() == nullptr || Move.get() == nullptr) return false;
  Solution->Bits.Add(this);
  SetNameFromValue();
  return true;
}

}  // namespace ludomark
