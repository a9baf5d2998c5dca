#pragma once

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "ui/dialogs/solve_dialog.h"

namespace ludomark {

// The solve dialog's window: a small tool window over the game windows showing the stage,
// the bar and the percentage while a run works, then the solutions with Show and Delete.
class QtSolveDialog : public QDialog, public TSolveDlgHost {
 public:
  QtSolveDialog(QWidget* parent, TSolveDlg& logic);
  ~QtSolveDialog() override;

  void StateChanged() override;
  void StartTicking() override;
  void StopTicking() override;
  void ShowView() override;
  void HideView() override;

  QListWidget& List() { return *list_; }
  QPushButton& AbortButton() { return *abort_; }
  QProgressBar& Bar() { return *bar_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  TSolveDlg& logic_;
  QLabel* stage_;
  QProgressBar* bar_;
  QLabel* percent_;
  QListWidget* list_;
  QPushButton* show_;
  QPushButton* delete_;
  QPushButton* abort_;
  QPushButton* close_;
  QTimer* ticks_;
};

}  // namespace ludomark
