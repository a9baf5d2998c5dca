#pragma once

namespace ludomark {

// "Solve Options": the program-wide solve method, Pure, Mixed or Tracing. Sampling has no item;
// a caller sets it directly.
class TSolveOptionsDlg {
 public:
  static constexpr int kPureItem = 0;
  static constexpr int kMixedItem = 1;
  static constexpr int kTracingItem = 2;

  TSolveOptionsDlg();  // the method starts as Mixed
  // The item that matches the present method; -1 for Sampling, which has none.
  int FormActivate() const;
  void MethodGroupClick(int item);
};

}  // namespace ludomark
