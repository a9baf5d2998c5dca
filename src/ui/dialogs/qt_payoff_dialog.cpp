#include "ui/dialogs/qt_payoff_dialog.h"

#include <QEvent>
#include <QFormLayout>
#include <QPushButton>
#include <QSignalBlocker>

#include "ui/dialogs/qt_dialog_parts.h"
#include "ui/dialogs/qt_message_boxes.h"

namespace ludomark {

QtPayoffDialog::QtPayoffDialog(QWidget* parent)
    : QDialog(parent), players_(new QListWidget(this)), payoff_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Payoff"));
  auto* buttons = OkCancelButtons(this);
  QPushButton* remove = buttons->addButton(QStringLiteral("Delete"), QDialogButtonBox::ActionRole);
  remove->setAutoDefault(false);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Player:"), players_);
  form->addRow(QStringLiteral("Payoff"), payoff_);
  form->addRow(buttons);
  payoff_->installEventFilter(this);
  connect(players_, &QListWidget::itemSelectionChanged, this, [this] {
    const int row = SelectedRow(*players_);
    if (logic_ == nullptr || row < 0) return;
    logic_->PlayerClick(row);
    ShowText();
  });
  connect(payoff_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (logic_ == nullptr) return;
    logic_->PayoffChange(FromQString(text));
    if (ToQString(logic_->PayoffText()) != text) ShowText();
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (logic_ == nullptr) return;
    logic_->DeleteBtnClick();
    ShowText();
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool QtPayoffDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == payoff_ && event->type() == QEvent::FocusIn && logic_ != nullptr) {
    logic_->PayoffEnter();
  }
  return QDialog::eventFilter(watched, event);
}

void QtPayoffDialog::Load(TPayoffDlg& logic) {
  logic_ = nullptr;  // filling the list is not a click
  FillList(*players_, logic.Players(), -1);
  logic_ = &logic;
  ShowText();
  players_->setFocus();
}

void QtPayoffDialog::ShowText() {
  const QSignalBlocker quiet(payoff_);
  payoff_->setText(ToQString(logic_->PayoffText()));
}

}  // namespace ludomark
