#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "ui/dialogs/node_dialog.h"

namespace ludomark {

// "Node": name, owner list and the chance button over the node dialog's logic.
class QtNodeDialog : public QDialog {
 public:
  explicit QtNodeDialog(QWidget* parent);
  void Load(TNodeDlg& logic);

 private:
  void ShowState();

  TNodeDlg* logic_ = nullptr;
  QLineEdit* name_;
  QListWidget* owners_;
  QRadioButton* chance_;
};

}  // namespace ludomark
