// A constant-time prime count below 2000390 for the table as built.
//
// On a pristine y, findp(x) is the number of primes up to x for every x below
// 2000390.  The same number comes here from a bit per odd number and a
// running count per 64 bits, built once from y on first use (every pristine
// table holds the same primes, so one build serves them all).
#pragma once

#include <cstdint>

#include "numtheory/tables/tables.hpp"

namespace ntb {

inline constexpr int32_t kPiLookupTop = 2000390;  // lookups serve x below this

class PiLookup {
 public:
  // The lookup for a pristine table (t.y_pristine must hold).
  static const PiLookup& of(const Tables& t);

  // findp(x) on a pristine table, for any x.
  int32_t operator()(int32_t x, const Tables& t) const {
    if (x >= kPiLookupTop) return findp_of(x, t);
    if (x < 2) return 0;
    const uint32_t j = static_cast<uint32_t>(x - 1) >> 1;  // odd numbers 3..x are slots 1..j
    const uint64_t mask = ~uint64_t{0} >> (63 - (j & 63));
    return before_[j >> 6] + __builtin_popcountll(bits_[j >> 6] & mask);
  }

 private:
  static constexpr int32_t kWords = (kPiLookupTop / 2 + 64) / 64 + 1;
  void build(const Tables& t);

  uint64_t bits_[kWords] = {};   // slot j stands for 2j+1; slot 0 stands for 2
  int32_t before_[kWords] = {};  // primes in the slots of the words before
};

}  // namespace ntb
