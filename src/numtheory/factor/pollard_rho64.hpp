// A factor of a 64-bit composite by Pollard's rho method in Brent's form.
#pragma once

#include <cstdint>

namespace ntb {

// A proper factor of the odd composite n (n > 3), walking x -> x^2 + c
// mod n (1 <= c < n - 2) for at most about max_steps steps; 0 when the walk
// meets no factor within them, or when its cycles modulo all the prime
// factors of n close at once (then another c may succeed).
uint64_t pollard_rho_factor(uint64_t n, uint64_t c, uint64_t max_steps);

}  // namespace ntb
