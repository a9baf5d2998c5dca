#pragma once

#include "model/status_code.h"

namespace ludomark {

class TGameForm32;

// What a command or gesture would do to a game.
enum class TDeed {
  View,           // look: zoom, grid, values, scroll, hover, select, list, print, pictures
  Edit,           // change the game's elements (add, edit, delete, undo, redo, name the game)
  Move,           // move elements with the mouse (drag, Redraw), show a table's slice
  Save,           // write the game to a file
  Solve,          // audit or solve the game
  UseSolutions,   // show solutions, close their views
  DropSolutions,  // delete or rename solutions
  Close,          // close the game and free it
  RunSettings,    // change what a run reads as it goes (method, trace)
};

// What the gate looks at: the game's status, whether a run works on it, whether any run works.
struct TGateState {
  int Status = StatusNew;
  bool RunOnGame = false;
  bool RunBusy = false;
  bool ReadOnly = false;  // open read-only: nothing may change it
};

enum class TAnswer {
  Yes,
  No,      // disabled, or ignored when it comes anyway
  Solved,  // refused with "Solved game cannot be edited. Delete solutions first"
};

// The one rule of what may be done now; menus, tool bar, popups, gestures, dialogs and the
// close queries all ask it. While a run works on a game nothing may change, close or free that
// game or its solutions; the program's other games and every way of looking stay usable.
TAnswer Ask(TDeed deed, const TGateState& state);
inline bool Allowed(TDeed deed, const TGateState& state) {
  return Ask(deed, state) == TAnswer::Yes;
}

// The state of the game as its document tells it; `anyRun`: a run works on some game.
TGateState GateOf(const TGameForm32& game, bool anyRun = false);

}  // namespace ludomark
