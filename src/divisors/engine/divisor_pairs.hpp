// The divisors of one number in ascending order, found in pairs (i, N/i)
// for i up to the square root.
#pragma once

#include <array>
#include <cstdint>

namespace ntb {

// 2095133040 has 1600 divisors, the most of any integer up to 2147483647.
inline constexpr int32_t kMaxDivisors = 1600;

struct DivisorList {
  std::array<int32_t, kMaxDivisors + 1> D{};  // 1-based: D[1..m]
  int32_t m = 0;
};

// Fills dl with the divisors of N (N >= 1) in ascending order.
void ordered_divisors(int32_t N, DivisorList& dl);

// Value form.
inline DivisorList ordered_divisors_of(int32_t N) {
  DivisorList dl;
  ordered_divisors(N, dl);
  return dl;
}

}  // namespace ntb
