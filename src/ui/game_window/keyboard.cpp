// The keyboard in a game's picture: the arrow keys walk the tree from node to node, Delete and
// Enter run the popup's Delete and Edit on what is selected or current, the menu key opens the
// popup. Every key goes through the popup's own commands, so confirmations, the gate and undo
// are the same as with the mouse.
#include <algorithm>
#include <vector>

#include "model/cell.h"
#include "model/move.h"
#include "model/table.h"
#include "model/type_codes.h"
#include "ui/game_window/game_window.h"

namespace ludomark {

namespace {

using C = TWindowCommand;

bool IsNodeOrTable(const TGameObject32* e) {
  return e != nullptr && !e->Temporary && (e->TypeCode == kNode || e->TypeCode == kTable);
}

// The nodes the moves leaving the node reach, in the order of the game's moves (a table's
// cells in the table's order).
std::vector<TGameObject32*> Children(TGameForm32& game, TGameObject32* node) {
  std::vector<TGameObject32*> children;
  auto add = [&](TGameObject32* to) {
    if (IsNodeOrTable(to) && std::find(children.begin(), children.end(), to) == children.end()) {
      children.push_back(to);
    }
  };
  if (node->TypeCode == kTable) {
    As<TTable32>(node)->Cells.ForEachAs<TCell32>([&](TCell32* cell) { add(cell->To.get()); });
  }
  game.Moves().ForEach([&](TGameObject32* e) {
    auto* move = As<TMove32>(e);
    if (e->TypeCode == kMove && move->From.get() == node) add(move->To.get());
  });
  return children;
}

// The node of the first move that reaches the node; a cell's table.
TGameObject32* Parent(TGameForm32& game, TGameObject32* node) {
  TGameObject32* parent = nullptr;
  game.Moves().ForEach([&](TGameObject32* e) {
    if (parent != nullptr || As<TMove32>(e)->To.get() != node) return;
    if (e->TypeCode == kCell) {
      parent = As<TCell32>(e)->Table.get();
    } else {
      parent = As<TMove32>(e)->From.get();
    }
    if (!IsNodeOrTable(parent)) parent = nullptr;
  });
  return parent;
}

TGameObject32* FirstNode(TGameForm32& game) {
  TGameObject32* first = nullptr;
  game.Nodes().ForEach([&](TGameObject32* e) {
    if (first == nullptr && IsNodeOrTable(e)) first = e;
  });
  return first;
}

bool IsDelete(C command) {
  return command == C::DeleteSelect || command == C::DeletePlayer || command == C::DeleteMove ||
         command == C::DeleteNode || command == C::DeleteTable || command == C::SideDelete;
}

bool IsEdit(C command) {
  return command == C::EditPlayer || command == C::EditMove || command == C::EditNode ||
         command == C::EditTable || command == C::SideEdit || command == C::EditCell ||
         command == C::EditName;
}

}  // namespace

bool TMDIChild::FormKeyDown(TKey key) {
  if (kind_ != TWindowKind::Game || placing_ || rubberBand_) return false;
  const TEditScope scope(*game_);
  TGameObject32* current = current_.get();
  switch (key) {
    case TKey::Left:
    case TKey::Right:
    case TKey::Up:
    case TKey::Down: {
      TGameObject32* next = nullptr;
      if (!IsNodeOrTable(current)) {
        next = FirstNode(*game_);
      } else if (key == TKey::Down) {
        const std::vector<TGameObject32*> children = Children(*game_, current);
        if (!children.empty()) next = children.front();
      } else if (key == TKey::Up) {
        next = Parent(*game_, current);
      } else if (TGameObject32* parent = Parent(*game_, current)) {
        const std::vector<TGameObject32*> siblings = Children(*game_, parent);
        const auto at = std::find(siblings.begin(), siblings.end(), current);
        if (at != siblings.end()) {
          if (key == TKey::Left && at != siblings.begin()) next = *(at - 1);
          if (key == TKey::Right && at + 1 != siblings.end()) next = *(at + 1);
        }
      }
      if (next == nullptr) return IsNodeOrTable(current);  // at an end: the key stays ours
      current_ = next;
      keyed_ = true;
      const int32_t x = ToScreen(next->X) - scrollX_;
      const int32_t y = ToScreen(next->Y) - scrollY_;
      const bool inView = host_.ViewWidth() <= 0 ||
                          (x >= 0 && y >= 0 && x < host_.ViewWidth() && y < host_.ViewHeight());
      if (!inView) CentreOn(TPoint{next->X, next->Y});
      host_.Invalidate();
      return true;
    }
    case TKey::Delete:
    case TKey::Enter: {
      // A shown rubber band holds the selection Delete removes; otherwise the current element.
      if (key == TKey::Delete && !game_->SelectRect().Temporary && !game_->Selection().Empty()) {
        current_ = &game_->SelectRect();
      }
      for (const TPopupItem& item : PopupItems()) {
        if (key == TKey::Delete ? !IsDelete(item.Command) : !IsEdit(item.Command)) continue;
        // A disabled item says why, as the Edit menu's commands do.
        if (item.Enabled) {
          Execute(item.Command);
        } else {
          RefuseIfSolved();
        }
        return true;
      }
      return false;
    }
    case TKey::Menu: {
      if (current == nullptr) return false;
      const std::vector<TPopupItem> items = PopupItems();
      if (items.empty()) return false;
      host_.OpenPopup(items, ToScreen(current->X) - scrollX_, ToScreen(current->Y) - scrollY_);
      return true;
    }
  }
  return false;
}

}  // namespace ludomark
