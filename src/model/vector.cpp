#include "model/vector.h"

#include <cmath>

namespace ludomark {

TVector::TVector(int count, TFakeGame* owner)
    : count_(count < 0 ? 0 : count), entries_(static_cast<std::size_t>(count_) + 1, 0.0) {
  InitDefaults();
  Owner = owner;
}

void TVector::Put(bool add, int i, double x) {
  if (!InRange(i)) return;
  double& entry = entries_[static_cast<std::size_t>(i)];
  entry = add ? entry + x : x;
}

double TVector::Dot(int count, int shift, const TVector& v, const TVector& w) {
  if (v.Count() < count + shift || w.Count() < count) return 0;
  double sum = 0;
  for (int i = 1; i <= count; ++i) {
    sum += v.Get(shift + i) * w.Get(i);
    if (!std::isfinite(sum)) sum = 0;
  }
  return sum;
}

TBoolVect::TBoolVect(int count, TFakeGame* owner)
    : count_(count < 0 ? 0 : count), entries_(static_cast<std::size_t>(count_) + 1, 0) {
  InitDefaults();
  Owner = owner;
}

void TBoolVect::Put(int i, bool flag) {
  if (i >= 0 && i <= count_) entries_[static_cast<std::size_t>(i)] = flag ? 1 : 0;
}

}  // namespace ludomark
