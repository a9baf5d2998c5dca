#include "model/matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "model/random.h"
#include "model/vector.h"

namespace ludomark {
namespace {

TEST(Vector, OneBasedWithSilentEdges) {
  TVector v(3);
  EXPECT_EQ(v.Count(), 3);
  v.Put(/*add=*/false, 3, 2.5);
  v.Put(/*add=*/true, 3, 1.0);
  EXPECT_EQ(v.Get(3), 3.5);
  EXPECT_EQ(v.Get(4), 0);
  EXPECT_EQ(v.Get(-1), 0);
  v.Put(/*add=*/false, 4, 1);
  v.Put(/*add=*/false, -1, 1);
  EXPECT_EQ(v.Get(4), 0);
  v.Put(/*add=*/false, 0, 9);  // index 0 exists
  EXPECT_EQ(v.Get(0), 9);

  TBoolVect b(2);
  b.Put(2, /*flag=*/true);
  b.Put(3, /*flag=*/true);
  EXPECT_TRUE(b.Get(2));
  EXPECT_FALSE(b.Get(3));
  EXPECT_FALSE(b.Get(-5));
}

TEST(Vector, DotNeedsEnoughEntriesAndRestartsAfterOverflow) {
  TVector v(3);
  TVector w(3);
  for (int i = 1; i <= 3; ++i) {
    v.Put(/*add=*/false, i, i);
    w.Put(/*add=*/false, i, 10 * i);
  }
  EXPECT_EQ(TVector::Dot(3, 0, v, w), 10 + 40 + 90);
  EXPECT_EQ(TVector::Dot(1, 2, v, w), 3 * 10);
  EXPECT_EQ(TVector::Dot(2, 2, v, w), 0);  // would need v(4)
  EXPECT_EQ(TVector::SqrLength(3, v), 14);
  v.Put(/*add=*/false, 1, 1e200);
  w.Put(/*add=*/false, 1, 1e200);
  EXPECT_EQ(TVector::Dot(3, 0, v, w), 40 + 90);  // the overflowing first term restarts the sum
}

// The inverse lands right of the left block; multiplying back gives the identity.
void ExpectInverse(const TMatrix& m, const std::vector<std::vector<double>>& a) {
  const int n = static_cast<int>(a.size());
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) {
      double sum = 0;
      for (int k = 1; k <= n; ++k) sum += a[i - 1][k - 1] * m.Get(k, m.Capacity() + j);
      EXPECT_NEAR(sum, i == j ? 1.0 : 0.0, 1e-9) << i << "," << j;
    }
  }
}

std::unique_ptr<TMatrix> Load(const std::vector<std::vector<double>>& a) {
  const int n = static_cast<int>(a.size());
  auto m = std::make_unique<TMatrix>(nullptr, true, n, n);
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) m->Put(/*add=*/false, i, j, a[i - 1][j - 1]);
  }
  return m;
}

TEST(Matrix, EdgesAndShapes) {
  TMatrix m(nullptr, /*augmented=*/true, 2, 3);
  EXPECT_EQ(m.Width(), 4);
  EXPECT_EQ(m.Rows(), 3);
  m.Put(/*add=*/false, 3, 4, 7);
  EXPECT_EQ(m.Get(3, 4), 7);
  m.Put(/*add=*/false, 4, 1, 7);
  m.Put(/*add=*/false, 1, 5, 7);
  EXPECT_EQ(m.Get(4, 1), 0);
  EXPECT_EQ(m.Get(1, 5), 0);
  m.SetRows(5);
  EXPECT_EQ(m.Rows(), 3);
  m.SetRows(2);
  EXPECT_EQ(m.Rows(), 2);
  m.Put(/*add=*/false, 1, 1, 4);
  m.Zero();
  EXPECT_EQ(m.Get(1, 1), 0);
  EXPECT_EQ(m.Get(3, 4), 7);  // Zero clears the left part only
}

TEST(Matrix, InvertsWithRowExchanges) {
  auto swap = Load({{0, 1}, {1, 0}});
  swap->Invert();
  ASSERT_FALSE(swap->Singular);
  EXPECT_EQ(swap->Get(1, 3), 0);
  EXPECT_EQ(swap->Get(1, 4), 1);
  EXPECT_EQ(swap->Get(2, 3), 1);
  EXPECT_EQ(swap->Get(2, 4), 0);

  const std::vector<std::vector<double>> a = {{2, -1, 0}, {-1, 2, -1}, {0, -1, 2}};
  auto m = Load(a);
  m->Invert();
  ASSERT_FALSE(m->Singular);
  ExpectInverse(*m, a);
  EXPECT_DOUBLE_EQ(m->Get(1, 4), 0.75);

  TUniformRandom random(5);
  std::vector<std::vector<double>> big(40, std::vector<double>(40));
  for (auto& row : big) {
    for (double& x : row) x = random.Next() - 0.5;
  }
  auto r = Load(big);
  r->Invert();
  ASSERT_FALSE(r->Singular);
  ExpectInverse(*r, big);
}

TEST(Matrix, SingularCases) {
  auto zeroColumn = Load({{1, 0}, {2, 0}});
  zeroColumn->Invert();
  EXPECT_TRUE(zeroColumn->Singular);
  TMatrix empty(nullptr, /*augmented=*/true, 2, 2);
  empty.SetRows(0);
  empty.Invert();
  EXPECT_TRUE(empty.Singular);

  auto tiny = Load({{1e-151}});
  tiny->Invert();
  EXPECT_TRUE(tiny->Singular);
  auto limit = Load({{1e-150}});  // not below the pivot limit, but scaling refuses it
  limit->Invert();
  EXPECT_TRUE(limit->Singular);
  auto small = Load({{1e-149}});
  small->Invert();
  EXPECT_FALSE(small->Singular);
  EXPECT_DOUBLE_EQ(small->Get(1, 2), 1e149);

  auto huge = Load({{2, 1e150}, {0, 1}});  // an entry of 1e150 in a pivot row being scaled
  huge->Invert();
  EXPECT_TRUE(huge->Singular);
  auto unscaled = Load({{1, 1e150}, {0, 1}});  // a pivot of 1 is not scaled
  unscaled->Invert();
  EXPECT_FALSE(unscaled->Singular);

  for (double bad : {std::numeric_limits<double>::infinity(), std::nan("")}) {
    auto m = Load({{1, bad}, {0, 1}});
    m->Invert();
    EXPECT_TRUE(m->Singular);
  }
}

TEST(Matrix, FewerRowsThanCapacityUseTheTopLeftBlock) {
  TMatrix m(nullptr, /*augmented=*/true, 3, 3);
  m.Put(/*add=*/false, 1, 1, 2);
  m.Put(/*add=*/false, 2, 2, 4);
  m.Put(/*add=*/false, 3, 3, 0);  // outside the rows in use: never read
  m.SetRows(2);
  m.Invert();
  ASSERT_FALSE(m.Singular);
  EXPECT_DOUBLE_EQ(m.Get(1, 4), 0.5);
  EXPECT_DOUBLE_EQ(m.Get(2, 5), 0.25);
  EXPECT_EQ(m.Get(1, 5), 0);
}

}  // namespace
}  // namespace ludomark
