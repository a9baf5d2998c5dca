#pragma once

#include "document/gate.h"

namespace ludomark {

class TGameForm32;
class TMDIChild;
class TSolution32;
struct TDialogs;

// What a game window borrows from the main window.
class TMainActions {
 public:
  virtual ~TMainActions() = default;
  // The Save As command on the window; false when the user cancelled or saving failed.
  virtual bool SaveAs(TMDIChild& window) = 0;
  // Writes the window's game (with its solutions when asked) to its own file, after asking
  // when the file changed on disk since it was opened or saved; false when nothing was saved.
  virtual bool SaveOwnFile(TMDIChild& window, bool withSolutions) = 0;
  virtual void DeleteSelectionAct() = 0;
  virtual void CopySelectionAct() = 0;
  virtual void ZoomIn() = 0;
  virtual void ZoomOut() = 0;
  // The actions follow the active game and the run (the gate decides).
  virtual void RefreshActions() = 0;
  virtual void SetSelectionActions(bool on) = 0;
  virtual bool GridChecked() = 0;
  // What the gate looks at for the game: its status and the run.
  virtual TGateState GateFor(const TGameForm32& game) = 0;
  // A solution view or debug text closed: the solve dialog lists its solution again.
  virtual void SolutionWindowClosed(TSolution32& solution) = 0;
  // A game window goes: the game's other windows close and the solve dialog lets go of it.
  virtual void GameWindowClosing(TGameForm32& game) = 0;
  // Every window says when it goes, whatever its kind.
  virtual void WindowGone(TMDIChild& window) = 0;
  virtual TDialogs& Dialogs() = 0;
};

}  // namespace ludomark
