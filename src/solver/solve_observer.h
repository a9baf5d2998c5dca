#pragma once

#include <string>

namespace ludomark {

// What a solve run tells its view. Every call has an empty default, so a run without a view
// uses the base class as it is.
class TSolveObserver {
 public:
  virtual ~TSolveObserver() = default;
  virtual void StageCaption(const std::string& /*caption*/) {}
  virtual void RunningState(bool /*running*/, const std::string& /*title*/) {}
  virtual void ProgressReset() {}
  virtual void ProgressStep(int /*amount*/) {}
  virtual void PercentText(const std::string& /*text*/) {}
  // The fraction of the current stage done, as the percentage shows it.
  virtual void ProgressFraction(double /*fraction*/) {}
  virtual void SolutionsChanged() {}
  virtual void HideView() {}
  virtual void ShowMessage(const std::string& /*text*/) {}
  // Lets pending user events in (the Abort button among them).
  virtual void ProcessEvents() {}
};

}  // namespace ludomark
