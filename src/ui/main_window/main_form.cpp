#include "ui/main_window/main_form.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <utility>

#include "audit/audit.h"
#include "gamefile/exchange_file.h"
#include "gamefile/exchange_writer.h"
#include "gamefile/file_error.h"
#include "gamefile/file_identity.h"
#include "gamefile/game_file.h"
#include "gamefile/listing.h"
#include "gamefile/precise_numbers.h"
#include "model/settings.h"
#include "model/status_code.h"

namespace ludomark {

namespace {
// The edit commands, enabled together for a game open to edits.
constexpr std::array kEditActions = {
    TAction::AddPlayer,   TAction::AddNode,      TAction::AddMove,    TAction::AddTable,
    TAction::AddSide,     TAction::EditPlayer,   TAction::EditNode,   TAction::EditMove,
    TAction::EditInfo,    TAction::EditTable,    TAction::EditSide,   TAction::Undo,
    TAction::Redo,        TAction::DeletePlayer, TAction::DeleteNode, TAction::DeleteMove,
    TAction::DeleteTable, TAction::DeleteSide};

// What each of the other actions would do to the active game, for the gate.
struct TActionDeed {
  TAction Action;
  TDeed Deed;
};
constexpr std::array kActionDeeds = {TActionDeed{TAction::FileSave, TDeed::Save},
                                     TActionDeed{TAction::FileSaveAs, TDeed::Save},
                                     TActionDeed{TAction::ExportGame, TDeed::Save},
                                     TActionDeed{TAction::Name, TDeed::Edit},
                                     TActionDeed{TAction::Audit, TDeed::Solve},
                                     TActionDeed{TAction::Solve, TDeed::Solve},
                                     TActionDeed{TAction::Options, TDeed::RunSettings},
                                     TActionDeed{TAction::Debug, TDeed::RunSettings},
                                     TActionDeed{TAction::Show, TDeed::UseSolutions},
                                     TActionDeed{TAction::CloseAll, TDeed::UseSolutions},
                                     TActionDeed{TAction::DeleteAll, TDeed::DropSolutions}};

bool IsSolved(int status) {
  return status == StatusSolved || status == StatusSolvedSaved;
}

bool HasGameExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".lmx";
}

}  // namespace

TMainForm::TMainForm(TMainHost& host, TDialogRunner& runner, TMessageSink& messages,
                     std::string helpPath)
    : host_(host),
      messages_(messages),
      dialogs_(runner),
      solveDlg_(run_, *this),
      helpPath_(std::move(helpPath)) {
  enabled_.fill(true);
  Zoom = 1.0;
  DebugMode = false;
  for (TAction a : {TAction::Proba, TAction::Belief, TAction::Expect}) checked_[Index(a)] = true;
  for (std::size_t i = 0; i < enabled_.size(); ++i) {
    host_.ActionChanged(static_cast<TAction>(i), enabled_[i], checked_[i]);
  }
  RefreshActions();
}

TMainForm::~TMainForm() {
  // Windows left open at the end leave the games they watched without an observer.
  for (TMDIChild* w : windows_) {
    if (w->Kind() == TWindowKind::Game) w->Game().Unwatch(this);
  }
}

void TMainForm::Set(TAction action, bool enabled) {
  if (enabled_[Index(action)] == enabled) return;
  enabled_[Index(action)] = enabled;
  host_.ActionChanged(action, enabled, checked_[Index(action)]);
}

void TMainForm::SetCheck(TAction action, bool checked) {
  checked_[Index(action)] = checked;
  host_.ActionChanged(action, enabled_[Index(action)], checked);
}

void TMainForm::ViewChanged() {
  for (TMDIChild* w : windows_) w->ViewChanged();
  host_.ViewChanged();
}

TMainForm::TCommand::TCommand(TMainForm& form) : form_(form) {
  if (form_.commandDepth_++ > 0) return;
  for (TMDIChild* w : form_.windows_) {
    if (w->Kind() != TWindowKind::Game) continue;
    w->Game().BeginEdit();
    form_.commandGames_.push_back(&w->Game());
  }
}

TMainForm::TCommand::~TCommand() {
  if (--form_.commandDepth_ > 0) return;
  const std::vector<TGameForm32*> games = std::move(form_.commandGames_);
  form_.commandGames_.clear();
  for (TGameForm32* game : games) game->EndEdit();
}

// --- child windows ---

TMDIChild& TMainForm::OpenChild(const std::string& caption, TWindowKind kind, TSolution32* solution,
                                TGameType32* game) {
  TMDIChild& window = host_.CreateChild(kind, game, solution);
  windows_.push_back(&window);
  if (kind == TWindowKind::Game) {
    TGameType32& game = window.Game();
    game.SetMessages(&messages_);
    game.Watch(this);
    window.History().Reset(PreciseGameText(game));
    // A game made during a command is told of with the others, when the command ends.
    if (commandDepth_ > 0) {
      game.BeginEdit();
      commandGames_.push_back(&game);
    }
  } else if (kind == TWindowKind::Solution) {
    PushValueFlags();
  }
  window.SetCaption(caption);
  selectionOn_ = false;
  RefreshActions();
  window.ResetDisplay();
  return window;
}

TMDIChild& TMainForm::ActiveGameWindow() {
  if (TMDIChild* active = host_.ActiveChild()) return *active;
  // A game nobody has saved yet: it is new, and saving it asks for a name.
  TMDIChild& window = OpenChild("", TWindowKind::Game, nullptr, nullptr);
  window.Game().ForceStatus(StatusNew);
  return window;
}

TMDIChild* TMainForm::GameWindowOf(const TGameForm32& game) {
  for (TMDIChild* w : windows_) {
    if (w->Kind() == TWindowKind::Game && &w->Game() == &game) return w;
  }
  return nullptr;
}

void TMainForm::WindowGone(TMDIChild& window) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
  RefreshActions();
}

void TMainForm::GameWindowClosing(TGameForm32& game) {
  game.Unwatch(this);
  // A game going away has nobody left to tell.
  commandGames_.erase(std::remove(commandGames_.begin(), commandGames_.end(), &game),
                      commandGames_.end());
  // Closed as the user chose: nothing is left to recover.
  if (game.HasFileName() && !game.ReadOnly) {
    recovery_.Drop(game.FileName());
    recovery_.Release(game.FileName());
  }
  CloseOtherWindows(game, nullptr);
  solveDlg_.GameClosing(game);
}

void TMainForm::CloseOtherWindows(TGameForm32& game, TSolution32* solution) {
  std::vector<TMDIChild*> closing;
  for (TMDIChild* w : windows_) {
    if (&w->Game() != &game || w->Kind() == TWindowKind::Game) continue;
    if (solution == nullptr || w->Solution() == solution) closing.push_back(w);
  }
  for (TMDIChild* w : closing) host_.CloseChild(*w);
}

void TMainForm::SolutionWindowClosed(TSolution32& solution) {
  solveDlg_.SolutionViewClosed(solution);
}

void TMainForm::OpenSolutionView(TGameForm32& game, TSolution32& solution) {
  TMDIChild* owner = GameWindowOf(game);
  if (owner == nullptr || !Allowed(TDeed::UseSolutions, GateFor(game))) return;
  OpenChild(solution.Name, TWindowKind::Solution, &solution, &owner->Game());
  host_.Cascade();
}

void TMainForm::CloseSolutionViews(TGameForm32& game, TSolution32* solution) {
  CloseOtherWindows(game, solution);
}

void TMainForm::RunFinished(TGameForm32& /*game*/) {
  RefreshActions();
  ViewChanged();
  if (exitPending_) {
    // The questions of the closing games must not go behind the solve dialog.
    solveDlg_.HideView();
    host_.CloseMainWindow();
  }
}

TMDIChild& TMainForm::TextWindow(TGameType32& game, TWindowKind kind, const std::string& caption) {
  for (TMDIChild* w : windows_) {
    if (&w->Game() == &game && w->Kind() == kind) return *w;
  }
  return OpenChild(caption, kind, nullptr, &game);
}

void TMainForm::FirstActivation(const std::string& path) {
  if (activated_) return;
  activated_ = true;
  if (!path.empty()) FileOpen(path);
}

bool TMainForm::CloseAll() {
  const TCommand command(*this);
  if (AnyRun()) {
    // The run stops at its next step; its end closes the main window again.
    solveDlg_.CancelBtnClick();
    exitPending_ = true;
    return false;
  }
  std::vector<TMDIChild*> games;
  for (TMDIChild* w : windows_) {
    if (w->Kind() == TWindowKind::Game) games.push_back(w);
  }
  for (TMDIChild* w : games) {
    host_.Activate(*w);
    if (!host_.CloseChild(*w)) {
      exitPending_ = false;
      return false;
    }
  }
  exitPending_ = false;
  return true;
}

// --- state of the actions ---

bool TMainForm::AnyRun() {
  return std::any_of(windows_.begin(), windows_.end(), [](TMDIChild* w) {
    return w->Kind() == TWindowKind::Game && w->Game().RunWorking();
  });
}

TGateState TMainForm::GateFor(const TGameForm32& game) {
  return GateOf(game, AnyRun());
}

TGateState TMainForm::ActiveGate() {
  TMDIChild* active = host_.ActiveChild();
  // With no window open, a command works on a fresh new game.
  return active != nullptr ? active->Gate() : TGateState{StatusNew, false, AnyRun(), false};
}

bool TMainForm::May(TDeed deed, TMDIChild& window) {
  return Allowed(deed, window.Gate());
}

void TMainForm::DocumentChanged(TGameForm32& game, TChanges changes) {
  RefreshActions();
  TMDIChild* owner = GameWindowOf(game);
  // Solutions and runs are no edits of the game; during a run the game does not change.
  const bool edited = changes.Has(TChange::Structure) || changes.Has(TChange::Layout) ||
                      changes.Has(TChange::Status);
  if (owner == nullptr || !edited || game.RunWorking()) return;
  // An element that follows the pointer: the point is taken when the placing begins and the
  // drop amends it; the moves in between cost nothing.
  TMDIChild::TPlacingPoint& point = owner->PlacingPoint();
  if (owner->Placing() && point == TMDIChild::TPlacingPoint::Taken) return;
  std::string text = PreciseGameText(game);
  if (owner->Placing()) {
    owner->History().Record(text);
    point = TMDIChild::TPlacingPoint::Taken;
  } else if (point == TMDIChild::TPlacingPoint::Taken) {
    owner->History().Amend(text);
    point = TMDIChild::TPlacingPoint::None;
  } else {
    owner->History().Record(text);
    point = TMDIChild::TPlacingPoint::None;
  }
  KeepRecovery(*owner, text);
  if (const std::string failure = recovery_.TakeFailure(); !failure.empty()) {
    host_.ShowStatus("Edits are not being kept for recovery: " + failure);
  }
}

void TMainForm::KeepRecovery(TMDIChild& window, const std::string& text) {
  TGameType32& game = window.Game();
  if (!game.HasFileName() || game.ReadOnly) return;
  const int status = game.Status();
  if (status == StatusEdited) {
    recovery_.Keep(game.FileName(), text, window.FileIdentity);
  } else if (status == StatusSaved || status == StatusSolvedSaved) {
    recovery_.Drop(game.FileName());
  }
}

void TMainForm::TakeFile(TMDIChild& window, const std::string& path) {
  TGameType32& game = window.Game();
  if (game.HasFileName() && game.FileName() != path && !game.ReadOnly) {
    recovery_.Drop(game.FileName());
    recovery_.Release(game.FileName());
  }
  window.FileIdentity = IdentityOfFile(path);
  // Saved under a name of its own, a game open read-only is the user's to edit.
  game.ReadOnly = !recovery_.Claim(path);
}

void TMainForm::OfferRecovery(TMDIChild& window, const TRecovery::TKept& kept) {
  TGameType32& game = window.Game();
  const std::string path = game.FileName();
  if (kept.Text.empty() || kept.Text == PreciseGameText(game)) {
    recovery_.Drop(path);
    return;
  }
  TGameType32 trial;
  try {
    ReadPreciseGameText(kept.Text, trial);
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
    recovery_.Drop(path);
    return;
  }
  if (!kept.Began.SameText(window.FileIdentity)) {
    // The file moved on since the edits began: they never go over it, only into a game of
    // their own, saved under a name the user gives.
    if (messages_.Confirm("Edits of this game that were not saved were kept when Ludomark last "
                          "ended, but the file changed since. Open the kept edits as a new "
                          "game?")) {
      TMDIChild& copy = OpenChild("", TWindowKind::Game, nullptr, nullptr);
      ReadPreciseGameText(kept.Text, copy.Game());
      copy.Game().ClearFileName();
      copy.Game().ForceStatus(StatusNew);
      copy.ResetDisplay();
    }
    recovery_.Drop(path);
    return;
  }
  if (!messages_.Confirm("Edits of this game that were not saved were kept when Ludomark last "
                         "ended. Open them?")) {
    recovery_.Drop(path);
    return;
  }
  // The kept edits are the game's; its saved solutions belonged to the game as saved. Undo
  // goes back to the file.
  game.ResetDerived();
  game.FreeGame();
  ReadPreciseGameText(kept.Text, game);
  game.SetFileName(path);
  game.ForceStatus(StatusEdited);
}

void TMainForm::SetSelectionActions(bool on) {
  selectionOn_ = on;
  RefreshActions();
}

void TMainForm::RefreshActions() {
  TMDIChild* active = host_.ActiveChild();
  const TGateState state = ActiveGate();
  const bool editable = Ask(TDeed::Edit, state) == TAnswer::Yes;
  for (TAction a : kEditActions) Set(a, editable);
  for (const TActionDeed& a : kActionDeeds) {
    // A solved game keeps Name: its solution is named in a solution view, and in the game
    // window the command says why the game cannot be renamed.
    const TAnswer answer = Ask(a.Deed, state);
    Set(a.Action,
        answer == TAnswer::Yes || (a.Action == TAction::Name && answer == TAnswer::Solved));
  }
  // The solve dialog shows one game at a time: the one its run works on.
  Set(TAction::Show, Allowed(TDeed::UseSolutions, state) && !state.RunBusy);
  if (active != nullptr && active->Kind() == TWindowKind::Solution) {
    Set(TAction::Name, Allowed(TDeed::DropSolutions, state));
  }
  Set(TAction::DeleteSelect, selectionOn_ && editable);
  Set(TAction::Arrange,
      active != nullptr && active->Kind() == TWindowKind::Game && Allowed(TDeed::Move, state));
  Set(TAction::AddSelect, selectionOn_ && editable);
}

// --- files ---

bool TMainForm::SaveGame(const std::string& path, TGameType32& game) {
  TMDIChild* owner = GameWindowOf(game);
  if (owner == nullptr) return false;
  const bool ownFile = game.HasFileName() && path == game.FileName();
  if (ownFile && KeepsOtherWork(*owner)) {
    // Save As is offered instead; whatever it does, this save wrote nothing.
    SaveAs(*owner);
    return false;
  }
  try {
    if (IsSolved(game.Status())) {
      if (messages_.Confirm(SaveSolutionsQuestion(game))) {
        WriteGameFile(path, game, /*withSolutions=*/true);
        if (!ownFile) TakeFile(*owner, path);
        game.SetFileName(path);
        game.SetStatus(StatusSolvedSaved);
      } else {
        DeleteAll();
      }
    }
    const int status = game.Status();
    if (status == StatusNew || status == StatusEdited || status == StatusSaved) {
      WriteGameFile(path, game);
      if (!ownFile) TakeFile(*owner, path);
      game.SetFileName(path);
      game.SetStatus(StatusSaved);
    }
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
    return false;
  }
  owner->FileIdentity = IdentityOfFile(path);
  return true;
}

bool TMainForm::KeepsOtherWork(TMDIChild& window) {
  // Another program (or another Ludomark) may have written the file since it was read: its
  // work is not replaced without a word.
  return !IdentityOfFile(window.Game().FileName()).SameText(window.FileIdentity) &&
         !messages_.Confirm("The file changed on disk since it was opened. Overwrite it?");
}

bool TMainForm::SaveOwnFile(TMDIChild& window, bool withSolutions) {
  const TCommand command(*this);
  TGameType32& game = window.Game();
  const std::string path = game.FileName();
  if (KeepsOtherWork(window)) return SaveAs(window);
  try {
    WriteGameFile(path, game, withSolutions);
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
    return false;
  }
  window.FileIdentity = IdentityOfFile(path);
  game.SetStatus(withSolutions ? StatusSolvedSaved : StatusSaved);
  return true;
}

void TMainForm::FileNew() {
  const TCommand command(*this);
  TMDIChild& window = OpenChild("", TWindowKind::Game, nullptr, nullptr);
  window.Game().ForceStatus(StatusNew);
  window.Game().ClearFileName();
  SaveAs(window);
}

void TMainForm::FileOpen(const std::string& given) {
  const TCommand command(*this);
  const std::string path = given.empty() ? host_.AskOpenPath() : given;
  if (path.empty()) return;
  // A tree or table of the exchange formats opens as Import opens it, as a new game.
  if (IsExchangeFile(path)) {
    Import(path);
    return;
  }
  // A game already open here is shown, not opened twice.
  for (TMDIChild* w : windows_) {
    if (w->Kind() == TWindowKind::Game && w->Game().HasFileName() && w->Game().FileName() == path &&
        !w->Game().ReadOnly) {
      host_.Activate(*w);
      return;
    }
  }
  const bool mine = recovery_.Claim(path);
  if (!mine && !messages_.Confirm("This game is open in another Ludomark, which keeps its "
                                  "unsaved edits. Open it read-only?")) {
    return;
  }
  TMDIChild& window = OpenChild(path, TWindowKind::Game, nullptr, nullptr);
  TGameType32& game = window.Game();
  game.ReadOnly = !mine;
  window.FileIdentity = IdentityOfFile(path);
  try {
    if (!ReadGameFile(path, game)) {
      messages_.Warning("Cannot open " + path);
      game.ForceStatus(StatusSaved);
      host_.CloseChild(window);
      recent_.Remove(path);
      return;
    }
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
    game.ForceStatus(StatusSaved);
    host_.CloseChild(window);
    recent_.Remove(path);
    return;
  }
  recent_.Add(path);
  window.History().Reset(PreciseGameText(game));
  // Only this instance's own copies are offered: another one's edits are still live.
  if (mine) {
    if (const std::optional<TRecovery::TKept> kept = recovery_.Read(path)) {
      OfferRecovery(window, *kept);
    }
  }
  window.ResetDisplay();
  window.ShowFirstNode();
  RefreshActions();
}

void TMainForm::Import(const std::string& given) {
  const TCommand command(*this);
  const std::string path = given.empty() ? host_.AskImportPath() : given;
  if (path.empty()) return;
  TMDIChild& window = OpenChild(path, TWindowKind::Game, nullptr, nullptr);
  TGameType32& game = window.Game();
  try {
    ReadExchangeFile(path, game);
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
    game.ForceStatus(StatusSaved);  // nothing to save: the window closes without asking
    host_.CloseChild(window);
    recent_.Remove(path);
    return;
  }
  recent_.Add(path);
  // Not a game file yet: saving asks where to write one, never over the exchange file.
  game.ClearFileName();
  game.ForceStatus(StatusNew);
  window.History().Reset(PreciseGameText(game));
  // The game keeps the exchange file's numbers; saved as a game file, some would round.
  if (const std::vector<std::string> rounded = RoundedNumbers(game); !rounded.empty()) {
    std::string status = rounded.front();
    if (rounded.size() > 1) {
      status.append(" (and ").append(std::to_string(rounded.size() - 1)).append(" more)");
    }
    host_.ShowStatus(status);
  }
  window.ResetDisplay();
  window.ShowFirstNode();
}

void TMainForm::ExportGame() {
  const TCommand command(*this);
  TMDIChild* active = host_.ActiveChild();
  if (active == nullptr || !May(TDeed::Save, *active)) return;
  const std::string path = host_.AskExportPath();
  if (path.empty()) return;
  try {
    WriteExchangeFile(path, active->Game());
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
  }
}

void TMainForm::FileSave() {
  const TCommand command(*this);
  TMDIChild* active = host_.ActiveChild();
  if (active == nullptr || !May(TDeed::Save, *active)) return;
  TGameType32& game = active->Game();
  // A game open read-only is saved under another name.
  if (game.Status() != StatusNew && game.HasFileName() && !game.ReadOnly) {
    SaveGame(game.FileName(), game);
  } else {
    SaveAs(*active);
  }
}

bool TMainForm::FileSaveAs() {
  TMDIChild* active = host_.ActiveChild();
  return active != nullptr && SaveAs(*active);
}

bool TMainForm::SaveAs(TMDIChild& window) {
  const TCommand command(*this);
  if (!May(TDeed::Save, window)) return false;
  const std::string path = host_.AskSavePath();
  if (path.empty()) return false;
  if (!HasGameExtension(path)) {
    messages_.Warning("Not a lmx extension");
    return false;
  }
  TGameType32& game = window.Game();
  if (!SaveGame(path, game)) return false;
  recent_.Add(path);
  if (TMDIChild* owner = GameWindowOf(game)) owner->SetCaption(path);
  return true;
}

void TMainForm::Print() {
  if (TMDIChild* active = host_.ActiveChild()) {
    host_.PrintWindow(*active, /*portrait=*/active->Kind() == TWindowKind::Audit);
  }
}

void TMainForm::List() {
  const TCommand command(*this);
  TGameType32& game = ActiveGameWindow().Game();
  TextWindow(game, TWindowKind::Audit, "Audit").FillText(kSolvableListMode);
  host_.Cascade();
}

void TMainForm::Name() {
  const TCommand command(*this);
  TMDIChild& window = ActiveGameWindow();
  TGameType32& game = window.Game();
  if (window.Kind() == TWindowKind::Game) {
    if (window.RefuseIfSolved()) return;
    if (RunNameDialog(dialogs_.Runner, dialogs_.Name, "Edit Name", &game.Header())) {
      game.SetStatus(StatusEdited);
    }
  } else if (window.Kind() == TWindowKind::Solution && window.Solution() != nullptr) {
    if (!May(TDeed::DropSolutions, window)) return;
    TSolution32* solution = window.Solution();
    if (RunNameDialog(dialogs_.Runner, dialogs_.Name, "Edit Name", solution)) {
      game.SetStatus(StatusSolved);
      window.SetCaption(solution->Name);
      solveDlg_.RefreshList();
    }
  }
}

void TMainForm::ShowTest() {
  const TCommand command(*this);
  TGameType32& game = ActiveGameWindow().Game();
  TextWindow(game, TWindowKind::Test, "Test ").FillText(kSolverStepsMode);
  host_.Cascade();
}

void TMainForm::ShowDebug() {
  const TCommand command(*this);
  TMDIChild& window = ActiveGameWindow();
  TSolution32* solution = window.Solution();
  if (window.Kind() != TWindowKind::Solution || solution == nullptr) return;
  TMDIChild* debug = nullptr;
  for (TMDIChild* w : windows_) {
    if (w->Kind() == TWindowKind::Debug && w->Solution() == solution) debug = w;
  }
  if (debug == nullptr) {
    debug = &OpenChild("Debug " + solution->Name, TWindowKind::Debug, solution, &window.Game());
  }
  debug->FillText(kAuditSolutionMode);
  host_.Cascade();
}

void TMainForm::Exit() {
  host_.CloseMainWindow();
}

void TMainForm::Undo() {
  const TCommand command(*this);
  Travel(/*back=*/true);
}

void TMainForm::Arrange() {
  const TCommand command(*this);
  TMDIChild* active = host_.ActiveChild();
  if (active == nullptr || active->Kind() != TWindowKind::Game) return;
  active->Arrange();
}

void TMainForm::Redo() {
  const TCommand command(*this);
  Travel(/*back=*/false);
}

void TMainForm::Travel(bool back) {
  TMDIChild& active = ActiveGameWindow();
  TMDIChild* owner = GameWindowOf(active.Game());
  if (owner == nullptr || owner->RefuseIfSolved()) return;
  TGameType32& game = owner->Game();
  TUndoHistory& history = owner->History();
  if (back ? !history.CanUndo() : !history.CanRedo()) return;
  const std::string text = back ? history.UndoText() : history.RedoText();
  // The point is read on its own first: one that does not read leaves the game as it is.
  try {
    TGameType32 trial;
    ReadPreciseGameText(text, trial);
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
    return;
  }
  const int status = game.Status();
  const bool named = game.HasFileName();
  const std::string name = game.FileName();
  owner->SetCurrent(nullptr);
  game.FreeGame();
  ReadPreciseGameText(text, game);
  if (named) game.SetFileName(name);
  game.ForceStatus(status == StatusNew ? StatusNew : StatusEdited);
  if (back) {
    history.Undone(PreciseGameText(game));
  } else {
    history.Redone(PreciseGameText(game));
  }
}

// --- display ---

bool TMainForm::ExportPicture(const std::string& path) {
  TMDIChild& window = ActiveGameWindow();
  TSolution32* solution = window.Kind() == TWindowKind::Solution ? window.Solution() : nullptr;
  try {
    host_.WritePicture(window.Game(), solution, path, Zoom);
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
    return false;
  }
  return true;
}

void TMainForm::Export() {
  const std::string path = (std::filesystem::current_path() / "Graphics.bmp").string();
  if (ExportPicture(path)) host_.OpenWithDesktop(path);
}

void TMainForm::ExportAs() {
  const std::string path = host_.AskPicturePath();
  if (!path.empty()) ExportPicture(path);
}

void TMainForm::ToggleGrid() {
  SetCheck(TAction::DisplayGrid, !Checked(TAction::DisplayGrid));
  ViewChanged();
}

void TMainForm::PushValueFlags() {
  int flags = 0;
  if (Checked(TAction::Proba)) flags |= kShowProbabilities;
  if (Checked(TAction::Belief)) flags |= kShowBeliefs;
  if (Checked(TAction::Expect)) flags |= kShowExpected;
  for (TMDIChild* w : windows_) {
    if (w->Kind() == TWindowKind::Solution && w->Solution() != nullptr) {
      w->Solution()->SolutionFlags = flags;
    }
  }
}

void TMainForm::ToggleValues(TAction which) {
  SetCheck(which, !Checked(which));
  PushValueFlags();
  ViewChanged();
}

void TMainForm::ToggleFractions() {
  SetCheck(TAction::Fractions, !Checked(TAction::Fractions));
  ShowFractions = Checked(TAction::Fractions);
  ViewChanged();
}

void TMainForm::ZoomIn() {
  SetZoom(Zoom + 0.05);
}

void TMainForm::ZoomOut() {
  SetZoom(Zoom - 0.05);
}

void TMainForm::SetZoom(double zoom) {
  zoom = std::round(zoom * 20) / 20;
  // Each picture keeps the place at its centre where it is: scroll positions are pixels, which
  // a new scale moves.
  std::vector<std::pair<TMDIChild*, TPoint>> centres;
  for (TMDIChild* w : windows_) {
    if (!w->IsText()) centres.emplace_back(w, w->ViewCentre());
  }
  Zoom = std::clamp(zoom, 0.8, 1.6);
  ViewChanged();
  for (const auto& [window, centre] : centres) window->CentreOn(centre);
}

void TMainForm::Help() {
  if (!host_.OpenWithDesktop(helpPath_)) host_.ShowHelpText(helpPath_);
}

// --- solutions ---

void TMainForm::AuditGame() {
  const TCommand command(*this);
  TMDIChild* active = host_.ActiveChild();
  if (active == nullptr || !May(TDeed::Solve, *active)) return;
  TGameType32& game = active->Game();
  const int status = game.Status();
  std::vector<std::string> drawn = BuildListing(game, kSolvableListMode);
  const bool passed = Audit(game);
  TextWindow(game, TWindowKind::Audit, "Audit")
      .ShowLines(AuditListing(game, passed, std::move(drawn)));
  host_.Cascade();
  game.ResetDerived();
  // The audit changed nothing the user made: an edited or new game still needs saving.
  game.ForceStatus(status);
}

void TMainForm::Options() {
  // A run keeps the method it started with, but one change at a time.
  if (!Allowed(TDeed::RunSettings, ActiveGate())) return;
  dialogs_.Runner.Show(dialogs_.SolveOptions);
}

void TMainForm::Solve() {
  const TCommand command(*this);
  // With no game open there is nothing to solve: no empty game is made for it.
  if (host_.ActiveChild() == nullptr) return;
  TGameType32& game = ActiveGameWindow().Game();
  // The game's own window: the active one may be a view that closes on the way.
  TMDIChild& window = *GameWindowOf(game);
  if (GateFor(game).RunBusy) return;
  switch (game.Status()) {
    case StatusNew:
    case StatusEdited:
      messages_.Information("You must save before solving");
      return;
    case StatusSolved:
    case StatusSolvedSaved:
      if (!messages_.Confirm("Discard existing solutions?")) {
        messages_.Information("Solving cancelled");
        return;
      }
      // The file keeps what was saved: only Save writes it.
      CloseOtherWindows(game, nullptr);
      StartSolve(window);
      return;
    case StatusSaved:
      StartSolve(window);
      return;
    default:
      return;
  }
}

void TMainForm::StartSolve(TMDIChild& window) {
  TGameType32& game = window.Game();
  if (GateFor(game).RunBusy) return;
  // A game solved before still carries what that audit derived; the new audit starts clean.
  game.ResetDerived();
  const TGameCopier copy = CopiesOf(game);
  switch (run_.Prepare(game)) {
    case TSolveRun::Start::Flawed:
      TextWindow(game, TWindowKind::Audit, "Audit").FillText(kFlawedListMode);
      game.ResetDerived();
      return;
    case TSolveRun::Start::Ran:
      solveDlg_.Prepare(/*run=*/true, game, copy);
      RefreshActions();
      return;
    case TSolveRun::Start::Refused:
      messages_.Warning(run_.Refusal);
      return;
    default:
      return;
  }
}

void TMainForm::Show() {
  const TCommand command(*this);
  TMDIChild& window = ActiveGameWindow();
  if (!May(TDeed::UseSolutions, window)) return;
  if (!window.Game().Solutions().Empty()) solveDlg_.Prepare(/*run=*/false, window.Game());
}

void TMainForm::CloseAllSolutions() {
  const TCommand command(*this);
  if (TMDIChild* active = host_.ActiveChild()) CloseOtherWindows(active->Game(), nullptr);
}

void TMainForm::DeleteAll() {
  const TCommand command(*this);
  TMDIChild* active = host_.ActiveChild();
  if (active == nullptr || !May(TDeed::DropSolutions, *active)) return;
  if (!messages_.Confirm("Discard existing solutions?")) return;
  TGameType32& game = active->Game();
  // Saved solutions stay in the file until the game is saved again: the game then differs
  // from its file.
  const bool inFile = game.Status() == StatusSolvedSaved;
  CloseOtherWindows(game, nullptr);
  game.ResetDerived();
  if (inFile) game.SetStatus(StatusEdited);
  solveDlg_.HideView();
}

void TMainForm::ToggleDebug() {
  // The run reads the setting as it goes.
  if (!Allowed(TDeed::RunSettings, ActiveGate())) return;
  DebugMode = !DebugMode;
  SetCheck(TAction::Debug, DebugMode);
  ViewChanged();
}

}  // namespace ludomark
