// Every integer n <= N with exactly K divisors, in ascending order, each with
// its sum of divisors, its Euler function and its prime factors.
//
// The divisor-count listing of the workbench walks prefixes and meets the
// integers in its own order; here they come out ascending, however many there
// are, with memory that does not grow with N: a segmented sieve over blocks
// of 2^15 integers.  Every prime power p^k <= N with p <= sqrt(N) marks its
// multiples in the block: the product of the prime powers found so far, the
// divisor count and the distinct primes.  What a number has left after the
// primes up to sqrt(N) (n over the product) is 1 or one more prime.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace ntb {

// The bounds the listing takes: N and K from 1 to 2147483647 (no integer up to
// 2147483647 has more than 1600 divisors, so a larger K lists nothing).
inline constexpr int32_t kDivisorClassLeast = 1;

struct DivisorClassRow {
  int32_t n = 0;
  int64_t sigma = 0;  // sum of the divisors
  int32_t phi = 0;    // Euler's function
  int32_t count = 0;  // prime factors with repetition, p[0..count-1] ascending
  std::array<int32_t, 31> p{};
};

// Calls row() for every n in 1..N with K divisors, ascending; row returns
// false to stop.  N, K >= 1.
void for_each_with_tau(int32_t N, int32_t K,
                       const std::function<bool(const DivisorClassRow&)>& row);

}  // namespace ntb
