// phi(x, a): the number of integers in 1..x with no prime factor among the
// first a primes, for the table as built.
//
// Legendre's recursion phi(x, a) = phi(x, a-1) - phi(x / p_a, a-1), cut short
// two ways: for a <= 6 by the period 30030 = 2*3*5*7*11*13 (small_phi), and when x is
// below the square of the next prime, where only 1 and the primes
// p_a < p <= x remain.  The prime counts come from PiLookup, so every x that
// reaches a count lies below p_(a+1)^2 <= 1409^2 < 2000390 for a <= 218
// (trova1 asks for a <= 180).
#pragma once

#include <cstdint>

#include "numtheory/tables/tables.hpp"

namespace ntb {

// x from 0 to 2147483647, a from 4 to 218; t pristine.
int64_t legendre_phi(int32_t x, int32_t a, const Tables& t);

}  // namespace ntb
