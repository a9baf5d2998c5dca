#include "ui/dialogs/side_dialog.h"

#include "model/dcheck.h"
#include "model/player.h"
#include "model/table_edit.h"
#include "ui/dialogs/dialog_runner.h"
#include "ui/dialogs/element_names.h"
#include "ui/dialogs/name_dialog.h"

namespace ludomark {

bool TSideDlg::FindOwners(TTable32& table) {
  owners_.clear();
  if (table.Owner != nullptr) {
    table.Owner->Players().ForEachAs<TPlayer32>([&](TPlayer32* p) {
      bool owns = false;
      table.Sides.ForEachAs<TSide32>([&](TSide32* s) { owns = owns || s->Player.get() == p; });
      if (!owns) owners_.push_back(p);
    });
  }
  return !owners_.empty();
}

void TSideDlg::Setup(TSide32* side, TTable32& table) {
  LUDOMARK_DCHECK(working_ == nullptr);
  working_ = MakeScratchSide(side, table);
  if (side != nullptr) {
    owners_.clear();
    if (TPlayer32* own = side->Player.get()) owners_.push_back(own);
  } else {
    working_->Player = nullptr;
  }
  ownerNames_ = NamesOf(owners_);
  choiceRow_ = -1;
}

void TSideDlg::Release() {
  working_.reset();
}

std::vector<std::string> TSideDlg::Choices() {
  std::vector<std::string> names;
  working_->Choices.ForEach([&](TGameObject32* s) { names.push_back(s->Name); });
  return names;
}

void TSideDlg::OwnerClick(int row) {
  if (row < 0 || row >= static_cast<int>(owners_.size())) return;
  working_->Player = owners_[static_cast<std::size_t>(row)];
}

void TSideDlg::ChoiceClick(int row) {
  choiceRow_ = row >= 0 && row < working_->StrategyCount() ? row : -1;
}

TStrat32* TSideDlg::SelectedStrategy() {
  return choiceRow_ >= 0 ? working_->StrategyAt(choiceRow_) : nullptr;
}

void TSideDlg::AddChoiceBtnClick() {
  auto* strategy = NewElement<TStrat32>(working_->Owner);
  strategy->Info = working_.get();
  if (RunNameDialog(runner_, names_, "Strategy Name", strategy)) {
    working_->AddChoice(strategy);
  } else {
    FreeElement(strategy);
  }
  choiceRow_ = -1;
}

void TSideDlg::EditChoiceBtnClick() {
  TStrat32* strategy = SelectedStrategy();
  if (strategy == nullptr) return;
  RunNameDialog(runner_, names_, "Strategy Name", strategy);
}

void TSideDlg::DeleteChoiceBtnClick() {
  TStrat32* strategy = SelectedStrategy();
  if (strategy == nullptr) return;
  strategy->CopyLink = nullptr;
  working_->Choices.FreeElementOf(strategy);
  choiceRow_ = -1;
}

}  // namespace ludomark
