#include "solver/exact_equilibria.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "solver/face_vertices.h"

namespace ludomark {

namespace {

using Bits = std::vector<std::uint64_t>;

void Set(Bits& b, int i) {
  b[static_cast<std::size_t>(i) / 64] |= std::uint64_t{1} << (static_cast<unsigned>(i) % 64);
}
bool Has(const Bits& b, int i) {
  return ((b[static_cast<std::size_t>(i) / 64] >> (static_cast<unsigned>(i) % 64)) & 1U) != 0;
}
int Count(const Bits& b) {
  int n = 0;
  for (std::uint64_t w : b) n += __builtin_popcountll(w);
  return n;
}
bool Covers(const Bits& big, const Bits& small) {
  for (std::size_t i = 0; i < big.size(); ++i) {
    if ((small[i] & ~big[i]) != 0) return false;
  }
  return true;
}

// One player's polyhedron: its rows, the label each inequality row stands for (-1: none), and
// how a vertex becomes the player's realisation plan.
struct LabelledPolyhedron {
  TPolyhedron Shape;
  std::vector<int> RowLabel;
  std::function<std::vector<mpq_class>(const std::vector<mpq_class>&)> PlanOf;
  std::vector<int> LabelRow;  // by label: the row that stands for it, -1 for none
  void Add(std::vector<mpq_class> row, bool equality, int label) {
    Shape.AddRow(std::move(row), equality);
    RowLabel.push_back(label);
  }
};

// The sequences of a side's only set, when a player has one set, at the start.
bool OneSetAtStart(const TSequenceSide& side) {
  return side.Rows() == 2 && side.SetParent[1] == 0 &&
         side.Sequences() == 1 + static_cast<int>(side.SetChildren[1].size());
}

std::vector<mpq_class> Zeros(std::size_t n) {
  return std::vector<mpq_class>(n, mpq_class(0));
}

// Each player's payoff matrix over pure strategies, payoffs before a player moves folded in
// (his plan puts 1 on the empty sequence and on his strategies together).
std::array<std::vector<std::vector<mpq_class>>, 2> StrategyMatrices(const TExactForm& form) {
  const std::vector<int>& rows = form.Sides[0].SetChildren[1];
  const std::vector<int>& cols = form.Sides[1].SetChildren[1];
  const std::size_t m = rows.size();
  const std::size_t n = cols.size();
  std::array<std::vector<std::vector<mpq_class>>, 2> pay;
  for (auto& matrix : pay) matrix.assign(m, Zeros(n));
  for (const TExactForm::Entry& e : form.Entries) {
    const std::size_t i0 = e.S1 == 0 ? 0 : static_cast<std::size_t>(e.S1 - 1);
    const std::size_t i1 = e.S1 == 0 ? m : i0 + 1;
    const std::size_t j0 = e.S2 == 0 ? 0 : static_cast<std::size_t>(e.S2 - 1);
    const std::size_t j1 = e.S2 == 0 ? n : j0 + 1;
    for (std::size_t i = i0; i < i1; ++i) {
      for (std::size_t j = j0; j < j1; ++j) {
        pay[0][i][j] += e.A;
        pay[1][i][j] += e.B;
      }
    }
  }
  return pay;
}

// Tables: P1 = { x >= 0, B'x <= 1 }, P2 = { A'y <= 1, y >= 0 } with payoffs shifted to at
// least 1; labels 0..m-1 are the first player's strategies, m..m+n-1 the second's.
std::array<LabelledPolyhedron, 2> StrategyPolytopes(const TExactForm& form) {
  auto pay = StrategyMatrices(form);
  const std::size_t m = pay[0].size();
  const std::size_t n = m == 0 ? 0 : pay[0][0].size();
  for (auto& matrix : pay) {
    mpq_class low = m * n == 0 ? mpq_class(0) : matrix[0][0];
    for (const auto& row : matrix) {
      for (const mpq_class& v : row) low = std::min(low, v);
    }
    for (auto& row : matrix) {
      for (mpq_class& v : row) v = v - low + 1;
    }
  }
  std::array<LabelledPolyhedron, 2> p;
  p[0].Shape.Dimension = static_cast<int>(m);
  p[1].Shape.Dimension = static_cast<int>(n);
  for (std::size_t i = 0; i < m; ++i) {
    std::vector<mpq_class> row = Zeros(m + 1);
    row[i + 1] = 1;
    p[0].Add(std::move(row), /*equality=*/false, static_cast<int>(i));
  }
  for (std::size_t j = 0; j < n; ++j) {
    std::vector<mpq_class> row = Zeros(m + 1);
    row[0] = 1;
    for (std::size_t i = 0; i < m; ++i) row[i + 1] = -pay[1][i][j];
    p[0].Add(std::move(row), /*equality=*/false, static_cast<int>(m + j));
  }
  for (std::size_t i = 0; i < m; ++i) {
    std::vector<mpq_class> row = Zeros(n + 1);
    row[0] = 1;
    for (std::size_t j = 0; j < n; ++j) row[j + 1] = -pay[0][i][j];
    p[1].Add(std::move(row), /*equality=*/false, static_cast<int>(i));
  }
  for (std::size_t j = 0; j < n; ++j) {
    std::vector<mpq_class> row = Zeros(n + 1);
    row[j + 1] = 1;
    p[1].Add(std::move(row), /*equality=*/false, static_cast<int>(m + j));
  }
  for (std::size_t side = 0; side < 2; ++side) {
    const std::vector<int> seqs = form.Sides[side].SetChildren[1];
    const std::size_t all = static_cast<std::size_t>(form.Sides[side].Sequences());
    p[side].PlanOf = [seqs, all](const std::vector<mpq_class>& x) {
      mpq_class sum = 0;
      for (const mpq_class& v : x) sum += v;
      std::vector<mpq_class> plan;
      if (sum == 0) return plan;  // the origin stands for no strategy
      plan = Zeros(all);
      plan[0] = 1;
      for (std::size_t i = 0; i < x.size(); ++i) {
        plan[static_cast<std::size_t>(seqs[i])] = x[i] / sum;
      }
      return plan;
    };
  }
  return p;
}

// Column `s` of a side's constraint matrix: +1 in the row of the set it belongs to, -1 in the
// rows of the sets it leads to.
std::vector<std::vector<std::pair<int, int>>> ConstraintColumns(const TSequenceSide& side) {
  std::vector<std::vector<std::pair<int, int>>> columns(static_cast<std::size_t>(side.Sequences()));
  columns[0].emplace_back(0, 1);
  for (int r = 1; r < side.Rows(); ++r) {
    for (int c : side.SetChildren[static_cast<std::size_t>(r)]) {
      columns[static_cast<std::size_t>(c)].emplace_back(r, 1);
    }
    columns[static_cast<std::size_t>(side.SetParent[static_cast<std::size_t>(r)])].emplace_back(r,
                                                                                                -1);
  }
  return columns;
}

// Trees: player `me`'s polyhedron over (own plan x, the other's values u): E x = e, x >= 0,
// F'u - (payoffs)'x >= 0 (equality at the other's empty sequence). Labels: own sequences
// (x = 0) and the other's (his sequence a best reply), the first player's sequences first.
LabelledPolyhedron SequencePolyhedron(const TExactForm& form, int me) {
  const TSequenceSide& own = form.Sides[static_cast<std::size_t>(me)];
  const TSequenceSide& other = form.Sides[static_cast<std::size_t>(1 - me)];
  const std::size_t nx = static_cast<std::size_t>(own.Sequences());
  const std::size_t nu = static_cast<std::size_t>(other.Rows());
  const int ownBase = me == 0 ? 0 : form.Sides[0].Sequences();
  const int otherBase = me == 0 ? form.Sides[0].Sequences() : 0;
  LabelledPolyhedron p;
  p.Shape.Dimension = static_cast<int>(nx + nu);
  for (int r = 0; r < own.Rows(); ++r) {
    std::vector<mpq_class> row = Zeros(nx + nu + 1);
    if (r == 0) {
      row[0] = -1;
      row[1] = 1;
    } else {
      row[static_cast<std::size_t>(own.SetParent[static_cast<std::size_t>(r)]) + 1] = -1;
      for (int c : own.SetChildren[static_cast<std::size_t>(r)]) {
        row[static_cast<std::size_t>(c) + 1] = 1;
      }
    }
    p.Add(std::move(row), /*equality=*/true, -1);
  }
  for (std::size_t s = 1; s < nx; ++s) {
    std::vector<mpq_class> row = Zeros(nx + nu + 1);
    row[s + 1] = 1;
    p.Add(std::move(row), /*equality=*/false, ownBase + static_cast<int>(s));
  }
  // The other player's payoff of each pair, by his sequence, then by ours.
  std::vector<std::map<int, mpq_class>> pay(static_cast<std::size_t>(other.Sequences()));
  for (const TExactForm::Entry& e : form.Entries) {
    const int mine = me == 0 ? e.S1 : e.S2;
    const int his = me == 0 ? e.S2 : e.S1;
    pay[static_cast<std::size_t>(his)][mine] += me == 0 ? e.B : e.A;
  }
  const auto columns = ConstraintColumns(other);
  for (std::size_t t = 0; t < static_cast<std::size_t>(other.Sequences()); ++t) {
    std::vector<mpq_class> row = Zeros(nx + nu + 1);
    for (const auto& [r, sign] : columns[t]) row[nx + static_cast<std::size_t>(r) + 1] = sign;
    for (const auto& [s, v] : pay[t]) row[static_cast<std::size_t>(s) + 1] -= v;
    p.Add(std::move(row), t == 0, otherBase + static_cast<int>(t));
  }
  p.PlanOf = [nx](const std::vector<mpq_class>& v) {
    return std::vector<mpq_class>(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(nx));
  };
  return p;
}

// Plans met so far on one side, each once.
struct PlanList {
  std::map<std::vector<mpq_class>, int> Index;
  std::vector<std::vector<mpq_class>> Plans;
  int Of(std::vector<mpq_class> plan) {
    auto [it, fresh] = Index.emplace(std::move(plan), static_cast<int>(Plans.size()));
    if (fresh) Plans.push_back(it->first);
    return it->second;
  }
};

// Every vertex of the first polyhedron that stands for a plan, each paired with the vertices of
// the second's face where the labels it lacks are tight: the square systems settle most faces
// as it goes; the others are searched after it (one search runs at a time).
struct Pairing {
  const std::array<LabelledPolyhedron, 2>& Polyhedra;
  int Universe;
  int First;                            // the player whose polyhedron is enumerated
  std::array<PlanList, 2> Plans;        // by player
  std::set<std::pair<int, int>> Pairs;  // the first player's plan, the second's
  std::vector<std::pair<std::vector<mpq_class>, std::vector<int>>> Searches;

  const LabelledPolyhedron& Enumerated() const {
    return Polyhedra[static_cast<std::size_t>(First)];
  }
  const LabelledPolyhedron& Other() const { return Polyhedra[static_cast<std::size_t>(1 - First)]; }

  // The other polyhedron's rows that the labels the enumerated one's vertex lacks make tight;
  // false when a label has no row there (no vertex can complete it).
  bool Needed(const TRowBits& tight, std::vector<int>& rows) const {
    std::vector<char> has(static_cast<std::size_t>(Universe), 0);
    const LabelledPolyhedron& one = Enumerated();
    for (std::size_t r = 0; r < one.RowLabel.size(); ++r) {
      if (one.RowLabel[r] >= 0 && HasBit(tight, static_cast<int>(r))) {
        has[static_cast<std::size_t>(one.RowLabel[r])] = 1;
      }
    }
    rows.clear();
    for (int l = 0; l < Universe; ++l) {
      if (has[static_cast<std::size_t>(l)] != 0) continue;
      const int row = Other().LabelRow[static_cast<std::size_t>(l)];
      if (row < 0) return false;
      rows.push_back(row);
    }
    return true;
  }

  // A vertex of the enumerated polyhedron and one of the other's face.
  void Pair(const std::vector<mpq_class>& x, const std::vector<mpq_class>& y) {
    std::vector<mpq_class> other = Other().PlanOf(y);
    if (other.empty()) return;
    const int a = Plans[static_cast<std::size_t>(First)].Of(Enumerated().PlanOf(x));
    const int b = Plans[static_cast<std::size_t>(1 - First)].Of(std::move(other));
    Pairs.emplace(First == 0 ? a : b, First == 0 ? b : a);
  }
};

// The faces no square system settled, each searched on its own.
void SearchFaces(Pairing& pairing, const std::atomic<bool>& stop, const std::function<void()>& tick,
                 TExactEquilibria& result) {
  for (const auto& search : pairing.Searches) {
    const std::vector<mpq_class>& x = search.first;
    const std::vector<int>& forced = search.second;
    if (stop.load()) {
      result.End = TEnumerationEnd::Stopped;
      return;
    }
    ++result.FacesSearched;
    const TEnumerationEnd end = EnumerateVertices(
        FacePolyhedron(pairing.Other().Shape, forced), stop,
        [&](const TPolyhedronVertex& y) {
          ++result.Vertices[1];
          pairing.Pair(x, y.Exact());
        },
        tick);
    if (end == TEnumerationEnd::Stopped) result.End = end;
  }
}

// log10 of the number of a player's pure plans (his reduced strategies): the vertices of his
// plan polytope, which drive those of his polyhedron in a tree.
double Log10Plans(const TSequenceSide& side) {
  std::vector<double> count(static_cast<std::size_t>(side.Sequences()), 0);
  // Sets come after the sequence that leads to them, so later rows are settled first.
  for (int r = side.Rows() - 1; r >= 1; --r) {
    double sum = 0;
    for (int c : side.SetChildren[static_cast<std::size_t>(r)]) {
      sum += std::pow(10.0, std::min(300.0, count[static_cast<std::size_t>(c)]));
    }
    count[static_cast<std::size_t>(side.SetParent[static_cast<std::size_t>(r)])] +=
        std::log10(std::max(sum, 1.0));
  }
  return count[0];
}

// The label of every row, and the row of every label, of a polyhedron.
void IndexLabels(LabelledPolyhedron& p, int universe) {
  p.LabelRow.assign(static_cast<std::size_t>(universe), -1);
  for (std::size_t r = 0; r < p.RowLabel.size(); ++r) {
    if (p.RowLabel[r] >= 0)
      p.LabelRow[static_cast<std::size_t>(p.RowLabel[r])] = static_cast<int>(r);
  }
}

// The maximal bicliques of the pairs: each closed set of second plans (an intersection of
// first plans' neighbourhoods) with every first plan that meets all of it.
std::vector<std::vector<int>> Bicliques(const std::vector<std::pair<int, int>>& pairs,
                                        int seconds) {
  constexpr std::size_t kMostComponents = 100000;
  std::map<int, Bits> around;  // first plan -> second plans it pairs with
  const std::size_t words = (static_cast<std::size_t>(seconds) + 63) / 64;
  for (const auto& [a, b] : pairs) {
    auto [it, fresh] = around.try_emplace(a, Bits(words, 0));
    Set(it->second, b);
  }
  std::vector<Bits> closed;
  std::set<Bits> known;
  for (const auto& [a, n] : around) {
    if (known.insert(n).second) closed.push_back(n);
  }
  for (std::size_t k = 0; k < closed.size() && closed.size() < kMostComponents; ++k) {
    for (const auto& [a, n] : around) {
      Bits meet(words);
      for (std::size_t w = 0; w < words; ++w) meet[w] = closed[k][w] & n[w];
      if (Count(meet) > 0 && known.insert(meet).second) closed.push_back(meet);
    }
  }
  std::map<std::pair<int, int>, int> pointOf;
  for (const auto& pr : pairs) pointOf.emplace(pr, static_cast<int>(pointOf.size()));
  std::vector<std::vector<int>> components;
  for (const Bits& ys : closed) {
    std::vector<int> members;
    for (const auto& [a, n] : around) {
      if (!Covers(n, ys)) continue;
      for (int b = 0; b < seconds; ++b) {
        if (Has(ys, b)) members.push_back(pointOf.at({a, b}));
      }
    }
    std::sort(members.begin(), members.end());
    components.push_back(std::move(members));
  }
  std::sort(components.begin(), components.end());
  return components;
}

double Log10Binomial(double n, double k) {
  if (k < 0 || n < k) return -INFINITY;
  return (std::lgamma(n + 1) - std::lgamma(k + 1) - std::lgamma(n - k + 1)) / std::log(10.0);
}

// Vertices of a d-polytope with k facets, at most (the upper bound theorem).
double Log10UpperBound(double d, double k) {
  if (d <= 0) return 0;
  const double a = Log10Binomial(k - std::ceil(d / 2), std::floor(d / 2));
  const double b = Log10Binomial(k - std::floor(d / 2) - 1, std::ceil(d / 2) - 1);
  const double top = std::max(a, b);
  return std::isinf(top) ? 0 : top + std::log10(1 + std::pow(10.0, std::min(a, b) - top));
}

bool IsTable(const TExactForm& form) {
  return OneSetAtStart(form.Sides[0]) && OneSetAtStart(form.Sides[1]);
}

}  // namespace

namespace {

// A tree's polyhedron has a vertex for about every way of making each set's choices tight or
// not, the smaller of that and the upper bound theorem.
double Log10TreeVertices(const TSequenceSide& own, const TSequenceSide& other) {
  double sum = 0;
  for (int r = 1; r < own.Rows(); ++r) {
    sum +=
        std::log10(1.0 + static_cast<double>(own.SetChildren[static_cast<std::size_t>(r)].size()));
  }
  const double d = own.Sequences() + other.Rows() - own.Rows() - 1;
  const double k = own.Sequences() + other.Sequences() - 2;
  return std::min(sum, Log10UpperBound(d, k));
}

}  // namespace

double Log10VertexBound(const TExactForm& form) {
  if (IsTable(form)) {
    const TSequenceSide& own = form.Sides[0];
    return Log10UpperBound(own.Sequences() - 1, own.Sequences() + form.Sides[1].Sequences() - 2);
  }
  // The polyhedron of the player with fewer plans is the one enumerated.
  const int first = Log10Plans(form.Sides[1]) < Log10Plans(form.Sides[0]) ? 1 : 0;
  return Log10TreeVertices(form.Sides[static_cast<std::size_t>(first)],
                           form.Sides[static_cast<std::size_t>(1 - first)]);
}

double Log10VertexLimit(const TExactForm& form) {
  // A table's vertex costs microseconds and the bound is loose; a tree's vertex is met with a
  // search of a face of the other polyhedron, milliseconds.
  constexpr double kTableVertices = 1e10;
  constexpr double kTreeVertices = 1e6;
  return std::log10(IsTable(form) ? kTableVertices : kTreeVertices);
}

TExactEquilibria FindExtremeEquilibria(const TExactForm& form, const std::atomic<bool>& stop,
                                       const std::function<void()>& tick) {
  TExactEquilibria result;
  std::array<LabelledPolyhedron, 2> polyhedra;
  int universe = 0;
  const bool table = IsTable(form);
  if (table) {
    polyhedra = StrategyPolytopes(form);
    universe =
        static_cast<int>(form.Sides[0].SetChildren[1].size() + form.Sides[1].SetChildren[1].size());
  } else {
    polyhedra = {SequencePolyhedron(form, 0), SequencePolyhedron(form, 1)};
    universe = form.Sides[0].Sequences() + form.Sides[1].Sequences();
  }
  for (LabelledPolyhedron& p : polyhedra) IndexLabels(p, universe);
  // A tree's polyhedra have about as many vertices as their player has plans: the one with
  // fewer is enumerated, and the other's faces solved.
  const int first = !table && Log10Plans(form.Sides[1]) < Log10Plans(form.Sides[0]) ? 1 : 0;
  Pairing pairing{polyhedra, universe, first, {}, {}, {}};
  const TRowTester second(pairing.Other().Shape);
  std::vector<int> rows;
  std::vector<std::vector<mpq_class>> points;
  result.End = EnumerateVertices(
      pairing.Enumerated().Shape, stop,
      [&](const TPolyhedronVertex& v) {
        ++result.Vertices[0];
        // The origin of a table's polytope stands for no strategy.
        if (std::all_of(v.Numerators.begin(), v.Numerators.end(),
                        [](const mpz_class& z) { return sgn(z) == 0; })) {
          return;
        }
        if (!pairing.Needed(v.Tight, rows)) return;
        points.clear();
        if (!FaceByOneSystem(second, rows, points)) {
          pairing.Searches.emplace_back(v.Exact(), rows);
          return;
        }
        if (points.empty()) return;
        const std::vector<mpq_class> x = v.Exact();
        for (const auto& y : points) pairing.Pair(x, y);
      },
      tick);
  // What the search met before a stop is kept: each pair found is an equilibrium.
  if (result.End != TEnumerationEnd::Stopped) SearchFaces(pairing, stop, tick, result);
  const std::vector<std::pair<int, int>> pairs(pairing.Pairs.begin(), pairing.Pairs.end());
  for (const auto& [a, b] : pairs) {
    result.Points.push_back({{pairing.Plans[0].Plans[static_cast<std::size_t>(a)],
                              pairing.Plans[1].Plans[static_cast<std::size_t>(b)]}});
  }
  result.Components = Bicliques(pairs, static_cast<int>(pairing.Plans[1].Plans.size()));
  return result;
}

}  // namespace ludomark
