// The 64-bit primality test: division by the odd primes below 64, then the
// strong probable prime test of Miller and Rabin to bases that together
// admit no composite in the range: 2, 7 and 61 below 2^32; the seven bases
// 2, 325, 9375, 28178, 450775, 9780504 and 1795265022 (Sinclair's set)
// below 2^64.  Base 2 goes first and alone, since it turns away nearly
// every composite; the other bases run side by side, so that their
// independent multiplications overlap in the processor.
#include "numtheory/factor/prime_test64.hpp"

#include <array>
#include <bit>

#include "numtheory/factor/montgomery64.hpp"
#include "numtheory/factor/trial_division64.hpp"

namespace ntb {

namespace {

// Whether the odd n, n - 1 = d 2^s, passes the strong test to each of the
// bases (given in Montgomery form, none a multiple of n).  The powers
// b^d are built side by side from the top bit of d down.
template <std::size_t K>
bool strong_probable_prime(const Montgomery64& m, const std::array<uint64_t, K>& bases) {
  const uint64_t n = m.n();
  const int s = std::countr_zero(n - 1);
  const uint64_t d = (n - 1) >> s;
  std::array<uint64_t, K> x = bases;
  for (int bit = 62 - std::countl_zero(d); bit >= 0; --bit) {
    for (std::size_t i = 0; i < K; ++i) x[i] = m.mul(x[i], x[i]);
    if ((d >> bit) & 1)
      for (std::size_t i = 0; i < K; ++i) x[i] = m.mul(x[i], bases[i]);
  }
  const uint64_t minus_one = n - m.one();
  for (uint64_t y : x) {  // passes when y = 1, or when -1 comes among y, y^2, ..., y^(2^(s-1))
    bool pass = y == m.one() || y == minus_one;
    for (int i = 1; i < s && !pass; ++i) pass = (y = m.mul(y, y)) == minus_one;
    if (!pass) return false;
  }
  return true;
}

}  // namespace

bool is_prime_u64(uint64_t n) {
  if (n < 2) return false;
  if (n % 2 == 0) return n == 2;
  for (const OddPrimeDivisor& d : odd_trial_primes()) {
    if (d.p >= 64) break;
    if (d.divides(n)) return n == d.p;
  }
  if (n < 64 * 64) return true;
  const Montgomery64 m(n);
  const uint64_t two = m.add(m.one(), m.one());
  if (!strong_probable_prime(m, std::array{two})) return false;
  if (n < (uint64_t{1} << 32)) return strong_probable_prime(m, std::array{m.to(7), m.to(61)});
  return strong_probable_prime(m, std::array{m.to(325), m.to(9375), m.to(28178), m.to(450775),
                                             m.to(9780504), m.to(1795265022)});
}

}  // namespace ntb
