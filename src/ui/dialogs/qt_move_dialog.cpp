#include "ui/dialogs/qt_move_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/dialogs/qt_dialog_parts.h"
#include "ui/dialogs/qt_message_boxes.h"

namespace ludomark {

QtMoveDialog::QtMoveDialog(QWidget* parent)
    : QDialog(parent),
      name_(new QLineEdit(this)),
      valueLabel_(new QLabel(QStringLiteral("Discount"), this)),
      value_(new QLineEdit(this)),
      final_(new QRadioButton(QStringLiteral("Final Move"), this)),
      from_(new QListWidget(this)),
      upto_(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Move"));
  final_->setAutoExclusive(false);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Name"), name_);
  form->addRow(valueLabel_, value_);
  form->addRow(final_);
  auto* lists = new QHBoxLayout;
  auto* fromColumn = new QVBoxLayout;
  fromColumn->addWidget(new QLabel(QStringLiteral("From:"), this));
  fromColumn->addWidget(from_);
  auto* uptoColumn = new QVBoxLayout;
  uptoColumn->addWidget(new QLabel(QStringLiteral("Upto:"), this));
  uptoColumn->addWidget(upto_);
  lists->addLayout(fromColumn);
  lists->addLayout(uptoColumn);
  auto* buttons = OkCancelButtons(this);
  QPushButton* payoff = buttons->addButton(QStringLiteral("Payoff"), QDialogButtonBox::ActionRole);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(lists);
  layout->addWidget(buttons);
  setTabOrder(name_, value_);
  setTabOrder(value_, final_);
  setTabOrder(final_, from_);
  setTabOrder(from_, upto_);

  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (logic_ != nullptr) logic_->NameChange(FromQString(text));
  });
  connect(value_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (logic_ == nullptr) return;
    logic_->ValueChange(FromQString(text));
    // An unreadable or out-of-range value is marked, not refused, until OK.
    value_->setStyleSheet(logic_->ValueValid() ? QString() : QStringLiteral("color: red"));
  });
  connect(from_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (logic_ == nullptr) return;
    logic_->FromClick(from_->row(item));
    ShowState();
  });
  connect(upto_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (logic_ == nullptr) return;
    logic_->UptoClick(upto_->row(item));
    ShowState();
  });
  connect(final_, &QRadioButton::clicked, this, [this] {
    if (logic_ == nullptr) return;
    logic_->FinalClick();
    ShowState();
  });
  connect(payoff, &QPushButton::clicked, this, [this] {
    if (logic_ != nullptr) logic_->PayoffBtnClick();
  });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (logic_ != nullptr && logic_->OKBtnClick()) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void QtMoveDialog::Load(TMoveDlg& logic) {
  logic_ = &logic;
  name_->setText(ToQString(logic.Working().Name));
  value_->setText(ToQString(logic.ValueText()));
  value_->setStyleSheet(QString());
  ShowState();
  name_->setFocus();
}

void QtMoveDialog::ShowState() {
  valueLabel_->setText(ToQString(logic_->ValueLabel()));
  FillList(*from_, logic_->Nodes(), logic_->FromRow());
  FillList(*upto_, logic_->Nodes(), logic_->UptoRow());
  const QSignalBlocker quiet(final_);
  final_->setChecked(logic_->FinalChecked());
}

}  // namespace ludomark
