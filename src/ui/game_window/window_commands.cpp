// The popup menus of a game window and the element commands behind them.
#include <exception>

#include "model/cell.h"
#include "model/dcheck.h"
#include "model/player.h"
#include "model/side.h"
#include "model/status_code.h"
#include "model/strat.h"
#include "model/table.h"
#include "model/table_edit.h"
#include "model/type_codes.h"
#include "ui/dialogs/dialogs.h"
#include "ui/game_window/game_window.h"

namespace ludomark {

namespace {
using C = TWindowCommand;

// Commands that move elements or show another slice: allowed in a solved game, which keeps
// its solutions.
bool IsMoving(TWindowCommand command) {
  return command == C::ShowCells || command == C::Redraw || command == C::RedrawCell;
}
// The selection commands are the main window's, which asks the gate itself.
bool IsSelection(TWindowCommand command) {
  return command == C::DeleteSelect || command == C::CopySelect;
}
}  // namespace

std::vector<TPopupItem> TMDIChild::PopupItems() {
  TGameObject32* current = current_.get();
  if (current == nullptr) return {};
  const TGateState gate = Gate();
  std::vector<TPopupItem> items;
  // Element actions are disabled in a solved game; the other edits stay enabled there and
  // refuse with the solved-game message; nothing that changes the game is enabled during a run.
  auto add = [&](const char* caption, TWindowCommand command, bool elementAction) {
    const TAnswer edit = Ask(TDeed::Edit, gate);
    const bool enabled = IsMoving(command) ? Allowed(TDeed::Move, gate)
                         : elementAction   ? edit == TAnswer::Yes
                                           : edit != TAnswer::No;
    items.push_back(TPopupItem{caption, command, enabled});
  };
  switch (current->TypeCode) {
    case kSelectRect:
      if (current->Temporary) break;  // a hidden rectangle has no menu
      add("Delete", C::DeleteSelect, false);
      add("Copy", C::CopySelect, false);
      add("ReDraw", C::Redraw, false);
      break;
    case kPlayer:
      add("Delete", C::DeletePlayer, true);
      add("Edit", C::EditPlayer, true);
      add("Redraw", C::Redraw, false);
      break;
    case kMove:
      add("Delete", C::DeleteMove, true);
      add("Edit", C::EditMove, true);
      add("Payoff", C::EditPayoff, true);
      add("Redraw", C::Redraw, false);
      break;
    case kStrategy:
      add("&Edit", C::EditName, true);
      add("Show Cells", C::ShowCells, false);
      break;
    case kSide:
      add("Edit", C::SideEdit, false);
      add("Delete", C::SideDelete, false);
      break;
    case kNode:
      add("Delete", C::DeleteNode, true);
      add("Edit", C::EditNode, true);
      add("Info Set", C::InfoSet, true);
      add("Redraw", C::Redraw, false);
      break;
    case kTable:
      add("Edit", C::EditTable, false);
      add("Delete", C::DeleteTable, false);
      add("Add Side", C::AddSide, false);
      add("Redraw", C::Redraw, false);
      break;
    case kCell:
      add("Payoff", C::EditPayoff, false);
      add("Edit", C::EditCell, false);
      add("Redraw", C::RedrawCell, false);
      break;
    default:
      break;
  }
  return items;
}

bool TMDIChild::RefuseIfSolved() {
  switch (Ask(TDeed::Edit, Gate())) {
    case TAnswer::Yes:
      return false;
    case TAnswer::Solved:
      game_->Messages().Information("Solved game cannot be edited. Delete solutions first");
      return true;
    case TAnswer::No:
      if (game_->ReadOnly && !Gate().RunOnGame) {
        game_->Messages().Information(
            "This game is open read-only: another Ludomark is editing its file. Save it under "
            "another name to edit it here.");
      }
      return true;
  }
  return true;
}

void TMDIChild::Edited() {
  game_->SetStatus(StatusEdited);
}

void TMDIChild::Execute(TWindowCommand command) {
  if (current_ == nullptr) return;
  const TEditScope scope(*game_);
  if (IsMoving(command)) {
    if (!MayMove()) return;
  } else if (!IsSelection(command)) {
    if (RefuseIfSolved()) return;
  }
  RunCommand(command);
  host_.Invalidate();
}

void TMDIChild::RunCommand(TWindowCommand command) {
  TDialogs& dialogs = main_.Dialogs();
  TGameObject32* current = current_.get();
  TMessageSink& messages = game_->Messages();
  switch (command) {
    case C::DeleteSelect:
      main_.DeleteSelectionAct();
      break;
    case C::CopySelect:
      main_.CopySelectionAct();
      break;
    case C::Redraw:
      SetToDraw(/*placing=*/true);
      break;
    case C::RedrawCell:
      if (As<TCell32>(current)->To.get() != nullptr) {
        SetToDraw(/*placing=*/true);
      } else {
        messages.Warning("Non-final cell cannot be drawn");
      }
      break;
    case C::DeletePlayer:
      if (RemovePlayer(*game_, As<TPlayer32>(current))) {
        current_ = nullptr;
      } else {
        messages.Warning("Player owns nodes, sides or payoffs.");
      }
      break;
    case C::EditPlayer:
      RunPlayerDialog(dialogs, *game_, As<TPlayer32>(current));
      break;
    case C::DeleteNode:
      if (RemoveNode(*game_, As<TNode32>(current))) {
        current_ = nullptr;
      } else {
        messages.Warning("Node owns moves or belongs to information set.");
      }
      break;
    case C::EditNode:
      RunNodeDialog(dialogs, *game_, As<TNode32>(current));
      break;
    case C::InfoSet:
      InfoSet();
      break;
    case C::DeleteMove:
      RemoveMove(*game_, As<TMove32>(current));
      current_ = nullptr;
      break;
    case C::EditMove:
      if (RunMoveDialog(dialogs, *As<TMove32>(current))) SetToDraw(/*placing=*/true);
      break;
    case C::EditPayoff:
      RunPayoffDialog(dialogs, *As<TMove32>(current));
      break;
    case C::EditCell: {
      auto* cell = As<TCell32>(current);
      dialogs.Cell.Setup(*cell);
      dialogs.Runner.Show(dialogs.Cell);
      Edited();
      if (cell->To.get() != nullptr) SetToDraw(/*placing=*/true);
      break;
    }
    case C::EditName:
      if (RunNameDialog(dialogs.Runner, dialogs.Name, "Strategy Name", current)) Edited();
      break;
    case C::ShowCells:
      if (TSide32* side = As<TStrat32>(current)->Side()) {
        side->ShowStrategy(As<TStrat32>(current));
        if (TTable32* table = side->Table.get()) table->Refresh();
        game_->Changed(TChange::Layout);
      }
      break;
    case C::EditTable:
    case C::DeleteTable:
    case C::AddSide:
      TableCommand(command);
      break;
    case C::SideEdit:
    case C::SideDelete:
      SideCommand(command);
      break;
  }
}

void TMDIChild::InfoSet() {
  TGameObject32* current = current_.get();
  if (current->TypeCode != kNode) return;
  auto* node = As<TNode32>(current);
  TMessageSink& messages = game_->Messages();
  if (node->Player.get() == nullptr) {
    messages.Information("Chance nodes cannot be in an information set.");
  } else if (!RunInfoDialog(main_.Dialogs(), *node)) {
    messages.Information(
        "All other nodes have a different owner or already belong to an information set.");
  }
}

void TMDIChild::TableCommand(TWindowCommand command) {
  auto* table = As<TTable32>(current_.get());
  TDialogs& dialogs = main_.Dialogs();
  TMessageSink& messages = game_->Messages();
  try {
    if (command == C::EditTable) {
      if (RunNameDialog(dialogs.Runner, dialogs.Name, "Edit Table", table)) Edited();
    } else if (command == C::DeleteTable) {
      current_ = nullptr;
      game_->Nodes().Remove(table);
      Edited();
      FreeElement(table);
    } else if (dialogs.Side.FindOwners(*table)) {
      RunSideDialog(dialogs, nullptr, *table);
    } else {
      messages.Warning("Need additional players");
    }
  } catch (const std::exception&) {
    messages.Warning("Invalid table operation");
  }
}

void TMDIChild::SideCommand(TWindowCommand command) {
  auto* side = As<TSide32>(current_.get());
  TTable32* table = side->Table.get();
  if (table == nullptr) return;
  if (command == C::SideEdit) {
    RunSideDialog(main_.Dialogs(), side, *table);
  } else {
    current_ = nullptr;
    DeleteSide(*table, *side);
  }
}

}  // namespace ludomark
