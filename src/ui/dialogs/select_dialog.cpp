#include "ui/dialogs/select_dialog.h"

#include "model/game_object.h"
#include "ui/dialogs/dialog_runner.h"

namespace ludomark {

int TSelectDialog::Choose(TGameList& list, int type) {
  rows_.clear();
  positions_.clear();
  chosen_ = -1;
  int position = 0;
  list.ForEach([&](TGameObject32* element) {
    if (type == kEveryType || element->TypeCode == type) {
      rows_.push_back(element->Describe(kShortText));
      positions_.push_back(position);
    }
    ++position;
  });
  if (rows_.empty()) return kNoneOfType;
  if (rows_.size() == 1) {
    chosen_ = 0;
    return Resolve();
  }
  if (!runner_.Show(*this)) return kCancelled;
  return Resolve();
}

int TSelectDialog::Resolve() const {
  return chosen_ < 0 ? kCancelled : positions_[static_cast<std::size_t>(chosen_)];
}

}  // namespace ludomark
