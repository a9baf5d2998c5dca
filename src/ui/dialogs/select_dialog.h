#pragma once

#include <string>
#include <vector>

#include "model/game_list.h"

namespace ludomark {

class TDialogRunner;

// "Select from List": picks one element of a list, optionally of one type.
class TSelectDialog {
 public:
  static constexpr int kCancelled = -1;
  static constexpr int kNoneOfType = -2;

  explicit TSelectDialog(TDialogRunner& runner) : runner_(runner) {}

  // The 0-based position of the chosen element among the list's elements; kCancelled when
  // the user chose nothing, kNoneOfType when no element has the type (nothing is shown then).
  // A single match is taken without asking. Type 0 lists every element.
  int Choose(TGameList& list, int type);

  // What the view shows and does while the dialog is up.
  const std::vector<std::string>& Rows() const { return rows_; }
  void RowClick(int row) { chosen_ = row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1; }
  int ChosenRow() const { return chosen_; }

 private:
  int Resolve() const;

  TDialogRunner& runner_;
  std::vector<std::string> rows_;
  std::vector<int> positions_;  // of each row in the list
  int chosen_ = -1;
};

}  // namespace ludomark
