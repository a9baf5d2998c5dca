#pragma once

#include <QMessageBox>
#include <QWidget>

#include "model/messages.h"

namespace ludomark {

// The three kinds of message box: a warning or an information with OK, a question with Yes
// and No.
class TQtMessageBoxes : public TMessageSink {
 public:
  explicit TQtMessageBoxes(QWidget* parent) : parent_(parent) {}
  void Warning(const std::string& text) override;
  void Information(const std::string& text) override;
  bool Confirm(const std::string& text) override;

 private:
  QWidget* Concerned() const;
  int Ask(QMessageBox::Icon icon, const std::string& text,
          QMessageBox::StandardButtons buttons) const;
  QWidget* parent_;
};

// A text of the model as Qt's, and back (both UTF-8).
QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

}  // namespace ludomark
