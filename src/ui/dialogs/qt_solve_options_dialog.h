#pragma once

#include <QButtonGroup>
#include <QDialog>

#include "ui/dialogs/solve_options_dialog.h"

namespace ludomark {

// "Solve Options": the "Method" group over the options logic.
class QtSolveOptionsDialog : public QDialog {
 public:
  explicit QtSolveOptionsDialog(QWidget* parent);
  void Load(TSolveOptionsDlg& logic);
  QAbstractButton* Item(int item) { return methods_->button(item); }

 private:
  TSolveOptionsDlg* logic_ = nullptr;
  QButtonGroup* methods_;
};

}  // namespace ludomark
