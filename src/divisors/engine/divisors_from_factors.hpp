// The divisors of a 64-bit number built from its prime factors: the list in
// ascending order (every product of prime powers, then sorted), and the
// count tau and sum sigma, the sum in 128 bits since it may pass 2^64.
#pragma once

#include <cstdint>
#include <vector>

#include "numtheory/factor/prime_factors64.hpp"

namespace ntb {

// No number below 2^64 has more divisors than this.
inline constexpr uint64_t kMaxDivisors64 = 103680;

// The divisors of the number whose prime factors (ascending, with
// repetition) are f, ascending; {1} for no factors.
std::vector<uint64_t> divisors_from_factors(const PrimeFactors64& f);

struct DivisorSummary {
  uint64_t tau = 1;
  unsigned __int128 sigma = 1;
};

// tau and sigma of the number whose prime factors are f.
DivisorSummary divisor_summary(const PrimeFactors64& f);

}  // namespace ntb
