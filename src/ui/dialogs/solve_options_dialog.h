#pragma once

namespace ludomark {

// "Solve Options": the program-wide solve method, Pure, Mixed, Tracing or Sampling: every method
// the command line offers.
class TSolveOptionsDlg {
 public:
  static constexpr int kPureItem = 0;
  static constexpr int kMixedItem = 1;
  static constexpr int kTracingItem = 2;
  static constexpr int kSamplingItem = 3;

  TSolveOptionsDlg();  // the method starts as Mixed
  // The item that matches the present method.
  int FormActivate() const;
  void MethodGroupClick(int item);
};

}  // namespace ludomark
