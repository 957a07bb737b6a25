// The number of integers in 1..q that have none of the prime factors 2, 3, 5
// and 7 (1 included): the term G(q) of the inclusion-exclusion in trova1, and
// the reduced count of both methods once these primes have been taken out of
// y.  1 for q from 1 to 10 (coprime7 starts at 11), the count of coprime7
// above (by the period 210), and 0 for q below 1.
#pragma once

#include <cstdint>

#include "numtheory/count/prime_count.hpp"

namespace ntb {

inline int32_t free_of_2357(int32_t q) {
  if (q < 1) return 0;
  if (q < 11) return 1;
  return coprime7_of(q);
}

}  // namespace ntb
