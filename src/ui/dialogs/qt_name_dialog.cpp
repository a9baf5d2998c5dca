#include "ui/dialogs/qt_name_dialog.h"

#include <QFormLayout>

#include "ui/dialogs/qt_dialog_parts.h"
#include "ui/dialogs/qt_message_boxes.h"

namespace ludomark {

QtNameDialog::QtNameDialog(QWidget* parent) : QDialog(parent), name_(new QLineEdit(this)) {
  auto* buttons = OkCancelButtons(this);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Name"), name_);
  form->addRow(buttons);
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (logic_ != nullptr) logic_->NameChange(FromQString(text));
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void QtNameDialog::Load(TNameDlg& logic) {
  logic_ = &logic;
  setWindowTitle(ToQString(logic.Title()));
  name_->setText(ToQString(logic.Text()));
  name_->selectAll();
  name_->setFocus();
}

}  // namespace ludomark
