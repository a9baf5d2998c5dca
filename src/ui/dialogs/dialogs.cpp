#include "ui/dialogs/dialogs.h"

#include "document/gate.h"
#include "model/info.h"
#include "model/status_code.h"
#include "model/table_edit.h"

namespace ludomark {

namespace {
// The gate's word on editing the game now: no while a run works on it (a solved game is
// refused before a dialog opens, with its message).
bool EditRefused(const TGameForm32& game) {
  return Ask(TDeed::Edit, GateOf(game)) == TAnswer::No;
}

bool EditRefused(const TGameObject32& element) {
  const auto* game = As<TGameForm32>(element.Owner);
  return game == nullptr || EditRefused(*game);
}

// The player and node dialogs edit the element given, or make a new one when given none.
template <class TElement, class TDialog>
TElement* RunCreateOrEdit(TDialogRunner& runner, TDialog& dialog, TGameForm32& game,
                          TElement* element) {
  if (EditRefused(game)) return nullptr;
  dialog.Setup(element, game);
  TElement* result = nullptr;
  if (runner.Show(dialog)) {
    result = element;
    if (result == nullptr) {
      result = NewElement<TElement>(&game);
      game.AddObject(result);
    }
    result->Assign(dialog.Working());
    game.SetStatus(StatusEdited);
  }
  dialog.Release();
  return result;
}
}  // namespace

TPlayer32* RunPlayerDialog(TDialogs& dialogs, TGameForm32& game, TPlayer32* player) {
  return RunCreateOrEdit(dialogs.Runner, dialogs.Player, game, player);
}

TNode32* RunNodeDialog(TDialogs& dialogs, TGameForm32& game, TNode32* node) {
  return RunCreateOrEdit(dialogs.Runner, dialogs.Node, game, node);
}

bool RunMoveDialog(TDialogs& dialogs, TMove32& move) {
  TMoveDlg& dialog = dialogs.Move;
  auto* game = As<TGameForm32>(move.Owner);
  if (game == nullptr || EditRefused(*game)) return false;
  dialog.Setup(&move, *game);
  const bool ok = dialogs.Runner.Show(dialog);
  if (ok) {
    move.Assign(dialog.Working());
    game->SetStatus(StatusEdited);
  }
  dialog.Release();  // and the payoffs of the working copy with it
  return ok;
}

bool RunPayoffDialog(TDialogs& dialogs, TMove32& element) {
  if (EditRefused(element)) return false;
  TPayoffDlg& dialog = dialogs.Payoff;
  dialog.Setup(element);
  const bool ok = dialogs.Runner.Show(dialog);
  if (ok) {
    // The working copy is a plain move: a cell takes its payoffs and keeps its strategies.
    dialog.Working().CopyTo(element);
    if (element.Owner != nullptr) element.Owner->SetStatus(StatusEdited);
  }
  dialog.Release();
  return ok;
}

bool RunSideDialog(TDialogs& dialogs, TSide32* side, TTable32& table) {
  if (EditRefused(table)) return false;
  TSideDlg& dialog = dialogs.Side;
  dialog.Setup(side, table);
  bool changed = false;
  if (dialogs.Runner.Show(dialog)) changed = ApplySideEdit(side, dialog.Working(), table);
  dialog.Release();
  return changed;
}

bool RunInfoDialog(TDialogs& dialogs, TNode32& anchor) {
  if (EditRefused(anchor) || !dialogs.Info.Setup(anchor)) return false;
  // The dialog has no Cancel: however it closes, the set is made from the events.
  dialogs.Runner.Show(dialogs.Info);
  dialogs.Info.OKBtnClick();
  return true;
}

bool RemovePlayer(TGameForm32& game, TPlayer32* player) {
  if (player == nullptr || EditRefused(game) || !player->CanDelete()) return false;
  game.Players().Remove(player);
  game.SetStatus(StatusEdited);
  FreeElement(player);
  return true;
}

bool RemoveNode(TGameForm32& game, TNode32* node) {
  if (node == nullptr || EditRefused(game) || !node->CanDelete()) return false;
  game.PurgeInfos(/*keepSingle=*/false);
  game.Moves().ForEachAs<TMove32>([&](TMove32* m) {
    if (m->From.get() == node) m->SetFrom(nullptr);
    if (m->To.get() == node) m->SetTo(nullptr);
  });
  if (TInfo32* set = node->Info.get()) set->Members.Remove(node);
  game.Nodes().Remove(node);
  game.SetStatus(StatusEdited);
  FreeElement(node);
  return true;
}

void RemoveMove(TGameForm32& game, TMove32* move) {
  if (move == nullptr || EditRefused(game)) return;
  game.Moves().Remove(move);
  game.SetStatus(StatusEdited);
  FreeElement(move);
}

}  // namespace ludomark
