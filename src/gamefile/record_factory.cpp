#include "gamefile/record_factory.h"

#include "model/cell.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/side.h"
#include "model/solution.h"
#include "model/solution_bit.h"
#include "model/strat.h"
#include "model/table.h"

namespace ludomark {

TGameObject32* NewElementForRecord(int typeCode, TFakeGame* owner) {
  switch (typeCode) {
    case kPlayer:
      return NewElement<TPlayer32>(owner);
    case kMove:
      return NewElement<TMove32>(owner);
    case kPayoff:
      return NewElement<TPayoff32>(owner);
    case kInfo:
      return NewElement<TInfo32>(owner);
    case kStrategy:
      return NewElement<TStrat32>(owner);
    case kSide:
      return NewElement<TSide32>(owner);
    case kNode:
      return NewElement<TNode32>(owner);
    case kTable:
      return NewElement<TTable32>(owner);
    case kCell:
      return NewElement<TCell32>(owner);
    case kSolution:
      return NewSolution(owner);
    case kBeliefBit:
    case kMoveProbabilityBit:
    case kMoveExpectedBit:
    case kNodeValueBit:
    case kStrategyProbabilityBit:
    case kStrategyExpectedBit: {
      TSolutionBit* bit = NewElement<TSolutionBit>(owner);
      bit->TypeCode = typeCode;
      return bit;
    }
    default:
      return nullptr;
  }
}

}  // namespace ludomark
