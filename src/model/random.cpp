#include "model/random.h"

namespace ludomark {

TUniformRandom& SharedRandom() {
  static TUniformRandom generator;
  return generator;
}

}  // namespace ludomark
