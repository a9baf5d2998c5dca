#include "model/random.h"

namespace ludomark {

TUniformRandom& SharedRandom() {
  // One per thread: runs on worker threads each draw their own repeatable sequence.
  static thread_local TUniformRandom generator;
  return generator;
}

}  // namespace ludomark
