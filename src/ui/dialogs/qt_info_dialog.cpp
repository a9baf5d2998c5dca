#include "ui/dialogs/qt_info_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/dialogs/qt_dialog_parts.h"

namespace ludomark {

QtInfoDialog::QtInfoDialog(QWidget* parent)
    : QDialog(parent), candidates_(new QListWidget(this)), events_(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Information"));
  auto* add = new QPushButton(QStringLiteral("Add"), this);
  auto* remove = new QPushButton(QStringLiteral("Delete"), this);
  auto* buttons = OkCancelButtons(this, /*withCancel=*/false);
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Candidates"), this), 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("Events"), this), 0, 1);
  grid->addWidget(candidates_, 1, 0);
  grid->addWidget(events_, 1, 1);
  grid->addWidget(add, 2, 0);
  grid->addWidget(remove, 2, 1);
  grid->addWidget(buttons, 3, 0, 1, 2);
  connect(add, &QPushButton::clicked, this, [this] {
    if (logic_ == nullptr) return;
    logic_->AddBtnClick(candidates_->currentRow());
    ShowState();
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (logic_ == nullptr) return;
    logic_->DeleteBtnClick(events_->currentRow());
    ShowState();
  });
  // The set is made from the events however the dialog closes, by its caller.
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

void QtInfoDialog::Load(TInfoDlg& logic) {
  logic_ = &logic;
  ShowState();
}

void QtInfoDialog::ShowState() {
  FillList(*candidates_, logic_->Candidates(), -1);
  FillList(*events_, logic_->Events(), -1);
}

}  // namespace ludomark
