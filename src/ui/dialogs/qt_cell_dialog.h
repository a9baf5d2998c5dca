#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "ui/dialogs/cell_dialog.h"

namespace ludomark {

// "Cell": destination and discount of a cell over the cell dialog's logic; OK only.
class QtCellDialog : public QDialog {
 public:
  explicit QtCellDialog(QWidget* parent);
  void Load(TCellDlg& logic);

 private:
  void ShowState();

  TCellDlg* logic_ = nullptr;
  QLineEdit* value_;
  QRadioButton* final_;
  QListWidget* upto_;
};

}  // namespace ludomark
