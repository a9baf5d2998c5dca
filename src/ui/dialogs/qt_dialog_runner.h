#pragma once

#include <QWidget>

#include "ui/dialogs/dialog_runner.h"
#include "ui/dialogs/qt_cell_dialog.h"
#include "ui/dialogs/qt_info_dialog.h"
#include "ui/dialogs/qt_move_dialog.h"
#include "ui/dialogs/qt_name_dialog.h"
#include "ui/dialogs/qt_node_dialog.h"
#include "ui/dialogs/qt_payoff_dialog.h"
#include "ui/dialogs/qt_player_dialog.h"
#include "ui/dialogs/qt_select_dialog.h"
#include "ui/dialogs/qt_side_dialog.h"
#include "ui/dialogs/qt_solve_options_dialog.h"

namespace ludomark {

// The dialogs' windows, made once with the main window as parent and shown modally.
class TQtDialogRunner : public TDialogRunner {
 public:
  explicit TQtDialogRunner(QWidget* parent);

  bool Show(TSelectDialog& dialog) override { return Run(select_, dialog); }
  bool Show(TPlayerDlg& dialog) override { return Run(player_, dialog); }
  bool Show(TNodeDlg& dialog) override { return Run(node_, dialog); }
  bool Show(TMoveDlg& dialog) override { return Run(move_, dialog); }
  bool Show(TPayoffDlg& dialog) override { return Run(payoff_, dialog); }
  bool Show(TInfoDlg& dialog) override { return Run(info_, dialog); }
  bool Show(TNameDlg& dialog) override { return Run(name_, dialog); }
  bool Show(TSideDlg& dialog) override { return Run(side_, dialog); }
  bool Show(TCellDlg& dialog) override { return Run(cell_, dialog); }
  bool Show(TSolveOptionsDlg& dialog) override { return Run(options_, dialog); }

 private:
  template <class View, class Logic>
  static bool Run(View* view, Logic& logic) {
    view->Load(logic);
    return view->exec() == QDialog::Accepted;
  }

  QtSelectDialog* select_;
  QtPlayerDialog* player_;
  QtNodeDialog* node_;
  QtMoveDialog* move_;
  QtPayoffDialog* payoff_;
  QtInfoDialog* info_;
  QtNameDialog* name_;
  QtSideDialog* side_;
  QtCellDialog* cell_;
  QtSolveOptionsDialog* options_;
};

}  // namespace ludomark
