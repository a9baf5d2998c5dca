#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>

#include "ui/dialogs/payoff_dialog.h"

namespace ludomark {

// "Payoff": the players and one payoff edit over the payoff dialog's logic. A payoff is made
// when the edit takes the focus with a player chosen.
class QtPayoffDialog : public QDialog {
 public:
  explicit QtPayoffDialog(QWidget* parent);
  void Load(TPayoffDlg& logic);
  QListWidget& Players() { return *players_; }
  QLineEdit& PayoffEdit() { return *payoff_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowText();

  TPayoffDlg* logic_ = nullptr;
  QListWidget* players_;
  QLineEdit* payoff_;
};

}  // namespace ludomark
