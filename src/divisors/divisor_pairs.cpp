// The pairs (i, N div i) are stored in the order found, i = 1, 2, ..., and
// the search stops when i reaches the latest cofactor (or passes it by one,
// when N is a square and the last pair is (r, r)); a square's root is kept
// once.  One sort then gives the ascending order.
#include "divisors/divisor_pairs.hpp"

#include <algorithm>

namespace ntb {

void ordered_divisors(int32_t N, DivisorList& dl) {
  int32_t m = 0;
  int32_t latest = N;
  for (int32_t i = 1; i <= N; ++i) {
    if (N % i == 0) {
      const int32_t q = N / i;
      // Never more than 1600 entries for a 32-bit N; the check keeps the
      // array safe all the same.
      if (m + (q != i ? 2 : 1) > kMaxDivisors) break;
      dl.D[++m] = i;
      if (q != i) dl.D[++m] = q;
      latest = q;
    }
    // i + 1 == latest or i + 1 == latest + 1, without overflow near 2^31.
    if (i >= latest - 1) break;
  }
  dl.m = std::min(m, kMaxDivisors);
  std::sort(dl.D.begin() + 1, dl.D.begin() + 1 + dl.m);
}

}  // namespace ntb
