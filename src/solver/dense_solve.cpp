#include "solver/dense_solve.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace ludomark {

bool SolveDense(std::vector<double>& a, std::vector<double>& b, int n) {
  const auto size = static_cast<std::size_t>(n);
  auto at = [&](std::size_t r, std::size_t c) -> double& { return a[r * size + c]; };
  for (std::size_t col = 0; col < size; ++col) {
    std::size_t pivot = col;
    double largest = 0;
    for (std::size_t r = col; r < size; ++r) {
      if (std::fabs(at(r, col)) > largest) {
        largest = std::fabs(at(r, col));
        pivot = r;
      }
    }
    if (!(largest > 1e-150)) return false;
    if (pivot != col) {
      for (std::size_t c = col; c < size; ++c) std::swap(at(pivot, c), at(col, c));
      std::swap(b[pivot], b[col]);
    }
    const double diagonal = at(col, col);
    for (std::size_t r = col + 1; r < size; ++r) {
      const double factor = at(r, col) / diagonal;
      if (factor == 0) continue;
      for (std::size_t c = col + 1; c < size; ++c) at(r, c) -= factor * at(col, c);
      b[r] -= factor * b[col];
    }
  }
  for (std::size_t k = size; k-- > 0;) {
    double sum = b[k];
    for (std::size_t c = k + 1; c < size; ++c) sum -= at(k, c) * b[c];
    b[k] = sum / at(k, k);
    if (!std::isfinite(b[k])) return false;
  }
  return true;
}

}  // namespace ludomark
