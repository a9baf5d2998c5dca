#include "ui/dialogs/qt_cell_dialog.h"

#include <QFormLayout>
#include <QSignalBlocker>

#include "ui/dialogs/qt_dialog_parts.h"
#include "ui/dialogs/qt_message_boxes.h"

namespace ludomark {

QtCellDialog::QtCellDialog(QWidget* parent)
    : QDialog(parent),
      value_(new QLineEdit(this)),
      final_(new QRadioButton(QStringLiteral("Final Cell"), this)),
      upto_(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Cell"));
  final_->setAutoExclusive(false);
  auto* buttons = OkCancelButtons(this, /*withCancel=*/false);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Discount"), value_);
  form->addRow(final_);
  form->addRow(QStringLiteral("Upto:"), upto_);
  form->addRow(buttons);
  connect(value_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (logic_ != nullptr) logic_->ValueChange(FromQString(text));
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
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

void QtCellDialog::Load(TCellDlg& logic) {
  logic_ = &logic;
  value_->setText(ToQString(logic.ValueText()));
  ShowState();
  value_->setFocus();
}

void QtCellDialog::ShowState() {
  FillList(*upto_, logic_->Nodes(), logic_->UptoRow());
  const QSignalBlocker quiet(final_);
  final_->setChecked(logic_->FinalChecked());
}

}  // namespace ludomark
