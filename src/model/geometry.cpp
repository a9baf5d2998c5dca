#include "model/geometry.h"

#include <cmath>

#include "model/settings.h"

namespace ludomark {

int32_t RoundHalfEven(double v) {
  // nearbyint follows the default rounding mode, which is to nearest with ties to even.
  const double r = std::nearbyint(v);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) return r > 0 ? INT32_MAX : INT32_MIN;
  return static_cast<int32_t>(r);
}

int32_t ToScreen(double v) {
  return RoundHalfEven(v * Zoom);
}
int32_t FromScreen(double v) {
  return RoundHalfEven(v / Zoom);
}
int32_t SnapToGrid(double v) {
  return RoundHalfEven(v / 10.0) * 10;
}

TRect UnionRect(const TRect& a, const TRect& b) {
  const int32_t xs[] = {a.Left, a.Right, b.Left, b.Right};
  const int32_t ys[] = {a.Top, a.Bottom, b.Top, b.Bottom};
  TRect r{xs[0], ys[0], xs[0], ys[0]};
  for (int i = 1; i < 4; ++i) {
    r.Left = Min(r.Left, xs[i]);
    r.Right = Max(r.Right, xs[i]);
    r.Top = Min(r.Top, ys[i]);
    r.Bottom = Max(r.Bottom, ys[i]);
  }
  return r;
}

}  // namespace ludomark
