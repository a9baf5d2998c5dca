#include "ui/dialogs/qt_node_dialog.h"

#include <QFormLayout>
#include <QSignalBlocker>

#include "ui/dialogs/qt_dialog_parts.h"
#include "ui/dialogs/qt_message_boxes.h"

namespace ludomark {

QtNodeDialog::QtNodeDialog(QWidget* parent)
    : QDialog(parent),
      name_(new QLineEdit(this)),
      owners_(new QListWidget(this)),
      chance_(new QRadioButton(QStringLiteral("Chance Node"), this)) {
  setWindowTitle(QStringLiteral("Node"));
  chance_->setAutoExclusive(false);
  auto* buttons = OkCancelButtons(this);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Node Name"), name_);
  form->addRow(QStringLiteral("Owner"), owners_);
  form->addRow(chance_);
  form->addRow(buttons);
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (logic_ != nullptr) logic_->NameChange(FromQString(text));
  });
  connect(owners_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (logic_ == nullptr) return;
    logic_->OwnerClick(owners_->row(item));
    ShowState();
  });
  connect(chance_, &QRadioButton::clicked, this, [this] {
    if (logic_ == nullptr) return;
    logic_->ChanceClick();
    ShowState();
  });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (logic_ != nullptr && logic_->OKBtnClick()) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void QtNodeDialog::Load(TNodeDlg& logic) {
  logic_ = &logic;
  name_->setText(ToQString(logic.Working().Name));
  ShowState();
  name_->setFocus();
}

void QtNodeDialog::ShowState() {
  FillList(*owners_, logic_->Owners(), logic_->OwnerRow());
  const QSignalBlocker quiet(chance_);
  chance_->setChecked(logic_->ChanceChecked());
}

}  // namespace ludomark
