#pragma once

namespace ludomark {

class TGameForm32;
class TMDIChild;
class TSolution32;
struct TDialogs;

// What a game window borrows from the main window.
class TMainActions {
 public:
  virtual ~TMainActions() = default;
  // Writes the game to its file, the one-step undo point, before an edit.
  virtual void Backup(TGameForm32& game) = 0;
  // The Save As command on the window; false when the user cancelled or saving failed.
  virtual bool SaveAs(TMDIChild& window) = 0;
  virtual void DeleteSelectionAct() = 0;
  virtual void CopySelectionAct() = 0;
  virtual void ZoomIn() = 0;
  virtual void ZoomOut() = 0;
  virtual void ApplyGameState(int code) = 0;
  virtual void SetSelectionActions(bool on) = 0;
  virtual bool GridChecked() = 0;
  // A solution view or debug text closed: the solve dialog lists its solution again.
  virtual void SolutionWindowClosed(TSolution32& solution) = 0;
  // A game window goes: the game's other windows close and the solve dialog lets go of it.
  virtual void GameWindowClosing(TGameForm32& game) = 0;
  // Every window says when it goes, whatever its kind.
  virtual void WindowGone(TMDIChild& window) = 0;
  virtual TDialogs& Dialogs() = 0;
};

}  // namespace ludomark
