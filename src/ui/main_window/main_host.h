#pragma once

#include <string>

#include "ui/game_window/game_window.h"

namespace ludomark {

// The actions of the main window whose state the logic sets.
enum class TAction {
  // General
  FileNew,
  FileOpen,
  FileSave,
  FileSaveAs,
  Print,
  List,
  Name,
  Exit,
  Export,
  ExportAs,
  DisplayGrid,
  Proba,
  Belief,
  Expect,
  Fractions,
  ZoomIn,
  ZoomOut,
  Cascade,
  Tile,
  About,
  Help,
  // Edit
  AddPlayer,
  AddNode,
  AddMove,
  AddTable,
  AddSide,
  AddSelect,
  EditPlayer,
  EditNode,
  EditMove,
  EditInfo,
  EditTable,
  EditSide,
  Undo,
  DeletePlayer,
  DeleteNode,
  DeleteMove,
  DeleteTable,
  DeleteSide,
  DeleteSelect,
  // Solve
  Audit,
  Options,
  Solve,
  Show,
  CloseAll,
  DeleteAll,
  Debug,
  // Added later, kept last so that the order above stays.
  Import,
  ExportGame,
  Redo,
  Arrange,
  Count
};

// What the main window's logic asks of the toolkit: child windows, file dialogs, the state of
// its actions, printing and the desktop.
class TMainHost {
 public:
  virtual ~TMainHost() = default;
  // Makes a child window (maximised) and answers its logic; the window tells the main window
  // when it goes (WindowGone).
  virtual TMDIChild& CreateChild(TWindowKind kind, TGameType32* game, TSolution32* solution) = 0;
  // Closes the window as its close box would: it may refuse (a game it could not save).
  virtual bool CloseChild(TMDIChild& window) = 0;
  virtual TMDIChild* ActiveChild() = 0;
  virtual void Activate(TMDIChild& window) = 0;
  virtual void Cascade() = 0;
  virtual void TileVertically() = 0;
  // The chosen path, empty when the user cancelled.
  virtual std::string AskOpenPath() = 0;
  virtual std::string AskSavePath() = 0;
  // Writes the picture of the game (with the solution over it when one is given) at the zoom,
  // as PNG, BMP or SVG by the file's extension; throws TFileError naming the file when it
  // cannot be written. The toolkit draws: the logic itself has no pictures.
  virtual void WritePicture(TGameType32& game, TSolution32* solution, const std::string& path,
                            double zoom) = 0;
  // A picture file name for Export As ("" when cancelled).
  virtual std::string AskPicturePath() = 0;
  // A .efg or .nfg file to import, or to export the game to ("" when cancelled).
  virtual std::string AskImportPath() = 0;
  virtual std::string AskExportPath() = 0;
  virtual void ActionChanged(TAction action, bool enabled, bool checked) = 0;
  // Prints the window's picture or text scaled to the page; false when cancelled or failed.
  virtual bool PrintWindow(TMDIChild& window, bool portrait) = 0;
  // Opens a file with the desktop's program for it; false when nothing could open it.
  virtual bool OpenWithDesktop(const std::string& path) = 0;
  virtual void ShowHelpText(const std::string& path) = 0;
  virtual void ShowAbout() = 0;
  virtual void CloseMainWindow() = 0;
  // A setting of the view changed (the zoom among them): the tool bar shows it.
  virtual void ViewChanged() {}
  // A line for the status bar (what went wrong in the background).
  virtual void ShowStatus(const std::string& /*text*/) {}
};

}  // namespace ludomark
