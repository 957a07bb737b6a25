// The first and last prime of a window [low, high] anywhere below 2^64,
// found by testing the numbers inward from each end: a few dozen tests on
// average, far cheaper than a sieve when only the ends are wanted (the
// chunks of a range command need them to find the pair of consecutive
// primes across each border).
#pragma once

#include <cstdint>

namespace ntb {

// The first and last prime of [low, high], 0 for none (low <= high).
struct PrimeEnds {
  uint64_t first = 0, last = 0;
};
PrimeEnds prime_ends(uint64_t low, uint64_t high);

}  // namespace ntb
