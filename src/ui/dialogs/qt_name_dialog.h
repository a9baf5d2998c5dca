#pragma once

#include <QDialog>
#include <QLineEdit>

#include "ui/dialogs/name_dialog.h"

namespace ludomark {

// "Name" (captioned with the title given) over the name dialog's logic.
class QtNameDialog : public QDialog {
 public:
  explicit QtNameDialog(QWidget* parent);
  void Load(TNameDlg& logic);
  QLineEdit& NameEdit() { return *name_; }

 private:
  TNameDlg* logic_ = nullptr;
  QLineEdit* name_;
};

}  // namespace ludomark
