#include "solver/found_point.h"

namespace ludomark {

namespace {
int StageRank(int stage) {
  return stage == kFoundSampling ? 0 : stage == kFoundProfiling ? 1 : 2;
}
}  // namespace

bool FoundBefore(const TFoundPoint& a, const TFoundPoint& b) {
  if (a.Stage != b.Stage) return StageRank(a.Stage) < StageRank(b.Stage);
  return a.Key < b.Key;
}

}  // namespace ludomark
