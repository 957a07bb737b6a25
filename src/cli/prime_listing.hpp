// The listings of primes shared by primes, gaps and twins: the index of the
// first prime of a range, and the pairs of consecutive primes of a range
// whose gap lies in G1..G2.
#pragma once

#include <cstdint>

#include "cli/command.hpp"

namespace ntb::cli {

// The number of primes below a.
int64_t primes_below(int64_t a);

// The pairs p < q of consecutive primes with a <= p, q <= b and
// g1 <= q - p <= g2, a row each: index_p p index_q q gap.
int consecutive_pairs(Channels& io, int64_t g1, int64_t g2, int64_t a, int64_t b);

}  // namespace ntb::cli
