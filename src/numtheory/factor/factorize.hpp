// The prime factors of a 32-bit unsigned integer, found fast: trial division
// by a few small primes, a deterministic Miller-Rabin test and Pollard-Brent
// rho for the composite part that remains.
#pragma once

#include <array>
#include <cstdint>

namespace ntb {

// The prime factors of n with repetition, ascending (0-based; count 0 for
// n = 0 and n = 1).  32 slots hold any 32-bit n (2^31 has 31 factors).
struct PrimeFactorList {
  int count = 0;
  std::array<uint32_t, 32> p{};
};

PrimeFactorList factorize(uint32_t n);

// Whether n is prime: Miller-Rabin to the bases 2, 7 and 61, which admit no
// composite below 2^32.
bool is_prime_u32(uint32_t n);

}  // namespace ntb
