#pragma once

#include <QDialog>
#include <QListWidget>

#include "ui/dialogs/select_dialog.h"

namespace ludomark {

// "Select from List" on the select dialog's logic.
class QtSelectDialog : public QDialog {
 public:
  explicit QtSelectDialog(QWidget* parent);
  void Load(TSelectDialog& logic);
  QListWidget& List() { return *list_; }

 private:
  TSelectDialog* logic_ = nullptr;
  QListWidget* list_;
};

}  // namespace ludomark
