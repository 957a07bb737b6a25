// The prime steps of lista: the first prime by primefac, the next ones by
// trial division with y (by a sieve of the window ahead while y is as built).
#include "primes/prime_listing.hpp"

#include <cmath>

#include "numtheory/factor.hpp"
#include "numtheory/interrupt.hpp"
#include "numtheory/prime_window.hpp"

namespace ntb {

int32_t largest_prime_by_primefac(int32_t n) {
  Factors r;
  for (;; n -= 2) {
    primefac(n, r);
    if (is_prime_by_primefac(r)) return n;
  }
}

bool is_prime_by_y(int32_t cur, const Tables& t) {
  int32_t n = static_cast<int32_t>(std::sqrt(static_cast<double>(cur)));
  findp(n, t);
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t p = t.y[i];
    if (p >= 2 && cur % p == 0) return false;
  }
  return true;
}

bool next_prime_by_y(int32_t& cur, const Tables& t) {
  if (t.y_pristine && cur >= 11) {
    // With y as built the test by y is exact primality: a sieve of the
    // window ahead finds the same next prime without trial divisions.
    static PrimeWindow window;
    const int32_t next = window.next_after(cur, t);
    if (next == 0) return false;
    cur = next;
    return true;
  }
  while (cur <= INT32_MAX - 2) {
    interruption_point();
    cur += 2;
    if (is_prime_by_y(cur, t)) return true;
  }
  return false;
}

}  // namespace ntb
