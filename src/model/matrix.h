#pragma once

#include <atomic>
#include <cstdlib>
#include <memory>
#include <vector>

#include "model/game_object.h"

namespace ludomark {

// A 1-based dense real matrix. An augmented matrix carries a right part as wide as its left
// part, where Invert leaves the inverse. Reads outside the allocated entries give 0 and writes
// outside do nothing. Throws std::bad_alloc when its entries cannot be allocated.
class TMatrix : public TGameObject32 {
 public:
  TMatrix(TFakeGame* owner, bool augmented, int cols, int rows);

  bool Singular = false;
  int Rows() const { return rows_; }
  int Capacity() const { return capacity_; }
  int Cols() const { return cols_; }
  int Width() const { return width_; }

  double Get(int i, int j) const { return InRange(i, j) ? data_[Offset(i, j)] : 0.0; }
  void Put(bool add, int i, int j, double x) {
    if (!InRange(i, j)) return;
    double& entry = data_[Offset(i, j)];
    entry = add ? entry + x : x;
  }
  void SetRows(int k);
  void Zero();
  void SetIdentity(int shift);
  // Gauss-Jordan inversion of the left Rows x Rows block with partial pivoting; the inverse
  // lands in columns Capacity + 1 to Capacity + Rows. Singular tells whether it failed: a pivot
  // below 1e-150, an entry of 1e150 or more in a pivot row, or an overflow. A stop flag set
  // while it works ends it as singular too.
  void Invert(const std::atomic<bool>* stop = nullptr);

  // Row i as contiguous storage, columns 1..Width at [0..Width-1]; for tight loops.
  double* Row(int i) { return data_.get() + Offset(i, 1); }
  const double* Row(int i) const { return data_.get() + Offset(i, 1); }

 private:
  bool InRange(int i, int j) const { return i >= 1 && i <= capacity_ && j >= 1 && j <= width_; }
  std::size_t Offset(int i, int j) const {
    return static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(j - 1);
  }

  int rows_;
  int capacity_;
  int cols_;
  int width_;
  struct TFree {
    void operator()(double* p) const { std::free(p); }
  };
  // Zeroed by calloc: a large matrix takes its pages as they are first used instead of
  // writing all of them at once, so a run can be stopped while it starts.
  std::unique_ptr<double[], TFree> data_;
  std::vector<int> nonzero_;  // Invert's scratch: the pivot row's nonzero columns
};

}  // namespace ludomark
