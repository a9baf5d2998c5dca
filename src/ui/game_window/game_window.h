#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/game_form.h"
#include "gamefile/file_identity.h"
#include "model/canvas.h"
#include "model/game_list.h"
#include "model/ref.h"
#include "model/solution.h"
#include "ui/game_window/main_actions.h"
#include "ui/game_window/undo_history.h"
#include "ui/game_window/window_host.h"

namespace ludomark {

// The kinds of child window; the values are the program's own.
enum class TWindowKind { Game = 1, Audit = 2, Solution = 3, Debug = 5, Test = 7 };

enum class TMouseButton { Left, Right, Middle };
// The keys a game's picture answers; the menu key opens the popup.
enum class TKey { Delete, Enter, Left, Right, Up, Down, Menu };

// The child window's logic, for every kind: the picture a user edits with the mouse, a
// solution over the picture, and the text windows. The toolkit reaches it through the Form*
// handlers with client pixels; it answers through its host.
class TMDIChild : public TDocumentObserver {
 public:
  // A game window makes and owns its document; the other kinds show the game's.
  TMDIChild(TWindowKind kind, TWindowHost& host, TMainActions& main, TGameType32* game = nullptr,
            TSolution32* solution = nullptr);
  ~TMDIChild() override;
  TMDIChild(const TMDIChild&) = delete;
  TMDIChild& operator=(const TMDIChild&) = delete;

  TWindowKind Kind() const { return kind_; }
  TGameType32& Game() { return *game_; }
  TSolution32* Solution() const { return solution_.get(); }
  TGameObject32* Current() const { return current_.get(); }
  void SetCurrent(TGameObject32* element) { current_ = element; }
  bool Placing() const { return placing_; }
  // The undo point of an element being placed: taken when the placing begins, amended by the
  // drop, so that adding (or moving) an element and dropping it is one step.
  enum class TPlacingPoint { None, Due, Taken };
  TPlacingPoint& PlacingPoint() { return placingPoint_; }
  bool RubberBand() const { return rubberBand_; }
  bool IsText() const;
  const std::string& Caption() const { return caption_; }
  const std::vector<std::string>& Lines() const { return lines_; }
  // The undo points of a game window's game.
  TUndoHistory& History() { return history_; }
  // What the gate looks at for this window's game.
  TGateState Gate() const { return main_.GateFor(*game_); }
  // The game file as it was when the game was read from it or last saved to it.
  TFileIdentity FileIdentity;

  // Every change of the game repaints the picture (and its scroll ranges follow the extent).
  void DocumentChanged(TGameForm32& game, TChanges changes) override;
  // A setting of the view (zoom, grid, values, trace) changed.
  void ViewChanged();
  // Whether the game holds what its file does not: new, edited, or solved and not saved.
  bool Modified() const;

  // Operations of the main window.
  void ResetDisplay();
  void SetToDraw(bool placing);
  void FillText(int mode);
  void ShowLines(std::vector<std::string> lines);
  void SetCaption(const std::string& caption);
  // Lays the tree out anew, as an imported game is laid out: levels from the top, each node
  // over what follows it, moves back up drawn aside.
  void Arrange();
  // Scrolls a picture so that the game's first node is in view near the top left corner (a
  // large imported tree may start far from the origin).
  void ShowFirstNode();

  // Toolkit events.
  void FormActivate();
  // Whether the window may close; a game window first offers to save its game.
  bool FormCloseQuery();
  void FormClose();
  void FormMouseDown(TMouseButton button, int32_t x, int32_t y);
  void FormMouseMove(int32_t x, int32_t y);
  void FormMouseUp(TMouseButton button, int32_t x, int32_t y);
  // True when the key did something here (or is ours at the end of a walk).
  bool FormKeyDown(TKey key);
  // Whether the current element was reached by the keyboard (it is drawn with a focus mark).
  bool Keyed() const { return keyed_; }
  void FormMouseWheelUp() { main_.ZoomIn(); }
  void FormMouseWheelDown() { main_.ZoomOut(); }
  // Paints the view of `width` by `height` pixels at the scroll position; elements out of it
  // are skipped (0 by 0 paints everything).
  void FormPaint(TCanvas& canvas, int32_t width = 0, int32_t height = 0);
  void HorzFormScroll(int32_t position);
  void VertFormScroll(int32_t position);
  // The model point at the centre of the view, and the scroll that puts a point there (a zoom
  // keeps the place looked at).
  TPoint ViewCentre() const;
  void CentreOn(const TPoint& at);
  int32_t ScrollX() const { return scrollX_; }
  int32_t ScrollY() const { return scrollY_; }

  // Shows the solved-game message and answers true for a game that may not be edited now
  // (solved, or a run works on it).
  bool RefuseIfSolved();

  // The popup of the element under the pointer, and its commands.
  std::vector<TPopupItem> PopupItems();
  void Execute(TWindowCommand command);

 private:
  TPoint ModelPoint(int32_t x, int32_t y) const;
  bool MayMove() const { return Allowed(TDeed::Move, Gate()); }
  bool HasElements();
  void Hover(const TPoint& at);
  void FollowPointer(const TPoint& at);
  void HideSelectRect();
  // What moving an element does to the status: a solved game keeps its solutions.
  void MarkMoved();
  void EndPlacing();
  void Edited();
  void RunCommand(TWindowCommand command);
  void EditPayoff();
  void InfoSet();
  void TableCommand(TWindowCommand command);
  void SideCommand(TWindowCommand command);

  TWindowKind kind_;
  TWindowHost& host_;
  TMainActions& main_;
  std::unique_ptr<TGameType32> owned_;
  TGameType32* game_;
  Ref<TSolution32> solution_;
  Ref<TGameObject32> current_;
  std::vector<std::string> lines_;
  std::string caption_;
  int32_t scrollX_ = 0;
  int32_t scrollY_ = 0;
  bool rubberBand_ = false;
  bool keyed_ = false;
  bool placing_ = false;
  TPlacingPoint placingPoint_ = TPlacingPoint::None;
  TUndoHistory history_;
};

// "Save solutions?", saying so when a stopped run may have left the set incomplete.
std::string SaveSolutionsQuestion(const TGameForm32& game);

}  // namespace ludomark
