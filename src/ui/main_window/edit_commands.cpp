// The Add, Edit and Delete commands of the main menu.
#include <exception>

#include "model/info.h"
#include "model/status_code.h"
#include "model/table_edit.h"
#include "ui/main_window/main_form.h"

namespace ludomark {

TMDIChild* TMainForm::StartEdit() {
  TMDIChild& window = ActiveGameWindow();
  if (window.RefuseIfSolved()) return nullptr;
  return &window;
}

TGameObject32* TMainForm::Choose(TGameList& list, int type, const char* noneMessage) {
  const int position = dialogs_.Select.Choose(list, type);
  if (position == TSelectDialog::kNoneOfType && noneMessage != nullptr) {
    messages_.Warning(noneMessage);
  }
  if (position < 0) return nullptr;
  return list.ElementAt(position + 1);
}

void TMainForm::AddPlayer() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  if (TPlayer32* player = RunPlayerDialog(dialogs_, window->Game(), nullptr)) {
    window->SetCurrent(player);
    window->SetToDraw(/*placing=*/true);
  }
}

void TMainForm::AddNode() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  if (TNode32* node = RunNodeDialog(dialogs_, window->Game(), nullptr)) {
    window->SetCurrent(node);
    window->SetToDraw(/*placing=*/true);
  }
}

void TMainForm::AddMove() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  TGameType32& game = window->Game();
  TMoveDlg& dialog = dialogs_.Move;
  dialog.Setup(nullptr, game);
  if (dialogs_.Runner.Show(dialog)) {
    window->SetToDraw(/*placing=*/false);
    auto* move = NewElement<TMove32>(&game);
    move->Assign(dialog.Working());
    // The handle goes where the move is drawn from, after the copy that brings the default
    // position along.
    const TNode32* from = move->From.get();
    const TNode32* to = move->To.get();
    if (to != nullptr) {
      move->SetPosition(RoundHalfEven((from->X + to->X) / 2.0),
                        RoundHalfEven((from->Y + to->Y) / 2.0));
    } else {
      move->SetPosition(from->X + 100, from->Y);
    }
    game.AddObject(move);
    game.SetStatus(StatusEdited);
    window->SetCurrent(move);
    window->SetToDraw(/*placing=*/true);
  }
  dialog.Release();
}

void TMainForm::AddTable() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  TGameType32& game = window->Game();
  auto* table = NewElement<TTable32>(&game);
  if (RunNameDialog(dialogs_.Runner, dialogs_.Name, "New Table", table)) {
    game.AddObject(table);
    game.SetStatus(StatusEdited);
    table->Refresh();
    window->SetCurrent(table);
    window->SetToDraw(/*placing=*/true);
  } else {
    FreeElement(table);
  }
}

void TMainForm::AddSide() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  auto* table = As<TTable32>(Choose(window->Game().Nodes(), kTable, "No defined table"));
  if (table == nullptr) return;
  try {
    if (dialogs_.Side.FindOwners(*table)) {
      RunSideDialog(dialogs_, nullptr, *table);
    } else {
      messages_.Warning("Need additional players");
    }
  } catch (const std::exception&) {
    messages_.Warning("Invalid table operation");
  }
}

void TMainForm::AddSelect() {
  const TCommand command(*this);
  if (!Enabled(TAction::AddSelect)) return;  // nothing is selected
  TMDIChild& window = ActiveGameWindow();
  if (window.RefuseIfSolved()) return;
  TGameType32& game = window.Game();
  game.CopySelection();
  window.SetCurrent(&game.SelectRect());
  SetSelectionActions(/*on=*/false);
  window.SetToDraw(/*placing=*/true);
}

void TMainForm::EditPlayer() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  if (auto* player = As<TPlayer32>(Choose(window->Game().Players(), kEveryType, nullptr))) {
    RunPlayerDialog(dialogs_, window->Game(), player);
  }
}

void TMainForm::EditNode() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  if (auto* node = As<TNode32>(Choose(window->Game().Nodes(), kNode, nullptr))) {
    RunNodeDialog(dialogs_, window->Game(), node);
  }
}

void TMainForm::EditMove() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  auto* move = As<TMove32>(Choose(window->Game().Moves(), kMove, nullptr));
  if (move != nullptr && RunMoveDialog(dialogs_, *move)) {
    window->SetCurrent(move);
    window->SetToDraw(/*placing=*/true);
  }
}

void TMainForm::EditInfo() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  auto* set = As<TInfo32>(Choose(window->Game().Infos(), kInfo, nullptr));
  if (set == nullptr) return;
  try {
    set->Relink();
    if (TNode32* first = set->FirstMember()) RunInfoDialog(dialogs_, *first);
  } catch (const std::exception&) {
    messages_.Warning("Invalid info set operation");
  }
}

void TMainForm::EditTable() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  auto* table = As<TTable32>(Choose(window->Game().Nodes(), kTable, "No defined table"));
  if (table != nullptr && RunNameDialog(dialogs_.Runner, dialogs_.Name, "Edit Table", table)) {
    window->Game().SetStatus(StatusEdited);
  }
}

void TMainForm::EditSide() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  auto* side = As<TSide32>(Choose(window->Game().Infos(), kSide, "No defined side"));
  if (side == nullptr || side->Table.get() == nullptr) return;
  RunSideDialog(dialogs_, side, *side->Table);
}

void TMainForm::DeletePlayer() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  auto* player = As<TPlayer32>(Choose(window->Game().Players(), kEveryType, nullptr));
  if (player != nullptr && !RemovePlayer(window->Game(), player)) {
    messages_.Warning("Player owns nodes, sides or payoffs.");
  }
}

void TMainForm::DeleteNode() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  auto* node = As<TNode32>(Choose(window->Game().Nodes(), kNode, nullptr));
  if (node != nullptr && !RemoveNode(window->Game(), node)) {
    messages_.Warning("Node owns moves or belongs to information set.");
  }
}

void TMainForm::DeleteMove() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  if (auto* move = As<TMove32>(Choose(window->Game().Moves(), kMove, nullptr))) {
    RemoveMove(window->Game(), move);
  }
}

void TMainForm::DeleteTable() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  TGameType32& game = window->Game();
  auto* table = As<TTable32>(Choose(game.Nodes(), kTable, "No defined table"));
  if (table == nullptr) return;
  try {
    game.Nodes().Remove(table);
    game.SetStatus(StatusEdited);
    FreeElement(table);
  } catch (const std::exception&) {
    messages_.Warning("Invalid table operation");
  }
}

void TMainForm::DeleteSide() {
  const TCommand command(*this);
  TMDIChild* window = StartEdit();
  if (window == nullptr) return;
  auto* side = As<TSide32>(Choose(window->Game().Infos(), kSide, "No defined side"));
  if (side != nullptr && side->Table.get() != nullptr) ludomark::DeleteSide(*side->Table, *side);
}

void TMainForm::DeleteSelect() {
  const TCommand command(*this);
  if (!Enabled(TAction::DeleteSelect)) return;  // nothing is selected
  TMDIChild& window = ActiveGameWindow();
  if (window.RefuseIfSolved()) return;
  window.SetCurrent(nullptr);
  window.Game().DeleteSelection();
  SetSelectionActions(/*on=*/false);
}

}  // namespace ludomark
