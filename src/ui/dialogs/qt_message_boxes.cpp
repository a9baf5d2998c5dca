#include "ui/dialogs/qt_message_boxes.h"

#include <QApplication>

namespace ludomark {

namespace {
const QString kTitle = QStringLiteral("Ludomark");
}  // namespace

QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQString(const QString& text) {
  return text.toUtf8().toStdString();
}

QWidget* TQtMessageBoxes::Concerned() const {
  // The box belongs over what the user is looking at: an open dialog (a payoff dialog, say), or
  // the active window, so that it never opens behind another one.
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  return parent_;
}

int TQtMessageBoxes::Ask(QMessageBox::Icon icon, const std::string& text,
                         QMessageBox::StandardButtons buttons) const {
  QMessageBox box(icon, kTitle, ToQString(text), buttons, Concerned());
  box.setWindowModality(Qt::ApplicationModal);
  box.show();
  box.raise();
  box.activateWindow();
  return box.exec();
}

void TQtMessageBoxes::Warning(const std::string& text) {
  Ask(QMessageBox::Warning, text, QMessageBox::Ok);
}

void TQtMessageBoxes::Information(const std::string& text) {
  Ask(QMessageBox::Information, text, QMessageBox::Ok);
}

bool TQtMessageBoxes::Confirm(const std::string& text) {
  return Ask(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace ludomark
