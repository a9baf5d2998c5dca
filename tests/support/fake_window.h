#pragma once

#include <string>
#include <vector>

#include "gamefile/file_error.h"
#include "gamefile/game_file.h"
#include "model/status_code.h"
#include "support/scripted_runner.h"
#include "ui/game_window/game_window.h"

namespace ludomark::testing {

// Records what a game window's logic asks of the toolkit.
class FakeWindowHost : public TWindowHost {
 public:
  void CapturePointer() override { Captured = true; }
  void ReleasePointer() override { Captured = false; }
  void MovePointerTo(int32_t x, int32_t y) override { Pointer = TPoint{x, y}; }
  void SetPointerShape(TPointerShape shape) override { Shape = shape; }
  void OpenPopup(const std::vector<TPopupItem>& items, int32_t, int32_t) override {
    Popup = items;
    ++Popups;
  }
  void Invalidate() override { ++Repaints; }
  void SetScrollRanges(int32_t width, int32_t height) override { Ranges = TPoint{width, height}; }
  void ScrollTo(int32_t x, int32_t y) override { Scroll = TPoint{x, y}; }
  TPoint Scroll;
  void ShowText(const std::vector<std::string>& lines) override { Text = lines; }
  void ShowPicture() override { Text.clear(); }
  void SetCaption(const std::string& caption) override { Caption = caption; }
  void SetModified(bool modified) override { Modified = modified; }
  bool Modified = false;
  int32_t ViewWidth() const override { return 800; }
  int32_t ViewHeight() const override { return 500; }

  bool Captured = false;
  TPoint Pointer;
  TPointerShape Shape = TPointerShape::Default;
  std::vector<TPopupItem> Popup;
  int Popups = 0;
  int Repaints = 0;
  TPoint Ranges;
  std::vector<std::string> Text;
  std::string Caption;
};

// The main window as far as a game window sees it: every call recorded.
class FakeMainActions : public TMainActions {
 public:
  bool SaveAs(TMDIChild&) override { return SaveAsAnswer; }
  // Saves as the main window does, without its check of the file on disk.
  bool SaveOwnFile(TMDIChild& window, bool withSolutions) override {
    TGameType32& game = window.Game();
    try {
      WriteGameFile(game.FileName(), game, withSolutions);
    } catch (const TFileError& e) {
      game.Messages().Warning(e.what());
      return false;
    }
    game.SetStatus(withSolutions ? StatusSolvedSaved : StatusSaved);
    return true;
  }
  void DeleteSelectionAct() override { Calls.emplace_back("delete selection"); }
  void CopySelectionAct() override { Calls.emplace_back("copy selection"); }
  void ZoomIn() override { Calls.emplace_back("zoom in"); }
  void ZoomOut() override { Calls.emplace_back("zoom out"); }
  void RefreshActions() override { Calls.emplace_back("refresh actions"); }
  // The gate sees the game's own status; a run on it when RunOnGame is set.
  TGateState GateFor(const TGameForm32& game) override {
    return TGateState{game.Status(), RunOnGame, RunOnGame, game.ReadOnly};
  }
  bool RunOnGame = false;
  void SetSelectionActions(bool on) override { SelectionActions = on; }
  bool GridChecked() override { return Grid; }
  void SolutionWindowClosed(TSolution32&) override { Calls.emplace_back("solution closed"); }
  void GameWindowClosing(TGameForm32&) override { Calls.emplace_back("game closing"); }
  void WindowGone(TMDIChild&) override {}
  TDialogs& Dialogs() override { return dialogs; }

  ScriptedRunner Runner;
  TDialogs dialogs{Runner};
  std::vector<std::string> Calls;
  bool SelectionActions = false;
  bool Grid = false;
  bool SaveAsAnswer = false;
};

}  // namespace ludomark::testing
