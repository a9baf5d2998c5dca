#include "model/matrix.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>
#include <new>

namespace ludomark {

namespace {
constexpr double kPivotLimit = 1e-150;
constexpr double kEntryLimit = 1e150;
constexpr double kLargest = std::numeric_limits<double>::max();
constexpr int kFlags = FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO;
}  // namespace

TMatrix::TMatrix(TFakeGame* owner, bool augmented, int cols, int rows)
    : rows_(std::max(rows, 0)),
      capacity_(rows_),
      cols_(std::max(cols, 0)),
      width_(augmented ? 2 * cols_ : cols_),
      data_(static_cast<double*>(std::calloc(
          std::max<std::size_t>(
              static_cast<std::size_t>(capacity_) * static_cast<std::size_t>(width_), 1),
          sizeof(double)))) {
  if (data_ == nullptr) throw std::bad_alloc();
  InitDefaults();
  Owner = owner;
}

void TMatrix::SetRows(int k) {
  if (k <= capacity_) rows_ = k;
}

void TMatrix::Zero() {
  for (int i = 1; i <= capacity_; ++i) std::fill(Row(i), Row(i) + cols_, 0.0);
}

void TMatrix::SetIdentity(int shift) {
  // Entries beyond the matrix are not written, as Put would not.
  const int first = std::max(1, 1 - shift);
  const int end = std::min(capacity_, width_ - shift);
  for (int i = 1; i <= rows_; ++i) {
    double* row = Row(i) + shift;
    if (first <= end) std::fill(row + first - 1, row + end, 0.0);
    if (i >= first && i <= end) row[i - 1] = 1.0;
  }
}

void TMatrix::Invert(const std::atomic<bool>* stop) {
  const int n = rows_;
  if (n <= 0) {
    Singular = true;
    return;
  }
  Singular = false;
  SetIdentity(capacity_);
  // The columns that take part: the system's own (1..n) and its inverse (Cols + 1..Cols + n).
  // Columns between them keep what a larger system left there and are not the system's.
  const int last = std::min(cols_ + n, width_);
  // Both runs of columns from column k on: [k, leftEnd] and [max(k, cols + 1), last].
  const int leftEnd = std::min(n, last);
  auto forEachColumn = [&](int k, auto visit) {
    for (int j = k; j <= leftEnd; ++j) visit(j);
    for (int j = std::max(k, cols_ + 1); j <= last; ++j) visit(j);
  };
  // The inverse's columns were just set to the identity (they are where it lands when the
  // matrix is as wide as it is high): then only the system's need checking.
  const int checkedEnd = capacity_ == cols_ ? leftEnd : last;
  for (int i = 1; i <= n && !Singular; ++i) {
    const double* row = Row(i);
    // Counted without a branch, so that the loops vectorise; NaN fails the comparison too.
    int infinite = 0;
    for (int j = 0; j < leftEnd; ++j) infinite += !(std::fabs(row[j]) <= kLargest);
    for (int j = cols_; j < checkedEnd; ++j) infinite += !(std::fabs(row[j]) <= kLargest);
    if (infinite != 0) Singular = true;
  }
  nonzero_.reserve(static_cast<std::size_t>(width_));
  // Overflow is read from the floating-point status, which leaves the inner loops free to be
  // vectorised; any overflow or invalid operation makes the matrix singular.
  // Clearing the flags costs far more than reading them, and they are mostly clear already.
  if (std::fetestexcept(kFlags) != 0) std::feclearexcept(kFlags);
  for (int k = 1; k <= n && !Singular; ++k) {
    if (stop != nullptr && stop->load(std::memory_order_relaxed)) {
      Singular = true;
      break;
    }
    int pivotRow = k;
    double pivot = 0;
    for (int i = k; i <= n; ++i) {
      const double candidate = Row(i)[k - 1];
      if (std::fabs(candidate) > std::fabs(pivot)) {
        pivot = candidate;
        pivotRow = i;
      }
    }
    if (std::fabs(pivot) < kPivotLimit) {
      Singular = true;
      break;
    }
    if (pivotRow != k) std::swap_ranges(Row(k), Row(k) + width_, Row(pivotRow));

    double* top = Row(k);
    if (std::fabs(pivot) <= kPivotLimit) {
      Singular = true;
      break;
    }
    // Games give sparse systems: only the pivot row's nonzero entries change other rows
    // (subtracting zero times a finite factor changes nothing), and only they need scaling (a
    // zero would at most change its sign, which no sum of products read from the inverse
    // sees). They are taken within the smallest runs of columns that hold them, as runs where
    // these are mostly full (so the loops vectorise), one by one otherwise.
    int count = 0;
    int leftLast = k - 1;
    int rightFirst = last + 1;
    int rightLast = 0;
    for (int j = k; j <= leftEnd; ++j) {
      if (top[j - 1] == 0.0) continue;
      ++count;
      leftLast = j;
    }
    for (int j = std::max(k, cols_ + 1); j <= last; ++j) {
      if (top[j - 1] == 0.0) continue;
      ++count;
      rightFirst = std::min(rightFirst, j);
      rightLast = j;
    }
    const int span = (leftLast - k + 1) + std::max(0, rightLast - rightFirst + 1);
    const bool dense = 2 * count > span;
    nonzero_.clear();
    if (!dense) {
      forEachColumn(k, [&](int j) {
        if (top[j - 1] != 0.0) nonzero_.push_back(j - 1);
      });
    }
    auto forEachTaken = [&](auto visit) {
      if (dense) {
        for (int j = k - 1; j < leftLast; ++j) visit(j);
        for (int j = rightFirst - 1; j < rightLast; ++j) visit(j);
      } else {
        for (const int j : nonzero_) visit(j);
      }
    };
    if (pivot != 1.0) {
      forEachTaken([&](int j) {
        if (!(std::fabs(top[j]) < kEntryLimit)) Singular = true;
      });
      if (Singular) break;
      forEachTaken([&](int j) { top[j] /= pivot; });
    }
    for (int i = 1; i <= n; ++i) {
      if (i == k) continue;
      double* row = Row(i);
      const double factor = row[k - 1];
      if (factor == 0.0) continue;  // subtracting zero times a finite row changes nothing
      if (dense) {
        for (int j = k; j <= leftLast; ++j) row[j - 1] -= top[j - 1] * factor;
        for (int j = rightFirst; j <= rightLast; ++j) row[j - 1] -= top[j - 1] * factor;
      } else {
        for (const int j : nonzero_) row[j] -= top[j] * factor;
      }
    }
  }
  // The status flags stay raised once an overflow happened: one test covers every pivot. From
  // finite entries, an infinite or undefined result comes only through a raised flag, so the
  // inverse needs no scan of its own.
  if (!Singular && std::fetestexcept(kFlags) != 0) Singular = true;
}

}  // namespace ludomark
