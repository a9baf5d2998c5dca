#include "ui/dialogs/name_dialog.h"

#include "ui/dialogs/dialog_runner.h"

namespace ludomark {

void TNameDlg::Setup(const std::string& title, TGameObject32* element) {
  title_ = title;
  element_ = element;
  oldName_ = element != nullptr ? element->Name : std::string();
}

void TNameDlg::NameChange(const std::string& text) {
  if (TGameObject32* element = element_.get()) element->SetName(TrimRight(text));
}

void TNameDlg::CancelBtnClick() {
  if (TGameObject32* element = element_.get()) element->Name = oldName_;
}

bool RunNameDialog(TDialogRunner& runner, TNameDlg& dialog, const std::string& title,
                   TGameObject32* element) {
  dialog.Setup(title, element);
  const bool ok = runner.Show(dialog);
  if (!ok) dialog.CancelBtnClick();
  return ok;
}

}  // namespace ludomark
