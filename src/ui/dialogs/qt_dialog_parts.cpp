#include "ui/dialogs/qt_dialog_parts.h"

#include <QPushButton>
#include <QSignalBlocker>

#include "ui/dialogs/qt_message_boxes.h"

namespace ludomark {

void FillList(QListWidget& list, const std::vector<std::string>& rows, int selected) {
  const QSignalBlocker quiet(list);
  list.clear();
  for (const std::string& row : rows) list.addItem(ToQString(row));
  list.setCurrentRow(selected);
  if (selected < 0) list.clearSelection();
}

int SelectedRow(const QListWidget& list) {
  const QList<QListWidgetItem*> selected = list.selectedItems();
  return selected.isEmpty() ? -1 : list.row(selected.front());
}

QDialogButtonBox* OkCancelButtons(QWidget* parent, bool withCancel) {
  auto* buttons = new QDialogButtonBox(
      withCancel ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel : QDialogButtonBox::Ok, parent);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  return buttons;
}

}  // namespace ludomark
