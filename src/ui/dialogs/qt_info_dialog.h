#pragma once

#include <QDialog>
#include <QListWidget>

#include "ui/dialogs/info_dialog.h"

namespace ludomark {

// "Information": candidates and events with Add and Delete over the information-set logic.
class QtInfoDialog : public QDialog {
 public:
  explicit QtInfoDialog(QWidget* parent);
  void Load(TInfoDlg& logic);

 private:
  void ShowState();

  TInfoDlg* logic_ = nullptr;
  QListWidget* candidates_;
  QListWidget* events_;
};

}  // namespace ludomark
