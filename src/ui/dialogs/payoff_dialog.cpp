#include "ui/dialogs/payoff_dialog.h"

#include <cmath>

#include "model/dcheck.h"
#include "model/player.h"
#include "ui/dialogs/element_names.h"
#include "ui/dialogs/typed_number.h"

namespace ludomark {

namespace {
constexpr const char* kUndefined = "Undefined";
}  // namespace

bool IsValidPayoffMagnitude(double value) {
  const double magnitude = std::fabs(value);
  return value == 0 || (magnitude <= 100000 && magnitude >= 0.00001);
}

void TPayoffDlg::Setup(TMove32& element) {
  LUDOMARK_DCHECK(working_ == nullptr);
  game_ = As<TGameForm32>(element.Owner);
  // A cell is copied as the move it also is: its payoffs are all this dialog touches, and a
  // cell's own copy would remap its strategies through stale copy links.
  working_.reset(NewElement<TMove32>(element.Owner));
  element.TMove32::CopyTo(*working_);
  players_ = game_ != nullptr ? ElementsOf<TPlayer32>(game_->Players()) : std::vector<TPlayer32*>{};
  names_ = NamesOf(players_);
  text_.clear();
  playerRow_ = -1;
  current_ = nullptr;
}

void TPayoffDlg::Release() {
  current_ = nullptr;
  if (working_ != nullptr) working_->DeletePayoffs();
  working_.reset();
}

void TPayoffDlg::PlayerClick(int row) {
  if (row < 0 || row >= static_cast<int>(players_.size())) return;
  playerRow_ = row;
  working_->RebuildPayoffList();
  current_ = working_->FindPayoff(players_[static_cast<std::size_t>(row)]);
  text_ = current_ != nullptr ? DialogNumber(current_->Value) : kUndefined;
}

void TPayoffDlg::PayoffEnter() {
  if (playerRow_ < 0 || current_ != nullptr || game_ == nullptr) return;
  auto* payoff = NewElement<TPayoff32>(game_);
  game_->Payoffs().Add(payoff);
  payoff->SetPlayer(players_[static_cast<std::size_t>(playerRow_)]);
  payoff->SetMove(working_.get());
  working_->RebuildPayoffList();
  current_ = payoff;
}

void TPayoffDlg::PayoffChange(const std::string& text) {
  text_ = text;
  double value = 0;
  if (!ReadTypedNumber(text, value)) return;
  if (!IsValidPayoffMagnitude(value)) {
    game_->Messages().Warning("Invalid payoff magnitude.");
    text_ = kUndefined;
    return;
  }
  if (current_ != nullptr) current_->SetValue(value);
}

void TPayoffDlg::DeleteBtnClick() {
  if (TPayoff32* payoff = current_.get()) {
    current_ = nullptr;
    FreeElement(payoff);  // leaves the game's list and the working copy's
    working_->RebuildPayoffList();
  }
  text_ = kUndefined;
}

}  // namespace ludomark
