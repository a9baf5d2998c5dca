#pragma once

#include <cstdint>
#include <random>

namespace ludomark {

// Uniform pseudo-random numbers on [0, 1); the same seed gives the same sequence everywhere.
class TUniformRandom {
 public:
  explicit TUniformRandom(uint64_t seed = 1) : engine_(seed) {}
  void Seed(uint64_t seed) { engine_.seed(seed); }
  double Next() {
    // The top 53 bits fill a double's mantissa exactly, so 1 is never reached.
    return static_cast<double>(engine_() >> 11) * (1.0 / 9007199254740992.0);
  }

 private:
  std::mt19937_64 engine_;
};

// The program's generator (one per thread): artificial node placement and the sampling starts
// share it.
TUniformRandom& SharedRandom();

}  // namespace ludomark
