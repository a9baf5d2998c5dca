#include "ui/main_window/main_form.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "audit/audit.h"
#include "gamefile/exchange_file.h"
#include "gamefile/exchange_writer.h"
#include "gamefile/file_error.h"
#include "gamefile/game_file.h"
#include "model/settings.h"
#include "model/status_code.h"
#include "ui/view/picture.h"

namespace ludomark {

namespace {
// The edit commands, enabled together for a game open to edits.
constexpr std::array kEditActions = {
    TAction::AddPlayer,    TAction::AddNode,    TAction::AddMove,     TAction::AddTable,
    TAction::AddSide,      TAction::EditPlayer, TAction::EditNode,    TAction::EditMove,
    TAction::EditInfo,     TAction::EditTable,  TAction::EditSide,    TAction::Undo,
    TAction::DeletePlayer, TAction::DeleteNode, TAction::DeleteMove,  TAction::DeleteTable,
    TAction::DeleteSide,   TAction::AddSelect,  TAction::DeleteSelect};

bool IsSolved(int status) {
  return status == StatusSolved || status == StatusSolvedSaved;
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
  SetSelectionActions(/*on=*/false);
}

TMainForm::~TMainForm() = default;

void TMainForm::Set(TAction action, bool enabled) {
  enabled_[Index(action)] = enabled;
  host_.ActionChanged(action, enabled, checked_[Index(action)]);
}

void TMainForm::SetCheck(TAction action, bool checked) {
  checked_[Index(action)] = checked;
  host_.ActionChanged(action, enabled_[Index(action)], checked);
}

void TMainForm::Repaint() {
  for (TMDIChild* w : windows_) w->ResetDisplay();
}

// --- child windows ---

TMDIChild& TMainForm::OpenChild(const std::string& caption, TWindowKind kind, TSolution32* solution,
                                TGameType32* game) {
  TMDIChild& window = host_.CreateChild(kind, game, solution);
  windows_.push_back(&window);
  if (kind == TWindowKind::Game) {
    window.Game().SetMessages(&messages_);
    ApplyGameState(IsSolved(window.Game().Status()) ? StatusSolved : StatusEdited);
  } else if (kind == TWindowKind::Solution) {
    ApplyGameState(StatusSolved);
    PushValueFlags();
  }
  window.SetCaption(caption);
  SetSelectionActions(/*on=*/false);
  window.ResetDisplay();
  return window;
}

TMDIChild& TMainForm::ActiveGameWindow() {
  if (TMDIChild* active = host_.ActiveChild()) return *active;
  return OpenChild("", TWindowKind::Game, nullptr, nullptr);
}

TMDIChild* TMainForm::GameWindowOf(const TGameForm32& game) {
  for (TMDIChild* w : windows_) {
    if (w->Kind() == TWindowKind::Game && &w->Game() == &game) return w;
  }
  return nullptr;
}

void TMainForm::WindowGone(TMDIChild& window) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
}

void TMainForm::GameWindowClosing(TGameForm32& game) {
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
  if (owner == nullptr) return;
  OpenChild(solution.Name, TWindowKind::Solution, &solution, &owner->Game());
  host_.Cascade();
}

void TMainForm::CloseSolutionViews(TGameForm32& game, TSolution32* solution) {
  CloseOtherWindows(game, solution);
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
  if (run_.Busy) run_.Stopped = true;  // the run ends at its next step; its game then closes
  std::vector<TMDIChild*> games;
  for (TMDIChild* w : windows_) {
    if (w->Kind() == TWindowKind::Game) games.push_back(w);
  }
  for (TMDIChild* w : games) {
    host_.Activate(*w);
    if (!host_.CloseChild(*w)) return false;
  }
  return true;
}

// --- state of the actions ---

void TMainForm::SetSelectionActions(bool on) {
  Set(TAction::DeleteSelect, on);
  Set(TAction::AddSelect, on);
}

void TMainForm::ApplyGameState(int code) {
  SetSelectionActions(/*on=*/false);
  const bool editable = code == StatusNew || code == StatusEdited || code == StatusSaved;
  if (code == StatusSolving) {
    // The solver works on the game between its progress reports: nothing may change it.
    for (TAction a : kEditActions) Set(a, /*enabled=*/false);
    for (TAction a : {TAction::Audit, TAction::Options, TAction::Solve, TAction::DeleteAll,
                      TAction::CloseAll, TAction::Show}) {
      Set(a, /*enabled=*/false);
    }
    return;
  }
  for (TAction a : kEditActions) {
    if (a != TAction::AddSelect && a != TAction::DeleteSelect) Set(a, editable);
  }
  for (TAction a : {TAction::Audit, TAction::Options, TAction::Solve}) Set(a, editable);
  for (TAction a : {TAction::DeleteAll, TAction::Show, TAction::CloseAll}) Set(a, !editable);
}

// --- files ---

bool TMainForm::SaveGame(const std::string& path, TGameType32& game) {
  try {
    if (IsSolved(game.Status())) {
      if (messages_.Confirm("Save solutions?")) {
        WriteGameFile(path, game, /*withSolutions=*/true);
        game.SetFileName(path);
        game.SetStatus(StatusSolvedSaved);
      } else {
        DeleteAll();
      }
    }
    const int status = game.Status();
    if (status == StatusNew || status == StatusEdited || status == StatusSaved) {
      WriteGameFile(path, game);
      game.SetStatus(StatusSaved);
      game.SetFileName(path);
    }
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
    return false;
  }
  return true;
}

void TMainForm::Backup(TGameForm32& game) {
  if (!game.HasFileName()) return;
  auto& document = static_cast<TGameType32&>(game);
  SaveGame(game.FileName(), document);
}

void TMainForm::FileNew() {
  TMDIChild& window = OpenChild("", TWindowKind::Game, nullptr, nullptr);
  window.Game().ForceStatus(StatusNew);
  window.Game().ClearFileName();
  SaveAs(window);
}

void TMainForm::FileOpen(const std::string& given) {
  const std::string path = given.empty() ? host_.AskOpenPath() : given;
  if (path.empty()) return;
  TMDIChild& window = OpenChild(path, TWindowKind::Game, nullptr, nullptr);
  TGameType32& game = window.Game();
  try {
    if (!ReadGameFile(path, game)) {
      messages_.Warning("Cannot open " + path);
      host_.CloseChild(window);
      return;
    }
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
    game.ForceStatus(StatusSaved);
    host_.CloseChild(window);
    return;
  }
  window.ResetDisplay();
  ApplyGameState(game.Status());
}

void TMainForm::Import(const std::string& given) {
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
    return;
  }
  // Not a game file yet: Save asks where to write one.
  game.ForceStatus(StatusNew);
  window.ResetDisplay();
  ApplyGameState(StatusNew);
}

void TMainForm::ExportGame() {
  TMDIChild* active = host_.ActiveChild();
  if (active == nullptr) return;
  const std::string path = host_.AskExportPath();
  if (path.empty()) return;
  try {
    WriteExchangeFile(path, active->Game());
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
  }
}

void TMainForm::FileSave() {
  TMDIChild* active = host_.ActiveChild();
  if (active == nullptr) return;
  TGameType32& game = active->Game();
  TMDIChild* owner = GameWindowOf(game);
  if (game.Status() != StatusNew && game.HasFileName() && owner != nullptr) {
    SaveGame(owner->Caption(), game);
  } else {
    SaveAs(*active);
  }
}

bool TMainForm::FileSaveAs() {
  TMDIChild* active = host_.ActiveChild();
  return active != nullptr && SaveAs(*active);
}

bool TMainForm::SaveAs(TMDIChild& window) {
  const std::string path = host_.AskSavePath();
  if (path.empty()) return false;
  if (std::filesystem::path(path).extension() != ".lmx") {
    messages_.Warning("Not a lmx extension");
    return false;
  }
  TGameType32& game = window.Game();
  if (!SaveGame(path, game)) return false;
  if (TMDIChild* owner = GameWindowOf(game)) owner->SetCaption(path);
  return true;
}

void TMainForm::Print() {
  if (TMDIChild* active = host_.ActiveChild()) {
    host_.PrintWindow(*active, /*portrait=*/active->Kind() == TWindowKind::Audit);
  }
}

void TMainForm::List() {
  TGameType32& game = ActiveGameWindow().Game();
  TextWindow(game, TWindowKind::Audit, "Audit").FillText(kSolvableListMode);
  host_.Cascade();
}

void TMainForm::Name() {
  TMDIChild& window = ActiveGameWindow();
  TGameType32& game = window.Game();
  if (window.Kind() == TWindowKind::Game) {
    if (RunNameDialog(dialogs_.Runner, dialogs_.Name, "Edit Name", &game.Header())) {
      game.SetStatus(StatusEdited);
    }
  } else if (TSolution32* solution = window.Solution()) {
    if (RunNameDialog(dialogs_.Runner, dialogs_.Name, "Edit Name", solution)) {
      game.SetStatus(StatusSolved);
      window.SetCaption(solution->Name);
    }
  }
  window.ResetDisplay();
}

void TMainForm::ShowTest() {
  TGameType32& game = ActiveGameWindow().Game();
  TextWindow(game, TWindowKind::Test, "Test ").FillText(kSolverStepsMode);
  host_.Cascade();
}

void TMainForm::ShowDebug() {
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
  TMDIChild& window = ActiveGameWindow();
  TGameType32& game = window.Game();
  if (!game.HasFileName() || game.Status() == StatusSolving) return;
  const std::string path = game.FileName();
  window.SetCurrent(nullptr);
  game.FreeGame();
  try {
    ReadGameFile(path, game);
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
  }
  window.ResetDisplay();
  game.ForceStatus(StatusEdited);
  ApplyGameState(StatusEdited);
}

// --- display ---

bool TMainForm::ExportPicture(const std::string& path) {
  TMDIChild& window = ActiveGameWindow();
  TSolution32* solution = window.Kind() == TWindowKind::Solution ? window.Solution() : nullptr;
  try {
    WritePicture(window.Game(), solution, path,
                 TPictureOptions{Zoom, /*Grid=*/false, /*Trim=*/false});
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
  Repaint();
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
  Repaint();
}

void TMainForm::ZoomIn() {
  Zoom = std::round((Zoom + 0.05) * 100) / 100;
  if (Zoom >= 1.6) Zoom = 1.6;
  Repaint();
}

void TMainForm::ZoomOut() {
  Zoom = std::round((Zoom - 0.05) * 100) / 100;
  if (Zoom <= 0.8) Zoom = 0.8;
  Repaint();
}

void TMainForm::Help() {
  if (!host_.OpenWithDesktop(helpPath_)) host_.ShowHelpText(helpPath_);
}

// --- solutions ---

void TMainForm::AuditGame() {
  TMDIChild* active = host_.ActiveChild();
  if (active == nullptr || run_.Busy) return;
  TGameType32& game = active->Game();
  const int status = game.Status();
  const bool passed = Audit(game);
  TextWindow(game, TWindowKind::Audit, "Audit")
      .FillText(passed ? kSolvableListMode : kFlawedListMode);
  host_.Cascade();
  game.ResetDerived();
  // The audit changed nothing the user made: an edited or new game still needs saving.
  game.ForceStatus(status);
}

void TMainForm::Options() {
  if (run_.Busy) return;  // the run reads the method as it goes
  dialogs_.Runner.Show(dialogs_.SolveOptions);
}

void TMainForm::Solve() {
  TGameType32& game = ActiveGameWindow().Game();
  // The game's own window: the active one may be a view that closes on the way.
  TMDIChild& window = *GameWindowOf(game);
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
      CloseOtherWindows(game, nullptr);
      WriteQuietly(game);
      StartSolve(window);
      return;
    case StatusSaved:
      StartSolve(window);
      return;
    default:
      return;
  }
}

void TMainForm::WriteQuietly(TGameType32& game) {
  TMDIChild* owner = GameWindowOf(game);
  if (owner == nullptr) return;
  try {
    WriteGameFile(owner->Caption(), game);
  } catch (const TFileError& e) {
    messages_.Warning(e.what());
  }
}

void TMainForm::StartSolve(TMDIChild& window) {
  TGameType32& game = window.Game();
  if (run_.Busy) return;
  // A game solved before still carries what that audit derived; the new audit starts clean.
  game.ResetDerived();
  if (!Audit(game)) {
    TextWindow(game, TWindowKind::Audit, "Audit").FillText(kFlawedListMode);
    game.ResetDerived();
    return;
  }
  ApplyGameState(StatusSolving);
  game.SetStatus(StatusSolving);
  for (TGameList* list : {&game.Solutions(), &game.Profiles(), &game.Groups()}) {
    list->FreeByType(kEveryType);
  }
  solveDlg_.Prepare(/*run=*/true, game);
  ApplyGameState(game.Status());
  Repaint();
}

void TMainForm::Show() {
  TMDIChild& window = ActiveGameWindow();
  if (!window.Game().Solutions().Empty()) solveDlg_.Prepare(/*run=*/false, window.Game());
}

void TMainForm::CloseAllSolutions() {
  if (TMDIChild* active = host_.ActiveChild()) CloseOtherWindows(active->Game(), nullptr);
}

void TMainForm::DeleteAll() {
  if (!messages_.Confirm("Discard existing solutions?")) return;
  ApplyGameState(StatusSaved);
  TMDIChild* active = host_.ActiveChild();
  if (active == nullptr) return;
  TGameType32& game = active->Game();
  CloseOtherWindows(game, nullptr);
  game.ResetDerived();
  WriteQuietly(game);
  solveDlg_.HideView();
}

void TMainForm::ToggleDebug() {
  DebugMode = !DebugMode;
  SetCheck(TAction::Debug, DebugMode);
  Repaint();
}

}  // namespace ludomark
