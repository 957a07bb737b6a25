// Cumulative totals of the mixed pairs (an odd prime and an odd composite)
// with sum at most n, by two methods: a prime count for every composite up
// to n, and the half-and-half method that multiplies the counts of the
// first half and scans only the second half, once from each side.
#include "goldbach/engine/engines.hpp"

namespace ntb {

double mixed_total_scan(int32_t n, const Counts& c) {
  int64_t total = 0;  // passes 2^31 for n near kGoldbachTop
  const int32_t last = c.composites_upto(n);
  for (int32_t k = 1; k <= last; ++k) {
    const int32_t d = n - c.yc(k);
    if (d >= 3) total += c.primes_upto(d) - 1;
  }
  return static_cast<double>(total);
}

double mixed_total_by_primes(int32_t n, const Counts& c) {
  int64_t total = 0;
  const int32_t last = c.primes_upto(n);
  for (int32_t k = 2; k <= last; ++k) {
    const int32_t d = n - c.y(k);
    if (d < 9) break;  // no composite lies below 9
    total += c.composites_upto(d);
  }
  return static_cast<double>(total);
}

double mixed_first_half(int32_t n, const Counts& c) {
  // Every odd prime and every composite up to n/2 sum to at most n.
  return (c.primes_upto(n / 2) - 1.0) * c.composites_upto(n / 2);
}

SideCount mixed_composite_side(int32_t n, const Counts& c, const HalfRow* row) {
  SideCount r;
  int64_t count = 0;
  const int32_t last = c.composites_upto(n);
  for (int32_t k = c.composites_upto(n / 2) + 1; k <= last; ++k) {
    const int32_t cv = c.yc(k);
    const int32_t d = n - cv;
    if (d < 3) continue;
    const int32_t add = c.primes_upto(d) - 1;
    count += add;
    if (row && !(*row)(k, cv, d, add, static_cast<double>(count))) {
      r.stopped = true;
      break;
    }
  }
  r.count = static_cast<double>(count);
  return r;
}

SideCount mixed_prime_side(int32_t n, const Counts& c, const HalfRow* row) {
  SideCount r;
  int64_t count = 0;
  const int32_t last = c.primes_upto(n);
  for (int32_t k = c.primes_upto(n / 2) + 1; k <= last; ++k) {
    const int32_t p = c.y(k);
    const int32_t d = n - p;
    if (d < 9) break;  // no composite lies below 9
    const int32_t add = c.composites_upto(d);
    count += add;
    if (row && !(*row)(k, p, d, add, static_cast<double>(count))) {
      r.stopped = true;
      break;
    }
  }
  r.count = static_cast<double>(count);
  return r;
}

MixedHalves mixed_halves(int32_t n, const Counts& c) {
  MixedHalves r;
  r.comb = mixed_first_half(n, c);
  r.comp_side = mixed_composite_side(n, c).count;
  r.prime_side = mixed_prime_side(n, c).count;
  return r;
}

}  // namespace ntb
