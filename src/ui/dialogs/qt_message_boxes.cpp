#include "ui/dialogs/qt_message_boxes.h"

#include <QMessageBox>

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

void TQtMessageBoxes::Warning(const std::string& text) {
  QMessageBox::warning(parent_, kTitle, ToQString(text));
}

void TQtMessageBoxes::Information(const std::string& text) {
  QMessageBox::information(parent_, kTitle, ToQString(text));
}

bool TQtMessageBoxes::Confirm(const std::string& text) {
  return QMessageBox::question(parent_, kTitle, ToQString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace ludomark
