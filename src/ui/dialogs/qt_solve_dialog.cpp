#include "ui/dialogs/qt_solve_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/dialogs/qt_dialog_parts.h"
#include "ui/dialogs/qt_message_boxes.h"

namespace ludomark {

QtSolveDialog::QtSolveDialog(QWidget* parent, TSolveDlg& logic)
    // A dialog of the main window like the others, never kept above the dialogs and message
    // boxes that open while it shows.
    : QDialog(parent),
      logic_(logic),
      stage_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      percent_(new QLabel(QStringLiteral("00.00%"), this)),
      list_(new QListWidget(this)),
      show_(new QPushButton(QStringLiteral("Show"), this)),
      delete_(new QPushButton(QStringLiteral("Delete"), this)),
      abort_(new QPushButton(QStringLiteral("Abort"), this)),
      close_(new QPushButton(QStringLiteral("&Close"), this)),
      ticks_(new QTimer(this)) {
  // The run works on its own threads; the dialog looks at it ten times a second.
  ticks_->setInterval(100);
  connect(ticks_, &QTimer::timeout, this, [this] { logic_.Tick(); });
  setModal(false);
  bar_->setRange(0, TSolveDlg::kBarMaximum);
  bar_->setTextVisible(false);
  auto* progress = new QHBoxLayout;
  progress->addWidget(bar_);
  progress->addWidget(percent_);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {show_, delete_, abort_, close_}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(stage_);
  layout->addLayout(progress);
  layout->addWidget(list_);
  layout->addLayout(buttons);
  connect(list_, &QListWidget::currentRowChanged, this,
          [this](int row) { logic_.SolutionBoxClick(row); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { logic_.ShowBtnClick(); });
  connect(show_, &QPushButton::clicked, this, [this] { logic_.ShowBtnClick(); });
  connect(delete_, &QPushButton::clicked, this, [this] { logic_.DeleteBtnClick(); });
  connect(abort_, &QPushButton::clicked, this, [this] { logic_.CancelBtnClick(); });
  connect(close_, &QPushButton::clicked, this, [this] { logic_.CloseBtnClick(); });
  logic_.SetHost(this);
}

QtSolveDialog::~QtSolveDialog() {
  ticks_->stop();
  logic_.SetHost(nullptr);
}

void QtSolveDialog::StateChanged() {
  setWindowTitle(ToQString(logic_.Caption()));
  stage_->setText(ToQString(logic_.Stage()));
  bar_->setValue(logic_.BarPosition());
  percent_->setText(ToQString(logic_.Percent()));
  const bool running = logic_.Running();
  abort_->setVisible(running);
  percent_->setVisible(running);
  close_->setVisible(!running);
  delete_->setVisible(!running);
  const std::vector<std::string> rows = logic_.Rows();
  bool same = list_->count() == static_cast<int>(rows.size());
  for (int i = 0; same && i < list_->count(); ++i) {
    same = list_->item(i)->text() == ToQString(rows[static_cast<std::size_t>(i)]);
  }
  if (!same) FillList(*list_, rows, logic_.SelectedRow());
}

void QtSolveDialog::StartTicking() {
  ticks_->start();
}

void QtSolveDialog::StopTicking() {
  ticks_->stop();
}

void QtSolveDialog::ShowView() {
  show();
  raise();
}

void QtSolveDialog::HideView() {
  hide();
}

// The window closes only once the run has stopped; Escape and the close box ask the same.
void QtSolveDialog::closeEvent(QCloseEvent* event) {
  if (logic_.CloseQuery()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void QtSolveDialog::reject() {
  if (logic_.CloseQuery()) logic_.CloseBtnClick();
}

}  // namespace ludomark
