#include "solver/lemke.h"

#include <algorithm>
#include <cmath>

namespace ludomark {

namespace {

constexpr double kPivotTolerance = 1e-11;
constexpr double kTieTolerance = 1e-11;

// The tableau of w - M z - d z0 = q over the basis: columns 0..n-1 are w (their entries are the
// basis inverse, which the lexicographic test reads), n..2n-1 z, 2n z0, then the right side.
class Tableau {
 public:
  explicit Tableau(const TLcp& lcp)
      : n_(static_cast<std::size_t>(lcp.Size)),
        width_(2 * n_ + 2),
        cells_(n_ * width_, 0.0),
        basic_(n_) {
    for (std::size_t r = 0; r < n_; ++r) {
      double* row = Row(r);
      row[r] = 1;
      for (std::size_t c = 0; c < n_; ++c) row[n_ + c] = -lcp.M[r * n_ + c];
      row[2 * n_] = -1;
      row[width_ - 1] = lcp.Q[r];
      basic_[r] = static_cast<int>(r);
    }
  }

  std::size_t Size() const { return n_; }
  int Basic(std::size_t row) const { return basic_[row]; }
  double Value(std::size_t row) const { return cells_[row * width_ + width_ - 1]; }
  int Artificial() const { return static_cast<int>(2 * n_); }
  int Complement(int variable) const {
    const int n = static_cast<int>(n_);
    return variable < n ? variable + n : variable - n;
  }

  // The row that leaves when `column` enters: smallest ratio of right side to entry, ties
  // broken by the rows of the basis inverse; -1 when no entry is positive (a ray).
  int LeavingRow(int column) const {
    std::vector<std::size_t> candidates;
    double largest = 0;
    for (std::size_t r = 0; r < n_; ++r) largest = std::max(largest, std::fabs(At(r, column)));
    const double tolerance = kPivotTolerance * std::max(largest, 1.0);
    for (std::size_t r = 0; r < n_; ++r) {
      if (At(r, column) > tolerance) candidates.push_back(r);
    }
    if (candidates.empty()) return -1;
    for (int key = -1; key < static_cast<int>(n_) && candidates.size() > 1; ++key) {
      const std::size_t keyColumn = key < 0 ? width_ - 1 : static_cast<std::size_t>(key);
      double best = HUGE_VAL;
      for (std::size_t r : candidates) best = std::min(best, Ratio(r, keyColumn, column));
      const double slack = kTieTolerance * std::max(std::fabs(best), 1.0);
      std::erase_if(candidates,
                    [&](std::size_t r) { return Ratio(r, keyColumn, column) > best + slack; });
    }
    return static_cast<int>(candidates.front());
  }

  // The most negative right side, where the artificial variable enters (ties: the first).
  int MostNegativeRow() const {
    std::vector<std::size_t> candidates;
    double lowest = 0;
    for (std::size_t r = 0; r < n_; ++r) lowest = std::min(lowest, Value(r));
    if (lowest >= 0) return -1;
    const double slack = kTieTolerance * std::max(-lowest, 1.0);
    for (std::size_t r = 0; r < n_; ++r) {
      if (Value(r) <= lowest + slack) candidates.push_back(r);
    }
    return static_cast<int>(candidates.front());
  }

  void Pivot(std::size_t pivotRow, int column) {
    double* row = Row(pivotRow);
    const double pivot = row[column];
    for (std::size_t c = 0; c < width_; ++c) row[c] /= pivot;
    row[column] = 1;
    // The tableaux of sequence forms stay sparse: only the pivot row's nonzero columns change.
    nonzero_.clear();
    for (std::size_t c = 0; c < width_; ++c) {
      if (row[c] != 0) nonzero_.push_back(c);
    }
    for (std::size_t r = 0; r < n_; ++r) {
      if (r == pivotRow) continue;
      double* other = Row(r);
      const double factor = other[column];
      if (factor == 0) continue;
      for (std::size_t c : nonzero_) other[c] -= factor * row[c];
      other[column] = 0;
    }
    basic_[pivotRow] = column;
  }

 private:
  double* Row(std::size_t r) { return &cells_[r * width_]; }
  double At(std::size_t r, int column) const {
    return cells_[r * width_ + static_cast<std::size_t>(column)];
  }
  double Ratio(std::size_t r, std::size_t keyColumn, int column) const {
    return cells_[r * width_ + keyColumn] / At(r, column);
  }

  std::size_t n_;
  std::size_t width_;
  std::vector<double> cells_;
  std::vector<int> basic_;
  std::vector<std::size_t> nonzero_;
};

}  // namespace

TLcpResult SolveLcp(const TLcp& lcp, const std::atomic<bool>& stop, int pivotLimit,
                    const std::function<void(int pivots)>& pivoted) {
  TLcpResult result;
  const auto n = static_cast<std::size_t>(lcp.Size);
  result.Z.assign(n, 0.0);
  Tableau tableau(lcp);
  int row = tableau.MostNegativeRow();
  if (row >= 0) {
    // z0 enters; the w of that row leaves, and its complement enters next.
    int entering = tableau.Artificial();
    for (;;) {
      if (stop.load()) {
        result.Outcome = TLcpResult::End::Stopped;
        return result;
      }
      if (result.Pivots >= pivotLimit) {
        result.Outcome = TLcpResult::End::PivotLimit;
        return result;
      }
      if (result.Pivots > 0) row = tableau.LeavingRow(entering);
      if (row < 0) {
        result.Outcome = TLcpResult::End::Ray;
        return result;
      }
      const int leaving = tableau.Basic(static_cast<std::size_t>(row));
      tableau.Pivot(static_cast<std::size_t>(row), entering);
      ++result.Pivots;
      if (pivoted) pivoted(result.Pivots);
      if (leaving == tableau.Artificial()) break;
      entering = tableau.Complement(leaving);
    }
  }
  for (std::size_t r = 0; r < n; ++r) {
    const int variable = tableau.Basic(r);
    if (variable >= static_cast<int>(n) && variable < tableau.Artificial()) {
      result.Z[static_cast<std::size_t>(variable) - n] = std::max(tableau.Value(r), 0.0);
    }
  }
  return result;
}

}  // namespace ludomark
