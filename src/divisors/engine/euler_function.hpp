// Euler's function of one number, as the product N * prod(1 - 1/p) over the
// distinct primes p of N, taken in 64-bit floating point and rounded to the
// nearest whole number (halves away from zero).
#pragma once

#include <cstdint>

namespace ntb {

// n from kEulerLeast to 2147483647.
inline constexpr int32_t kEulerLeast = 2;
int32_t euler_function(int32_t n);

}  // namespace ntb
