#pragma once

#include <gmpxx.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace ludomark {

// A polyhedron { x : c0 + c . x >= 0 for every row } (or = 0 for an equality row), by its
// rows' coefficients c0, c1, ..., cd.
struct TPolyhedron {
  int Dimension = 0;
  std::vector<std::vector<mpq_class>> Rows;
  std::vector<char> Equality;  // per row
  void AddRow(std::vector<mpq_class> row, bool equality) {
    Rows.push_back(std::move(row));
    Equality.push_back(equality ? 1 : 0);
  }
};

using TRowBits = std::vector<std::uint64_t>;

inline bool HasBit(const TRowBits& bits, int i) {
  return ((bits[static_cast<std::size_t>(i) / 64] >> (static_cast<unsigned>(i) % 64)) & 1U) != 0;
}
inline void SetBit(TRowBits& bits, int i) {
  bits[static_cast<std::size_t>(i) / 64] |= std::uint64_t{1} << (static_cast<unsigned>(i) % 64);
}

// A vertex as the search meets it: integer coordinates over one denominator, the same in
// floating point, and the rows it makes tight (equalities included).
struct TPolyhedronVertex {
  std::vector<mpz_class> Numerators;
  mpz_class Denominator;
  std::vector<double> Approx;
  TRowBits Tight;
  std::vector<mpq_class> Exact() const;
};

// The rows' tightness at points, quickly: floating point tells the rows that are clearly not
// tight, exact integer arithmetic decides the others.
class TRowTester {
 public:
  explicit TRowTester(const TPolyhedron& p);
  TRowBits TightAt(const std::vector<mpz_class>& numerators, const mpz_class& denominator,
                   const std::vector<double>& approx) const;
  TRowBits TightAt(const std::vector<mpq_class>& point) const;
  const TPolyhedron& Shape() const { return p_; }
  // Row r at a point in floating point, and the size of its terms (for tolerances).
  double ApproxValue(std::size_t r, const std::vector<double>& x, double& size) const;

 private:
  const TPolyhedron& p_;
  std::vector<std::vector<mpz_class>> integer_;  // each row times its denominators' lcm
  std::vector<std::vector<double>> approx_;
};

enum class TEnumerationEnd { Done, Stopped, Empty };

// Every vertex of a pointed polyhedron, once each, by lexicographic reverse search in exact
// arithmetic (rays are left out). `found` takes each vertex (the reference is valid during the
// call); `tick` is called at every basis the search visits, between which `stop` is looked at.
// One enumeration runs at a time in the process (the search keeps state of its own); others
// wait, and `found` must not start another.
TEnumerationEnd EnumerateVertices(const TPolyhedron& polyhedron, const std::atomic<bool>& stop,
                                  const std::function<void(const TPolyhedronVertex&)>& found,
                                  const std::function<void()>& tick);

}  // namespace ludomark
