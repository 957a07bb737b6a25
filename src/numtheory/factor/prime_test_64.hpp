// Whether a 64-bit number is prime, by a deterministic Miller-Rabin test:
// the seven bases 2, 325, 9375, 28178, 450775, 9780504 and 1795265022 admit
// no composite below 2^64.  The squarings run in Montgomery form (a
// multiplication and a high half instead of a 128-bit division), so a test
// costs about a microsecond: for a short window high up, testing its
// candidates beats a sieve, whose start-up alone needs the primes up to
// sqrt(b).
#pragma once

#include <cstdint>

namespace ntb {

bool is_prime_u64(uint64_t n);

}  // namespace ntb
