#pragma once

#include "document/game_form.h"
#include "model/move.h"
#include "model/node.h"
#include "model/player.h"
#include "model/side.h"
#include "model/table.h"
#include "ui/dialogs/cell_dialog.h"
#include "ui/dialogs/dialog_runner.h"
#include "ui/dialogs/info_dialog.h"
#include "ui/dialogs/move_dialog.h"
#include "ui/dialogs/name_dialog.h"
#include "ui/dialogs/node_dialog.h"
#include "ui/dialogs/payoff_dialog.h"
#include "ui/dialogs/player_dialog.h"
#include "ui/dialogs/select_dialog.h"
#include "ui/dialogs/side_dialog.h"
#include "ui/dialogs/solve_options_dialog.h"

namespace ludomark {

// The program's edit dialogs, made once and reused, shown through one runner.
struct TDialogs {
  explicit TDialogs(TDialogRunner& runner)
      : Runner(runner), Select(runner), Move(runner, Payoff), Side(runner, Name) {}
  TDialogs(const TDialogs&) = delete;
  TDialogs& operator=(const TDialogs&) = delete;

  TDialogRunner& Runner;
  TSelectDialog Select;
  TPlayerDlg Player;
  TNodeDlg Node;
  TPayoffDlg Payoff;
  TMoveDlg Move;
  TInfoDlg Info;
  TNameDlg Name;
  TSideDlg Side;
  TCellDlg Cell;
  TSolveOptionsDlg SolveOptions;
};

// The edits the windows run. Each answers whether the user confirmed and the game changed.
// Each refuses, without showing anything, what the gate does not let be edited now (a game a
// run works on, a game open read-only).

// Edits the player, or, without one, adds a new player to the game; the player on OK.
TPlayer32* RunPlayerDialog(TDialogs& dialogs, TGameForm32& game, TPlayer32* player);
// Edits the node, or adds a new one; the node on OK.
TNode32* RunNodeDialog(TDialogs& dialogs, TGameForm32& game, TNode32* node);
// Edits the move (its payoffs included).
bool RunMoveDialog(TDialogs& dialogs, TMove32& move);
// Edits the payoffs of a move or a cell.
bool RunPayoffDialog(TDialogs& dialogs, TMove32& element);
// Edits the side, or adds a new one to the table.
bool RunSideDialog(TDialogs& dialogs, TSide32* side, TTable32& table);
// The information set of the anchor; false when it has no partner to share one with.
bool RunInfoDialog(TDialogs& dialogs, TNode32& anchor);

// Removals; each answers whether the element went (players and nodes still in use stay).
bool RemovePlayer(TGameForm32& game, TPlayer32* player);
bool RemoveNode(TGameForm32& game, TNode32* node);
void RemoveMove(TGameForm32& game, TMove32* move);

}  // namespace ludomark
