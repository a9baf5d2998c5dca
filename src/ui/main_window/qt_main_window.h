#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <QSpinBox>
#include <array>
#include <memory>

#include "ui/dialogs/qt_dialog_runner.h"
#include "ui/dialogs/qt_message_boxes.h"
#include "ui/dialogs/qt_solve_dialog.h"
#include "ui/game_window/qt_game_window.h"
#include "ui/main_window/main_form.h"

class QAction;
class QPrinter;

namespace ludomark {

class QtGameWindow;

// The program's frame: menus, tool bar, status bar and the child windows, a thin adapter
// over the main window's logic.
class QtMainWindow : public QMainWindow, public TMainHost {
 public:
  // `openAtStart` is the game file named on the command line, opened at the first activation.
  QtMainWindow(std::string openAtStart, std::string helpPath);
  ~QtMainWindow() override;

  TMainForm& Form() { return *form_; }
  QAction* Action(TAction action) { return actions_[static_cast<std::size_t>(action)]; }
  QMdiArea& Area() { return *area_; }

  TMDIChild& CreateChild(TWindowKind kind, TGameType32* game, TSolution32* solution) override;
  bool CloseChild(TMDIChild& window) override;
  TMDIChild* ActiveChild() override;
  void Activate(TMDIChild& window) override;
  void Cascade() override;
  void TileVertically() override;
  std::string AskOpenPath() override;
  std::string AskSavePath() override;
  void WritePicture(TGameType32& game, TSolution32* solution, const std::string& path,
                    double zoom) override;
  std::string AskPicturePath() override;
  std::string AskImportPath() override;
  std::string AskExportPath() override;
  void ActionChanged(TAction action, bool enabled, bool checked) override;
  bool PrintWindow(TMDIChild& window, bool portrait) override;
  // Prints the window on a printer already chosen (a PDF file, say).
  bool PrintOn(QPrinter& printer, TMDIChild& window, bool portrait);
  bool OpenWithDesktop(const std::string& path) override;
  void ShowHelpText(const std::string& path) override;
  void ShowAbout() override;
  void CloseMainWindow() override { close(); }
  void ViewChanged() override;
  void ShowStatus(const std::string& text) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void MakeActions();
  void MakeMenus();
  void MakeToolBar();
  QtGameWindow* ViewOf(TMDIChild& window);

  QMdiArea* area_;
  TQtMessageBoxes messages_;
  TQtDialogRunner runner_;
  std::unique_ptr<TMainForm> form_;
  std::unique_ptr<QtSolveDialog> solveView_;
  std::array<QAction*, static_cast<std::size_t>(TAction::Count)> actions_{};
  QSpinBox* zoom_ = nullptr;
  std::string openAtStart_;
};

// The about box: the product, its line, its icon and one more line.
void ShowAboutBox(QWidget* parent, bool asSplash);

}  // namespace ludomark
