// The primitive Pythagorean triplets of the triplets submenu: A = 2mn,
// B = m^2 - n^2, C = m^2 + n^2 from Euclid's formula, for 1 <= n < m <= 8
// with m and n of opposite parity.  Within these bounds 6, 3 is the only
// such pair with a common factor (it gives 36 27 45), so it is left out and
// every other pair gives a primitive triplet: fifteen of them, in the order
// of m, then n.
#pragma once

#include <array>
#include <cstdint>

namespace ntb {

struct PythagoreanTriplet {
  int32_t a = 0, b = 0, c = 0;  // a^2 + b^2 = c^2
};

inline constexpr int kPythagoreanCount = 15;

std::array<PythagoreanTriplet, kPythagoreanCount> primitive_triplets();

}  // namespace ntb
