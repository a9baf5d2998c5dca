#include "ui/dialogs/qt_select_dialog.h"

#include <QVBoxLayout>

#include "ui/dialogs/qt_dialog_parts.h"

namespace ludomark {

QtSelectDialog::QtSelectDialog(QWidget* parent) : QDialog(parent), list_(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Select from List"));
  auto* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
    if (logic_ != nullptr) logic_->RowClick(SelectedRow(*list_));
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void QtSelectDialog::Load(TSelectDialog& logic) {
  logic_ = &logic;
  FillList(*list_, logic.Rows(), -1);
  list_->setFocus();
}

}  // namespace ludomark
