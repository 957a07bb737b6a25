// The pairs of one even number N, as the one-shot answers give them: the
// unordered pairs {a, b} of odd numbers, a, b >= 3, with a + b = N, counted
// by kind (both prime, one prime and one composite, both composite), and the
// prime pairs listed.  The counts are those of the first Goldbach entry (the
// two passes of column 5 and the arithmetic after them) on the tables as
// built, so they are the true counts for every even N from 6 to kGoldbachTop.
#pragma once

#include <cstdint>
#include <functional>

#include "goldbach/engine/counts.hpp"

namespace ntb {

struct EvenPairs {
  int64_t prime = 0, mixed = 0, composite = 0;
};

// N even, 6..kGoldbachTop.
EvenPairs even_pairs_of(int32_t N);

// Calls row(a, b) for every pair of primes a <= b with a + b = N, a
// ascending; row returns false to stop.  N even, 6..kGoldbachTop.
void for_each_prime_pair(int32_t N, const std::function<bool(int32_t, int32_t)>& row);

}  // namespace ntb
