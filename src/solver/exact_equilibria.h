#pragma once

#include <gmpxx.h>

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "solver/sequence_form.h"
#include "solver/vertex_enumeration.h"

namespace ludomark {

using TExactForm = TSequenceFormOf<mpq_class>;

// An extreme equilibrium: both players' realisation plans, by sequence.
struct TExactPoint {
  std::array<std::vector<mpq_class>, 2> Plans;
};

struct TExactEquilibria {
  std::vector<TExactPoint> Points;
  // The maximal sets of points whose convex hull is made of equilibria (each the product of
  // its first player's plans and its second player's), as indices into Points.
  std::vector<std::vector<int>> Components;
  TEnumerationEnd End = TEnumerationEnd::Done;
  // Vertices met: of the first player's polyhedron, and of the faces of the second's searched.
  std::array<long long, 2> Vertices{0, 0};
  long long FacesSearched = 0;
};

// Every extreme equilibrium of a two-player game in sequence form, exactly: the complementary
// pairs of vertices of the players' best-reply polyhedra (of the strategy simplices when each
// player has one set at the start, as in a table). `tick` is called at every basis visited;
// `stop` ends the search with what was found.
TExactEquilibria FindExtremeEquilibria(const TExactForm& form, const std::atomic<bool>& stop,
                                       const std::function<void()>& tick);

// How many vertices the search may have to visit, as a power of ten: for a table the upper
// bound theorem's count for the first player's polytope, for a tree an estimate for the
// polyhedron it enumerates. Past Log10VertexLimit the run would not finish.
double Log10VertexBound(const TExactForm& form);
double Log10VertexLimit(const TExactForm& form);

}  // namespace ludomark

namespace ludomark {

// The sequence form of an audited game in the numbers its files gave (see ExactNumberOf).
std::string BuildExactForm(TGameForm32& game, TExactForm& form);

}  // namespace ludomark
