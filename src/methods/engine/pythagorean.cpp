// Euclid's formula over the pairs m > n of opposite parity up to 8, the
// pair 6, 3 left out.
#include "methods/engine/pythagorean.hpp"

namespace ntb {

std::array<PythagoreanTriplet, kPythagoreanCount> primitive_triplets() {
  std::array<PythagoreanTriplet, kPythagoreanCount> r{};
  int k = 0;
  for (int32_t m = 2; m <= 8; ++m) {
    for (int32_t n = 1; n <= 7; ++n) {
      if (n >= m || (m - n) % 2 == 0 || (m == 6 && n == 3)) continue;
      r[k++] = {2 * m * n, m * m - n * n, m * m + n * n};
    }
  }
  return r;
}

}  // namespace ntb
