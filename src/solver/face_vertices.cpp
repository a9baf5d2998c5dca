#include "solver/face_vertices.h"

#include <algorithm>
#include <cmath>

namespace ludomark {

namespace {

// Below this share of its row's size a pivot counts as zero: the system may be singular.
constexpr double kSingularPivot = 1e-10;
// A row value below minus this share of its terms' size is certainly negative.
constexpr double kClearlyViolated = 1e-7;

// Picks `dimension` independent rows among `rows` by elimination in floating point and solves
// them; false when they have lower rank (as far as floating point tells).
bool SolveApprox(const TPolyhedron& p, const std::vector<int>& rows, std::vector<int>& chosen,
                 std::vector<double>& x) {
  const auto d = static_cast<std::size_t>(p.Dimension);
  std::vector<std::vector<double>> a;
  for (int r : rows) {
    std::vector<double> row(d + 1);
    const auto& coefficients = p.Rows[static_cast<std::size_t>(r)];
    double size = 0;
    for (std::size_t j = 0; j < d; ++j) {
      row[j] = coefficients[j + 1].get_d();
      size = std::max(size, std::fabs(row[j]));
    }
    row[d] = -coefficients[0].get_d();
    if (size > 0) {
      for (double& v : row) v /= size;
    }
    a.push_back(std::move(row));
  }
  std::vector<int> order(rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  chosen.clear();
  std::vector<std::size_t> pivotColumn;
  std::size_t placed = 0;
  for (std::size_t col = 0; col < d; ++col) {
    std::size_t best = placed;
    for (std::size_t i = placed; i < a.size(); ++i) {
      if (std::fabs(a[i][col]) > std::fabs(a[best][col])) best = i;
    }
    if (best >= a.size() || std::fabs(a[best][col]) < kSingularPivot) return false;
    std::swap(a[placed], a[best]);
    std::swap(order[placed], order[best]);
    for (std::size_t i = placed + 1; i < a.size(); ++i) {
      const double f = a[i][col] / a[placed][col];
      if (f == 0) continue;
      for (std::size_t j = col; j <= d; ++j) a[i][j] -= f * a[placed][j];
    }
    ++placed;
  }
  x.assign(d, 0);
  for (std::size_t k = d; k-- > 0;) {
    double v = a[k][d];
    for (std::size_t j = k + 1; j < d; ++j) v -= a[k][j] * x[j];
    x[k] = v / a[k][k];
  }
  for (std::size_t k = 0; k < d; ++k) chosen.push_back(rows[static_cast<std::size_t>(order[k])]);
  return true;
}

// The same rows solved exactly; false when they are singular after all.
bool SolveExact(const TPolyhedron& p, const std::vector<int>& chosen, std::vector<mpq_class>& x) {
  const auto d = static_cast<std::size_t>(p.Dimension);
  std::vector<std::vector<mpq_class>> a;
  for (int r : chosen) {
    const auto& coefficients = p.Rows[static_cast<std::size_t>(r)];
    std::vector<mpq_class> row(coefficients.begin() + 1, coefficients.end());
    row.push_back(-coefficients[0]);
    a.push_back(std::move(row));
  }
  for (std::size_t col = 0; col < d; ++col) {
    std::size_t pivot = col;
    while (pivot < d && sgn(a[pivot][col]) == 0) ++pivot;
    if (pivot == d) return false;
    std::swap(a[col], a[pivot]);
    for (std::size_t i = 0; i < d; ++i) {
      if (i == col || sgn(a[i][col]) == 0) continue;
      const mpq_class f = a[i][col] / a[col][col];
      for (std::size_t j = col; j <= d; ++j) a[i][j] -= f * a[col][j];
    }
  }
  x.resize(d);
  for (std::size_t k = 0; k < d; ++k) x[k] = a[k][d] / a[k][k];
  return true;
}

}  // namespace

bool FaceByOneSystem(const TRowTester& tester, const std::vector<int>& forced,
                     std::vector<std::vector<mpq_class>>& points) {
  const TPolyhedron& p = tester.Shape();
  std::vector<int> rows = forced;
  for (std::size_t r = 0; r < p.Rows.size(); ++r) {
    if (p.Equality[r] != 0) rows.push_back(static_cast<int>(r));
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows.size() < static_cast<std::size_t>(p.Dimension)) return false;
  std::vector<int> chosen;
  std::vector<double> approx;
  if (!SolveApprox(p, rows, chosen, approx)) return false;
  std::vector<char> onFace(p.Rows.size(), 0);
  for (int r : rows) onFace[static_cast<std::size_t>(r)] = 1;
  for (std::size_t r = 0; r < p.Rows.size(); ++r) {
    double size = 0;
    const double v = tester.ApproxValue(r, approx, size);
    const double tolerance = kClearlyViolated * (size + 1e-300);
    if (v < -tolerance || (onFace[r] != 0 && v > tolerance)) return true;  // an empty face
  }
  std::vector<mpq_class> x;
  if (!SolveExact(p, chosen, x)) return false;
  for (std::size_t r = 0; r < p.Rows.size(); ++r) {
    const auto& row = p.Rows[r];
    mpq_class v = row[0];
    for (std::size_t j = 0; j < x.size(); ++j) v += row[j + 1] * x[j];
    if (sgn(v) < 0 || (onFace[r] != 0 && sgn(v) != 0)) return true;
  }
  points.push_back(std::move(x));
  return true;
}

TPolyhedron FacePolyhedron(const TPolyhedron& p, const std::vector<int>& forced) {
  TPolyhedron face = p;
  for (int r : forced) face.Equality[static_cast<std::size_t>(r)] = 1;
  return face;
}

}  // namespace ludomark
