#pragma once

#include <cstdint>

namespace ludomark {

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TPoint&) const = default;
};

// Edges as given; InRect and UnionRect accept any orientation.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  bool operator==(const TRect&) const = default;
};

// Rounds to the nearest integer, halves to the even neighbour.
int32_t RoundHalfEven(double v);

int32_t ToScreen(double v);
int32_t FromScreen(double v);
int32_t SnapToGrid(double v);
inline int32_t Min(int32_t a, int32_t b) {
  return a < b ? a : b;
}
inline int32_t Max(int32_t a, int32_t b) {
  return a > b ? a : b;
}
TRect UnionRect(const TRect& a, const TRect& b);

}  // namespace ludomark
