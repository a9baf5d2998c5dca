#include "model/geometry.h"

#include <gtest/gtest.h>

#include "model/settings.h"

namespace ludomark {
namespace {

struct ZoomGuard {
  explicit ZoomGuard(double z) { Zoom = z; }
  ~ZoomGuard() { Zoom = 1.0; }
};

TEST(Geometry, RoundingIsHalfToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.51), 3);
  EXPECT_EQ(SnapToGrid(25), 20);
  EXPECT_EQ(SnapToGrid(35), 40);
  EXPECT_EQ(SnapToGrid(-14), -10);
  EXPECT_EQ(SnapToGrid(16), 20);
}

TEST(Geometry, ScreenConversionFollowsZoom) {
  ZoomGuard zoom(1.5);
  EXPECT_EQ(ToScreen(10), 15);
  EXPECT_EQ(ToScreen(1), 2);  // 1.5 rounds to 2
  EXPECT_EQ(ToScreen(3), 4);  // 4.5 rounds to 4
  EXPECT_EQ(FromScreen(15), 10);
  EXPECT_EQ(FromScreen(-3), -2);
}

TEST(Geometry, UnionRectAcceptsAnyOrientation) {
  const TRect a{10, 50, 0, 20};  // right-to-left, bottom-to-top
  const TRect b{-5, 30, 5, 60};
  EXPECT_EQ(UnionRect(a, b), (TRect{-5, 20, 10, 60}));
}

}  // namespace
}  // namespace ludomark
