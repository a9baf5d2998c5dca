#pragma once

#include <QButtonGroup>
#include <QDialog>
#include <QLineEdit>

#include "ui/dialogs/player_dialog.h"

namespace ludomark {

// "Player": the name and the 16 colour swatches over the player dialog's logic.
class QtPlayerDialog : public QDialog {
 public:
  explicit QtPlayerDialog(QWidget* parent);
  void Load(TPlayerDlg& logic);
  QLineEdit& NameEdit() { return *name_; }
  QAbstractButton* Swatch(int index) { return swatches_->button(index); }
  QPushButton* OkButton() { return ok_; }

 private:
  TPlayerDlg* logic_ = nullptr;
  QLineEdit* name_;
  QButtonGroup* swatches_;
  QPushButton* ok_ = nullptr;
};

}  // namespace ludomark
