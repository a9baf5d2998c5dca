#include "ui/dialogs/node_dialog.h"

#include "model/info.h"
#include "model/player.h"
#include "ui/dialogs/element_names.h"

namespace ludomark {

void TNodeDlg::Setup(TNode32* node, TGameForm32& game) {
  game_ = &game;
  working_.reset(NewElement<TNode32>(&game));
  if (node != nullptr) node->CopyTo(*working_);
  players_ = ElementsOf<TPlayer32>(game.Players());
  owners_ = NamesOf(players_);
  ownerRow_ = -1;
  chance_ = working_->Player.get() == nullptr;
  for (std::size_t i = 0; i < players_.size(); ++i) {
    if (players_[i] == working_->Player.get()) ownerRow_ = static_cast<int>(i);
  }
}

void TNodeDlg::NameChange(const std::string& text) {
  working_->SetName(TrimRight(text));
}

bool TNodeDlg::RefuseInInfoSet() {
  if (working_->Info.get() == nullptr) return false;
  game_->Messages().Warning("Cannot change owner. Node belongs to an Information set");
  return true;
}

void TNodeDlg::OwnerClick(int row) {
  if (row < 0 || row >= static_cast<int>(players_.size())) return;
  if (RefuseInInfoSet()) return;  // the selection stays on the present owner
  working_->SetPlayer(players_[static_cast<std::size_t>(row)]);
  ownerRow_ = row;
  chance_ = false;
}

void TNodeDlg::ChanceClick() {
  if (RefuseInInfoSet()) {
    chance_ = false;
    return;
  }
  chance_ = true;
  working_->SetPlayer(nullptr);
  ownerRow_ = -1;
}

bool TNodeDlg::OKBtnClick() {
  if (working_->Name.empty()) {
    game_->Messages().Warning("Invalid name");
    return false;
  }
  return true;
}

}  // namespace ludomark
