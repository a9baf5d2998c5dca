#pragma once

#include <QDialogButtonBox>
#include <QListWidget>
#include <string>
#include <vector>

namespace ludomark {

// Pieces every dialog view uses.

// Fills the list with the rows and selects one (none for -1), without signalling the click.
void FillList(QListWidget& list, const std::vector<std::string>& rows, int selected);
// The row the user selected (a click, the keys), or -1. The row a list makes current when it
// takes the focus is not a choice: only a selection is.
int SelectedRow(const QListWidget& list);
// OK and Cancel (or OK alone), OK the default button so that Enter presses it.
QDialogButtonBox* OkCancelButtons(QWidget* parent, bool withCancel = true);

}  // namespace ludomark
