#pragma once

#include <string>
#include <vector>

#include "document/game_form.h"
#include "model/cell.h"
#include "model/table.h"

namespace ludomark {

// "Cell": where a cell of a table leads and its discount, edited on the cell itself.
class TCellDlg {
 public:
  void Setup(TCell32& cell);

  const std::vector<std::string>& Nodes() const { return names_; }
  int UptoRow() const;
  bool FinalChecked() const { return cell_->To.get() == nullptr; }
  const std::string& ValueText() const { return valueText_; }

  void UptoClick(int row);
  void FinalClick();
  void ValueChange(const std::string& text);

 private:
  Ref<TCell32> cell_;
  std::vector<TNode32*> nodes_;
  std::vector<std::string> names_;
  std::string valueText_;
};

}  // namespace ludomark
