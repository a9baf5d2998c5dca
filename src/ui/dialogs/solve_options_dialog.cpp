#include "ui/dialogs/solve_options_dialog.h"

#include "model/settings.h"

namespace ludomark {

TSolveOptionsDlg::TSolveOptionsDlg() {
  SolveMethod = kSolveMixed;
}

int TSolveOptionsDlg::FormActivate() const {
  if (SolveMethod == kSolvePure) return kPureItem;
  if (SolveMethod == kSolveMixed) return kMixedItem;
  if (SolveMethod == kSolveTracing) return kTracingItem;
  return kSamplingItem;
}

void TSolveOptionsDlg::MethodGroupClick(int item) {
  SolveMethod = item == kPureItem      ? kSolvePure
                : item == kMixedItem   ? kSolveMixed
                : item == kTracingItem ? kSolveTracing
                                       : kSolveSampling;
}

}  // namespace ludomark
