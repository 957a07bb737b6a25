// Counting the primes up to any N from 11 to 2147483647 without a pass over
// the numbers up to N: inclusion-exclusion over the primes up to N/2000000,
// closed formulas for the numbers free of 2, 3, 5 and 7, and the numbers
// made of two or more larger primes counted through their cofactors.  Every
// prime count below 2000000 is a search in y, so the count follows the
// table's current contents.
#pragma once

#include <cstdint>

#include "primes/tables.hpp"

namespace ntb {

// The number of integers in 1..x free of 2, 3, 5 and 7 (1 included); 2 for
// x below 13.  x is consumed (reduced); the function value is the number
// subtracted for the multiples of 7.
int32_t coprime7(int32_t& x, int32_t& count);

// N (11..2147483647, whole) in, the number of primes up to N out.
void trova1(double& N, const Tables& t);

// Value form: the number of primes up to n (n from 11 up) per trova1.
inline int32_t trova1_of(int32_t n, const Tables& t) {
  double v = n;
  trova1(v, t);
  return static_cast<int32_t>(v);
}

}  // namespace ntb
