#include "solver/solve_method.h"

#include <algorithm>
#include <array>

#include "model/settings.h"

namespace ludomark {

// Each defined in its method's file.
extern const TSolveMethod kPureMethod;
extern const TSolveMethod kMixedMethod;
extern const TSolveMethod kTracingMethod;
extern const TSolveMethod kSamplingMethod;
extern const TSolveMethod kLemkeMethod;
extern const TSolveMethod kExactMethod;

namespace {
// The desktop lists them in this order: the two the dialog always had first.
const std::array<const TSolveMethod*, 6> kMethods{&kPureMethod,     &kMixedMethod, &kTracingMethod,
                                                  &kSamplingMethod, &kLemkeMethod, &kExactMethod};
}  // namespace

std::span<const TSolveMethod* const> SolveMethods() {
  return kMethods;
}

const TSolveMethod* FindMethod(std::string_view name) {
  const auto it = std::find_if(kMethods.begin(), kMethods.end(),
                               [&](const TSolveMethod* m) { return name == m->Name; });
  return it == kMethods.end() ? nullptr : *it;
}

const TSolveMethod& MethodOf(int code) {
  const auto it = std::find_if(kMethods.begin(), kMethods.end(),
                               [&](const TSolveMethod* m) { return m->Code == code; });
  return it == kMethods.end() ? kMixedMethod : **it;
}

std::string MethodNameList() {
  std::string list;
  for (std::size_t i = 0; i < kMethods.size(); ++i) {
    if (i > 0) list += i + 1 == kMethods.size() ? " or " : ", ";
    list += kMethods[i]->Name;
  }
  return list;
}

}  // namespace ludomark
