// Goldbach pair counts of every even number of a range at once.
//
// With the odd numbers written a = 2i + 3 and f(i) = 1 when 2i + 3 is prime,
// the self-convolution (f * f)(k) = sum over i + j = k of f(i) f(j) counts
// the ordered pairs of odd primes with sum 2k + 6.  The unordered pairs are
// half of that, plus a half for the pair {n/2, n/2} when n/2 is prime.
// The convolution is exact: a number-theoretic transform modulo the prime
// 998244353 = 119 * 2^23 + 1, whose group of units has elements of every
// order 2^m up to 2^23.  Every coefficient is at most k + 1, far below the
// modulus, so the residues are the counts themselves.
//
// The other two kinds follow by arithmetic.  For even n >= 6 there are
// T = n/4 - 1 (n a multiple of 4) or floor(n/4) pairs of odd numbers >= 3
// with sum n.  Of the Q odd primes p <= n - 3, 2P - h have a prime partner
// n - p (h = 1 when n/2 is prime), so M = Q - 2P + h pairs are mixed, and
// the C = T - P - M others are pairs of odd composites.
#pragma once

#include <cstdint>
#include <vector>

#include "numtheory/sieve/wheel_sieve.hpp"

namespace ntb {

inline constexpr uint32_t kNttPrime = 998244353;
inline constexpr uint32_t kNttMaxSize = uint32_t{1} << 23;

// The largest B of a range: its transform has at most 2^23 points (32 MiB).
inline constexpr uint32_t kGoldbachRangeTop = 8000000;

// Replaces f by its cyclic self-convolution modulo kNttPrime:
// c(k) = sum over i + j = k (mod size) of f(i) f(j).  The size is a power
// of two from 1 to kNttMaxSize, every value below kNttPrime.
void cyclic_self_convolution(std::vector<uint32_t>& f);

struct GoldbachRow {
  uint32_t n = 0;
  uint32_t prime_pairs = 0;      // {a, b}, both odd primes
  uint32_t mixed_pairs = 0;      // one odd prime, one odd composite
  uint32_t composite_pairs = 0;  // both odd composites
};

// The counts of every even n with a <= n <= b, 6 <= a <= b <= kGoldbachRangeTop.
class GoldbachRange {
 public:
  GoldbachRange(uint32_t a, uint32_t b);

  // row(const GoldbachRow&) for each even n from a to b, ascending.
  template <class Row>
  void each(Row&& row) const;

  uint32_t first() const { return first_; }  // the first even n, or 0 when none
  uint32_t last() const { return last_; }

 private:
  bool prime(uint32_t n) const { return wheel_is_prime(composite_.data(), n); }

  uint32_t first_ = 0, last_ = 0;
  uint32_t mask_ = 0;               // transform size - 1
  std::vector<uint32_t> ordered_;   // (f * f) in reversed order: index (-k) & mask_
  std::vector<uint8_t> composite_;  // the wheel sieve up to last_ - 3
  uint32_t q_first_ = 0;            // odd primes up to first_ - 3
};

template <class Row>
void GoldbachRange::each(Row&& row) const {
  if (first_ == 0) return;
  uint32_t q = q_first_;
  for (uint32_t n = first_;; n += 2) {
    const uint32_t k = (n - 6) / 2;
    const uint32_t half = (n / 2) % 2 == 1 && prime(n / 2);
    GoldbachRow r;
    r.n = n;
    r.prime_pairs = (ordered_[(0 - k) & mask_] + half) / 2;
    r.mixed_pairs = q + half - 2 * r.prime_pairs;
    const uint32_t all = n % 4 == 0 ? n / 4 - 1 : n / 4;
    r.composite_pairs = all - r.prime_pairs - r.mixed_pairs;
    row(static_cast<const GoldbachRow&>(r));
    if (n + 2 > last_) break;
    q += prime(n - 1);  // (n + 2) - 3
  }
}

}  // namespace ntb
