// The first and last prime of a window, by testing inward from each end.
#include "numtheory/sieve/prime_ends.hpp"

#include "numtheory/factor/prime_test64.hpp"

namespace ntb {

PrimeEnds prime_ends(uint64_t low, uint64_t high) {
  PrimeEnds ends;
  for (uint64_t n = low;;) {  // upward over 2 and the odd numbers
    if (is_prime_u64(n)) {
      ends.first = n;
      break;
    }
    const uint64_t step = n > 2 && n % 2 == 1 ? 2 : 1;
    if (high - n < step) return ends;
    n += step;
  }
  for (uint64_t n = high;;) {  // downward, down to the first found at worst
    if (is_prime_u64(n)) {
      ends.last = n;
      return ends;
    }
    n -= n > 3 && n % 2 == 1 ? 2 : 1;
  }
}

}  // namespace ntb
