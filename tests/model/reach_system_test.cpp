#include "model/reach_system.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/random.h"
#include "solver/dense_solve.h"

namespace ludomark {
namespace {

// Random sub-stochastic systems with cycles, self-loops and parallel edges: solving by
// components gives what the dense system gives, both ways.
TEST(ReachSystem, SolvesAsTheDenseSystemDoes) {
  TUniformRandom random(11);
  for (int trial = 0; trial < 60; ++trial) {
    const int n = 1 + trial % 25;
    std::vector<TReachSystem::Edge> edges;
    std::vector<double> weights;
    for (int e = 0; e < 2 * n; ++e) {
      const int from = 1 + static_cast<int>(random.Next() * n);
      // Mostly forward, so that there are acyclic parts between the cycles.
      const int to = random.Next() < 0.7
                         ? std::min(n, from + 1 + static_cast<int>(random.Next() * 3))
                         : 1 + static_cast<int>(random.Next() * n);
      edges.push_back({from, to});
      weights.push_back(0.3 * random.Next());
    }
    edges.push_back({0, 1});  // outside the nodes: ignored
    weights.push_back(0.9);
    TReachSystem system;
    system.Build(n, edges);
    ASSERT_TRUE(system.Factor(weights));
    std::vector<double> a(static_cast<std::size_t>(n * n), 0.0);
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i)
      a[i * static_cast<std::size_t>(n) + i] = 1;
    for (std::size_t e = 0; e + 1 < edges.size(); ++e) {
      a[static_cast<std::size_t>((edges[e].From - 1) * n + edges[e].To - 1)] -= weights[e];
    }
    std::vector<double> b(static_cast<std::size_t>(n));
    for (double& x : b) x = random.Next() * 10 - 5;
    std::vector<double> column = b;
    system.SolveColumn(column);
    std::vector<double> dense = a;
    std::vector<double> expected = b;
    ASSERT_TRUE(SolveDense(dense, expected, n));
    for (int i = 0; i < n; ++i) EXPECT_NEAR(column[i], expected[i], 1e-12) << trial;
    std::vector<double> transposed(a.size());
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) transposed[i * n + j] = a[j * n + i];
    }
    std::vector<double> row = b;
    system.SolveRow(row);
    expected = b;
    ASSERT_TRUE(SolveDense(transposed, expected, n));
    for (int i = 0; i < n; ++i) EXPECT_NEAR(row[i], expected[i], 1e-12) << trial;
  }
}

TEST(ReachSystem, CertainCyclesAndNumbersThatAreNotFiniteAreSingular) {
  TReachSystem system;
  system.Build(3, {{1, 2}, {2, 3}, {3, 2}, {3, 3}});
  EXPECT_TRUE(system.Factor({1, 0.5, 0.5, 0.5}));
  EXPECT_FALSE(system.Factor({1, 1, 1, 0}));    // 2 and 3 pass play on for ever
  EXPECT_FALSE(system.Factor({1, 0, 0, 1}));    // 3 stays for ever
  EXPECT_FALSE(system.Factor({NAN, 0, 0, 0}));  // a weight that is no number
  const std::atomic<bool> stop{true};
  EXPECT_FALSE(system.Factor({1, 0.5, 0.5, 0.5}, &stop));
}

}  // namespace
}  // namespace ludomark
