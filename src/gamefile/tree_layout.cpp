#include "gamefile/tree_layout.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <vector>

#include "model/cell.h"
#include "model/move.h"
#include "model/node.h"
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
  int32_t y = 0;
  bool met = false;
};

TTable32* AsTable(TNode32* node) {
  return node->TypeCode == kTable ? static_cast<TTable32*>(node) : nullptr;
}

// The columns a node takes: a table as many as its box is wide.
int32_t Columns(TNode32* node) {
  const TTable32* table = AsTable(node);
  return table == nullptr ? 1 : std::max(1, (table->Width + kColumn - 1) / kColumn);
}

// A node's position is its centre, a table's the top left corner of its box: where a node (or
// a table) stands below one at `y`.
int32_t Below(TNode32* above, int32_t y, TNode32* node) {
  const TTable32* table = AsTable(above);
  const int32_t bottom = table == nullptr ? y : y + table->Height;
  return AsTable(node) == nullptr ? bottom + kRow : bottom + kRow / 2;
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
    slots[root].met = true;
    slots[root].y = AsTable(root) == nullptr ? kTop : kTop / 2;
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
        if (slots[to].met) continue;  // met before: no child of this node
        slots[to].met = true;
        slots[to].y = Below(top.node, slot.y, to);
        stack.push_back({to, 0, column});
        descended = true;
        break;
      }
      if (descended) continue;
      const int32_t width = std::max(Columns(top.node), column - top.start);
      column = top.start + width;
      slot.x = kLeft + kColumn * top.start + kColumn * (width - 1) / 2;
      if (const TTable32* table = AsTable(top.node)) slot.x -= table->Width / 2;
      stack.pop_back();
    }
  };
  for (TNode32* node : order) {
    if (!entered[node] && !slots[node].met) walk(node);
  }
  for (TNode32* node : order) {
    if (!slots[node].met) walk(node);
  }
  for (TNode32* node : order) {
    const TSlot& slot = slots[node];
    if (placed(node)) continue;
    // A node placed directly: its moves are refreshed below, once each, not once a node (the
    // node's own placing walks every move of the game).
    if (AsTable(node) != nullptr) {
      node->SetPosition(slot.x, slot.y);
    } else {
      node->TGameObject32::SetPosition(slot.x, slot.y);
    }
  }
  // Moves back up go round the outside of the tree, on the side of their target they leave from
  // (the left when straight below it), each a little further out than the one before, so that
  // none runs through the levels it skips.
  int32_t left = std::numeric_limits<int32_t>::max();
  int32_t right = std::numeric_limits<int32_t>::min();
  for (TNode32* node : order) {
    left = std::min(left, node->X);
    right = std::max(right, node->X + (AsTable(node) != nullptr ? AsTable(node)->Width : 0));
  }
  for (const auto& [move, x] : finalX) {
    left = std::min(left, x);
    right = std::max(right, x);
  }
  int32_t backLeft = 0;
  int32_t backRight = 0;
  constexpr int32_t kBackStep = 30;
  for (TNode32* node : order) {
    for (TMove32* move : slots[node].leaving) {
      if (placed(move) || move->TypeCode == kCell) {
        move->Refresh();
        continue;
      }
      if (TNode32* to = move->To.get(); to != nullptr) {
        int32_t x = (node->X + to->X) / 2;
        if (to->Y <= node->Y) {
          x = node->X <= to->X ? left - kColumn / 2 - kBackStep * backLeft++
                               : right + kColumn / 2 + kBackStep * backRight++;
        }
        move->SetPosition(x, (node->Y + to->Y) / 2);
      } else {
        move->SetPosition(finalX[move], node->Y + kRow);
      }
    }
  }
}

}  // namespace ludomark
