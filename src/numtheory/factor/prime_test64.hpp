// Whether a 64-bit unsigned integer is prime, proven for every n below
// 2^64 (no probable primes).
#pragma once

#include <cstdint>

namespace ntb {

bool is_prime_u64(uint64_t n);

}  // namespace ntb
