// pi(x), the number of primes up to x, for 0 <= x <= 2^31 - 1, computed on
// its own: it needs none of the program's tables, only the primes up to
// sqrt(x), which it sieves itself.
#pragma once

#include <cstdint>

namespace ntb {

inline constexpr int64_t kPrimePiMax = 2147483647;

// The number of primes <= x for 0 <= x <= kPrimePiMax (0 below 2).  Needs no
// Tables: it builds only the primes up to sqrt(x) it needs.
int64_t prime_pi(int64_t x);

}  // namespace ntb
