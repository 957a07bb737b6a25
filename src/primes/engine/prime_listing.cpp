// The prime steps of lista: the first prime by primefac, the next ones by
// the trial division with y, as a sieve of the window ahead.
#include "primes/engine/prime_listing.hpp"

#include "numtheory/factor/factor.hpp"
#include "numtheory/int_math.hpp"

namespace ntb {

int32_t largest_prime_by_primefac(int32_t n) {
  Factors r;
  for (;; n -= 2) {
    primefac(n, r);
    if (is_prime_by_primefac(r)) return n;
  }
}

bool is_prime_by_y(int32_t cur, const Tables& t) {
  int32_t n = isqrt(cur);
  findp(n, t);
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t p = t.y[i];
    if (p >= 2 && cur % p == 0) return false;
  }
  return true;
}

TrialSieve& lista_steps() {
  static TrialSieve steps;
  return steps;
}

}  // namespace ntb
