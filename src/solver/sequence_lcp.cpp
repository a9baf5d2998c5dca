#include "solver/sequence_lcp.h"

#include <algorithm>

namespace ludomark {

namespace {

// The plan that plays every choice alike.
std::vector<double> UniformPlan(const TSequenceForm::Side& side) {
  std::vector<double> plan(static_cast<std::size_t>(side.Sequences()), 0.0);
  plan[0] = 1;
  // Rows may come before the rows of the sets that lead to them: repeat until all are known.
  std::vector<char> known(side.SetParent.size(), 0);
  known[0] = 1;
  for (bool progress = true; progress;) {
    progress = false;
    for (std::size_t r = 1; r < side.SetParent.size(); ++r) {
      const int parent = side.SetParent[r];
      const auto& children = side.SetChildren[r];
      if (known[r] || (parent > 0 && plan[static_cast<std::size_t>(parent)] == 0)) continue;
      for (int c : children) {
        plan[static_cast<std::size_t>(c)] =
            plan[static_cast<std::size_t>(parent)] / static_cast<double>(children.size());
      }
      known[r] = 1;
      progress = true;
    }
  }
  return plan;
}

// The shift that makes every payoff of play that ends negative: adding it to every end
// changes each player's payoff by the same amount whatever is played.
double Shift(const std::vector<TSequenceForm::Entry>& entries, bool first) {
  double highest = 0;
  for (const auto& e : entries) {
    if (e.Mass > 0) highest = std::max(highest, (first ? e.A : e.B) / e.Mass);
  }
  return -highest - 1;
}

}  // namespace

TLcp SequenceFormLcp(const TSequenceForm& form, double tremble) {
  const TSequenceForm::Side& one = form.Sides[0];
  const TSequenceForm::Side& two = form.Sides[1];
  const int n1 = one.Sequences();
  const int n2 = two.Sequences();
  const int r1 = static_cast<int>(one.SetParent.size());
  const int r2 = static_cast<int>(two.SetParent.size());
  TLcp lcp;
  lcp.Size = n1 + n2 + 2 * r1 + 2 * r2;
  lcp.M.assign(static_cast<std::size_t>(lcp.Size) * static_cast<std::size_t>(lcp.Size), 0.0);
  lcp.Q.assign(static_cast<std::size_t>(lcp.Size), 0.0);
  const int y0 = n1;
  const int p0 = n1 + n2;
  const int q0 = p0 + 2 * r1;
  // The plans are x = x' + tremble u: the trembles' payoffs enter the right side.
  const std::vector<double> u1 = UniformPlan(one);
  const std::vector<double> u2 = UniformPlan(two);
  // Payoffs: -A y in the rows of x, -B^T x in the rows of y.
  const double shiftA = Shift(form.Entries, /*first=*/true);
  const double shiftB = Shift(form.Entries, /*first=*/false);
  for (const auto& e : form.Entries) {
    const double a = e.A + shiftA * e.Mass;
    const double b = e.B + shiftB * e.Mass;
    lcp.At(e.S1, y0 + e.S2) -= a;
    lcp.At(y0 + e.S2, e.S1) -= b;
    lcp.Q[static_cast<std::size_t>(e.S1)] -= a * tremble * u2[static_cast<std::size_t>(e.S2)];
    lcp.Q[static_cast<std::size_t>(y0) + static_cast<std::size_t>(e.S2)] -=
        b * tremble * u1[static_cast<std::size_t>(e.S1)];
  }
  // Constraints: E^T (p+ - p-) in the rows of x, (1 - tremble) e - E x' and its negative in
  // the rows of p+ and p- (the uniform plan meets E u = e).
  const auto place = [&](const TSequenceForm::Side& side, int variables, int values, int rows) {
    const auto put = [&](int r, int s, double c) {
      lcp.At(variables + s, values + r) += c;
      lcp.At(variables + s, values + rows + r) -= c;
      lcp.At(values + r, variables + s) -= c;
      lcp.At(values + rows + r, variables + s) += c;
    };
    put(0, 0, 1);
    for (int r = 1; r < rows; ++r) {
      put(r, side.SetParent[static_cast<std::size_t>(r)], -1);
      for (int c : side.SetChildren[static_cast<std::size_t>(r)]) put(r, c, 1);
    }
    lcp.Q[static_cast<std::size_t>(values)] = 1 - tremble;
    lcp.Q[static_cast<std::size_t>(values) + static_cast<std::size_t>(rows)] = -(1 - tremble);
  };
  place(one, 0, p0, r1);
  place(two, y0, q0, r2);
  return lcp;
}

std::array<std::vector<double>, 2> BehaviourFromLcp(const TSequenceForm& form,
                                                    const std::vector<double>& z) {
  std::array<std::vector<double>, 2> behaviour;
  std::size_t offset = 0;
  for (std::size_t p = 0; p < 2; ++p) {
    const TSequenceForm::Side& side = form.Sides[p];
    behaviour[p].assign(static_cast<std::size_t>(side.Sequences()), 0.0);
    for (std::size_t r = 1; r < side.SetChildren.size(); ++r) {
      const auto& children = side.SetChildren[r];
      double sum = 0;
      for (int c : children) sum += z[offset + static_cast<std::size_t>(c)];
      for (int c : children) {
        behaviour[p][static_cast<std::size_t>(c)] =
            sum > 0 ? z[offset + static_cast<std::size_t>(c)] / sum
                    : 1.0 / static_cast<double>(children.size());
      }
    }
    offset += static_cast<std::size_t>(side.Sequences());
  }
  return behaviour;
}

}  // namespace ludomark
