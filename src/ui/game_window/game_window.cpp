#include "ui/game_window/game_window.h"

#include <algorithm>

#include "document/solution_picture.h"
#include "gamefile/listing.h"
#include "gamefile/tree_layout.h"
#include "model/drawing.h"
#include "model/geometry.h"
#include "model/select_rect.h"
#include "model/settings.h"
#include "model/status_code.h"
#include "model/table.h"
#include "model/type_codes.h"
#include "ui/game_window/selection_marks.h"

namespace ludomark {

TMDIChild::TMDIChild(TWindowKind kind, TWindowHost& host, TMainActions& main, TGameType32* game,
                     TSolution32* solution)
    : kind_(kind), host_(host), main_(main), game_(game), solution_(solution) {
  if (kind == TWindowKind::Game) {
    owned_ = std::make_unique<TGameType32>();
    game_ = owned_.get();
  }
  game_->Watch(this);
}

TMDIChild::~TMDIChild() {
  game_->Unwatch(this);
  current_ = nullptr;
  solution_ = nullptr;
  if (owned_ != nullptr) main_.GameWindowClosing(*owned_);
  main_.WindowGone(*this);
}

bool TMDIChild::IsText() const {
  return kind_ == TWindowKind::Audit || kind_ == TWindowKind::Debug || kind_ == TWindowKind::Test;
}

void TMDIChild::ResetDisplay() {
  if (IsText()) {
    host_.ShowText(lines_);
    return;
  }
  host_.ShowPicture();
  host_.SetScrollRanges(ToScreen(game_->ExtentX), ToScreen(game_->ExtentY));
  host_.Invalidate();
}

void TMDIChild::DocumentChanged(TGameForm32& /*game*/, TChanges changes) {
  // A run's start or end alone shows nothing new in the picture.
  const bool shown = changes.Has(TChange::Structure) || changes.Has(TChange::Layout) ||
                     changes.Has(TChange::Solutions) || changes.Has(TChange::Status);
  if (shown && !IsText()) ResetDisplay();
  if (kind_ == TWindowKind::Game) host_.SetModified(Modified());
}

bool TMDIChild::Modified() const {
  const int status = game_->Status();
  // A new game with nothing in it yet is not unsaved work.
  if (status == StatusNew) return !game_->Players().Empty() || !game_->Nodes().Empty();
  return status == StatusEdited || status == StatusSolved;
}

void TMDIChild::ViewChanged() {
  if (!IsText()) ResetDisplay();
}

void TMDIChild::ShowFirstNode() {
  if (IsText() || game_->Nodes().Empty()) return;
  const TGameObject32* first = game_->Nodes().ElementAt(1);
  // A game drawn near the origin (its players at the left) stays as it is; only an axis on
  // which the node lies beyond a small window's view is scrolled.
  constexpr int32_t kMargin = 60;
  constexpr int32_t kViewWidth = 800;
  constexpr int32_t kViewHeight = 500;
  const int32_t x = ToScreen(first->X);
  const int32_t y = ToScreen(first->Y);
  scrollX_ = x > kViewWidth ? x - kMargin : 0;
  scrollY_ = y > kViewHeight ? y - kMargin : 0;
  host_.ScrollTo(scrollX_, scrollY_);
  host_.Invalidate();
}

TPoint TMDIChild::ViewCentre() const {
  return ModelPoint(host_.ViewWidth() / 2, host_.ViewHeight() / 2);
}

void TMDIChild::CentreOn(const TPoint& at) {
  if (IsText()) return;
  scrollX_ = std::max(0, ToScreen(at.X) - host_.ViewWidth() / 2);
  scrollY_ = std::max(0, ToScreen(at.Y) - host_.ViewHeight() / 2);
  host_.ScrollTo(scrollX_, scrollY_);
  host_.Invalidate();
}

void TMDIChild::SetCaption(const std::string& caption) {
  caption_ = caption;
  host_.SetCaption(caption);
  host_.Invalidate();
}

TPoint TMDIChild::ModelPoint(int32_t x, int32_t y) const {
  return TPoint{FromScreen(x + scrollX_), FromScreen(y + scrollY_)};
}

void TMDIChild::SetToDraw(bool placing) {
  TGameObject32* current = current_.get();
  if (current == nullptr) return;
  host_.MovePointerTo(ToScreen(current->X) - scrollX_, ToScreen(current->Y) - scrollY_);
  placing_ = false;
  if (placing) {
    host_.SetPointerShape(TPointerShape::Cross);
    placing_ = true;
    placingPoint_ = TPlacingPoint::Due;  // a new command: a point of its own
  }
}

void TMDIChild::Hover(const TPoint& at) {
  current_ = nullptr;
  auto test = [&](TGameObject32* e) {
    if (e->HitTest(at.X, at.Y)) current_ = e;
  };
  test(&game_->SelectRect());
  for (TGameList* list : {&game_->Infos(), &game_->Players(), &game_->Nodes(), &game_->Moves(),
                          &game_->Strategies()}) {
    list->ForEach(test);
  }
  // Where no element of its own is, a table's box is the table: its border and the room
  // between its cells open its menu too.
  if (current_ == nullptr) {
    game_->Nodes().ForEach([&](TGameObject32* e) {
      if (e->TypeCode == kTable && As<TTable32>(e)->InBox(at.X, at.Y)) current_ = e;
    });
  }
  host_.SetPointerShape(current_ != nullptr ? TPointerShape::Hand : TPointerShape::Default);
}

// The element being placed follows the pointer, snapped; a selection moves with its rectangle,
// each element keeping its displacement.
void TMDIChild::FollowPointer(const TPoint& at) {
  TGameObject32* current = current_.get();
  if (current == nullptr) return;
  current->SetPosition(SnapToGrid(at.X), SnapToGrid(at.Y));
  if (current->TypeCode == kTable) current->Refresh();
  if (current == &game_->SelectRect()) {
    game_->Selection().ForEach([&](TGameObject32* e) {
      e->SetPosition(SnapToGrid(at.X + e->DragDX), SnapToGrid(at.Y + e->DragDY));
      if (e->TypeCode == kTable) e->Refresh();
    });
  } else {
    game_->Selection().Clear();
  }
  MarkMoved();
}

void TMDIChild::Arrange() {
  if (kind_ != TWindowKind::Game || !MayMove()) return;
  const TEditScope scope(*game_);
  LayOutTree(*game_, [](const TGameObject32*) { return false; });
  game_->Changed(TChange::Layout);
  MarkMoved();
  host_.Invalidate();
}

void TMDIChild::MarkMoved() {
  // A moved element of a solved game keeps the solutions: game and solutions are saved together.
  const int status = game_->Status();
  if (status == StatusSolvedSaved) {
    game_->ForceStatus(StatusSolved);
  } else if (status == StatusSolved) {
    game_->Changed(TChange::Layout);
  } else {
    game_->ForceStatus(StatusEdited);
  }
}

void TMDIChild::HideSelectRect() {
  game_->SelectRect().Temporary = true;
}

void TMDIChild::EndPlacing() {
  placing_ = false;
  // The element is dropped: the game changed once more for those who wait for the drop.
  game_->Changed(TChange::Layout);
  host_.SetPointerShape(TPointerShape::Default);
  game_->Selection().Clear();
  main_.SetSelectionActions(/*on=*/false);
  HideSelectRect();
  host_.Invalidate();
}

void TMDIChild::FormMouseDown(TMouseButton button, int32_t x, int32_t y) {
  if (IsText()) return;
  const TEditScope scope(*game_);
  const TPoint at = ModelPoint(x, y);
  if (button == TMouseButton::Left) {
    if (placing_) {
      if (!MayMove()) return;
      FollowPointer(at);
      return;
    }
    if (current_ != nullptr) return;  // a left click on an element does nothing
    rubberBand_ = true;
    host_.CapturePointer();
    TSelectRect& rect = game_->SelectRect();
    rect.Temporary = false;
    rect.SetPosition(at.X, at.Y);
    rect.SetExtent(at.X, at.Y);
    host_.Invalidate();
    return;
  }
  if (button != TMouseButton::Right || placing_ || current_ == nullptr) return;
  if (current_.get() != &game_->SelectRect()) HideSelectRect();
  const std::vector<TPopupItem> items = PopupItems();
  if (!items.empty()) host_.OpenPopup(items, x, y);
}

void TMDIChild::FormMouseMove(int32_t x, int32_t y) {
  if (IsText()) return;
  keyed_ = false;
  const TEditScope scope(*game_);
  const TPoint at = ModelPoint(x, y);
  if (placing_) {
    if (MayMove()) FollowPointer(at);
  } else if (rubberBand_) {
    game_->SelectRect().SetExtent(at.X, at.Y);
    host_.Invalidate();
  } else {
    Hover(at);
  }
}

void TMDIChild::FormMouseUp(TMouseButton button, int32_t x, int32_t y) {
  if (IsText()) return;
  const TEditScope scope(*game_);
  if (placing_) {
    if (button == TMouseButton::Left) EndPlacing();
    return;
  }
  if (!rubberBand_ || button != TMouseButton::Left) {
    host_.SetPointerShape(TPointerShape::Default);
    HideSelectRect();
    return;
  }
  const TPoint at = ModelPoint(x, y);
  host_.ReleasePointer();
  rubberBand_ = false;
  TSelectRect& rect = game_->SelectRect();
  rect.SetExtent(at.X, at.Y);
  if (game_->SelectInRect()) {
    current_ = &rect;
    main_.SetSelectionActions(/*on=*/true);
    SetToDraw(/*placing=*/false);
    host_.SetPointerShape(TPointerShape::Hand);
  } else {
    current_ = nullptr;
    main_.SetSelectionActions(/*on=*/false);
    HideSelectRect();
    host_.SetPointerShape(TPointerShape::Default);
    host_.Invalidate();
  }
}

void TMDIChild::FormPaint(TCanvas& canvas, int32_t width, int32_t height) {
  if (IsText()) return;
  canvas.ShiftOrigin(-scrollX_, -scrollY_);
  if (main_.GridChecked()) DrawGrid(canvas);
  // The selection is what the rubber band holds, while it shows or is being moved.
  if (kind_ == TWindowKind::Game && (!game_->SelectRect().Temporary || placing_)) {
    DrawSelectionMarks(canvas, game_->Selection());
  }
  const TRect view{FromScreen(scrollX_) - 1, FromScreen(scrollY_) - 1,
                   FromScreen(scrollX_ + width) + 1, FromScreen(scrollY_ + height) + 1};
  TSolution32* shown = kind_ == TWindowKind::Solution ? solution_.get() : nullptr;
  DrawGameWithSolution(canvas, *game_, shown, width > 0 && height > 0 ? &view : nullptr);
  if (keyed_ && current_.get() != nullptr) DrawFocusMark(canvas, *current_);
}

void TMDIChild::HorzFormScroll(int32_t position) {
  scrollX_ = position;
  host_.Invalidate();
}

void TMDIChild::VertFormScroll(int32_t position) {
  scrollY_ = position;
  host_.Invalidate();
}

void TMDIChild::FillText(int mode) {
  TSolution32* s = solution_.get();
  ShowLines(BuildListing(*game_, mode, s != nullptr ? &s->AuditEntries : nullptr));
}

void TMDIChild::ShowLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  host_.ShowText(lines_);
}

void TMDIChild::FormActivate() {
  rubberBand_ = false;
  current_ = nullptr;
  main_.SetSelectionActions(/*on=*/false);
  main_.RefreshActions();
  host_.Invalidate();
}

bool TMDIChild::FormCloseQuery() {
  if (kind_ != TWindowKind::Game) return true;
  if (!Allowed(TDeed::Close, Gate())) return false;  // a run still works on the game
  const TEditScope scope(*game_);
  TMessageSink& messages = game_->Messages();
  // A game read from an exchange file (or never saved) has no game file of its own yet: it is
  // saved through Save As, never over the file it came from.
  const auto saveAs = [&] {
    return main_.SaveAs(*this) || !HasElements() ||
           messages.Confirm("Close without saving the new game?");
  };
  // A game open read-only belongs to the instance that edits it: saved elsewhere or not at all.
  const bool ownFile = game_->HasFileName() && !game_->ReadOnly;
  switch (game_->Status()) {
    case StatusNew:
      // A new game with something in it is not dropped because Save As was cancelled: the
      // user says so first.
      return saveAs();
    case StatusSolved:
      if (messages.Confirm(SaveSolutionsQuestion(*game_))) {
        if (!ownFile) return saveAs();
        // A game that could not be saved stays open rather than being lost.
        return main_.SaveOwnFile(*this, /*withSolutions=*/true);
      }
      break;
    case StatusEdited:
      if (messages.Confirm("Save edited game?")) {
        if (!ownFile) return saveAs();
        return main_.SaveOwnFile(*this, /*withSolutions=*/false);
      }
      break;
    default:
      break;
  }
  return true;
}

std::string SaveSolutionsQuestion(const TGameForm32& game) {
  return game.SolutionsIncomplete
             ? "Save solutions? The run was stopped before its end, so the set may be incomplete."
             : "Save solutions?";
}

bool TMDIChild::HasElements() {
  for (TGameList* list : {&game_->Players(), &game_->Nodes(), &game_->Moves()}) {
    if (!list->Empty()) return true;
  }
  return false;
}

void TMDIChild::FormClose() {
  if (TSolution32* s = solution_.get()) {
    s->InView = false;
    main_.SolutionWindowClosed(*s);
  }
}

}  // namespace ludomark
