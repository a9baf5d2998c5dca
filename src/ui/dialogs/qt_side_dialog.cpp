#include "ui/dialogs/qt_side_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialogs/qt_dialog_parts.h"

namespace ludomark {

QtSideDialog::QtSideDialog(QWidget* parent)
    : QDialog(parent), owners_(new QListWidget(this)), choices_(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Side"));
  auto* add = new QPushButton(QStringLiteral("Add Choice"), this);
  auto* edit = new QPushButton(QStringLiteral("Edit Choice"), this);
  auto* remove = new QPushButton(QStringLiteral("Delete Choice"), this);
  for (QPushButton* b : {add, edit, remove}) b->setAutoDefault(false);
  auto* actions = new QVBoxLayout;
  actions->addWidget(add);
  actions->addWidget(edit);
  actions->addWidget(remove);
  actions->addStretch();
  auto* buttons = OkCancelButtons(this);
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Owner"), this), 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("Choices"), this), 0, 1);
  grid->addWidget(owners_, 1, 0);
  grid->addWidget(choices_, 1, 1);
  grid->addLayout(actions, 1, 2);
  grid->addWidget(buttons, 2, 0, 1, 3);
  connect(owners_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (logic_ != nullptr) logic_->OwnerClick(owners_->row(item));
  });
  connect(choices_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (logic_ != nullptr) logic_->ChoiceClick(choices_->row(item));
  });
  const auto then = [this](void (TSideDlg::*action)()) {
    return [this, action] {
      if (logic_ == nullptr) return;
      (logic_->*action)();
      ShowChoices();
    };
  };
  connect(add, &QPushButton::clicked, this, then(&TSideDlg::AddChoiceBtnClick));
  connect(edit, &QPushButton::clicked, this, then(&TSideDlg::EditChoiceBtnClick));
  connect(remove, &QPushButton::clicked, this, then(&TSideDlg::DeleteChoiceBtnClick));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void QtSideDialog::Load(TSideDlg& logic) {
  logic_ = &logic;
  // The first owner is highlighted, but only a click makes it the owner.
  FillList(*owners_, logic.Owners(), logic.Owners().empty() ? -1 : 0);
  ShowChoices();
}

void QtSideDialog::ShowChoices() {
  FillList(*choices_, logic_->Choices(), logic_->ChoiceRow());
  if (choices_->count() > 0 && logic_->ChoiceRow() < 0) choices_->setCurrentRow(0);
}

}  // namespace ludomark
