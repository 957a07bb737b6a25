// A factor of a 64-bit composite by Lenstra's elliptic curve method: the
// fastest way here to split products of two primes near 2^32.
#pragma once

#include <cstdint>

namespace ntb {

// A proper factor of the odd composite n, trying at most `curves` curves;
// 0 when none of them finds one.  The smoothness bounds grow with the size
// of n.  Meant for n without small prime factors: for n below 2^36, and
// when one curve meets all prime factors of n at once (a small n, or many
// small factors), curves are wasted and rho does better.
uint64_t ecm_factor(uint64_t n, int curves);

}  // namespace ntb
