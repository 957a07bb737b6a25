// The prime factors of a 64-bit unsigned integer: the factoring engine
// behind the 64-bit factor, divisor and totient commands.
#pragma once

#include <cstdint>

#include "numtheory/factor/prime_factors64.hpp"

namespace ntb {

// The prime factors of n with repetition, ascending; none for n = 0 and
// n = 1.  The hardest n, products of two primes near 2^32, take about a
// tenth of a millisecond on average, rarely more than half of one.
PrimeFactors64 factorize_u64(uint64_t n);

}  // namespace ntb
