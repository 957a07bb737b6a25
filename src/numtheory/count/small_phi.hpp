// Legendre's phi(x, a) for a small a: the number of integers in 1..x with
// none of the first a primes (2, 3, 5, 7, 11, 13) as a factor.  Whether an
// integer has one of them depends only on its residue modulo their product
// P, so phi(x, a) = (x div P) T + phi(x mod P, a), T the residues prime to
// P; the counts over one period are worked out once, when the program is
// compiled, for every a up to 6 (P up to 30030).
#pragma once

#include <array>
#include <cstdint>

namespace ntb {

inline constexpr int kSmallPhiMaxA = 6;

namespace small_phi_detail {

inline constexpr uint32_t kPeriod[kSmallPhiMaxA + 1] = {1, 2, 6, 30, 210, 2310, 30030};
inline constexpr uint32_t kTotient[kSmallPhiMaxA + 1] = {1, 1, 2, 8, 48, 480, 5760};
// Where the period of a starts in kCounts.
inline constexpr uint32_t kStart[kSmallPhiMaxA + 2] = {0, 1, 3, 9, 39, 249, 2559, 32589};

// kCounts[kStart[a] + r]: the integers in 1..r prime to the first a primes.
extern const std::array<uint16_t, kStart[kSmallPhiMaxA + 1]> kCounts;

template <int a>
inline int64_t phi(uint64_t x) {
  return static_cast<int64_t>(x / kPeriod[a] * kTotient[a] + kCounts[kStart[a] + x % kPeriod[a]]);
}

}  // namespace small_phi_detail

// phi(x, a) for x >= 0 and 0 <= a <= kSmallPhiMaxA; every division is by a
// constant.
inline int64_t small_phi(int64_t x, int a) {
  namespace d = small_phi_detail;
  const auto u = static_cast<uint64_t>(x);
  switch (a) {
    case 0:
      return x;
    case 1:
      return d::phi<1>(u);
    case 2:
      return d::phi<2>(u);
    case 3:
      return d::phi<3>(u);
    case 4:
      return d::phi<4>(u);
    case 5:
      return d::phi<5>(u);
    default:
      return d::phi<6>(u);
  }
}

}  // namespace ntb
