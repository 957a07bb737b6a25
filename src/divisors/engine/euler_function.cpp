// Euler's function through the prime factors of primefac.
#include "divisors/engine/euler_function.hpp"

#include <cmath>

#include "numtheory/factor/factor.hpp"

namespace ntb {

int32_t euler_function(int32_t n) {
  Factors r;
  primefac(n, r);
  double factor = 1.0;
  for (int32_t i = 1; i <= r.nf; ++i) factor = factor * (1.0 - 1.0 / r.f[i]);
  // |n * factor| <= |n|, so the rounded value fits 32 bits.
  return static_cast<int32_t>(std::round(n * factor));
}

}  // namespace ntb
