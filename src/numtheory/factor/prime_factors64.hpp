// The prime factors of a 64-bit unsigned integer as the factoring engine
// hands them out: with repetition, ascending once factorize_u64 is done.
#pragma once

#include <array>
#include <cstdint>

namespace ntb {

// 64 slots hold the factors of any 64-bit n (2^63 has the most: 63).  The
// slots from count on are 0.
struct PrimeFactors64 {
  int count = 0;
  std::array<uint64_t, 64> p{};

  void push(uint64_t prime) {
    if (count < static_cast<int>(p.size())) p[count++] = prime;
  }
};

}  // namespace ntb
