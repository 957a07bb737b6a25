// Trial division of a 64-bit number by the odd primes below kTrialBound,
// each test one multiplication: for odd d, n is a multiple of d exactly
// when n * d^-1 mod 2^64 <= (2^64 - 1) / d, and then that product is n / d.
#pragma once

#include <cstdint>
#include <span>

#include "numtheory/factor/prime_factors64.hpp"

namespace ntb {

inline constexpr uint64_t kTrialBound = 2048;

struct OddPrimeDivisor {
  uint64_t p;
  uint64_t inverse;  // p^-1 mod 2^64
  uint64_t limit;    // (2^64 - 1) / p

  bool divides(uint64_t n) const { return n * inverse <= limit; }
};

// The odd primes below kTrialBound, ascending.
std::span<const OddPrimeDivisor> odd_trial_primes();

// n with its factors 2 and its odd prime factors below kTrialBound taken
// out; each one taken out is pushed on f, ascending.  What is left is 1, a
// prime, or a number without prime factors below kTrialBound, so that a
// rest above 1 and below kTrialBound^2 is prime.
uint64_t divide_out_small_primes(uint64_t n, PrimeFactors64& f);

}  // namespace ntb
