// The pairs (i, N div i) are stored in the order found, i = 1, 2, ... up to
// the square root; a square's root is kept once.  One sort then gives the
// ascending order.  The search may stop at the square root: from there up to
// the latest cofactor no i divides N (its cofactor would be a divisor below
// the root larger than the last one found), so going on to that cofactor, as
// a walk without the root test would, finds nothing more and costs up to a
// billion steps for N = 2p.
#include "divisors/engine/divisor_pairs.hpp"

#include <algorithm>

namespace ntb {

void ordered_divisors(int32_t N, DivisorList& dl) {
  int32_t m = 0;
  for (int32_t i = 1; int64_t{i} * i <= N; ++i) {
    if (N % i != 0) continue;
    const int32_t q = N / i;
    // Never more than 1600 entries for a 32-bit N; the check keeps the
    // array safe all the same.
    if (m + (q != i ? 2 : 1) > kMaxDivisors) break;
    dl.D[++m] = i;
    if (q != i) dl.D[++m] = q;
  }
  dl.m = std::min(m, kMaxDivisors);
  std::sort(dl.D.begin() + 1, dl.D.begin() + 1 + dl.m);
}

}  // namespace ntb
