#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/game_form.h"
#include "model/move.h"

namespace ludomark {

class TDialogRunner;
class TPayoffDlg;

// "Move": name, discount (or probability), origin and destination, on a working copy; its
// "Payoff" button edits the working copy's payoffs in the payoff dialog.
class TMoveDlg {
 public:
  TMoveDlg(TDialogRunner& runner, TPayoffDlg& payoffs) : runner_(runner), payoffs_(payoffs) {}

  void Setup(TMove32* move, TGameForm32& game);
  TMove32& Working() { return *working_; }
  // Frees the working copy and the payoffs it holds.
  void Release();

  // "From:" and "Upto:" list the game's nodes and tables by name; rows are -1 for none.
  const std::vector<std::string>& Nodes() const { return names_; }
  int FromRow() const { return RowOf(working_->From.get()); }
  int UptoRow() const { return RowOf(working_->To.get()); }
  bool FinalChecked() const { return working_->To.get() == nullptr; }
  // "Discount" at a decision node, "Probability" at a chance node.
  const std::string& ValueLabel() const { return label_; }
  const std::string& ValueText() const { return valueText_; }
  bool ValueValid() const { return valueValid_; }

  void NameChange(const std::string& text);
  void ValueChange(const std::string& text);
  void FromClick(int row);
  void UptoClick(int row);
  void FinalClick();
  void PayoffBtnClick();
  bool OKBtnClick();

 private:
  int RowOf(const TNode32* node) const;
  void SetLabel();

  TDialogRunner& runner_;
  TPayoffDlg& payoffs_;
  TGameForm32* game_ = nullptr;
  std::unique_ptr<TMove32> working_;
  std::vector<TNode32*> nodes_;
  std::vector<std::string> names_;
  std::string label_ = "Discount";
  std::string valueText_;
  bool valueValid_ = true;
};

// Whether a typed discount is acceptable: exactly 1, or from 0.001 to 0.999.
bool IsValidDiscount(double value);

}  // namespace ludomark
