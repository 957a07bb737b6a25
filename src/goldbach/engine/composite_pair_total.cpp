// The cumulative total of the pairs of odd composites, a composite paired
// with itself included, with sum at most n: the pairs inside the first half
// by a formula, then each composite of the second half with the composites
// up to n - c.  No prime count is needed.
#include "goldbach/engine/engines.hpp"

namespace ntb {

CompositePairTotal composite_pair_total(int32_t n, const Counts& c) {
  CompositePairTotal r;
  const int32_t b = c.composites_upto(n / 2);
  r.comb = (static_cast<double>(b) * b + b) / 2;
  int64_t scan = 0;
  const int32_t last = c.composites_upto(n);
  for (int32_t k = b + 1; k <= last; ++k) {
    const int32_t d = n - c.yc(k);
    if (d >= 9) scan += c.composites_upto(d);
  }
  r.scan = static_cast<double>(scan);
  return r;
}

}  // namespace ntb
