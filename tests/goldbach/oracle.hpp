// Brute-force references for the Goldbach tests: a sieve of its own and pair
// counts by testing every candidate, independent of the tables and of the
// engines under test.
#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <vector>

#include "support/dialogue.hpp"  // full_run

namespace ntb::testing {

// Primes and prefix counts up to a bound, from a plain sieve; `removed`
// primes are treated as composites (as a table with them taken out).
class Oracle {
 public:
  explicit Oracle(int32_t top, std::set<int32_t> removed = {}) : top_(top) {
    prime_.assign(static_cast<size_t>(top) + 1, true);
    prime_[0] = false;
    if (top >= 1) prime_[1] = false;
    for (int64_t i = 2; i * i <= top; ++i)
      if (prime_[i])
        for (int64_t m = i * i; m <= top; m += i) prime_[m] = false;
    for (int32_t r : removed) prime_[r] = false;
    odd_primes_.assign(static_cast<size_t>(top) + 1, 0);
    odd_comps_.assign(static_cast<size_t>(top) + 1, 0);
    for (int32_t x = 1; x <= top; ++x) {
      odd_primes_[x] = odd_primes_[x - 1] + (x % 2 == 1 && prime_[x] ? 1 : 0);
      odd_comps_[x] = odd_comps_[x - 1] + (x % 2 == 1 && x >= 3 && !prime_[x] ? 1 : 0);
    }
  }

  bool prime(int32_t x) const { return x >= 0 && x <= top_ && prime_[x]; }
  bool odd_prime(int32_t x) const { return x % 2 == 1 && prime(x); }
  bool odd_composite(int32_t x) const { return x >= 3 && x % 2 == 1 && !prime(x); }
  int32_t odd_primes_upto(int32_t x) const { return x < 0 ? 0 : odd_primes_[x]; }
  int32_t odd_comps_upto(int32_t x) const { return x < 0 ? 0 : odd_comps_[x]; }

  // Pairs with sum exactly n, by trying every smaller member a <= n/2.
  int32_t prime_pairs(int32_t n) const {
    int32_t r = 0;
    for (int32_t a = 3; a <= n / 2; a += 2) r += odd_prime(a) && odd_prime(n - a);
    return r;
  }
  int32_t composite_pairs(int32_t n) const {
    int32_t r = 0;
    for (int32_t a = 3; a <= n / 2; a += 2) r += odd_composite(a) && odd_composite(n - a);
    return r;
  }
  int32_t mixed_pairs(int32_t n) const {
    int32_t r = 0;
    for (int32_t a = 3; a <= n - 3; a += 2) r += odd_prime(a) && odd_composite(n - a);
    return r;
  }

  // The pair counts of every even number up to top at once, by running
  // through all pairs a <= b of odd numbers with a + b <= top.
  struct AllPairs {
    std::vector<int32_t> primes, composites, mixed;  // indexed by the sum
  };
  AllPairs all_pairs(int32_t top) const {
    AllPairs r;
    r.primes.assign(static_cast<size_t>(top) + 1, 0);
    r.composites = r.mixed = r.primes;
    for (int32_t a = 3; 2 * a <= top; a += 2)
      for (int32_t b = a; a + b <= top; b += 2) {
        const bool pa = odd_prime(a), pb = odd_prime(b);
        if (pa && pb) ++r.primes[a + b];
        if (!pa && !pb) ++r.composites[a + b];
        if (pa != pb) ++r.mixed[a + b];
      }
    return r;
  }

  // Cumulative totals: pairs a <= b with a + b <= n, counted member by member.
  double prime_total(int32_t n) const {
    double t = 0;
    for (int32_t a = 3; a <= n / 2; a += 2)
      if (odd_prime(a)) t += odd_primes_upto(n - a) - odd_primes_upto(a - 1);
    return t;
  }
  double composite_total(int32_t n) const {
    double t = 0;
    for (int32_t a = 3; a <= n / 2; a += 2)
      if (odd_composite(a)) t += odd_comps_upto(n - a) - odd_comps_upto(a - 1);
    return t;
  }
  double mixed_total(int32_t n) const {
    double t = 0;
    for (int32_t a = 3; a <= n - 3; a += 2)
      if (odd_prime(a)) t += odd_comps_upto(n - a);
    return t;
  }

 private:
  int32_t top_;
  std::vector<bool> prime_;
  std::vector<int32_t> odd_primes_, odd_comps_;
};

// The tables' own range: every prime and odd composite up to 2000000.
inline const Oracle& full_oracle() {
  static const Oracle o(2000000);
  return o;
}

// Random even numbers from lo to hi, the same on every run.
inline std::vector<int32_t> random_evens(int count, int32_t lo, int32_t hi, uint32_t seed) {
  std::mt19937 g(seed);
  std::uniform_int_distribution<int32_t> d(lo / 2, hi / 2);
  std::vector<int32_t> v;
  for (int i = 0; i < count; ++i) v.push_back(2 * d(g));
  return v;
}

}  // namespace ntb::testing
