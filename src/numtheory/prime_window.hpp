// The next prime after any 32-bit number, by a segmented sieve of a window
// of odd numbers with the primes of y: stepping from prime to prime over
// the whole 32-bit range takes seconds instead of the hours that trial
// division would.  It needs y as built (the primes up to 46341 in order).
#pragma once

#include <array>
#include <cstdint>

#include "numtheory/tables.hpp"

namespace ntb {

class PrimeWindow {
 public:
  // The smallest prime above n, or 0 when there is none up to 2147483647.
  int32_t next_after(int32_t n, const Tables& t);

 private:
  static constexpr int32_t kOdds = 1 << 18;  // odd numbers a window holds
  static constexpr int32_t kWords = kOdds / 64;

  // Sieves the window of the odd numbers lo, lo + 2, ... (lo odd).
  void sieve(int64_t lo, const Tables& t);

  int64_t lo_ = -1;  // first number of the window; -1 before the first sieve
  std::array<uint64_t, kWords> composite_{};  // bit i: lo_ + 2i is not prime
};

}  // namespace ntb
