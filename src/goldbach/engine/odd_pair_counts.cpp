// The three pair counts of one even N from column 5 at N and at N - 2.
// Every odd prime p <= N - 3 pairs with the odd number N - p >= 3, which is
// prime or composite; the prime pairs take two such primes each (one when
// p = N/2), so the mixed pairs are what the primes leave, and the
// composite pairs what the mixed and prime pairs leave of all odd pairs.
#include <cmath>

#include "goldbach/engine/engines.hpp"
#include "numtheory/int_math.hpp"

namespace ntb {

OddPairCounts odd_pair_counts(int32_t N, double col5_N, double col5_N2, const Counts& c) {
  OddPairCounts r;
  // The difference of the whole totals (each may pass 2^31 for large N).
  r.P = saturate32(std::trunc(col5_N) - std::trunc(col5_N2));
  r.T = N % 4 == 0 ? N / 4 - 1 : N / 4;
  r.Q = c.primes_upto(N - 3) - 1;
  r.flag = (N % 2 == 0 && c.is_prime(N / 2)) ? 1 : 0;
  r.M = saturate32(static_cast<double>(r.Q) - 2.0 * r.P + r.flag);
  r.C = (2.0 * r.P - r.flag - r.Q) - r.P + r.T;
  return r;
}

}  // namespace ntb
