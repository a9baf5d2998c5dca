#include "document/drawn_box.h"

#include <limits>

#include "model/cell.h"
#include "model/info.h"
#include "model/move.h"
#include "model/payoff.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"
#include "model/type_codes.h"

namespace ludomark {

namespace {
// Labels of 16 characters and a column of values reach this far from their anchor.
constexpr int32_t kMargin = 200;

TRect Around(int32_t x, int32_t y) {
  return TRect{x - kMargin, y - kMargin, x + kMargin, y + kMargin};
}

TRect Everywhere() {
  constexpr int32_t far = std::numeric_limits<int32_t>::max() / 2;
  return TRect{-far, -far, far, far};
}

TRect TableBox(const TTable32* table) {
  if (table == nullptr) return Everywhere();
  return TRect{table->X - kMargin, table->Y - kMargin, table->X + table->Width + kMargin,
               table->Y + table->Height + kMargin};
}

TRect MoveBox(TMove32* move) {
  TRect box = Around(move->X, move->Y);
  if (const TNode32* from = move->From.get()) box = UnionRect(box, Around(from->X, from->Y));
  if (const TNode32* to = move->To.get()) box = UnionRect(box, Around(to->X, to->Y));
  if (auto* cell = dynamic_cast<TCell32*>(move)) {
    box = UnionRect(box, UnionRect(Around(cell->CellX, cell->CellY), TableBox(cell->Table.get())));
  }
  return box;
}
}  // namespace

TRect DrawnBox(TGameObject32* element) {
  switch (element->TypeCode) {
    case kPlayer:
    case kNode:
      return Around(element->X, element->Y);
    case kTable:
      return TableBox(As<TTable32>(element));
    case kMove:
    case kCell:
      return MoveBox(As<TMove32>(element));
    case kInfo: {
      // A set draws the lines between its members, nothing at its own position.
      TInfo32* set = As<TInfo32>(element);
      if (set->Members.Empty()) return Around(element->X, element->Y);
      TRect box = Around(set->FirstMember()->X, set->FirstMember()->Y);
      set->Members.ForEach([&](TGameObject32* m) { box = UnionRect(box, Around(m->X, m->Y)); });
      return box;
    }
    case kSide:
      return TableBox(As<TSide32>(element)->Table.get());
    case kStrategy: {
      const TSide32* side = As<TStrat32>(element)->Side();
      return side != nullptr ? TableBox(side->Table.get()) : Everywhere();
    }
    case kPayoff: {
      auto* move = dynamic_cast<TMove32*>(As<TGameValue>(element)->Move.get());
      return move != nullptr ? MoveBox(move) : Everywhere();
    }
    default:
      return Everywhere();
  }
}

}  // namespace ludomark
