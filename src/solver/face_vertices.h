#pragma once

#include <gmpxx.h>

#include <vector>

#include "solver/vertex_enumeration.h"

namespace ludomark {

// The vertices of the face of a polyhedron where the `forced` rows hold with equality (its
// equalities hold anyway). Most such faces are empty or one point, settled by a square
// system: solved in floating point first, and in exact arithmetic where it may be feasible.
// False when the face needs a search of its own (see FaceSearch).
bool FaceByOneSystem(const TRowTester& tester, const std::vector<int>& forced,
                     std::vector<std::vector<mpq_class>>& points);

// The face as a polyhedron of its own, for EnumerateVertices.
TPolyhedron FacePolyhedron(const TPolyhedron& p, const std::vector<int>& forced);

}  // namespace ludomark
