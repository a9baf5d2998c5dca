#pragma once

#include <vector>

#include "model/game_object.h"

namespace ludomark {

// A 1-based real vector with entries 0..Count (entry 0 exists and is never used). Reads outside
// give 0 and writes outside do nothing, so an element's Number indexes it directly.
class TVector : public TGameObject32 {
 public:
  explicit TVector(int count = 0, TFakeGame* owner = nullptr);

  int Count() const { return count_; }
  double Get(int i) const { return InRange(i) ? entries_[static_cast<std::size_t>(i)] : 0.0; }
  void Put(bool add, int i, double x);
  // Sum over i = 1..count of v(shift + i) w(i); 0 when either is too short. A term that makes
  // the sum overflow restarts it from 0.
  static double Dot(int count, int shift, const TVector& v, const TVector& w);
  static double SqrLength(int count, const TVector& v) { return Dot(count, 0, v, v); }

 private:
  bool InRange(int i) const { return i >= 0 && i <= count_; }
  int count_;
  std::vector<double> entries_;
};

// A 1-based vector of flags, false outside its range.
class TBoolVect : public TGameObject32 {
 public:
  explicit TBoolVect(int count = 0, TFakeGame* owner = nullptr);

  int Count() const { return count_; }
  bool Get(int i) const { return i >= 0 && i <= count_ && entries_[static_cast<std::size_t>(i)]; }
  void Put(int i, bool flag);

 private:
  int count_;
  std::vector<char> entries_;
};

}  // namespace ludomark
