// The odd numbers that pass lista's primality test, trial division by the
// entries of y, found a window at a time by a sieve.
//
// The test: an odd c passes when no entry y(1..n) with n = findp(isqrt(c))
// divides it; entries below 2 divide nothing.  The sieve marks in a window
// of odd numbers the odd multiples of the entries, but each entry y(i) only
// over the numbers c whose own n reaches i.  n depends on c only through
// s = isqrt(c), which changes a few times per window high in the range: the
// entries up to the least n of the window mark all of it, the few above
// only the stretches of s whose n reaches them.  With y as built this is the
// sieve of Eratosthenes by the primes up to the square root; on an edited
// table it is the trial division by whatever y holds, in any order, with
// duplicates, composites and values above the candidates.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "numtheory/interrupt.hpp"
#include "numtheory/tables/tables.hpp"

namespace ntb {

class FindpLookup;

class TrialSieve {
 public:
  TrialSieve();
  ~TrialSieve();

  // Calls take(c) for every odd c > n (n >= 0) that passes the test, in
  // ascending order up to 2147483647, while take returns true.
  template <class Take>
  void each_after(int32_t n, const Tables& t, Take&& take);

  // The same a 64-bit word at a time: visit(base, bits) for every word with
  // a passing number, bit i standing for base + 2i (the numbers up to n
  // cleared), while visit returns true.
  template <class Visit>
  void each_word_after(int32_t n, const Tables& t, Visit&& visit);

  // The first odd number above n that passes, or 0 when none is left up to
  // 2147483647.
  int32_t next_after(int32_t n, const Tables& t) {
    int32_t found = 0;
    each_after(n, t, [&](int32_t c) {
      found = c;
      return false;
    });
    return found;
  }

 private:
  static constexpr int32_t kOdds = 1 << 17;   // odd numbers a window holds
  static constexpr int32_t kBlock = 1 << 14;  // slots marked at a time by small entries
  static constexpr int64_t kTop = 2147483647;

  // Sieves the window of the odd numbers lo, lo + 2, ... (lo = 1 + 2 kOdds w).
  void sieve(int64_t lo, const Tables& t);
  void prepare(const Tables& t);
  int32_t n_of(int32_t s, const Tables& t) const;
  const std::vector<uint8_t>& pattern(int32_t group, int32_t mask);

  int64_t lo_ = -1;  // first number of the sieved window; -1 before any
  uint64_t stamp_ = 0;
  bool pristine_ = false;
  std::shared_ptr<const FindpLookup> findp_;  // on an edited table
  // First index in y of each value laid down by a pattern (3, 5, ..., 47).
  std::array<std::array<int32_t, 5>, 4> first_small_{};
  std::array<std::array<std::vector<uint8_t>, 32>, 4> patterns_;
  std::vector<int32_t> n_;          // n for each s of the window
  std::vector<int64_t> next_;       // per index: the next odd multiple to mark, -1 unknown
  std::vector<uint8_t> composite_;  // byte i: lo + 2i fails the test
  std::vector<uint64_t> passing_;   // bit i: lo + 2i passes
  struct Multiple {
    int64_t p, slot;  // the entry, the slot of its next odd multiple
    int32_t index;    // its index in y
  };
  std::vector<Multiple> small_, large_;
};

template <class Visit>
void TrialSieve::each_word_after(int32_t n, const Tables& t, Visit&& visit) {
  int64_t c = n % 2 == 0 ? int64_t{n} + 1 : int64_t{n} + 2;
  while (c <= kTop) {
    interruption_point();
    const int64_t lo = c - (c - 1) % (2 * int64_t{kOdds});
    if (lo != lo_ || t.version != stamp_ || t.y_pristine != pristine_) sieve(lo, t);
    const uint64_t* bits = passing_.data();
    const int32_t j = static_cast<int32_t>((c - lo) / 2);
    uint64_t z = bits[j >> 6] & (~uint64_t{0} << (j & 63));
    for (int32_t w = j >> 6;;) {
      if (z && !visit(lo + 128 * int64_t{w}, z)) return;
      if (++w == kOdds / 64) break;
      z = bits[w];
    }
    c = lo + 2 * int64_t{kOdds};
  }
}

template <class Take>
void TrialSieve::each_after(int32_t n, const Tables& t, Take&& take) {
  each_word_after(n, t, [&](int64_t base, uint64_t z) {
    for (; z; z &= z - 1)
      if (!take(static_cast<int32_t>(base + 2 * __builtin_ctzll(z)))) return false;
    return true;
  });
}

}  // namespace ntb
