#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/game_form.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"

namespace ludomark {

class TDialogRunner;
class TNameDlg;

// "Side": the owner and the strategies of a table's side, on a working copy that the
// table's side edit applies on OK.
class TSideDlg {
 public:
  TSideDlg(TDialogRunner& runner, TNameDlg& names) : runner_(runner), names_(names) {}

  // Whether some player of the table's game owns none of its sides (the owner candidates).
  bool FindOwners(TTable32& table);
  void Setup(TSide32* side, TTable32& table);
  TSide32& Working() { return *working_; }
  void Release();

  const std::vector<std::string>& Owners() const { return ownerNames_; }
  std::vector<std::string> Choices();
  int ChoiceRow() const { return choiceRow_; }

  void OwnerClick(int row);
  void ChoiceClick(int row);
  void AddChoiceBtnClick();
  void EditChoiceBtnClick();
  void DeleteChoiceBtnClick();

 private:
  TStrat32* SelectedStrategy();

  TDialogRunner& runner_;
  TNameDlg& names_;
  std::unique_ptr<TSide32> working_;
  std::vector<TPlayer32*> owners_;
  std::vector<std::string> ownerNames_;
  int choiceRow_ = -1;
};

}  // namespace ludomark
