#include "gamefile/tree_layout.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "model/cell.h"
#include "model/move.h"
#include "model/node.h"
#include "model/side.h"
#include "model/table.h"

namespace ludomark {

namespace {

constexpr int32_t kColumn = 100;
constexpr int32_t kRow = 130;
constexpr int32_t kLeft = 140;
constexpr int32_t kTop = 60;

struct TSlot {
  std::vector<TMove32*> leaving;  // moves and cells out of the node, in Moves order
  int32_t x = 0;
  int depth = -1;  // -1 until the walk meets the node
};

// The columns a table takes: one for each strategy of its first side.
int32_t TableColumns(TNode32* node) {
  if (node->TypeCode != kTable) return 1;
  TSide32* side = static_cast<TTable32*>(node)->SideAt(0);
  return side == nullptr ? 1 : std::max(1, side->StrategyCount());
}

}  // namespace

void LayOutTree(TGameForm32& game, const std::function<bool(const TGameObject32*)>& placed) {
  std::unordered_map<TNode32*, TSlot> slots;
  std::vector<TNode32*> order;
  game.Nodes().ForEach([&](TGameObject32* e) {
    if (e->Temporary) return;
    order.push_back(As<TNode32>(e));
    slots[order.back()];
  });
  std::unordered_map<TNode32*, bool> entered;
  game.Moves().ForEach([&](TGameObject32* e) {
    auto* move = As<TMove32>(e);
    if (move->Temporary) return;
    TNode32* from = move->From.get();
    if (move->TypeCode == kCell) from = static_cast<TCell32*>(move)->Table.get();
    if (from == nullptr || slots.count(from) == 0) return;
    slots[from].leaving.push_back(move);
    if (move->To.get() != nullptr) entered[move->To.get()] = true;
  });
  std::unordered_map<TMove32*, int32_t> finalX;
  int32_t column = 0;
  // Depth-first from every node no move enters (then from any node not met yet, for cycles),
  // without recursion: a chain of a million nodes is laid out too.
  auto walk = [&](TNode32* root) {
    struct TFrame {
      TNode32* node;
      std::size_t next;
      int32_t start;  // its first column
    };
    std::vector<TFrame> stack{{root, 0, column}};
    slots[root].depth = 0;
    while (!stack.empty()) {
      TFrame& top = stack.back();
      TSlot& slot = slots[top.node];
      bool descended = false;
      while (top.next < slot.leaving.size()) {
        TMove32* move = slot.leaving[top.next++];
        TNode32* to = move->To.get();
        if (to == nullptr || slots.count(to) == 0) {
          // Final cells sit inside their table; a final move takes a column.
          if (move->TypeCode != kCell) finalX[move] = kLeft + kColumn * column++;
          continue;
        }
        if (slots[to].depth >= 0) continue;  // met before: no child of this node
        slots[to].depth = slot.depth + 1;
        stack.push_back({to, 0, column});
        descended = true;
        break;
      }
      if (descended) continue;
      const int32_t width = std::max({1, TableColumns(top.node), column - top.start});
      column = top.start + width;
      slot.x = kLeft + kColumn * top.start + kColumn * (width - 1) / 2;
      stack.pop_back();
    }
  };
  for (TNode32* node : order) {
    if (!entered[node] && slots[node].depth < 0) walk(node);
  }
  for (TNode32* node : order) {
    if (slots[node].depth < 0) walk(node);
  }
  for (TNode32* node : order) {
    const TSlot& slot = slots[node];
    if (!placed(node)) node->SetPosition(slot.x, kTop + kRow * slot.depth);
  }
  for (TNode32* node : order) {
    for (TMove32* move : slots[node].leaving) {
      if (placed(move) || move->TypeCode == kCell) continue;
      if (TNode32* to = move->To.get(); to != nullptr) {
        // Halfway; a move back up is pulled aside so that it does not hide the way down.
        const int32_t aside = to->Y <= node->Y ? kColumn / 2 : 0;
        move->SetPosition((node->X + to->X) / 2 + aside, (node->Y + to->Y) / 2);
      } else {
        move->SetPosition(finalX[move], node->Y + kRow);
      }
    }
  }
}

}  // namespace ludomark
