#pragma once

#include <atomic>
#include <functional>
#include <vector>

namespace ludomark {

// A linear complementarity problem: find z >= 0 with w = q + M z >= 0 and z'w = 0. M is dense,
// row after row.
struct TLcp {
  int Size = 0;
  std::vector<double> M;
  std::vector<double> Q;
  double& At(int row, int column) {
    return M[static_cast<std::size_t>(row) * static_cast<std::size_t>(Size) +
             static_cast<std::size_t>(column)];
  }
};

struct TLcpResult {
  enum class End { Solved, Ray, Stopped, PivotLimit };
  End Outcome = End::Solved;
  std::vector<double> Z;
  int Pivots = 0;
};

// Lemke's complementary pivoting with the covering vector of ones and the lexicographic ratio
// test, so degenerate problems do not cycle. The stop is checked at every pivot; `pivoted`
// hears of every pivot (for progress).
TLcpResult SolveLcp(const TLcp& lcp, const std::atomic<bool>& stop, int pivotLimit,
                    const std::function<void(int pivots)>& pivoted);

}  // namespace ludomark
