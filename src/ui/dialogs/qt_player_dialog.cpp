#include "ui/dialogs/qt_player_dialog.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include "ui/dialogs/qt_dialog_parts.h"
#include "ui/dialogs/qt_message_boxes.h"

namespace ludomark {

namespace {
QIcon SwatchIcon(int32_t color) {
  QPixmap square(20, 20);
  square.fill(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
  return QIcon(square);
}
}  // namespace

QtPlayerDialog::QtPlayerDialog(QWidget* parent)
    : QDialog(parent), name_(new QLineEdit(this)), swatches_(new QButtonGroup(this)) {
  setWindowTitle(QStringLiteral("Player"));
  auto* grid = new QGridLayout;
  for (int i = 0; i < static_cast<int>(kPlayerColors.size()); ++i) {
    auto* swatch = new QToolButton(this);
    swatch->setIcon(SwatchIcon(kPlayerColors[static_cast<std::size_t>(i)]));
    swatch->setIconSize(QSize(20, 20));
    swatch->setCheckable(true);
    swatch->setAutoRaise(true);
    swatches_->addButton(swatch, i);
    grid->addWidget(swatch, i / 4, i % 4);
  }
  auto* buttons = OkCancelButtons(this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Name"), name_);
  form->addRow(QStringLiteral("Color:"), grid);
  form->addRow(buttons);
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (logic_ != nullptr) logic_->NameChange(FromQString(text));
  });
  connect(swatches_, &QButtonGroup::idClicked, this, [this](int index) {
    if (logic_ != nullptr) logic_->ColorClick(index);
  });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (logic_ != nullptr && logic_->OKBtnClick()) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void QtPlayerDialog::Load(TPlayerDlg& logic) {
  logic_ = &logic;
  name_->setText(ToQString(logic.Working().Name));
  if (QAbstractButton* swatch = swatches_->button(logic.GridIndex())) swatch->setChecked(true);
  name_->setFocus();
}

}  // namespace ludomark
