#pragma once

#include <vector>

namespace ludomark {

// Solves A x = b for a square system of size n held row by row in `a` (which it overwrites),
// by Gaussian elimination with partial pivoting; x replaces b. False when A is singular (no
// pivot above 1e-150 in a column) or the solution is not finite.
bool SolveDense(std::vector<double>& a, std::vector<double>& b, int n);

}  // namespace ludomark
