#pragma once

#include <string>
#include <vector>

namespace ludomark {

// "Solve Options": the program-wide solve method, one item per method of the solver's table
// (Pure and Mixed first, then every other method the command line offers).
class TSolveOptionsDlg {
 public:
  static constexpr int kPureItem = 0;
  static constexpr int kMixedItem = 1;
  static constexpr int kTracingItem = 2;
  static constexpr int kSamplingItem = 3;

  TSolveOptionsDlg();  // the method starts as Mixed
  // The items' texts, in the order of their numbers.
  static std::vector<std::string> Items();
  // The item that matches the present method.
  int FormActivate() const;
  void MethodGroupClick(int item);
};

}  // namespace ludomark
