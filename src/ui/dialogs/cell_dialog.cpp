#include "ui/dialogs/cell_dialog.h"

#include "model/geometry.h"
#include "ui/dialogs/element_names.h"
#include "ui/dialogs/typed_number.h"

namespace ludomark {

void TCellDlg::Setup(TCell32& cell) {
  cell_ = &cell;
  nodes_ =
      cell.Owner != nullptr ? ElementsOf<TNode32>(cell.Owner->Nodes()) : std::vector<TNode32*>{};
  names_ = NamesOf(nodes_);
  valueText_ = DialogNumber(cell.Value);
}

int TCellDlg::UptoRow() const {
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    if (cell_->To.get() != nullptr && nodes_[i] == cell_->To.get()) return static_cast<int>(i);
  }
  return -1;
}

void TCellDlg::UptoClick(int row) {
  if (cell_ == nullptr || row < 0 || row >= static_cast<int>(nodes_.size())) return;
  TNode32* to = nodes_[static_cast<std::size_t>(row)];
  cell_->SetTo(to);
  cell_->SetPosition(RoundHalfEven((to->X + cell_->CellX) / 2.0),
                     RoundHalfEven((to->Y + cell_->CellY) / 2.0));
}

void TCellDlg::FinalClick() {
  if (cell_ == nullptr) return;
  cell_->SetTo(nullptr);
  cell_->SetPosition(cell_->CellX, cell_->CellY);
}

void TCellDlg::ValueChange(const std::string& text) {
  valueText_ = text;
  double value = 0;
  if (cell_ != nullptr && ReadTypedNumber(text, value) && value > 0 && value <= 1) {
    cell_->SetValue(value);
  }
}

}  // namespace ludomark
