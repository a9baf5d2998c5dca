#include "ui/dialogs/qt_solve_options_dialog.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialogs/qt_dialog_parts.h"

namespace ludomark {

QtSolveOptionsDialog::QtSolveOptionsDialog(QWidget* parent)
    : QDialog(parent), methods_(new QButtonGroup(this)) {
  setWindowTitle(QStringLiteral("Solve Options"));
  auto* group = new QGroupBox(QStringLiteral("Method"), this);
  auto* items = new QVBoxLayout(group);
  const std::vector<std::string> texts = TSolveOptionsDlg::Items();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    auto* item = new QRadioButton(QString::fromStdString(texts[i]), group);
    methods_->addButton(item, static_cast<int>(i));
    items->addWidget(item);
  }
  auto* buttons = OkCancelButtons(this, /*withCancel=*/false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
  connect(methods_, &QButtonGroup::idClicked, this, [this](int item) {
    if (logic_ != nullptr) logic_->MethodGroupClick(item);
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

void QtSolveOptionsDialog::Load(TSolveOptionsDlg& logic) {
  logic_ = &logic;
  const int item = logic.FormActivate();
  methods_->setExclusive(false);
  for (QAbstractButton* b : methods_->buttons()) b->setChecked(false);
  methods_->setExclusive(true);
  if (QAbstractButton* b = methods_->button(item)) b->setChecked(true);
}

}  // namespace ludomark
