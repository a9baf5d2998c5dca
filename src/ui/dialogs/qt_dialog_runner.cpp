#include "ui/dialogs/qt_dialog_runner.h"

namespace ludomark {

// The parent owns the windows; a nested dialog (the payoff dialog of the move dialog, the
// name dialog of the side dialog) opens over the one showing.
TQtDialogRunner::TQtDialogRunner(QWidget* parent)
    : select_(new QtSelectDialog(parent)),
      player_(new QtPlayerDialog(parent)),
      node_(new QtNodeDialog(parent)),
      move_(new QtMoveDialog(parent)),
      payoff_(new QtPayoffDialog(parent)),
      info_(new QtInfoDialog(parent)),
      name_(new QtNameDialog(parent)),
      side_(new QtSideDialog(parent)),
      cell_(new QtCellDialog(parent)),
      options_(new QtSolveOptionsDialog(parent)) {}

}  // namespace ludomark
