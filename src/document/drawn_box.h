#pragma once

#include "model/game_object.h"
#include "model/geometry.h"

namespace ludomark {

// A box, in model units, that holds everything the element draws (its label and values
// included), so that a window can skip what lies out of its view. Generous, never too small.
TRect DrawnBox(TGameObject32* element);

inline bool Overlaps(const TRect& a, const TRect& b) {
  return a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
}

}  // namespace ludomark
