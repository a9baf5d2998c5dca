#include "ui/dialogs/solve_options_dialog.h"

#include <algorithm>

#include "model/settings.h"
#include "solver/solve_method.h"

namespace ludomark {

TSolveOptionsDlg::TSolveOptionsDlg() {
  SolveMethod = kSolveMixed;
}

std::vector<std::string> TSolveOptionsDlg::Items() {
  std::vector<std::string> items;
  for (const TSolveMethod* method : SolveMethods()) items.emplace_back(method->Item);
  return items;
}

int TSolveOptionsDlg::FormActivate() const {
  const auto methods = SolveMethods();
  const auto it = std::find_if(methods.begin(), methods.end(),
                               [](const TSolveMethod* m) { return m->Code == SolveMethod; });
  return it == methods.end() ? kMixedItem : static_cast<int>(it - methods.begin());
}

void TSolveOptionsDlg::MethodGroupClick(int item) {
  const auto methods = SolveMethods();
  if (item >= 0 && item < static_cast<int>(methods.size())) {
    SolveMethod = methods[static_cast<std::size_t>(item)]->Code;
  }
}

}  // namespace ludomark
