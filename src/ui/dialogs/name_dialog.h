#pragma once

#include <string>

#include "model/game_object.h"
#include "model/ref.h"

namespace ludomark {

// "Name" (its caption is the title given): renames the element as the user types; Cancel
// gives the old name back.
class TNameDlg {
 public:
  void Setup(const std::string& title, TGameObject32* element);
  const std::string& Title() const { return title_; }
  std::string Text() const { return element_ != nullptr ? element_->Name : std::string(); }

  void NameChange(const std::string& text);
  void CancelBtnClick();

 private:
  std::string title_;
  Ref<TGameObject32> element_;
  std::string oldName_;
};

class TDialogRunner;

// Sets the dialog up on the element and shows it; a cancelled dialog gives the old name back.
// Answers whether it closed with OK.
bool RunNameDialog(TDialogRunner& runner, TNameDlg& dialog, const std::string& title,
                   TGameObject32* element);

}  // namespace ludomark
