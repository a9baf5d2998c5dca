#include "ui/dialogs/move_dialog.h"

#include "model/dcheck.h"
#include "model/player.h"
#include "ui/dialogs/dialog_runner.h"
#include "ui/dialogs/element_names.h"
#include "ui/dialogs/payoff_dialog.h"
#include "ui/dialogs/typed_number.h"

namespace ludomark {

bool IsValidDiscount(double value) {
  // The upper bound carries a little slack so that 0.999 typed in full is accepted.
  return value == 1.0 || (value >= 0.001 && value <= 0.999000001);
}

void TMoveDlg::Setup(TMove32* move, TGameForm32& game) {
  // The last use released its copy while its game lived; a copy outliving its game could not
  // free its payoffs.
  LUDOMARK_DCHECK(working_ == nullptr);
  game_ = &game;
  working_.reset(NewElement<TMove32>(&game));
  if (move != nullptr) move->CopyTo(*working_);
  nodes_ = ElementsOf<TNode32>(game.Nodes());
  names_ = NamesOf(nodes_);
  valueText_ = DialogNumber(working_->Value);
  valueValid_ = true;
  SetLabel();
}

void TMoveDlg::Release() {
  if (working_ != nullptr) working_->DeletePayoffs();
  working_.reset();
}

int TMoveDlg::RowOf(const TNode32* node) const {
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    if (node != nullptr && nodes_[i] == node) return static_cast<int>(i);
  }
  return -1;
}

void TMoveDlg::SetLabel() {
  if (const TNode32* from = working_->From.get()) {
    label_ = from->Player.get() != nullptr ? "Discount" : "Probability";
  }
}

void TMoveDlg::NameChange(const std::string& text) {
  working_->SetName(TrimRight(text));
}

void TMoveDlg::ValueChange(const std::string& text) {
  valueText_ = text;
  double value = 0;
  valueValid_ = ReadTypedNumber(text, value) && IsValidDiscount(value);
  if (valueValid_) working_->SetValue(value);
}

void TMoveDlg::FromClick(int row) {
  if (row < 0 || row >= static_cast<int>(nodes_.size())) return;
  working_->SetFrom(nodes_[static_cast<std::size_t>(row)]);
  SetLabel();
}

void TMoveDlg::UptoClick(int row) {
  if (row < 0 || row >= static_cast<int>(nodes_.size())) return;
  working_->SetTo(nodes_[static_cast<std::size_t>(row)]);
}

void TMoveDlg::FinalClick() {
  working_->SetTo(nullptr);
}

void TMoveDlg::PayoffBtnClick() {
  payoffs_.Setup(*working_);
  if (runner_.Show(payoffs_)) working_->Assign(payoffs_.Working());
  payoffs_.Release();
}

bool TMoveDlg::OKBtnClick() {
  TMessageSink& messages = game_->Messages();
  if (working_->Name.empty()) {
    messages.Warning("Invalid name");
    return false;
  }
  if (working_->From.get() == nullptr) {
    messages.Warning("From is undefined");
    return false;
  }
  if (working_->From.get() == working_->To.get()) {
    messages.Warning("From cannot equal Upto");
    return false;
  }
  if (!valueValid_) {
    messages.Warning("Discount other than one must be between 0.001 and 0.999");
    return false;
  }
  return true;
}

}  // namespace ludomark
