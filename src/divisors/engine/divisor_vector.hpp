// The counting pass of the divisor-count listings: for a bound N, how many
// integers up to N have exactly tau divisors, for every tau, and the number
// of primes up to N.
#pragma once

#include <array>
#include <cstdint>

#include "numtheory/tables/tables.hpp"

namespace ntb {

// No integer up to 2147483647 has more than 1600 divisors.
inline constexpr int32_t kVectorSlots = 2000;

struct DivisorVector {
  // slot[tau], 1-based (slot[0] unused): the integers up to N with tau
  // divisors.  Kept in 64 bits so that an edited table, whose entries need
  // not be primes, cannot overflow them.
  std::array<int64_t, kVectorSlots + 1> slot{};
  int64_t composites = 0;  // C: the composites met by the pass
  int32_t primes = 0;      // N - C - 1

  void clear() { *this = DivisorVector{}; }
  // Slot tau, 0 outside 1..2000.
  int64_t at(int64_t tau) const { return tau >= 1 && tau <= kVectorSlots ? slot[tau] : 0; }
};

// The least bound the vector is made for: at N = 0 it would report -1
// primes, so the command asks again.
inline constexpr int32_t kDivisorVectorLeast = 1;

// Fills v for N >= 0 (N = 0 leaves only slot 1 = 1 and -1 primes; the
// command never asks for it).  Counts follow y's current contents.
void count_divisor_vector(int32_t N, const Tables& t, DivisorVector& v);

// Value form.
inline DivisorVector divisor_vector_of(int32_t N, const Tables& t) {
  DivisorVector v;
  count_divisor_vector(N, t, v);
  return v;
}

}  // namespace ntb
