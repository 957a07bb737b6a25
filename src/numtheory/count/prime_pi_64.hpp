// pi(x), the number of primes up to x, past the 32-bit range: for every x of
// 0..2^64 - 1 in 64 bits and up to 10^31 in 128 bits.  Below 2^31 the
// program's own prime_pi answers (faster there than any start-up of a
// general method); above, libprimecount's combinatorial method (Gourdon's
// algorithm, about x^(2/3) work, on several threads).  Near the few points
// past 2^63 whose counts are known (2^63, 10^19, 2^64 - 1) the count is the
// known one adjusted by a sieve of the numbers in between, far less work
// than the combinatorial method at that size when the point is close.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "numtheory/decimal_digits.hpp"

namespace ntb {

// The largest x pi_u128 accepts: 10^31, libprimecount's limit.
inline constexpr uint128 kPiU128Max = uint128{1000000000000000} * 10000000000000000u;

// pi(2^64 - 1): the number of primes below 2^64.
inline constexpr uint64_t kPrimeCount64 = 425656284035217743u;

// Known counts past 2^63, and how far from one of them the sieve of the
// numbers in between is still the cheaper way.
struct KnownPrimeCount {
  uint64_t x, pi;
};
inline constexpr std::array<KnownPrimeCount, 3> kKnownPrimeCounts{{
    {9223372036854775808u, 216289611853439384u},   // 2^63
    {10000000000000000000u, 234057667276344607u},  // 10^19
    {18446744073709551615u, kPrimeCount64},        // 2^64 - 1
}};

// The number of primes <= x for 0 <= x <= 2^64 - 1 on `threads` threads
// (default_thread_count() when 0 or less).  The combinatorial method runs as
// one call that cannot be stopped halfway: interruption_point() is polled
// before and after it, and between the segments of a sieve.  When progress
// is given it holds the fraction done (0 to 1): the sieve's share as it goes,
// and 1 once the count is known.
uint64_t prime_pi_64(uint64_t x, int threads = 0, std::atomic<double>* progress = nullptr);

// The number of primes <= x for 0 <= x <= kPiU128Max; throws
// std::out_of_range past it.  Below 2^64 it is prime_pi_64.
uint128 pi_u128(uint128 x, int threads = 0, std::atomic<double>* progress = nullptr);

}  // namespace ntb
