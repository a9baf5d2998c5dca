#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "ui/dialogs/move_dialog.h"

namespace ludomark {

// "Move": name, discount or probability, origin, destination, and the "Payoff" button over
// the move dialog's logic.
class QtMoveDialog : public QDialog {
 public:
  explicit QtMoveDialog(QWidget* parent);
  void Load(TMoveDlg& logic);

 private:
  void ShowState();

  TMoveDlg* logic_ = nullptr;
  QLineEdit* name_;
  QLabel* valueLabel_;
  QLineEdit* value_;
  QRadioButton* final_;
  QListWidget* from_;
  QListWidget* upto_;
};

}  // namespace ludomark
