#pragma once

#include <iosfwd>
#include <string>

#include "solver/solve_observer.h"

namespace ludomark::cli {

// Shows the stage and the percentage of a run on one line of a terminal.
class TProgressLine : public TSolveObserver {
 public:
  explicit TProgressLine(std::ostream& err) : err_(err) {}
  ~TProgressLine() override;
  void StageCaption(const std::string& caption) override;
  void PercentText(const std::string& text) override;

 private:
  void Show();
  std::ostream& err_;
  std::string caption_;
  std::string percent_ = "00.00%";
  bool shown_ = false;
};

}  // namespace ludomark::cli
