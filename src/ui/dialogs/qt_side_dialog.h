#pragma once

#include <QDialog>
#include <QListWidget>

#include "ui/dialogs/side_dialog.h"

namespace ludomark {

// "Side": owner and choices with Add, Edit and Delete Choice over the side dialog's logic.
class QtSideDialog : public QDialog {
 public:
  explicit QtSideDialog(QWidget* parent);
  void Load(TSideDlg& logic);

 private:
  void ShowChoices();

  TSideDlg* logic_ = nullptr;
  QListWidget* owners_;
  QListWidget* choices_;
};

}  // namespace ludomark
