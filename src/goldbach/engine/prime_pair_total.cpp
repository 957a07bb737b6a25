// Column 5 of Goldbach1: the number of unordered pairs of odd primes, a
// prime paired with itself included, whose sum is at most n.  The pairs
// inside the first half are counted by a formula, those with a member above
// n/2 by one prime count per prime of the second half.
#include "goldbach/engine/engines.hpp"

namespace ntb {

PrimePairTotal prime_pair_total(int32_t n, const Counts& c, const ScanDetail* detail) {
  PrimePairTotal r;
  const int32_t primes_n = c.primes_upto(n);
  const int32_t primes_half = c.primes_upto(n / 2);
  const double A = primes_n - 1.0;
  const double B = primes_half - 1.0;
  r.col2 = (B * B + B) * 0.5;
  r.col3 = (A - B) * B;
  // Kept in 64 bits: above n = 10^6 the scan passes 2^31.
  int64_t scan = 0;
  for (int32_t k = primes_half + 1; k <= primes_n; ++k) {
    const int32_t d = n - c.y(k);
    if (d < 3) continue;
    const int32_t add = c.primes_upto(d) - 1;
    scan += add;
    if (detail) (*detail)(c.y(k), d, add, static_cast<double>(scan));
  }
  r.col4 = static_cast<double>(scan);
  r.col5 = r.col2 + r.col4;
  return r;
}

}  // namespace ntb
